// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Saving the result file: one save of logs of several sizes, the tenth
// save of a 1 000-row log, when the document already holds nine blocks, a
// lesson's save into a pupil's file that an earlier run filled, and twenty
// saves of a 20 000-row log with the memory the writer holds after them.
#include "result_writer.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

double Mib(double bytes);

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

// A lesson's save: the pupil's file, nine saves of an earlier run of
// range(0) rows each, read back and written again with this run's save of
// as many rows (the lock around it is not timed).
void BM_LessonSave(benchmark::State &state)
{
    const MoveLog log = MakeLog(static_cast<int>(state.range(0)));
    const std::string path = (std::filesystem::temp_directory_path()
                              / ("bench_lesson_" + std::to_string(::getpid()) + ".xml"))
                                 .string();
    ResultWriter earlier;
    for (int i = 0; i < 9; ++i)
        earlier.Save(log, path);
    std::string before;
    {
        std::ifstream in(path, std::ios::binary);
        before.assign(std::istreambuf_iterator<char>(in), {});
    }
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << before; // as the earlier run left it
        auto writer = std::make_unique<ResultWriter>();
        writer->AddBlock(log, path);
        state.ResumeTiming();
        const ResultWriter::Earlier read = writer->ReadBack(path);
        writer->WriteWith(path, read, 0, InPlace::Never);
        state.PauseTiming();
        writer.reset();
        state.ResumeTiming();
    }
    state.counters["file_MiB"] = Mib(static_cast<double>(before.size()));
    std::filesystem::remove(path);
}
BENCHMARK(BM_LessonSave)->Arg(1'000)->Arg(20'000)->Unit(benchmark::kMillisecond);

double Mib(double bytes)
{
    return bytes / (1024.0 * 1024.0);
}

// The resident set once freed memory has gone back to the system, so what
// is counted is what the writer holds, not what the heap kept.
double ResidentMib()
{
    malloc_trim(0);
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return Mib(static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)));
}

// The peak resident set since the last ResetPeak.
double PeakMib()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long kib = 0;
    while (status >> key)
        if (key == "VmHWM:" && status >> kib)
            return static_cast<double>(kib) / 1024.0;
    return 0;
}

void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// A player who saves twenty times during one long game: every save writes all
// the blocks before it. Time is per save; the memory figures are taken with the
// writer still alive after its twentieth save.
void BM_TwentySaves(benchmark::State &state)
{
    constexpr int kSaves = 20;
    const MoveLog log = MakeLog(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        const double before = ResidentMib();
        ResetPeak();
        auto writer = std::make_unique<ResultWriter>();
        state.ResumeTiming();
        for (int i = 0; i < kSaves; ++i)
            writer->Save(log);
        state.PauseTiming();
        const double file = Mib(static_cast<double>(std::filesystem::file_size(kResultFileName)));
        state.counters["file_MiB"] = file;
        state.counters["held_MiB"] = ResidentMib() - before;
        state.counters["peak_MiB"] = PeakMib() - before;
        state.counters["rss_MiB"] = ResidentMib();
        writer.reset();
        state.ResumeTiming();
    }
    state.counters["save"] = benchmark::Counter(static_cast<double>(state.iterations()) * kSaves,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TwentySaves)->Arg(20'000)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

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
