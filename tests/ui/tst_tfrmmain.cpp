// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "window_harness.h"

#include "modal_helpers.h"
#include "move_log_model.h"
#include "qt_message_boxes.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

using Levels3 = std::array<int, 3>;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void startUpState();
    void layoutMatchesTheForm_data();
    void layoutMatchesTheForm();
    void headingSizesItselfToItsText();
    void noTextClips();
    void stackingKeepsPicturesBetweenLabelsAndControls();
    void tabOrder();
    void newGameEnablesTheFields();
    void typingAPuzzleStoresEveryKeystroke();
    void beginStartsPlay();
    void dragPours_data();
    void dragPours();
    void dropsThatPourNothing_data();
    void dropsThatPourNothing();
    void nothingToPourBoxWhileThePictureIsAtTheDropPoint();
    void goalBoxComesOnceWithTheRowLogged();
    void dragOverAFrameLeavesThePictureBehindIt();
    void escapeCancelsTheDrag();
    void anotherWindowTakingOverCancelsTheDrag();
    void rightButtonReleaseDrops();
    void overTheMenuBarThePictureFollows();
    void noDragBeforeAGameOrInInputMode();
    void undoStepsBackToTheStartRow();
    void theListShowsTheNewestMove();
    void rejectedTextsShowTheErrorBox();
    void rejectedLevelStaysWhileTheStartRowLogsTheStoredLevel();
    void vesselPixels();
    void captionEditsGoIntoTheLog();
    void saveWritesTheFileInTheCurrentDirectory();
    void realBoxesShowTextCaptionAndIcon_data();
    void realBoxesShowTextCaptionAndIcon();
};

void TestMainWindow::startUpState()
{
    Harness h;
    QCOMPARE(h.window.windowTitle(), QString::fromUtf8("Сосудник"));
    QCOMPARE(h.Find<QLabel>("StatusPanel0")->text(), QString::fromUtf8(" Подсказка действия :"));
    QCOMPARE(h.Find<QLabel>("StatusPanel1")->text(),
             QString::fromUtf8(" Выберите новые Данные или предложенные Задачи"));
    for (const char *name : {"EditV1", "EditV2", "EditV3", "EditVW1", "EditVW2", "EditVW3", "EdRes"}) {
        QVERIFY(!h.Edit(name)->isEnabled());
        QCOMPARE(h.Edit(name)->text(), QString());
    }
    QVERIFY(!h.Find("BtnBegin")->isEnabled());
    QVERIFY(!h.Find("BtnXml")->isEnabled());
    QVERIFY(h.Find("BtnUndo")->isEnabled());
    QVERIFY(h.Find("BtnExit")->isEnabled());
    QVERIFY(!h.window.findChild<QAction *>("MnuHelp")->isEnabled());
    QVERIFY(h.window.findChild<QAction *>("MnuTasks")->isEnabled());
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 0);

    // Fixed: the form 642 x 448, the status bar 642 x 25 below it.
    QCOMPARE(h.window.centralWidget()->size(), QSize(642, 448));
    QCOMPARE(h.window.statusBar()->size(), QSize(642, 25));
    QCOMPARE(h.window.minimumSize(), h.window.maximumSize());
    QVERIFY(!h.window.menuBar()->isNativeMenuBar());
    QCOMPARE(h.window.statusBar()->geometry().top(), h.window.centralWidget()->geometry().bottom() + 1);
}

