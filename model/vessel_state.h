// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

// The puzzle's numbers. Vessel n (1..3) keeps its capacity in element n and
// its level in element n + 3 of one array, so code can index by vessel number.
struct VesselState {
    static constexpr int kTarget = 0;
    static constexpr int kDragOriginLeft = 7;
    static constexpr int kDragOriginTop = 8;

    bool GoalReached = false;
    std::array<std::int32_t, 9> Values{};

    // 1 <= n <= 3 for the vessel accessors.
    std::int32_t &Target() { return Values[kTarget]; }
    std::int32_t Target() const { return Values[kTarget]; }
    std::int32_t &Capacity(int n) { return Values[static_cast<std::size_t>(n)]; }
    std::int32_t Capacity(int n) const { return Values[static_cast<std::size_t>(n)]; }
    std::int32_t &Level(int n) { return Values[static_cast<std::size_t>(n + 3)]; }
    std::int32_t Level(int n) const { return Values[static_cast<std::size_t>(n + 3)]; }
    std::int32_t &DragOriginLeft() { return Values[kDragOriginLeft]; }
    std::int32_t &DragOriginTop() { return Values[kDragOriginTop]; }
};

constexpr int kVesselCount = 3;
