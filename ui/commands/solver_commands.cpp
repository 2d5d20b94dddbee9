// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "solver_commands.h"

#include "advice.h"
#include "game_commands.h"
#include "message_boxes.h"
#include "position.h"
#include "puzzle.h"
#include "solution_dialog.h"
#include "solver.h"
#include "task_in_play.h"

#include <QWidget>

SolverCommands::SolverCommands(Puzzle &puzzle, const GameCommands &commands, MessageBoxes &boxes, QWidget *window)
    : QObject(window)
    , m_puzzle(puzzle)
    , m_commands(commands)
    , m_boxes(boxes)
    , m_window(window)
{
}

void SolverCommands::Hint()
{
    m_puzzle.Help().Hint = true; // the score of a win in this game keeps it
    const Advice hint = ::Hint(m_puzzle);
    m_boxes.Show(hint.Text, kCaptionHint, hint.Solvable ? kIconInformation : kIconWarning);
}

void SolverCommands::ShowSolution()
{
    const VesselState &state = m_puzzle.State();
    const Solution solution = Solve(CurrentPosition(state));
    if (!solution.Solved()) {
        m_boxes.Show(NoSolutionText(state, m_puzzle.Log()), kCaptionSolution, kIconWarning);
        return;
    }
    const std::optional<std::string> player = PlayerCountLine(m_puzzle);
    m_puzzle.Help().Solution = true;
    SolutionDialog dialog(solution, player ? QString::fromStdString(*player) : QString(), m_window,
                          m_bestLine ? m_bestLine() : QString());
    dialog.exec();
}

void SolverCommands::CheckTask()
{
    const Advice check = Check(TaskInPlay(m_puzzle, m_commands));
    m_boxes.Show(check.Text, kCaptionCheck, check.Solvable ? kIconInformation : kIconWarning);
}
