// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "worksheet_command.h"

#include "game_commands.h"
#include "task_code.h"
#include "task_in_play.h"
#include "worksheet_dialog.h"

WorksheetCommand::WorksheetCommand(const Puzzle &puzzle, const GameCommands &commands, QWidget *window)
    : QObject(window)
    , m_puzzle(puzzle)
    , m_commands(commands)
    , m_window(window)
{ }

void WorksheetCommand::Open()
{
    if (!m_dialog) {
        const QString code = m_commands.Mode() == GameMode::None
            ? QString()
            : QString::fromStdString(TaskCode(TaskInPlay(m_puzzle, m_commands)));
        m_dialog = new WorksheetDialog(code, m_window);
    }
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}
