// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "game_palette.h"

#include <QMenu>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include <memory>

QPalette GamePalette()
{
    static const QPalette palette = [] {
        // Fusion's standard light colours, which Qt uses when no desktop
        // theme sets any: the game looks the same as without a theme.
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
        return fusion ? fusion->standardPalette() : QPalette(QColor(0xEF, 0xEF, 0xEF));
    }();
    return palette;
}

void UseGamePalette(QWidget *window)
{
    window->setPalette(GamePalette());
    // Menus are windows of their own and inherit no colours.
    for (QMenu *menu : window->findChildren<QMenu *>())
        menu->setPalette(GamePalette());
}