void TestMainWindow::layoutMatchesTheForm_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    const struct {
        const char *Name;
        QRect Geometry;
    } table[] = {
        {"Label5", {72, 8, 253, 16}},      {"Image1", {32, 48, 105, 145}},
        {"Image2", {176, 88, 81, 105}},    {"Image3", {296, 120, 65, 73}},    {"Shape1", {16, 200, 377, 2}},
        {"GrBoxN", {32, 216, 329, 41}},    {"GrBoxV", {32, 264, 329, 49}},    {"GrBoxVW", {32, 328, 329, 49}},
        {"GrBoxRes", {32, 392, 153, 49}},  {"ListView", {408, 40, 209, 289}}, {"BtnUndo", {536, 8, 75, 25}},
        {"BtnBegin", {416, 344, 89, 33}},  {"BtnXml", {536, 344, 81, 33}},    {"BtnExit", {480, 392, 81, 30}},
        {"EditV1", {40, 18, 30, 24}},      {"EditV2", {168, 18, 30, 24}},     {"EditV3", {280, 18, 30, 24}},
        {"EditVW1", {40, 18, 30, 24}},     {"EditVW3", {280, 18, 30, 24}},    {"EdRes", {40, 18, 30, 24}},
    };
    for (const auto &row : table)
        QTest::newRow(row.Name) << QString::fromLatin1(row.Name) << row.Geometry;
}

void TestMainWindow::layoutMatchesTheForm()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    Harness h;
    QCOMPARE(h.Find(name)->geometry(), geometry);
}

void TestMainWindow::headingSizesItselfToItsText()
{
    Harness h;
    auto *heading = h.Find<QLabel>("Label1");
    QCOMPARE(heading->pos(), QPoint(416, 16));
    QVERIFY(heading->width() >= 104 && heading->height() >= 13);
    QVERIFY(heading->geometry().right() < h.Find("BtnUndo")->x());
}

void TestMainWindow::noTextClips()
{
    Harness h;
    for (QLabel *label : h.window.findChildren<QLabel *>()) {
        const QFontMetrics fm(label->font());
        QVERIFY2(fm.horizontalAdvance(label->text()) <= label->contentsRect().width() || label->text().isEmpty(),
                 qPrintable(label->objectName() + QLatin1String(": ") + label->text()));
        QVERIFY2(fm.height() <= label->height(), qPrintable(label->objectName()));
    }
    for (QGroupBox *frame : h.window.findChildren<QGroupBox *>()) {
        const QFontMetrics fm(frame->font());
        QVERIFY(fm.horizontalAdvance(frame->title()) + 16 <= frame->width());
    }
    QCOMPARE(h.Find<QPushButton>("BtnBegin")->text(), QString::fromUtf8("Начать переливание"));
    QCOMPARE(h.Find<QPushButton>("BtnXml")->text(), QString::fromUtf8("Запись результата"));
}

void TestMainWindow::stackingKeepsPicturesBetweenLabelsAndControls()
{
    Harness h;
    const QObjectList children = h.window.centralWidget()->children();
    auto index = [&](const char *name) { return children.indexOf(h.Find(QString::fromLatin1(name))); };
    QVERIFY(index("Label1") < index("Label5"));
    QVERIFY(index("Label5") < index("Shape1"));
    QVERIFY(index("Shape1") < index("Image1"));
    QVERIFY(index("Image1") < index("Image2"));
    QVERIFY(index("Image2") < index("Image3"));
    for (const char *control : {"GrBoxN", "GrBoxV", "GrBoxVW", "GrBoxRes", "ListView", "BtnUndo", "BtnExit"})
        QVERIFY2(index("Image3") < index(control), control);
}

void TestMainWindow::tabOrder()
{
    Harness h;
    const char *order[] = {"EditV1", "EditV2", "EditV3", "EditVW1", "EditVW2", "EditVW3",
                           "EdRes",  "BtnBegin", "BtnXml", "BtnExit", "BtnUndo", "ListView"};
    // Frames sit in the chain but take no focus: skip them.
    auto next = [](QWidget *w) {
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
        return w;
    };
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QCOMPARE(next(h.Find(QString::fromLatin1(order[i]))), h.Find(QString::fromLatin1(order[i + 1])));
}

