// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "task_code.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

// --- task codes ------------------------------------------------------------

TEST(TaskCode, ReadsTheSevenValues)
{
    const TaskPreset t = ParseTaskCode("12,7,5/12,0,0/6");
    EXPECT_EQ(t.Capacity, (std::array<std::int32_t, 3>{12, 7, 5}));
    EXPECT_EQ(t.Level, (std::array<std::int32_t, 3>{12, 0, 0}));
    EXPECT_EQ(t.Target, 6);
    const TaskPreset z = ParseTaskCode("999,0,007/0,0,7/0999");
    EXPECT_EQ(z.Capacity, (std::array<std::int32_t, 3>{999, 0, 7}));
    EXPECT_EQ(z.Target, 999);
}

TEST(TaskCode, RejectsWithAReason)
{
    const std::string shape = "нужен вид C1,C2,C3/L1,L2,L3/T";
    const std::pair<const char *, std::string> table[] = {
        {"", shape},
        {"12,7,5/12,0,0", shape},
        {"12,7,5/12,0,0/6/", shape},
        {"12,7/12,0,0/6", shape},
        {"12,7,5,1/12,0,0/6", shape},
        {"12,7,5/12,,0/6", shape},
        {" 12,7,5/12,0,0/6", shape},
        {"12,7,5/12,0,0/-1", shape},
        {"12,7,5/12,0,0/+6", shape},
        {"12;7;5/12;0;0/6", shape},
        {"1000,7,5/12,0,0/6", "значение 1000 вне пределов: требуется целое число от 0 до 999"},
        {"12,7,5/12,0,0/00001000", "значение 00001000 вне пределов"},
        {"12,7,5/12,8,0/6", "Уровень не может превосходить объем сосуда: у сосуда 2 объем 7, а уровень 8"},
    };
    for (const auto &[code, reason] : table) {
        try {
            ParseTaskCode(code);
            ADD_FAILURE() << "accepted " << code;
        } catch (const std::invalid_argument &e) {
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << code << ": " << e.what();
        }
    }
}

// A code pasted by mistake, a megabyte long: the reason quotes only its
// beginning, cut between whole characters.
TEST(TaskCode, QuotesALongCodeShortened)
{
    const std::pair<std::string, std::string> table[] = {
        {"12,7,5/12,0,0/" + std::string(100000, '9'), "В коде задачи значение " + std::string(40, '9') + "… вне"},
        {std::string(100000, 'x'), "Код задачи «" + std::string(40, 'x') + "…» не разобрать"},
    };
    for (const auto &[code, quoted] : table) {
        try {
            ParseTaskCode(code);
            ADD_FAILURE() << "accepted a code of " << code.size() << " bytes";
        } catch (const std::invalid_argument &e) {
            const std::string reason = e.what();
            EXPECT_NE(reason.find(quoted), std::string::npos) << reason;
            EXPECT_LT(reason.size(), 200u);
        }
    }
    // "Ж" is two bytes: a cut after 40 bytes leaves twenty of them whole.
    std::string cyrillic;
    for (int i = 0; i < 30; ++i)
        cyrillic += "Ж";
    try {
        ParseTaskCode("1" + cyrillic);
        ADD_FAILURE() << "accepted Cyrillic";
    } catch (const std::invalid_argument &e) {
        std::string expected = "«1";
        for (int i = 0; i < 19; ++i)
            expected += "Ж";
        EXPECT_NE(std::string(e.what()).find(expected + "…»"), std::string::npos) << e.what();
    }
}

} // namespace

namespace {

TEST(TaskCode, WrittenAsThePlayerTypesIt)
{
    const std::pair<TaskPreset, const char *> table[] = {
        {{{12, 7, 5}, {12, 0, 0}, 6}, "12,7,5/12,0,0/6"},
        {{{999, 0, 7}, {0, 0, 7}, 999}, "999,0,7/0,0,7/999"},
        {{{0, 0, 0}, {0, 0, 0}, 0}, "0,0,0/0,0,0/0"},
    };
    for (const auto &[task, code] : table) {
        EXPECT_EQ(TaskCode(task), code);
        const TaskPreset back = ParseTaskCode(code);
        EXPECT_EQ(back.Capacity, task.Capacity);
        EXPECT_EQ(back.Level, task.Level);
        EXPECT_EQ(back.Target, task.Target);
    }
}

// A reason ends in words, never in a value or a code that a full stop would
// seem to belong to; and what was typed is quoted with its controls escaped.
TEST(TaskCode, ReasonsEndInWordsAndQuoteSafely)
{
    const char *codes[] = {"", "12,7,5/12,0,0", "1000,7,5/12,0,0/6", "12,7,5/12,8,0/6", "\x1b[2J"};
    for (const char *code : codes) {
        try {
            ParseTaskCode(code);
            ADD_FAILURE() << "accepted " << code;
        } catch (const std::invalid_argument &e) {
            const std::string reason = e.what();
            const std::string lastWord = reason.substr(reason.rfind(' ') + 1);
            EXPECT_EQ(std::string(code).find(lastWord), std::string::npos) << reason;
            EXPECT_EQ(reason.find('\x1b'), std::string::npos) << reason;
        }
    }
    try {
        ParseTaskCode("12,7,5/12,8,0/6");
    } catch (const std::invalid_argument &e) {
        EXPECT_STREQ(e.what(), "Уровень не может превосходить объем сосуда: у сосуда 2 объем 7, а уровень 8 — "
                               "больше объема");
    }
}

} // namespace

namespace {

// Variants of a class: codes joined by "+", a repeated one kept once; a
// wrong one is named with its place in the list.
TEST(TaskCodes, ReadsAListJoinedByPlus)
{
    const std::pair<const char *, std::vector<std::string>> good[] = {
        {"12,7,5/12,0,0/6", {"12,7,5/12,0,0/6"}},
        {"12,7,5/12,0,0/6+8,5,3/8,0,0/4", {"12,7,5/12,0,0/6", "8,5,3/8,0,0/4"}},
        {"12,7,5/12,0,0/6+12,7,5/12,0,0/6+012,7,5/12,0,0/6", {"12,7,5/12,0,0/6"}},
        {"12,7,5/12,0,0/6+12,7,5/12,0,0/5", {"12,7,5/12,0,0/6", "12,7,5/12,0,0/5"}},
    };
    for (const auto &[text, codes] : good) {
        std::vector<std::string> read;
        for (const TaskPreset &task : ParseTaskCodes(text))
            read.push_back(TaskCode(task));
        EXPECT_EQ(read, codes) << text;
    }
    const std::pair<const char *, const char *> bad[] = {
        {"12,7,5/12,0,0/6+", "Код задачи номер 2 в списке через «+», «», не годится. Код задачи «» не разобрать"},
        {"+8,5,3/8,0,0/4", "Код задачи номер 1 в списке через «+», «», не годится."},
        {"12,7,5/12,0,0/6+8,5,3/9,0,0/4", "номер 2 в списке через «+», «8,5,3/9,0,0/4», не годится. Уровень"},
        {"12,7,5/12,0,0/6+8,5,3/8,0,0/1000", "«8,5,3/8,0,0/1000», не годится. В коде задачи значение 1000 вне"},
    };
    for (const auto &[text, reason] : bad) {
        try {
            ParseTaskCodes(text);
            ADD_FAILURE() << text << " was read";
        } catch (const std::invalid_argument &e) {
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
        }
    }
}

} // namespace
