// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "advice.h"

#include "move_log.h"
#include "solver.h"
#include "vessel_state.h"

Advice Hint(const VesselState &state, const MoveLog &log)
{
    const TaskPreset here = CurrentPosition(state);
    const Solution solution = Solve(here);
    if (solution.Solved()) {
        const SolverStep &next = solution.Steps.front();
        return {"Перелейте из сосуда " + std::to_string(next.Source) + " в сосуд " + std::to_string(next.Receiver)
                    + ". До цели осталось " + PourCount(solution.Pours()) + ".",
                true};
    }
    std::string text = "Отсюда цель недостижима. " + UnsolvableText(solution, here);
    if (const std::optional<int> back = PoursToTakeBack(state, log))
        text += " Отмените " + PourCount(*back) + " кнопкой «Назад»: оттуда цель достижима.";
    else if (log.RowCount() > 1)
        text += " Цель недостижима и с самого начала игры.";
    return {text, false};
}

Advice Check(const TaskPreset &task)
{
    const Solution solution = Solve(task);
    if (solution.Solved())
        return {"Задачу можно решить за " + PourCount(solution.Pours()) + ".", true};
    return {"Задачу решить нельзя. " + UnsolvableText(solution, task), false};
}

std::optional<int> PoursToTakeBack(const VesselState &state, const MoveLog &log)
{
    const int last = log.RowCount() - 1;
    const auto solvable = [&](int row) { return Solve(LoggedPosition(state, log, row)).Solved(); };
    if (last < 1 || !solvable(0))
        return std::nullopt;
    // The newest solvable row before the last, by bisection: a long log of a
    // large puzzle costs a handful of searches, not one per row.
    int good = 0;
    int bad = last;
    while (bad - good > 1) {
        const int middle = good + (bad - good) / 2;
        (solvable(middle) ? good : bad) = middle;
    }
    return last - good;
}

std::string SolutionLengthText(int pours)
{
    return "Кратчайшее решение из этого положения — " + PourCount(pours) + ".";
}

std::string PlayerCountText(int playerPours, int fewest)
{
    return "Вы решили за " + PourCount(playerPours) + "; наименьшее число — " + std::to_string(fewest) + ".";
}