void TestMainWindow::newGameEnablesTheFields()
{
    Harness h;
    h.window.findChild<QAction *>("MnuNew")->trigger();
    for (const char *name : {"EditV1", "EditV2", "EditV3", "EditVW1", "EditVW2", "EditVW3", "EdRes"}) {
        QVERIFY(h.Edit(name)->isEnabled());
        QCOMPARE(h.Edit(name)->text(), QString());
    }
    QTRY_COMPARE(QApplication::focusWidget(), h.Edit("EditV1"));
    QVERIFY(h.Find("BtnBegin")->isEnabled());
    QVERIFY(!h.Find("BtnXml")->isEnabled());
    QCOMPARE(h.Find<QLabel>("StatusPanel1")->text(),
             QString::fromUtf8(" Ввести объемы сосудов, уровни - целые числа от 0 до 999 и начать переливание"));
}

void TestMainWindow::typingAPuzzleStoresEveryKeystroke()
{
    Harness h;
    h.window.MnuNewClick();
    h.Type("EditV1", "1");
    h.Type("EditVW1", "1");
    QCOMPARE(h.window.Puzzle().State().Level(1), 1);
    h.Type("EditV1", "2"); // "12": the vessel is emptied again
    QCOMPARE(h.Edit("EditV1")->text(), QStringLiteral("12"));
    QCOMPARE(h.window.Puzzle().State().Capacity(1), 12);
    QCOMPARE(h.Edit("EditVW1")->text(), QString());
    QCOMPARE(h.window.Puzzle().State().Level(1), 0);
    h.Type("EditVW1", "12");
    QCOMPARE(h.window.Puzzle().State().Level(1), 12);
    QVERIFY(h.boxes.Boxes.empty());
}

void TestMainWindow::beginStartsPlay()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
    for (const char *name : {"EditV1", "EditVW2", "EdRes"})
        QVERIFY(!h.Edit(name)->isEnabled());
    QVERIFY(!h.Find("BtnBegin")->isEnabled());
    QVERIFY(h.Find("BtnXml")->isEnabled());
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
    QCOMPARE(h.Find<QLabel>("StatusPanel1")->text(),
             QString::fromUtf8(" Переливать следует методом \"перенеси и брось\", а как - смотрите заголовок"));
    QVERIFY(h.boxes.Boxes.empty()); // start position on the target? never reported
}

void TestMainWindow::dragPours_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<Levels3>("levels");
    QTest::newRow("1 onto 2") << 1 << 2 << Levels3{5, 7, 0};
    QTest::newRow("1 onto 3") << 1 << 3 << Levels3{7, 0, 5};
}

void TestMainWindow::dragPours()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(Levels3, levels);
    Harness h;
    h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
    const QPoint origin = h.Image(from)->pos();

    h.Drag(h.Center(h.Image(from)), h.Center(h.Image(to)));

    QCOMPARE(h.Levels(), levels);
    const MoveLog &log = h.window.Puzzle().Log();
    QCOMPARE(log.RowCount(), 2);
    QCOMPARE(log.Cell(1, 0), std::string("1"));
    QCOMPARE(log.Cell(1, 1), std::to_string(levels[0]));
    QCOMPARE(h.Image(from)->pos(), origin);
    QVERIFY(h.boxes.Boxes.empty());
    QVERIFY(!QApplication::overrideCursor());
}

void TestMainWindow::dropsThatPourNothing_data()
{
    QTest::addColumn<QString>("onto");
    QTest::newRow("itself") << "Image1";
    QTest::newRow("background") << "Label5";
    QTest::newRow("list") << "ListView";
    QTest::newRow("button") << "BtnExit";
}

void TestMainWindow::dropsThatPourNothing()
{
    QFETCH(QString, onto);
    Harness h;
    h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
    const QPoint origin = h.Image(1)->pos();
    h.Drag(h.Center(h.Image(1)) + QPoint(3, 3), h.Center(h.Find(onto)));
    QCOMPARE(h.Levels(), (Levels3{12, 0, 0}));
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
    QCOMPARE(h.Image(1)->pos(), origin);
    QVERIFY(h.boxes.Boxes.empty());
    QVERIFY(h.window.isVisible()); // a drop on "Выход" is no click on it
}

