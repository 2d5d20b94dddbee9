// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "advice.h"

#include "move_log.h"
#include "position.h"
#include "puzzle.h"
#include "solver.h"
#include "vessel_state.h"
#include "wording.h"

#include <vector>

namespace {

std::string Number(int n)
{
    return std::to_string(n);
}

int Total(const TaskPreset &task)
{
    return task.Level[0] + task.Level[1] + task.Level[2];
}

// "2", "1 и 3", "1, 2 и 3"
std::string NumberList(const std::vector<int> &numbers)
{
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            text += i + 1 == numbers.size() ? " и " : ", ";
        text += Number(numbers[i]);
    }
    return text;
}

std::string NotMultipleText(const TaskPreset &task, int divisor)
{
    const std::string d = Number(divisor);
    std::vector<int> dividing;
    std::vector<int> holdingAll; // the capacity is no multiple, but above the total
    for (int n = 1; n <= 3; ++n)
        (task.Capacity[static_cast<std::size_t>(n - 1)] % divisor == 0 ? dividing : holdingAll).push_back(n);
    std::string why;
    if (holdingAll.empty()) {
        why = "Все объемы и уровни делятся на " + d;
    } else {
        why = "Все уровни делятся на " + d;
        if (dividing.size() == 1)
            why += ", объем сосуда " + NumberList(dividing) + " тоже";
        else if (!dividing.empty())
            why += ", объемы сосудов " + NumberList(dividing) + " тоже";
        why += holdingAll.size() == 1 ? ", а сосуд " + NumberList(holdingAll) + " вмещает"
                                      : ", а сосуды " + NumberList(holdingAll) + " вмещают";
        why += " всю жидкость сразу";
    }
    return why + ", поэтому после любого переливания уровни тоже делятся на " + d + ", а " + Number(task.Target)
        + " на " + d + " не делится.";
}

// The reason, then how far back the target can be reached again.
std::string DeadEndText(const Solution &solution, const TaskPreset &here, const VesselState &state,
                        const MoveLog &log)
{
    std::string text = UnsolvableText(solution, here);
    if (const std::optional<int> back = PoursToTakeBack(state, log))
        text += " Отмените " + PourCount(*back) + " кнопкой «Назад»: оттуда цель достижима.";
    else if (log.RowCount() > 1)
        text += " Цель недостижима и с самого начала игры.";
    return text;
}

} // namespace

Advice Hint(const VesselState &state, const MoveLog &log)
{
    const TaskPreset here = CurrentPosition(state);
    const Solution solution = Solve(here);
    if (solution.Solved()) {
        const SolverStep &next = solution.Steps.front();
        return {"Перелейте из сосуда " + Number(next.Source) + " в сосуд " + Number(next.Receiver)
                    + ". До цели осталось " + PourCount(solution.Pours()) + ".",
                true};
    }
    return {"Отсюда цель недостижима. " + DeadEndText(solution, here, state, log), false};
}

Advice Hint(const Puzzle &puzzle)
{
    if (const std::optional<std::string> line = PlayerCountLine(puzzle))
        return {"Задача решена. " + *line, true};
    return Hint(puzzle.State(), puzzle.Log());
}

std::string NoSolutionText(const VesselState &state, const MoveLog &log)
{
    const TaskPreset here = CurrentPosition(state);
    const Solution solution = Solve(here);
    // Past the start row the position is the player's doing, not the task's.
    const char *opening = log.RowCount() > 1 ? "Из этого положения решения нет. " : "Решения нет. ";
    return opening + DeadEndText(solution, here, state, log);
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

std::string UnsolvableText(const Solution &solution, const TaskPreset &task)
{
    const std::string target = Number(task.Target);
    switch (solution.Reason) {
    case Unsolvable::TargetAboveCapacity:
        return "Уровень " + target + " больше объема каждого сосуда.";
    case Unsolvable::TargetAboveTotal:
        return "Уровень " + target + " больше, чем налито во все сосуды вместе (" + Number(Total(task)) + ").";
    case Unsolvable::TargetNotMultiple:
        return NotMultipleText(task, solution.Divisor);
    case Unsolvable::NothingToPour:
        return "Ни одно переливание невозможно: из пустого сосуда нечего лить, а в полный некуда.";
    case Unsolvable::NotReachable:
        return "Перебраны все положения, которых можно достичь (" + Number(solution.Positions)
            + "): ни одно переливание не оставляет уровень " + target + " в сосуде, из которого или в который льют.";
    case Unsolvable::No:
        break;
    }
    return {};
}

std::string SolutionLengthText(int pours)
{
    return "Кратчайшее решение из этого положения — " + PourCount(pours) + ".";
}

std::string PlayerCountText(int playerPours, int fewest)
{
    return "Вы решили за " + PourCount(playerPours) + "; наименьшее число — " + Number(fewest) + ".";
}

std::optional<std::string> PlayerCountLine(const Puzzle &puzzle)
{
    const VesselState &state = puzzle.State();
    const MoveLog &log = puzzle.Log();
    if (!state.GoalReached || log.RowCount() == 0)
        return std::nullopt;
    const Solution fromStart = Solve(LoggedPosition(state, log, 0));
    return PlayerCountText(puzzle.GoalPours(), fromStart.Pours());
}
