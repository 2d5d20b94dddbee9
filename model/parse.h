// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// Raised by the store direction of a value; the dispatch guard shows it.
class ERangeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char *kMsgNotANumber = "Требуется целое число от 0 до 999";
inline constexpr const char *kMsgLevelAboveCapacity = "Уровень не может превосходить объем сосуда";

// Reads a field text as a whole number 0..999; empty text is 0.
// Accepts leading blanks, one sign, decimal digits or hex digits after
// "$", "x", "X", "0x", "0X"; anything else throws ERangeError(kMsgNotANumber).
int ParseFieldValue(std::string_view text);

// A whole number written in decimal digits alone (no blanks, no sign), or
// nothing when it is not one or lies above `most`: for command-line counts
// and seeds, where "+5" or " 5" is a typing slip rather than a number.
// Needs most < 2^60.
std::optional<std::uint64_t> ReadDigits(std::string_view text, std::uint64_t most);