void TestMainWindow::nothingToPourBoxWhileThePictureIsAtTheDropPoint()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
    const QPoint origin = h.Image(2)->pos();
    const QPoint drop = h.Center(h.Image(3));
    h.Drag(h.Center(h.Image(2)), drop);

    QCOMPARE(h.boxes.Boxes.size(), std::size_t(1));
    QCOMPARE(h.boxes.Boxes[0].Text, std::string("Нечего переливать. Попробуйте иначе."));
    QCOMPARE(h.boxes.Boxes[0].Caption, std::string("А смысл?"));
    QCOMPARE(h.boxes.Boxes[0].Icon, 48);
    QCOMPARE(h.boxes.Boxes[0].Rows, 1);
    const QPoint centred = h.window.centralWidget()->mapFrom(&h.window, drop) -
                           QPoint(h.Image(2)->width() / 2, h.Image(2)->height() / 2);
    QCOMPARE(h.boxes.PicturesAtBox[0][1], centred);
    QCOMPARE(h.Image(2)->pos(), origin);
}

void TestMainWindow::goalBoxComesOnceWithTheRowLogged()
{
    Harness h;
    h.TypeAndStart({"8", "5", "3", "8", "0", "0", "4"});
    const int moves[][2] = {{1, 2}, {2, 3}, {3, 1}, {2, 3}, {1, 2}, {2, 3}};
    for (const auto &m : moves)
        h.Drag(h.Center(h.Image(m[0])), h.Center(h.Image(m[1])));
    QCOMPARE(h.Levels(), (Levels3{1, 4, 3}));
    QCOMPARE(h.boxes.Boxes.size(), std::size_t(1));
    const auto &box = h.boxes.Boxes[0];
    QCOMPARE(box.Text, std::string("Необходимый уровень достигнут!\rХоды можно записать в файл."));
    QCOMPARE(box.Caption, std::string("Внимание"));
    QCOMPARE(box.Icon, 64);
    QCOMPARE(box.Rows, 7);
    QVERIFY(!box.GoalReached);
    QVERIFY(h.boxes.PicturesAtBox[0][1] != h.Image(2)->pos()); // still at the drop point then

    h.Click("BtnUndo");
    h.Drag(h.Center(h.Image(2)), h.Center(h.Image(3)));
    QCOMPARE(h.Levels(), (Levels3{1, 4, 3}));
    QCOMPARE(h.boxes.Boxes.size(), std::size_t(1));
}

void TestMainWindow::dragOverAFrameLeavesThePictureBehindIt()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
    VesselPicture *image = h.Image(3);
    const QPoint origin = image->pos();
    const QPoint free = h.At(h.window.centralWidget(), {200, 30}); // background
    h.Press(h.Center(image));
    h.MoveTo(free);
    const QPoint lastMoved = image->pos();
    QCOMPARE(lastMoved + QPoint(image->width() / 2, image->height() / 2),
             h.window.centralWidget()->mapFrom(&h.window, free));
    h.MoveTo(h.Center(h.Find("GrBoxV")));
    QCOMPARE(image->pos(), lastMoved);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
    h.MoveTo(h.Center(h.Find("GrBoxN")));
    QCOMPARE(image->pos(), lastMoved);
    // Behind every frame even after the restacking of the drag.
    const QObjectList children = h.window.centralWidget()->children();
    QVERIFY(children.indexOf(image) < children.indexOf(h.Find("GrBoxN")));
    h.MoveTo(h.Center(h.Image(1)));
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::DragMoveCursor);
    h.Release(h.Center(h.Find("GrBoxV")));
    QCOMPARE(image->pos(), origin);
    QCOMPARE(h.Levels(), (Levels3{12, 0, 0}));
}

