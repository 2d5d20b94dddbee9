// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "progress.h"
#include "scores_file.h"

#include <QObject>
#include <QString>

#include <optional>
#include <string>

class MessageBoxes;
class Puzzle;

// The player's best wins. Every pour that meets the goal is offered as a win
// of the task the game started from; the file keeps it when it beats that
// task's best. The scores are read when the book opens or a goal is reached,
// never at start-up. A win the file cannot keep is said in a box of its
// own, once a run.
class ScoreKeeper final : public QObject {
    Q_OBJECT

public:
    ScoreKeeper(const Puzzle &puzzle, MessageBoxes &boxes, QObject *parent);

    // The game in play just met its goal.
    void GoalMet();
    // The last win offered, against the task's best before it.
    const WinReport &LastWin() const { return m_lastWin; }
    // The best win of every task, read again.
    std::vector<Score> All();
    // Reads the scores again, for a window that shows them.
    void Load() { m_file.Load(); }
    // The best win of the task with this code, as last read or kept.
    std::optional<Score> Best(const std::string &code) const { return m_file.Best(code); }
    // The player's best in the task in play, as the solution window shows
    // it; empty while the scores are unread or hold none.
    QString BestLine() const;

    const ScoresFile &File() const { return m_file; }
    ScoresFile &File() { return m_file; }

private:
    const Puzzle &m_puzzle;
    ScoresFile m_file;
    WinReport m_lastWin;
};
