// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// A pour (with its log row) and an undo must cost the same however long the
// game has gone on. Each pour is undone, and each undo re-done, outside the
// timed part, so the log stays at the size named in the benchmark's argument.
#include "memory_fields.h"
#include "puzzle.h"
#include "silent_boxes.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

// The milk puzzle typed in, with the log filled to the given number of rows.
// Every row holds 12 0 0, the levels an undo returns to.
struct Game {
    explicit Game(int rows)
    {
        fields.Capacity(1).SetText("12");
        fields.Capacity(2).SetText("7");
        fields.Capacity(3).SetText("5");
        fields.Level(1).SetText("12");
        fields.Target().SetText("6");
        while (puzzle.Log().RowCount() < rows)
            puzzle.AppendMoveRow();
    }

    // The benchmark is void if the pours did not do what it times.
    bool Intact(int rows) const
    {
        const VesselState &s = puzzle.State();
        return puzzle.Log().RowCount() == rows && s.Level(1) == 12 && s.Level(2) == 0 && s.Level(3) == 0;
    }

    SilentBoxes boxes;
    Puzzle puzzle{boxes};
    MemoryFields fields{puzzle};
};

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double>(to - from).count();
}

// 1 -> 2 moves 7 litres and logs a row; 12 0 0 never meets the target, so no
// success box is involved.
void BM_Pour(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    Game game(rows);
    for (auto _ : state) {
        const auto start = Clock::now();
        game.puzzle.Pour(1, 2);
        const auto end = Clock::now();
        game.puzzle.BtnUndoClick();
        state.SetIterationTime(Seconds(start, end));
    }
    if (!game.Intact(rows))
        state.SkipWithError("the pour or its undo went wrong");
}

void BM_Undo(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    Game game(rows);
    for (auto _ : state) {
        game.puzzle.Pour(1, 2);
        const auto start = Clock::now();
        game.puzzle.BtnUndoClick();
        const auto end = Clock::now();
        state.SetIterationTime(Seconds(start, end));
    }
    if (!game.Intact(rows))
        state.SkipWithError("the pour or its undo went wrong");
}

// Both together, timed by the library itself: a check on the two above,
// which include the clock's own cost.
void BM_PourAndUndo(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    Game game(rows);
    for (auto _ : state) {
        game.puzzle.Pour(1, 2);
        game.puzzle.BtnUndoClick();
    }
    if (!game.Intact(rows))
        state.SkipWithError("the pour or its undo went wrong");
}

void LogSizes(benchmark::internal::Benchmark *b)
{
    b->ArgName("rows")->Arg(10)->Arg(10'000)->Arg(100'000);
}

} // namespace

BENCHMARK(BM_Pour)->Apply(LogSizes)->UseManualTime();
BENCHMARK(BM_Undo)->Apply(LogSizes)->UseManualTime();
BENCHMARK(BM_PourAndUndo)->Apply(LogSizes);

BENCHMARK_MAIN();
