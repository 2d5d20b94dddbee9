// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "model_fixture.h"
#include "parse.h"

namespace {

using Strings = std::vector<std::string>;

// --- value entry -----------------------------------------------------------

TEST_F(PuzzleTest, TypingTwelveStoresOneThenTwelveAndEmptiesTheVesselEachTime)
{
    fields.Capacity(1).SetText("1");
    EXPECT_EQ(puzzle.State().Capacity(1), 1);
    fields.Level(1).SetText("1");
    EXPECT_EQ(puzzle.State().Level(1), 1);
    repaints.clear();

    fields.Capacity(1).SetText("12");
    EXPECT_EQ(puzzle.State().Capacity(1), 12);
    EXPECT_EQ(fields.Level(1).Text(), "");
    EXPECT_EQ(puzzle.State().Level(1), 0);
    EXPECT_EQ(repaints, std::vector<int>{1});
    EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(PuzzleTest, ClearingAFieldStoresZeroWithoutAMessage)
{
    fields.Capacity(2).SetText("9");
    fields.Level(2).SetText("4");
    fields.Target().SetText("3");
    fields.Level(2).SetText("");
    fields.Target().SetText("");
    fields.Capacity(2).SetText("");
    EXPECT_EQ(puzzle.State().Level(2), 0);
    EXPECT_EQ(puzzle.State().Target(), 0);
    EXPECT_EQ(puzzle.State().Capacity(2), 0);
    EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(PuzzleTest, LevelAboveCapacityIsShownAndNothingIsStoredOrRepainted)
{
    fields.Capacity(1).SetText("5");
    fields.Level(1).SetText("3");
    repaints.clear();

    fields.Level(1).SetText("6");

    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, "Уровень не может превосходить объем сосуда.");
    EXPECT_EQ(boxes.Boxes[0].Caption, "Сосудник");
    EXPECT_EQ(boxes.Boxes[0].Icon, 16);
    EXPECT_EQ(puzzle.State().Level(1), 3);
    EXPECT_EQ(fields.Level(1).Text(), "6");
    EXPECT_TRUE(repaints.empty());
}

TEST_F(PuzzleTest, RejectedCapacityKeepsCapacityAndLevelAndTheLevelText)
{
    fields.Capacity(3).SetText("5");
    fields.Level(3).SetText("3");

    for (const char *bad : {"5x", "1000", "-1", "5 "}) {
        fields.Capacity(3).SetText(bad);
        EXPECT_EQ(puzzle.State().Capacity(3), 5) << bad;
        EXPECT_EQ(puzzle.State().Level(3), 3) << bad;
        EXPECT_EQ(fields.Level(3).Text(), "3") << bad;
        EXPECT_EQ(fields.Capacity(3).Text(), bad);
    }
    ASSERT_EQ(boxes.Boxes.size(), 4u);
    for (const auto &box : boxes.Boxes)
        EXPECT_EQ(box.Text, "Требуется целое число от 0 до 999.");
}

TEST_F(PuzzleTest, WritingTheTextAFieldAlreadyHoldsRunsNothing)
{
    fields.Capacity(1).SetText("8");
    fields.Level(1).SetText("3");
    repaints.clear();
    puzzle.SetLevel(1, 3, false);
    puzzle.SetCapacity(1, 8, false);
    EXPECT_TRUE(repaints.empty());
    EXPECT_EQ(fields.Level(1).Text(), "3"); // the capacity write changed nothing either
}

TEST_F(PuzzleTest, AcceptedTextStaysAsTypedUntilADisplayWriteReplacesIt)
{
    fields.Capacity(1).SetText("9");
    fields.Level(1).SetText("007");
    EXPECT_EQ(puzzle.State().Level(1), 7);
    EXPECT_EQ(fields.Level(1).Text(), "007");
    puzzle.SetLevel(1, 7, false);
    EXPECT_EQ(fields.Level(1).Text(), "7");
    EXPECT_EQ(puzzle.State().Level(1), 7);
}

TEST_F(PuzzleTest, TargetMayExceedEveryCapacity)
{
    fields.Capacity(1).SetText("3");
    fields.Target().SetText("999");
    EXPECT_EQ(puzzle.State().Target(), 999);
    EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(PuzzleTest, AFailedWriteIsReportedAndTheWritingCodeGoesOn)
{
    fields.Capacity(1).SetText("5");
    puzzle.SetLevel(1, 9, false); // must not throw past the guard
    puzzle.SetTarget(4, false);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, "Уровень не может превосходить объем сосуда.");
    EXPECT_EQ(puzzle.State().Target(), 4);
    EXPECT_EQ(fields.Level(1).Text(), "9");
    EXPECT_EQ(puzzle.State().Level(1), 0);
}

TEST_F(PuzzleTest, RejectedLevelTextStaysWhileTheStartRowLogsTheStoredLevel)
{
    fields.Capacity(1).SetText("5");
    fields.Level(1).SetText("3");
    fields.Level(1).SetText("6");
    puzzle.AppendMoveRow();
    EXPECT_EQ(LastRow(), (Strings{"0", "3", "0", "0"}));
    EXPECT_EQ(fields.Level(1).Text(), "6");
}

TEST(DispatchGuardTest, ShowsAnyEscapingExceptionAndReturns)
{
    Recorder boxes;
    DispatchGuard guard(boxes);
    std::vector<std::string> steps;
    EXPECT_NO_THROW(guard.Run([&] {
        steps.push_back("before the throw");
        throw std::runtime_error("Disk full");
    }));
    EXPECT_NO_THROW(guard.Run([] { throw 42; }));
    // A handler that fails inside another ends alone: the outer one goes on.
    guard.Run([&] {
        guard.Run([] { throw ERangeError(kMsgNotANumber); });
        steps.push_back("the outer handler goes on");
    });
    EXPECT_EQ(steps, (std::vector<std::string>{"before the throw", "the outer handler goes on"}));
    ASSERT_EQ(boxes.Boxes.size(), 3u);
    EXPECT_EQ(boxes.Boxes[0].Text, "Disk full.");
    EXPECT_EQ(boxes.Boxes[0].Caption, "Сосудник");
    EXPECT_EQ(boxes.Boxes[0].Icon, 16);
    EXPECT_EQ(boxes.Boxes[1].Text, "Неизвестная ошибка.");
    EXPECT_EQ(boxes.Boxes[2].Text, "Требуется целое число от 0 до 999.");
}

// --- pouring ---------------------------------------------------------------

struct PourCase {
    const char *Name;
    Levels Capacities;
    Levels Start;
    int Target;
    const char *Moves;
    Levels End;
    int Rows;
    const char *Box; // caption of the one box shown, or "" for none
};

void PrintTo(const PourCase &c, std::ostream *os)
{
    *os << c.Name;
}

class PourTest : public PuzzleTest, public testing::WithParamInterface<PourCase> {};

TEST_P(PourTest, MovesWhatItCanAndReports)
{
    const PourCase &c = GetParam();
    Start(c.Capacities, c.Start, c.Target);
    Pours(c.Moves);
    EXPECT_EQ(Stored(), c.End);
    EXPECT_EQ(puzzle.Log().RowCount(), c.Rows);
    EXPECT_EQ(LastRow()[1], std::to_string(c.End[0]));
    EXPECT_EQ(LastRow()[3], std::to_string(c.End[2]));
    if (*c.Box) {
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_EQ(boxes.Boxes[0].Caption, c.Box);
    } else {
        EXPECT_TRUE(boxes.Boxes.empty()) << boxes.Boxes[0].Text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pours, PourTest,
    testing::Values(PourCase{"MilkOneIntoTwo", {12, 7, 5}, {12, 0, 0}, 6, "1>2", {5, 7, 0}, 2, ""},
                    PourCase{"MilkThereAndBack", {12, 7, 5}, {12, 0, 0}, 6, "1>2 2>1", {12, 0, 0}, 3, ""},
                    PourCase{"FromAnEmptyVessel", {12, 7, 5}, {12, 0, 0}, 6, "2>3", {12, 0, 0}, 1, "А смысл?"},
                    PourCase{"IntoAFullVessel", {12, 7, 5}, {5, 7, 0}, 6, "1>2", {5, 7, 0}, 1, "А смысл?"},
                    PourCase{"TargetInTheThirdDoesNotCount", {8, 5, 3}, {5, 0, 3}, 3, "1>2", {0, 5, 3}, 2, ""},
                    PourCase{"TargetLeftInTheSourceCounts", {8, 5, 3}, {8, 0, 0}, 5, "1>3", {5, 0, 3}, 2, "Внимание"},
                    PourCase{"TargetInTheReceiverCounts", {8, 5, 3}, {8, 0, 0}, 3, "1>3", {5, 0, 3}, 2, "Внимание"},
                    PourCase{"TargetZeroByEmptyingTheSource", {8, 5, 3}, {3, 0, 0}, 0, "1>2", {0, 3, 0}, 2, "Внимание"},
                    PourCase{"KvassSolved", {8, 5, 3}, {8, 0, 0}, 4, "1>2 2>3 3>1 2>3 1>2 2>3", {1, 4, 3}, 7,
                             "Внимание"},
                    PourCase{"MilkSolved", {12, 7, 5}, {12, 0, 0}, 6, "1>2 2>3 3>1 2>3 1>2 2>3 3>1 2>3 1>2 2>3",
                             {1, 6, 5}, 11, "Внимание"}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(PuzzleTest, SuccessBoxComesAfterTheRowWhileTheFlagIsStillClear)
{
    Start({8, 5, 3}, {8, 0, 0}, 4);
    Pours("1>2 2>3 3>1 2>3 1>2 2>3");
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    const auto &box = boxes.Boxes[0];
    EXPECT_EQ(box.Text, "Необходимый уровень достигнут!\rХоды можно записать в файл.");
    EXPECT_EQ(box.Icon, 64);
    EXPECT_EQ(box.Rows, 7);
    EXPECT_EQ(box.Levels, (Levels{1, 4, 3}));
    EXPECT_FALSE(box.GoalReached);
    EXPECT_TRUE(puzzle.State().GoalReached);
}

TEST_F(PuzzleTest, NothingToPourBoxComesWithNoNewRow)
{
    Start({12, 7, 5}, {12, 0, 0}, 6);
    Pours("3>1");
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, "Нечего переливать. Попробуйте иначе.");
    EXPECT_EQ(boxes.Boxes[0].Icon, 48);
    EXPECT_EQ(boxes.Boxes[0].Rows, 1);
    EXPECT_EQ(puzzle.Log().RowCount(), 1);
}

TEST_F(PuzzleTest, SuccessIsToldOncePerGameEvenAcrossUndo)
{
    Start({8, 5, 3}, {8, 0, 0}, 4);
    Pours("1>2 2>3 3>1 2>3 1>2 2>3");
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    puzzle.BtnUndoClick();
    puzzle.BtnUndoClick();
    EXPECT_TRUE(puzzle.State().GoalReached);
    Pours("1>2 2>3");
    EXPECT_EQ(Stored(), (Levels{1, 4, 3}));
    EXPECT_EQ(boxes.Boxes.size(), 1u);
}

TEST_F(PuzzleTest, StartingOnTheTargetShowsNothing)
{
    Start({8, 5, 3}, {4, 0, 0}, 4);
    EXPECT_TRUE(boxes.Boxes.empty());
    EXPECT_FALSE(puzzle.State().GoalReached);
}

// --- move log and undo -----------------------------------------------------

TEST_F(PuzzleTest, TwoPoursTwoUndosReturnToTheStartAndAThirdDoesNothing)
{
    Start({12, 7, 5}, {12, 0, 0}, 6);
    Pours("1>2 2>3");
    EXPECT_EQ(LastRow(), (Strings{"2", "5", "2", "5"}));

    repaints.clear();
    puzzle.BtnUndoClick();
    EXPECT_EQ(Stored(), (Levels{5, 7, 0}));
    EXPECT_EQ(repaints, (std::vector<int>{2, 3})); // vessel 1 did not change
    puzzle.BtnUndoClick();
    EXPECT_EQ(Stored(), (Levels{12, 0, 0}));
    EXPECT_EQ(puzzle.Log().RowCount(), 1);
    EXPECT_EQ(LastRow(), (Strings{"0", "12", "0", "0"}));

    repaints.clear();
    puzzle.BtnUndoClick();
    EXPECT_EQ(puzzle.Log().RowCount(), 1);
    EXPECT_EQ(Stored(), (Levels{12, 0, 0}));
    EXPECT_TRUE(repaints.empty());
    EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(PuzzleTest, UndoOnAnEmptyLogDoesNothing)
{
    puzzle.BtnUndoClick();
    EXPECT_EQ(puzzle.Log().RowCount(), 0);
}

TEST_F(PuzzleTest, UndoRestoresLevelsOnlyAndKeepsEditedCaptions)
{
    Start({12, 7, 5}, {12, 0, 0}, 6);
    Pours("1>2");
    puzzle.Log().SetCaption(0, "старт");
    puzzle.BtnUndoClick();
    EXPECT_EQ(LastRow(), (Strings{"старт", "12", "0", "0"}));
    EXPECT_EQ(puzzle.State().Capacity(1), 12);
    EXPECT_EQ(puzzle.State().Target(), 6);
}

// --- tasks and reset -------------------------------------------------------

TEST_F(PuzzleTest, LoadingMilkFillsTheFieldsAndClearsTheLog)
{
    puzzle.LoadTask(TaskPresets[0]);
    puzzle.AppendMoveRow();
    const Strings texts{fields.Capacity(1).Text(), fields.Capacity(2).Text(), fields.Capacity(3).Text(),
                        fields.Level(1).Text(),    fields.Level(2).Text(),    fields.Level(3).Text(),
                        fields.Target().Text()};
    EXPECT_EQ(texts, (Strings{"12", "7", "5", "12", "0", "0", "6"}));
    EXPECT_EQ(puzzle.State().Values, (std::array<std::int32_t, 9>{6, 12, 7, 5, 12, 0, 0, 0, 0}));
    EXPECT_EQ(puzzle.Log().RowCount(), 1);
    EXPECT_EQ(LastRow(), (Strings{"0", "12", "0", "0"}));
}

TEST_F(PuzzleTest, LoadingTheSameTaskTwiceRunsNoHandlerTheSecondTime)
{
    puzzle.LoadTask(TaskPresets[1]);
    const VesselState first = puzzle.State();
    repaints.clear();
    puzzle.LoadTask(TaskPresets[1]);
    EXPECT_EQ(repaints, (std::vector<int>{1, 2, 3})); // only the loader's own notices
    EXPECT_EQ(puzzle.State().Values, first.Values);
    EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(PuzzleTest, LoadingMidGameReplacesEverythingAndTheGoalCanBeReachedAgain)
{
    Start({8, 5, 3}, {8, 0, 0}, 4);
    Pours("1>2 2>3 3>1 2>3 1>2 2>3");
    ASSERT_TRUE(puzzle.State().GoalReached);

    puzzle.LoadTask(TaskPresets[1]);
    EXPECT_FALSE(puzzle.State().GoalReached);
    EXPECT_EQ(puzzle.Log().RowCount(), 0);
    EXPECT_EQ(Stored(), (Levels{8, 0, 0}));

    puzzle.AppendMoveRow();
    Pours("1>2 2>3 3>1 2>3 1>2 2>3");
    EXPECT_EQ(boxes.Boxes.size(), 2u);
}

TEST_F(PuzzleTest, LoadingOverRejectedTextsStoresThePreset)
{
    fields.Capacity(1).SetText("abc");
    fields.Level(2).SetText("12"); // above capacity 0
    boxes.Boxes.clear();
    puzzle.LoadTask(TaskPresets[0]);
    EXPECT_EQ(puzzle.State().Values, (std::array<std::int32_t, 9>{6, 12, 7, 5, 12, 0, 0, 0, 0}));
    EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(PuzzleTest, ResetClearsEveryFieldValueRowAndTheFlag)
{
    Start({8, 5, 3}, {8, 0, 0}, 4);
    Pours("1>2 2>3 3>1 2>3 1>2 2>3");
    fields.Level(3).SetText("junk");
    repaints.clear();

    puzzle.ResetAll();

    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(fields.Capacity(n).Text(), "");
        EXPECT_EQ(fields.Level(n).Text(), "");
    }
    EXPECT_EQ(fields.Target().Text(), "");
    EXPECT_EQ(puzzle.State().Values, (std::array<std::int32_t, 9>{}));
    EXPECT_FALSE(puzzle.State().GoalReached);
    EXPECT_EQ(puzzle.Log().RowCount(), 0);
    // Each vessel is repainted at least by the reset's own notice, in order.
    EXPECT_EQ(repaints.back(), 3);
}

} // namespace

namespace {

// A capacity has its own notice: typed over an empty vessel it repaints
// nothing, yet what the vessel reads out changes. It comes once the level
// field is emptied, and not for a rejected text.
TEST_F(PuzzleTest, EveryStoredCapacityIsNoticedAfterItsLevelIsEmptied)
{
    std::vector<std::pair<int, int>> notices; // vessel, its level then
    const Subscription seen = puzzle.CapacityChangedNotice().Subscribe(
        [&](int n) { notices.push_back({n, puzzle.State().Level(n)}); });
    fields.Capacity(2).SetText("1");
    fields.Capacity(2).SetText("12");
    fields.Level(2).SetText("5");
    fields.Capacity(2).SetText("12x");
    fields.Capacity(2).SetText("7");
    EXPECT_EQ(notices, (std::vector<std::pair<int, int>>{{2, 0}, {2, 0}, {2, 0}}));
    EXPECT_EQ(repaints, (std::vector<int>{2, 2})); // the level 5 and its emptying
}

} // namespace