void TestMainWindow::escapeCancelsTheDrag()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
    const QPoint origin = h.Image(1)->pos();
    h.Press(h.Center(h.Image(1)));
    h.MoveTo(h.Center(h.Image(2)));
    QTest::keyClick(h.Handle(), Qt::Key_Escape);
    QCOMPARE(h.Image(1)->pos(), origin);
    h.Release(h.Center(h.Image(2)));
    QCOMPARE(h.Levels(), (Levels3{12, 0, 0}));
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
    QVERIFY(!QApplication::overrideCursor());
}

void TestMainWindow::anotherWindowTakingOverCancelsTheDrag()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
    h.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&h.window));
    const QPoint origin = h.Image(1)->pos();
    h.Press(h.Center(h.Image(1)));
    h.MoveTo(h.Center(h.Image(2)));
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(!QApplication::overrideCursor());
    QCOMPARE(h.Image(1)->pos(), origin);
    QCOMPARE(h.Levels(), (Levels3{12, 0, 0}));
}

void TestMainWindow::rightButtonReleaseDrops()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
    h.Press(h.Center(h.Image(1)));
    h.MoveTo(h.Center(h.Image(3)));
    h.Release(h.Center(h.Image(3)), Qt::RightButton);
    QCOMPARE(h.Levels(), (Levels3{7, 0, 5}));
    QVERIFY(!QApplication::overrideCursor());
}

void TestMainWindow::overTheMenuBarThePictureFollows()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
    VesselPicture *image = h.Image(2);
    const QPoint menu = h.Center(h.window.menuBar()) + QPoint(200, 0);
    h.Press(h.Center(image));
    h.MoveTo(menu);
    const QPoint form = h.window.centralWidget()->mapFrom(&h.window, menu);
    QVERIFY(form.y() < 0);
    QCOMPARE(image->pos(), form - QPoint(image->width() / 2, image->height() / 2));
    h.Release(menu);
    QCOMPARE(image->pos(), QPoint(176, 88));
}

void TestMainWindow::noDragBeforeAGameOrInInputMode()
{
    Harness h;
    const QPoint origin = h.Image(1)->pos();
    h.Press(h.Center(h.Image(1)));
    h.MoveTo(h.Center(h.Image(2)));
    QCOMPARE(h.Image(1)->pos(), origin);
    h.Release(h.Center(h.Image(2)));
    h.window.MnuNewClick();
    h.Drag(h.Center(h.Image(1)), h.Center(h.Image(2)));
    QCOMPARE(h.Image(1)->pos(), origin);
    QVERIFY(!QApplication::overrideCursor());
}

void TestMainWindow::undoStepsBackToTheStartRow()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
    h.Drag(h.Center(h.Image(1)), h.Center(h.Image(2)));
    h.Drag(h.Center(h.Image(2)), h.Center(h.Image(3)));
    QCOMPARE(h.Levels(), (Levels3{5, 2, 5}));
    h.Click("BtnUndo");
    QCOMPARE(h.Levels(), (Levels3{5, 7, 0}));
    QCOMPARE(h.Edit("EditVW2")->text(), QStringLiteral("7"));
    h.Click("BtnUndo");
    h.Click("BtnUndo");
    QCOMPARE(h.Levels(), (Levels3{12, 0, 0}));
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
    QCOMPARE(h.Find<MoveLogView>("ListView")->model()->rowCount(), 1);
}

void TestMainWindow::theListShowsTheNewestMove()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
    for (int i = 0; i < 15; ++i) {
        h.Drag(h.Center(h.Image(1)), h.Center(h.Image(2)));
        h.Drag(h.Center(h.Image(2)), h.Center(h.Image(1)));
    }
    auto *view = h.Find<MoveLogView>("ListView");
    QCOMPARE(view->model()->rowCount(), 31);
    const QModelIndex newest = view->model()->index(30, 0);
    QTRY_VERIFY(view->viewport()->rect().contains(view->visualRect(newest)));
    QVERIFY(!view->viewport()->rect().intersects(view->visualRect(view->model()->index(0, 0))));
}

