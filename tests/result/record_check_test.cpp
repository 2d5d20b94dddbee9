// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Grading saved games: files the game itself writes, played out through
// the puzzle and saved by the writer, and files made by hand.
#include "check_report.h"
#include "game_file_test.h"
#include "record_check.h"
#include "solver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr TaskPreset kMilk = TaskPresets[0]; // 12,7,5/12,0,0/6, 10 pours at best
constexpr TaskPreset kKvass = TaskPresets[1]; // 8,5,3/8,0,0/4, 6 pours at best

TEST_F(GameFileTest, SolvedInTheFewestPours)
{
    Start(kMilk);
    Solve();
    Save();
    const RecordCheck check = Check(kMilk);
    EXPECT_EQ(check.Result, Verdict::Solved);
    EXPECT_EQ(check.Pours, 10);
    EXPECT_EQ(check.Fewest, 10);
    EXPECT_EQ(check.Detail, "Наименьшее число переливаний.");
}

// The count is the pour that first reaches the target; pours after it are
// allowed and told, undone pours are not in the file at all.
TEST_F(GameFileTest, SolvedTheLongWayWithPoursAfterTheGoal)
{
    Start(kMilk);
    Pour({{1, 2}, {2, 1}, {1, 3}});
    puzzle.BtnUndoClick();
    Solve();
    Pour({{3, 1}, {1, 3}});
    Save();
    const RecordCheck check = Check(kMilk);
    EXPECT_EQ(check.Result, Verdict::Solved);
    EXPECT_EQ(check.Pours, 12);
    EXPECT_EQ(check.Fewest, 10);
    EXPECT_EQ(check.Detail, "На 2 переливания больше наименьшего (10). После цели еще 2 переливания.");
}

TEST_F(GameFileTest, NotSolved)
{
    Start(kMilk);
    Pour({{1, 2}, {2, 3}});
    Save();
    const RecordCheck check = Check(kMilk);
    EXPECT_EQ(check.Result, Verdict::NotSolved);
    EXPECT_EQ(check.Pours, 2);
    EXPECT_EQ(check.Fewest, 10);
    EXPECT_EQ(check.Detail, "Цель не достигнута за 2 переливания.");
}

// Each save adds the whole log again: the best save counts, solved before
// not solved, and the detail names it, and what the last save was when it
// is not the best.
TEST_F(GameFileTest, TwoSavesOfOneGameTheBestCounts)
{
    Start(kMilk);
    Pour({{1, 2}});
    Save();
    Solve();
    Save();
    RecordCheck check = Check(kMilk);
    EXPECT_EQ(check.Result, Verdict::Solved);
    EXPECT_EQ(check.Pours, 10);
    EXPECT_EQ(check.Detail, "Наименьшее число переливаний. Сохранение 2 из 2; единственное решенное.");

    for (int i = 0; i < 10; ++i)
        puzzle.BtnUndoClick();
    Save();
    check = Check(kMilk);
    EXPECT_EQ(check.Result, Verdict::Solved);
    EXPECT_EQ(check.Pours, 10);
    EXPECT_EQ(check.GradedSave, 1u);
    EXPECT_EQ(check.Saves, 3u);
    EXPECT_EQ(check.Detail, "Наименьшее число переливаний. Сохранение 2 из 3; единственное решенное. Последнее "
                            "сохранение задачи (3 из 3) не решено.");
}

