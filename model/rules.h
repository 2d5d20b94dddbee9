// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>

// The rules of the game, written once: the puzzle, the solver, the number
// rule, the task code and the menus all ask here.

// Every value the player types or a task holds: capacities, levels, target.
inline constexpr int kMaxValue = 999;

constexpr bool InValueRange(long long value)
{
    return value >= 0 && value <= kMaxValue;
}

// A vessel holds no more than its capacity: a level above it is refused
// wherever a level comes in (a field, a task code, a task to solve).
constexpr bool LevelFits(int level, int capacity)
{
    return level <= capacity;
}

// A pour moves as much as it can: until the source is empty or the receiver
// full. 0 means there is nothing to pour.
constexpr int PourAmount(int sourceLevel, int receiverCapacity, int receiverLevel)
{
    const int space = receiverCapacity - receiverLevel;
    return sourceLevel < space ? sourceLevel : space;
}

// The goal belongs to the pour: the target must stand in the source or the
// receiver after it; the third vessel does not count, nor does the start.
constexpr bool MeetsGoal(int target, int sourceLevelAfter, int receiverLevelAfter)
{
    return sourceLevelAfter == target || receiverLevelAfter == target;
}

// One pour between two vessels, numbered 1..3.
struct PourMove {
    int Source;
    int Receiver;
};

// Every pour there is, in the order the menu lists them and the solver tries
// them (which decides which of several shortest solutions it finds).
inline constexpr std::array<PourMove, 6> kPourMoves{{{1, 2}, {1, 3}, {2, 1}, {2, 3}, {3, 1}, {3, 2}}};

// Levels after pouring from source into receiver (vessel numbers 1..3), or
// false when nothing would move. The same arithmetic as Puzzle::Pour.
template <class Levels, class Capacities>
constexpr bool ApplyPour(Levels &levels, const Capacities &capacities, PourMove move)
{
    const auto s = static_cast<std::size_t>(move.Source - 1);
    const auto r = static_cast<std::size_t>(move.Receiver - 1);
    const int amount = PourAmount(levels[s], capacities[r], levels[r]);
    if (amount <= 0)
        return false;
    levels[s] -= amount;
    levels[r] += amount;
    return true;
}
