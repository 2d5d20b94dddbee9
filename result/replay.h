// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "record_check.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// A pupil's file replayed against a task: its saves numbered and judged as
// the checker numbers and judges them, the save it grades, and each save's
// rows read as the checker reads them. Reading only: nothing is written.

struct ReplayRow {
    std::string Caption; // as the file holds it
    std::array<std::string, 3> Texts; // the levels as written
    // For the first row, whether it reads as levels; for the others the
    // checker's step from the row before (none after a row that did not read).
    RowStep Step;
    bool Checked = false; // the row before read as levels, so this one was judged
};

struct ReplaySave {
    std::string Name; // "Сохранение 2 из 3"
    bool OfTask = false; // starts at the task's levels: only then are its rows judged
    RecordCheck Check; // its verdict, were it the one graded
    std::vector<ReplayRow> Rows;
    std::optional<std::size_t> FirstGoal; // the row whose pour first reaches the target
};

struct Replay {
    TaskPreset Task{};
    std::string Problem; // why the file is no result file; empty when it is
    std::vector<ReplaySave> Saves;
    std::optional<std::size_t> Graded; // the save the file's verdict is that of
    RecordCheck Verdict; // the file's, as the checker gives it
};

Replay ReplayOf(const ResultFile &file, const TaskPreset &task);
// Reads the file (a path in the system's encoding) with the safe reader.
Replay ReplayFile(const std::string &path, const TaskPreset &task);

// The levels to show for a row: each that reads as a level, else 0.
std::array<int, 3> ShownLevels(const ReplayRow &row);
