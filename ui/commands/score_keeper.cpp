// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "score_keeper.h"

#include "position.h"
#include "puzzle.h"
#include "solver.h"
#include "task_code.h"

#include <QDate>

ScoreKeeper::ScoreKeeper(const Puzzle &puzzle, QObject *parent)
    : QObject(parent)
    , m_puzzle(puzzle)
{
}

void ScoreKeeper::GoalMet()
{
    const MoveLog &log = m_puzzle.Log();
    Score win;
    win.Code = TaskCode(LoggedPosition(m_puzzle.State(), log, 0));
    win.Pours = log.RowCount() - 1;
    win.Date = QDate::currentDate().toString(Qt::ISODate).toStdString();
    win.Help = m_puzzle.Help();
    m_file.Remember(win);
}

QString ScoreKeeper::BestLine() const
{
    const MoveLog &log = m_puzzle.Log();
    if (!m_file.Loaded() || log.RowCount() == 0)
        return {};
    const TaskPreset start = LoggedPosition(m_puzzle.State(), log, 0);
    const std::optional<Score> best = m_file.Best(TaskCode(start));
    if (!best)
        return {};
    return QString::fromStdString(BestText(*best, Solve(start).Pours()));
}
