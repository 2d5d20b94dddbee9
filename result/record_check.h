// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "result_reader.h"
#include "rules.h"
#include "solver.h"
#include "task_presets.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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
    // at, which save was graded, why the file cannot be read.
    std::string Detail;
    // The task of the checker's it was graded against, from 0; none for
    // the other task and a file that cannot be read. With one task the
    // fewest is that task's all the same.
    std::optional<std::size_t> Task = std::nullopt;
    // The save graded, from 0 in file order, among all the file's saves.
    std::optional<std::size_t> GradedSave = std::nullopt;
    std::size_t Saves = 0;
};

// A save as the checker names it: "Сохранение 2 из 3" (index from 0).
std::string SaveName(std::size_t index, std::size_t saves);

// A file's saves, each with the verdict it would get were it the one
// graded, and the one that is.
struct FileReview {
    std::vector<RecordCheck> Saves; // in file order; none when not readable
    RecordCheck Verdict; // the file's, as Check gives it; its GradedSave is the save graded
    std::string Problem; // why the file is no result file; empty when it is one
};

// Checks any number of files against one task, or against the variants a
// class was given, whose fewest pours it finds once.
//
// Each save of a file is graded against the task whose starting levels its
// first row holds; the file's verdict is that of its best save: solved
// beats not solved, which beats a wrong move, and of two solved saves the
// one with fewer pours; between equals the later. Where several tasks share
// the starting levels, the file is graded against each, and the best
// verdict counts (solved, then fewest pours over the task's fewest). Rows
// count in file order, whatever their captions say.
class RecordChecker {
public:
    // Needs the values of task codes: 0..999, each level within its vessel;
    // at least one task.
    explicit RecordChecker(const TaskPreset &task);
    explicit RecordChecker(const std::vector<TaskPreset> &tasks);

    std::size_t TaskCount() const { return m_tasks.size(); }
    const TaskPreset &Task(std::size_t n = 0) const { return m_tasks[n].Task; }
    std::optional<int> Fewest(std::size_t n = 0) const;

    RecordCheck Check(const ResultFile &file) const;
    // When *stop turns true the read ends early, and the check says so.
    RecordCheck CheckFile(const std::string &path, const std::atomic<bool> *stop = nullptr) const;
    // Check, and every save's own verdict besides (its details without what
    // the file's adds about which save was graded).
    FileReview Review(const ResultFile &file) const;
    // The same while the file is read, once, and told to `alongside` too:
    // nothing of it is kept here but the saves' verdicts.
    FileReview ReviewFile(const std::string &path, ResultVisitor &alongside) const;

    struct Entry {
        TaskPreset Task;
        Solution Best;
    };

private:
    std::vector<Entry> m_tasks;
    // The tasks by their starting levels, as one number.
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> m_byStart;
};

// A level as a row holds it: ReadDecimalValue, decimal digits and nothing
// else, 0..999. The game writes plain decimal only, so blanks, a sign or the
// field's hex forms ("$C") mean the file was edited, and a check must not
// read a 12 the game never wrote.
std::optional<int> ReadLevel(std::string_view text);

// The three levels of a row, when each reads as a level.
std::optional<std::array<int, 3>> ReadLevels(const ResultRecord &record);

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
