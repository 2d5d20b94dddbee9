// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The window's commands: one table of what is available in which mode, no
// command in the middle of a drag, no pour behind an open menu, the focus
// once a game starts, and the menu's own keys.
#include "window_harness.h"

#include "modal_helpers.h"
#include "move_log_model.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

using Command = GameCommands::Command;

namespace {

const QStringList kMilk = {"12", "7", "5", "12", "0", "0", "6"};

void Activate(Harness &h)
{
    h.window.activateWindow();
    if (!QTest::qWaitForWindowActive(&h.window))
        qFatal("the main window never became active");
}

// Opens a menu of the menu bar with the mouse, as the player would.
QMenu *OpenMenu(Harness &h, const char *name)
{
    auto *menu = h.window.findChild<QMenu *>(QString::fromLatin1(name));
    QMenuBar *bar = h.window.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    if (!QTest::qWaitFor([menu] { return menu->isVisible(); }, 10'000))
        qFatal("the menu %s never opened", name);
    return menu;
}

} // namespace

class TestCommands : public QObject {
    Q_OBJECT

private slots:
    void tableOfModes();
    void focusGoesToTheListWhenAGameStarts_data();
    void focusGoesToTheListWhenAGameStarts();
    void noCommandActsInTheMiddleOfADrag();
    void digitsPourNothingBehindAnOpenMenu();
    void aPourChosenInTheMenuStillPours();
    void gameMenuEntriesHaveTheirOwnMnemonics();
};

void TestCommands::tableOfModes()
{
    using M = GameMode;
    const struct {
        Command Which;
        bool None, Input, Play;
    } table[] = {
        {Command::New, true, true, true},         {Command::Tasks, true, true, true},
        {Command::Exit, true, true, true},        {Command::Undo, true, true, true},
        {Command::Begin, false, true, false},     {Command::Values, false, true, false},
        {Command::Save, false, false, true},      {Command::Pour, false, false, true},
        {Command::Hint, false, false, true},      {Command::Solution, false, true, true},
        {Command::Check, false, true, true},      {Command::Help, false, false, false},
        {Command::CheckRecords, false, true, true},
    };
    for (const auto &row : table) {
        QCOMPARE(GameCommands::EnabledIn(row.Which, M::None), row.None);
        QCOMPARE(GameCommands::EnabledIn(row.Which, M::Input), row.Input);
        QCOMPARE(GameCommands::EnabledIn(row.Which, M::Play), row.Play);
    }
    GameCommands commands;
    commands.SetMode(M::Play);
    QVERIFY(commands.MayRun(Command::Undo));
    commands.SetDragging(true);
    for (const auto &row : table)
        QVERIFY(!commands.MayRun(row.Which));
}

void TestCommands::focusGoesToTheListWhenAGameStarts_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("button by mouse") << QStringLiteral("mouse");
    QTest::newRow("button by Enter") << QStringLiteral("enter");
    QTest::newRow("task dialog") << QStringLiteral("task");
    QTest::newRow("task code") << QStringLiteral("code");
}

// Once the game starts its button turns grey; the focus must not pass on to
// "Выход", where one more Enter would end the game and lose the log.
void TestCommands::focusGoesToTheListWhenAGameStarts()
{
    QFETCH(QString, how);
    Harness h;
    Activate(h);
    if (how == QLatin1String("task")) {
        WhenShown(h.window.TaskDialog(), [](TfrmTask &d) { Accept(d); });
        h.window.MnuTasksClick();
    } else if (how == QLatin1String("code")) {
        h.window.StartTaskCode("12,7,5/12,0,0/6");
    } else {
        h.window.MnuNewClick();
        const char *names[] = {"EditV1", "EditV2", "EditV3", "EditVW1", "EditVW2", "EditVW3", "EdRes"};
        for (int i = 0; i < 7; ++i)
            h.Type(QString::fromLatin1(names[i]), kMilk[i]);
        if (how == QLatin1String("mouse")) {
            h.Click(QStringLiteral("BtnBegin"));
        } else {
            h.Find("BtnBegin")->setFocus();
            QTest::keyClick(h.Handle(), Qt::Key_Return);
        }
    }
    QCOMPARE(h.window.Mode(), GameMode::Play);
    // The window's own focus: where its keys go once it is active again
    // (after the task dialog, say).
    QCOMPARE(h.window.focusWidget(), h.Find("ListView"));
    QTest::keyClick(h.Handle(), Qt::Key_Return);
    QVERIFY(h.window.isVisible());
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
    // From the list the digits pour.
    QTest::keyClick(h.Handle(), Qt::Key_1);
    QTest::keyClick(h.Handle(), Qt::Key_2);
    QCOMPARE(h.Levels(), (std::array<int, 3>{5, 7, 0}));
}

void TestCommands::noCommandActsInTheMiddleOfADrag()
{
    TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    Harness h;
    Activate(h);
    h.TypeAndStart(kMilk);
    h.Drag(h.Center(h.Image(1)), h.Center(h.Image(2)));
    QCOMPARE(h.Levels(), (std::array<int, 3>{5, 7, 0}));

    h.Press(h.Center(h.Image(2)));
    h.MoveTo(h.Center(h.Image(3)));
    QVERIFY(h.window.Commands().Dragging());
    for (const Qt::Key key : {Qt::Key_Z, Qt::Key_H, Qt::Key_S, Qt::Key_R, Qt::Key_T})
        QTest::keyClick(h.Handle(), key, Qt::ControlModifier);
    QTest::keyClick(h.Handle(), Qt::Key_1);
    // However an entry is reached (X delivers the shortcut keys even to a
    // window whose picture holds the keyboard), it does nothing now.
    for (const char *name : {"MnuUndo", "MnuHint", "MnuXml", "MnuSolution", "MnuCheck", "MnuPour21", "MnuNew"})
        h.window.findChild<QAction *>(QString::fromLatin1(name))->trigger();
    h.Find<QPushButton>(QStringLiteral("BtnUndo"))->click();
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 2);
    QVERIFY(h.boxes.Boxes.empty());
    QVERIFY(!QFile::exists(dir.FilePath(QStringLiteral("sosudnik.xml"))));

