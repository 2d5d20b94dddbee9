// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The game with the keyboard alone: pouring by digits, the "&Игра" entries
// and their shortcuts, Tab, Enter and F2 in the window and the task dialog.
#include "window_harness.h"

#include "modal_helpers.h"
#include "move_log_model.h"
#include "tfrmtask.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>

using Levels3 = std::array<int, 3>;

Q_DECLARE_METATYPE(TfrmMain::GameMode)

namespace {

const QStringList kMilk = {"12", "7", "5", "12", "0", "0", "6"};

// Keys as the player presses them, to whatever has the focus: "1 2" top-row
// digits, "K3" a keypad digit, "Esc".
void Keys(Harness &h, const QString &keys)
{
    for (const QString &k : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (k == QLatin1String("Esc"))
            QTest::keyClick(h.Handle(), Qt::Key_Escape);
        else if (k.startsWith(QLatin1Char('K')))
            QTest::keyClick(h.Handle(), Qt::Key(Qt::Key_0 + k.mid(1).toInt()), Qt::KeypadModifier);
        else
            QTest::keyClick(h.Handle(), Qt::Key(Qt::Key_0 + k.toInt()));
    }
}

void Activate(Harness &h)
{
    h.window.activateWindow();
    if (!QTest::qWaitForWindowActive(&h.window))
        qFatal("the main window never became active");
}

int Marked(Harness &h)
{
    for (int n = 1; n <= 3; ++n) {
        if (h.Image(n)->Marked())
            return n;
    }
    return 0;
}

std::vector<std::string> LogCells(const MoveLog &log)
{
    std::vector<std::string> cells;
    for (int r = 0; r < log.RowCount(); ++r) {
        for (int c = 0; c < log.ColumnCount(); ++c)
            cells.push_back(log.Cell(r, c));
    }
    return cells;
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void digitsPour_data();
    void digitsPour();
    void digitsPourExactlyAsTheDragDoes();
    void digitsOutsidePlayDoNothingNew();
    void captionEditorKeepsItsDigits();
    void markIsAFrameAroundThePicture();
    void markGoesWithUndoNewGameAndTheMouse();
    void escapeDuringADragStillCancelsIt();
    void gameMenuEntriesFollowTheMode();
    void gameMenuFollowsEveryCommand_data();
    void gameMenuFollowsEveryCommand();
    void menuPourIsTheDrop();
    void ctrlZUndoesAndCtrlSSavesOnlyInPlay();
    void tabPassesTheListInOneStop();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void f2EditsTheCaptionFromAnyColumn_data();
    void f2EditsTheCaptionFromAnyColumn();
    void enterInTheTaskDialog_data();
    void enterInTheTaskDialog();
};

void TestKeyboard::digitsPour_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<Levels3>("levels");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("warnings");
    QTest::newRow("1 2") << "" << "1 2" << Levels3{5, 7, 0} << 2 << 0;
    QTest::newRow("keypad 1 3") << "" << "K1 K3" << Levels3{7, 0, 5} << 2 << 0;
    QTest::newRow("top row and keypad mixed") << "" << "1 K2" << Levels3{5, 7, 0} << 2 << 0;
    QTest::newRow("from the list") << "ListView" << "1 3" << Levels3{7, 0, 5} << 2 << 0;
    QTest::newRow("from a button") << "BtnUndo" << "1 2" << Levels3{5, 7, 0} << 2 << 0;
    QTest::newRow("empty source") << "" << "2 3" << Levels3{12, 0, 0} << 1 << 1;
    QTest::newRow("same digit twice") << "" << "1 1" << Levels3{12, 0, 0} << 1 << 0;
    QTest::newRow("Escape") << "" << "1 Esc" << Levels3{12, 0, 0} << 1 << 0;
    QTest::newRow("Escape in the list") << "ListView" << "1 Esc" << Levels3{12, 0, 0} << 1 << 0;
    QTest::newRow("let go, then pour") << "" << "1 1 1 2" << Levels3{5, 7, 0} << 2 << 0;
    QTest::newRow("Escape, then pour") << "" << "2 Esc 1 3" << Levels3{7, 0, 5} << 2 << 0;
    QTest::newRow("two pours") << "" << "1 2 2 3" << Levels3{5, 2, 5} << 3 << 0;
    QTest::newRow("other digits") << "" << "1 4 0 2" << Levels3{5, 7, 0} << 2 << 0;
}

