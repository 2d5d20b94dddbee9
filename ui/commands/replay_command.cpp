// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "replay_command.h"

#include "result_file_chooser.h"
#include "task_in_play.h"

ReplayCommand::ReplayCommand(const Puzzle &puzzle, const GameCommands &commands, QWidget *window)
    : QObject(window)
    , m_puzzle(puzzle)
    , m_commands(commands)
    , m_window(window)
{ }

void ReplayCommand::Run()
{
    const QString path = m_choose ? m_choose() : ChooseFile();
    if (!path.isEmpty())
        Open(path);
}

void ReplayCommand::Open(const QString &path)
{
    const TaskPreset task = TaskInPlay(m_puzzle, m_commands);
    if (!m_replay)
        m_replay = new ReplayWindow(task, m_window);
    else
        m_replay->SetTask(task);
    m_replay->Open(path);
    m_replay->show();
    m_replay->raise();
    m_replay->activateWindow();
}

QString ReplayCommand::ChooseFile()
{
    const QStringList chosen
        = ChooseResultFiles(m_window, QString::fromUtf8(kCaptionReplay), QStringLiteral("Открыть"), m_folder, false);
    return chosen.isEmpty() ? QString() : chosen.front();
}
