// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// "Карта переливаний" on the largest maps: the model of a map, its first
// paint, the window's first frame, and the frame after a pour with a long
// path. Offscreen unless QT_QPA_PLATFORM says otherwise.
#include "map_painter.h"
#include "map_view.h"
#include "map_window.h"
#include "rules.h"
#include "silent_boxes.h"
#include "task_code.h"
#include "tfrmmain.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

// The most positions found in a scan of tasks up to 999 (2 623), the largest
// polygon (a hexagon with all three capacities 999), and the longest
// shortest solution (997 pours).
const char *const kTasks[] = {"999,974,656/94,579,639/896", "999,999,999/500,500,500/333",
                              "999,500,499/999,0,0/749"};

TaskPreset Task(benchmark::State &state)
{
    return ParseTaskCode(kTasks[state.range(0)]);
}

// The map's model: every reachable position with its distance, and the solver.
void BM_MapModel(benchmark::State &state)
{
    const TaskPreset task = Task(state);
    for (auto _ : state) {
        PourMap map(task);
        benchmark::DoNotOptimize(map);
    }
    state.counters["positions"] = static_cast<double>(PourMap(task).Reachable().size());
}
BENCHMARK(BM_MapModel)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// A path of `pours` legal pours from the start: the first possible pour of
// the six in turn, so the path wanders over the map.
std::vector<std::optional<MapLevels>> Wander(const TaskPreset &task, int pours)
{
    MapLevels levels{task.Level[0], task.Level[1], task.Level[2]};
    std::vector<std::optional<MapLevels>> rows{levels};
    std::size_t next = 0;
    while (static_cast<int>(rows.size()) <= pours) {
        for (std::size_t tried = 0; tried < kPourMoves.size(); ++tried) {
            const PourMove move = kPourMoves[(next + tried) % kPourMoves.size()];
            if (ApplyPour(levels, task.Capacity, move)) {
                next = (next + tried + 1) % kPourMoves.size();
                break;
            }
        }
        rows.push_back(levels);
    }
    return rows;
}

// The first paint of a map, model included, at the window's size with the
// shortest solution and a path of 1 000 pours: what opening the map costs.
void BM_FirstPaint(benchmark::State &state)
{
    const TaskPreset task = Task(state);
    QImage image(540, 440, QImage::Format_RGB32);
    const auto rows = Wander(task, 1000);
    for (auto _ : state) {
        const PourMap map(task);
        MapScene scene;
        scene.Shortest = true;
        scene.Player = MapPath(map, rows);
        scene.Font = QApplication::font();
        QPainter painter(&image);
        MapPainter(map).Paint(painter, QRectF(image.rect()), scene);
    }
}
BENCHMARK(BM_FirstPaint)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// Counts the paint events of the map's view, whichever window it is in.
class PaintCounter final : public QObject {
    Q_OBJECT

public:
    PaintCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~PaintCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    int Count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->objectName() == QLatin1String("MapView"))
            ++Count;
        return false;
    }
};

// Turns the event loop until the view has been painted since the mark.
bool UntilPainted(const PaintCounter &counter, int mark)
{
    QElapsedTimer clock;
    clock.start();
    while (counter.Count <= mark) {
        QCoreApplication::processEvents();
        if (clock.elapsed() > 2000)
            return false;
    }
    return true;
}

// The main window in play with a task and `pours` pours made, wandering.
class ShownGame {
public:
    ShownGame(const TaskPreset &task, int pours)
        : game(boxes)
        , window(game)
    {
        window.show();
        Ready = QTest::qWaitForWindowExposed(&window);
        window.Puzzle().LoadTask(task);
        window.BtnBeginClick();
        // Quicker to fill with the list detached; the same state after.
        auto *list = window.findChild<QTableView *>(QStringLiteral("ListView"));
        QAbstractItemModel *model = list->model();
        list->setModel(nullptr);
        const auto rows = Wander(task, pours);
        for (std::size_t r = 1; r < rows.size(); ++r) {
            for (int n = 1; n <= 3; ++n)
                window.Puzzle().SetLevel(n, (*rows[r])[static_cast<std::size_t>(n - 1)], false);
            window.Puzzle().AppendMoveRow();
        }
        list->setModel(model);
        list->scrollToBottom();
        QCoreApplication::processEvents();
    }

    // "Карта переливаний", until its first frame is out.
    MapWindow *OpenMap(const PaintCounter &painted)
    {
        const int mark = painted.Count;
        window.findChild<QAction *>(QStringLiteral("MnuMap"))->trigger();
        auto *map = window.findChild<MapWindow *>();
        if (!map || !UntilPainted(painted, mark))
            return nullptr;
        return map;
    }

    SilentBoxes boxes;
    Game game;
    TfrmMain window;
    bool Ready = false;
};

// "Карта переливаний" chosen: the window made, the map built and shown until
// its first frame is out. Arg 1 is the path's length in pours.
void BM_ShownFirstFrame(benchmark::State &state)
{
    ShownGame game(Task(state), static_cast<int>(state.range(1)));
    if (!game.Ready) {
        state.SkipWithError("window not exposed");
        return;
    }
    const PaintCounter painted;
    for (auto _ : state) {
        MapWindow *map = game.OpenMap(painted);
        if (!map) {
            state.SkipWithError("no map");
            break;
        }
        state.PauseTiming();
        delete map;
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShownFirstFrame)
    ->ArgNames({"task", "pours"})
    ->ArgsProduct({{0, 1, 2}, {0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A pour with the map open: the handler, the map read again and its frame
// out. The undo that puts the log back is not timed. Arg 1 is the path's
// length in pours before it.
void BM_ShownUpdateAfterPour(benchmark::State &state)
{
    const TaskPreset task = Task(state);
    ShownGame game(task, static_cast<int>(state.range(1)));
    const PaintCounter painted;
    MapWindow *map = game.Ready ? game.OpenMap(painted) : nullptr;
    if (!map) {
        state.SkipWithError("window not exposed");
        return;
    }
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    Puzzle &puzzle = game.window.Puzzle();
    for (auto _ : state) {
        // Any pour there is from here.
        const VesselState &s = puzzle.State();
        PourMove move = kPourMoves[0];
        for (const PourMove m : kPourMoves) {
            if (PourAmount(s.Level(m.Source), s.Capacity(m.Receiver), s.Level(m.Receiver)) > 0) {
                move = m;
                break;
            }
        }
        const int mark = painted.Count;
        puzzle.Pour(move.Source, move.Receiver);
        const bool ok = UntilPainted(painted, mark);
        state.PauseTiming();
        puzzle.BtnUndoClick();
        UntilPainted(painted, painted.Count);
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError("no frame within two seconds");
            break;
        }
    }
}
BENCHMARK(BM_ShownUpdateAfterPour)
    ->ArgNames({"task", "pours"})
    ->ArgsProduct({{0, 2}, {10, 1'000, 100'000}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "bench_map.moc"
