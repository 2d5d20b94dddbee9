// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// What a win says, the stars, each level's share of the book and the next
// task to play.
#include "progress.h"
#include "task_book.h"
#include "task_code.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

Score Win(const std::string &code, int pours, HelpUsed help = {})
{
    return {code, pours, "2026-05-01", help};
}

std::string BookCode(int index)
{
    return TaskCode(TaskBook()[static_cast<std::size_t>(index)].Task);
}

// The player's best wins, by code, as a BestOf.
BestOf Bests(const std::map<std::string, Score> &wins)
{
    return [wins](const std::string &code) -> std::optional<Score> {
        const auto it = wins.find(code);
        return it == wins.end() ? std::nullopt : std::optional<Score>(it->second);
    };
}

TEST(WinWords, CountsFewestAndTheLessonsOwnLine)
{
    const struct {
        int Pours, Fewest;
        const char *Line, *Lesson;
    } table[] = {
        {9, 8, "Решено за 9 переливаний. Наименьшее число — 8.", "Задача решена за 9 переливаний."},
        {1, 1, "Решено за 1 переливание. Наименьшее число — 1.", "Задача решена за 1 переливание."},
        {22, 16, "Решено за 22 переливания. Наименьшее число — 16.", "Задача решена за 22 переливания."},
    };
    for (const auto &row : table) {
        EXPECT_EQ(WinLine(row.Pours, row.Fewest), row.Line);
        EXPECT_EQ(LessonWinLine(row.Pours), row.Lesson);
        // The lesson's line tells no fewest count.
        EXPECT_EQ(LessonWinLine(row.Pours).find("Наименьшее"), std::string::npos);
    }
}

TEST(WinWords, StarsOfTheAttemptInGlyphsAndWords)
{
    const struct {
        int Pours, Fewest;
        HelpUsed Help;
        const char *Stars, *Words;
    } table[] = {
        {8, 8, {}, "★★★ — 3 звезды из 3", "3 звезды из 3"},
        {9, 8, {}, "★★☆ — 2 звезды из 3", "2 звезды из 3"},
        {10, 8, {}, "★★☆ — 2 звезды из 3", "2 звезды из 3"},
        {11, 8, {}, "★☆☆ — 1 звезда из 3", "1 звезда из 3"},
        {8, 8, {true, false}, "Без звезд: вы открывали подсказку.", "Без звезд: вы открывали подсказку."},
        {8, 8, {false, true}, "Без звезд: вы открывали решение.", "Без звезд: вы открывали решение."},
        {8, 8, {true, true}, "Без звезд: вы открывали подсказку и решение.",
         "Без звезд: вы открывали подсказку и решение."},
    };
    for (const auto &row : table) {
        WinReport report{Win("12,7,5/12,0,0/6", row.Pours, row.Help), row.Fewest, std::nullopt};
        EXPECT_EQ(AttemptStars(report), row.Stars) << row.Pours;
        EXPECT_EQ(AttemptStarWords(report), row.Words) << row.Pours;
    }
    EXPECT_EQ(StarGlyphs(0), "☆☆☆");
    EXPECT_EQ(StarWords(0), "0 звезд");
}

TEST(WinWords, ANewBestSaysSoElseTheBestSoFar)
{
    const std::string code = "12,7,5/12,0,0/6";
    const struct {
        const char *Name;
        std::optional<Score> Before;
        Score Now;
        bool NewBest;
        const char *Text;
    } table[] = {
        {"first win", std::nullopt, Win(code, 9), true, "Новый рекорд!"},
        {"better", Win(code, 9), Win(code, 8), true, "Новый рекорд! Прежний лучший результат — 9 переливаний."},
        {"without help now", Win(code, 7, {true, false}), Win(code, 9), true,
         "Новый рекорд! Прежний лучший результат — 7 переливаний, с помощью."},
        {"the same", Win(code, 9), Win(code, 9), false,
         "Ваш лучший результат: 9 переливаний (2026-05-01), 2 звезды из 3."},
        {"worse", Win(code, 7), Win(code, 12), false,
         "Ваш лучший результат: 7 переливаний (2026-05-01), 3 звезды из 3."},
    };
    for (const auto &row : table) {
        const WinReport report{row.Now, 7, row.Before};
        EXPECT_EQ(report.NewBest(), row.NewBest) << row.Name;
        EXPECT_EQ(BestSoFar(report), row.Text) << row.Name;
    }
}

