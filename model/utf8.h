// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>

// UTF-8 read one character at a time, for whatever shows, saves or measures
// typed text.

struct Utf8Char {
    char32_t Code = 0;
    std::size_t Length = 0; // bytes; 0 where no well-formed character starts
};

// The character that starts at text[at] (at < text.size()): well-formed
// only in its shortest form, never a surrogate, never past U+10FFFF.
Utf8Char DecodeUtf8(std::string_view text, std::size_t at);

// Characters, not bytes; a byte that starts no character counts as one.
std::size_t Utf8Characters(std::string_view text);
