// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Worksheets: a class's variants with their key, as the command makes and
// writes them, and the largest sheet there is; how long the window's event
// loop waits at most while the dialog makes that largest one; and the real
// program, start-up included.
// Usage: bench_worksheet   (prints its own figures)
#include "loop_wait.h"
#include "task_book.h"
#include "worksheet.h"
#include "worksheet_dialog.h"
#include "worksheet_pdf.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

Worksheet Sheet(const char *level, const char *count, const char *variants)
{
    return PlanWorksheet(ReadWorksheetRequest({level, count, "7", variants}, 0));
}

// Planned, painted and written, as `--worksheet ... -o FILE` does in-process.
double WriteMs(const char *level, const char *count, const char *variants, const QString &dir, int &pages)
{
    QElapsedTimer clock;
    clock.start();
    const std::optional<WorksheetPdfs> pdfs = WriteWorksheet(Sheet(level, count, variants),
        {QFile::encodeName(dir + QStringLiteral("/sheet.pdf")).toStdString(),
            QFile::encodeName(dir + QStringLiteral("/key.pdf")).toStdString()});
    pages = pdfs ? pdfs->SheetPages + pdfs->KeyPages : 0;
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// The dialog makes the largest sheet while a timer that wants to run every
// millisecond notes the longest wait between its runs.
double LongestWaitMs(const QString &dir, double &madeMs)
{
    WorksheetDialog dialog(QString{});
    dialog.show();
    dialog.findChild<QRadioButton *>(QStringLiteral("Random"))->setChecked(true);
    dialog.findChild<QComboBox *>(QStringLiteral("Level"))->setCurrentIndex(kLevelCount - 1);
    dialog.findChild<QSpinBox *>(QStringLiteral("Count"))->setValue(kMaxSheetTasks);
    dialog.findChild<QSpinBox *>(QStringLiteral("Variants"))->setValue(kMaxVariants);
    dialog.SetChooser([&dir](const QString &, const QString &) { return dir + QStringLiteral("/largest.pdf"); });

    const LoopWait wait = WaitOnTheLoop([&dialog] { dialog.Make(); }, [&dialog] { return dialog.Making(); });
    madeMs = wait.DoneMs;
    return wait.LongestMs;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;

    std::vector<double> times;
    int pages = 0;
    for (int run = 0; run < 5; ++run)
        times.push_back(WriteMs("level=3", "4", "30", dir.path(), pages));
    std::printf("30 variants of 4 tasks (level 3) with a key, in-process: median %.0f ms of 5 (%d pages)\n",
        Median(times), pages);

    times.clear();
    const QString program = QStringLiteral(SOSUDNIK_EXE);
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer clock;
        clock.start();
        QProcess::execute(program,
            {QStringLiteral("--worksheet"), QStringLiteral("level=3"), QStringLiteral("--count"), QStringLiteral("4"),
                QStringLiteral("--variants"), QStringLiteral("30"), QStringLiteral("--seed"), QStringLiteral("7"),
                QStringLiteral("-o"), dir.filePath(QStringLiteral("p.pdf")), QStringLiteral("--key"),
                dir.filePath(QStringLiteral("pk.pdf"))});
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("the same by sosudnik --worksheet, start-up included: median %.0f ms of 5\n", Median(times));

    const double largest = WriteMs("level=5", "20", "200", dir.path(), pages);
    std::printf("200 variants of 20 tasks (level 5) with a key, in-process: %.0f ms (%d pages)\n", largest, pages);

    double madeMs = 0;
    const double wait = LongestWaitMs(dir.path(), madeMs);
    std::printf("the dialog making that sheet: done in %.0f ms, the event loop waited at most %.1f ms\n", madeMs, wait);
    return 0;
}