void TestKeyboard::digitsPour()
{
    QFETCH(QString, focus);
    QFETCH(QString, keys);
    QFETCH(Levels3, levels);
    QFETCH(int, rows);
    QFETCH(int, warnings);
    Harness h;
    h.TypeAndStart(kMilk);
    if (!focus.isEmpty())
        h.Find(focus)->setFocus();
    Keys(h, keys);
    QCOMPARE(h.Levels(), levels);
    QCOMPARE(h.window.Puzzle().Log().RowCount(), rows);
    QCOMPARE(int(h.boxes.Boxes.size()), warnings);
    for (const auto &box : h.boxes.Boxes) {
        QCOMPARE(box.Text, std::string("Нечего переливать. Попробуйте иначе."));
        QCOMPARE(box.Icon, 48);
    }
    QCOMPARE(Marked(h), 0);
    QVERIFY(!h.Find("SourceMark")->isVisible());
    QCOMPARE(h.Image(1)->pos(), QPoint(32, 48));
}

void TestKeyboard::digitsPourExactlyAsTheDragDoes()
{
    // The kvass task, with a nothing-to-pour first and the goal at the end;
    // then the goal pour taken back and made again.
    const int moves[][2] = {{2, 3}, {1, 2}, {2, 3}, {3, 1}, {2, 3}, {1, 2}, {2, 3}};
    const QStringList kvass = {"8", "5", "3", "8", "0", "0", "4"};
    std::vector<std::string> dragged;
    std::vector<Recorder::Box> draggedBoxes;
    {
        Harness h;
        h.TypeAndStart(kvass);
        for (const auto &m : moves)
            h.Drag(h.Center(h.Image(m[0])), h.Center(h.Image(m[1])));
        h.Click("BtnUndo");
        h.Drag(h.Center(h.Image(2)), h.Center(h.Image(3)));
        dragged = LogCells(h.window.Puzzle().Log());
        draggedBoxes = h.boxes.Boxes;
    }
    Harness h;
    h.TypeAndStart(kvass);
    for (const auto &m : moves)
        Keys(h, QStringLiteral("%1 %2").arg(m[0]).arg(m[1]));
    h.Click("BtnUndo");
    Keys(h, "2 3");

    QCOMPARE(LogCells(h.window.Puzzle().Log()), dragged);
    QCOMPARE(h.boxes.Boxes.size(), draggedBoxes.size());
    QCOMPARE(h.boxes.Boxes.size(), std::size_t(2)); // nothing to pour, then the goal once
    for (std::size_t i = 0; i < draggedBoxes.size(); ++i) {
        const auto &got = h.boxes.Boxes[i];
        const auto &want = draggedBoxes[i];
        QCOMPARE(got.Text, want.Text);
        QCOMPARE(got.Caption, want.Caption);
        QCOMPARE(got.Icon, want.Icon);
        QCOMPARE(got.Rows, want.Rows);
        QCOMPARE(got.Levels, want.Levels);
        QCOMPARE(got.GoalReached, want.GoalReached);
    }
    QCOMPARE(h.boxes.Boxes[1].Caption, std::string("Внимание"));
}

