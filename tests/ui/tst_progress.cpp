// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// What a win gives back: «Задача решена» after the goal's message, a new
// attempt by «Еще раз» or «Начать заново», the next task, «Рекорды», and the
// book's progress by level; «Вперед» and «Начать заново» only when they
// have something to do.
#include "window_harness.h"

#include "book_commands.h"
#include "book_dialog.h"
#include "modal_helpers.h"
#include "position.h"
#include "scores_file.h"
#include "scores_window.h"
#include "solver.h"
#include "task_book.h"
#include "task_code.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTreeWidget>

namespace {

using Rows = std::vector<std::vector<std::string>>;

const char *const kKvass = "8,5,3/8,0,0/4";
// Two pours there and back, then the fewest six.
const char *const kKvassLonger = "1 2 2 1 1 2 2 3 3 1 2 3 1 2 2 3";
const char *const kKvassPours = "1 2 2 3 3 1 2 3 1 2 2 3";

Rows Shown(const Harness &h)
{
    const MoveLog &log = h.window.Puzzle().Log();
    Rows rows;
    for (int r = 0; r < log.RowCount(); ++r)
        rows.push_back({log.Cell(r, 0), log.Cell(r, 1), log.Cell(r, 2), log.Cell(r, 3)});
    return rows;
}

std::string InPlay(const Harness &h)
{
    return TaskCode(LoggedPosition(h.window.Puzzle().State(), h.window.Puzzle().Log(), 0));
}

std::string BookCode(int index)
{
    return TaskCode(TaskBook()[static_cast<std::size_t>(index)].Task);
}

QString Today()
{
    return QDate::currentDate().toString(Qt::ISODate);
}

void ClearScores()
{
    const QString config = TemporaryConfigHome();
    QDir(config + QStringLiteral("/sosudnik")).removeRecursively();
}

void WriteScores(const QStringList &lines)
{
    QDir().mkpath(QFileInfo(ScoresFile::Path()).path());
    QFile file(ScoresFile::Path());
    if (!file.open(QIODevice::WriteOnly) || file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) < 0)
        qFatal("cannot write the scores");
}

QString ScoreLine(const std::string &code, int pours, const char *help = "без помощи")
{
    return QString::fromStdString(code) + QStringLiteral("\t%1\t2026-01-0%2\t").arg(pours).arg(pours % 9 + 1)
        + QString::fromUtf8(help);
}

QString Level(const BookDialog *d, int level)
{
    return d->findChild<QTreeWidget *>(QStringLiteral("BookList"))->topLevelItem(level - 1)->text(0);
}

} // namespace

class TestProgress : public QObject {
    Q_OBJECT

private slots:
    void init() { ClearScores(); }
    void winWindowAfterTheGoalsMessage();
    void enterOrEscapeGiveTheGameBack_data();
    void enterOrEscapeGiveTheGameBack();
    void aLessonIsToldTheCountOnly();
    void againIsANewAttemptAndABetterWinSaysSo();
    void redoAndRestartOnlyWithSomethingToDo();
    void nextTask_data();
    void nextTask();
    void scoresListEveryTaskWonSortAndPlay();
    void scoresInALesson();
    void bookShowsEachLevelsProgressAndLeadsOn();
    void bookOpensAtTheTaskPlayedLast();
};

