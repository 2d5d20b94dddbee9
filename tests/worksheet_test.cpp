// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// A sheet of tasks: what the arguments ask for, what is refused and why, and
// the tasks, words and answers a sheet is planned with.
#include "solver.h"
#include "task_book.h"
#include "task_code.h"
#include "worksheet.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

namespace {

WorksheetArguments Args(const std::string &what, std::optional<std::string> count = {},
    std::optional<std::string> seed = {}, std::optional<std::string> variants = {})
{
    return {what, std::move(count), std::move(seed), std::move(variants)};
}

std::string Refusal(const WorksheetArguments &arguments)
{
    try {
        ReadWorksheetRequest(arguments, 1);
    } catch (const std::invalid_argument &e) {
        return e.what();
    }
    return "(accepted)";
}

std::string Codes(const SheetVariant &variant)
{
    std::string codes;
    for (const SheetTask &task : variant.Tasks)
        codes += TaskCode(task.Task) + " ";
    return codes;
}

// --- what is refused, and the words that say why ------------------------------

struct Refused {
    const char *Name;
    WorksheetArguments Arguments;
    const char *Reason;
};

class RefusedRequests : public testing::TestWithParam<Refused> {};

TEST_P(RefusedRequests, SayWhy)
{
    EXPECT_EQ(Refusal(GetParam().Arguments), GetParam().Reason);
}

std::string MilkCodes(int count)
{
    std::string list;
    for (int n = 0; n < count; ++n)
        list += (list.empty() ? "" : "+") + std::string("12,7,5/12,0,0/6");
    return list;
}

INSTANTIATE_TEST_SUITE_P(Worksheet, RefusedRequests,
    testing::Values(Refused{"no_kind", Args("1,5,23"),
                        "Листок «1,5,23» не разобрать: пишется book=номера через запятую, code=коды через плюс или "
                        "level=уровень"},
        Refused{"empty_book_list", Args("book="),
            "Список номеров сборника пуст: нужны номера задач через запятую, например book=1,5,23"},
        Refused{"gap_in_book_list", Args("book=1,,2"),
            "В списке номеров сборника пустое место: номера пишутся через запятую"},
        Refused{"not_a_number", Args("book=1,x"),
            "В списке сборника «x» — не номер задачи: нужны номера от 1 до 50 "
            "через запятую"},
        Refused{"signed_number", Args("book=+3"),
            "В списке сборника «+3» — не номер задачи: нужны номера от 1 до 50 "
            "через запятую"},
        Refused{"book_zero", Args("book=0"), "Задачи «0» в сборнике нет: номера от 1 до 50 включительно"},
        Refused{"book_past_the_end", Args("book=51"), "Задачи «51» в сборнике нет: номера от 1 до 50 включительно"},
        Refused{"twenty_one_codes", Args("code=" + MilkCodes(21)),
            "В списке 21 задача, а на листке помещается не больше 20 задач"},
        Refused{"empty_code_list", Args("code="),
            "Список кодов пуст: нужны коды задач через плюс, например code=12,7,5/12,0,0/6+8,5,3/8,0,0/4"},
        Refused{"level_above_capacity", Args("code=8,5,3/8,6,0/4"),
            "Уровень не может превосходить объем сосуда: у сосуда 2 объем 5, а уровень 6 — больше объема"},
        Refused{"count_with_book", Args("book=1", "3"),
            "Параметр --count работает только с level=: в списке число задач уже задано"},
        Refused{"seed_with_codes", Args("code=8,5,3/8,0,0/4", {}, "7"),
            "Параметр --seed задает только случайные задачи, а в списке задачи уже выбраны"},
        Refused{"level_six", Args("level=6"), "Уровень «6» не годится: нужно число от 1 до 5 включительно"},
        Refused{"level_empty", Args("level="), "Уровень «» не годится: нужно число от 1 до 5 включительно"},
        Refused{"count_zero", Args("level=3", "0"),
            "Число «0» для --count не годится: нужно целое от 1 до 20 включительно"},
        Refused{"seed_too_large", Args("level=3", {}, "4294967296"),
            "Число «4294967296» для --seed не годится: нужно целое от 0 до 4294967295 включительно"}),
    [](const testing::TestParamInfo<Refused> &info) { return std::string(info.param.Name); });

// --- what is read ----------------------------------------------------------------

TEST(WorksheetRequest, ReadsBookNumbersInTheirOrder)
{
    const WorksheetRequest request = ReadWorksheetRequest(Args("book=23, 1,5"), 9);
    EXPECT_EQ(request.Source, SheetSource::Book);
    EXPECT_EQ(request.BookNumbers, (std::vector<int>{23, 1, 5}));
    EXPECT_EQ(request.Count, 3);
    EXPECT_EQ(WorksheetArgumentsText(request), "book=23,1,5");
}

TEST(WorksheetRequest, ReadsCodes)
{
    const WorksheetRequest request = ReadWorksheetRequest(Args("code=12,7,5/12,0,0/6+8,5,3/8,0,0/4"), 9);
    EXPECT_EQ(request.Source, SheetSource::Codes);
    ASSERT_EQ(request.Codes.size(), 2u);
    EXPECT_EQ(TaskCode(request.Codes[1]), "8,5,3/8,0,0/4");
    EXPECT_EQ(WorksheetArgumentsText(request), "code=12,7,5/12,0,0/6+8,5,3/8,0,0/4");
}

TEST(WorksheetRequest, LevelTakesItsOptionsOrDrawsTheSeed)
{
    const WorksheetRequest drawn = ReadWorksheetRequest(Args("level=2"), 31337);
    EXPECT_EQ(drawn.Level, 2);
    EXPECT_EQ(drawn.Count, kDefaultSheetTasks);
    EXPECT_EQ(drawn.Variants, 1);
    EXPECT_TRUE(drawn.SeedChosen);
    EXPECT_EQ(drawn.Seed, 31337u);
    EXPECT_EQ(WorksheetArgumentsText(drawn), "level=2 --count 4 --seed 31337");

    const WorksheetRequest given = ReadWorksheetRequest(Args("level=5", "20", "4294967295", "200"), 1);
    EXPECT_EQ(given.Count, 20);
    EXPECT_EQ(given.Variants, 200);
    EXPECT_FALSE(given.SeedChosen);
    EXPECT_EQ(given.Seed, 4294967295u);
    EXPECT_EQ(WorksheetArgumentsText(given), "level=5 --count 20 --seed 4294967295 --variants 200");
}

// --- the plan ----------------------------------------------------------------------

TEST(WorksheetPlan, RandomVariantsAreTheSeedsOwnAndDiffer)
{
    const WorksheetRequest request = ReadWorksheetRequest(Args("level=3", "6", "7", "30"), 0);
    const Worksheet sheet = PlanWorksheet(request);
    ASSERT_EQ(sheet.Variants.size(), 30u);
    std::set<std::string> codes;
    for (const SheetVariant &variant : sheet.Variants) {
        ASSERT_EQ(variant.Tasks.size(), 6u);
        for (const SheetTask &task : variant.Tasks) {
            codes.insert(TaskCode(task.Task));
            ASSERT_TRUE(task.Answer.Solved());
            EXPECT_EQ(LevelOf(task.Answer.Pours()), 3) << TaskCode(task.Task);
            EXPECT_EQ(task.Answer.Pours(), Solve(task.Task).Pours());
            EXPECT_FALSE(task.Statement.empty());
            EXPECT_FALSE(task.Title.empty());
        }
    }
    EXPECT_EQ(codes.size(), 180u) << "every task of every variant its own";
    EXPECT_EQ(sheet.Rows, 12);

    // The same request, the same sheet; another seed, another one.
    const Worksheet again = PlanWorksheet(request);
    for (std::size_t v = 0; v < sheet.Variants.size(); ++v)
        EXPECT_EQ(Codes(again.Variants[v]), Codes(sheet.Variants[v]));
    WorksheetRequest other = request;
    other.Seed = 8;
    EXPECT_NE(Codes(PlanWorksheet(other).Variants[0]), Codes(sheet.Variants[0]));
}

TEST(WorksheetPlan, BookTasksKeepTheirWordsAndCodesFindTheirBookTask)
{
    const Worksheet book = PlanWorksheet(ReadWorksheetRequest(Args("book=23,6"), 0));
    ASSERT_EQ(book.Variants.size(), 1u);
    const SheetTask &can = book.Variants[0].Tasks[0];
    EXPECT_EQ(can.Title, "Бидон пополам");
    EXPECT_EQ(can.BookNumber, 23);
    EXPECT_EQ(can.Statement, StatementOf(TaskBook()[22]));
    // A study of the book has no story: it is told in words from its numbers.
    EXPECT_EQ(book.Variants[0].Tasks[1].Statement,
        "Сосуды вмещают 4, 3 и 7 литров. Первый и второй сосуды пусты, третий полон. Получите ровно 1 литр в "
        "одном из сосудов.");

    const Worksheet codes = PlanWorksheet(ReadWorksheetRequest(Args("code=8,5,3/8,0,0/4+9,4,2/9,0,0/1"), 0));
    const SheetTask &kvass = codes.Variants[0].Tasks[0];
    EXPECT_EQ(kvass.Title, "Задача о квасе");
    EXPECT_EQ(kvass.BookNumber, BookNumberOf(TaskPresets[1]));
    const SheetTask &typed = codes.Variants[0].Tasks[1];
    EXPECT_EQ(typed.BookNumber, 0);
    EXPECT_EQ(typed.Title, "Сосуды 9, 4 и 2");
}

TEST(WorksheetPlan, RowsFollowTheHardestBandNotTheAnswers)
{
    // Fewest 2 and 8: both within the first three levels, twelve rows each.
    const Worksheet easy = PlanWorksheet(ReadWorksheetRequest(Args("book=1,23"), 0));
    EXPECT_EQ(easy.Rows, 12);
    // Fewest 12 (level 4) and 29 (level 5).
    EXPECT_EQ(PlanWorksheet(ReadWorksheetRequest(Args("book=33"), 0)).Rows, 16);
    EXPECT_EQ(PlanWorksheet(ReadWorksheetRequest(Args("book=1,50"), 0)).Rows, 30);
    // A task without a solution says nothing of a band.
    EXPECT_EQ(PlanWorksheet(ReadWorksheetRequest(Args("code=999,4,6/6,0,0/3"), 0)).Rows, 12);
}

// --- a task in words ---------------------------------------------------------------

struct Worded {
    const char *Name;
    TaskPreset Task;
    const char *Words;
};

class StatementWords : public testing::TestWithParam<Worded> {};

TEST_P(StatementWords, TellTheNumbers)
{
    EXPECT_EQ(StatementInWords(GetParam().Task), GetParam().Words);
}

INSTANTIATE_TEST_SUITE_P(Worksheet, StatementWords,
    testing::Values(
        Worded{"milk", {{12, 7, 5}, {12, 0, 0}, 6},
            "Сосуды вмещают 12, 7 и 5 литров. Первый сосуд полон, второй и третий пусты. Получите ровно 6 литров "
            "в одном из сосудов."},
        Worded{"some_in_each", {{27, 13, 8}, {7, 10, 7}, 18},
            "Сосуды вмещают 27, 13 и 8 литров. В первом сосуде 7 литров, во втором 10 литров, в третьем 7 "
            "литров. Получите ровно 18 литров в одном из сосудов."},
        Worded{"empty_full_some", {{5, 3, 8}, {0, 3, 4}, 1},
            "Сосуды вмещают 5, 3 и 8 литров. Первый сосуд пуст, второй полон, в третьем 4 литра. Получите ровно 1 "
            "литр в одном из сосудов."},
        Worded{"some_then_empties", {{11, 12, 31}, {11, 0, 0}, 13},
            "Сосуды вмещают 11, 12 и 31 литр. Первый сосуд полон, второй и третий пусты. Получите ровно 13 "
            "литров в одном из сосудов."},
        Worded{"first_and_third_full", {{2, 9, 4}, {2, 1, 4}, 3},
            "Сосуды вмещают 2, 9 и 4 литра. Первый и третий сосуды полны, во втором 1 литр. Получите ровно 3 "
            "литра в одном из сосудов."},
        Worded{"all_empty", {{3, 4, 5}, {0, 0, 0}, 2},
            "Сосуды вмещают 3, 4 и 5 литров. Все сосуды пусты. Получите ровно 2 литра в одном из сосудов."},
        Worded{"all_full", {{3, 4, 5}, {3, 4, 5}, 2},
            "Сосуды вмещают 3, 4 и 5 литров. Все сосуды полны. Получите ровно 2 литра в одном из сосудов."}),
    [](const testing::TestParamInfo<Worded> &info) { return std::string(info.param.Name); });

} // namespace
