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

    // Opens at the book's task played last.
    void OpenBook();
    // Made on first use; null until then.
    BookDialog *Book() const;

    // Starts the book's task with this index (0 <= index < the book's size);
    // the book opens at it from now on.
    void Start(int index);
    // The code of the book's task played last; empty before any.
    const std::string &LastPlayed() const { return m_lastPlayed; }
    // Told when the task played last changes, to keep it for the next run.
    void OnPlayed(std::function<void(const std::string &code)> listener) { m_onPlayed = std::move(listener); }
    void SetLastPlayed(const std::string &code) { m_lastPlayed = code; }

private:
    const GameCommands &m_commands;
    ScoreKeeper &m_scores;
    QWidget *m_window;
    StartCode m_start;
    QPointer<BookDialog> m_book;
    std::string m_lastPlayed;
    std::function<void(const std::string &code)> m_onPlayed;
};
