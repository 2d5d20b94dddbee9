// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "game_commands.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWidget>

namespace {

const char *const kOffForLesson = "На этом уроке отключено";

} // namespace

bool GameCommands::OffForLesson(Command command)
{
    return command == Command::Hint || command == Command::Solution || command == Command::Check
        || command == Command::CheckRecords || command == Command::SaveAs || command == Command::Replay
        || command == Command::Worksheet;
}

bool GameCommands::EnabledIn(Command command, GameMode mode, bool lesson, PlayProgress progress)
{
    if (lesson && OffForLesson(command))
        return false;
    switch (command) {
    case Command::New:
    case Command::Tasks:
    case Command::Exit:
    case Command::Undo:
    case Command::Zoom:
    case Command::Book:
    case Command::RandomTask:
    case Command::EnterCode:
    case Command::Rules:
    case Command::Worksheet:
    case Command::Scores:
    case Command::Animation:
        return true;
    case Command::Begin:
    case Command::Values:
        return mode == GameMode::Input;
    case Command::Save:
    case Command::SaveAs:
    case Command::Pour:
    case Command::Hint:
        return mode == GameMode::Play;
    case Command::Redo:
        return mode == GameMode::Play && progress.CanRedo;
    case Command::Restart:
        return mode == GameMode::Play && progress.CanRestart;
    case Command::Solution:
    case Command::Check:
    case Command::CheckRecords:
    case Command::Replay:
    case Command::CopyCode:
    case Command::Map:
        return mode != GameMode::None;
    case Command::Help:
        return false;
    }
    return false;
}

GameCommands::GameCommands(QObject *parent)
    : QObject(parent)
    , m_answers(new AnswerRule(this))
{
}

void GameCommands::SetMode(GameMode mode)
{
    m_mode = mode;
    ApplyAll();
    for (const auto &listener : m_listeners)
        listener(mode);
}

void GameCommands::SetLesson(bool on)
{
    m_lesson = on;
    ApplyAll();
    m_answers->Set(!on);
}

void GameCommands::SetProgress(PlayProgress progress)
{
    if (progress == m_progress)
        return;
    m_progress = progress;
    ApplyAll();
}

void GameCommands::SetAnimationForcedOff(bool off)
{
    m_animationForcedOff = off;
    ApplyAll();
}

bool GameCommands::Enabled(Command command) const
{
    if (command == Command::Animation && m_animationForcedOff)
        return false;
    return EnabledIn(command, m_mode, m_lesson, m_progress);
}

void GameCommands::ApplyAll() const
{
    for (const Binding &b : m_bindings) {
        if (b.Control)
            Apply(b.Which, b.Control);
    }
}

bool GameCommands::MayRun(Command command) const
{
    if (m_dragging || !Enabled(command))
        return false;
    // Keys meant for an open menu (its own mnemonics, say) are no pours.
    return command != Command::Pour || !QApplication::activePopupWidget();
}

void GameCommands::Apply(Command command, QObject *control) const
{
    const bool on = Enabled(command);
    // Switched off for the lesson, an entry says so when pointed at; the
    // tooltip goes again with the lesson.
    const bool offForLesson = m_lesson && OffForLesson(command);
    const QString why = offForLesson ? QString::fromUtf8(kOffForLesson) : QString();
    if (auto *action = qobject_cast<QAction *>(control)) {
        action->setEnabled(on);
        if (offForLesson || action->toolTip() == QString::fromUtf8(kOffForLesson)) {
            action->setToolTip(why);
            for (QObject *shown : action->associatedObjects()) {
                if (auto *menu = qobject_cast<QMenu *>(shown))
                    menu->setToolTipsVisible(m_lesson || menu->toolTipsVisible());
            }
        }
    } else if (auto *widget = qobject_cast<QWidget *>(control)) {
        widget->setEnabled(on);
        if (offForLesson || widget->toolTip() == QString::fromUtf8(kOffForLesson))
            widget->setToolTip(why);
    }
}

void GameCommands::Bind(Command command, QWidget *control)
{
    m_bindings.push_back({command, control});
    Apply(command, control);
}

void GameCommands::Bind(Command command, QAction *action)
{
    m_bindings.push_back({command, action});
    Apply(command, action);
}

void GameCommands::Connect(Command command, QAbstractButton *button, std::function<void()> handler)
{
    Bind(command, button);
    connect(button, &QAbstractButton::clicked, this, [this, command, handler = std::move(handler)] {
        if (MayRun(command))
            handler();
    });
}

void GameCommands::Connect(Command command, QAction *action, std::function<void()> handler)
{
    Bind(command, action);
    connect(action, &QAction::triggered, this, [this, command, handler = std::move(handler)] {
        if (MayRun(command))
            handler();
    });
}
