// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "replay_window.h"

#include <QObject>
#include <QPointer>

#include <functional>

class GameCommands;
class Puzzle;
class QWidget;

// "Просмотр записи…": a pupil's file replayed against the task typed in or
// in play, in one window beside the game that later files reuse. Nothing in
// the game changes.
class ReplayCommand final : public QObject {
    Q_OBJECT

public:
    ReplayCommand(const Puzzle &puzzle, const GameCommands &commands, QWidget *window);

    // Asks for a file, then replays it; nothing when none is chosen.
    void Run();
    // Replays this file against the task in play.
    void Open(const QString &path);
    // Null until first opened.
    ReplayWindow *Window() const { return m_replay; }
    // Instead of Qt's file chooser (the tests choose for themselves).
    void SetChooser(std::function<QString()> choose) { m_choose = std::move(choose); }

private:
    QString ChooseFile();

    const Puzzle &m_puzzle;
    const GameCommands &m_commands;
    QWidget *m_window;
    QPointer<ReplayWindow> m_replay;
    std::function<QString()> m_choose;
    QString m_folder; // where the last file was chosen
};
