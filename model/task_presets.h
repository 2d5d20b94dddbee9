// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

// A built-in task, in the order of the fields it fills.
struct TaskPreset {
    std::array<std::int32_t, 3> Capacity;
    std::array<std::int32_t, 3> Level;
    std::int32_t Target;

    friend bool operator==(const TaskPreset &, const TaskPreset &) = default;
};

// Indexed by the page of the task dialog: 0 milk, 1 kvass.
inline constexpr std::array<TaskPreset, 2> TaskPresets{{
    {{12, 7, 5}, {12, 0, 0}, 6},
    {{8, 5, 3}, {8, 0, 0}, 4},
}};
