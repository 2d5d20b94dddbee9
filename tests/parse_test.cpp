// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "dispatch_guard.h"
#include "parse.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct ParseCase {
    const char *Text;
    std::optional<int> Value; // nullopt: rejected
};

void PrintTo(const ParseCase &c, std::ostream *os)
{
    *os << '"' << c.Text << '"';
}

class ParseFieldValueTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseFieldValueTest, AcceptsOrRejects)
{
    const ParseCase &c = GetParam();
    if (c.Value) {
        EXPECT_EQ(ParseFieldValue(c.Text), *c.Value) << '"' << c.Text << '"';
    } else {
        try {
            const int v = ParseFieldValue(c.Text);
            ADD_FAILURE() << '"' << c.Text << "\" was accepted as " << v;
        } catch (const ERangeError &e) {
            EXPECT_STREQ(e.what(), "Требуется целое число от 0 до 999");
        }
    }
}

const ParseCase kAccepted[] = {
    {"", 0},
    {"0", 0},
    {"7", 7},
    {"  7", 7},
    {"007", 7},
    {"999", 999},
    {"0000000000000000000000000999", 999},
    {"+5", 5},
    {"-0", 0},
    {"+0", 0},
    {"-00", 0},
    {"$1F", 31},
    {"$1f", 31},
    {"x1F", 31},
    {"X1f", 31},
    {"0x1F", 31},
    {"0X1f", 31},
    {"$3E7", 999},
    {"$0003e7", 999},
    {" +x0A", 10},
    {"-$0", 0},
    {"-0x0", 0},
    {"$0", 0},
};

const ParseCase kRejected[] = {
    {" ", std::nullopt},
    {"   ", std::nullopt},
    {"7 ", std::nullopt},
    {"\t7", std::nullopt},
    {"7\n", std::nullopt},
    {"1000", std::nullopt},
    {"-1", std::nullopt},
    {"-$1", std::nullopt},
    {"+", std::nullopt},
    {"-", std::nullopt},
    {"$", std::nullopt},
    {"x", std::nullopt},
    {"0x", std::nullopt},
    {"+0x", std::nullopt},
    {"- 5", std::nullopt},
    {"--5", std::nullopt},
    {"+-5", std::nullopt},
    {"$-1", std::nullopt},
    {"0$1", std::nullopt},
    {"0xx1", std::nullopt},
    {"x 1", std::nullopt},
    {"$G", std::nullopt},
    {"7a", std::nullopt},
    {"1.5", std::nullopt},
    {"1e3", std::nullopt},
    {"1,0", std::nullopt},
    {"$3E8", std::nullopt},
    {"2147483648", std::nullopt},
    {"4294967303", std::nullopt}, // 2^32 + 7: a 32-bit wrap would read 7
    {"$100000007", std::nullopt},
    {"$FFFFFFFF", std::nullopt},
    {"-2147483648", std::nullopt},
    {"99999999999999999999999999", std::nullopt},
    {"\xEF\xBC\x97", std::nullopt}, // fullwidth 7
    {"\xD9\xA7", std::nullopt},     // Arabic-Indic 7
};

INSTANTIATE_TEST_SUITE_P(Accepted, ParseFieldValueTest, testing::ValuesIn(kAccepted));
INSTANTIATE_TEST_SUITE_P(Rejected, ParseFieldValueTest, testing::ValuesIn(kRejected));

TEST(ErrorBoxText, FullStopOnlyAfterCharactersAboveFullStop)
{
    const struct {
        const char *Message;
        const char *Shown;
    } cases[] = {
        {"Требуется целое число от 0 до 999", "Требуется целое число от 0 до 999."},
        {"Уровень не может превосходить объем сосуда", "Уровень не может превосходить объем сосуда."},
        {"Permission denied", "Permission denied."},
        {"Готово!", "Готово!"},
        {"(см. выше)", "(см. выше)"},
        {"Конец.", "Конец."},
        {"минус-", "минус-"}, // "-" is below "."
        {"a/", "a/."},        // "/" is just above it
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ErrorBoxText(c.Message), c.Shown) << c.Message;
}

} // namespace
