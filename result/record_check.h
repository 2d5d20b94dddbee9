// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "result_reader.h"
#include "rules.h"
#include "solver.h"
#include "task_presets.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// A file's saves, each with the verdict it would get were it the one
// graded, and the one that is.
struct FileReview {
    std::vector<RecordCheck> Saves; // in file order; none when not readable
    std::optional<std::size_t> Graded; // the save the file's verdict is that of
    RecordCheck Verdict; // the file's, as Check gives it
    std::string Problem; // why the file is no result file; empty when it is one
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
    // Check, and every save's own verdict besides (its details without the
    // file's "Проверено сохранение 2 из 3.").
    FileReview Review(const ResultFile &file) const;
    // The same while the file is read, once, and told to `alongside` too:
    // nothing of it is kept here but the saves' verdicts.
    FileReview ReviewFile(const std::string &path, ResultVisitor &alongside) const;

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

// "сохранение 2 из 3": a save as the checker numbers it, from 0 in file
// order, every save of the file counted.
std::string SaveName(std::size_t index, std::size_t saves);

// A row of a save read against the row before it, as the checker reads it.
struct RowStep {
    std::optional<std::array<int, 3>> Levels; // when each reads as a level
    std::optional<PourMove> Pour; // the one pour that leads here, if one does
    bool Goal = false; // that pour leaves the target in its source or receiver
    // Why the row is not one legal pour from the one before, in the
    // checker's words ("Ход 3 (5 2 5) не получить из хода 2 ..."); empty
    // when it is one.
    std::string Wrong;
};

// row >= 1, its number in the save; before: the levels of row - 1.
RowStep StepFrom(const std::array<int, 3> &before, const ResultRecord &record, std::size_t row, const TaskPreset &task);
