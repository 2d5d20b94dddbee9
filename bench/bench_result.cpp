// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Saving the result file: one save of logs of several sizes, and the tenth
// save of a 1 000-row log, when the document already holds nine blocks.
#include "result_writer.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

MoveLog MakeLog(int rows)
{
    MoveLog log;
    for (int r = 0; r < rows; ++r)
        log.Append({std::to_string(r), {std::to_string(r % 13), std::to_string(r % 8), std::to_string(r % 6)}});
    return log;
}

void BM_SaveOnce(benchmark::State &state)
{
    const MoveLog log = MakeLog(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto writer = std::make_unique<ResultWriter>();
        state.ResumeTiming();
        writer->Save(log);
        state.PauseTiming();
        writer.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveOnce)->Arg(100)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_TenthSave(benchmark::State &state)
{
    const MoveLog log = MakeLog(1'000);
    for (auto _ : state) {
        state.PauseTiming();
        auto writer = std::make_unique<ResultWriter>();
        for (int i = 0; i < 9; ++i)
            writer->Save(log);
        state.ResumeTiming();
        writer->Save(log);
        state.PauseTiming();
        writer.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TenthSave)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    XmlRuntime xml;
    // Saves land in the current directory: keep them out of the source tree.
    const auto dir = std::filesystem::temp_directory_path() / "sosudnik-bench";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(dir);
    return 0;
}
