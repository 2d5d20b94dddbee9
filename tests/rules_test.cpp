// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "parse.h"
#include "rules.h"
#include "task_code.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

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

// The pour as a child would do it: one unit at a time, until the source is
// empty or the receiver full.
std::array<int, 3> PouredByHand(std::array<int, 3> levels, const std::array<int, 3> &capacities, PourMove move)
{
    const auto s = static_cast<std::size_t>(move.Source - 1);
    const auto r = static_cast<std::size_t>(move.Receiver - 1);
    while (levels[s] > 0 && levels[r] < capacities[r]) {
        --levels[s];
        ++levels[r];
    }
    return levels;
}

struct SmallState {
    std::array<int, 3> Capacities;
    std::array<int, 3> Levels;
};

// Every three vessels of 0..most units, each at every level it can hold.
std::vector<SmallState> SmallStates(int most)
{
    std::vector<SmallState> states;
    const int n = most + 1;
    for (int c = 0; c < n * n * n; ++c) {
        const std::array<int, 3> capacities{c % n, c / n % n, c / (n * n)};
        const int k1 = capacities[0] + 1;
        const int k2 = capacities[1] + 1;
        for (int l = 0; l < k1 * k2 * (capacities[2] + 1); ++l)
            states.push_back({capacities, {l % k1, l / k1 % k2, l / (k1 * k2)}});
    }
    return states;
}

// Every small state, every pour: the rule's arithmetic against the pour by
// hand. (The goal on what a pour leaves is the puzzle's test, where the
// player sees it.)
TEST(Rules, PourMatchesPouringOneUnitAtATime)
{
    const std::vector<SmallState> states = SmallStates(5);
    ASSERT_EQ(states.size(), 21u * 21u * 21u); // 1 + 2 + ... + 6 for each vessel
    for (const auto &[capacities, start] : states) {
        for (const PourMove move : kPourMoves) {
            const auto s = static_cast<std::size_t>(move.Source - 1);
            const auto r = static_cast<std::size_t>(move.Receiver - 1);
            const std::array<int, 3> expected = PouredByHand(start, capacities, move);
            std::array<int, 3> levels = start;
            const bool moved = ApplyPour(levels, capacities, move);
            ASSERT_EQ(levels, expected) << testing::PrintToString(capacities) << " at "
                                        << testing::PrintToString(start) << ", pour " << move.Source << move.Receiver;
            ASSERT_EQ(moved, expected != start);
            ASSERT_EQ(PourAmount(start[s], capacities[r], start[r]), start[s] - expected[s]);
        }
    }
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

// The limit is written once: the field, the task code and the plain decimal
// reader all take exactly 0..999, at the edges and far past them.
TEST(Rules, EveryReaderTakesTheSameValues)
{
    for (long long value = -3; value <= 100000; value += value < 1010 ? 1 : 997) {
        const std::string text = std::to_string(value);
        SCOPED_TRACE(text);
        const bool in = InValueRange(value);
        bool fieldTakes = true;
        try {
            EXPECT_EQ(ParseFieldValue(text), value);
        } catch (const ERangeError &) {
            fieldTakes = false;
        }
        EXPECT_EQ(fieldTakes, in);
        if (value >= 0) {
            EXPECT_EQ(ReadDecimalValue(text).has_value(), in);
            EXPECT_EQ(ReadDecimalValue("000" + text).has_value(), in);
            bool codeTakes = true;
            try {
                EXPECT_EQ(ParseTaskCode("12,7,5/12,0,0/" + text).Target, value);
            } catch (const std::invalid_argument &) {
                codeTakes = false;
            }
            EXPECT_EQ(codeTakes, in);
        }
    }
}

} // namespace
