// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "book_commands.h"

#include "book_dialog.h"
#include "game_commands.h"
#include "score_keeper.h"
#include "task_book.h"
#include "task_code.h"

BookCommands::BookCommands(const GameCommands &commands, ScoreKeeper &scores, QWidget *window, StartCode start)
    : QObject(window)
    , m_commands(commands)
    , m_scores(scores)
    , m_window(window)
    , m_start(std::move(start))
{
}

void BookCommands::OpenBook()
{
    if (!m_book)
        m_book = new BookDialog(m_window);
    m_scores.Load();
    m_book->ShowAnswers(m_commands.Answers().ShowsAnswers());
    m_book->ShowScores([this](const std::string &code) { return m_scores.Best(code); });
    if (m_book->exec() != QDialog::Accepted || m_book->Chosen() < 0)
        return;
    m_start(TaskCode(TaskBook()[static_cast<std::size_t>(m_book->Chosen())].Task));
}

BookDialog *BookCommands::Book() const
{
    return m_book;
}
