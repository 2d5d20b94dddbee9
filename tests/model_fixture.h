// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "memory_fields.h"
#include "puzzle.h"
#include "recorder.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

using Levels = std::array<int, 3>;

inline TaskPreset Task(Levels capacities, Levels levels, int target)
{
    return {{capacities[0], capacities[1], capacities[2]}, {levels[0], levels[1], levels[2]}, target};
}

class PuzzleTest : public testing::Test {
protected:
    PuzzleTest()
    {
        boxes.Watch(puzzle);
        repaintsSeen = puzzle.VesselChangedNotice().Subscribe([this](int n) { repaints.push_back(n); });
    }

    // Types a puzzle in as the player would, then starts the game.
    void Start(Levels capacities, Levels levels, int target)
    {
        for (int n = 1; n <= 3; ++n)
            fields.Capacity(n).SetText(std::to_string(capacities[static_cast<std::size_t>(n - 1)]));
        for (int n = 1; n <= 3; ++n)
            fields.Level(n).SetText(std::to_string(levels[static_cast<std::size_t>(n - 1)]));
        fields.Target().SetText(std::to_string(target));
        puzzle.AppendMoveRow();
    }

    // Pours written as "1>2 2>3 ...".
    void Pours(const std::string &moves)
    {
        std::istringstream in(moves);
        std::string move;
        while (in >> move)
            puzzle.Pour(move[0] - '0', move[2] - '0');
    }

    Levels Stored() const
    {
        const VesselState &s = puzzle.State();
        return {s.Level(1), s.Level(2), s.Level(3)};
    }

    std::vector<std::string> LastRow() const
    {
        const MoveLog &log = puzzle.Log();
        const int r = log.RowCount() - 1;
        return {log.Cell(r, 0), log.Cell(r, 1), log.Cell(r, 2), log.Cell(r, 3)};
    }

    Recorder boxes;
    Puzzle puzzle{boxes};
    MemoryFields fields{puzzle};
    std::vector<int> repaints;
    Subscription repaintsSeen;
};
