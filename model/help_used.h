// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

// Whether the solver's help was asked for in a game: a win with it earns no
// stars.
struct HelpUsed {
    bool Hint = false; // "Подсказка"
    bool Solution = false; // "Решение"

    bool Any() const { return Hint || Solution; }
    friend bool operator==(const HelpUsed &, const HelpUsed &) = default;
};
