// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// "Карта переливаний": the window follows every change of the game at once,
// paints the path where the map puts it, hides every answer in a lesson,
// counts its answers as help, and takes the game's scale.
#include "window_harness.h"

#include "form_scale.h"
#include "map_commands.h"
#include "map_file.h"
#include "map_view.h"
#include "map_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QScreen>

#include <functional>

namespace {

const QColor kPlayer(0x00, 0x4c, 0xc4);
const QColor kStart(0x12, 0x7a, 0x34);

MapWindow *OpenMap(Harness &h)
{
    // The key is the main window's, as the player presses it there.
    h.window.activateWindow();
    if (!QTest::qWaitForWindowActive(&h.window))
        qFatal("the main window never became active");
    QTest::keyClick(h.Handle(), Qt::Key_M, Qt::ControlModifier);
    auto *map = h.window.findChild<MapWindow *>();
    if (!map || !QTest::qWaitForWindowExposed(map))
        qFatal("Ctrl+M showed no map");
    return map;
}

// The player's path as the map holds it: the levels of its rows, run by run.
QList<QList<MapLevels>> PathOf(const MapWindow *map)
{
    QList<QList<MapLevels>> runs;
    for (const PathRun &run : map->View()->Scene().Player) {
        runs.append(QList<MapLevels>());
        for (const PathVertex &v : run)
            runs.back().append(v.Levels);
    }
    return runs;
}

bool Near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) < 24 && std::abs(a.green() - b.green()) < 24 && std::abs(a.blue() - b.blue()) < 24;
}

// How many pixels of the painted map have about this colour.
int PixelsLike(const QImage &image, QColor colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += Near(image.pixelColor(x, y), colour) ? 1 : 0;
    }
    return n;
}

QImage Painted(const MapWindow *map)
{
    return map->View()->grab().toImage();
}

} // namespace

class TestMap : public QObject {
    Q_OBJECT

private slots:
    void pathFollowsEveryChange_data();
    void pathFollowsEveryChange();
    void pathIsPaintedWhereTheMapPutsIt();
    void followsTheTaskBeingTypedIn();
    void lessonShowsNoAnswer();
    void answersCountAsHelp();
    void helpIsAskedAgainForANewTask();
    void takesTheGameScaleAndFitsTheScreen();
    void oneWindowShownAgain();
    void fileFormatByExtension();
};

void TestMap::pathFollowsEveryChange_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<MapLevels>>("path");
    QTest::addColumn<QString>("words");
    const auto steps = [](const char *text) { return QString::fromLatin1(text).split(QLatin1Char(' ')); };
    QTest::newRow("start") << QStringList{} << QList<MapLevels>{{12, 0, 0}}
                           << QString::fromUtf8("Переливаний еще не было.");
    QTest::newRow("pour") << steps("12") << QList<MapLevels>{{12, 0, 0}, {5, 7, 0}}
                          << QString::fromUtf8("Путь: 1 переливание, сейчас V1 = 5, V2 = 7, V3 = 0.");
    QTest::newRow("two pours") << steps("12 23") << QList<MapLevels>{{12, 0, 0}, {5, 7, 0}, {5, 2, 5}}
                               << QString::fromUtf8("Путь: 2 переливания, сейчас V1 = 5, V2 = 2, V3 = 5.");
    QTest::newRow("undo") << steps("12 23 undo") << QList<MapLevels>{{12, 0, 0}, {5, 7, 0}}
                          << QString::fromUtf8("Путь: 1 переливание, сейчас V1 = 5, V2 = 7, V3 = 0.");
    QTest::newRow("redo") << steps("12 23 undo redo") << QList<MapLevels>{{12, 0, 0}, {5, 7, 0}, {5, 2, 5}}
                          << QString::fromUtf8("сейчас V1 = 5, V2 = 2, V3 = 5.");
    QTest::newRow("restart") << steps("12 23 31 restart") << QList<MapLevels>{{12, 0, 0}}
                             << QString::fromUtf8("Переливаний еще не было.");
    QTest::newRow("restart, redo") << steps("12 23 restart redo") << QList<MapLevels>{{12, 0, 0}, {5, 7, 0}}
                                   << QString::fromUtf8("сейчас V1 = 5, V2 = 7, V3 = 0.");
    QTest::newRow("another task") << steps("12 23 kvass 13") << QList<MapLevels>{{8, 0, 0}, {5, 0, 3}}
                                  << QString::fromUtf8("Начало: V1 = 8, V2 = 0, V3 = 0. Путь: 1 переливание");
}