void TestMainWindow::rejectedTextsShowTheErrorBox()
{
    Harness h;
    h.window.MnuNewClick();
    h.Type("EditV1", "5");
    h.Type("EditVW1", "6");
    h.Type("EditV2", "x");
    QCOMPARE(h.boxes.Boxes.size(), std::size_t(2));
    QCOMPARE(h.boxes.Boxes[0].Text, std::string("Уровень не может превосходить объем сосуда."));
    QCOMPARE(h.boxes.Boxes[1].Text, std::string("Требуется целое число от 0 до 999."));
    for (const auto &box : h.boxes.Boxes) {
        QCOMPARE(box.Caption, std::string("Сосудник"));
        QCOMPARE(box.Icon, 16);
    }
    QCOMPARE(h.Edit("EditVW1")->text(), QStringLiteral("6"));
    QCOMPARE(h.Edit("EditV2")->text(), QStringLiteral("x"));
    QCOMPARE(h.window.Puzzle().State().Level(1), 0);
}

void TestMainWindow::rejectedLevelStaysWhileTheStartRowLogsTheStoredLevel()
{
    Harness h;
    h.window.MnuNewClick();
    h.Type("EditV1", "5");
    h.Type("EditVW1", "3");
    h.Type("EditVW1", "0"); // "30": above the capacity
    h.Click("BtnBegin");
    QCOMPARE(h.Edit("EditVW1")->text(), QStringLiteral("30"));
    QCOMPARE(h.window.Puzzle().Log().Cell(0, 1), std::string("3"));
}

void TestMainWindow::vesselPixels()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "6", "7", "0", "6"});
    auto grab = [&](int n) {
        QPixmap pixmap = h.Image(n)->grab();
        pixmap.setDevicePixelRatio(1);
        return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    };
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255), blue = qRgb(0, 0, 255);

    const QImage half = grab(1); // 105 x 145, capacity 12, level 6: top = 145 - 870 / 12 = 73
    QCOMPARE(half.size(), QSize(105, 145));
    for (int x = 0; x < 105; ++x) {
        QCOMPARE(half.pixel(x, 0), black);
        QCOMPARE(half.pixel(x, 73), black);
        QCOMPARE(half.pixel(x, 144), black);
    }
    for (int y = 0; y < 145; ++y) {
        QCOMPARE(half.pixel(0, y), black);
        QCOMPARE(half.pixel(104, y), black);
    }
    QCOMPARE(half.pixel(52, 72), white);
    QCOMPARE(half.pixel(1, 1), white);
    QCOMPARE(half.pixel(52, 74), blue);
    QCOMPARE(half.pixel(1, 143), blue);
    QCOMPARE(half.pixel(103, 74), blue);

    const QImage full = grab(2); // 81 x 105, 7 of 7
    QCOMPARE(full.pixel(40, 0), black);
    QCOMPARE(full.pixel(1, 1), blue);
    QCOMPARE(full.pixel(79, 103), blue);
    QCOMPARE(full.pixel(80, 50), black);

    const QImage empty = grab(3);
    QCOMPARE(empty.pixel(32, 36), white);
    QCOMPARE(empty.pixel(1, 71), white);
    QCOMPARE(empty.pixel(64, 72), black);
}

void TestMainWindow::captionEditsGoIntoTheLog()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
    auto *view = h.Find<MoveLogView>("ListView");
    const QModelIndex caption = view->model()->index(0, 0);
    const QModelIndex level = view->model()->index(0, 1);
    QVERIFY(view->model()->flags(caption) & Qt::ItemIsEditable);
    QVERIFY(!(view->model()->flags(level) & Qt::ItemIsEditable));
    QCOMPARE(view->model()->headerData(0, Qt::Horizontal).toString(), QString::fromUtf8("Ход"));
    QCOMPARE(view->columnWidth(0), 50);
    QCOMPARE(view->columnWidth(3), 55);

    view->setFocus();
    view->setCurrentIndex(caption);
    QTest::keyClick(view, Qt::Key_A); // typing alone opens no editor
    QVERIFY(!view->Editing());
    QTest::keyClick(view, Qt::Key_F2);
    QTRY_VERIFY(view->Editing());
    QWidget *editor = QApplication::focusWidget();
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("start <1>"));
    // Still open: a save must see it all the same.
    view->CommitOpenEditor();
    QCOMPARE(h.window.Puzzle().Log().Cell(0, 0), std::string("start <1>"));
    QVERIFY(!view->Editing());
}

