// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>
#include <string>

class GameCommands;
class Puzzle;
class QWidget;
class ScoreKeeper;
class ScoresWindow;
class WinWindow;

// What a win leads to: «Задача решена» once per attempt, the next task to
// play, another attempt, and «Рекорды» with every task won.
class WinCommands final : public QObject {
    Q_OBJECT

public:
    struct Actions {
        // Starts the task with this code as an accepted built-in task starts.
        std::function<void(const std::string &code)> Start;
        // Starts the book's task with this index, as the book does.
        std::function<void(int index)> StartBookTask;
        // A new random task of this level, 1 to 5.
        std::function<void(int level)> Random;
        // The level of the random task with this code, if it was the last made.
        std::function<std::optional<int>(const std::string &code)> RandomLevel;
        // «Начать заново».
        std::function<void()> Again;
        // The focus back on the game once the window has closed.
        std::function<void()> BackToGame;
    };

    WinCommands(const Puzzle &puzzle, const GameCommands &commands, ScoreKeeper &scores, QWidget *window,
                Actions actions);

    // The goal of the attempt was reached and told: shows the win.
    void GoalAnnounced();
    // «Следующая задача»: the next task of the book without a win (after a
    // book task, the next one after it; after a random task, another of its
    // level; else the first of the book).
    void NextTask();
    // «Рекорды».
    void ShowScores();
    // A new game or attempt makes the last win's window stale: it goes, and
    // the focus stays where the new game puts it.
    void Dismiss();

    // Made on first use; null until then.
    WinWindow *Window() const;

private:
    const Puzzle &m_puzzle;
    const GameCommands &m_commands;
    ScoreKeeper &m_scores;
    QWidget *m_window;
    Actions m_actions;
    QPointer<WinWindow> m_win;
};
