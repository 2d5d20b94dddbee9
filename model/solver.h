// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "task_presets.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

class MoveLog;
struct VesselState;

// One pour of a solution: vessel numbers 1..3 and the levels it leaves.
struct SolverStep {
    int Source = 0;
    int Receiver = 0;
    std::array<int, 3> Levels{};
};

// Why a position has no solution. Each is claimed only when it holds.
enum class Unsolvable {
    No, // there is a solution
    TargetAboveCapacity, // no vessel can ever hold the target
    TargetAboveTotal, // there is not that much liquid in all the vessels
    TargetNotMultiple, // every level stays a multiple of a divisor the target is not
    NothingToPour, // not a single pour is possible
    NotReachable, // the search ran out
};

struct Solution {
    // A shortest sequence of pours; the last one leaves the target in its
    // source or receiver, none before it does.
    std::vector<SolverStep> Steps;
    Unsolvable Reason = Unsolvable::No;
    int Divisor = 0; // for TargetNotMultiple
    int Positions = 0; // positions the search reached, the start included

    bool Solved() const { return Reason == Unsolvable::No; }
    int Pours() const { return static_cast<int>(Steps.size()); }
};

// The fewest pours under the game's rule from the given capacities and levels
// to the target: a pour moves min(level of the source, free space of the
// receiver) when that is above 0, and the first pour that leaves the target
// in its source or its receiver solves the puzzle. The start never counts.
// Needs 0 <= Level[n] <= Capacity[n] <= 999 and 0 <= Target <= 999; throws
// std::invalid_argument otherwise.
Solution Solve(const TaskPreset &task);

// The puzzle as it stands now, and as it stood at a row of the log.
TaskPreset CurrentPosition(const VesselState &state);
// 0 <= row < log.RowCount()
TaskPreset LoggedPosition(const VesselState &state, const MoveLog &log, int row);

// The reason as a sentence the player understands. Needs !solution.Solved().
std::string UnsolvableText(const Solution &solution, const TaskPreset &task);

// "1 переливание", "3 переливания", "5 переливаний", "21 переливание".
std::string PourCount(int n);
// The Russian noun form for a count: one (1, 21, 101), few (2..4, 22..24),
// many (0, 5..20, 25..30, 111..114).
std::string_view RussianPlural(int n, std::string_view one, std::string_view few, std::string_view many);

// A task written as C1,C2,C3/L1,L2,L3/T (decimal, 0..999, each level within
// its capacity). Throws std::invalid_argument with the reason in Russian.
TaskPreset ParseTaskCode(std::string_view code);
