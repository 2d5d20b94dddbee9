// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Long random games that follow the program's modes: fields are edited only
// while the log is empty (input mode); pours and undos only after a start row;
// task loads and resets at any time. The invariants are checked after every step.
#include "model_fixture.h"

#include <random>

namespace {

class RandomGames : public PuzzleTest, public testing::WithParamInterface<unsigned> {
protected:
    std::string RandomText()
    {
        static const char *const kTexts[] = {"",   "0",   "1",  "2",    "3",  "5",   "7",     "8",    "12",
                                             "13", "999", "007", "$1F", "x3", " 4", "-0",   "1000", "-1",
                                             "abc", "4 ", "$",   "0x",  "+",  "1.5", "99999999999"};
        std::uniform_int_distribution<std::size_t> pick(0, std::size(kTexts) - 1);
        return kTexts[pick(m_rng)];
    }

    int Roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    void CheckInvariants(const std::string &step)
    {
        const VesselState &s = puzzle.State();
        for (std::size_t i = 0; i < 7; ++i) {
            EXPECT_GE(s.Values[i], 0) << step;
            EXPECT_LE(s.Values[i], 999) << step;
        }
        for (int n = 1; n <= 3; ++n) {
            EXPECT_LE(s.Level(n), s.Capacity(n)) << step;
            if (fields.Capacity(n).Text().empty()) {
                EXPECT_EQ(s.Capacity(n), 0) << step;
            }
            if (fields.Level(n).Text().empty()) {
                EXPECT_EQ(s.Level(n), 0) << step;
            }
        }
        if (fields.Target().Text().empty()) {
            EXPECT_EQ(s.Target(), 0) << step;
        }
    }

    void CheckLastRowIsStored(const std::string &step)
    {
        const std::vector<std::string> row = LastRow();
        const Levels levels = Stored();
        for (std::size_t i = 0; i < 3; ++i)
            EXPECT_EQ(row[i + 1], std::to_string(levels[i])) << step;
    }

    std::mt19937 m_rng{GetParam()};
};

TEST_P(RandomGames, KeepInvariants)
{
    for (int step = 0; step < 4000 && !HasFailure(); ++step) {
        std::string what;
        const bool playing = puzzle.Log().RowCount() > 0;
        const int action = Roll(20);
        if (action == 0) {
            what = "reset";
            puzzle.ResetAll();
        } else if (action == 1) {
            what = "task";
            puzzle.LoadTask(TaskPresets[static_cast<std::size_t>(Roll(2))]);
            puzzle.AppendMoveRow();
        } else if (!playing && action < 17) {
            const int n = 1 + Roll(3);
            const std::string text = RandomText();
            const int kind = Roll(5);
            TextCell &cell = kind < 2 ? static_cast<TextCell &>(fields.Capacity(n))
                             : kind < 4 ? static_cast<TextCell &>(fields.Level(n))
                                        : static_cast<TextCell &>(fields.Target());
            what = "edit " + cell.Name() + " '" + text + "'";
            cell.SetText(text);
        } else if (!playing) {
            what = "begin";
            puzzle.AppendMoveRow();
        } else if (action < 15) {
            const int s = 1 + Roll(3);
            const int r = 1 + (s - 1 + 1 + Roll(2)) % 3;
            what = "pour " + std::to_string(s) + ">" + std::to_string(r);
            const Levels before = Stored();
            const int rows = puzzle.Log().RowCount();
            puzzle.Pour(s, r);
            const Levels after = Stored();
            EXPECT_EQ(before[0] + before[1] + before[2], after[0] + after[1] + after[2]) << what;
            EXPECT_EQ(puzzle.Log().RowCount(), rows + (before == after ? 0 : 1)) << what;
            EXPECT_EQ(after[static_cast<std::size_t>(s - 1)] == 0 ||
                          after[static_cast<std::size_t>(r - 1)] == puzzle.State().Capacity(r),
                      true)
                << what << ": a pour moves as much as it can";
            CheckLastRowIsStored(what);
        } else {
            what = "undo";
            puzzle.BtnUndoClick();
            CheckLastRowIsStored(what);
        }
        CheckInvariants("step " + std::to_string(step) + ": " + what);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomGames, testing::Values(1u, 2u, 3u, 42u, 2026u));

} // namespace
