// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "window_harness.h"

#include "modal_helpers.h"
#include "tfrmtask.h"

#include <QAction>
#include <QLabel>
#include <QTabWidget>

using Levels3 = std::array<int, 3>;

namespace {

std::vector<std::string> Fields(Harness &h)
{
    std::vector<std::string> texts;
    for (const char *name : {"EditV1", "EditV2", "EditV3", "EditVW1", "EditVW2", "EditVW3", "EdRes"})
        texts.push_back(h.Edit(name)->text().toStdString());
    return texts;
}

} // namespace

class TestTaskDialog : public QObject {
    Q_OBJECT

private slots:
    void dialogLayout();
    void acceptingKvassStartsIt();
    void acceptingMilkInAFreshWindow();
    void reopeningShowsTheLastPage();
    void everyCancelReturnsTwoAndChangesNothing_data();
    void everyCancelReturnsTwoAndChangesNothing();
    void loadingMidGameStartsAfresh();
    void picturesWaitForTheFirstShowing();
};

void TestTaskDialog::dialogLayout()
{
    Harness h;
    TfrmTask &dialog = h.window.TaskDialog();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.windowTitle(), QString::fromUtf8("Выбор задачи"));
    QCOMPARE(dialog.size(), QSize(591, 393));
    auto *pages = dialog.findChild<QTabWidget *>("pages");
    QCOMPARE(pages->geometry(), QRect(8, 8, 577, 345));
    QCOMPARE(pages->tabText(0), QString::fromUtf8("Задача о молоке"));
    QCOMPARE(pages->tabText(1), QString::fromUtf8("Задача о квасе"));
    QCOMPARE(pages->currentIndex(), 0);
    auto *milk = dialog.findChild<QLabel *>("Image1");
    auto *kvass = dialog.findChild<QLabel *>("Image2");
    QCOMPARE(milk->geometry(), QRect(24, 32, 520, 228));
    QCOMPARE(kvass->geometry(), QRect(0, 8, 565, 302));
    dialog.show(); // the pictures are decoded on first showing
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(milk->pixmap().size(), QSize(520, 228));
    QCOMPARE(kvass->pixmap().size(), QSize(565, 302));
    QCOMPARE(dialog.findChild<QPushButton *>("BtnOk")->geometry(), QRect(384, 360, 97, 25));
    QCOMPARE(dialog.findChild<QPushButton *>("BtnCancel")->geometry(), QRect(488, 360, 97, 25));
    QVERIFY(dialog.findChild<QPushButton *>("BtnOk")->isDefault());
    // What the player sees: each picture whole on its page, the one shown
    // not covered by anything, and both buttons on the dialog with their words.
    for (QLabel *picture : {milk, kvass})
        QVERIFY2(picture->parentWidget()->rect().contains(picture->geometry()), qPrintable(picture->objectName()));
    QCOMPARE(milk->visibleRegion(), QRegion(milk->rect()));
    for (const auto &[name, text] : {std::pair{"BtnOk", "Принять"}, std::pair{"BtnCancel", "Отмена"}}) {
        auto *button = dialog.findChild<QPushButton *>(QString::fromLatin1(name));
        QVERIFY2(button->isVisible() && dialog.rect().contains(button->geometry()), name);
        QCOMPARE(button->text(), QString::fromUtf8(text));
    }
    dialog.hide();
}

void TestTaskDialog::acceptingKvassStartsIt()
{
    Harness h;
    WhenShown(h.window.TaskDialog(), [](TfrmTask &d) {
        ChoosePage(d, 1);
        Accept(d);
    });
    h.window.findChild<QAction *>("MnuTasks")->trigger();
    QCOMPARE(Fields(h), (std::vector<std::string>{"8", "5", "3", "8", "0", "0", "4"}));
    QCOMPARE(h.Levels(), (Levels3{8, 0, 0}));
    QCOMPARE(h.window.Puzzle().State().Target(), 4);
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
    QVERIFY(h.Find("BtnXml")->isEnabled());
    QVERIFY(!h.Edit("EditV1")->isEnabled());
    // Play mode: the vessels pour by dragging.
    h.Drag(h.Center(h.Image(1)), h.Center(h.Image(2)));
    QCOMPARE(h.Levels(), (Levels3{3, 5, 0}));
}

