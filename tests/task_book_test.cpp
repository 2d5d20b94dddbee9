// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "solver.h"
#include "task_book.h"
#include "task_code.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace {

bool HasYo(const std::string &text)
{
    return text.find("ё") != std::string::npos || text.find("Ё") != std::string::npos;
}

// --- the bands ----------------------------------------------------------------

TEST(Bands, StartAtTwoAndEachFollowsTheOneBefore)
{
    EXPECT_EQ(Band(1).Fewest, 2);
    for (int level = 2; level <= kLevelCount; ++level) {
        EXPECT_EQ(Band(level).Fewest, Band(level - 1).Most + 1) << level;
        EXPECT_GE(Band(level).Fewest, Band(level - 1).Fewest) << level;
    }
    // The last has no end, so every count from two up has a level.
    EXPECT_EQ(Band(kLevelCount).Most, 0);
}

TEST(Bands, LevelOfACount)
{
    const std::pair<int, int> table[] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {6, 2}, {7, 3},
                                         {10, 3}, {11, 4}, {15, 4}, {16, 5}, {997, 5}};
    for (const auto &[fewest, level] : table)
        EXPECT_EQ(LevelOf(fewest), level) << fewest;
}

// Spelled out on purpose: the game's own words, shown in the menu and
// written in the README and the man pages; nothing else pins them.
TEST(Bands, NamesAndCountsAsTheMenuShowsThem)
{
    const char *names[] = {"Разминка", "Легкие", "Средние", "Трудные", "Мастер"};
    const char *counts[] = {"2–3 переливания", "4–6 переливаний", "7–10 переливаний", "11–15 переливаний",
                            "16 и больше переливаний"};
    for (int level = 1; level <= kLevelCount; ++level) {
        EXPECT_STREQ(Band(level).Name, names[level - 1]);
        EXPECT_EQ(BandText(level), counts[level - 1]);
    }
}

// --- each task against the solver ----------------------------------------------

class BookTasks : public testing::TestWithParam<int> { };

TEST_P(BookTasks, SolverAgreesAndTheTaskIsFair)
{
    const BookTask &book = TaskBook()[static_cast<std::size_t>(GetParam())];
    const TaskPreset &t = book.Task;
    SCOPED_TRACE(TaskCode(t) + " " + book.Title);
    const Solution solution = Solve(t);
    ASSERT_TRUE(solution.Solved());
    EXPECT_EQ(solution.Pours(), book.Fewest);
    EXPECT_GE(LevelOf(book.Fewest), 1);
    for (std::size_t n = 0; n < 3; ++n) {
        EXPECT_GE(t.Capacity[n], 1);
        EXPECT_LE(t.Capacity[n], kMaxBookCapacity);
        EXPECT_GE(t.Level[n], 0);
        EXPECT_LE(t.Level[n], t.Capacity[n]);
        EXPECT_NE(t.Level[n], t.Target) << "the target stands in a vessel at the start";
    }
    // A code the player can type in again.
    const TaskPreset again = ParseTaskCode(TaskCode(t));
    EXPECT_EQ(again.Capacity, t.Capacity);
    EXPECT_EQ(again.Level, t.Level);
    EXPECT_EQ(again.Target, t.Target);

    const std::string statement = StatementOf(book);
    EXPECT_FALSE(statement.empty());
    EXPECT_FALSE(std::string(book.Title).empty());
    EXPECT_FALSE(HasYo(statement)) << statement;
    EXPECT_FALSE(HasYo(book.Title)) << book.Title;
}

INSTANTIATE_TEST_SUITE_P(Book, BookTasks, testing::Range(0, static_cast<int>(TaskBook().size())),
                         [](const testing::TestParamInfo<int> &info) {
                             return "Task" + std::to_string(info.param + 1);
                         });

// --- the book as a whole -----------------------------------------------------

TEST(Book, FortyOrMoreTasksOrderedByFewestPoursWithDistinctCodes)
{
    const auto book = TaskBook();
    EXPECT_GE(book.size(), 40u);
    std::set<std::string> codes;
    std::set<std::string> titles;
    int levels[kLevelCount + 1] = {};
    for (std::size_t i = 0; i < book.size(); ++i) {
        if (i > 0) {
            EXPECT_LE(book[i - 1].Fewest, book[i].Fewest) << i;
        }
        EXPECT_TRUE(codes.insert(TaskCode(book[i].Task)).second) << TaskCode(book[i].Task);
        EXPECT_TRUE(titles.insert(book[i].Title).second) << book[i].Title;
        ++levels[LevelOf(book[i].Fewest)];
    }
    for (int level = 1; level <= kLevelCount; ++level)
        EXPECT_GE(levels[level], 5) << "level " << level;
}

TEST(Book, HoldsTheBuiltInTasksAsTheyAre)
{
    const char *titles[] = {"Задача о молоке", "Задача о квасе"};
    for (std::size_t i = 0; i < TaskPresets.size(); ++i) {
        const auto book = TaskBook();
        const auto found = std::find_if(book.begin(), book.end(), [&](const BookTask &b) {
            return TaskCode(b.Task) == TaskCode(TaskPresets[i]);
        });
        ASSERT_NE(found, book.end()) << titles[i];
        EXPECT_STREQ(found->Title, titles[i]);
    }
}

TEST(Book, TasksWithoutAStoryAreToldByTheirNumbers)
{
    const BookTask task{{{38, 7, 29}, {38, 0, 0}, 35}, 29, "Этюд", nullptr};
    EXPECT_EQ(StatementOf(task),
              "Сосуды вмещают 38, 7 и 29 литров, в них налито 38, 0 и 0. Получите ровно 35 литров в одном из сосудов.");
    const BookTask small{{{7, 2, 3}, {7, 0, 0}, 1}, 2, "Этюд", nullptr};
    EXPECT_EQ(StatementOf(small),
              "Сосуды вмещают 7, 2 и 3 литра, в них налито 7, 0 и 0. Получите ровно 1 литр в одном из сосудов.");
}

} // namespace