TEST(BookProgress, CountsEachLevelsWinsAndStars)
{
    // Every level has tasks; their sum is the book.
    int tasks = 0;
    const BestOf none = Bests({});
    for (int level = 1; level <= kLevelCount; ++level) {
        const LevelProgress p = ProgressOf(level, none);
        EXPECT_GT(p.Tasks, 0) << level;
        EXPECT_EQ(p.Solved, 0);
        EXPECT_EQ(p.Stars, 0);
        EXPECT_EQ(p.MostStars, 3 * p.Tasks);
        tasks += p.Tasks;
    }
    EXPECT_EQ(tasks, static_cast<int>(TaskBook().size()));

    // Three wins of the first level: at the fewest, two over, with help.
    const BookTask &a = TaskBook()[0];
    const BookTask &b = TaskBook()[1];
    const BookTask &c = TaskBook()[2];
    ASSERT_EQ(LevelOf(c.Fewest), 1);
    const BestOf some = Bests({{BookCode(0), Win(BookCode(0), a.Fewest)},
                               {BookCode(1), Win(BookCode(1), b.Fewest + 2)},
                               {BookCode(2), Win(BookCode(2), c.Fewest, {true, false})},
                               {"8,7,6/0,0,6/5", Win("8,7,6/0,0,6/5", 3)}});
    const LevelProgress first = ProgressOf(1, some);
    EXPECT_EQ(first.Solved, 3);
    EXPECT_EQ(first.Stars, 5);
    EXPECT_EQ(ProgressOf(2, some).Solved, 0);
    const std::string tail = " из " + std::to_string(first.Tasks);
    EXPECT_EQ(ProgressText(first, false),
              "решено 3" + tail + ", ★ 5 из " + std::to_string(first.MostStars));
    EXPECT_EQ(ProgressText(first, true), "решено 3" + tail);
    EXPECT_EQ(ProgressText({4, 11, 9, 33}, false), "решено 4 из 11, ★ 9 из 33");
}

TEST(BookProgress, NextUnsolvedGoesOnFromATaskAndRoundTheBook)
{
    const int size = static_cast<int>(TaskBook().size());
    std::map<std::string, Score> wins;
    for (const int i : {0, 1, 2, 5, size - 1})
        wins[BookCode(i)] = Win(BookCode(i), 30);
    const BestOf best = Bests(wins);
    const struct {
        int After, Next;
    } table[] = {
        {-1, 3}, // from the start
        {0, 3},  {2, 3}, {3, 4}, {4, 6}, // past the won ones
        {size - 2, 3}, // round the end, past the last and the first three
        {size - 1, 3},
    };
    for (const auto &row : table)
        EXPECT_EQ(NextUnsolved(row.After, best), row.Next) << row.After;

    for (int i = 0; i < size; ++i)
        wins[BookCode(i)] = Win(BookCode(i), 30);
    EXPECT_EQ(NextUnsolved(4, Bests(wins)), -1);
    EXPECT_EQ(NextUnsolved(-1, Bests({})), 0);
}

TEST(BookProgress, EveryBookTaskIsFoundByItsCodeAndNothingElse)
{
    std::set<std::string> codes;
    for (int i = 0; i < static_cast<int>(TaskBook().size()); ++i) {
        EXPECT_EQ(BookIndexOf(BookCode(i)), i);
        codes.insert(BookCode(i));
    }
    EXPECT_EQ(codes.size(), TaskBook().size());
    EXPECT_EQ(BookIndexOf("999,998,997/999,0,0/500"), -1);
    EXPECT_EQ(BookIndexOf(""), -1);
}

TEST(ScoreBookAll, TheBestOfEveryTaskInTheOrderFirstNamed)
{
    const ScoreBook book = ScoreBook::Parse("# a comment\n"
                                            "8,5,3/8,0,0/4\t9\t2026-01-02\tбез помощи\n"
                                            "12,7,5/12,0,0/6\t7\t2026-01-03\tподсказка\n"
                                            "garbage\n"
                                            "8,5,3/8,0,0/4\t7\t2026-01-04\tбез помощи\n"
                                            "12,7,5/12,0,0/6\t12\t2026-01-05\tбез помощи\n");
    const std::vector<Score> all = book.All();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].Code, "8,5,3/8,0,0/4");
    EXPECT_EQ(all[0].Pours, 7);
    EXPECT_EQ(all[1].Code, "12,7,5/12,0,0/6");
    EXPECT_EQ(all[1].Pours, 12); // without help beats fewer pours with it
    EXPECT_TRUE(ScoreBook::Parse("").All().empty());
}

} // namespace
