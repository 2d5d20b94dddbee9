// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "score_keeper.h"

#include "message_boxes.h"
#include "position.h"
#include "puzzle.h"
#include "solver.h"
#include "task_code.h"

#include <QDate>

namespace {

const char *const kCaptionScores = "Рекорды";

} // namespace

ScoreKeeper::ScoreKeeper(const Puzzle &puzzle, MessageBoxes &boxes, QObject *parent)
    : QObject(parent)
    , m_puzzle(puzzle)
    , m_file([&boxes](const std::string &why) { boxes.Show(why, kCaptionScores, kIconWarning); })
{
}

void ScoreKeeper::GoalMet()
{
    const MoveLog &log = m_puzzle.Log();
    const TaskPreset start = LoggedPosition(m_puzzle.State(), log, 0);
    Score win;
    win.Code = TaskCode(start);
    win.Pours = log.RowCount() - 1;
    win.Date = QDate::currentDate().toString(Qt::ISODate).toStdString();
    win.Help = m_puzzle.Help();
    m_lastWin.Win = win;
    m_lastWin.Fewest = Solve(start).Pours();
    m_lastWin.Before = m_file.Remember(win);
}

std::vector<Score> ScoreKeeper::All()
{
    m_file.Load();
    return m_file.All();
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
