// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "advice.h"
#include "model_fixture.h"
#include "position.h"
#include "solver.h"
#include "wording.h"

#include <random>

namespace {

class AdviceTest : public PuzzleTest {
protected:
    Advice HintNow() const { return Hint(puzzle.State(), puzzle.Log()); }
};

TEST_F(AdviceTest, HintNamesTheFirstPourOfAShortestSolution)
{
    Start({12, 7, 5}, {12, 0, 0}, 6);
    const Advice hint = HintNow();
    EXPECT_TRUE(hint.Solvable);
    EXPECT_EQ(hint.Text, "Перелейте из сосуда 1 в сосуд 2. До цели осталось 10 переливаний.");

    // Following the hints solves the puzzle in as many pours as it said.
    for (int left = 10; left > 0; --left) {
        const Advice step = HintNow();
        ASSERT_NE(step.Text.find("До цели осталось " + PourCount(left) + "."), std::string::npos) << step.Text;
        const auto at = std::string_view(step.Text).substr(std::string("Перелейте из сосуда ").size());
        Pours(std::string{at[0], '>', at[std::string(" в сосуд ").size() + 1]});
    }
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, kMsgGoalReached);
    EXPECT_EQ(puzzle.Log().RowCount(), 11);
}

TEST_F(AdviceTest, HintCountsThePoursToTakeBack)
{
    // 8 7 6 with 10 litres reaches 5 only from a split that holds a 5.
    Start({8, 7, 6}, {5, 5, 0}, 5);
    Pours("1>2");
    ASSERT_EQ(Stored(), (Levels{3, 7, 0}));
    const std::string reason = UnsolvableText(Solve(CurrentPosition(puzzle.State())), CurrentPosition(puzzle.State()));
    EXPECT_EQ(HintNow().Text,
              "Отсюда цель недостижима. " + reason + " Отмените 1 переливание кнопкой «Назад»: оттуда цель достижима.");
    Pours("2>3 1>2");
    EXPECT_FALSE(HintNow().Solvable);
    EXPECT_NE(HintNow().Text.find(" Отмените 3 переливания кнопкой «Назад»"), std::string::npos) << HintNow().Text;
    // Nothing was poured or logged by asking.
    EXPECT_EQ(puzzle.Log().RowCount(), 4);
    EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(AdviceTest, HintWhenNotEvenTheStartCanReachIt)
{
    Start({999, 4, 6}, {6, 0, 0}, 3);
    const std::string atStart = HintNow().Text;
    EXPECT_EQ(atStart,
              "Отсюда цель недостижима. Все уровни делятся на 2, объемы сосудов 2 и 3 тоже, а сосуд 1 "
              "вмещает всю жидкость сразу, поэтому после любого переливания уровни тоже делятся на 2, а 3 "
              "на 2 не делится.");
    Pours("1>2");
    EXPECT_EQ(HintNow().Text, atStart + " Цель недостижима и с самого начала игры.");
}

// The bisection over the log agrees with asking every row, newest first.
TEST_F(AdviceTest, TakeBackMatchesAScanOfEveryRow)
{
    std::mt19937 random(5);
    std::uniform_int_distribution<int> vessel(1, 3);
    for (int game = 0; game < 40 && !HasFailure(); ++game) {
        puzzle.ResetAll();
        boxes.Boxes.clear();
        Start({8, 7, 6}, {game % 2 ? 5 : 4, game % 2 ? 5 : 6, 0}, 5);
        for (int pour = 0; pour < 12; ++pour) {
            const int s = vessel(random);
            const int r = s % 3 + 1;
            puzzle.Pour(s, r);
            std::optional<int> scan;
            const int last = puzzle.Log().RowCount() - 1;
            if (!Solve(CurrentPosition(puzzle.State())).Solved()) {
                for (int row = last - 1; row >= 0 && !scan; --row) {
                    if (Solve(LoggedPosition(puzzle.State(), puzzle.Log(), row)).Solved())
                        scan = last - row;
                }
                EXPECT_EQ(PoursToTakeBack(puzzle.State(), puzzle.Log()), scan) << game << " " << pour;
            }
        }
    }
}

TEST(AdviceTexts, CheckAndCounts)
{
    EXPECT_EQ(Check(TaskPresets[1]).Text, "Задачу можно решить за 6 переливаний.");
    EXPECT_TRUE(Check(TaskPresets[1]).Solvable);
    const Advice no = Check({{5, 3, 2}, {5, 0, 0}, 6});
    EXPECT_FALSE(no.Solvable);
    EXPECT_EQ(no.Text, "Задачу решить нельзя. Уровень 6 больше объема каждого сосуда.");
    EXPECT_EQ(PlayerCountText(12, 10), "Вы решили за 12 переливаний; наименьшее число — 10.");
    EXPECT_EQ(PlayerCountText(21, 1), "Вы решили за 21 переливание; наименьшее число — 1.");
    EXPECT_EQ(SolutionLengthText(2), "Кратчайшее решение из этого положения — 2 переливания.");
}

TEST(AdviceTexts, ReasonsNameTheNumbers)
{
    const TaskPreset even = Task({999, 4, 6}, {6, 0, 0}, 3);
    EXPECT_EQ(UnsolvableText(Solve(even), even),
              "Все уровни делятся на 2, объемы сосудов 2 и 3 тоже, а сосуд 1 вмещает всю жидкость сразу, поэтому "
              "после любого переливания уровни тоже делятся на 2, а 3 на 2 не делится.");
    const TaskPreset sixes = Task({6, 4, 2}, {6, 0, 0}, 3);
    EXPECT_EQ(UnsolvableText(Solve(sixes), sixes),
              "Все объемы и уровни делятся на 2, поэтому после любого переливания уровни тоже делятся на 2, а 3 на 2 "
              "не делится.");
    const TaskPreset little = Task({9, 7, 5}, {2, 0, 0}, 3);
    EXPECT_EQ(UnsolvableText(Solve(little), little), "Уровень 3 больше, чем налито во все сосуды вместе (2).");
    const TaskPreset above = Task({5, 3, 2}, {5, 0, 0}, 6);
    EXPECT_EQ(UnsolvableText(Solve(above), above), "Уровень 6 больше объема каждого сосуда.");
    const TaskPreset stuck = Task({8, 7, 6}, {8, 2, 0}, 5);
    const Solution s = Solve(stuck);
    EXPECT_EQ(UnsolvableText(s, stuck),
              "Перебраны все положения, которых можно достичь (" + std::to_string(s.Positions)
                  + "): ни одно переливание не оставляет уровень 5 в сосуде, из которого или "
                    "в который льют.");
}

} // namespace

