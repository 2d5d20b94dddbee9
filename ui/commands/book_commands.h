// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <string>

class BookDialog;
class GameCommands;
class QWidget;
class ScoreKeeper;

// «Сборник задач…»: the book of tasks with the player's best in each. A task
// starts as a typed code does.
class BookCommands final : public QObject {
    Q_OBJECT

public:
    // Starts the task with this code as an accepted built-in task starts.
    using StartCode = std::function<void(const std::string &code)>;

    // commands: whether answers may be shown (not in a lesson).
    BookCommands(const GameCommands &commands, ScoreKeeper &scores, QWidget *window, StartCode start);

    void OpenBook();
    // Made on first use; null until then.
    BookDialog *Book() const;

private:
    const GameCommands &m_commands;
    ScoreKeeper &m_scores;
    QWidget *m_window;
    StartCode m_start;
    QPointer<BookDialog> m_book;
};
