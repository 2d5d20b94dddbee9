// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "task_presets.h"

#include <optional>
#include <string>

class MoveLog;
class Puzzle;
struct Solution;
struct VesselState;

inline constexpr const char *kCaptionHint = "Подсказка";
inline constexpr const char *kCaptionSolution = "Решение";
inline constexpr const char *kCaptionCheck = "Проверить задачу";

// What the solver tells the player, as message texts. None of it changes the
// puzzle.
struct Advice {
    std::string Text;
    bool Solvable = false;
};

// The next pour of a shortest solution from the current levels; or why the
// target cannot be reached from here, and how many pours to take back to a
// logged position from which it can.
Advice Hint(const VesselState &state, const MoveLog &log);
// The same for the game in play; once its goal has been reached, that it is
// solved and in how many pours against the fewest.
Advice Hint(const Puzzle &puzzle);

// Why there is no solution from the current position, for the solution
// command: of the task itself at its start, else of this position, with how
// many pours to take back. Needs a position without a solution.
std::string NoSolutionText(const VesselState &state, const MoveLog &log);

// Whether the task can be solved, and in how few pours, or why not.
Advice Check(const TaskPreset &task);

// How many of the logged pours must be undone to stand where the target can
// be reached again; none when not even the start row can reach it. Whatever
// a pour leads to from an unsolvable position is unsolvable too (a solution
// from there would be one from here), so the logged rows are solvable up to
// some row and not after it.
std::optional<int> PoursToTakeBack(const VesselState &state, const MoveLog &log);

// The reason as a sentence the player understands. Needs !solution.Solved().
std::string UnsolvableText(const Solution &solution, const TaskPreset &task);

// "Кратчайшее решение из этого положения — 10 переливаний."
std::string SolutionLengthText(int pours);
// "Вы решили за 12 переливаний; наименьшее число — 10."
std::string PlayerCountText(int playerPours, int fewest);
// That line for the game in play, once its goal has been reached.
std::optional<std::string> PlayerCountLine(const Puzzle &puzzle);
