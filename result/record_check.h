// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "result_reader.h"
#include "solver.h"
#include "task_presets.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// Grading a saved game: does the file show the task solved by legal pours,
// and in how many against the fewest.

enum class Verdict {
    Solved, // every row follows by one pour, and a pour reaches the target
    NotSolved, // every row follows by one pour, none reaches the target
    WrongMove, // a row does not follow from the one before by one pour
    OtherTask, // no save starts at the task's levels
    Unreadable, // not a result file
};

// "решено", "не решено", "неверный ход", "другая задача", "не читается".
const char *VerdictWord(Verdict verdict);

struct RecordCheck {
    Verdict Result = Verdict::Unreadable;
    // The player's pours: up to the first that reaches the target when
    // solved, all of them when not; none for the other verdicts.
    std::optional<int> Pours;
    // The task's fewest pours; none when it cannot be solved.
    std::optional<int> Fewest;
    // What the teacher needs to know, in Russian, one line with no control
    // characters: the row that breaks the rules, the levels the saves start
    // at, why the file cannot be read.
    std::string Detail;
};

// Checks any number of files against one task, whose fewest pours it finds
// once.
class RecordChecker {
public:
    // Needs the values of a task code: 0..999, each level within its vessel.
    explicit RecordChecker(const TaskPreset &task);

    const TaskPreset &Task() const { return m_task; }
    std::optional<int> Fewest() const;

    // The last save whose first row holds the task's starting levels is
    // checked; rows count in file order, whatever their captions say.
    RecordCheck Check(const ResultFile &file) const;
    RecordCheck CheckFile(const std::string &path) const;

private:
    TaskPreset m_task;
    Solution m_solution;
};

// A level as a row holds it: ReadDecimalValue, decimal digits and nothing
// else, 0..999. The game writes plain decimal only, so blanks, a sign or the
// field's hex forms ("$C") mean the file was edited, and a check must not
// read a 12 the game never wrote.
std::optional<int> ReadLevel(std::string_view text);

// The three levels of a row, when each reads as a level.
std::optional<std::array<int, 3>> ReadLevels(const ResultRecord &record);
