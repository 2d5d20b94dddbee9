// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// A pupil's file replayed: the saves as the checker numbers and judges them,
// the one it grades, and every row's state and step as the checker reads it.
#include "game_file_test.h"
#include "replay.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr TaskPreset kMilk = TaskPresets[0];
constexpr TaskPreset kKvass = TaskPresets[1];

using Row = std::array<int, 3>;

// A save as text: "12 0 0" rows in one <Data>.
std::string Save(const std::vector<std::string> &rows)
{
    std::string text = "<Columns/><Data>";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::array<std::string, 3> v;
        std::size_t from = 0;
        for (std::size_t n = 0; n < 3; ++n) {
            const std::size_t space = std::min(rows[r].find(' ', from), rows[r].size());
            v[n] = rows[r].substr(from, space - from);
            from = space + 1;
        }
        text += "<Record Column0=\"" + std::to_string(r) + "\" Column1=\"" + v[0] + "\" Column2=\"" + v[1]
            + "\" Column3=\"" + v[2] + "\"/>";
    }
    return text + "</Data>";
}

std::string File(const std::vector<std::string> &saves)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ListStore>";
    for (const std::string &save : saves)
        text += save;
    return text + "</ListStore>\n";
}

Replay Of(const TaskPreset &task, const std::string &text)
{
    return ReplayOf(ReadResultText(text), task);
}

// The rows of the game's log, as numbers.
std::vector<Row> LoggedRows(const Puzzle &puzzle)
{
    std::vector<Row> rows;
    for (int r = 0; r < puzzle.Log().RowCount(); ++r)
        rows.push_back({std::stoi(puzzle.Log().Cell(r, 1)), std::stoi(puzzle.Log().Cell(r, 2)),
            std::stoi(puzzle.Log().Cell(r, 3))});
    return rows;
}

using GameReplayTest = GameFileTest;

// A kvass game, then the milk task solved the long way with pours after
// the goal, then a milk game left unsolved: saved as the game saves.
TEST_F(GameReplayTest, EachRowAsPlayedEachSaveAsJudged)
{
    Start(kKvass);
    Pour({{1, 2}});
    Save();
    const std::vector<std::pair<int, int>> solved
        = {{1, 2}, {2, 3}, {3, 1}, {2, 3}, {1, 2}, {2, 3}, {3, 1}, {2, 3}, {1, 2}, {2, 3}, {3, 1}, {1, 3}};
    Start(kMilk);
    Pour(solved);
    const std::vector<Row> solvedRows = LoggedRows(puzzle);
    Save();
    Start(kMilk);
    Pour({{1, 3}});
    Save();

    const Replay replay = ReplayFile(file, kMilk);
    ASSERT_EQ(replay.Problem, "");
    ASSERT_EQ(replay.Saves.size(), 3u);
    EXPECT_EQ(replay.Saves[0].Name, "Сохранение 1 из 3");
    EXPECT_EQ(replay.Saves[2].Name, "Сохранение 3 из 3");

    // The file's verdict is the checker's, and so is the save it grades.
    const RecordCheck checked = RecordChecker(kMilk).CheckFile(file);
    EXPECT_EQ(replay.Verdict.Result, checked.Result);
    EXPECT_EQ(replay.Verdict.Detail, checked.Detail);
    // The best save, not the last.
    EXPECT_EQ(replay.Graded, std::optional<std::size_t>(1));
    EXPECT_EQ(replay.Verdict.Detail, "Наименьшее число переливаний. После цели еще 2 переливания. Сохранение 2 из 3; "
                                     "единственное решенное. Последнее сохранение задачи (3 из 3) не решено.");

    const ReplaySave &kvass = replay.Saves[0];
    EXPECT_FALSE(kvass.OfTask);
    EXPECT_EQ(kvass.Check.Result, Verdict::OtherTask);
    EXPECT_EQ(kvass.Check.Detail, "Сохранение начинается с «8 0 0», а не с уровней задачи 12 0 0.");
    EXPECT_FALSE(kvass.Rows[1].Checked);

    const ReplaySave &milk = replay.Saves[1];
    EXPECT_TRUE(milk.OfTask);
    EXPECT_EQ(milk.Check.Result, Verdict::Solved);
    EXPECT_EQ(milk.Check.Pours, 10);
    EXPECT_EQ(milk.Check.Detail, "Наименьшее число переливаний. После цели еще 2 переливания.");
    EXPECT_EQ(milk.FirstGoal, std::optional<std::size_t>(10));
    ASSERT_EQ(milk.Rows.size(), solvedRows.size());
    for (std::size_t r = 0; r < milk.Rows.size(); ++r) {
        const ReplayRow &row = milk.Rows[r];
        EXPECT_EQ(row.Caption, std::to_string(r));
        EXPECT_EQ(ShownLevels(row), solvedRows[r]) << "row " << r;
        EXPECT_EQ(row.Step.Wrong, "");
        if (r == 0) {
            EXPECT_FALSE(row.Checked);
            continue;
        }
        EXPECT_TRUE(row.Checked);
        ASSERT_TRUE(row.Step.Pour);
        EXPECT_EQ(row.Step.Pour->Source, solved[r - 1].first) << "row " << r;
        EXPECT_EQ(row.Step.Pour->Receiver, solved[r - 1].second) << "row " << r;
    }
    EXPECT_TRUE(milk.Rows[10].Step.Goal);
    EXPECT_FALSE(milk.Rows[9].Step.Goal);
}

