// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// One Solve, from the smallest table to the hardest positions found by
// bench_solver_worst; and the hint in a long game, which may ask the solver
// about several rows of the log.
#include "advice.h"
#include "memory_fields.h"
#include "puzzle.h"
#include "silent_boxes.h"
#include "solver.h"

#include <benchmark/benchmark.h>

namespace {

struct Case {
    const char *Name;
    TaskPreset Task;
};

const Case kCases[] = {
    {"milk", TaskPresets[0]},
    {"kvass", TaskPresets[1]},
    {"999,500,499 to 749 (997 pours)", {{999, 500, 499}, {999, 0, 0}, 749}},
    // The worst found by bench_solver_worst (seed 1, 200 000 candidates):
    // the longest shortest solution, and the most positions reached.
    {"longest found (1054 pours)", {{999, 947, 672}, {327, 881, 114}, 966}},
    {"most positions found (2623)", {{999, 974, 656}, {94, 579, 639}, 896}},
    {"largest table, little reached", {{999, 998, 997}, {999, 0, 0}, 1}},
    {"even levels only (no search)", {{999, 4, 6}, {6, 0, 0}, 3}},
};

void BM_Solve(benchmark::State &state)
{
    const Case &c = kCases[state.range(0)];
    state.SetLabel(c.Name);
    int pours = 0;
    int positions = 0;
    for (auto _ : state) {
        const Solution s = Solve(c.Task);
        benchmark::DoNotOptimize(s.Steps.data());
        pours = s.Pours();
        positions = s.Positions;
    }
    state.counters["pours"] = pours;
    state.counters["positions"] = positions;
}
BENCHMARK(BM_Solve)->DenseRange(0, std::size(kCases) - 1)->Unit(benchmark::kMicrosecond);

// A game of 8 7 6 scaled up as far as it goes is still small; the cost that
// grows is the log: the hint bisects it when the goal is out of reach.
void BM_HintOutOfReach(benchmark::State &state)
{
    SilentBoxes boxes;
    Puzzle puzzle(boxes);
    MemoryFields fields(puzzle);
    puzzle.LoadTask({{8, 7, 6}, {5, 5, 0}, 5});
    puzzle.AppendMoveRow();
    puzzle.Pour(1, 2); // 3 7 0: 5 is out of reach from here on
    while (puzzle.Log().RowCount() < state.range(0)) {
        puzzle.Pour(2, 3);
        puzzle.Pour(3, 2);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(Hint(puzzle.State(), puzzle.Log()).Text.data());
}
BENCHMARK(BM_HintOutOfReach)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
