// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The window's hot paths: one step of a drag and the painting of a vessel;
// and each action as the player meets it, in a shown window: the handler, the
// turn of the event loop after it and the repaint it causes, until the frame
// is handed to the platform. Offscreen unless QT_QPA_PLATFORM says otherwise
// (bench/run.sh; under Xvfb: QT_QPA_PLATFORM=xcb with a DISPLAY).
#include "pour_animation.h"
#include "silent_boxes.h"
#include "tfrmmain.h"
#include "vessel_picture.h"
#include "window_zoom.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QVariantAnimation>
#include <QWindow>

#include <benchmark/benchmark.h>

namespace {

// One pointer move during a drag: find the control under the pointer, move
// the picture, and paint what moved. Alternates between the background and
// another picture so every step really moves it.
void BM_DragOverStep(benchmark::State &state)
{
    SilentBoxes boxes;
    Game game(boxes);
    TfrmMain window(game);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        state.SkipWithError("window not exposed");
        return;
    }
    window.Puzzle().LoadTask(TaskPresets[0]);
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
    SilentBoxes boxes;
    Game game(boxes);
    TfrmMain window(game);
    window.Puzzle().LoadTask(TaskPresets[0]);
    window.BtnBeginClick();
    // Filled with the list detached, which is quicker and ends in the same
    // state; then one turn of the event loop, as between two pours in play.
    auto *view = window.findChild<QTableView *>(QStringLiteral("ListView"));
    QAbstractItemModel *model = view->model();
    view->setModel(nullptr);
    for (int r = 1; r < state.range(0); ++r)
        window.Puzzle().AppendMoveRow();
    view->setModel(model);
    QCoreApplication::processEvents();

    const bool undo = state.range(1) == 1;
    for (auto _ : state) {
        if (undo)
            state.PauseTiming();
        window.Puzzle().Pour(1, 2);
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
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawVessel)->Unit(benchmark::kMicrosecond);

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
    Q_OBJECT

public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int Count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++Count;
        return false;
    }
};

// Turns the event loop until each counter has seen a paint since its mark:
// the action's queued work has run and its frame has gone out. False if that
// took longer than a second (a benchmark error, not a figure).
bool UntilPainted(std::initializer_list<std::pair<PaintCounter *, int>> marks)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        QCoreApplication::processEvents();
        bool all = true;
        for (const auto &[counter, mark] : marks)
            all = all && counter->Count > mark;
        if (all)
            return true;
        if (clock.elapsed() > 1000)
            return false;
    }
}

// The shown main window in play with the milk task and a log of `rows` rows,
// painted and settled.
class ShownGame {
public:
    explicit ShownGame(int rows)
        : game(boxes)
        , window(game)
    {
        window.show();
        Ready = QTest::qWaitForWindowExposed(&window);
        window.Puzzle().LoadTask(TaskPresets[0]);
        window.BtnBeginClick();
        List = window.findChild<QTableView *>(QStringLiteral("ListView"));
        QAbstractItemModel *model = List->model();
        List->setModel(nullptr); // quicker to fill detached; the same state after
        for (int r = 1; r < rows; ++r)
            window.Puzzle().AppendMoveRow();
        List->setModel(model);
        List->scrollToBottom();
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
    }

    SilentBoxes boxes;
    Game game;
    TfrmMain window;
    QTableView *List = nullptr;
    bool Ready = false;
};