void TestMainWindow::saveWritesTheFileInTheCurrentDirectory()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    {
        Harness h;
        h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
        h.Drag(h.Center(h.Image(1)), h.Center(h.Image(2)));
        // A caption still being edited when the button is pressed is saved as typed.
        auto *view = h.Find<MoveLogView>("ListView");
        view->setFocus();
        view->setCurrentIndex(view->model()->index(1, 0));
        QTest::keyClick(view, Qt::Key_F2);
        QTRY_VERIFY(view->Editing());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("start"));
        h.Find<QPushButton>("BtnXml")->click(); // no focus change: the editor is still open
        QCOMPARE(h.boxes.Boxes.size(), std::size_t(1));
        QCOMPARE(h.boxes.Boxes[0].Text, std::string("Файл \"sosudnik.xml\" записан"));
        QCOMPARE(h.boxes.Boxes[0].Caption, std::string("Запись файла"));
        QCOMPARE(h.boxes.Boxes[0].Icon, 64);
    }
    QFile file(dir.filePath(QStringLiteral("sosudnik.xml")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QDir::setCurrent(before);
    const QByteArray expected = "<?xml version=\"1.0\" encoding=\"windows-1251\" standalone=\"yes\"?>\n"
                                "<ListStore><Columns>"
                                "<ListColumn Name=\"Column0\" Caption=\"\xD5\xEE\xE4\"/>"
                                "<ListColumn Name=\"Column1\" Caption=\"V1\"/>"
                                "<ListColumn Name=\"Column2\" Caption=\"V2\"/>"
                                "<ListColumn Name=\"Column3\" Caption=\"V3\"/>"
                                "</Columns><Data>"
                                "<Record Column0=\"0\" Column1=\"12\" Column2=\"0\" Column3=\"0\"/>"
                                "<Record Column0=\"start\" Column1=\"5\" Column2=\"7\" Column3=\"0\"/>"
                                "</Data></ListStore>\n";
    QCOMPARE(bytes, expected);
}

void TestMainWindow::realBoxesShowTextCaptionAndIcon_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("icon");
    QTest::newRow("error") << 16 << int(QMessageBox::Critical);
    QTest::newRow("warning") << 48 << int(QMessageBox::Warning);
    QTest::newRow("information") << 64 << int(QMessageBox::Information);
}

void TestMainWindow::realBoxesShowTextCaptionAndIcon()
{
    QFETCH(int, code);
    QFETCH(int, icon);
    QString caption, text;
    int shownIcon = -1;
    bool modal = false, owned = true;
    QtMessageBoxes boxes;
    WithModal<QMessageBox>(
        [&] { boxes.Show("Необходимый уровень достигнут!\rХоды можно записать в файл.", "Внимание", code); },
        [&](QMessageBox *box) {
            caption = box->windowTitle();
            text = box->text();
            shownIcon = int(box->icon());
            modal = box->windowModality() == Qt::ApplicationModal;
            owned = box->parentWidget() != nullptr;
            box->button(QMessageBox::Ok)->click();
        });
    QCOMPARE(caption, QString::fromUtf8("Внимание"));
    QCOMPARE(text, QString::fromUtf8("Необходимый уровень достигнут!\rХоды можно записать в файл."));
    QCOMPARE(shownIcon, icon);
    QVERIFY(modal);
    QVERIFY(!owned);
}

QTEST_MAIN(TestMainWindow)
#include "tst_tfrmmain.moc"
