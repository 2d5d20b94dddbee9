// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The task book's dialog opened for the first time, with a records file to
// read, and a task generated for each level.
#include "book_dialog.h"
#include "scores_file.h"
#include "task_book.h"
#include "task_code.h"
#include "task_generator.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

// A score for every task of the book, as a player who solved them all has.
void WriteScores()
{
    std::string text;
    int pours = 0;
    for (const BookTask &task : TaskBook())
        text += TaskCode(task.Task) + "\t" + std::to_string(task.Fewest + pours++ % 4) + "\t2026-05-01\tбез помощи\n";
    QDir().mkpath(QFileInfo(ScoresFile::Path()).path());
    QFile file(ScoresFile::Path());
    if (!file.open(QIODevice::WriteOnly))
        qFatal("no records file");
    file.write(text.data(), static_cast<qint64>(text.size()));
}

// What "Сборник задач…" does the first time: make the dialog, read the
// records, fill them in, and show it until it is on the screen.
void BM_OpenBookFirstTime(benchmark::State &state)
{
    WriteScores();
    for (auto _ : state) {
        auto *dialog = new BookDialog;
        ScoresFile records;
        records.Load();
        dialog->ShowScores([&records](const std::string &code) { return records.Best(code); });
        dialog->show();
        if (!QTest::qWaitForWindowExposed(dialog))
            state.SkipWithError("the dialog was never shown");
        QCoreApplication::processEvents();
        state.PauseTiming();
        delete dialog;
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenBookFirstTime)->Unit(benchmark::kMillisecond);

// Seed after seed: the mean over many, each its own number of candidates.
void BM_GenerateTask(benchmark::State &state)
{
    const int level = static_cast<int>(state.range(0));
    std::uint32_t seed = 0;
    long long candidates = 0;
    for (auto _ : state) {
        GeneratedTask task = GenerateTask(level, seed++);
        candidates += task.Candidates;
        benchmark::DoNotOptimize(task);
    }
    state.counters["candidates"] = benchmark::Counter(static_cast<double>(candidates),
                                                      benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_GenerateTask)->DenseRange(1, kLevelCount)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
