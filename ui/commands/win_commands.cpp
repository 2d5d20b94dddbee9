// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "win_commands.h"

#include "game_commands.h"
#include "progress.h"
#include "score_keeper.h"
#include "scores_window.h"
#include "task_book.h"
#include "task_code.h"
#include "task_in_play.h"
#include "win_window.h"

WinCommands::WinCommands(const Puzzle &puzzle, const GameCommands &commands, ScoreKeeper &scores, QWidget *window,
                         Actions actions)
    : QObject(window)
    , m_puzzle(puzzle)
    , m_commands(commands)
    , m_scores(scores)
    , m_window(window)
    , m_actions(std::move(actions))
{
}

void WinCommands::GoalAnnounced()
{
    if (!m_win) {
        WinWindow::Handlers handlers;
        handlers.Next = [this] { NextTask(); };
        handlers.Again = m_actions.Again;
        handlers.Closed = m_actions.BackToGame;
        m_win = new WinWindow(m_window, handlers);
    }
    m_win->ShowWin(m_scores.LastWin(), m_commands.Lesson());
}

void WinCommands::NextTask()
{
    const std::string code = TaskCode(TaskInPlay(m_puzzle, m_commands));
    const BestOf best = [this](const std::string &c) { return m_scores.Best(c); };
    const int size = static_cast<int>(TaskBook().size());
    int next = 0;
    if (const int book = BookIndexOf(code); book >= 0) {
        next = NextUnsolved(book, best);
        if (next < 0)
            next = (book + 1) % size; // every task won: simply the next
    } else if (const std::optional<int> level = m_actions.RandomLevel(code)) {
        m_actions.Random(*level);
        return;
    } else {
        next = std::max(NextUnsolved(-1, best), 0);
    }
    m_actions.StartBookTask(next);
}

void WinCommands::ShowScores()
{
    ScoresWindow window(m_scores.All(), m_commands.Lesson(), m_window);
    if (window.exec() != QDialog::Accepted || window.Chosen().empty())
        return;
    m_actions.Start(window.Chosen());
}

void WinCommands::Dismiss()
{
    if (m_win)
        m_win->hide();
}

WinWindow *WinCommands::Window() const
{
    return m_win;
}
