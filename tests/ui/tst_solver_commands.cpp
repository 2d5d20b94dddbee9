// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// "Подсказка", "Решение" and "Проверить задачу" in the "&Игра" menu, and a
// task started from its code, in the real window.
#include "window_harness.h"

#include "modal_helpers.h"
#include "solution_dialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTest>

#include <functional>

namespace {

// What the solution dialog showed, read while it was up.
struct ShownDialog {
    bool Shown = false;
    QString Title;
    QString Length;
    QString Player; // empty when there is no such line
    QStringList Rows;
    QString Copied;
    QString TableText;
};

// Runs start(), which opens the dialog modally; reads it, presses
// "Копировать", and closes it.
ShownDialog WithSolutionDialog(const std::function<void()> &start)
{
    ShownDialog shown;
    WithModal<SolutionDialog>(start, [&](SolutionDialog *dialog) {
        shown.Shown = true;
        shown.Title = dialog->windowTitle();
        shown.Length = dialog->findChild<QLabel *>(QStringLiteral("SolutionLength"))->text();
        if (auto *player = dialog->findChild<QLabel *>(QStringLiteral("PlayerCount")))
            shown.Player = player->text();
        auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("SolutionTable"));
        for (int r = 0; r < table->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columnCount(); ++c)
                cells << table->item(r, c)->text();
            shown.Rows << cells.join(QLatin1Char(' '));
        }
        QApplication::clipboard()->clear();
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("BtnCopy")), Qt::LeftButton);
        shown.Copied = QApplication::clipboard()->text();
        shown.TableText = dialog->TableText();
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("BtnClose")), Qt::LeftButton);
    });
    return shown;
}

const QString kMilk = QStringLiteral("12,7,5/12,0,0/6");

} // namespace

class TestSolverCommands : public QObject {
    Q_OBJECT

private slots:
    void entriesSitInTheGameMenuWithShortcuts();
    void availabilityPerMode();
    void hintForTheMilkStart();
    void hintWhenTheGoalIsOutOfReach();
    void solutionDialogRowsAndCopy();
    void solutionAfterAWinShowsThePlayersCount();
    void solutionInInputModeByItsShortcut();
    void solutionOfAnUnsolvablePuzzleIsABox();
    void checkInInputModeAndFromTheStartRowInPlay();
    void taskCodeStartsAGame();
    void badTaskCodeShowsTheErrorBoxAndStartsNothing();
};

void TestSolverCommands::entriesSitInTheGameMenuWithShortcuts()
{
    Harness h;
    auto *game = h.window.findChild<QMenu *>(QStringLiteral("MnuGame"));
    QVERIFY(game);
    const QList<QAction *> bar = h.window.menuBar()->actions();
    QVERIFY(bar.indexOf(h.Action("MnuTasks")) < bar.indexOf(game->menuAction()));
    QVERIFY(bar.indexOf(game->menuAction()) < bar.indexOf(h.Action("MnuHelp")));

    const struct {
        const char *Name;
        const char *Text;
        QKeySequence Keys;
    } entries[] = {{"MnuHint", "По&дсказка", QKeySequence(QStringLiteral("Ctrl+H"))},
                   {"MnuSolution", "&Решение", QKeySequence(QStringLiteral("Ctrl+R"))},
                   {"MnuCheck", "Пр&оверить задачу", QKeySequence(QStringLiteral("Ctrl+T"))}};
    for (const auto &e : entries) {
        QAction *action = h.Action(e.Name);
        QVERIFY(game->actions().contains(action));
        QCOMPARE(action->text(), QString::fromUtf8(e.Text));
        QCOMPARE(action->shortcut(), e.Keys);
    }
}

