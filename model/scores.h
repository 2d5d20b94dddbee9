// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "help_used.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The player's best win per task, kept as text: one line a task, its code as
// the player sees it, the pours, the date and the help used, separated by
// tabs:
//   12,7,5/12,0,0/6	10	2026-05-01	без помощи
// Lines that do not read as a score (a comment, a half-merged file) are
// skipped, and kept as they stand when the text is written again.

struct Score {
    std::string Code; // as TaskCode writes it
    int Pours = 0;
    std::string Date; // YYYY-MM-DD
    HelpUsed Help;
};

// Whether a is the better of two wins of one task: without help first, then
// fewer pours. A tie keeps the older one.
bool Better(const Score &a, const Score &b);

// Three for the fewest pours, two for at most two more, one for any other
// win; none with help.
int Stars(const Score &score, int fewest);

// "без помощи", "подсказка", "решение", "подсказка и решение".
std::string HelpText(const HelpUsed &help);

// The best win as a sentence: "Ваш лучший результат: 12 переливаний
// (2026-05-01), 2 звезды из 3." or "..., с подсказкой — без звезд."
std::string BestText(const Score &score, int fewest);

// One line of the file, or nothing when it is not a score.
std::optional<Score> ParseScore(std::string_view line);
std::string ScoreLine(const Score &score);

class ScoreBook {
public:
    static ScoreBook Parse(std::string_view text);
    // The text to write: the lines as read, each score at its place.
    std::string Text() const;

    // The best win of the task with this code (as TaskCode writes it).
    std::optional<Score> Best(std::string_view code) const;
    int Count() const;
    // The best win of every task, in the order the file first names them.
    std::vector<Score> All() const;

    // Keeps a win if it beats the best of its task; true when the text changed.
    bool Add(const Score &score);

private:
    struct Line {
        std::string Text;
        std::optional<Score> Entry;
    };
    std::vector<Line> m_lines;
};
