// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct DecodeCase {
    std::string Bytes;
    char32_t Code;
    std::size_t Length; // 0: no character starts here
};

TEST(Utf8, DecodesTheShortestFormOnly)
{
    const DecodeCase cases[] = {
        {"A", U'A', 1},
        {"\xD0\x96", U'Ж', 2},
        {"\xE2\x82\xAC", U'€', 3},
        {"\xF0\x9F\x98\x80", U'😀', 4},
        {"\xF4\x8F\xBF\xBF", 0x10FFFF, 4},
        {std::string("\0", 1), 0, 1},
        {"\xC0\x80", 0, 0}, // overlong NUL
        {"\xE0\x9F\xBF", 0, 0}, // overlong
        {"\xED\xA0\x80", 0, 0}, // a surrogate
        {"\xF4\x90\x80\x80", 0, 0}, // above U+10FFFF
        {"\xF5\x80\x80\x80", 0, 0},
        {"\x80", 0, 0}, // a continuation byte
        {"\xD0", 0, 0}, // cut short
        {"\xD0" "A", 0, 0},
    };
    for (const DecodeCase &c : cases) {
        const Utf8Char got = DecodeUtf8(c.Bytes, 0);
        EXPECT_EQ(got.Length, c.Length) << testing::PrintToString(c.Bytes);
        if (c.Length) {
            EXPECT_EQ(got.Code, c.Code) << testing::PrintToString(c.Bytes);
        }
    }
}

TEST(Utf8, CountsCharactersAndEachStrayByte)
{
    EXPECT_EQ(Utf8Characters(""), 0u);
    EXPECT_EQ(Utf8Characters("Объем 12"), 8u);
    EXPECT_EQ(Utf8Characters("a\xD0"), 2u);
    EXPECT_EQ(Utf8Characters("\x80\x80😀"), 3u);
}

} // namespace