// The stated box first, then the window, over the game and not modal.
void TestProgress::winWindowAfterTheGoalsMessage()
{
    Harness h;
    h.Activate();
    h.window.StartTaskCode(kKvass);
    h.Keys(kKvassLonger);
    QCOMPARE(h.boxes.Boxes.size(), 1u);
    QCOMPARE(h.boxes.Boxes[0].Caption, std::string("Внимание"));
    WinWindow *win = h.Win();
    QVERIFY(win && win->isVisible());
    QVERIFY(!win->isModal());
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(win->windowTitle(), QString::fromUtf8("Задача решена"));
    QCOMPARE(win->Text(), QString::fromUtf8("Решено за 8 переливаний. Наименьшее число — 6.\n"
                                            "★★☆ — 2 звезды из 3\n"
                                            "Новый рекорд!"));
    QCOMPARE(win->findChild<QLabel *>(QStringLiteral("WinStars"))->accessibleName(),
             QString::fromUtf8("2 звезды из 3"));
    QCOMPARE(win->findChild<QPushButton *>(QStringLiteral("BtnNext"))->text(), QString::fromUtf8("Следующая задача"));
    QCOMPARE(win->findChild<QPushButton *>(QStringLiteral("BtnAgain"))->text(), QString::fromUtf8("Еще раз"));
    auto *close = win->findChild<QPushButton *>(QStringLiteral("BtnClose"));
    QCOMPARE(close->text(), QString::fromUtf8("Закрыть"));
    QVERIFY(QTest::qWaitForWindowActive(win));
    QCOMPARE(QApplication::focusWidget(), close);

    // A pour that meets the goal again in this attempt (4 poured into
    // vessel 1) tells nothing more.
    h.CloseWin();
    h.Keys("3 1");
    QCOMPARE(h.Levels(), (std::array<int, 3>{4, 4, 0}));
    QCOMPARE(h.boxes.Boxes.size(), 1u);
    QVERIFY(!win->isVisible());
}

void TestProgress::enterOrEscapeGiveTheGameBack_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Escape") << int(Qt::Key_Escape);
}

// Closed by either key, the focus is back on the move list: a second Enter
// there throws nothing away.
void TestProgress::enterOrEscapeGiveTheGameBack()
{
    QFETCH(int, key);
    Harness h;
    h.Activate();
    h.window.StartTaskCode(kKvass);
    h.Keys(kKvassPours);
    WinWindow *win = h.Win();
    QVERIFY(QTest::qWaitForWindowActive(win));
    const Rows won = Shown(h);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QVERIFY(!win->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(&h.window));
    QCOMPARE(QApplication::focusWidget(), h.Find("ListView"));
    QTest::keyClick(h.Handle(), Qt::Key_Return);
    QTest::keyClick(h.Handle(), Qt::Key_Return);
    QCOMPARE(Shown(h), won);
    QCOMPARE(h.window.Mode(), GameMode::Play);
    QVERIFY(h.window.isVisible());
}

// Nothing of a fewest count, stars or what to play next in a lesson.
void TestProgress::aLessonIsToldTheCountOnly()
{
    Harness h;
    h.Activate();
    h.window.Commands().SetLesson(true);
    h.window.StartTaskCode(kKvass);
    h.Keys(kKvassLonger);
    WinWindow *win = h.Win();
    QVERIFY(win && win->isVisible());
    QCOMPARE(win->Text(), QString::fromUtf8("Задача решена за 8 переливаний."));
    QStringList shown;
    for (QWidget *w : win->findChildren<QWidget *>()) {
        if (w->isVisible())
            shown << w->objectName();
    }
    QVERIFY(shown.contains(QStringLiteral("BtnClose")));
    for (const char *hidden : {"BtnNext", "BtnAgain", "WinStars", "WinBest"})
        QVERIFY2(!shown.contains(QString::fromLatin1(hidden)), hidden);
    for (QLabel *label : win->findChildren<QLabel *>()) {
        if (label->isVisible()) {
            QVERIFY(!label->text().contains(QChar(0x2605)) && !label->text().contains(QChar(0x2606)));
            QVERIFY(!label->text().contains(QString::fromUtf8("Наименьшее")));
        }
    }
}