// Two games in one file: each task finds its own save; a third task finds
// none and is told where the saves start.
TEST_F(GameFileTest, TwoGamesInOneFile)
{
    Start(kMilk);
    Solve();
    Save();
    Start(kKvass);
    Pour({{1, 2}, {2, 3}});
    Save();

    const RecordCheck milk = Check(kMilk);
    EXPECT_EQ(milk.Result, Verdict::Solved);
    EXPECT_EQ(milk.Pours, 10);
    EXPECT_EQ(milk.Detail, "Наименьшее число переливаний. Сохранение 1 из 2.");

    const RecordCheck kvass = Check(kKvass);
    EXPECT_EQ(kvass.Result, Verdict::NotSolved);
    EXPECT_EQ(kvass.Pours, 2);
    EXPECT_EQ(kvass.Fewest, 6);

    const RecordCheck other = Check({{9, 4, 2}, {9, 0, 0}, 1});
    EXPECT_EQ(other.Result, Verdict::OtherTask);
    EXPECT_EQ(other.Pours, std::nullopt);
    EXPECT_EQ(other.Detail, "Сохранения в файле начинаются с «12 0 0» и «8 0 0», а не с уровней задачи 9 0 0.");

    // Same levels, other capacities: the rows no longer follow by the rule.
    const RecordCheck capacities = Check({{12, 8, 5}, {12, 0, 0}, 6});
    EXPECT_EQ(capacities.Result, Verdict::WrongMove);
    EXPECT_EQ(capacities.Detail, "Ход 1 (5 7 0) не получить из хода 0 (12 0 0) одним переливанием. Сохранение 1 "
                                 "из 2.");
}

// Captions are the player's to edit: markup, quotes, numbers that lie, a
// line break. The rows count in file order and the verdict stays.
TEST_F(GameFileTest, EditedCaptionsChangeNothing)
{
    Start(kMilk);
    Solve();
    const std::string captions[] = {"<b>&amp;</b>", "\"'<>&", "]]>", "5", "", "строка\nвторая", "&#38;"};
    for (int row = 0; row < puzzle.Log().RowCount(); ++row)
        puzzle.Log().SetCaption(row, captions[static_cast<std::size_t>(row) % std::size(captions)]);
    Save();
    const ResultFile read = ReadResultFile(file);
    ASSERT_TRUE(read.Readable()) << read.Problem;
    for (int row = 0; row < puzzle.Log().RowCount(); ++row)
        EXPECT_EQ(read.Blocks[0].Records[static_cast<std::size_t>(row)].Columns[0], puzzle.Log().Cell(row, 0));
    const RecordCheck check = Check(kMilk);
    EXPECT_EQ(check.Result, Verdict::Solved);
    EXPECT_EQ(check.Pours, 10);
}

// --- files made by hand --------------------------------------------------

std::string HandMade(const std::vector<std::array<std::string, 3>> &rows, const std::string &encoding = "windows-1251")
{
    std::string text = "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>\n<ListStore><Columns/><Data>";
    for (std::size_t r = 0; r < rows.size(); ++r)
        text += "<Record Column0=\"" + std::to_string(r) + "\" Column1=\"" + rows[r][0] + "\" Column2=\"" + rows[r][1]
            + "\" Column3=\"" + rows[r][2] + "\"/>";
    return text + "</Data></ListStore>\n";
}

RecordCheck CheckText(const TaskPreset &task, const std::string &text)
{
    return RecordChecker(task).Check(ReadResultText(text));
}

struct WrongRow {
    const char *Name;
    std::vector<std::array<std::string, 3>> Rows;
    std::string Detail;
};

void PrintTo(const WrongRow &c, std::ostream *out)
{
    *out << c.Name;
}

class WrongMoveTest : public testing::TestWithParam<WrongRow> {};

TEST_P(WrongMoveTest, NamesTheRowAndWhatItHolds)
{
    const WrongRow &c = GetParam();
    const RecordCheck check = CheckText(kMilk, HandMade(c.Rows));
    EXPECT_EQ(check.Result, Verdict::WrongMove);
    EXPECT_EQ(check.Pours, std::nullopt);
    EXPECT_EQ(check.Fewest, 10);
    EXPECT_EQ(check.Detail, c.Detail);
}

const std::array<std::string, 3> kStart{"12", "0", "0"};

