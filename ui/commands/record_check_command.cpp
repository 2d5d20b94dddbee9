// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "record_check_command.h"

#include "game_commands.h"
#include "position.h"
#include "puzzle.h"
#include "record_check_dialog.h"
#include "result_file_chooser.h"
#include "task_in_play.h"

#include <QWidget>

RecordCheckCommand::RecordCheckCommand(const Puzzle &puzzle, const GameCommands &commands, QWidget *window)
    : QObject(window)
    , m_puzzle(puzzle)
    , m_commands(commands)
    , m_window(window)
{
}

TaskPreset RecordCheckCommand::Task() const
{
    return TaskInPlay(m_puzzle, m_commands);
}

void RecordCheckCommand::Run()
{
    const QStringList files = ChooseFiles();
    if (!files.isEmpty())
        ShowVerdicts(files);
}

void RecordCheckCommand::ShowVerdicts(const QStringList &files)
{
    RecordCheckDialog dialog(Task(), files, m_window);
    dialog.exec();
}

QStringList RecordCheckCommand::ChooseFiles()
{
    return ChooseResultFiles(m_window, QString::fromUtf8(kCaptionCheckRecords), QString::fromUtf8("Проверить"),
                             m_folder, true);
}
