// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// ParseFieldValue against a second, deliberately different reading of the
// field rule: the text is matched against each allowed shape in turn, and the
// range is judged on the digit string itself, so no arithmetic can overflow.
#include "parse.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

bool IsDecimal(char c)
{
    return std::string_view("0123456789").find(c) != std::string_view::npos;
}

bool IsHex(char c)
{
    return std::string_view("0123456789abcdefABCDEF").find(c) != std::string_view::npos;
}

// One way a number may be written after the sign: a prefix, then one or
// more digits of one kind.
struct Shape {
    std::string_view Prefix;
    bool (*Digit)(char);
    int Base;
};

constexpr Shape kShapes[] = {
    {"", IsDecimal, 10}, {"$", IsHex, 16}, {"x", IsHex, 16}, {"X", IsHex, 16}, {"0x", IsHex, 16}, {"0X", IsHex, 16},
};

int DigitOf(char c)
{
    const std::string_view digits = "0123456789abcdef";
    const char lower = (c >= 'A' && c <= 'F') ? static_cast<char>(c - 'A' + 'a') : c;
    return static_cast<int>(digits.find(lower));
}

// The value the rule gives, or nothing where it asks for the range error.
std::optional<int> Expected(std::string_view text)
{
    if (text.empty())
        return 0;
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos)
        return std::nullopt; // spaces only
    std::string_view rest = text.substr(start);
    bool minus = false;
    if (rest.front() == '+' || rest.front() == '-') {
        minus = rest.front() == '-';
        rest.remove_prefix(1);
    }

    for (const Shape &shape : kShapes) {
        if (!rest.starts_with(shape.Prefix))
            continue;
        std::string_view digits = rest.substr(shape.Prefix.size());
        if (digits.empty() || !std::all_of(digits.begin(), digits.end(), shape.Digit))
            continue;
        // Leading zeros carry nothing; what is left must be short enough.
        const std::size_t first = digits.find_first_not_of('0');
        digits = first == std::string_view::npos ? std::string_view{} : digits.substr(first);
        if (digits.empty())
            return 0; // zero, minus zero included
        if (minus)
            return std::nullopt;
        // 999 has three decimal digits and 3E7 three hex ones: more is too much.
        if (digits.size() > 3)
            return std::nullopt;
        int value = 0;
        for (const char c : digits)
            value = value * shape.Base + DigitOf(c);
        if (value > 999)
            return std::nullopt;
        return value;
    }
    return std::nullopt; // no shape takes the whole text
}

std::string Printable(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f && c != '\\') {
            out += c;
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", u);
            out += buf;
        }
    }
    return out;
}

[[noreturn]] void Disagree(std::string_view text, const std::optional<int> &expected, const std::string &actual)
{
    std::fprintf(stderr, "ParseFieldValue(\"%s\") gave %s, the rule says %s\n", Printable(text).c_str(),
                 actual.c_str(), expected ? std::to_string(*expected).c_str() : "the range error");
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const std::optional<int> expected = Expected(text);
    try {
        const int actual = ParseFieldValue(text);
        if (!expected || *expected != actual)
            Disagree(text, expected, std::to_string(actual));
    } catch (const ERangeError &e) {
        if (std::string_view(e.what()) != kMsgNotANumber)
            Disagree(text, expected, std::string("ERangeError \"") + e.what() + "\"");
        if (expected)
            Disagree(text, expected, "the range error");
    }
    // Any other exception escapes and ends the run as a finding.
    return 0;
}
