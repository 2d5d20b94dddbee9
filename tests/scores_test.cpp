// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "scores.h"

#include <gtest/gtest.h>

#include <string>

namespace {

Score Win(const char *code, int pours, bool hint = false, bool solution = false, const char *date = "2026-05-01")
{
    return {code, pours, date, {hint, solution}};
}

// --- one line ---------------------------------------------------------------

TEST(ScoreLine, ReadsWhatItWritesAndWhatAPlayerMightType)
{
    const struct {
        const char *Line;
        const char *Code;
        int Pours;
        const char *Date;
        HelpUsed Help;
    } table[] = {
        {"12,7,5/12,0,0/6\t10\t2026-05-01\tбез помощи", "12,7,5/12,0,0/6", 10, "2026-05-01", {}},
        {"8,5,3/8,0,0/4\t7\t2025-12-31\tподсказка", "8,5,3/8,0,0/4", 7, "2025-12-31", {true, false}},
        {"8,5,3/8,0,0/4\t7\t2025-12-31\tрешение\r", "8,5,3/8,0,0/4", 7, "2025-12-31", {false, true}},
        // Spaces for tabs, leading zeros, words apart: as typed by hand.
        {"  012,7,5/12,0,00/6   12 2026-01-09  подсказка   и  решение ", "12,7,5/12,0,0/6", 12, "2026-01-09",
         {true, true}},
    };
    for (const auto &row : table) {
        const std::optional<Score> r = ParseScore(row.Line);
        ASSERT_TRUE(r) << row.Line;
        EXPECT_EQ(r->Code, row.Code);
        EXPECT_EQ(r->Pours, row.Pours);
        EXPECT_EQ(r->Date, row.Date);
        EXPECT_EQ(r->Help, row.Help);
        EXPECT_EQ(ParseScore(ScoreLine(*r))->Code, r->Code);
    }
    EXPECT_EQ(ScoreLine(Win("12,7,5/12,0,0/6", 10, true, true)), "12,7,5/12,0,0/6\t10\t2026-05-01\tподсказка и решение");
}

TEST(ScoreLine, SkipsWhatIsNoScore)
{
    for (const char *bad : {"", "# a comment", "garbage", "12,7,5/12,0,0\t10\t2026-05-01\tбез помощи",
                            "12,7,5/12,9,0/6\t10\t2026-05-01\tбез помощи", "12,7,5/12,0,0/6\t0\t2026-05-01\tбез помощи",
                            "12,7,5/12,0,0/6\t-3\t2026-05-01\tбез помощи",
                            "12,7,5/12,0,0/6\t12345678\t2026-05-01\tбез помощи",
                            "12,7,5/12,0,0/6\tten\t2026-05-01\tбез помощи", "12,7,5/12,0,0/6\t10\t2026-13-01\tбез помощи",
                            "12,7,5/12,0,0/6\t10\t2026-5-01\tбез помощи", "12,7,5/12,0,0/6\t10\t01.05.2026\tбез помощи",
                            "12,7,5/12,0,0/6\t10\t2026-05-01", "12,7,5/12,0,0/6\t10\t2026-05-01\tс помощью",
                            "12,7,5/12,0,0/6\t10", "\xFF\xFE\x00garbage"})
        EXPECT_FALSE(ParseScore(bad)) << bad;
}

// --- which win is better, and its stars ------------------------------------------

TEST(Records, BetterAndStars)
{
    EXPECT_TRUE(Better(Win("c", 12), Win("c", 14)));
    EXPECT_FALSE(Better(Win("c", 14), Win("c", 12)));
    EXPECT_FALSE(Better(Win("c", 12), Win("c", 12))) << "a tie keeps the older win";
    EXPECT_TRUE(Better(Win("c", 30), Win("c", 10, true))) << "without help beats fewer pours with it";
    EXPECT_FALSE(Better(Win("c", 10, false, true), Win("c", 30)));

    const struct {
        int Pours;
        bool Hint;
        bool Solution;
        int Stars;
    } table[] = {{10, false, false, 3}, {11, false, false, 2}, {12, false, false, 2}, {13, false, false, 1},
                 {99, false, false, 1}, {10, true, false, 0},  {10, false, true, 0},  {9, false, false, 3}};
    for (const auto &row : table)
        EXPECT_EQ(Stars(Win("c", row.Pours, row.Hint, row.Solution), 10), row.Stars) << row.Pours;
}

TEST(Records, BestAsASentence)
{
    EXPECT_EQ(BestText(Win("c", 10), 10), "Ваш лучший результат: 10 переливаний (2026-05-01), 3 звезды из 3.");
    EXPECT_EQ(BestText(Win("c", 21), 10), "Ваш лучший результат: 21 переливание (2026-05-01), 1 звезда из 3.");
    EXPECT_EQ(BestText(Win("c", 12, true), 10),
              "Ваш лучший результат: 12 переливаний (2026-05-01), с подсказкой — без звезд.");
    EXPECT_EQ(BestText(Win("c", 12, false, true), 10),
              "Ваш лучший результат: 12 переливаний (2026-05-01), с решением — без звезд.");
    EXPECT_EQ(BestText(Win("c", 12, true, true), 10),
              "Ваш лучший результат: 12 переливаний (2026-05-01), с подсказкой и решением — без звезд.");
}

// --- the whole file ------------------------------------------------------------

TEST(ScoreBook, GarbageIsSkippedAndKeptTheRestRead)
{
    const std::string text = "\xEF\xBB\xBF# mine\n"
                             "12,7,5/12,0,0/6\t14\t2026-05-01\tбез помощи\n"
                             "\x01\x02 binary junk\n"
                             "8,5,3/8,0,0/4\t6\t2026-05-02\tподсказка\n"
                             "12,7,5/12,0,0/6\t11\t2026-05-03\tбез помощи\n"
                             "12,7,5/12,0,0/6\t10\t2026-05-04\tрешение";
    const ScoreBook book = ScoreBook::Parse(text);
    EXPECT_EQ(book.Count(), 4);
    ASSERT_TRUE(book.Best("12,7,5/12,0,0/6"));
    EXPECT_EQ(book.Best("12,7,5/12,0,0/6")->Pours, 11);
    EXPECT_EQ(book.Best("8,5,3/8,0,0/4")->Help, (HelpUsed{true, false}));
    EXPECT_FALSE(book.Best("1,1,1/1,1,1/0"));
    // Unchanged, it writes back what it read (a final line break added).
    EXPECT_EQ(book.Text(), text.substr(3) + "\n");
}

TEST(ScoreBook, KeepsOnlyABetterWinAndOneLineATask)
{
    ScoreBook book = ScoreBook::Parse("x junk\n12,7,5/12,0,0/6\t14\t2026-05-01\tбез помощи\n"
                                        "8,5,3/8,0,0/4\t6\t2026-05-02\tбез помощи\n"
                                        "12,7,5/12,0,0/6\t13\t2026-05-03\tподсказка\n");
    EXPECT_FALSE(book.Add(Win("12,7,5/12,0,0/6", 15)));
    EXPECT_FALSE(book.Add(Win("12,7,5/12,0,0/6", 10, true)));
    EXPECT_FALSE(book.Add(Win("12,7,5/12,0,0/6", 14))) << "a tie keeps the older";
    EXPECT_TRUE(book.Add(Win("12,7,5/12,0,0/6", 12, false, false, "2026-06-01")));
    EXPECT_EQ(book.Text(), "x junk\n12,7,5/12,0,0/6\t12\t2026-06-01\tбез помощи\n8,5,3/8,0,0/4\t6\t2026-05-02\tбез помощи\n");
    EXPECT_TRUE(book.Add(Win("20,13,7/20,0,0/10", 25, true)));
    EXPECT_EQ(book.Count(), 3);
    EXPECT_EQ(book.Best("20,13,7/20,0,0/10")->Pours, 25);
}

TEST(ScoreBook, ANewFileStartsWithAHeadingLine)
{
    ScoreBook book = ScoreBook::Parse("");
    EXPECT_EQ(book.Count(), 0);
    EXPECT_TRUE(book.Add(Win("8,5,3/8,0,0/4", 7)));
    const std::string text = book.Text();
    EXPECT_EQ(text.substr(0, 2), "# ");
    EXPECT_NE(text.find("\n8,5,3/8,0,0/4\t7\t2026-05-01\tбез помощи\n"), std::string::npos);
    EXPECT_EQ(ScoreBook::Parse(text).Count(), 1);
}

} // namespace
