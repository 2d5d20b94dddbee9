// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

// Result files as the game writes them: a puzzle played through its model
// and saved by the writer, in a folder of its own.
#include "memory_fields.h"
#include "puzzle.h"
#include "record_check.h"
#include "recorder.h"
#include "result_writer.h"
#include "solver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

// A game as the player plays it: the puzzle with its fields, the writer
// that every save adds to, in a folder of its own.
class GameFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string dir = (std::filesystem::temp_directory_path() / "sosudnik-check-XXXXXX").string();
        ASSERT_NE(mkdtemp(dir.data()), nullptr);
        home = dir;
        file = (home / "sosudnik.xml").string();
    }
    void TearDown() override { std::filesystem::remove_all(home); }

    void Start(const TaskPreset &task)
    {
        puzzle.LoadTask(task);
        puzzle.AppendMoveRow();
    }
    void Pour(const std::vector<std::pair<int, int>> &pours)
    {
        for (const auto &[source, receiver] : pours)
            puzzle.Pour(source, receiver);
    }
    // The solver's own pours from where the game stands.
    void Solve()
    {
        const VesselState &s = puzzle.State();
        const Solution solution = ::Solve(
            {{s.Capacity(1), s.Capacity(2), s.Capacity(3)}, {s.Level(1), s.Level(2), s.Level(3)}, s.Target()});
        ASSERT_TRUE(solution.Solved());
        for (const SolverStep &step : solution.Steps)
            puzzle.Pour(step.Source, step.Receiver);
    }
    void Save() { writer.Save(puzzle.Log(), file); }
    RecordCheck Check(const TaskPreset &task) const { return RecordChecker(task).CheckFile(file); }

    std::filesystem::path home;
    std::string file;
    Recorder boxes;
    Puzzle puzzle{boxes};
    MemoryFields fields{puzzle};
    ResultWriter writer;
};
