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

// A value as the game writes it in a task code or a saved row: decimal
// digits and nothing else, leading zeros allowed. Stricter than the field's
// rule on purpose: no blanks, sign or hex form the game never writes.
bool IsDecimalDigits(std::string_view text);
// Such a value when it is one and lies within 0..999; past three significant
// digits it is out of range whatever follows, however long the text.
std::optional<int> ReadDecimalValue(std::string_view text);

// A whole number written in decimal digits alone (no blanks, no sign), or
// nothing when it is not one or lies above `most`: for command-line counts
// and seeds, where "+5" or " 5" is a typing slip rather than a number.
// Needs most < 2^60.
std::optional<std::uint64_t> ReadDigits(std::string_view text, std::uint64_t most);