// Rows that break the rule are named as the checker names them, each
// against the row before it in the file; a row after one that does not
// read as levels is not judged.
TEST(Replay, WrongRowsNamedAsTheCheckerNamesThem)
{
    const Replay replay = Of(kMilk, File({Save({"12 0 0", "5 7 0", "5 7 0", "9 3 0", "9 x 0", "4 7 1", "4 3 5"})}));
    ASSERT_EQ(replay.Saves.size(), 1u);
    const ReplaySave &save = replay.Saves[0];
    EXPECT_EQ(save.Name, "Сохранение 1 из 1");
    const std::vector<std::string> wrong = {
        "",
        "",
        "Ход 2 (5 7 0) повторяет предыдущий: ничего не перелито.",
        "Ход 3 (9 3 0) не получить из хода 2 (5 7 0) одним переливанием.",
        "Ход 4: в V2 «x» — не уровень, а уровень пишется целым числом от 0 до 999.",
        "",
        "",
    };
    ASSERT_EQ(save.Rows.size(), wrong.size());
    for (std::size_t r = 0; r < wrong.size(); ++r)
        EXPECT_EQ(save.Rows[r].Step.Wrong, wrong[r]) << "row " << r;
    EXPECT_FALSE(save.Rows[5].Checked) << "after a row that is no levels";
    EXPECT_TRUE(save.Rows[6].Checked);
    ASSERT_TRUE(save.Rows[6].Step.Pour);
    EXPECT_EQ(save.Rows[6].Step.Pour->Source, 2);
    EXPECT_EQ(save.Rows[6].Step.Pour->Receiver, 3);
    EXPECT_EQ(ShownLevels(save.Rows[4]), (Row{9, 0, 0}));
    // The save's verdict names the first of them, as the file's does.
    EXPECT_EQ(save.Check.Result, Verdict::WrongMove);
    EXPECT_EQ(save.Check.Detail, wrong[2]);
    EXPECT_EQ(replay.Verdict.Detail, wrong[2]);
    EXPECT_EQ(replay.Graded, std::optional<std::size_t>(0));
}

TEST(Replay, AnotherTaskIsShownButNotJudged)
{
    const Replay replay = Of(kKvass, File({Save({"12 0 0", "5 7 0"}), Save({}), Save({"12 0 0", "12 0 0"})}));
    EXPECT_EQ(replay.Verdict.Result, Verdict::OtherTask);
    EXPECT_EQ(replay.Graded, std::nullopt);
    ASSERT_EQ(replay.Saves.size(), 3u);
    for (const ReplaySave &save : replay.Saves) {
        EXPECT_FALSE(save.OfTask);
        EXPECT_EQ(save.Check.Result, Verdict::OtherTask);
        for (const ReplayRow &row : save.Rows)
            EXPECT_TRUE(!row.Checked && row.Step.Wrong.empty());
    }
    EXPECT_EQ(replay.Saves[1].Check.Detail, "В сохранении нет ни одной строки.");
    EXPECT_EQ(ShownLevels(replay.Saves[2].Rows[1]), (Row{12, 0, 0}));
}

// What the reader refuses is no replay at all, only its reason.
TEST(Replay, HostileFilesGiveTheirReason)
{
    const fs::path big = fs::temp_directory_path() / "sosudnik-replay-big.xml";
    {
        std::ofstream out(big);
        out << File({Save({"12 0 0"})});
    }
    fs::resize_file(big, 20u << 20);
    const std::pair<Replay, std::string> cases[] = {
        {Of(kMilk, "<!DOCTYPE ListStore><ListStore/>"),
            "В файле есть объявление DOCTYPE, а в файлах результата его не бывает."},
        {Of(kMilk, "12 0 0\n5 7 0\n"), "Это не XML: в файле не найден ни один элемент (строка 1)."},
        {ReplayFile(big.string(), kMilk), ""},
    };
    for (const auto &[replay, reason] : cases) {
        EXPECT_FALSE(replay.Problem.empty());
        if (!reason.empty()) {
            EXPECT_EQ(replay.Problem, reason);
        }
        EXPECT_TRUE(replay.Saves.empty());
        EXPECT_EQ(replay.Verdict.Result, Verdict::Unreadable);
        EXPECT_EQ(replay.Verdict.Detail, replay.Problem);
    }
    fs::remove(big);
}

} // namespace
