// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "task_presets.h"

#include <array>
#include <vector>

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

// The fewest pours under the game's rules (rules.h) from the given
// capacities and levels to the target. The start never counts.
// Needs 0 <= Level[n] <= Capacity[n] <= 999 and 0 <= Target <= 999; throws
// std::invalid_argument otherwise.
Solution Solve(const TaskPreset &task);

// A position that pours reach from the start.
struct ReachedPosition {
    std::array<int, 3> Levels{};
    int Pours = 0; // the fewest pours that reach it; 0 for the start
    // Some pour into it meets the goal: it leaves the target in its source
    // or receiver. The fewest pours to win may come by another way.
    bool Winning = false;
};

// Every position reachable from the task's levels, the start first, then by
// the fewest pours (ties in the order the solver tries its pours). Same
// needs as Solve.
std::vector<ReachedPosition> Reachable(const TaskPreset &task);
