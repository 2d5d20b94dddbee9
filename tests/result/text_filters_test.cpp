// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "text_filters.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FilterCase {
    std::string Typed;
    std::string Kept;
};

TEST(KeepXmlChars, LeavesOutWhatXmlCannotCarry)
{
    const FilterCase cases[] = {
        {"", ""},
        {"Ход 12 <&\"'>", "Ход 12 <&\"'>"},
        {"a\tb\nc\rd", "a\tb\nc\rd"},
        {std::string("a\0b", 3), "ab"},
        {"\x01\x08\x0B\x0C\x1F", ""},
        {"\x7F\u0085\u00A0", "\x7F\u0085\u00A0"}, // allowed in XML 1.0
        {"漢😀\uFFFD", "漢😀\uFFFD"},
        {"a\xEF\xBF\xBE\xEF\xBF\xBFz", "az"}, // U+FFFE, U+FFFF
        {"a\xED\xA0\x80\xED\xBF\xBFz", "az"}, // surrogates
        {"a\xF4\x90\x80\x80z", "az"}, // above U+10FFFF
        {"a\xC0\xAF\xE0\x80\xAFz", "az"}, // overlong
        {"a\xFF\xFE\xF8\x88\x80\x80\x80z", "az"},
        {"a\x80\xBFz", "az"}, // stray continuation bytes
        {"a\xD0z\xE6\xBC", "az"}, // cut sequences: the next character survives
        {"\xD0\xD0\xA5", "Х"},
    };
    for (const FilterCase &c : cases)
        EXPECT_EQ(KeepXmlChars(c.Typed), c.Kept) << testing::PrintToString(c.Typed);
}

} // namespace