// Each step through the player's own ways: digits, keys and menu entries.
void TestMap::pathFollowsEveryChange()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<MapLevels>, path);
    QFETCH(QString, words);
    Harness h;
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    MapWindow *map = OpenMap(h);
    h.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&h.window));
    for (const QString &step : steps) {
        if (step == QLatin1String("undo"))
            QTest::keyClick(h.Handle(), Qt::Key_Z, Qt::ControlModifier);
        else if (step == QLatin1String("redo"))
            QTest::keyClick(h.Handle(), Qt::Key_Y, Qt::ControlModifier);
        else if (step == QLatin1String("restart"))
            h.Action("MnuRestart")->trigger();
        else if (step == QLatin1String("kvass"))
            h.window.StartTaskCode("8,5,3/8,0,0/4");
        else
            for (const QChar digit : step)
                QTest::keyClick(h.Handle(), static_cast<Qt::Key>(Qt::Key_0 + digit.digitValue()));
    }
    QCOMPARE(PathOf(map), QList<QList<MapLevels>>{path});
    QVERIFY2(map->Description().contains(words), qPrintable(map->Description()));
    QCOMPARE(map->View()->accessibleDescription(), map->Description());
    QCOMPARE(map->View()->Map()->Start(), path.front());
}

// The dot of the present position and the start's square stand where the
// map's geometry puts those positions, in the widget as painted.
void TestMap::pathIsPaintedWhereTheMapPutsIt()
{
    Harness h;
    h.window.StartTaskCode("8,5,3/8,0,0/4");
    MapWindow *map = OpenMap(h);
    h.window.Puzzle().Pour(1, 2);
    h.window.Puzzle().Pour(2, 3);
    const QImage image = Painted(map);
    const QPoint now = map->View()->PointOf({3, 2, 3}).toPoint();
    const QPoint start = map->View()->PointOf({8, 0, 0}).toPoint();
    QVERIFY2(Near(image.pixelColor(now), kPlayer), qPrintable(image.pixelColor(now).name()));
    QVERIFY2(Near(image.pixelColor(start), kStart), qPrintable(image.pixelColor(start).name()));
    // Kvass: 8 0 0 is the lower right corner, 3 2 3 left of it and higher.
    QVERIFY(now.x() < start.x());
    QVERIFY(now.y() < start.y());
    // 5 0 3 lies on the same bottom edge as the start, 3 units to its left,
    // and 3 5 0 five rows up: √3/2 units of height a row.
    const QPointF bottom = map->View()->PointOf({5, 0, 3});
    const QPointF top = map->View()->PointOf({3, 5, 0});
    const qreal unit = (QPointF(start) - bottom).x() / 3;
    QVERIFY(unit > 10);
    QCOMPARE(qRound(bottom.y()), start.y());
    QVERIFY(std::abs((bottom.y() - top.y()) - 5 * kRowHeight * unit) < 1);
    QVERIFY(std::abs((top.x() - bottom.x()) - 0.5 * unit) < 1); // 3 + 5/2 against 5
}

void TestMap::followsTheTaskBeingTypedIn()
{
    Harness h;
    h.window.MnuNewClick();
    MapWindow *map = OpenMap(h);
    h.Type(QStringLiteral("EditV1"), QStringLiteral("9"));
    h.Type(QStringLiteral("EditV2"), QStringLiteral("4"));
    h.Type(QStringLiteral("EditVW1"), QStringLiteral("9"));
    QVERIFY(map->View()->Map());
    QCOMPARE(map->View()->Map()->Task().Capacity[0], 9);
    QCOMPARE(map->View()->Map()->Task().Capacity[1], 4);
    QCOMPARE(map->View()->Map()->Start(), (MapLevels{9, 0, 0}));
    // V3 has no room: the positions lie on the line V1 + V2 = 9.
    QCOMPARE(map->View()->Map()->Corners().size(), std::size_t{2});
    QVERIFY(PathOf(map).isEmpty());
    // The answers follow "Решение" and "Подсказка": a solution while typing,
    // distances once pouring.
    QVERIFY(map->findChild<QPushButton *>(QStringLiteral("BtnMapShortest"))->isEnabled());
    QVERIFY(!map->findChild<QCheckBox *>(QStringLiteral("MapDistances"))->isEnabled());
    h.Click(QStringLiteral("BtnBegin"));
    QVERIFY(map->findChild<QCheckBox *>(QStringLiteral("MapDistances"))->isEnabled());
    QCOMPARE(PathOf(map), (QList<QList<MapLevels>>{{{9, 0, 0}}}));
}

