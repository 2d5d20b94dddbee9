// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// "Вперед", "Начать заново", the notice of every pour that meets the goal,
// and the help a game has used.
#include "model_fixture.h"

namespace {

using Strings = std::vector<std::string>;

// Counts the log's changes as the window's list sees them.
class LogChanges : public MoveLog::Observer {
public:
    void BeforeAppend(int) override { ++Appends; }
    void AfterAppend() override {}
    void BeforeRemove(int first, int last) override { Removes.push_back({first, last}); }
    void AfterRemove() override {}
    void CaptionChanged(int) override {}

    int Appends = 0;
    std::vector<std::pair<int, int>> Removes;
};

class RedoTest : public PuzzleTest {
protected:
    RedoTest()
        : goalsSeen(puzzle.GoalMetNotice().Subscribe([this] { goalsMet.push_back(puzzle.Log().RowCount() - 1); }))
    {
    }

    Strings Row(int r) const
    {
        const MoveLog &log = puzzle.Log();
        return {log.Cell(r, 0), log.Cell(r, 1), log.Cell(r, 2), log.Cell(r, 3)};
    }

    std::vector<int> goalsMet; // the pours made at each notice
    Subscription goalsSeen;
};

TEST_F(RedoTest, GivesBackTheVeryRowUndoTook)
{
    Start({12, 7, 5}, {12, 0, 0}, 6);
    Pours("1>2 2>3");
    puzzle.Log().SetCaption(2, "мой ход");
    const Strings taken = Row(2);
    puzzle.BtnUndoClick();
    puzzle.BtnUndoClick();
    EXPECT_EQ(puzzle.RedoCount(), 2);
    repaints.clear();

    puzzle.Redo();
    EXPECT_EQ(LastRow(), (Strings{"1", "5", "7", "0"}));
    EXPECT_EQ(Stored(), (Levels{5, 7, 0}));
    puzzle.Redo();
    EXPECT_EQ(LastRow(), taken);
    EXPECT_EQ(Stored(), (Levels{5, 2, 5}));
    EXPECT_EQ(fields.Level(2).Text(), "2");
    EXPECT_EQ(repaints, (std::vector<int>{1, 2, 2, 3}));
    EXPECT_EQ(puzzle.RedoCount(), 0);

    puzzle.Redo(); // nothing left: nothing changes
    EXPECT_EQ(puzzle.Log().RowCount(), 3);
    EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(RedoTest, APourANewGameOrATaskLeavesNothingToRedo)
{
    const std::function<void(Puzzle &)> clearers[] = {
        [](Puzzle &p) { p.Pour(1, 3); },
        [](Puzzle &p) { p.ResetAll(); },
        [](Puzzle &p) { p.LoadTask(TaskPresets[1]); },
        [](Puzzle &p) { p.LoadTask(TaskPresets[0]); }, // the same task again
    };
    for (const auto &clear : clearers) {
        puzzle.LoadTask(TaskPresets[0]);
        puzzle.AppendMoveRow();
        Pours("1>2 2>3");
        puzzle.BtnUndoClick();
        ASSERT_EQ(puzzle.RedoCount(), 1);
        clear(puzzle);
        EXPECT_EQ(puzzle.RedoCount(), 0);
        const int rows = puzzle.Log().RowCount();
        puzzle.Redo();
        EXPECT_EQ(puzzle.Log().RowCount(), rows);
    }
}

TEST_F(RedoTest, RestartGoesBackInOneStepAndEachPourCanBeRedone)
{
    LogChanges changes;
    puzzle.Log().SetObserver(&changes);
    Start({8, 5, 3}, {8, 0, 0}, 4);
    Pours("1>2 2>3 3>1 2>3 1>2 2>3");
    ASSERT_TRUE(puzzle.State().GoalReached);
    std::vector<Strings> rows;
    for (int r = 0; r < puzzle.Log().RowCount(); ++r)
        rows.push_back(Row(r));
    puzzle.Help().Hint = true;
    changes.Removes.clear();

    puzzle.Restart();
    EXPECT_EQ(puzzle.Log().RowCount(), 1);
    EXPECT_EQ(Stored(), (Levels{8, 0, 0}));
    EXPECT_EQ(changes.Removes, (std::vector<std::pair<int, int>>{{1, 6}}));
    // A new attempt: the goal can be reached again, and no help is used yet.
    EXPECT_FALSE(puzzle.State().GoalReached);
    EXPECT_FALSE(puzzle.Help().Any());
    EXPECT_EQ(puzzle.RedoCount(), 6);

    for (int r = 1; r <= 6; ++r) {
        puzzle.Redo();
        EXPECT_EQ(LastRow(), rows[static_cast<std::size_t>(r)]) << r;
    }
    EXPECT_EQ(Stored(), (Levels{1, 4, 3}));
    // One message for the game, and none from the redone pours.
    EXPECT_EQ(boxes.Boxes.size(), 1u);

    puzzle.Restart();
    puzzle.Restart(); // at the start row already: nothing
    EXPECT_EQ(puzzle.RedoCount(), 6);
}

TEST_F(RedoTest, RestartAfterUndoesRedoesThemAllInOrder)
{
    Start({12, 7, 5}, {12, 0, 0}, 6);
    Pours("1>2 2>3 3>1 2>3");
    const Strings last = LastRow();
    puzzle.BtnUndoClick();
    puzzle.Restart();
    for (int i = 0; i < 4; ++i)
        puzzle.Redo();
    EXPECT_EQ(LastRow(), last);
    EXPECT_EQ(puzzle.Log().RowCount(), 5);
}

TEST_F(RedoTest, EveryPourThatMeetsTheGoalIsToldOneMessageAnAttempt)
{
    int announced = 0;
    const Subscription announcing = puzzle.GoalAnnouncedNotice().Subscribe([&] {
        // After the message, and after the win was offered.
        EXPECT_EQ(boxes.Boxes.size(), static_cast<std::size_t>(announced + 1));
        EXPECT_EQ(goalsMet.size(), static_cast<std::size_t>(announced == 0 ? 1 : 3));
        ++announced;
    });
    Start({8, 5, 3}, {8, 0, 0}, 4);
    Pours("1>2 2>3 3>1 2>3 1>2 2>3");
    EXPECT_EQ(goalsMet, (std::vector<int>{6}));
    puzzle.BtnUndoClick();
    Pours("2>3");
    Pours("1>2"); // leaves 0 and 5: no goal
    EXPECT_EQ(announced, 1);
    puzzle.Restart();
    Pours("1>2 2>3 3>1 2>3 1>2 2>3");
    EXPECT_EQ(goalsMet, (std::vector<int>{6, 6, 6}));
    EXPECT_EQ(announced, 2);
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[1].Text, kMsgGoalReached);
    EXPECT_EQ(puzzle.GoalPours(), 6);
}

// "Начать заново" is there whenever the game is not as it started.
TEST_F(RedoTest, AsStartedUntilAPourAndAgainOnlyWhenNothingIsLeft)
{
    Start({12, 7, 5}, {12, 0, 0}, 6);
    EXPECT_TRUE(puzzle.AsStarted());
    Pours("1>2");
    EXPECT_FALSE(puzzle.AsStarted());
    puzzle.BtnUndoClick(); // something to redo
    EXPECT_FALSE(puzzle.AsStarted());
    puzzle.Restart(); // a new attempt with the pour still to redo
    EXPECT_FALSE(puzzle.AsStarted());
    EXPECT_EQ(puzzle.RedoCount(), 1);
    Pours("1>3"); // the redo is gone, one row more
    puzzle.BtnUndoClick();
    puzzle.Redo();
    puzzle.BtnUndoClick();
    Pours("1>2");
    puzzle.BtnUndoClick();
    EXPECT_FALSE(puzzle.AsStarted());
    puzzle.LoadTask(TaskPresets[0]);
    puzzle.AppendMoveRow();
    EXPECT_TRUE(puzzle.AsStarted());
    const std::size_t boxesBefore = boxes.Boxes.size();
    puzzle.Restart(); // nothing to do
    EXPECT_TRUE(puzzle.AsStarted());
    EXPECT_EQ(boxes.Boxes.size(), boxesBefore);
}

TEST_F(RedoTest, HelpBelongsToTheGame)
{
    puzzle.LoadTask(TaskPresets[0]);
    puzzle.AppendMoveRow();
    puzzle.Help() = {true, true};
    Pours("1>2");
    puzzle.BtnUndoClick();
    EXPECT_TRUE(puzzle.Help().Any());
    puzzle.LoadTask(TaskPresets[0]);
    EXPECT_FALSE(puzzle.Help().Any());
    puzzle.Help().Solution = true;
    puzzle.ResetAll();
    EXPECT_FALSE(puzzle.Help().Any());
}

} // namespace
