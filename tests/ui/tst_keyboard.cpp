// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The game with the keyboard alone: Tab, Enter and F2 in the window and the
// task dialog.
#include "window_harness.h"

#include "move_log_model.h"
#include "tfrmtask.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

using Levels3 = std::array<int, 3>;

namespace {

const QStringList kMilk = {"12", "7", "5", "12", "0", "0", "6"};

// Runs action on the task dialog once it is up, from inside its modal loop.
void WhenShown(TfrmTask &dialog, std::function<void(TfrmTask &)> action)
{
    auto *poll = new QTimer(&dialog);
    QObject::connect(poll, &QTimer::timeout, &dialog, [poll, &dialog, action] {
        if (!dialog.isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        action(dialog);
    });
    poll->start(5);
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void tabPassesTheListInOneStop();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void f2EditsTheCaptionFromAnyColumn_data();
    void f2EditsTheCaptionFromAnyColumn();
    void enterInTheTaskDialog_data();
    void enterInTheTaskDialog();
};

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
    QCOMPARE(h.window.Model().Log().RowCount(), 1);

    h.Drag(h.Center(h.Image(1)), h.Center(h.Image(2)));
    h.Find("BtnUndo")->setFocus();
    enter(h);
    QCOMPARE(h.Levels(), (Levels3{12, 0, 0}));
    QCOMPARE(h.window.Model().Log().RowCount(), 1);

    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    h.Find("BtnXml")->setFocus();
    enter(h);
    QDir::setCurrent(before);
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
    const MoveLog &log = h.window.Model().Log();
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
    const VesselState state = h.window.Model().State();

    bool focused = false;
    WhenShown(h.window.TaskDialog(), [&](TfrmTask &d) {
        QWidget *w = d.findChild<QWidget *>(focus);
        w->setFocus(); // the pages hand it on to their tabs
        focused = QApplication::focusWidget() == (w->focusProxy() ? w->focusProxy() : w);
        const auto modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        QTest::keyClick(d.windowHandle(), Qt::Key(key), modifiers);
    });
    h.window.MnuTasksClick();
    QVERIFY(focused);
    if (result == 2) {
        QCOMPARE(h.window.Mode(), TfrmMain::GameMode::Input);
        QCOMPARE(h.window.Model().State().Values, state.Values);
        QCOMPARE(h.Edit("EditV1")->text(), QStringLiteral("9"));
        QCOMPARE(h.Edit("EditVW1")->text(), QStringLiteral("4"));
        QCOMPARE(h.window.Model().Log().RowCount(), 0);
    } else {
        QCOMPARE(h.window.Mode(), TfrmMain::GameMode::Play);
        QCOMPARE(h.Levels(), (Levels3{12, 0, 0}));
        QCOMPARE(h.window.Model().Log().RowCount(), 1);
    }
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
