// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "qt_message_boxes.h"

#include "form_scale.h"
#include "game_palette.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

namespace {

// Ctrl+C on a box copies it as text, caption, message and button between
// rules, as the classic system boxes do, so its words can be pasted into a
// report.
void OfferCopy(QMessageBox &box)
{
    auto *copy = new QShortcut(QKeySequence::Copy, &box);
    QObject::connect(copy, &QShortcut::activated, &box, [&box] {
        const QString rule = QStringLiteral("---------------------------\n");
        QString button = box.button(QMessageBox::Ok)->text();
        button.remove(QLatin1Char('&'));
        QGuiApplication::clipboard()->setText(rule + box.windowTitle() + QLatin1Char('\n') + rule + box.text() +
                                              QLatin1Char('\n') + rule + button + QLatin1Char('\n') + rule);
    });
}

} // namespace

void QtMessageBoxes::Show(const std::string &text, const std::string &caption, int icon)
{
    QMessageBox::Icon kind = QMessageBox::NoIcon;
    switch (icon) {
    case kIconError:
        kind = QMessageBox::Critical;
        break;
    case kIconWarning:
        kind = QMessageBox::Warning;
        break;
    case kIconInformation:
        kind = QMessageBox::Information;
        break;
    default:
        break;
    }
    // No parent: the box belongs to the application, not to a window.
    QMessageBox box(kind, QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.setPalette(GamePalette());
    // Laid out as a document, where a carriage return in the text ("...
    // достигнут!\rХоды ...") breaks the line in every style; the text itself
    // stays as given.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    // System boxes show the system's font; the application's is the window's.
    box.setFont(ScaledFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont), FormScale()));
    OfferCopy(box);
    box.exec();
}