void TestTaskDialog::acceptingMilkInAFreshWindow()
{
    Harness h;
    WhenShown(h.window.TaskDialog(), [](TfrmTask &d) { QTest::keyClick(&d, Qt::Key_Return); });
    h.window.MnuTasksClick();
    QCOMPARE(Fields(h), (std::vector<std::string>{"12", "7", "5", "12", "0", "0", "6"}));
    const MoveLog &log = h.window.Puzzle().Log();
    QCOMPARE(log.RowCount(), 1);
    QCOMPARE(log.Cell(0, 0) + log.Cell(0, 1) + log.Cell(0, 2) + log.Cell(0, 3), std::string("01200"));
}

void TestTaskDialog::reopeningShowsTheLastPage()
{
    Harness h;
    TfrmTask &dialog = h.window.TaskDialog();
    int seen = -1;
    WhenShown(dialog, [](TfrmTask &d) {
        ChoosePage(d, 1);
        Accept(d);
    });
    h.window.MnuTasksClick();
    WhenShown(dialog, [&seen](TfrmTask &d) {
        seen = d.ActivePage();
        ChoosePage(d, 0);
        d.findChild<QPushButton *>("BtnCancel")->click();
    });
    h.window.MnuTasksClick();
    QCOMPARE(seen, 1);
    WhenShown(dialog, [&seen](TfrmTask &d) {
        seen = d.ActivePage();
        d.reject();
    });
    h.window.MnuTasksClick();
    QCOMPARE(seen, 0); // the cancelled switch stays too
    QCOMPARE(h.window.Puzzle().State().Capacity(1), 8);
}

void TestTaskDialog::everyCancelReturnsTwoAndChangesNothing_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("Отмена") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("close box") << 2;
}

void TestTaskDialog::everyCancelReturnsTwoAndChangesNothing()
{
    QFETCH(int, way);
    Harness h;
    h.TypeAndStart({"9", "4", "1", "2", "3", "1", "7"});
    h.Drag(h.Center(h.Image(1)), h.Center(h.Image(3))); // nothing to pour into a full vessel
    const auto fields = Fields(h);
    const VesselState state = h.window.Puzzle().State();
    const auto boxes = h.boxes.Boxes.size();

    WhenShown(h.window.TaskDialog(), [way](TfrmTask &d) {
        ChoosePage(d, 1);
        if (way == 0)
            QTest::mouseClick(d.findChild<QPushButton *>("BtnCancel"), Qt::LeftButton);
        else if (way == 1)
            QTest::keyClick(&d, Qt::Key_Escape);
        else
            d.close();
    });
    QCOMPARE(h.window.TaskDialog().exec(), 2);

    WhenShown(h.window.TaskDialog(), [](TfrmTask &d) { d.close(); });
    h.window.MnuTasksClick();
    QCOMPARE(Fields(h), fields);
    QCOMPARE(h.window.Puzzle().State().Values, state.Values);
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
    QCOMPARE(h.boxes.Boxes.size(), boxes);
    QVERIFY(h.Find("BtnXml")->isEnabled());
}

void TestTaskDialog::loadingMidGameStartsAfresh()
{
    Harness h;
    WhenShown(h.window.TaskDialog(), [](TfrmTask &d) {
        ChoosePage(d, 1);
        Accept(d);
    });
    h.window.MnuTasksClick();
    const int moves[][2] = {{1, 2}, {2, 3}, {3, 1}, {2, 3}, {1, 2}, {2, 3}};
    for (const auto &m : moves)
        h.Drag(h.Center(h.Image(m[0])), h.Center(h.Image(m[1])));
    QCOMPARE(h.boxes.Boxes.size(), std::size_t(1));

    WhenShown(h.window.TaskDialog(), [](TfrmTask &d) { Accept(d); });
    h.window.MnuTasksClick();
    QVERIFY(!h.window.Puzzle().State().GoalReached);
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
    QCOMPARE(h.Levels(), (Levels3{8, 0, 0}));
    for (const auto &m : moves)
        h.Drag(h.Center(h.Image(m[0])), h.Center(h.Image(m[1])));
    QCOMPARE(h.boxes.Boxes.size(), std::size_t(2)); // reported again
}

// The dialog is made with the window, but its pictures are read only when it
// is first shown: the window's first frame does not show them.
void TestTaskDialog::picturesWaitForTheFirstShowing()
{
    Harness h;
    TfrmTask &dialog = h.window.TaskDialog();
    auto *milk = dialog.findChild<QLabel *>("Image1");
    auto *kvass = dialog.findChild<QLabel *>("Image2");
    QVERIFY(milk->pixmap().isNull());
    QVERIFY(kvass->pixmap().isNull());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!milk->pixmap().isNull());
    QVERIFY(!kvass->pixmap().isNull());
    dialog.hide();
}

QTEST_MAIN(TestTaskDialog)
#include "tst_tfrmtask.moc"
