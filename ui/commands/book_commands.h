// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "scores_file.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <string>

class BookDialog;
class GameCommands;
class MessageBoxes;
class Puzzle;
class QWidget;
class RulesWindow;
struct MainMenuHandlers;

// The task book, random tasks, task codes, the rules and the records of
// wins: what the game offers beyond the typed-in and the two built-in
// tasks. A task starts as a typed code does; the records are read when the
// book opens or a goal is reached, never at start-up.
class BookCommands final : public QObject {
    Q_OBJECT

public:
    // Starts the task with this code as an accepted built-in task starts,
    // or shows why the code is no task.
    using StartCode = std::function<void(const std::string &code)>;

    // commands: whether this is a lesson, where the fewest pours are not shown.
    BookCommands(Puzzle &puzzle, const GameCommands &commands, MessageBoxes &boxes, QWidget *window,
                 StartCode start);
    ~BookCommands() override;

    // Fills in the menu's handlers for these commands; each runs through
    // the puzzle's dispatch guard.
    void AddHandlers(MainMenuHandlers &handlers);

    void OpenBook();
    // 1 <= level <= 5
    void RandomTask(int level);
    void CopyCode();
    void EnterCode();
    void ShowRules();

    // The player's best in the task in play, as the solution window shows
    // it; empty while the records are unread or hold none.
    QString BestLine() const;

    ScoresFile &Scores() { return m_scores; }
    // Made on first use; null until then.
    BookDialog *Book() const;
    RulesWindow *Rules() const;

private:
    // The code of the task in play: its start row; while typing, the values typed.
    std::string CurrentCode() const;
    void GoalMet();

    Puzzle &m_puzzle;
    const GameCommands &m_commands;
    MessageBoxes &m_boxes;
    QWidget *m_window;
    StartCode m_start;
    ScoresFile m_scores;
    QPointer<BookDialog> m_book;
    QPointer<RulesWindow> m_rules;
};
