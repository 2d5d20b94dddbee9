// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "task_presets.h"

#include <span>
#include <string>

// Difficulty is the fewest pours a task needs: five levels, each a band of
// counts above the one before, together every count from two up.
inline constexpr int kLevelCount = 5;

struct LevelBand {
    const char *Name; // "Разминка"
    int Fewest; // the band's smallest count
    int Most; // its largest; 0 for the last, which has no end
};

// 1 <= level <= kLevelCount
const LevelBand &Band(int level);
// The level whose band holds this count; 0 below the first (a single pour).
int LevelOf(int fewest);
// "2–3 переливания", "16 и больше переливаний".
std::string BandText(int level);

// A task of the book. The classic ones tell a story; the rest were chosen
// from generated tasks and are told by their numbers.
struct BookTask {
    TaskPreset Task;
    int Fewest; // checked against the solver by the tests
    const char *Title;
    const char *Statement; // null: StatementOf tells it by the numbers
};

// Vessels of a size one can picture: no book task holds a larger one.
inline constexpr int kMaxBookCapacity = 99;

// The book, ordered by the fewest pours; a task's number is its index plus one.
std::span<const BookTask> TaskBook();

// What the player is asked to do, in a sentence or two.
std::string StatementOf(const BookTask &task);
