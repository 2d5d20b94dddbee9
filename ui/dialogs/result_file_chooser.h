// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Qt's own file chooser for result files rather than the desktop's: it takes
// the game's colours, font and scale, and looks the same everywhere. Opens
// in `folder` (the current directory when empty) and leaves there the one
// the choice was made in. Empty when nothing is chosen.
QStringList ChooseResultFiles(
    QWidget *parent, const QString &caption, const QString &accept, QString &folder, bool many);
