// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "text_filters.h"

#include "utf8.h"

namespace {

bool IsXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

std::string KeepXmlChars(std::string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        // A broken sequence loses its lead byte only: whatever follows may
        // still be a character of its own.
        const Utf8Char c = DecodeUtf8(text, i);
        if (c.Length == 0) {
            ++i;
            continue;
        }
        if (IsXmlChar(c.Code))
            kept.append(text.substr(i, c.Length));
        i += c.Length;
    }
    return kept;
}