// «Еще раз» after a long win, then the fewest: the goal told again, the
// scores file and the window say it is a better result.
void TestProgress::againIsANewAttemptAndABetterWinSaysSo()
{
    Harness h;
    h.Activate();
    h.window.StartTaskCode(kKvass);
    h.Keys(kKvassLonger);
    h.window.Puzzle().Help().Hint = true; // asked after the win: the next attempt has none
    QVERIFY(QTest::qWaitForWindowActive(h.Win()));
    QTest::mouseClick(h.Win()->findChild<QPushButton *>(QStringLiteral("BtnAgain")), Qt::LeftButton);
    QVERIFY(!h.Win()->isVisible());
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
    QCOMPARE(h.window.Puzzle().RedoCount(), 8);
    QVERIFY(!h.window.Puzzle().State().GoalReached);
    QVERIFY(!h.window.Puzzle().Help().Any());
    QVERIFY(QTest::qWaitForWindowActive(&h.window));
    QCOMPARE(QApplication::focusWidget(), h.Find("ListView"));

    h.Keys(kKvassPours);
    QCOMPARE(h.boxes.Boxes.size(), 2u);
    QCOMPARE(h.boxes.Boxes[1].Text, std::string(kMsgGoalReached));
    QCOMPARE(h.Win()->Text(), QString::fromUtf8("Решено за 6 переливаний. Наименьшее число — 6.\n"
                                                "★★★ — 3 звезды из 3\n"
                                                "Новый рекорд! Прежний лучший результат — 8 переливаний."));
    QFile file(ScoresFile::Path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(file.readAll()).contains(QStringLiteral("8,5,3/8,0,0/4\t6\t") + Today()));

    // Once more, longer, from the menu: the window of the last win goes
    // with the new attempt; the best so far stays.
    h.Action("MnuRestart")->trigger();
    QVERIFY(!h.Win()->isVisible());
    h.Keys(kKvassLonger);
    QCOMPARE(h.boxes.Boxes.size(), 3u);
    QVERIFY(h.Win()->Text().endsWith(
        QString::fromUtf8("Ваш лучший результат: 6 переливаний (%1), 3 звезды из 3.").arg(Today())));
}

// The one owner of the commands decides, from what the game reports.
void TestProgress::redoAndRestartOnlyWithSomethingToDo()
{
    Harness h;
    h.Activate();
    QAction *redo = h.Action("MnuRedo");
    QAction *restart = h.Action("MnuRestart");
    const struct {
        const char *Step;
        std::function<void()> Do;
        bool Redo, Restart;
    } table[] = {
        {"a task starts", [&] { h.window.StartTaskCode(kKvass); }, false, false},
        {"a pour", [&] { h.Keys("1 2"); }, false, true},
        {"undo", [&] { h.window.BtnUndoClick(); }, true, true},
        {"redo", [&] { redo->trigger(); }, false, true},
        {"undo to the start", [&] { h.window.BtnUndoClick(); }, true, true},
        {"a new attempt, a pour to redo", [&] { restart->trigger(); }, true, true},
        {"a pour", [&] { h.Keys("1 3"); }, false, true},
        {"the same task again", [&] { h.window.StartTaskCode(kKvass); }, false, false},
        {"typing a task in", [&] { h.window.MnuNewClick(); }, false, false},
    };
    for (const auto &row : table) {
        row.Do();
        QVERIFY2(redo->isEnabled() == row.Redo, row.Step);
        QVERIFY2(restart->isEnabled() == row.Restart, row.Step);
        QVERIFY2(h.window.Commands().MayRun(GameCommands::Command::Redo) == row.Redo, row.Step);
    }
}

void TestProgress::nextTask_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("expected");
    // The book's tasks 1 and 4 (index 0 and 3) are won already.
    QTest::newRow("a book task: the next without a win after it")
        << QString::fromStdString(BookCode(2)) << QString::fromStdString(BookCode(4));
    QTest::newRow("a typed task: the book's first without a win") << QStringLiteral("7,4,3/7,0,0/5")
                                                                   << QString::fromStdString(BookCode(1));
    QTest::newRow("a random task: another of its level") << QStringLiteral("random") << QStringLiteral("random");
}