void TestMap::lessonShowsNoAnswer()
{
    Harness h;
    h.window.Commands().SetLesson(true);
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    QVERIFY(h.Action("MnuMap")->isEnabled());
    MapWindow *map = OpenMap(h);
    h.window.Puzzle().Pour(1, 2);
    for (const char *name : {"BtnMapShortest", "MapDistances", "MapHelpNote"})
        QVERIFY2(!map->findChild<QWidget *>(QString::fromLatin1(name))->isVisibleTo(map), name);
    QVERIFY(map->View()->Scene().Lesson);
    const QString words = map->Description();
    for (const char *answer : {"Достижим", "победн", "Кратчайш", "Решения нет"})
        QVERIFY2(!words.contains(QString::fromUtf8(answer)), qPrintable(words));
    QVERIFY2(words.contains(QString::fromUtf8("сейчас V1 = 5, V2 = 7, V3 = 0")), qPrintable(words));

    // No winning ring, no shortest path: neither red nor orange is painted.
    const QImage image = Painted(map);
    QCOMPARE(PixelsLike(image, QColor(0xc8, 0x1e, 0x1e)), 0);
    QCOMPARE(PixelsLike(image, QColor(0xd9, 0x6c, 0x00)), 0);
    // A reachable position that the pupil has not visited tells nothing.
    QVERIFY(map->View()->ToolTipAt(map->View()->PointOf({1, 6, 5})).isEmpty());
    // The pupil's own rows tell their levels, never their distance.
    const QString own = map->View()->ToolTipAt(map->View()->PointOf({5, 7, 0}));
    QVERIFY2(own.startsWith(QStringLiteral("V1 = 5, V2 = 7, V3 = 0")), qPrintable(own));
    QVERIFY2(!own.contains(QString::fromUtf8("От начала")), qPrintable(own));
    QVERIFY(!h.window.Puzzle().Help().Any());
}

void TestMap::answersCountAsHelp()
{
    Harness h;
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    MapWindow *map = OpenMap(h);
    QVERIFY(!map->View()->Scene().Lesson);
    QVERIFY(PixelsLike(Painted(map), QColor(0xc8, 0x1e, 0x1e)) > 0); // the winning rings
    QCOMPARE(PixelsLike(Painted(map), QColor(0xd9, 0x6c, 0x00)), 0);
    // Unasked, a reachable dot tells its levels only.
    const QPointF winning = map->View()->PointOf({1, 6, 5});
    QCOMPARE(map->View()->ToolTipAt(winning), QStringLiteral("V1 = 1, V2 = 6, V3 = 5"));
    QVERIFY(!h.window.Puzzle().Help().Any());

    auto *shortest = map->findChild<QPushButton *>(QStringLiteral("BtnMapShortest"));
    QTest::mouseClick(shortest, Qt::LeftButton);
    QVERIFY(h.window.Puzzle().Help().Solution);
    QVERIFY(shortest->isChecked());
    QVERIFY(map->View()->Scene().Shortest);
    QVERIFY(PixelsLike(Painted(map), QColor(0xd9, 0x6c, 0x00)) > 0);
    QVERIFY2(map->Description().contains(QString::fromUtf8("Кратчайшее решение: 10 переливаний.")),
             qPrintable(map->Description()));

    auto *distances = map->findChild<QCheckBox *>(QStringLiteral("MapDistances"));
    QTest::mouseClick(distances, Qt::LeftButton);
    QVERIFY(h.window.Puzzle().Help().Hint);
    QVERIFY(distances->isChecked());
    QCOMPARE(map->View()->ToolTipAt(winning), QString::fromUtf8("V1 = 1, V2 = 6, V3 = 5\nОт начала: 10 переливаний"));
    QCOMPARE(map->View()->ToolTipAt(map->View()->PointOf({12, 0, 0})),
             QString::fromUtf8("V1 = 12, V2 = 0, V3 = 0\nХод 0\nОт начала: 0 переливаний"));

    // Turned off, the marks go; the help stays used for this game.
    QTest::mouseClick(shortest, Qt::LeftButton);
    QVERIFY(!map->View()->Scene().Shortest);
    QVERIFY(h.window.Puzzle().Help().Solution);
}

