// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The replay of the largest file a pupil can hand in: one save of legal
// pours up to the reader's limit, every row read and judged; and how long the
// window's event loop waits at most while the replay window opens it.
// Usage: bench_replay   (prints its own figures)
#include "loop_wait.h"
#include "peak_memory.h"
#include "replay.h"
#include "replay_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr TaskPreset kMilk = TaskPresets[0];

// Rows 12 0 0 and 5 7 0 in turn: each a legal pour from the one before.
std::size_t WriteLargest(const QString &path)
{
    const std::string row[] = {"<Record Column0=\"0\" Column1=\"12\" Column2=\"0\" Column3=\"0\"/>",
        "<Record Column0=\"1\" Column1=\"5\" Column2=\"7\" Column3=\"0\"/>"};
    std::string text = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<ListStore><Columns/><Data>";
    const std::string tail = "</Data></ListStore>\n";
    std::size_t rows = 0;
    for (; text.size() + row[rows % 2].size() + tail.size() <= kMaxResultFileBytes; ++rows)
        text += row[rows % 2];
    text += tail;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0)
        qFatal("cannot write %s", qPrintable(path));
    return rows;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("largest.xml"));
    const std::size_t rows = WriteLargest(path);
    const std::string file = QFile::encodeName(path).toStdString();

    const long before = PeakKib();
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer clock;
        clock.start();
        const Replay replay = ReplayFile(file, kMilk);
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        if (replay.Saves.size() != 1 || replay.Saves[0].Rows.size() != rows)
            qFatal("the replay lost rows");
    }
    std::printf("file of %zu rows read and every row judged: median of 5 %.0f ms, peak resident +%ld MiB\n", rows,
        Median(times), (PeakKib() - before) / 1024);

    ReplayWindow window(kMilk);
    window.show();
    const LoopWait wait = WaitOnTheLoop([&] { window.Open(path); }, [&] { return window.Loading(); });
    std::printf("the replay window opening it: shown in %.0f ms, the event loop waited at most %.1f ms\n", wait.DoneMs,
        wait.LongestMs);
    return 0;
}
