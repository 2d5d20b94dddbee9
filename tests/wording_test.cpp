// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "wording.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(Wording, PourCountsInRussian)
{
    const std::pair<int, const char *> table[] = {
        {0, "0 переливаний"},     {1, "1 переливание"},     {2, "2 переливания"},     {4, "4 переливания"},
        {5, "5 переливаний"},     {11, "11 переливаний"},   {12, "12 переливаний"},   {14, "14 переливаний"},
        {21, "21 переливание"},   {22, "22 переливания"},   {25, "25 переливаний"},   {101, "101 переливание"},
        {111, "111 переливаний"}, {112, "112 переливаний"}, {997, "997 переливаний"}, {1000, "1000 переливаний"},
    };
    for (const auto &[n, text] : table)
        EXPECT_EQ(PourCount(n), text);
}

} // namespace

namespace {

TEST(Wording, ControlCharactersAreShownEscaped)
{
    const std::pair<std::string, std::string> table[] = {
        {"12,7,5", "12,7,5"},
        {"\x1b]0;title\x07\x1b[2J", "\\x1B]0;title\\x07\\x1B[2J"},
        {"a\tb\nc\rd\x7f", "a\\x09b\\x0Ac\\x0Dd\\x7F"},
        {"\xc2\x9b" "2J", "\\xC2\\x9B2J"}, // C1 CSI written as UTF-8
        {"\x9b" "2J", "\\x9B2J"}, // a bare C1 byte is no UTF-8 at all
        {"Объем", "Объем"},
        {"\xd0", "\\xD0"}, // a cut sequence
        // Characters that reorder or hide text, so a name cannot pass for another.
        {"bidi\u202Egpj.xml", "bidi\\u202Egpj.xml"},
        {"a\u2066b\u2069c\u200Fd", "a\\u2066b\\u2069c\\u200Fd"},
        {"zero\u200Bwidth\uFEFF", "zero\\u200Bwidth\\uFEFF"},
        {"line\u2028para\u2029", "line\\u2028para\\u2029"},
        {"tag\U000E0041", "tag\\U000E0041"},
        {"soft\u00ADhyphen", "soft\\u00ADhyphen"},
        {"\u2013 \u00AB\u00BB \u0451 \U0001F600", "\u2013 \u00AB\u00BB \u0451 \U0001F600"}, // visible: kept
    };
    for (const auto &[text, shown] : table)
        EXPECT_EQ(EscapeControls(text), shown);
}

TEST(Wording, QuotedTextIsCutBetweenCharactersAndEscapes)
{
    EXPECT_EQ(Quoted("8,5,3/8,0,0/4"), "«8,5,3/8,0,0/4»");
    EXPECT_EQ(Quoted(std::string(41, 'x')), "«" + std::string(40, 'x') + "…»");
    // An escape is never cut in half: \x1B takes four bytes of the forty.
    EXPECT_EQ(Shortened(std::string(38, 'a') + "\x1b"), std::string(38, 'a') + "…");
    EXPECT_EQ(Shortened(std::string(36, 'a') + "\x1b"), std::string(36, 'a') + "\\x1B");
}

TEST(Wording, QuotedListsSayHowManyMoreThereWere)
{
    EXPECT_EQ(QuotedList({"a"}), "«a»");
    EXPECT_EQ(QuotedList({"a", "b"}), "«a» и «b»");
    EXPECT_EQ(QuotedList({"a", "b", "c"}), "«a», «b» и «c»");
    EXPECT_EQ(QuotedList({"a", "b", "c", "d", "e"}), "«a», «b», «c» и еще 2");
    const std::vector<std::string> flood(1000, std::string(1000, 'y'));
    const std::string list = QuotedList(flood);
    EXPECT_LT(list.size(), 200u);
    EXPECT_NE(list.find(" и еще 997"), std::string::npos) << list;
}

} // namespace
