// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "model_fixture.h"
#include "notice.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

TEST(Notice, EveryListenerIsToldInTurnUntilItsSubscriptionGoes)
{
    Notice<int> notice;
    std::vector<std::string> told;
    Subscription a = notice.Subscribe([&](int n) { told.push_back("a" + std::to_string(n)); });
    std::optional<Subscription> b = notice.Subscribe([&](int n) { told.push_back("b" + std::to_string(n)); });
    notice.Raise(1);
    b.reset();
    notice.Raise(2);
    Subscription moved = std::move(a); // still listening, once
    notice.Raise(3);
    EXPECT_EQ(told, (std::vector<std::string>{"a1", "b1", "a2", "a3"}));
}

TEST(Notice, ListenersMayComeAndGoWhileBeingTold)
{
    Notice<> notice;
    int early = 0;
    int late = 0;
    std::optional<Subscription> first;
    Subscription joined;
    first = notice.Subscribe([&] {
        ++early;
        joined = notice.Subscribe([&] { ++late; });
        first.reset(); // leaves while it is being told
    });
    notice.Raise();
    notice.Raise();
    EXPECT_EQ(early, 1);
    EXPECT_EQ(late, 1); // told from the second raise on
}

TEST(Notice, ASubscriptionMayOutliveItsNotice)
{
    Subscription left;
    {
        Notice<> notice;
        left = notice.Subscribe([] {});
    }
    left.Cancel(); // nothing to leave: no crash, no sanitizer report
    SUCCEED();
}

// The puzzle tells the log's listeners once the levels agree with its last row.
TEST_F(PuzzleTest, TheLogNoticeComesAfterEveryChangeWithTheLevelsInStep)
{
    std::vector<std::string> seen; // rows, then the levels
    const Subscription logSeen = puzzle.LogChangedNotice().Subscribe([&] {
        const VesselState &s = puzzle.State();
        seen.push_back(std::to_string(puzzle.Log().RowCount()) + ":" + std::to_string(s.Level(1)) + ","
                       + std::to_string(s.Level(2)) + "," + std::to_string(s.Level(3)));
    });
    Start({12, 7, 5}, {12, 0, 0}, 6);
    puzzle.Pour(1, 2);
    puzzle.BtnUndoClick();
    puzzle.Redo();
    puzzle.Pour(2, 3);
    puzzle.Restart();
    puzzle.ResetAll();
    EXPECT_EQ(seen, (std::vector<std::string>{"1:12,0,0", "2:5,7,0", "1:12,0,0", "2:5,7,0", "3:5,2,5", "1:12,0,0",
                                              "0:0,0,0"}));
}

} // namespace