void TestSolverCommands::availabilityPerMode()
{
    Harness h;
    auto enabled = [&] {
        return QList<bool>{h.Action("MnuHint")->isEnabled(), h.Action("MnuSolution")->isEnabled(),
                           h.Action("MnuCheck")->isEnabled()};
    };
    QCOMPARE(enabled(), (QList<bool>{false, false, false}));
    // Before any game a shortcut does nothing at all.
    QTest::keyClick(&h.window, Qt::Key_R, Qt::ControlModifier);
    QTest::keyClick(&h.window, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(h.boxes.Boxes.empty());

    h.window.MnuNewClick();
    QCOMPARE(enabled(), (QList<bool>{false, true, true}));
    h.Click(QStringLiteral("BtnBegin"));
    QCOMPARE(enabled(), (QList<bool>{true, true, true}));
    h.window.MnuNewClick();
    QCOMPARE(enabled(), (QList<bool>{false, true, true}));
}

void TestSolverCommands::hintForTheMilkStart()
{
    Harness h;
    h.window.StartTaskCode(kMilk.toStdString());
    const GameSnapshot before = TakeSnapshot(h);
    QTest::keyClick(&h.window, Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(h.boxes.Boxes.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(h.boxes.Boxes[0].Text),
             QString::fromUtf8("Перелейте из сосуда 1 в сосуд 2. До цели осталось 10 переливаний."));
    QCOMPARE(QString::fromStdString(h.boxes.Boxes[0].Caption), QString::fromUtf8("Подсказка"));
    QCOMPARE(h.boxes.Boxes[0].Icon, 64);
    QVERIFY(TakeSnapshot(h) == before);

    // One pour as told, and the hint counts one fewer.
    h.Drag(h.Center(h.Image(1)), h.Center(h.Image(2)));
    QCOMPARE(h.Levels(), (std::array<int, 3>{5, 7, 0}));
    h.Action("MnuHint")->trigger();
    QCOMPARE(h.boxes.Boxes.size(), std::size_t{2});
    QVERIFY(
        QString::fromStdString(h.boxes.Boxes[1].Text).endsWith(QString::fromUtf8("До цели осталось 9 переливаний.")));
}

void TestSolverCommands::hintWhenTheGoalIsOutOfReach()
{
    Harness h;
    h.window.StartTaskCode("8,7,6/5,5,0/5");
    h.Drag(h.Center(h.Image(1)), h.Center(h.Image(2))); // 3 7 0: no 5 can come again
    QCOMPARE(h.Levels(), (std::array<int, 3>{3, 7, 0}));
    const GameSnapshot before = TakeSnapshot(h);
    h.Action("MnuHint")->trigger();
    QCOMPARE(h.boxes.Boxes.size(), std::size_t{1});
    const QString text = QString::fromStdString(h.boxes.Boxes[0].Text);
    QVERIFY2(text.startsWith(QString::fromUtf8("Отсюда цель недостижима. ")), qPrintable(text));
    QVERIFY2(text.endsWith(QString::fromUtf8(" Отмените 1 переливание кнопкой «Назад»: оттуда цель достижима.")),
             qPrintable(text));
    QCOMPARE(h.boxes.Boxes[0].Icon, 48);
    QVERIFY(TakeSnapshot(h) == before);
}

void TestSolverCommands::solutionDialogRowsAndCopy()
{
    Harness h;
    h.window.StartTaskCode(kMilk.toStdString());
    const GameSnapshot before = TakeSnapshot(h);
    const ShownDialog shown = WithSolutionDialog([&] { h.Action("MnuSolution")->trigger(); });
    QVERIFY(shown.Shown);
    QCOMPARE(shown.Title, QString::fromUtf8("Решение"));
    QCOMPARE(shown.Length, QString::fromUtf8("Кратчайшее решение из этого положения — 10 переливаний."));
    QCOMPARE(shown.Player, QString());
    const QStringList rows{"1 1 2 5 7 0", "2 2 3 5 2 5", "3 3 1 10 2 0", "4 2 3 10 0 2", "5 1 2 3 7 2",
                           "6 2 3 3 4 5", "7 3 1 8 4 0", "8 2 3 8 0 4",  "9 1 2 1 7 4",  "10 2 3 1 6 5"};
    QCOMPARE(shown.Rows, rows);
    QVERIFY(shown.TableText.startsWith(QString::fromUtf8("№\tИз\tВ\tV1\tV2\tV3\n1\t1\t2\t5\t7\t0\n")));
    QVERIFY(shown.TableText.endsWith(QStringLiteral("\n10\t2\t3\t1\t6\t5\n")));
    QCOMPARE(shown.Copied, shown.TableText);
    QVERIFY(h.boxes.Boxes.empty());
    QVERIFY(TakeSnapshot(h) == before);
}

void TestSolverCommands::solutionAfterAWinShowsThePlayersCount()
{
    Harness h;
    h.window.StartTaskCode("8,5,3/8,0,0/4");
    // Nine pours, one of them undone, before the goal: eight stand.
    for (const auto &[s, r] : {std::pair{1, 2}, {2, 1}})
        h.window.Puzzle().Pour(s, r);
    h.window.BtnUndoClick();
    for (const auto &[s, r] : {std::pair{1, 3}, {3, 1}, {2, 3}, {3, 1}, {2, 3}, {1, 2}, {2, 3}})
        h.window.Puzzle().Pour(s, r);
    QVERIFY(h.window.Puzzle().State().GoalReached);
    QCOMPARE(h.boxes.Boxes.size(), std::size_t{1});
    h.window.Puzzle().Pour(3, 1); // past the goal: the count stays
    const GameSnapshot before = TakeSnapshot(h);
    const ShownDialog shown = WithSolutionDialog([&] { h.Action("MnuSolution")->trigger(); });
    QVERIFY(shown.Shown);
    QCOMPARE(shown.Player, QString::fromUtf8("Вы решили за 8 переливаний; наименьшее число — 6."));
    QVERIFY(TakeSnapshot(h) == before);
}

void TestSolverCommands::solutionInInputModeByItsShortcut()
{
    Harness h;
    h.window.MnuNewClick();
    const char *names[] = {"EditV1", "EditV2", "EditV3", "EditVW1", "EditVW2", "EditVW3", "EdRes"};
    const char *values[] = {"8", "5", "3", "8", "0", "0", "4"};
    for (int i = 0; i < 7; ++i)
        h.Type(QString::fromLatin1(names[i]), QString::fromLatin1(values[i]));
    QTRY_COMPARE(QApplication::focusWidget(), h.Edit("EdRes"));
    const GameSnapshot before = TakeSnapshot(h);
    // The shortcut reaches the window although a line edit has the focus.
    const ShownDialog shown
        = WithSolutionDialog([&] { QTest::keyClick(h.Edit("EdRes"), Qt::Key_R, Qt::ControlModifier); });
    QVERIFY(shown.Shown);
    QCOMPARE(shown.Rows.size(), 6);
    QCOMPARE(shown.Rows.last(), QStringLiteral("6 2 3 1 4 3"));
    QVERIFY(TakeSnapshot(h) == before);
    QCOMPARE(h.Edit("EdRes")->text(), QStringLiteral("4"));
}

void TestSolverCommands::solutionOfAnUnsolvablePuzzleIsABox()
{
    Harness h;
    h.window.StartTaskCode("9,7,5/2,0,0/3");
    h.Action("MnuSolution")->trigger();
    QCOMPARE(h.boxes.Boxes.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(h.boxes.Boxes[0].Text),
             QString::fromUtf8("Решения нет. Уровень 3 больше, чем налито во все сосуды вместе (2)."));
    QCOMPARE(QString::fromStdString(h.boxes.Boxes[0].Caption), QString::fromUtf8("Решение"));
    QCOMPARE(h.boxes.Boxes[0].Icon, 48);
}

void TestSolverCommands::checkInInputModeAndFromTheStartRowInPlay()
{
    Harness h;
    h.window.MnuNewClick();
    const char *names[] = {"EditV1", "EditV2", "EditV3", "EditVW1", "EdRes"};
    const char *values[] = {"999", "4", "6", "6", "3"};
    for (int i = 0; i < 5; ++i)
        h.Type(QString::fromLatin1(names[i]), QString::fromLatin1(values[i]));
    QTest::keyClick(h.Edit("EdRes"), Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(h.boxes.Boxes.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(h.boxes.Boxes[0].Text)
                .startsWith(QString::fromUtf8("Задачу решить нельзя. Все уровни делятся на 2")));
    QCOMPARE(QString::fromStdString(h.boxes.Boxes[0].Caption), QString::fromUtf8("Проверить задачу"));
    QCOMPARE(h.boxes.Boxes[0].Icon, 48);

    h.window.StartTaskCode(kMilk.toStdString());
    h.window.Puzzle().Pour(1, 3);
    h.window.Puzzle().Pour(3, 2);
    const GameSnapshot before = TakeSnapshot(h);
    h.Action("MnuCheck")->trigger();
    QCOMPARE(h.boxes.Boxes.size(), std::size_t{2});
    QCOMPARE(QString::fromStdString(h.boxes.Boxes[1].Text),
             QString::fromUtf8("Задачу можно решить за 10 переливаний."));
    QCOMPARE(h.boxes.Boxes[1].Icon, 64);
    QVERIFY(TakeSnapshot(h) == before);
}

void TestSolverCommands::taskCodeStartsAGame()
{
    Harness h;
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    QCOMPARE(h.window.Mode(), TfrmMain::GameMode::Play);
    const char *names[] = {"EditV1", "EditV2", "EditV3", "EditVW1", "EditVW2", "EditVW3", "EdRes"};
    const char *values[] = {"12", "7", "5", "12", "0", "0", "6"};
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(h.Edit(QString::fromLatin1(names[i]))->text(), QString::fromLatin1(values[i]));
        QVERIFY(!h.Edit(QString::fromLatin1(names[i]))->isEnabled());
    }
    const MoveLog &log = h.window.Puzzle().Log();
    QCOMPARE(log.RowCount(), 1);
    QCOMPARE(log.Row(0).SubItems, (std::array<std::string, 3>{"12", "0", "0"}));
    QVERIFY(h.Find("BtnXml")->isEnabled());
    QCOMPARE(h.Find<QLabel>("StatusPanel1")->text(),
             QString::fromUtf8(" Переливать следует методом \"перенеси и брось\", а как - смотрите заголовок"));
    QVERIFY(h.boxes.Boxes.empty());
}

void TestSolverCommands::badTaskCodeShowsTheErrorBoxAndStartsNothing()
{
    Harness h;
    const GameSnapshot before = TakeSnapshot(h);
    h.window.StartTaskCode("12,7,5/12,9,0/6");
    QCOMPARE(h.boxes.Boxes.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(h.boxes.Boxes[0].Text),
             QString::fromUtf8("Уровень не может превосходить объем сосуда: у сосуда 2 объем 7, а уровень 9 — "
                               "больше объема."));
    QCOMPARE(QString::fromStdString(h.boxes.Boxes[0].Caption), QString::fromUtf8("Сосудник"));
    QCOMPARE(h.boxes.Boxes[0].Icon, 16);
    QVERIFY(TakeSnapshot(h) == before);
    QCOMPARE(h.window.Mode(), TfrmMain::GameMode::None);
}

QTEST_MAIN(TestSolverCommands)
#include "tst_solver_commands.moc"
