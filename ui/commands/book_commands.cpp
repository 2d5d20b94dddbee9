// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "book_commands.h"

#include "book_dialog.h"
#include "game_commands.h"
#include "progress.h"
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
    if (const int last = BookIndexOf(m_lastPlayed); last >= 0)
        m_book->Select(last);
    if (m_book->exec() != QDialog::Accepted || m_book->Chosen() < 0)
        return;
    Start(m_book->Chosen());
}

void BookCommands::Start(int index)
{
    const std::string code = TaskCode(TaskBook()[static_cast<std::size_t>(index)].Task);
    if (code != m_lastPlayed) {
        m_lastPlayed = code;
        if (m_onPlayed)
            m_onPlayed(code);
    }
    m_start(code);
}

BookDialog *BookCommands::Book() const
{
    return m_book;
}
