// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// «Проверить записи…» in the window (offscreen) on a class of files written
// by the game: how long the event loop is ever kept from turning while the
// files are read and their rows come in, and how long until the last row.
// A timer asks to fire every millisecond; the longest gap between two of
// its turns is the longest the window could not answer, and the window's
// thread's processor time over that gap says how much of it was its own
// work rather than waiting for a processor (the check's own thread, and
// every other program, share them).
// Usage: bench_check_window [FILES...]   (default 2000 and 10000 files of 100 records)
#include "record_check_command.h"
#include "record_check_dialog.h"
#include "result_writer.h"
#include "silent_boxes.h"
#include "tfrmmain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kRuns = 5;

void WriteClass(const QString &dir, int files)
{
    MoveLog log;
    std::array<int, 3> levels{12, 0, 0};
    for (int r = 0; r < 100; ++r) {
        log.Append({std::to_string(r), {std::to_string(levels[0]), std::to_string(levels[1]), std::to_string(levels[2])}});
        levels = r % 2 == 0 ? std::array<int, 3>{5, 7, 0} : std::array<int, 3>{12, 0, 0};
    }
    for (int f = 0; f < files; ++f) {
        ResultWriter writer;
        writer.Save(log, QDir(dir).filePath(QStringLiteral("pupil%1.xml").arg(f)).toStdString());
    }
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The window's own thread's processor time: a gap in it is work, where a
// gap in wall time may also be the system giving the processor to others.
double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Run {
    double LongestGapMs = 0;
    double LongestWorkMs = 0; // the longest gap in the thread's processor time
    double UntilShownMs = 0; // from the menu entry to the first turn of the dialog's loop
    double UntilDoneMs = 0;
};

Run CheckOnce(TfrmMain &window, const QString &folder)
{
    auto *command = window.findChild<RecordCheckCommand *>();
    Run run;
    QElapsedTimer clock;
    qint64 last = -1;
    double lastCpu = 0;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    ticks.setInterval(1);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        const double cpu = ThreadCpuMs();
        if (last < 0) {
            run.UntilShownMs = static_cast<double>(now) / 1e6;
        } else {
            run.LongestGapMs = std::max(run.LongestGapMs, static_cast<double>(now - last) / 1e6);
            run.LongestWorkMs = std::max(run.LongestWorkMs, cpu - lastCpu);
        }
        last = now;
        lastCpu = cpu;
        auto *dialog = qobject_cast<RecordCheckDialog *>(QApplication::activeModalWidget());
        if (dialog && dialog->Finished()) {
            run.UntilDoneMs = static_cast<double>(now) / 1e6;
            dialog->reject();
        }
    });
    ticks.start();
    clock.start();
    command->ShowVerdicts({folder});
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {2000, 10000};
    SilentBoxes boxes;
    Game game(boxes);
    TfrmMain window(game);
    window.show();
    window.StartTaskCode("12,7,5/12,0,0/6");
    for (const int files : sizes) {
        QTemporaryDir dir;
        WriteClass(dir.path(), files);
        std::vector<double> gaps, work, shown, done;
        for (int i = 0; i < kRuns; ++i) {
            const Run run = CheckOnce(window, dir.path());
            gaps.push_back(run.LongestGapMs);
            work.push_back(run.LongestWorkMs);
            shown.push_back(run.UntilShownMs);
            done.push_back(run.UntilDoneMs);
        }
        std::printf("%d files of 100 records in the window, medians of %d: longest stall of the event loop %.1f ms "
                    "(runs %.1f to %.1f), of which the window's own work %.1f ms (runs %.1f to %.1f); dialog up "
                    "after %.1f ms, last row after %.0f ms\n",
                    files, kRuns, Median(gaps), *std::min_element(gaps.begin(), gaps.end()),
                    *std::max_element(gaps.begin(), gaps.end()), Median(work),
                    *std::min_element(work.begin(), work.end()), *std::max_element(work.begin(), work.end()),
                    Median(shown), Median(done));
    }
    return 0;
}
