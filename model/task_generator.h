// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "task_presets.h"

#include <cstdint>

// Tasks made up on the spot for a level of difficulty. The same level and
// seed give the same task everywhere: the random numbers and their mapping
// to ranges are the game's own, not the standard library's, whose
// distributions differ between implementations.

// The largest capacity a generated task has (the hardest levels draw up to
// it); the smallest is 2.
inline constexpr int kMinGeneratedCapacity = 2;
inline constexpr int kMaxGeneratedCapacity = 40;

struct GeneratedTask {
    TaskPreset Task{};
    int Fewest = 0;
    int Candidates = 0; // tasks tried, this one included
    bool FromBook = false; // the search gave up: a task of the book's level instead
};

// A task whose fewest pours lie in the level's band (task_book.h): three
// capacities from kMinGeneratedCapacity to kMaxGeneratedCapacity, some
// liquid, and a target that no vessel holds at the start; or, should the
// search give up (FromBook), a book task of the level.
// 1 <= level <= kLevelCount.
GeneratedTask GenerateTask(int level, std::uint32_t seed);

// SplitMix64: a tiny generator whose every step is specified, so its numbers
// are the same on any machine and compiler.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t state)
        : m_state(state)
    {
    }

    std::uint64_t Next();
    // Uniform in lo..hi (lo <= hi), by rejection: no modulo bias.
    int Between(int lo, int hi);

private:
    std::uint64_t m_state;
};