namespace {

// Once the goal is reached the hint says so, whatever the levels show now.
TEST_F(AdviceTest, HintAfterTheGoalSaysItIsSolved)
{
    Start({12, 7, 5}, {12, 0, 0}, 6);
    EXPECT_EQ(Hint(puzzle).Text.rfind("Перелейте из сосуда", 0), 0u);
    const Solution best = Solve(TaskPresets[0]);
    Pours("1>3"); // one pour off the shortest way
    for (const SolverStep &step : Solve(CurrentPosition(puzzle.State())).Steps)
        puzzle.Pour(step.Source, step.Receiver);
    ASSERT_TRUE(puzzle.State().GoalReached);
    const Advice solved = Hint(puzzle);
    EXPECT_EQ(solved.Text, "Задача решена. " + PlayerCountText(puzzle.GoalPours(), best.Pours()));
    EXPECT_GT(puzzle.GoalPours(), best.Pours());
    EXPECT_TRUE(solved.Solvable);
    // Undone back to the start, it is still the game that was won.
    while (puzzle.Log().RowCount() > 1)
        puzzle.BtnUndoClick();
    EXPECT_EQ(Hint(puzzle).Text, solved.Text);
}

TEST_F(AdviceTest, NoSolutionFromADeadEndSaysHowFarBack)
{
    // 2,2,2 from 1,1,0 to 1: after 1 -> 2 every level is even.
    EXPECT_TRUE(Check(Task({2, 2, 2}, {1, 1, 0}, 1)).Solvable);
    Start({2, 2, 2}, {1, 1, 0}, 1);
    Pours("1>2");
    ASSERT_EQ(Stored(), (Levels{0, 2, 0}));
    const std::string text = NoSolutionText(puzzle.State(), puzzle.Log());
    EXPECT_EQ(text.rfind("Из этого положения решения нет. Все объемы и уровни делятся на 2", 0), 0u) << text;
    EXPECT_NE(text.find(" Отмените 1 переливание кнопкой «Назад»: оттуда цель достижима."), std::string::npos) << text;
}

TEST_F(AdviceTest, NoSolutionOfTheTaskItself)
{
    Start({6, 4, 2}, {6, 0, 0}, 3);
    EXPECT_EQ(NoSolutionText(puzzle.State(), puzzle.Log()),
              "Решения нет. " + UnsolvableText(Solve(Task({6, 4, 2}, {6, 0, 0}, 3)), Task({6, 4, 2}, {6, 0, 0}, 3)));
}

} // namespace