INSTANTIATE_TEST_SUITE_P(
    HandMade, WrongMoveTest,
    testing::Values(
        WrongRow{"two pours at once", {kStart, {"5", "7", "0"}, {"5", "0", "7"}},
                 "Ход 2 (5 0 7) не получить из хода 1 (5 7 0) одним переливанием."},
        WrongRow{"liquid from nowhere", {kStart, {"12", "7", "0"}},
                 "Ход 1 (12 7 0) не получить из хода 0 (12 0 0) одним переливанием."},
        WrongRow{"half a pour", {kStart, {"9", "3", "0"}},
                 "Ход 1 (9 3 0) не получить из хода 0 (12 0 0) одним переливанием."},
        WrongRow{"nothing poured", {kStart, {"5", "7", "0"}, {"5", "7", "0"}},
                 "Ход 2 (5 7 0) повторяет предыдущий: ничего не перелито."},
        WrongRow{"an illegal row after the goal",
                 {kStart, {"5", "7", "0"}, {"5", "2", "5"}, {"10", "2", "0"}, {"10", "0", "2"}, {"3", "7", "2"},
                  {"3", "4", "5"}, {"8", "4", "0"}, {"8", "0", "4"}, {"1", "7", "4"}, {"1", "6", "5"}, {"0", "0", "0"}},
                 "Ход 11 (0 0 0) не получить из хода 10 (1 6 5) одним переливанием."},
        WrongRow{"hex, the field's own form", {kStart, {"5", "$7", "0"}},
                 "Ход 1: в V2 «$7» — не уровень, а уровень пишется целым числом от 0 до 999."},
        WrongRow{"0x", {kStart, {"0x5", "7", "0"}},
                 "Ход 1: в V1 «0x5» — не уровень, а уровень пишется целым числом от 0 до 999."},
        WrongRow{"a blank", {kStart, {"5", "7", " 0"}},
                 "Ход 1: в V3 « 0» — не уровень, а уровень пишется целым числом от 0 до 999."},
        WrongRow{"a sign", {kStart, {"+5", "7", "0"}},
                 "Ход 1: в V1 «+5» — не уровень, а уровень пишется целым числом от 0 до 999."},
        WrongRow{"empty", {kStart, {"5", "", "0"}},
                 "Ход 1: в V2 «» — не уровень, а уровень пишется целым числом от 0 до 999."},
        WrongRow{"a tab", {kStart, {"5", "7&#9;", "0"}},
                 "Ход 1: в V2 «7\\x09» — не уровень, а уровень пишется целым числом от 0 до 999."}),
    [](const testing::TestParamInfo<WrongRow> &info) {
        std::string name;
        for (const char c : std::string(info.param.Name))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(ReadLevel, DecimalDigitsOnly)
{
    const std::pair<const char *, std::optional<int>> cases[] = {
        {"0", 0},       {"7", 7},         {"999", 999},     {"007", 7},       {"0000000000000012", 12},
        {"1000", {}},   {"99999999999", {}}, {"", {}},      {"-0", {}},       {"+1", {}},
        {" 1", {}},     {"1 ", {}},       {"$C", {}},       {"0x0C", {}},     {"x1", {}},
        {"1.0", {}},    {"١", {}},
    };
    for (const auto &[text, value] : cases)
        EXPECT_EQ(ReadLevel(text), value) << text;
}

// Leading zeros are still the number: the same verdict as plain digits.
TEST(HandMadeFile, LeadingZerosAndUtf8ReadAsTheGameWrote)
{
    const RecordCheck check = CheckText(kKvass, HandMade({{"08", "0", "0"}, {"3", "005", "0"}, {"3", "2", "3"},
                                                          {"6", "2", "0"}, {"6", "0", "2"}, {"1", "5", "2"},
                                                          {"1", "4", "3"}},
                                                         "UTF-8"));
    EXPECT_EQ(check.Result, Verdict::Solved);
    EXPECT_EQ(check.Pours, 6);
}

TEST(HandMadeFile, AnUnsolvableTaskIsNeverSolvedAndSaysWhy)
{
    const TaskPreset odd{{999, 4, 6}, {6, 0, 0}, 3};
    const RecordCheck check = CheckText(odd, HandMade({{"6", "0", "0"}, {"2", "4", "0"}}));
    EXPECT_EQ(check.Result, Verdict::NotSolved);
    EXPECT_EQ(check.Pours, 1);
    EXPECT_EQ(check.Fewest, std::nullopt);
    EXPECT_EQ(check.Detail.rfind("Цель не достигнута за 1 переливание. Задачу решить нельзя. Все уровни делятся на 2",
                                 0),
              0u)
        << check.Detail;
}

// A file of many saves, none solved: the last of the task counts, whatever
// follows it; of the others a few starts are named.
TEST(HandMadeFile, ManySaves)
{
    std::string text = "<ListStore>";
    const auto save = [&](const std::vector<std::string> &rows) {
        text += "<Columns/><Data>";
        for (const std::string &row : rows) {
            const std::size_t a = row.find(' ');
            const std::size_t b = row.find(' ', a + 1);
            text += "<Record Column0=\"\" Column1=\"" + row.substr(0, a) + "\" Column2=\"" + row.substr(a + 1, b - a - 1)
                + "\" Column3=\"" + row.substr(b + 1) + "\"/>";
        }
        text += "</Data>";
    };
    for (int i = 1; i <= 5; ++i)
        save({std::to_string(i) + " 0 0"});
    save({"12 0 0", "5 7 0"});
    save({"12 0 0", "12 0 0"});
    save({"1 0 0"});
    save({"12 0 0", "7 0 5", "7 5 0"});
    save({});
    const std::string file = text + "</ListStore>";

    const RecordCheck milk = CheckText(kMilk, file);
    EXPECT_EQ(milk.Result, Verdict::NotSolved);
    EXPECT_EQ(milk.Pours, 2);
    EXPECT_EQ(milk.Detail, "Цель не достигнута за 2 переливания. Сохранение 9 из 10.");
    const RecordCheck other = CheckText(kKvass, file);
    EXPECT_EQ(other.Result, Verdict::OtherTask);
    EXPECT_EQ(other.Detail, "Сохранения в файле начинаются с «1 0 0», «2 0 0», «3 0 0» и других, а не с уровней "
                            "задачи 8 0 0.");
}

// Saves as rows of levels, "12 0 0", one block each.
std::string FileOfSaves(const std::vector<std::vector<std::string>> &saves)
{
    std::string text = "<ListStore>";
    for (const std::vector<std::string> &rows : saves) {
        text += "<Columns/><Data>";
        for (const std::string &row : rows) {
            const std::size_t a = row.find(' ');
            const std::size_t b = row.find(' ', a + 1);
            text += "<Record Column0=\"\" Column1=\"" + row.substr(0, a) + "\" Column2=\"" + row.substr(a + 1, b - a - 1)
                + "\" Column3=\"" + row.substr(b + 1) + "\"/>";
        }
        text += "</Data>";
    }
    return text + "</ListStore>";
}

const std::vector<std::string> kSolved10 = {"12 0 0", "5 7 0", "5 2 5", "10 2 0", "10 0 2", "3 7 2",
                                            "3 4 5",  "8 4 0", "8 0 4", "1 7 4",  "1 6 5"};
const std::vector<std::string> kSolved12 = {"12 0 0", "5 7 0", "12 0 0", "5 7 0", "5 2 5", "10 2 0", "10 0 2",
                                            "3 7 2",  "3 4 5", "8 4 0",  "8 0 4", "1 7 4", "1 6 5"};
const std::vector<std::string> kOnePour = {"12 0 0", "5 7 0"};
const std::vector<std::string> kWrong = {"12 0 0", "9 3 0"};

struct BestSave {
    const char *Name;
    std::vector<std::vector<std::string>> Saves;
    Verdict Result;
    std::optional<int> Pours;
    std::size_t Graded;
    std::string Detail;
};

void PrintTo(const BestSave &c, std::ostream *out)
{
    *out << c.Name;
}

class BestSaveTest : public testing::TestWithParam<BestSave> {};

TEST_P(BestSaveTest, GradesTheBestAndSaysWhich)
{
    const BestSave &c = GetParam();
    const RecordCheck check = CheckText(kMilk, FileOfSaves(c.Saves));
    EXPECT_EQ(check.Result, c.Result);
    EXPECT_EQ(check.Pours, c.Pours);
    EXPECT_EQ(check.GradedSave, c.Graded);
    EXPECT_EQ(check.Saves, c.Saves.size());
    EXPECT_EQ(check.Task, 0u);
    EXPECT_EQ(check.Detail, c.Detail);
    EXPECT_EQ(SaveName(c.Graded, c.Saves.size()),
              "Сохранение " + std::to_string(c.Graded + 1) + " из " + std::to_string(c.Saves.size()));

    // The review grades alike, and each save on its own: the graded one as
    // the file, without the words about which save it is.
    const FileReview review = RecordChecker(kMilk).Review(ReadResultText(FileOfSaves(c.Saves)));
    EXPECT_EQ(review.Verdict.Detail, check.Detail);
    EXPECT_EQ(review.Verdict.GradedSave, c.Graded);
    ASSERT_EQ(review.Saves.size(), c.Saves.size());
    for (const RecordCheck &save : review.Saves)
        EXPECT_EQ(save.Saves, c.Saves.size());
    EXPECT_EQ(review.Saves[c.Graded].Result, c.Result);
    EXPECT_EQ(review.Saves[c.Graded].Pours, c.Pours);
    EXPECT_EQ(check.Detail.rfind(review.Saves[c.Graded].Detail + " Сохранение ", 0), 0u) << check.Detail;
}

INSTANTIATE_TEST_SUITE_P(
    HandMade, BestSaveTest,
    testing::Values(
        BestSave{"solved, then not solved", {kSolved10, kOnePour}, Verdict::Solved, 10, 0,
                 "Наименьшее число переливаний. Сохранение 1 из 2; единственное решенное. Последнее сохранение "
                 "задачи (2 из 2) не решено."},
        BestSave{"the shorter of two solved, last", {kSolved12, kSolved10}, Verdict::Solved, 10, 1,
                 "Наименьшее число переливаний. Сохранение 2 из 2; лучшее из решенных."},
        BestSave{"the shorter of two solved, first", {kSolved10, kSolved12}, Verdict::Solved, 10, 0,
                 "Наименьшее число переливаний. Сохранение 1 из 2; лучшее из решенных. Последнее сохранение "
                 "задачи (2 из 2) решено за 12 переливаний."},
        BestSave{"two as good: the later", {kSolved10, kSolved10}, Verdict::Solved, 10, 1,
                 "Наименьшее число переливаний. Сохранение 2 из 2; лучшее из решенных."},
        BestSave{"not solved beats a wrong move", {kOnePour, kWrong}, Verdict::NotSolved, 1, 0,
                 "Цель не достигнута за 1 переливание. Сохранение 1 из 2. Последнее сохранение задачи (2 из 2) с "
                 "неверным ходом."},
        BestSave{"a wrong move, then not solved", {kWrong, kOnePour}, Verdict::NotSolved, 1, 1,
                 "Цель не достигнута за 1 переливание. Сохранение 2 из 2."},
        BestSave{"only wrong moves: the last", {kWrong, kWrong}, Verdict::WrongMove, std::nullopt, 1,
                 "Ход 1 (9 3 0) не получить из хода 0 (12 0 0) одним переливанием. Сохранение 2 из 2."},
        BestSave{"another task's saves count in the numbering", {kSolved10, {"8 0 0", "3 5 0"}, {"12 0 0"}},
                 Verdict::Solved, 10, 0,
                 "Наименьшее число переливаний. Сохранение 1 из 3; единственное решенное. Последнее сохранение "
                 "задачи (3 из 3) не решено."}),
    [](const testing::TestParamInfo<BestSave> &info) {
        std::string name;
        for (const char c : std::string(info.param.Name))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

// A class with variants: each file against the task its saves start at;
// where several start alike, the best verdict.
TEST(Variants, EachFileAgainstItsOwnTask)
{
    const TaskPreset milk5{{12, 7, 5}, {12, 0, 0}, 5};
    const TaskPreset wider{{12, 8, 5}, {12, 0, 0}, 6};
    const std::string kvassSolved = FileOfSaves({{"8 0 0", "3 5 0", "3 2 3", "6 2 0", "6 0 2", "1 5 2", "1 4 3"}});
    const struct {
        const char *Name;
        std::vector<TaskPreset> Tasks;
        std::string File;
        Verdict Result;
        std::optional<std::size_t> Task;
        std::optional<int> Pours;
        std::optional<int> Fewest;
    } cases[] = {
        {"its own start", {kMilk, kKvass}, kvassSolved, Verdict::Solved, 1, 6, 6},
        {"alike starts: the fewer pours over the fewest", {kMilk, milk5}, FileOfSaves({kSolved10}), Verdict::Solved,
         1, 1, 1},
        {"alike starts: solved beats a wrong move", {wider, kMilk}, FileOfSaves({kSolved10}), Verdict::Solved, 1, 10,
         10},
        {"no start of any", {kMilk, kKvass}, FileOfSaves({{"9 0 0"}}), Verdict::OtherTask, std::nullopt, std::nullopt,
         std::nullopt},
        {"not readable", {kMilk, kKvass}, "12 0 0", Verdict::Unreadable, std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto &c : cases) {
        const RecordCheck check = RecordChecker(c.Tasks).Check(ReadResultText(c.File));
        EXPECT_EQ(check.Result, c.Result) << c.Name;
        EXPECT_EQ(check.Task, c.Task) << c.Name;
        EXPECT_EQ(check.Pours, c.Pours) << c.Name;
        EXPECT_EQ(check.Fewest, c.Fewest) << c.Name;
        const FileReview review = RecordChecker(c.Tasks).Review(ReadResultText(c.File));
        EXPECT_EQ(review.Verdict.Result, c.Result) << c.Name;
        EXPECT_EQ(review.Verdict.Detail, check.Detail) << c.Name;
        EXPECT_EQ(review.Saves.size(), c.Result == Verdict::Unreadable ? 0u : 1u) << c.Name;
        if (!review.Saves.empty()) {
            EXPECT_EQ(review.Saves[0].Result, c.Result) << c.Name;
        }
    }
    const RecordCheck other = RecordChecker({kMilk, kKvass, kMilk}).Check(ReadResultText(FileOfSaves({{"9 0 0"}})));
    EXPECT_EQ(other.Detail, "Сохранения в файле начинаются с «9 0 0», а не с уровней задач 12 0 0 или 8 0 0.");
}

TEST(HandMadeFile, UnreadableFilesSayWhy)
{
    const RecordCheck notXml = CheckText(kMilk, "12 0 0\n5 7 0\n");
    EXPECT_EQ(notXml.Result, Verdict::Unreadable);
    EXPECT_EQ(notXml.Pours, std::nullopt);
    EXPECT_EQ(notXml.Fewest, 10);
    EXPECT_EQ(notXml.Detail, "Это не XML: в файле не найден ни один элемент (строка 1).");
    EXPECT_EQ(RecordChecker(kMilk).CheckFile("/nonexistent/sosudnik.xml").Detail, "Файла нет.");
    const RecordCheck empty = CheckText(kMilk, HandMade({}));
    EXPECT_EQ(empty.Result, Verdict::OtherTask);
    EXPECT_EQ(empty.Detail, "В файле только пустые сохранения, без единой строки.");
}

// An entity bomb and an external entity that names a local file: refused,
// and the file's content in none of the output, in either format.
TEST(HandMadeFile, HostileFilesLeakNothing)
{
    const fs::path secret = fs::temp_directory_path() / "sosudnik-check-secret.txt";
    std::ofstream(secret) << "TOP-SECRET-4417";
    const std::string attacks[] = {
        "<!DOCTYPE ListStore [<!ENTITY s SYSTEM \"file://" + secret.string()
            + "\">]><ListStore><Columns/><Data><Record Column0=\"&s;\" Column1=\"12\" Column2=\"0\" "
              "Column3=\"0\"/></Data></ListStore>",
        "<!DOCTYPE ListStore [<!ENTITY s SYSTEM \"" + secret.string()
            + "\">]><ListStore><Columns/><Data>&s;</Data></ListStore>",
        "<!DOCTYPE l [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]>"
        "<ListStore><Columns/><Data><Record Column0=\"&d;\" Column1=\"12\" Column2=\"0\" Column3=\"0\"/></Data>"
        "</ListStore>",
    };
    for (const std::string &attack : attacks) {
        const RecordCheck check = CheckText(kMilk, attack);
        EXPECT_EQ(check.Result, Verdict::Unreadable);
        EXPECT_EQ(check.Detail, "В файле есть объявление DOCTYPE, а в файлах результата его не бывает.");
        const std::string out = CheckLine("attack.xml", check) + CsvLine("attack.xml", check);
        EXPECT_EQ(out.find("TOP-SECRET"), std::string::npos);
        EXPECT_EQ(out.find("aaaaaaaaaa"), std::string::npos);
    }
    fs::remove(secret);
}

// --- the lines -----------------------------------------------------------

TEST(CheckReport, TabFieldsKeepToTheirFieldAndLine)
{
    const std::pair<std::string, std::string> cases[] = {
        {"ученик 1.xml", "ученик 1.xml"},
        {"a\tb.xml", "a\\tb.xml"},
        {"a\nb.xml", "a\\nb.xml"},
        {"a\\tb.xml", "a\\\\tb.xml"},
        {"a\rb", "a\\x0Db"},
        {"\x1b]0;owned\x07", "\\x1B]0;owned\\x07"},
        {"\xCF\xF0\xE8.xml", "\\xCF\\xF0\\xE8.xml"}, // a windows-1251 name: not UTF-8
        {"", ""},
    };
    for (const auto &[text, field] : cases)
        EXPECT_EQ(TabField(text), field) << text;
}

TEST(CheckReport, ALineAVerdictEmptyWhereNothingApplies)
{
    RecordCheck check{Verdict::Solved, 12, 10, "На 2 переливания больше наименьшего (10)."};
    EXPECT_EQ(CheckLine("a\tb.xml", check), "a\\tb.xml\tрешено\t12\t10\tНа 2 переливания больше наименьшего (10).\n");
    check = {Verdict::Unreadable, std::nullopt, std::nullopt, "Файла нет."};
    EXPECT_EQ(CheckLine("x.xml", check), "x.xml\tне читается\t\t\tФайла нет.\n");
    const Verdict all[] = {Verdict::Solved, Verdict::NotSolved, Verdict::WrongMove, Verdict::OtherTask,
                           Verdict::Unreadable};
    const char *words[] = {"решено", "не решено", "неверный ход", "другая задача", "не читается"};
    for (std::size_t i = 0; i < std::size(all); ++i)
        EXPECT_STREQ(VerdictWord(all[i]), words[i]);
}

// RFC 4180, read back field by field: a quoted field may hold commas,
// doubled quotes and line breaks.
std::vector<std::vector<std::string>> ParseCsv(const std::string &text)
{
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                rows.back().back() += '"', ++i;
            else if (c == '"')
                quoted = false;
            else
                rows.back().back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            rows.emplace_back(1);
            ++i;
        } else {
            rows.back().back() += c;
        }
    }
    rows.pop_back(); // after the last CR LF
    return rows;
}

TEST(CheckReport, CsvForASpreadsheet)
{
    EXPECT_EQ(CsvHeader(), "файл,итог,ходы,наименьшее,подробности\r\n");
    const std::string names[] = {"plain.xml", "a,b.xml", "say \"hi\".xml", "two\nlines.xml", "cr\r.xml",
                                 "tab\there.xml"};
    const RecordCheck check{Verdict::NotSolved, 3, std::nullopt, "Цель не достигнута, увы: «x»."};
    std::string text = CsvHeader();
    for (const std::string &name : names)
        text += CsvLine(name, check);
    EXPECT_EQ(text.substr(0, 3), "\xD1\x84\xD0") << "no BOM";
    const auto rows = ParseCsv(text);
    ASSERT_EQ(rows.size(), std::size(names) + 1);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"файл", "итог", "ходы", "наименьшее", "подробности"}));
    for (std::size_t i = 0; i < std::size(names); ++i)
        EXPECT_EQ(rows[i + 1], (std::vector<std::string>{names[i], "не решено", "3", "", check.Detail})) << names[i];
    EXPECT_EQ(CsvLine("plain.xml", check).rfind("plain.xml,не решено,3,,\"Цель", 0), 0u);
    EXPECT_EQ(CsvField("\x1b[2J\xFF"), "\\x1B[2J\\xFF");
}

