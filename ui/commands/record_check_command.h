// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "task_presets.h"

#include <QObject>
#include <QString>
#include <QStringList>

class GameCommands;
class Puzzle;
class QWidget;
class SettingsFile;

// "Проверить записи…": the teacher chooses saved result files, one or a
// whole class, and sees how each went on the task typed in or in play.
// Nothing in the game changes: not the puzzle, the log or the file.
class RecordCheckCommand final : public QObject {
    Q_OBJECT

public:
    // settings: where the folder of the last choice is kept between runs.
    RecordCheckCommand(const Puzzle &puzzle, const GameCommands &commands, SettingsFile &settings, QWidget *window);

    // Asks for the files, then shows their verdicts; nothing when none is chosen.
    void Run();
    // The verdicts of these files, as Run shows them once they are chosen.
    void ShowVerdicts(const QStringList &files);
    // The task the files are checked against: in play the one the game
    // started from, else the values typed in.
    TaskPreset Task() const;

private:
    QStringList ChooseFiles();

    const Puzzle &m_puzzle;
    const GameCommands &m_commands;
    SettingsFile &m_settings;
    QWidget *m_window;
};
