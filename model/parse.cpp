// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "parse.h"

#include "rules.h"

#include <algorithm>
#include <cstdint>

namespace {

// Past this the exact value no longer matters: it is out of range either way,
// and clamping keeps the accumulator far from overflow on any length of digits.
constexpr std::int64_t kClamp = std::int64_t{1} << 40;

int DigitValue(char c, int base)
{
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v;
}

[[noreturn]] void Reject()
{
    throw ERangeError(kMsgNotANumber);
}

} // namespace

int ParseFieldValue(std::string_view text)
{
    if (text.empty())
        return 0;

    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }

    if (i == text.size())
        Reject(); // blanks only, or a sign or prefix with no digits

    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int d = DigitValue(text[i], base);
        if (d < 0)
            Reject();
        value = value * base + d;
        if (value > kClamp)
            value = kClamp;
    }

    if (!InValueRange(value) || (negative && value != 0))
        Reject();
    return static_cast<int>(value);
}

bool IsDecimalDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<int> ReadDecimalValue(std::string_view text)
{
    if (!IsDecimalDigits(text))
        return std::nullopt;
    const std::size_t first = std::min(text.find_first_not_of('0'), text.size());
    if (text.size() - first > 3)
        return std::nullopt;
    int value = 0;
    for (const char c : text.substr(first))
        value = value * 10 + (c - '0');
    if (!InValueRange(value))
        return std::nullopt;
    return value;
}

std::optional<std::uint64_t> ReadDigits(std::string_view text, std::uint64_t most)
{
    if (!IsDecimalDigits(text))
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > most)
            return std::nullopt;
    }
    return value;
}
