// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The window's commands: every control follows its command in each mode, no
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

#include <functional>

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

// Every entry of the menus, those of submenus included; the bar's own menu
// titles only hold them.
QList<const QAction *> MenuEntries(const QMenuBar *bar)
{
    QList<const QAction *> entries;
    std::function<void(const QMenu *)> collect = [&](const QMenu *menu) {
        for (const QAction *action : menu->actions()) {
            if (action->isSeparator())
                continue;
            entries << action;
            if (action->menu())
                collect(action->menu());
        }
    };
    for (const QAction *action : bar->actions()) {
        if (action->menu())
            collect(action->menu());
        else
            entries << action;
    }
    return entries;
}

} // namespace

class TestCommands : public QObject {
    Q_OBJECT

private slots:
    void everyControlFollowsItsCommand_data();
    void everyControlFollowsItsCommand();
    void focusGoesToTheListWhenAGameStarts_data();
    void focusGoesToTheListWhenAGameStarts();
    void noCommandActsInTheMiddleOfADrag();
    void digitsPourNothingBehindAnOpenMenu();
    void aPourChosenInTheMenuStillPours();
    void gameMenuEntriesHaveTheirOwnMnemonics();
};

void TestCommands::everyControlFollowsItsCommand_data()
{
    QTest::addColumn<GameMode>("mode");
    QTest::addColumn<bool>("lesson");
    for (const bool lesson : {false, true}) {
        const char *suffix = lesson ? ", lesson" : "";
        QTest::addRow("before any game%s", suffix) << GameMode::None << lesson;
        QTest::addRow("input%s", suffix) << GameMode::Input << lesson;
        QTest::addRow("play%s", suffix) << GameMode::Play << lesson;
    }
}

// The window as the player reaches each mode: every button, field and menu
// entry shows what the commands say of it, every command has one, and no
// menu entry stands outside the commands.
void TestCommands::everyControlFollowsItsCommand()
{
    QFETCH(GameMode, mode);
    QFETCH(bool, lesson);
    Harness h;
    if (lesson)
        h.window.Commands().SetLesson(true); // as `--lesson` does
    if (mode == GameMode::Input)
        h.window.MnuNewClick();
    else if (mode == GameMode::Play)
        h.TypeAndStart(kMilk);
    const GameCommands &commands = h.window.Commands();
    QCOMPARE(commands.Mode(), mode);

    QSet<int> commandsBound;
    QSet<const QObject *> controls;
    for (const GameCommands::Binding &binding : commands.Bindings()) {
        QVERIFY(binding.Control);
        const auto *action = qobject_cast<const QAction *>(binding.Control.data());
        const auto *widget = qobject_cast<const QWidget *>(binding.Control.data());
        QVERIFY2(action || widget, qPrintable(binding.Control->objectName()));
        const bool enabled = action ? action->isEnabled() : widget->isEnabled();
        QVERIFY2(enabled == GameCommands::EnabledIn(binding.Which, mode, lesson),
                 qPrintable(QStringLiteral("%1, command %2").arg(binding.Control->objectName()).arg(int(binding.Which))));
        commandsBound.insert(int(binding.Which));
        controls.insert(binding.Control.data());
    }
    for (int command = 0; command < GameCommands::kCommandCount; ++command)
        QVERIFY2(commandsBound.contains(command), qPrintable(QStringLiteral("command %1 has no control").arg(command)));
    for (const QAction *entry : MenuEntries(h.window.menuBar()))
        QVERIFY2(controls.contains(entry), qPrintable(entry->objectName() + QLatin1String(" follows no command")));

    // The window's own availability table, as the player sees it.
    const bool input = mode == GameMode::Input;
    for (const char *name : {"EditV1", "EditV2", "EditV3", "EditVW1", "EditVW2", "EditVW3", "EdRes"})
        QCOMPARE(h.Edit(QString::fromLatin1(name))->isEnabled(), input);
    QCOMPARE(h.Find("BtnBegin")->isEnabled(), input);
    QCOMPARE(h.Find("BtnXml")->isEnabled(), mode == GameMode::Play);
    QVERIFY(h.Find("BtnUndo")->isEnabled());
    QVERIFY(h.Find("BtnExit")->isEnabled());
    for (const char *name : {"MnuNew", "MnuTasks", "MnuExit"})
        QVERIFY2(h.Action(name)->isEnabled(), name);
    QVERIFY(!h.Action("MnuHelp")->isEnabled());
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
    for (int command = 0; command < GameCommands::kCommandCount; ++command)
        QVERIFY(!h.window.Commands().MayRun(static_cast<Command>(command)));
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