void TestKeyboard::digitsOutsidePlayDoNothingNew()
{
    Harness h;
    h.Find("BtnUndo")->setFocus();
    Keys(h, "1 2");
    QCOMPARE(Marked(h), 0);
    QVERIFY(!h.Find("SourceMark")->isVisible());
    QVERIFY(h.boxes.Boxes.empty());

    h.window.MnuNewClick();
    h.Type("EditV1", "12");
    h.Type("EditVW1", "12");
    h.Find("BtnUndo")->setFocus();
    Keys(h, "1 2 Esc");
    QCOMPARE(Marked(h), 0);
    QCOMPARE(h.Levels(), (Levels3{12, 0, 0}));
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 0);
    QVERIFY(h.boxes.Boxes.empty());

    // A field with the focus types them as always.
    h.Edit("EditV2")->setFocus();
    Keys(h, "7");
    QCOMPARE(h.Edit("EditV2")->text(), QStringLiteral("7"));
    QCOMPARE(Marked(h), 0);
}

void TestKeyboard::captionEditorKeepsItsDigits()
{
    Harness h;
    h.TypeAndStart(kMilk);
    Keys(h, "1"); // a mark stays while the caption is edited
    auto *view = h.Find<MoveLogView>("ListView");
    view->setFocus();
    view->setCurrentIndex(view->model()->index(0, 0));
    QTest::keyClick(h.Handle(), Qt::Key_F2);
    QTRY_VERIFY(view->Editing());
    QTest::keyClick(h.Handle(), Qt::Key_A, Qt::ControlModifier);
    Keys(h, "2 3 K1");
    view->CommitOpenEditor();
    QCOMPARE(h.window.Puzzle().Log().Cell(0, 0), std::string("231"));
    QCOMPARE(h.Levels(), (Levels3{12, 0, 0}));
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
    QCOMPARE(Marked(h), 1);

    // Escape in the editor cancels the edit only.
    QTest::keyClick(h.Handle(), Qt::Key_F2);
    QTRY_VERIFY(view->Editing());
    Keys(h, "9 Esc");
    QTRY_VERIFY(!view->Editing());
    QCOMPARE(h.window.Puzzle().Log().Cell(0, 0), std::string("231"));
    QCOMPARE(Marked(h), 1);
    Keys(h, "2");
    QCOMPARE(h.Levels(), (Levels3{5, 7, 0}));
}

void TestKeyboard::markIsAFrameAroundThePicture()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "6", "7", "0", "6"});
    auto grab = [&](int n) { return h.Image(n)->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    const QImage before = grab(1);

    Keys(h, "1");
    QWidget *mark = h.Find("SourceMark");
    QVERIFY(mark->isVisible());
    QCOMPARE(mark->geometry(), QRect(29, 45, 111, 151));
    QCOMPARE(grab(1), before); // the picture's own pixels, outline included
    const QObjectList children = h.window.centralWidget()->children();
    QVERIFY(children.indexOf(mark) < children.indexOf(h.Image(1)));

    // The ring shows in the highlight colour just outside the outline.
    QImage form = h.window.centralWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb highlight = mark->palette().color(QPalette::Active, QPalette::Highlight).rgb();
    for (const QPoint p : {QPoint(31, 100), QPoint(29, 45), QPoint(137, 193), QPoint(80, 47)})
        QCOMPARE(form.pixel(p), highlight);
    QCOMPARE(form.pixel(32, 100), qRgb(0, 0, 0));
    QCOMPARE(form.pixel(28, 100), h.window.centralWidget()->palette().color(QPalette::Window).rgb());

    // The pointer passes through it: a press on the ring starts no drag.
    const QPoint ring = h.At(h.window.centralWidget(), {30, 100});
    QCOMPARE(QApplication::widgetAt(h.window.mapToGlobal(ring)), h.window.centralWidget());
    QCOMPARE(QApplication::widgetAt(h.window.mapToGlobal(h.Center(h.Image(1)))), h.Image(1));

    Keys(h, "2"); // 2 is full: nothing to pour, and the mark is gone
    QVERIFY(!mark->isVisible());
    QCOMPARE(h.boxes.Boxes.size(), std::size_t(1));
    Keys(h, "3");
    QCOMPARE(mark->geometry(), QRect(293, 117, 71, 79));
    QVERIFY(mark->isVisible());
}

