// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

// Qt's own file chooser rather than the desktop's: it takes the game's
// colours, font and scale, and looks the same everywhere. Last, once the
// chooser has all its parts: it is sized for them.
void LookLikeTheGame(QFileDialog &dialog);

// A chooser of existing result files (*.xml, or any file), one or many,
// whose accept button says `accept`.
void AskForResultFiles(QFileDialog &dialog, const QString &accept, bool many);

// AskForResultFiles shown as the game's own: opens in `folder` (the current
// directory when empty) and leaves there the one the choice was made in.
// Empty when nothing is chosen.
QStringList ChooseResultFiles(
    QWidget *parent, const QString &caption, const QString &accept, QString &folder, bool many);
