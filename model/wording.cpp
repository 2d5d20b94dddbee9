// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "wording.h"

#include "utf8.h"

namespace {

constexpr std::size_t kQuotedLength = 40;

// C0, DEL and C1.
bool IsControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Characters that show nothing themselves but change what is around them:
// Unicode's format characters (bidirectional embeddings, overrides and
// isolates, zero-width spaces and joiners, the byte order mark, tags) and
// the line and paragraph separators. "bidi\u202Egpj.xml" would read as
// "bidilmx.jpg".
bool IsInvisible(char32_t c)
{
    static constexpr char32_t kRanges[][2] = {
        {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},
        {0x08E2, 0x08E2},   {0x180E, 0x180E},   {0x200B, 0x200F},   {0x2028, 0x202E},   {0x2060, 0x2064},
        {0x2066, 0x206F},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
        {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001}, {0xE0020, 0xE007F},
    };
    for (const auto &range : kRanges) {
        if (c >= range[0] && c <= range[1])
            return true;
    }
    return false;
}

// "\u202E", "\U000E0001".
std::string CodePoint(char32_t c)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const int digits = c > 0xFFFF ? 8 : 4;
    std::string text = c > 0xFFFF ? "\\U" : "\\u";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        text += kDigits[(c >> shift) & 0xF];
    return text;
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
        const Utf8Char c = DecodeUtf8(text, i);
        const std::string_view sequence = text.substr(i, c.Length ? c.Length : 1);
        const std::string shown = !c.Length || IsControl(c.Code) ? Hex(sequence)
            : IsInvisible(c.Code)                                  ? CodePoint(c.Code)
                                                                   : std::string(sequence);
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
