// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "scores.h"

#include <functional>
#include <optional>
#include <string>

// What the player has won and what comes next: a win told in words, the
// stars, each level's share of the book, and the next task to play.

// "★★☆": filled stars first, out of three.
std::string StarGlyphs(int stars);
// "2 звезды", "1 звезда", "0 звезд": what a screen reader says for the glyphs.
std::string StarWords(int stars);

// «Решено за 9 переливаний. Наименьшее число — 8.»
std::string WinLine(int pours, int fewest);
// In a lesson, without the fewest: «Задача решена за 9 переливаний.»
std::string LessonWinLine(int pours);

// A win as the window that tells it shows it.
struct WinReport {
    Score Win; // this attempt's
    int Fewest = 0;
    // The task's best before this win; none for a first win.
    std::optional<Score> Before;
    // Whether the win is now the task's best: the first, or better than before.
    bool NewBest() const { return !Before || Better(Win, *Before); }
};

// The stars of this attempt in words: "2 звезды из 3", or
// "Без звезд: вы открывали подсказку."
std::string AttemptStarWords(const WinReport &report);
// The same after the glyphs: "★★☆ — 2 звезды из 3"; with help, the words alone.
std::string AttemptStars(const WinReport &report);
// «Новый рекорд!» (and what it beat), or the best so far.
std::string BestSoFar(const WinReport &report);

// One level of the book: how many of its tasks have been won, and the
// stars of the best wins against all there are to earn.
struct LevelProgress {
    int Solved = 0;
    int Tasks = 0;
    int Stars = 0;
    int MostStars = 0; // three a task
};

// best: the player's best in the task with this code, if any.
using BestOf = std::function<std::optional<Score>(const std::string &code)>;

// 1 <= level <= kLevelCount
LevelProgress ProgressOf(int level, const BestOf &best);
// «решено 4 из 11, ★ 9 из 33»; without the stars in a lesson.
std::string ProgressText(const LevelProgress &progress, bool lesson);

// The index in the book of the first task after `after` (-1: from the start)
// that has no win, going round to the start; -1 when every task has one.
int NextUnsolved(int after, const BestOf &best);
// The book's index of the task with this code, or -1.
int BookIndexOf(const std::string &code);