// A pour (1 into 2 of the milk task) or its undo, timed from the handler's
// call until the frame with the two vessels and the list is out. The other
// half puts the log back, untimed. Arg 0 is the log's length, arg 1 which
// half is timed (0 the pour, 1 the undo).
void BM_ShownPourOrUndo(benchmark::State &state)
{
    ShownGame game(static_cast<int>(state.range(0)));
    if (!game.Ready) {
        state.SkipWithError("window not exposed");
        return;
    }
    PaintCounter vessel(game.window.findChild<QWidget *>(QStringLiteral("Image2")));
    PaintCounter list(game.List->viewport());
    const bool undo = state.range(1) == 1;
    auto pour = [&] {
        const std::pair<PaintCounter *, int> marks[] = {{&vessel, vessel.Count}, {&list, list.Count}};
        game.window.Puzzle().Pour(1, 2);
        return UntilPainted({marks[0], marks[1]});
    };
    auto takeBack = [&] {
        const std::pair<PaintCounter *, int> marks[] = {{&vessel, vessel.Count}, {&list, list.Count}};
        game.window.BtnUndoClick();
        return UntilPainted({marks[0], marks[1]});
    };
    for (auto _ : state) {
        if (undo)
            state.PauseTiming();
        bool ok = pour();
        if (undo)
            state.ResumeTiming();
        else
            state.PauseTiming();
        ok = takeBack() && ok;
        if (!undo)
            state.ResumeTiming();
        if (!ok) {
            state.SkipWithError("no frame within a second");
            break;
        }
    }
}
BENCHMARK(BM_ShownPourOrUndo)
    ->ArgNames({"rows", "undo"})
    ->ArgsProduct({{10, 10'000, 100'000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One pointer move of a drag in the shown window, with the log at `rows`
// rows: the move, the target found, the picture moved and the frame out.
void BM_ShownDragStep(benchmark::State &state)
{
    ShownGame game(static_cast<int>(state.range(0)));
    if (!game.Ready) {
        state.SkipWithError("window not exposed");
        return;
    }
    TfrmMain &window = game.window;
    QWindow *handle = window.windowHandle();
    auto *source = window.findChild<QWidget *>(QStringLiteral("Image1"));
    auto *other = window.findChild<QWidget *>(QStringLiteral("Image2"));
    const QPoint background = window.centralWidget()->mapTo(&window, QPoint(200, 30));
    const QPoint over = other->mapTo(&window, other->rect().center());
    PaintCounter moved(source);

    QTest::mousePress(handle, Qt::LeftButton, {}, source->mapTo(&window, source->rect().center()));
    UntilPainted({{&moved, moved.Count}});
    bool flip = false;
    for (auto _ : state) {
        const int mark = moved.Count;
        QTest::mouseMove(handle, flip ? background : over);
        if (!UntilPainted({{&moved, mark}})) {
            state.SkipWithError("no frame within a second");
            break;
        }
        flip = !flip;
    }
    QTest::mouseRelease(handle, Qt::LeftButton, {}, background);
}
BENCHMARK(BM_ShownDragStep)
    ->ArgName("rows")
    ->Arg(10)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One keystroke at the end of a value field that holds a pasted mebibyte:
// the whole text is judged (and rejected) on every key, then painted. The
// field has no length cap, so nothing is cut into another number.
void BM_KeystrokeInAMebibyteField(benchmark::State &state)
{
    ShownGame shown(1);
    if (!shown.Ready) {
        state.SkipWithError("window not exposed");
        return;
    }
    TfrmMain &window = shown.window;
    window.MnuNewClick();
    auto *edit = window.findChild<QLineEdit *>(QStringLiteral("EditV1"));
    edit->setFocus();
    edit->setText(QString(1 << 20, QLatin1Char('7')));
    edit->end(false);
    QCoreApplication::processEvents();
    bool type = true;
    for (auto _ : state) {
        QTest::keyClick(edit, type ? Qt::Key_1 : Qt::Key_Backspace);
        type = !type;
        edit->repaint();
    }
    if (edit->text().size() < (1 << 20))
        state.SkipWithError("the field was cut");
}
BENCHMARK(BM_KeystrokeInAMebibyteField)->Unit(benchmark::kMillisecond);

// A change of scale as the player sees it: from 1 to 2, the whole form laid
// out again, until its frame (the vessels and the list painted) is handed
// over. The way back to 1 is not timed.
void BM_ScaleToTwo(benchmark::State &state)
{
    ShownGame game(10);
    if (!game.Ready) {
        state.SkipWithError("window not exposed");
        return;
    }
    auto *zoom = game.window.findChild<WindowZoom *>();
    PaintCounter vessel(game.window.findChild<QWidget *>(QStringLiteral("Image1")));
    PaintCounter list(game.List->viewport());
    auto scale = [&](qreal to) {
        const std::pair<PaintCounter *, int> marks[] = {{&vessel, vessel.Count}, {&list, list.Count}};
        zoom->Apply(to);
        return UntilPainted({marks[0], marks[1]});
    };
    for (auto _ : state) {
        bool ok = scale(2.0);
        state.PauseTiming();
        ok = scale(1.0) && ok;
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError("no frame within a second");
            break;
        }
    }
}
BENCHMARK(BM_ScaleToTwo)->Unit(benchmark::kMillisecond)->UseRealTime();

// One frame of «Анимация переливания» at scale 2: both pictures of a pour
// painted at the next moment of the easing, until the frame is handed over.
// The frames step through the fifth of a second; a new eased pour (untimed)
// follows the last.
void BM_EasedFrameAtTwo(benchmark::State &state)
{
    ShownGame game(10);
    if (!game.Ready) {
        state.SkipWithError("window not exposed");
        return;
    }
    game.window.findChild<WindowZoom *>()->Apply(2.0);
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    PourAnimation &animation = game.window.Animation();
    animation.SetOn(true);
    auto *source = game.window.findChild<VesselPicture *>(QStringLiteral("Image1"));
    auto *receiver = game.window.findChild<VesselPicture *>(QStringLiteral("Image2"));
    PaintCounter painted1(source);
    PaintCounter painted2(receiver);
    const auto pour = [&] {
        animation.FinishAll();
        game.window.BtnUndoClick();
        animation.FinishAll();
        game.window.Image1DragDrop(receiver, source); // 1 into 2, eased
    };
    pour();
    int at = 0;
    for (auto _ : state) {
        at += 16;
        if (at >= VesselPicture::kEaseMs || !animation.Easing()) {
            state.PauseTiming();
            pour();
            at = 16;
            state.ResumeTiming();
        }
        const std::pair<PaintCounter *, int> marks[] = {{&painted1, painted1.Count}, {&painted2, painted2.Count}};
        source->findChild<QVariantAnimation *>()->setCurrentTime(at);
        receiver->findChild<QVariantAnimation *>()->setCurrentTime(at);
        if (!UntilPainted({marks[0], marks[1]})) {
            state.SkipWithError("no frame within a second");
            break;
        }
    }
    game.window.findChild<WindowZoom *>()->Apply(1.0);
}
BENCHMARK(BM_EasedFrameAtTwo)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A win would be kept in the player's records: keep it in a folder of our own.
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    // The offscreen platform cannot grab at the window-system level and says
    // so on every drag; Qt's own grab routes the events all the same.
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (!message.contains(QLatin1String("does not support grabbing")))
                previous(type, context, message);
        });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "bench_window.moc"
