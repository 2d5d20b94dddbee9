// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// A lesson (`sosudnik --lesson [CODE]`): the commands that hand out the
// answer are off, say so, and stay off through new games, tasks, codes and
// undo; the book and the random task do not tell the fewest pours.
#include "argv.h"
#include "window_harness.h"

#include "book_dialog.h"
#include "command_line.h"
#include "console_commands.h"
#include "display_start.h"
#include "modal_helpers.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>

#include <vector>

namespace {

void StartWith(Harness &h, const QStringList &arguments)
{
    Argv argv(arguments);
    StartFromArguments(h.window, ReadCommandLine(argv.Count(), argv.Values()));
}

const char *const kAnswers[] = {"MnuHint", "MnuSolution", "MnuCheck", "MnuCheckRecords"};

// Every answer off and saying why; the rest as the mode has it.
void CheckOff(Harness &h, const char *when)
{
    for (const char *name : kAnswers) {
        QAction *action = h.Action(name);
        QVERIFY2(!action->isEnabled(), qPrintable(QString::fromLatin1(name) + QLatin1Char(' ') + QLatin1String(when)));
        QCOMPARE(action->toolTip(), QString::fromUtf8("На этом уроке отключено"));
    }
    QVERIFY(h.window.findChild<QMenu *>(QStringLiteral("MnuGame"))->toolTipsVisible());
    QCOMPARE(h.Action("MnuUndo")->isEnabled(), true);
    for (const Qt::Key key : {Qt::Key_H, Qt::Key_R, Qt::Key_T})
        QTest::keyClick(h.Handle(), key, Qt::ControlModifier);
    QVERIFY2(h.boxes.Boxes.empty(), when);
}

} // namespace

class TestLesson : public QObject {
    Q_OBJECT

private slots:
    void answersStayOffThroughTheGame();
    void withoutALessonTheyAreThere();
    void randomTaskKeepsTheCountToItself();
    void bookKeepsTheCountToItself();
};

void TestLesson::answersStayOffThroughTheGame()
{
    Harness h;
    StartWith(h, {QStringLiteral("--lesson"), QStringLiteral("12,7,5/12,0,0/6")});
    QVERIFY(h.window.Commands().Lesson());
    QCOMPARE(h.window.Mode(), GameMode::Play);
    CheckOff(h, "with the code");
    QTest::keyClick(h.Handle(), Qt::Key_1);
    QTest::keyClick(h.Handle(), Qt::Key_2);
    h.window.BtnUndoClick();
    CheckOff(h, "after a pour and undo");
    h.window.MnuNewClick();
    CheckOff(h, "typing a puzzle in");
    h.window.StartTaskCode("8,5,3/8,0,0/4");
    CheckOff(h, "after another code");
    WhenShown(h.window.TaskDialog(), [](TfrmTask &d) { Accept(d); });
    h.window.MnuTasksClick();
    CheckOff(h, "after a task");
}

void TestLesson::withoutALessonTheyAreThere()
{
    Harness h;
    StartWith(h, {QStringLiteral("12,7,5/12,0,0/6")});
    QVERIFY(!h.window.Commands().Lesson());
    for (const char *name : kAnswers) {
        QVERIFY2(h.Action(name)->isEnabled(), name);
        QVERIFY(h.Action(name)->toolTip() != QString::fromUtf8("На этом уроке отключено"));
    }
}

void TestLesson::randomTaskKeepsTheCountToItself()
{
    Harness h;
    StartWith(h, {QStringLiteral("--lesson")});
    h.Action("MnuRandom3")->trigger();
    QCOMPARE(h.boxes.Boxes.size(), std::size_t{1});
    const std::string &text = h.boxes.Boxes[0].Text;
    QVERIFY2(text.find("Код задачи: ") != std::string::npos, text.c_str());
    QVERIFY2(text.find("Наименьшее") == std::string::npos, text.c_str());
    QCOMPARE(h.window.Mode(), GameMode::Play);
}

void TestLesson::bookKeepsTheCountToItself()
{
    Harness h;
    StartWith(h, {QStringLiteral("--lesson")});
    QString statement;
    bool columnHidden = false;
    WithModal<BookDialog>([&] { h.Action("MnuBook")->trigger(); },
                          [&](BookDialog *book) {
                              book->Select(0);
                              auto *list = book->findChild<QTreeWidget *>(QStringLiteral("BookList"));
                              for (int c = 0; c < list->columnCount(); ++c) {
                                  if (list->headerItem()->text(c).contains(QString::fromUtf8("Минимум")))
                                      columnHidden = list->isColumnHidden(c);
                              }
                              statement = book->findChild<QLabel *>(QStringLiteral("BookStatement"))->text();
                              book->reject();
                          });
    QVERIFY(columnHidden);
    QVERIFY2(statement.contains(QString::fromUtf8("Код задачи")), qPrintable(statement));
    QVERIFY2(!statement.contains(QString::fromUtf8("Наименьшее")), qPrintable(statement));
}

QTEST_MAIN(TestLesson)
#include "tst_lesson.moc"