    // The drop pours from the position the drag began in: 5 7 0, 2 -> 3.
    h.Release(h.Center(h.Image(3)));
    QVERIFY(!h.window.Commands().Dragging());
    QCOMPARE(h.Levels(), (std::array<int, 3>{5, 2, 5}));
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 3);
    // And the keys work again.
    QTest::keyClick(h.Handle(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 2);
}

void TestCommands::digitsPourNothingBehindAnOpenMenu()
{
    Harness h;
    Activate(h);
    h.TypeAndStart(kMilk);
    for (const char *name : {"MnuData", "MnuGame"}) {
        QMenu *menu = OpenMenu(h, name);
        for (const Qt::Key key : {Qt::Key_1, Qt::Key_2, Qt::Key_2, Qt::Key_1})
            QTest::keyClick(menu->windowHandle(), key);
        QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
        QCOMPARE(h.Levels(), (std::array<int, 3>{12, 0, 0}));
        QTest::keyClick(menu->windowHandle(), Qt::Key_Escape);
        QTest::keyClick(h.Handle(), Qt::Key_Escape);
        QVERIFY(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }, 10'000));
    }
    QVERIFY(h.boxes.Boxes.empty());
}

void TestCommands::aPourChosenInTheMenuStillPours()
{
    Harness h;
    Activate(h);
    h.TypeAndStart(kMilk);
    QMenu *game = OpenMenu(h, "MnuGame");
    auto *pours = h.window.findChild<QMenu *>(QStringLiteral("MnuPour"));
    QTest::mouseClick(game, Qt::LeftButton, {}, game->actionGeometry(pours->menuAction()).center());
    QVERIFY(QTest::qWaitFor([pours] { return pours->isVisible(); }, 10'000));
    auto *entry = h.window.findChild<QAction *>(QStringLiteral("MnuPour12"));
    QTest::mouseClick(pours, Qt::LeftButton, {}, pours->actionGeometry(entry).center());
    QCOMPARE(h.Levels(), (std::array<int, 3>{5, 7, 0}));
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 2);
}

void TestCommands::gameMenuEntriesHaveTheirOwnMnemonics()
{
    Harness h;
    auto *game = h.window.findChild<QMenu *>(QStringLiteral("MnuGame"));
    QSet<QChar> seen;
    for (QAction *action : game->actions()) {
        if (action->isSeparator())
            continue;
        const QString text = action->text();
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        QVERIFY2(at >= 0 && at + 1 < text.size() && text[at + 1].isLetter(), qPrintable(text));
        const QChar key = text[at + 1].toLower();
        QVERIFY2(!seen.contains(key), qPrintable(text));
        seen.insert(key);
    }
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
