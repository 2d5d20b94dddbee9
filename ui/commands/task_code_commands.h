// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <functional>
#include <optional>
#include <string>

class GameCommands;
class MessageBoxes;
class Puzzle;
class QWidget;

// Tasks by code: a random task of a level, the code of the task in play to
// share, and a code typed or pasted in.
class TaskCodeCommands final : public QObject {
    Q_OBJECT

public:
    // Starts the task with this code as an accepted built-in task starts,
    // or shows why the code is no task.
    using StartCode = std::function<void(const std::string &code)>;

    // commands: the mode (which task is in play) and whether answers may
    // be told (not in a lesson).
    TaskCodeCommands(const Puzzle &puzzle, const GameCommands &commands, MessageBoxes &boxes, QWidget *window,
                     StartCode start);

    // 1 <= level <= 5
    void RandomTask(int level);
    // The level of the task with this code when it is the last random task made.
    std::optional<int> RandomLevel(const std::string &code) const;
    void CopyCode();
    void EnterCode();

private:
    const Puzzle &m_puzzle;
    const GameCommands &m_commands;
    MessageBoxes &m_boxes;
    QWidget *m_window;
    StartCode m_start;
    std::string m_randomCode;
    int m_randomLevel = 0;
};