void TestKeyboard::markGoesWithUndoNewGameAndTheMouse()
{
    Harness h;
    h.TypeAndStart(kMilk);
    Keys(h, "1 2 2");
    QCOMPARE(Marked(h), 2);
    h.Click("BtnUndo");
    QCOMPARE(Marked(h), 0);
    QCOMPARE(h.Levels(), (Levels3{12, 0, 0}));

    Keys(h, "1");
    h.Drag(h.Center(h.Image(1)), h.Center(h.Image(3)));
    QCOMPARE(Marked(h), 0);
    QCOMPARE(h.Levels(), (Levels3{7, 0, 5}));

    Keys(h, "3");
    h.window.Puzzle().LoadTask(TaskPresets[0]);
    h.window.BtnBeginClick(); // as an accepted task does
    QCOMPARE(Marked(h), 0);
    Keys(h, "2");
    QCOMPARE(Marked(h), 2);
    h.window.MnuNewClick();
    QCOMPARE(Marked(h), 0);
    QVERIFY(!h.Find("SourceMark")->isVisible());
}

void TestKeyboard::escapeDuringADragStillCancelsIt()
{
    Harness h;
    h.TypeAndStart(kMilk);
    Keys(h, "2");
    const QPoint origin = h.Image(1)->pos();
    h.Press(h.Center(h.Image(1)));
    h.MoveTo(h.Center(h.Image(2)));
    Keys(h, "3"); // the drag holds the keyboard
    QTest::keyClick(h.Handle(), Qt::Key_Escape);
    QCOMPARE(h.Image(1)->pos(), origin);
    QVERIFY(!QApplication::overrideCursor());
    h.Release(h.Center(h.Image(2)));
    QCOMPARE(h.Levels(), (Levels3{12, 0, 0}));
    QCOMPARE(Marked(h), 0);
    QVERIFY(h.boxes.Boxes.empty());
}