// A name that a spreadsheet would take for a formula stays text; names
// that hide or reorder characters show them.
TEST(CheckReport, NoFormulaAndNoHiddenCharacters)
{
    const std::pair<std::string, std::string> csv[] = {
        {"=HYPERLINK(\"http://x\").xml", "\"'=HYPERLINK(\"\"http://x\"\").xml\""},
        {"@SUM(1).xml", "'@SUM(1).xml"},
        {"+7.xml", "'+7.xml"},
        {"-x.xml", "'-x.xml"},
        {"\tx.xml", "'\tx.xml"},
        {"\rx.xml", "\"'\rx.xml\""},
        {"a=b.xml", "a=b.xml"},
        {"bidi\u202Egpj.xml", "bidi\\u202Egpj.xml"},
        {"", ""},
    };
    for (const auto &[text, field] : csv)
        EXPECT_EQ(CsvField(text), field) << text;
    EXPECT_EQ(TabField("bidi\u202Egpj\u2066.xml"), "bidi\\u202Egpj\\u2066.xml");
}

// With variants the line names the task each file was graded against.
TEST(CheckReport, ACodeColumnWithVariants)
{
    const RecordCheck solved{Verdict::Solved, 6, 6, "Наименьшее число переливаний."};
    EXPECT_EQ(CheckLine("a.xml", solved, std::string_view("8,5,3/8,0,0/4")),
              "a.xml\t8,5,3/8,0,0/4\tрешено\t6\t6\tНаименьшее число переливаний.\n");
    const RecordCheck other{Verdict::OtherTask, std::nullopt, std::nullopt, "Сохранения ..."};
    EXPECT_EQ(CheckLine("b.xml", other, std::string_view()), "b.xml\t\tдругая задача\t\t\tСохранения ...\n");
    EXPECT_EQ(CsvHeader(true), "файл,задача,итог,ходы,наименьшее,подробности\r\n");
    EXPECT_EQ(CsvLine("a.xml", solved, std::string_view("8,5,3/8,0,0/4")),
              "a.xml,\"8,5,3/8,0,0/4\",решено,6,6,Наименьшее число переливаний.\r\n");
}

} // namespace
