// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "game_style.h"

#include "appearance.h"

#include <QFile>
#include <QGuiApplication>
#include <QStyleOption>

#include <array>

QIcon GameStyle::standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const
{
    if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(icon, option, widget);
    // Qt 6.8 draws these glyphs otherwise than from its PNGs alone: the
    // platform style gives them, but only once drawn, since it reads its files
    // guessing their format. The style outlives the menu bar that asks.
    if (QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)) {
        const QStyleOption copy = option ? *option : QStyleOption();
        const bool withOption = option != nullptr;
        return DeferredIcon([this, icon, copy, withOption] {
            return QProxyStyle::standardIcon(icon, withOption ? &copy : nullptr, nullptr);
        });
    }
    const bool vertical = icon == SP_ToolBarVerticalExtensionButton;
    const bool rightToLeft = (option ? option->direction : QGuiApplication::layoutDirection()) == Qt::RightToLeft;
    const QString name = vertical ? QStringLiteral("toolbar-ext-v")
                                  : rightToLeft ? QStringLiteral("toolbar-ext-h-rtl") : QStringLiteral("toolbar-ext-h");
    static constexpr std::array<int, 3> kVertical{5, 10, 20};
    static constexpr std::array<int, 3> kHorizontal{8, 16, 32};
    // The menu bar asks for its extension's glyph as it is made, and shows it
    // only when its menus do not fit: read when drawn.
    QList<IconFile> files;
    for (int size : vertical ? kVertical : kHorizontal) {
        const QString path = QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png").arg(name).arg(size);
        if (!QFile::exists(path))
            return QProxyStyle::standardIcon(icon, option, widget); // Qt keeps them elsewhere now
        files.append({path, size});
    }
    return LazyPngIcon(files);
}
