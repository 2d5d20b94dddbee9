// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "task_presets.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class GameCommands;
class MessageBoxes;
class Puzzle;
class QWidget;
class SettingsFile;
class RecordCheckDialog;
class RecordChecker;

// "Проверить записи…": the teacher chooses saved result files or a whole
// folder, one class, and sees how each went on the task typed in or in
// play (or on its variants, codes joined by "+"). The files are read away
// from the window's thread, which never waits on them. Nothing in the game
// changes: not the puzzle, the log or the file.
class RecordCheckCommand final : public QObject {
    Q_OBJECT

public:
    // settings: where the folder of the last choice is kept between runs.
    RecordCheckCommand(const Puzzle &puzzle, const GameCommands &commands, MessageBoxes &boxes, SettingsFile &settings,
                       QWidget *window);

    // Asks for the files, then shows their verdicts; nothing when none is chosen.
    void Run();
    // The verdicts of these files and folders, as Run shows them once they
    // are chosen: against the task in play, or these tasks.
    void ShowVerdicts(const QStringList &paths);
    void ShowVerdicts(const QStringList &paths, const std::vector<TaskPreset> &tasks);
    // The task the files are checked against: in play the one the game
    // started from, else the values typed in.
    TaskPreset Task() const;

private:
    struct Choice {
        QStringList Paths;
        std::vector<TaskPreset> Tasks;
    };
    std::optional<Choice> Choose();
    QString LastFolder() const;
    void SaveTable(RecordCheckDialog &dialog, const RecordChecker &checker);

    const Puzzle &m_puzzle;
    const GameCommands &m_commands;
    MessageBoxes &m_boxes;
    SettingsFile &m_settings;
    QWidget *m_window;
};
