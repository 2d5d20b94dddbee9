// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "wording.h"

namespace {

constexpr std::size_t kQuotedLength = 40;

// The length of the well-formed UTF-8 sequence at text[i], or 0.
std::size_t SequenceLength(std::string_view text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, c = lead & 0x1Fu, least = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, c = lead & 0x0Fu, least = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, c = lead & 0x07u, least = 0x10000;
    else
        return 0;
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0u) != 0x80u)
            return 0;
        c = (c << 6) | (next & 0x3Fu);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return length;
}

bool IsControl(std::string_view sequence)
{
    const auto lead = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1)
        return lead < 0x20 || lead == 0x7F;
    // U+0080..U+009F: C2 80..C2 9F.
    return sequence.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(sequence[1]) < 0xA0;
}

std::string Hex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        text += "\\x";
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

// Each character of the text as it is shown; `limit` stops early (0: none).
// Returns whether everything fitted.
bool AppendEscaped(std::string &out, std::string_view text, std::size_t limit)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = SequenceLength(text, i);
        const std::string_view sequence = text.substr(i, length ? length : 1);
        const std::string shown = !length || IsControl(sequence) ? Hex(sequence) : std::string(sequence);
        if (limit && out.size() + shown.size() > limit)
            return false;
        out += shown;
        i += sequence.size();
    }
    return true;
}

} // namespace

std::string_view RussianPlural(int n, std::string_view one, std::string_view few, std::string_view many)
{
    const int tens = n % 100;
    const int units = n % 10;
    if (tens >= 11 && tens <= 14)
        return many;
    if (units == 1)
        return one;
    if (units >= 2 && units <= 4)
        return few;
    return many;
}

std::string PourCount(int n)
{
    return std::to_string(n) + " " + std::string(RussianPlural(n, "переливание", "переливания", "переливаний"));
}

std::string EscapeControls(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    AppendEscaped(out, text, 0);
    return out;
}

std::string Shortened(std::string_view text)
{
    std::string shown;
    if (!AppendEscaped(shown, text, kQuotedLength))
        shown += "…";
    return shown;
}

std::string Quoted(std::string_view text)
{
    return "«" + Shortened(text) + "»";
}

std::string QuotedList(const std::vector<std::string> &texts, std::size_t shown)
{
    const std::size_t count = texts.size() < shown ? texts.size() : shown;
    std::string list;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            list += i + 1 == count && count == texts.size() ? " и " : ", ";
        list += Quoted(texts[i]);
    }
    if (texts.size() > count)
        list += " и еще " + std::to_string(texts.size() - count);
    return list;
}