void TestKeyboard::gameMenuEntriesFollowTheMode()
{
    Harness h;
    const QList<QAction *> bar = h.window.menuBar()->actions();
    QCOMPARE(bar.size(), 4);
    QCOMPARE(bar[2]->text(), QString::fromUtf8("&Игра"));
    const QList<QAction *> game = bar[2]->menu()->actions();
    QVERIFY(game.size() >= 3);
    QCOMPARE(game[0]->objectName(), QStringLiteral("MnuUndo"));
    QCOMPARE(game[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    QCOMPARE(game[1]->objectName(), QStringLiteral("MnuXml"));
    QCOMPARE(game[1]->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(game[2]->menu()->objectName(), QStringLiteral("MnuPour"));
    const QList<QAction *> pours = game[2]->menu()->actions();
    const char *shown[] = {"12", "13", "21", "23", "31", "32"};
    QCOMPARE(pours.size(), 6);
    for (int i = 0; i < 6; ++i) {
        const QChar from = QLatin1Char(shown[i][0]), to = QLatin1Char(shown[i][1]);
        QCOMPARE(pours[i]->text(), QString::fromUtf8("Из сосуда %1 в сосуд %2").arg(from).arg(to));
        QCOMPARE(pours[i]->shortcut().toString(), QStringLiteral("%1, %2").arg(from).arg(to));
    }

    // The mode table: "Назад" always, the rest only in play, as "Запись результата" is.
    auto check = [&](bool play) {
        QVERIFY(game[0]->isEnabled());
        QCOMPARE(game[1]->isEnabled(), play);
        QCOMPARE(game[1]->isEnabled(), h.Find("BtnXml")->isEnabled());
        QCOMPARE(game[2]->isEnabled(), play);
        for (QAction *a : game[2]->menu()->actions())
            QCOMPARE(a->isEnabled(), play);
    };
    check(false);
    h.window.MnuNewClick();
    check(false);
    h.Click("BtnBegin");
    check(true);
    h.window.MnuNewClick();
    check(false);
}

void TestKeyboard::gameMenuFollowsEveryCommand_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<TfrmMain::GameMode>("mode");
    using Mode = TfrmMain::GameMode;
    auto steps = [](const char *text) { return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts); };
    QTest::newRow("start") << steps("") << Mode::None;
    QTest::newRow("task cancelled before a game") << steps("cancel") << Mode::None;
    QTest::newRow("bad task code") << steps("bad") << Mode::None;
    QTest::newRow("new") << steps("new") << Mode::Input;
    QTest::newRow("task cancelled while typing") << steps("new cancel") << Mode::Input;
    QTest::newRow("bad task code while typing") << steps("new bad") << Mode::Input;
    QTest::newRow("begin") << steps("new begin") << Mode::Play;
    QTest::newRow("task accepted") << steps("accept") << Mode::Play;
    QTest::newRow("task code") << steps("code") << Mode::Play;
    QTest::newRow("task cancelled in play") << steps("code cancel") << Mode::Play;
    QTest::newRow("new after play") << steps("accept new") << Mode::Input;
    QTest::newRow("task accepted while typing") << steps("new accept") << Mode::Play;
}

// Every "&Игра" entry and the digits, after each command that changes the
// mode or leaves it as it was.
void TestKeyboard::gameMenuFollowsEveryCommand()
{
    QFETCH(QStringList, commands);
    QFETCH(TfrmMain::GameMode, mode);
    Harness h;
    for (const QString &command : commands) {
        if (command == QLatin1String("new")) {
            h.window.MnuNewClick();
        } else if (command == QLatin1String("begin")) {
            h.Click("BtnBegin");
        } else if (command == QLatin1String("code")) {
            h.window.StartTaskCode("8,5,3/8,0,0/4");
        } else if (command == QLatin1String("bad")) {
            h.window.StartTaskCode("8,5,3/8,0");
        } else {
            const int result = command == QLatin1String("accept") ? TfrmTask::kResultOk : TfrmTask::kResultCancel;
            WhenShown(h.window.TaskDialog(), [result](TfrmTask &d) { d.done(result); });
            h.window.MnuTasksClick();
        }
    }
    QCOMPARE(h.window.Mode(), mode);

    const bool play = mode == TfrmMain::GameMode::Play;
    const bool game = mode != TfrmMain::GameMode::None;
    const struct {
        const char *Name;
        bool Enabled;
    } entries[] = {{"MnuUndo", true},     {"MnuXml", play},      {"MnuPour12", play},   {"MnuPour13", play},
                   {"MnuPour21", play},   {"MnuPour23", play},   {"MnuPour31", play},   {"MnuPour32", play},
                   {"MnuHint", play},     {"MnuSolution", game}, {"MnuCheck", game}};
    for (const auto &e : entries) {
        auto *action = h.window.findChild<QAction *>(QString::fromLatin1(e.Name));
        QVERIFY2(action, e.Name);
        QVERIFY2(action->isEnabled() == e.Enabled, e.Name);
    }
    QCOMPARE(h.window.findChild<QMenu *>(QStringLiteral("MnuPour"))->menuAction()->isEnabled(), play);
    QCOMPARE(h.Find("BtnXml")->isEnabled(), play);

    // A digit marks a source in play only; elsewhere it does nothing at all.
    h.Find("BtnUndo")->setFocus();
    const int rows = h.window.Puzzle().Log().RowCount();
    Keys(h, "1");
    QCOMPARE(Marked(h), play ? 1 : 0);
    Keys(h, "Esc");
    QCOMPARE(Marked(h), 0);
    QCOMPARE(h.window.Puzzle().Log().RowCount(), rows);
}

void TestKeyboard::menuPourIsTheDrop()
{
    Harness h;
    h.TypeAndStart(kMilk);
    Keys(h, "2");
    h.window.findChild<QAction *>("MnuPour13")->trigger();
    QCOMPARE(h.Levels(), (Levels3{7, 0, 5}));
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 2);
    QCOMPARE(Marked(h), 0);
    h.window.findChild<QAction *>("MnuPour21")->trigger();
    QCOMPARE(h.boxes.Boxes.size(), std::size_t(1));
    QCOMPARE(h.boxes.Boxes[0].Caption, std::string("А смысл?"));
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 2);
}

