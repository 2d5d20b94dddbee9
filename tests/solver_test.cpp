// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "model_fixture.h"
#include "solver.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <random>
#include <set>
#include <stdexcept>

namespace {

// --- known minimum counts ----------------------------------------------------

struct KnownCase {
    const char *Name;
    Levels Capacities;
    Levels Start;
    int Target;
    int Pours; // 0: no solution
    Unsolvable Reason;
};

class KnownCounts : public testing::TestWithParam<KnownCase> { };

TEST_P(KnownCounts, FewestPoursOrReason)
{
    const KnownCase &c = GetParam();
    const Solution s = Solve(Task(c.Capacities, c.Start, c.Target));
    EXPECT_EQ(s.Pours(), c.Pours);
    EXPECT_EQ(s.Reason, c.Reason);
    EXPECT_EQ(s.Solved(), c.Pours > 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KnownCounts,
    testing::Values(
        KnownCase{"Milk_12_7_5_from_12_0_0_to_6", {12, 7, 5}, {12, 0, 0}, 6, 10, Unsolvable::No},
        KnownCase{"Kvass_8_5_3_from_8_0_0_to_4", {8, 5, 3}, {8, 0, 0}, 4, 6, Unsolvable::No},
        KnownCase{"From_10_7_3_to_5", {10, 7, 3}, {10, 0, 0}, 5, 8, Unsolvable::No},
        KnownCase{"From_20_15_7_to_10", {20, 15, 7}, {20, 0, 0}, 10, 14, Unsolvable::No},
        // 7 into the 5 leaves 2 in the source at once.
        KnownCase{"From_7_5_3_to_2_at_the_first_pour", {7, 5, 3}, {7, 0, 0}, 2, 1, Unsolvable::No},
        // 4 already stands in two vessels; only a pour counts.
        KnownCase{"StartHoldingTheTargetDoesNotCount", {8, 5, 3}, {4, 4, 0}, 4, 2, Unsolvable::No},
        // No single pour from 8 0 0 empties its source; two do (1>3, 3>2).
        KnownCase{"TargetZeroNeedsTheSourceEmptied", {8, 5, 3}, {8, 0, 0}, 0, 2, Unsolvable::No},
        KnownCase{"CapacityZeroVessel", {5, 0, 3}, {5, 0, 0}, 2, 1, Unsolvable::No},
        KnownCase{"Farthest_999_500_499", {999, 500, 499}, {999, 0, 0}, 749, 997, Unsolvable::No},
        KnownCase{"EvenLevelsOnly_999_4_6", {999, 4, 6}, {6, 0, 0}, 3, 0, Unsolvable::TargetNotMultiple},
        KnownCase{"TargetAboveTheLiquid", {9, 7, 5}, {2, 0, 0}, 3, 0, Unsolvable::TargetAboveTotal},
        KnownCase{"TargetAboveEveryCapacity", {5, 3, 2}, {5, 0, 0}, 6, 0, Unsolvable::TargetAboveCapacity},
        KnownCase{"TargetAboveWhenAllCapacitiesAreZero", {0, 0, 0}, {0, 0, 0}, 1, 0, Unsolvable::TargetAboveCapacity},
        KnownCase{"AllZeroTargetZero", {0, 0, 0}, {0, 0, 0}, 0, 0, Unsolvable::NothingToPour},
        KnownCase{"EmptyVessels", {5, 3, 2}, {0, 0, 0}, 0, 0, Unsolvable::NothingToPour},
        KnownCase{"EveryVesselFull", {5, 3, 2}, {5, 3, 2}, 4, 0, Unsolvable::NothingToPour},
        KnownCase{"OnlyIntoZeroCapacities", {7, 0, 0}, {7, 0, 0}, 7, 0, Unsolvable::NothingToPour},
        KnownCase{"Exhausted_8_7_6_from_8_2_0_to_5", {8, 7, 6}, {8, 2, 0}, 5, 0, Unsolvable::NotReachable}),
    [](const testing::TestParamInfo<KnownCase> &info) { return std::string(info.param.Name); });

// 8 7 6 with 10 litres: 5 is out of reach from every split that has no 5 in
// it, and one pour away from every split that has.
TEST(Solver, EightSevenSixToFiveOnlyWhenAVesselStartsWithFive)
{
    int splits = 0;
    for (int a = 0; a <= 8; ++a) {
        for (int b = 0; b <= 7; ++b) {
            const int c = 10 - a - b;
            if (c < 0 || c > 6)
                continue;
            ++splits;
            const Solution s = Solve(Task({8, 7, 6}, {a, b, c}, 5));
            const bool five = a == 5 || b == 5 || c == 5;
            EXPECT_EQ(s.Solved(), five) << a << " " << b << " " << c;
            if (!five) {
                EXPECT_EQ(s.Reason, Unsolvable::NotReachable) << a << " " << b << " " << c;
            }
        }
    }
    EXPECT_GT(splits, 20);
}

TEST(Solver, RejectsValuesOutsideTheGame)
{
    EXPECT_THROW(Solve(Task({5, 3, 2}, {6, 0, 0}, 4)), std::invalid_argument);
    EXPECT_THROW(Solve(Task({1000, 3, 2}, {0, 0, 0}, 4)), std::invalid_argument);
    EXPECT_THROW(Solve(Task({5, 3, 2}, {0, -1, 0}, 4)), std::invalid_argument);
    EXPECT_THROW(Solve(Task({5, 3, 2}, {0, 0, 0}, 1000)), std::invalid_argument);
}

// --- replay through the real model ---------------------------------------

class SolutionReplay : public PuzzleTest {
protected:
    // Plays the steps with Pour and checks every row and box on the way.
    void Replay(const TaskPreset &task, const Solution &s)
    {
        Start({task.Capacity[0], task.Capacity[1], task.Capacity[2]}, {task.Level[0], task.Level[1], task.Level[2]},
              task.Target);
        ASSERT_TRUE(boxes.Boxes.empty());
        for (std::size_t i = 0; i < s.Steps.size(); ++i) {
            const SolverStep &step = s.Steps[i];
            puzzle.Pour(step.Source, step.Receiver);
            const Levels levels{step.Levels[0], step.Levels[1], step.Levels[2]};
            ASSERT_EQ(Stored(), levels) << "pour " << i + 1;
            ASSERT_EQ(LastRow(),
                      (std::vector<std::string>{std::to_string(i + 1), std::to_string(levels[0]),
                                                std::to_string(levels[1]), std::to_string(levels[2])}));
            const bool last = i + 1 == s.Steps.size();
            // No "nothing to pour" box, and the goal box at the last pour only.
            ASSERT_EQ(boxes.Boxes.size(), last ? 1u : 0u) << "pour " << i + 1;
        }
        ASSERT_EQ(boxes.Boxes.back().Text, kMsgGoalReached);
        EXPECT_EQ(boxes.Boxes.back().Rows, s.Pours() + 1);
        EXPECT_TRUE(puzzle.State().GoalReached);
        EXPECT_EQ(puzzle.GoalPours(), s.Pours());
    }
};

TEST_F(SolutionReplay, MilkTask)
{
    const TaskPreset &milk = TaskPresets[0];
    Replay(milk, Solve(milk));
}

TEST_F(SolutionReplay, FarthestTargetOf999_500_499)
{
    const TaskPreset task = Task({999, 500, 499}, {999, 0, 0}, 749);
    const Solution s = Solve(task);
    ASSERT_EQ(s.Pours(), 997);
    Replay(task, s);
}

// The number of pours at the goal is that of the rows standing then, undone
// pours not counted; later pours do not change it.
TEST_F(PuzzleTest, GoalPoursCountsTheRowsStandingAtTheGoal)
{
    Start({8, 5, 3}, {8, 0, 0}, 4);
    Pours("1>2 2>1");
    puzzle.BtnUndoClick();
    Pours("2>3 3>1 2>3 1>2 2>3");
    ASSERT_TRUE(puzzle.State().GoalReached);
    EXPECT_EQ(puzzle.GoalPours(), 6);
    Pours("3>1");
    EXPECT_EQ(puzzle.GoalPours(), 6);
}

// --- against an independent brute force ----------------------------------

using Position = std::array<int, 3>;

// Every sequence of pours, kept as the set of positions that k pours can
// reach without meeting the target on the way. The answer is the first k
// whose next pours meet it. The layers repeat with some period once no new
// position appears; then no longer sequence can meet it either.
std::optional<int> BruteForce(const Position &capacity, const Position &start, int target)
{
    std::set<Position> layer{start};
    std::set<std::set<Position>> seen;
    for (int k = 0; seen.insert(layer).second; ++k) {
        std::set<Position> next;
        for (const Position &p : layer) {
            for (int s = 0; s < 3; ++s) {
                for (int r = 0; r < 3; ++r) {
                    if (s == r)
                        continue;
                    const int amount = std::min(p[s], capacity[r] - p[r]);
                    if (amount == 0)
                        continue;
                    Position q = p;
                    q[s] -= amount;
                    q[r] += amount;
                    if (q[s] == target || q[r] == target)
                        return k + 1;
                    next.insert(q);
                }
            }
        }
        layer = std::move(next);
    }
    return std::nullopt;
}

class RandomPuzzles : public SolutionReplay, public testing::WithParamInterface<unsigned> { };

TEST_P(RandomPuzzles, MatchTheBruteForceAndReplay)
{
    std::mt19937 random(GetParam());
    std::uniform_int_distribution<int> capacity(0, 12);
    int solved = 0;
    int unsolved = 0;
    for (int i = 0; i < 1000 && !HasFailure(); ++i) {
        Position c{capacity(random), capacity(random), capacity(random)};
        Position l{};
        for (std::size_t n = 0; n < 3; ++n)
            l[n] = std::uniform_int_distribution<int>(0, c[n])(random);
        const int target = std::uniform_int_distribution<int>(0, 13)(random);
        const TaskPreset task = Task(c, l, target);
        SCOPED_TRACE(testing::Message() << c[0] << " " << c[1] << " " << c[2] << " / " << l[0] << " " << l[1] << " "
                                        << l[2] << " -> " << target);

        const Solution s = Solve(task);
        const std::optional<int> expected = BruteForce(c, l, target);
        ASSERT_EQ(s.Solved(), expected.has_value());
        if (expected) {
            ++solved;
            ASSERT_EQ(s.Pours(), *expected);
            // The same model, reset, for each puzzle.
            boxes.Boxes.clear();
            puzzle.ResetAll();
            Replay(task, s);
            continue;
        }
        ++unsolved;
        // The reason given must hold.
        const int largest = *std::max_element(c.begin(), c.end());
        switch (s.Reason) {
        case Unsolvable::TargetAboveCapacity:
            EXPECT_GT(target, largest);
            break;
        case Unsolvable::TargetNotMultiple:
            EXPECT_GT(s.Divisor, 1);
            EXPECT_NE(target % s.Divisor, 0);
            // A capacity that is no multiple must hold all the liquid.
            for (std::size_t n = 0; n < 3; ++n)
                EXPECT_TRUE(l[n] % s.Divisor == 0 && (c[n] % s.Divisor == 0 || c[n] > l[0] + l[1] + l[2]));
            break;
        case Unsolvable::TargetAboveTotal:
            EXPECT_GT(target, l[0] + l[1] + l[2]);
            break;
        case Unsolvable::NothingToPour:
            for (int a = 0; a < 3; ++a)
                for (int b = 0; b < 3; ++b)
                    EXPECT_TRUE(a == b || l[a] == 0 || l[b] == c[b]);
            break;
        case Unsolvable::NotReachable:
            EXPECT_LE(target, largest);
            EXPECT_GT(s.Positions, 1);
            break;
        case Unsolvable::No:
            ADD_FAILURE() << "unsolved without a reason";
        }
    }
    // The seeds reach both kinds.
    EXPECT_GT(solved, 400);
    EXPECT_GT(unsolved, 40);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomPuzzles, testing::Values(7u, 11u, 2026u));

} // namespace
