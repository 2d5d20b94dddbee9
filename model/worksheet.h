// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "solver.h"
#include "task_presets.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A sheet of tasks to hand out, and its answer key: which tasks, in what
// words, and how many rows each pupil's table of pours gets. What the
// sheet looks like on paper is the printing's business.

inline constexpr int kMaxSheetTasks = 20;
inline constexpr int kMaxVariants = 200;
// Random tasks when --count is not given.
inline constexpr int kDefaultSheetTasks = 4;

enum class SheetSource {
    Book, // book=1,5,23
    Codes, // code=12,7,5/12,0,0/6+8,5,3/8,0,0/4
    Level, // level=3, with a count, a seed and variants
};

// What a sheet is made of, read from the arguments.
struct WorksheetRequest {
    SheetSource Source = SheetSource::Book;
    std::vector<int> BookNumbers; // 1-based, as the book numbers them
    std::vector<TaskPreset> Codes;
    int Level = 0;
    int Count = kDefaultSheetTasks;
    std::uint32_t Seed = 0;
    bool SeedChosen = false; // no seed was given: this one was drawn
    int Variants = 1;
};

// The arguments as typed: WHAT, and the options that shape it when given.
struct WorksheetArguments {
    std::string What;
    std::optional<std::string> Count;
    std::optional<std::string> Seed;
    std::optional<std::string> Variants;
};

// Reads them; drawnSeed is used when no seed is given. Throws
// std::invalid_argument with the reason in Russian, a sentence without its
// full stop that ends in a word.
WorksheetRequest ReadWorksheetRequest(const WorksheetArguments &arguments, std::uint32_t drawnSeed);

// The arguments that make the same sheet again, as the key prints them:
// "level=3 --count 6 --seed 7 --variants 30".
std::string WorksheetArgumentsText(const WorksheetRequest &request);

struct SheetTask {
    TaskPreset Task{};
    std::string Title;
    std::string Statement;
    int BookNumber = 0; // 0 when it is not from the book
    Solution Answer; // a shortest solution, or why there is none
};

struct SheetVariant {
    int Number = 1; // from 1
    std::vector<SheetTask> Tasks;
};

struct Worksheet {
    WorksheetRequest Request;
    std::vector<SheetVariant> Variants;
    // Rows of every pupil's table on the sheet: the same for all its tasks
    // and variants, and never sized to any task's answer.
    int Rows = 0;
};

// The tasks, their words and their answers. For random tasks each variant
// draws its own, all different where the level allows; the same request
// gives the same sheet on any machine.
Worksheet PlanWorksheet(const WorksheetRequest &request);

// Rows of a pupil's table for a sheet whose hardest task is of this level
// (task_book.h; 0 for a single pour or no solution): by the band alone.
int SheetRows(int hardestLevel);

// A task told by its numbers, for a sheet: "Сосуды вмещают 12, 7 и 5 литров.
// Первый полон, второй и третий пусты. Получите ровно 6 литров в одном из
// сосудов."
std::string StatementInWords(const TaskPreset &task);

// "Сосуды 12, 7 и 5": the title of a task that has none of its own.
std::string TitleInWords(const TaskPreset &task);

// The book task with this task's numbers, if there is one.
std::optional<int> BookNumberOf(const TaskPreset &task);
