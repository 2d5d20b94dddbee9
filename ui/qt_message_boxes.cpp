// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "qt_message_boxes.h"

#include "game_palette.h"

#include <QMessageBox>

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
    box.exec();
}
