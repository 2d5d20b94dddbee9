// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "rules.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <utility>

namespace {

// "12 7 5 / 5 7 0: 2>1 -> 12 0 0" read as capacities, levels, pour, result.
struct PourRuleCase {
    const char *Name;
    std::array<int, 3> Capacities;
    std::array<int, 3> Levels;
    PourMove Move;
    bool Moves;
    std::array<int, 3> After;
};

TEST(Rules, PourMovesAsMuchAsItCan)
{
    const PourRuleCase table[] = {
        {"until the receiver is full", {12, 7, 5}, {12, 0, 0}, {1, 2}, true, {5, 7, 0}},
        {"until the source is empty", {12, 7, 5}, {5, 7, 0}, {2, 1}, true, {12, 0, 0}},
        {"from an empty vessel", {12, 7, 5}, {12, 0, 0}, {2, 3}, false, {12, 0, 0}},
        {"into a full vessel", {12, 7, 5}, {5, 7, 0}, {1, 2}, false, {5, 7, 0}},
        {"into a vessel of capacity 0", {8, 0, 3}, {8, 0, 0}, {1, 2}, false, {8, 0, 0}},
        {"the largest values", {999, 999, 1}, {999, 998, 0}, {1, 2}, true, {998, 999, 0}},
    };
    for (const PourRuleCase &c : table) {
        std::array<int, 3> levels = c.Levels;
        EXPECT_EQ(ApplyPour(levels, c.Capacities, c.Move), c.Moves) << c.Name;
        EXPECT_EQ(levels, c.After) << c.Name;
        const auto s = static_cast<std::size_t>(c.Move.Source - 1);
        const auto r = static_cast<std::size_t>(c.Move.Receiver - 1);
        EXPECT_EQ(PourAmount(c.Levels[s], c.Capacities[r], c.Levels[r]) > 0, c.Moves) << c.Name;
    }
}

TEST(Rules, GoalIsInTheSourceOrTheReceiverOnly)
{
    EXPECT_TRUE(MeetsGoal(6, 6, 1));
    EXPECT_TRUE(MeetsGoal(6, 1, 6));
    EXPECT_FALSE(MeetsGoal(6, 5, 7));
    EXPECT_TRUE(MeetsGoal(0, 0, 12)); // an emptied source meets a target of 0
}

TEST(Rules, SixDistinctPoursBetweenThreeVessels)
{
    std::set<std::pair<int, int>> seen;
    for (const PourMove move : kPourMoves) {
        EXPECT_NE(move.Source, move.Receiver);
        EXPECT_TRUE(move.Source >= 1 && move.Source <= 3 && move.Receiver >= 1 && move.Receiver <= 3);
        seen.insert({move.Source, move.Receiver});
    }
    EXPECT_EQ(seen.size(), 6u);
}

TEST(Rules, ValueRange)
{
    EXPECT_TRUE(InValueRange(0));
    EXPECT_TRUE(InValueRange(999));
    EXPECT_FALSE(InValueRange(1000));
    EXPECT_FALSE(InValueRange(-1));
}

} // namespace