void TestKeyboard::ctrlZUndoesAndCtrlSSavesOnlyInPlay()
{
    TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    const QString file = dir.FilePath(QStringLiteral("sosudnik.xml"));
    {
        Harness h;
        Activate(h);
        QTest::keyClick(h.Handle(), Qt::Key_S, Qt::ControlModifier); // before any game
        h.window.MnuNewClick();
        h.Find("BtnUndo")->setFocus();
        QTest::keyClick(h.Handle(), Qt::Key_S, Qt::ControlModifier); // input mode
        QVERIFY(h.boxes.Boxes.empty());
        QVERIFY(!QFile::exists(file));

        h.window.Puzzle().LoadTask(TaskPresets[0]);
        h.window.BtnBeginClick();
        Keys(h, "1 2 2 3");
        QTest::keyClick(h.Handle(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.Levels(), (Levels3{5, 7, 0}));
        QCOMPARE(h.window.Puzzle().Log().RowCount(), 2);
        QTest::keyClick(h.Handle(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(h.boxes.Boxes.size(), std::size_t(1));
        QCOMPARE(h.boxes.Boxes[0].Text, std::string("Файл \"sosudnik.xml\" записан"));
        QTest::keyClick(h.Handle(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(h.Handle(), Qt::Key_Z, Qt::ControlModifier); // the start row stays
        QCOMPARE(h.Levels(), (Levels3{12, 0, 0}));
        QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
    }
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    QVERIFY(bytes.contains("<Record Column0=\"1\" Column1=\"5\" Column2=\"7\" Column3=\"0\"/></Data>"));
}

void TestKeyboard::tabPassesTheListInOneStop()
{
    Harness h;
    h.TypeAndStart(kMilk);
    h.Drag(h.Center(h.Image(1)), h.Center(h.Image(2)));
    h.Drag(h.Center(h.Image(2)), h.Center(h.Image(3)));
    auto *view = h.Find<MoveLogView>("ListView");
    h.Find("BtnUndo")->setFocus();
    QTest::keyClick(h.Handle(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), view);
    QTest::keyClick(h.Handle(), Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != view);
    QTest::keyClick(h.Handle(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), view);
    QTest::keyClick(h.Handle(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), h.Find("BtnUndo"));

    // The arrows still move the current row.
    view->setFocus();
    view->setCurrentIndex(view->model()->index(0, 0));
    QTest::keyClick(h.Handle(), Qt::Key_Down);
    QCOMPARE(view->currentIndex().row(), 1);
    QTest::keyClick(h.Handle(), Qt::Key_Down);
    QCOMPARE(view->currentIndex().row(), 2);
}

void TestKeyboard::enterPressesTheFocusedButton_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
}

void TestKeyboard::enterPressesTheFocusedButton()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    auto enter = [&](Harness &h) {
        QTest::keyClick(h.Handle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    };
    Harness h;
    h.window.MnuNewClick();
    const char *names[] = {"EditV1", "EditV2", "EditV3", "EditVW1", "EditVW2", "EditVW3", "EdRes"};
    for (int i = 0; i < 7; ++i)
        h.Type(QString::fromLatin1(names[i]), kMilk[i]);
    h.Edit("EdRes")->setFocus();
    enter(h); // in a field Enter does nothing
    QCOMPARE(h.window.Mode(), TfrmMain::GameMode::Input);

    h.Find("BtnBegin")->setFocus();
    enter(h);
    QCOMPARE(h.window.Mode(), TfrmMain::GameMode::Play);
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);

    h.Drag(h.Center(h.Image(1)), h.Center(h.Image(2)));
    h.Find("BtnUndo")->setFocus();
    enter(h);
    QCOMPARE(h.Levels(), (Levels3{12, 0, 0}));
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);

    {
        TemporaryWorkDir dir;
        QVERIFY(dir.IsValid());
        h.Find("BtnXml")->setFocus();
        enter(h);
    }
    QCOMPARE(h.boxes.Boxes.size(), std::size_t(1));
    QCOMPARE(h.boxes.Boxes[0].Caption, std::string("Запись файла"));

    h.Find("BtnExit")->setFocus();
    enter(h);
    QTRY_VERIFY(!h.window.isVisible());
}

void TestKeyboard::f2EditsTheCaptionFromAnyColumn_data()
{
    QTest::addColumn<int>("column");
    for (int c = 0; c < 4; ++c)
        QTest::addRow("column %d", c) << c;
}

void TestKeyboard::f2EditsTheCaptionFromAnyColumn()
{
    QFETCH(int, column);
    Harness h;
    h.TypeAndStart(kMilk);
    h.Drag(h.Center(h.Image(1)), h.Center(h.Image(2)));
    auto *view = h.Find<MoveLogView>("ListView");
    view->setFocus();
    view->setCurrentIndex(view->model()->index(1, column));
    QTest::keyClick(h.Handle(), Qt::Key_F2);
    QTRY_VERIFY(view->Editing());
    QCOMPARE(view->currentIndex(), view->model()->index(1, 0));
    QTest::keyClick(h.Handle(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("pour"));
    QTest::keyClick(h.Handle(), Qt::Key_Return);
    QTRY_VERIFY(!view->Editing());
    const MoveLog &log = h.window.Puzzle().Log();
    QCOMPARE(log.Cell(1, 0), std::string("pour"));
    QCOMPARE(log.Cell(1, 1) + log.Cell(1, 2) + log.Cell(1, 3), std::string("570"));
    QCOMPARE(log.Cell(0, 0), std::string("0"));
}

void TestKeyboard::enterInTheTaskDialog_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::newRow("Отмена, Return") << "BtnCancel" << int(Qt::Key_Return) << 2;
    QTest::newRow("Отмена, keypad Enter") << "BtnCancel" << int(Qt::Key_Enter) << 2;
    QTest::newRow("Принять") << "BtnOk" << int(Qt::Key_Return) << 1;
    QTest::newRow("the pages") << "pages" << int(Qt::Key_Return) << 1;
}

void TestKeyboard::enterInTheTaskDialog()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, result);
    Harness h;
    h.window.MnuNewClick();
    h.Type("EditV1", "9");
    h.Type("EditVW1", "4");
    const VesselState state = h.window.Puzzle().State();
    // Else the main window's own activation may come late and take the
    // focus back from the dialog.
    QVERIFY(QTest::qWaitForWindowActive(&h.window));

    bool focused = false;
    WhenShown(h.window.TaskDialog(), [&](TfrmTask &d) {
        // Focus moves only within the active window, and on a loaded machine
        // a window closed or shown a moment ago may still take activation
        // back: ask again until the dialog has it.
        QWidget *w = d.findChild<QWidget *>(focus);
        QWidget *target = w->focusProxy() ? w->focusProxy() : w; // the pages hand it on to their tabs
        focused = QTest::qWaitFor([&] {
            if (!d.isActiveWindow())
                d.activateWindow();
            w->setFocus();
            return d.isActiveWindow() && QApplication::focusWidget() == target;
        });
        if (!focused) {
            d.reject();
            return;
        }
        const auto modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(d.windowHandle(), Qt::Key(key), modifiers);
    });
    h.window.MnuTasksClick();
    QVERIFY(focused);
    if (result == 2) {
        QCOMPARE(h.window.Mode(), TfrmMain::GameMode::Input);
        QCOMPARE(h.window.Puzzle().State().Values, state.Values);
        QCOMPARE(h.Edit("EditV1")->text(), QStringLiteral("9"));
        QCOMPARE(h.Edit("EditVW1")->text(), QStringLiteral("4"));
        QCOMPARE(h.window.Puzzle().Log().RowCount(), 0);
    } else {
        QCOMPARE(h.window.Mode(), TfrmMain::GameMode::Play);
        QCOMPARE(h.Levels(), (Levels3{12, 0, 0}));
        QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
    }
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
