// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "text_filters.h"

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
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t c = lead;
        char32_t least = 0;
        if (lead >= 0xF0 && lead <= 0xF7) {
            length = 4, c = lead & 0x07u, least = 0x10000;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, c = lead & 0x0Fu, least = 0x800;
        } else if (lead >= 0xC0 && lead <= 0xDF) {
            length = 2, c = lead & 0x1Fu, least = 0x80;
        } else if (lead >= 0x80) {
            ++i; // a stray continuation byte or no lead byte at all
            continue;
        }
        bool wellFormed = i + length <= text.size();
        for (std::size_t k = 1; wellFormed && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            wellFormed = (next & 0xC0u) == 0x80u;
            c = (c << 6) | (next & 0x3Fu);
        }
        // A broken or overlong sequence loses its lead byte only: whatever
        // follows may still be a character of its own.
        if (!wellFormed || c < least) {
            ++i;
            continue;
        }
        if (IsXmlChar(c))
            kept.append(text.substr(i, length));
        i += length;
    }
    return kept;
}
