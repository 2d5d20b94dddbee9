// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The window's hot paths, offscreen: one step of a drag and the painting of a vessel.
#include "message_boxes.h"
#include "tfrmmain.h"
#include "vessel_picture.h"

#include <QApplication>
#include <QTest>
#include <QWindow>
#include <QTableView>

#include <benchmark/benchmark.h>

namespace {

class NoBoxes : public MessageBoxes {
public:
    void Show(const std::string &, const std::string &, int) override {}
};

// One pointer move during a drag: find the control under the pointer, move
// the picture, and paint what moved. Alternates between the background and
// another picture so every step really moves it.
void BM_DragOverStep(benchmark::State &state)
{
    NoBoxes boxes;
    TfrmMain window(boxes);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        state.SkipWithError("window not exposed");
        return;
    }
    window.Model().LoadTask(TaskPresets[0]);
    window.BtnBeginClick();
    QWindow *handle = window.windowHandle();
    auto *source = window.findChild<QWidget *>(QStringLiteral("Image1"));
    auto *other = window.findChild<QWidget *>(QStringLiteral("Image2"));
    const QPoint background = window.centralWidget()->mapTo(&window, QPoint(200, 30));
    const QPoint over = other->mapTo(&window, other->rect().center());

    QTest::mousePress(handle, Qt::LeftButton, {}, source->mapTo(&window, source->rect().center()));
    bool flip = false;
    for (auto _ : state) {
        QTest::mouseMove(handle, flip ? background : over);
        QCoreApplication::processEvents();
        flip = !flip;
    }
    QTest::mouseRelease(handle, Qt::LeftButton, {}, background);
}
BENCHMARK(BM_DragOverStep)->Unit(benchmark::kMicrosecond);

// A pour, then its undo, in the real window: the model, the two level fields,
// the two vessels drawn on their surfaces and the list's bookkeeping; the
// screen itself is not painted. Arg 0 is the log's length, arg 1 says which
// half is timed (0 the pour, 1 the undo); the other half puts the log back.
void BM_WindowPourOrUndo(benchmark::State &state)
{
    NoBoxes boxes;
    TfrmMain window(boxes);
    window.Model().LoadTask(TaskPresets[0]);
    window.BtnBeginClick();
    // Filled with the list detached, which is quicker and ends in the same
    // state; then one turn of the event loop, as between two pours in play.
    auto *view = window.findChild<QTableView *>(QStringLiteral("ListView"));
    QAbstractItemModel *model = view->model();
    view->setModel(nullptr);
    for (int r = 1; r < state.range(0); ++r)
        window.Model().AppendMoveRow();
    view->setModel(model);
    QCoreApplication::processEvents();

    const bool undo = state.range(1) == 1;
    for (auto _ : state) {
        if (undo)
            state.PauseTiming();
        window.Model().Pour(1, 2);
        if (undo)
            state.ResumeTiming();
        else
            state.PauseTiming();
        window.BtnUndoClick();
        if (!undo)
            state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowPourOrUndo)
    ->ArgNames({"rows", "undo"})
    ->ArgsProduct({{10, 10'000, 100'000}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// The largest picture, half full.
void BM_DrawVessel(benchmark::State &state)
{
    VesselPicture picture(QStringLiteral("Image1"), 1, QRect(32, 48, 105, 145));
    int level = 6;
    for (auto _ : state) {
        picture.Draw(12, level);
        level = 18 - level; // 6, 12, 6, ...
        benchmark::DoNotOptimize(picture.Surface().constBits());
    }
}
BENCHMARK(BM_DrawVessel)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