void TestMap::helpIsAskedAgainForANewTask()
{
    Harness h;
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    MapWindow *map = OpenMap(h);
    QTest::mouseClick(map->findChild<QPushButton *>(QStringLiteral("BtnMapShortest")), Qt::LeftButton);
    QTest::mouseClick(map->findChild<QCheckBox *>(QStringLiteral("MapDistances")), Qt::LeftButton);
    QVERIFY(map->View()->Scene().Shortest);
    h.window.StartTaskCode("8,5,3/8,0,0/4");
    QVERIFY(!h.window.Puzzle().Help().Any());
    QVERIFY(!map->View()->Scene().Shortest);
    QVERIFY(!map->findChild<QPushButton *>(QStringLiteral("BtnMapShortest"))->isChecked());
    QVERIFY(!map->findChild<QCheckBox *>(QStringLiteral("MapDistances"))->isChecked());
    QVERIFY(!map->View()->ToolTipAt(map->View()->PointOf({8, 0, 0})).contains(QString::fromUtf8("От начала")));
}

void TestMap::takesTheGameScaleAndFitsTheScreen()
{
    Harness h;
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    MapWindow *map = OpenMap(h);
    const qreal points = map->View()->font().pointSizeF();
    const QSize before = map->size();
    h.Action("MnuZoomIn")->trigger();
    QVERIFY(FormScale() > 1);
    QTRY_VERIFY(map->View()->font().pointSizeF() > points);
    QVERIFY(map->View()->PaintedScene().Pixel > 1);
    for (int i = 0; i < 12; ++i)
        h.Action("MnuZoomIn")->trigger();
    h.Action("MnuZoomFill")->trigger();
    const QRect screen = map->screen()->availableGeometry();
    QTRY_VERIFY2(screen.contains(map->frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(map->frameGeometry().x())
                                .arg(map->frameGeometry().y())
                                .arg(map->frameGeometry().width())
                                .arg(map->frameGeometry().height())));
    h.Action("MnuZoomNormal")->trigger();
    QTRY_COMPARE(map->View()->font().pointSizeF(), points);
    QCOMPARE(map->size(), before);
}

void TestMap::oneWindowShownAgain()
{
    Harness h;
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    MapWindow *map = OpenMap(h);
    map->close();
    QVERIFY(!map->isVisible());
    h.window.Puzzle().Pour(1, 3); // followed when shown again
    QCOMPARE(OpenMap(h), map);
    QCOMPARE(h.window.findChildren<MapWindow *>().size(), 1);
    QCOMPARE(PathOf(map), (QList<QList<MapLevels>>{{{12, 0, 0}, {7, 0, 5}}}));
}

void TestMap::fileFormatByExtension()
{
    using F = MapFileFormat;
    const struct {
        const char *Path;
        std::optional<F> Format;
    } table[] = {
        {"milk.png", F::Png},      {"MILK.PNG", F::Png},       {"a/b.c/milk.svg", F::Svg}, {"milk.Pdf", F::Pdf},
        {"milk.gif", std::nullopt}, {"milk", std::nullopt},     {"milk.png/map", std::nullopt},
        {"milk.png.bak", std::nullopt}, {"milk.", std::nullopt}, {"", std::nullopt},
    };
    for (const auto &row : table)
        QVERIFY2(MapFileFormatOf(row.Path) == row.Format, row.Path);
}

QTEST_MAIN(TestMap)
#include "tst_map.moc"