void TestProgress::nextTask()
{
    QFETCH(QString, from);
    QFETCH(QString, expected);
    QVERIFY(BookIndexOf("7,4,3/7,0,0/5") < 0);
    WriteScores({ScoreLine(BookCode(0), 5), ScoreLine(BookCode(3), 9)});
    Harness h;
    h.Activate();
    if (from == QLatin1String("random"))
        h.Action("MnuRandom2")->trigger();
    else
        h.window.StartTaskCode(from.toStdString());
    const std::string before = InPlay(h);
    h.PourToTheGoal();
    QVERIFY(h.Win() && h.Win()->isVisible());
    h.boxes.Boxes.clear();
    QTest::mouseClick(h.Win()->findChild<QPushButton *>(QStringLiteral("BtnNext")), Qt::LeftButton);
    QVERIFY(!h.Win()->isVisible());
    QCOMPARE(h.window.Mode(), GameMode::Play);
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
    if (expected == QLatin1String("random")) {
        // The random task's box names its level, as the menu's does.
        QCOMPARE(h.boxes.Boxes.size(), 1u);
        QCOMPARE(h.boxes.Boxes[0].Caption, std::string("Случайная задача"));
        QVERIFY(h.boxes.Boxes[0].Text.starts_with("Уровень «Легкие»"));
        QVERIFY(h.boxes.Boxes[0].Text.find(InPlay(h)) != std::string::npos);
    } else {
        QCOMPARE(QString::fromStdString(InPlay(h)), expected);
        QVERIFY(h.boxes.Boxes.empty());
    }
}

// Every task won, with its title where the book has one; sorted by a click
// on a heading; «Сыграть» starts the chosen one.
void TestProgress::scoresListEveryTaskWonSortAndPlay()
{
    const std::string typed = "7,4,3/7,0,0/5";
    WriteScores({ScoreLine(BookCode(0), 5), ScoreLine(typed, 8), ScoreLine(kKvass, 7, "подсказка"), "# a comment"});
    Harness h;
    h.Activate();
    WithModal<ScoresWindow>([&] { h.Action("MnuScores")->trigger(); },
                            [&](ScoresWindow *w) {
                                QCOMPARE(w->windowTitle(), QString::fromUtf8("Рекорды"));
                                auto *table = w->findChild<QTableWidget *>(QStringLiteral("ScoresTable"));
                                QCOMPARE(table->rowCount(), 3);
                                QStringList headings;
                                for (int c = 0; c < table->columnCount(); ++c)
                                    headings << table->horizontalHeaderItem(c)->text();
                                QCOMPARE(headings, QString::fromUtf8("Задача Код Лучший Минимум Звезды Дата").split(' '));
                                // By the best pours, a click on that heading.
                                QHeaderView *header = table->horizontalHeader();
                                QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                                                  QPoint(header->sectionViewportPosition(2) + 5, header->height() / 2));
                                QStringList best;
                                for (int r = 0; r < 3; ++r)
                                    best << table->item(r, 2)->text();
                                const bool up = best == QStringList({"5", "7", "8"});
                                QVERIFY2(up || best == QStringList({"8", "7", "5"}), qPrintable(best.join(',')));
                                const int first = up ? 0 : 2;
                                QCOMPARE(table->item(first, 0)->text(), QString::fromUtf8(TaskBook()[0].Title));
                                QCOMPARE(table->item(first, 1)->text(), QString::fromStdString(BookCode(0)));
                                QCOMPARE(table->item(first, 3)->text().toInt(), TaskBook()[0].Fewest);
                                const int typedRow = up ? 2 : 0;
                                QCOMPARE(table->item(typedRow, 0)->text(), QString());
                                QCOMPARE(table->item(typedRow, 3)->text().toInt(),
                                         Solve(ParseTaskCode(typed)).Pours());
                                QCOMPARE(table->item(1, 4)->text(), QString::fromUtf8("с помощью"));
                                table->selectRow(typedRow);
                                QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("BtnPlay")), Qt::LeftButton);
                            });
    QCOMPARE(InPlay(h), typed);
    QCOMPARE(h.window.Mode(), GameMode::Play);
}

