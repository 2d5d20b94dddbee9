// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class GameCommands;
class MessageBoxes;
class Puzzle;
class QWidget;

// "Подсказка", "Решение" and "Проверить задачу": what the solver says about
// the game in play or the puzzle being typed in. None of them changes the
// puzzle, the log or the file.
class SolverCommands final : public QObject {
    Q_OBJECT

public:
    SolverCommands(Puzzle &puzzle, const GameCommands &commands, MessageBoxes &boxes, QWidget *window);

    // The next pour, or why there is none from here; once won, the score.
    void Hint();
    // A shortest solution from here in a table, or why there is none.
    void ShowSolution();
    // Whether the task can be solved, and in how few pours: in play the task
    // the game started from, else the values typed in.
    void CheckTask();

    // Where the solution window finds the player's best in this task.
    void ShowBestWith(std::function<QString()> line) { m_bestLine = std::move(line); }

private:
    Puzzle &m_puzzle;
    const GameCommands &m_commands;
    MessageBoxes &m_boxes;
    QWidget *m_window;
    std::function<QString()> m_bestLine;
};