void TestProgress::scoresInALesson()
{
    Harness h;
    h.window.Commands().SetLesson(true);
    // None yet: a word instead of an empty table, nothing to play.
    WithModal<ScoresWindow>([&] { h.Action("MnuScores")->trigger(); },
                            [](ScoresWindow *w) {
                                QVERIFY(w->findChild<QLabel *>(QStringLiteral("NoScores")));
                                QVERIFY(!w->findChild<QPushButton *>(QStringLiteral("BtnPlay"))->isEnabled());
                                w->reject();
                            });
    WriteScores({ScoreLine(BookCode(0), 5)});
    WithModal<ScoresWindow>([&] { h.Action("MnuScores")->trigger(); },
                            [](ScoresWindow *w) {
                                auto *table = w->findChild<QTableWidget *>(QStringLiteral("ScoresTable"));
                                QVERIFY(table->isColumnHidden(3));
                                QVERIFY(table->isColumnHidden(4));
                                QVERIFY(!table->isColumnHidden(2));
                                w->reject();
                            });
}

// «решено 2 из N, ★ 5 из 3N» under each level; «Следующая нерешенная» goes
// on past the tasks won.
void TestProgress::bookShowsEachLevelsProgressAndLeadsOn()
{
    const BookTask &first = TaskBook()[0];
    const BookTask &third = TaskBook()[2];
    WriteScores({ScoreLine(BookCode(0), first.Fewest), ScoreLine(BookCode(2), third.Fewest + 2)});
    int levelOne = 0;
    for (const BookTask &task : TaskBook())
        levelOne += LevelOf(task.Fewest) == 1 ? 1 : 0;
    Harness h;
    WithModal<BookDialog>([&] { h.Action("MnuBook")->trigger(); },
                          [&](BookDialog *d) {
                              QVERIFY2(Level(d, 1).endsWith(QString::fromUtf8(": решено 2 из %1, ★ 5 из %2")
                                                                .arg(levelOne)
                                                                .arg(levelOne * 3)),
                                       qPrintable(Level(d, 1)));
                              QVERIFY(Level(d, 2).contains(QString::fromUtf8("решено 0 из")));
                              QCOMPARE(d->Chosen(), 0);
                              auto *next = d->findChild<QPushButton *>(QStringLiteral("BtnNextUnsolved"));
                              QCOMPARE(next->text(), QString::fromUtf8("Следующая нерешенная"));
                              QTest::mouseClick(next, Qt::LeftButton);
                              QCOMPARE(d->Chosen(), 1);
                              QTest::mouseClick(next, Qt::LeftButton);
                              QCOMPARE(d->Chosen(), 3);
                              // The dialog stays; Enter still starts the task selected.
                              QVERIFY(d->isVisible());
                              d->reject();
                          });
    h.window.Commands().SetLesson(true);
    WithModal<BookDialog>([&] { h.Action("MnuBook")->trigger(); },
                          [&](BookDialog *d) {
                              // No levels there, for a level is a band of fewest counts:
                              // the tasks stand alone, and no share counts stars.
                              auto *list = d->findChild<QTreeWidget *>(QStringLiteral("BookList"));
                              QCOMPARE(list->topLevelItemCount(), static_cast<int>(TaskBook().size()));
                              for (int row = 0; row < list->topLevelItemCount(); ++row) {
                                  for (int column = 0; column < list->columnCount(); ++column)
                                      QVERIFY(!list->topLevelItem(row)->text(column).contains(QChar(0x2605)));
                              }
                              d->reject();
                          });
}

void TestProgress::bookOpensAtTheTaskPlayedLast()
{
    Harness h;
    WithModal<BookDialog>([&] { h.Action("MnuBook")->trigger(); },
                          [&](BookDialog *d) {
                              d->Select(7);
                              QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("BtnStart")),
                                                Qt::LeftButton);
                          });
    QCOMPARE(InPlay(h), BookCode(7));
    QCOMPARE(h.window.Book().LastPlayed(), BookCode(7));
    h.window.StartTaskCode(kKvass); // not from the book: the book stays where it was
    WithModal<BookDialog>([&] { h.Action("MnuBook")->trigger(); },
                          [&](BookDialog *d) {
                              QCOMPARE(d->Chosen(), 7);
                              d->Select(0);
                              d->reject();
                          });
    WithModal<BookDialog>([&] { h.Action("MnuBook")->trigger(); },
                          [&](BookDialog *d) {
                              QCOMPARE(d->Chosen(), 7);
                              d->reject();
                          });
}

QTEST_MAIN(TestProgress)
#include "tst_progress.moc"
