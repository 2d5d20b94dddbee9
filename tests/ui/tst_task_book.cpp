// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The task book, random tasks, redo and restart, task codes, the rules on F1
// and the records of wins, in the real window.
#include "window_harness.h"

#include "book_commands.h"
#include "book_dialog.h"
#include "modal_helpers.h"
#include "position.h"
#include "score_keeper.h"
#include "scores_file.h"
#include "rules_window.h"
#include "solution_dialog.h"
#include "solver.h"
#include "task_book.h"
#include "task_code.h"
#include "window_zoom.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTableView>
#include <QTextBrowser>
#include <QTreeWidget>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Levels3 = std::array<int, 3>;

const char *const kKvass = "8,5,3/8,0,0/4";
// The kvass task in its fewest pours, as digits; and in two more, a pour
// there and back first.
const char *const kKvassPours = "1 2 2 3 3 1 2 3 1 2 2 3";
const char *const kKvassLonger = "1 2 2 1 1 2 2 3 3 1 2 3 1 2 2 3";

void Activate(Harness &h)
{
    h.window.activateWindow();
    if (!QTest::qWaitForWindowActive(&h.window))
        qFatal("the main window never became active");
}

// Pairs of digits, as the player pours from the keyboard.
void Keys(Harness &h, const char *digits)
{
    for (const QString &k : QString::fromLatin1(digits).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        QTest::keyClick(h.Handle(), Qt::Key(Qt::Key_0 + k.toInt()));
}

void Chord(Harness &h, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    QTest::keyClick(h.Handle(), key, modifiers);
}

// The log as the player's list shows it: caption and three levels a row.
Rows Shown(const Harness &h)
{
    const QAbstractItemModel *model = h.Find<QTableView>(QStringLiteral("ListView"))->model();
    Rows rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < 4; ++c)
            row.push_back(model->index(r, c).data().toString().toStdString());
        rows.push_back(row);
    }
    return rows;
}

Levels3 Pictures(const Harness &h)
{
    return {h.Image(1)->Level(), h.Image(2)->Level(), h.Image(3)->Level()};
}

QByteArray RecordsBytes()
{
    QFile file(ScoresFile::Path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString RecordsText()
{
    return QString::fromUtf8(RecordsBytes());
}

// Starts each test with no records and its config folder as it should be.
void ClearScores()
{
    const QString config = TemporaryConfigHome();
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    QDir(config + QStringLiteral("/sosudnik")).removeRecursively();
    QFile::remove(config + QStringLiteral("/sosudnik"));
}

void WriteScores(const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(ScoresFile::Path()).path());
    QFile file(ScoresFile::Path());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("the records could not be written for the test");
}

// What the book showed for one task, read while it was up.
struct BookRow {
    QString Best;
    QString Stars;
    QString SpokenStars;
};

BookRow RowOf(BookDialog *dialog, const char *code)
{
    auto *list = dialog->findChild<QTreeWidget *>(QStringLiteral("BookList"));
    for (QTreeWidgetItemIterator it(list); *it; ++it) {
        const int index = (*it)->data(0, Qt::UserRole).toInt();
        if (index >= 0 && TaskCode(TaskBook()[static_cast<std::size_t>(index)].Task) == code)
            return {(*it)->text(6), (*it)->text(7), (*it)->data(7, Qt::AccessibleTextRole).toString()};
    }
    qFatal("no task %s in the book", code);
}

// Runs show(), which brings up a modal W, and act on it; whatever act
// leaves open (a check that failed midway, say) is closed after it.
template <class W>
void WithDialog(const std::function<void()> &show, const std::function<void(W *)> &act)
{
    WithModal<W>(show, [&act](W *dialog) {
        act(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

// Opens the book from its menu entry and runs act on it while it is up.
void WithBook(Harness &h, const std::function<void(BookDialog *)> &act)
{
    WithDialog<BookDialog>([&] { h.Action("MnuBook")->trigger(); }, act);
}

QStringList Fields(const Harness &h)
{
    QStringList texts;
    for (const char *name : {"EditV1", "EditV2", "EditV3", "EditVW1", "EditVW2", "EditVW3", "EdRes"})
        texts << h.Edit(QString::fromLatin1(name))->text();
    return texts;
}

} // namespace

class TestTaskBook : public QObject {
    Q_OBJECT

private slots:
    void init() { ClearScores(); }

    void gameMenuHoldsTheNewEntriesAndKeys();
    void redoGivesBackTheVeryRow();
    void aPourATaskOrACodeClearsWhatCanBeRedone_data();
    void aPourATaskOrACodeClearsWhatCanBeRedone();
    void restartGoesBackAndEachPourCanBeRedone();
    void bookStartsATaskAsTheTaskDialogDoes_data();
    void bookStartsATaskAsTheTaskDialogDoes();
    void bookClosedChangesNothing();
    void bookReadsToAScreenReader();
    void dialogsFollowTheScale();
    void randomTaskShowsItsCodeThenStartsIt_data();
    void randomTaskShowsItsCodeThenStartsIt();
    void copyAndEnterCodes();
    void aBadCodeKeepsTheGame();
    void rulesOnF1();
    void aWinIsRecordedAndShownWithStars();
    void helpUsedEarnsNoStars();
    void aWinIsRememberedAcrossRuns();
    void recordsFileFaults_data();
    void recordsFileFaults();
    void readOnlyRecordsStayAsTheyAre();
    void aLinkedRecordsFileIsFollowed();
    void aRelativeConfigHomeIsIgnored();
    void twoGamesWinAtOnce();
};

// The planned "&Игра" layout, and no new key on the game's own keys.
void TestTaskBook::gameMenuHoldsTheNewEntriesAndKeys()
{
    Harness h;
    QStringList names;
    for (QAction *a : h.window.findChild<QMenu *>(QStringLiteral("MnuGame"))->actions())
        names << (a->isSeparator() ? QStringLiteral("-") : a->menu() ? a->menu()->objectName() : a->objectName());
    QCOMPARE(names, (QStringList{"MnuUndo", "MnuXml", "MnuPour", "MnuRedo", "MnuRestart", "MnuSaveAs", "-",
                                 "MnuHint", "MnuSolution", "MnuCheck", "MnuCheckRecords", "MnuReplay", "MnuMap", "-",
                                 "MnuBook", "MnuRandom", "MnuCopyCode", "MnuEnterCode", "MnuWorksheet", "MnuScores", "-",
                                 "MnuZoom", "MnuAnimation",
                                 "-", "MnuRules"}));
    QCOMPARE(h.Action("MnuRedo")->shortcuts(),
             (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))}));
    QCOMPARE(h.Action("MnuRules")->shortcut(), QKeySequence(Qt::Key_F1));
    for (const char *name : {"MnuRestart", "MnuBook", "MnuCopyCode", "MnuEnterCode"})
        QVERIFY2(h.Action(name)->shortcut().isEmpty(), name);

    auto *random = h.window.findChild<QMenu *>(QStringLiteral("MnuRandom"));
    QSet<QChar> mnemonics;
    QCOMPARE(random->actions().size(), kLevelCount);
    for (int level = 1; level <= kLevelCount; ++level) {
        QAction *a = random->actions()[level - 1];
        QCOMPARE(a->objectName(), QStringLiteral("MnuRandom%1").arg(level));
        QVERIFY(a->text().startsWith(QLatin1Char('&') + QString::fromUtf8(Band(level).Name)));
        QVERIFY(a->shortcut().isEmpty());
        mnemonics.insert(a->text()[1].toLower());
    }
    QCOMPARE(mnemonics.size(), kLevelCount);

    // Of the keys the game had, only these: none of its keys is taken twice.
    const QList<QKeySequence> reserved = {QKeySequence(QStringLiteral("Ctrl+Z")), QKeySequence(QStringLiteral("Ctrl+S")),
                                          QKeySequence(QStringLiteral("Ctrl+H")), QKeySequence(QStringLiteral("Ctrl+R")),
                                          QKeySequence(QStringLiteral("Ctrl+T")), QKeySequence(QStringLiteral("Ctrl+C")),
                                          QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+-")),
                                          QKeySequence(QStringLiteral("Ctrl+0")), QKeySequence(Qt::Key_F2),
                                          QKeySequence(Qt::Key_Escape)};
    for (const char *name : {"MnuRedo", "MnuRestart", "MnuBook", "MnuCopyCode", "MnuEnterCode", "MnuRules"}) {
        for (const QKeySequence &keys : h.Action(name)->shortcuts()) {
            QVERIFY2(!reserved.contains(keys), name);
            QVERIFY2(keys[0].key() < Qt::Key_0 || keys[0].key() > Qt::Key_9, name);
        }
    }
}

// Undo by Ctrl+Z, redo by both keys: the very rows come back, edited caption
// and all, with the levels, the pictures and the list.
void TestTaskBook::redoGivesBackTheVeryRow()
{
    Harness h;
    Activate(h);
    h.window.StartTaskCode(kKvass);
    Keys(h, "1 2 2 3 3 1");
    h.window.Puzzle().Log().SetCaption(2, "перелил в малый");
    const Rows before = Shown(h);
    QCOMPARE(before.size(), 4u);

    Chord(h, Qt::Key_Z);
    Chord(h, Qt::Key_Z);
    QCOMPARE(Shown(h), Rows(before.begin(), before.begin() + 2));
    QCOMPARE(Pictures(h), (Levels3{3, 5, 0}));

    Chord(h, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Shown(h), Rows(before.begin(), before.begin() + 3));
    QCOMPARE(Shown(h)[2][0], "перелил в малый");
    Chord(h, Qt::Key_Y);
    QCOMPARE(Shown(h), before);
    QCOMPARE(h.Levels(), (Levels3{6, 2, 0}));
    QCOMPARE(Pictures(h), (Levels3{6, 2, 0}));
    QCOMPARE(h.Edit(QStringLiteral("EditVW1"))->text(), QStringLiteral("6"));

    Chord(h, Qt::Key_Y); // nothing left to redo
    QCOMPARE(Shown(h), before);
    QVERIFY(h.boxes.Boxes.empty());
    // Not while typing a puzzle in: the entries follow the mode.
    h.window.MnuNewClick();
    QVERIFY(!h.Action("MnuRedo")->isEnabled());
    QVERIFY(!h.Action("MnuRestart")->isEnabled());
}

void TestTaskBook::aPourATaskOrACodeClearsWhatCanBeRedone_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how : {"pour", "new", "task", "code", "book", "random"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestTaskBook::aPourATaskOrACodeClearsWhatCanBeRedone()
{
    QFETCH(QString, how);
    Harness h;
    Activate(h);
    h.window.StartTaskCode(kKvass);
    Keys(h, "1 2 2 3");
    Chord(h, Qt::Key_Z);
    QCOMPARE(h.window.Puzzle().RedoCount(), 1);

    if (how == QLatin1String("pour")) {
        Keys(h, "1 3");
    } else if (how == QLatin1String("new")) {
        h.window.MnuNewClick();
        h.TypeAndStart({"8", "5", "3", "8", "0", "0", "4"});
    } else if (how == QLatin1String("task")) {
        WhenShown(h.window.TaskDialog(), [](TfrmTask &d) { Accept(d); });
        h.window.MnuTasksClick();
    } else if (how == QLatin1String("code")) {
        h.window.StartTaskCode(kKvass);
    } else if (how == QLatin1String("book")) {
        WithBook(h, [](BookDialog *d) { QTest::keyClick(d->findChild<QTreeWidget *>(), Qt::Key_Return); });
    } else {
        h.Action("MnuRandom1")->trigger();
    }
    const Rows rows = Shown(h);
    QCOMPARE(h.window.Puzzle().RedoCount(), 0);
    Chord(h, Qt::Key_Y);
    QCOMPARE(Shown(h), rows);
}

// "Начать заново": the start row in one step, a new attempt without the
// goal and the help, then every pour back by redo, no goal message for them.
void TestTaskBook::restartGoesBackAndEachPourCanBeRedone()
{
    Harness h;
    Activate(h);
    h.window.StartTaskCode(kKvass);
    Keys(h, kKvassPours);
    QCOMPARE(h.boxes.Boxes.size(), 1u);
    QVERIFY(h.window.Puzzle().State().GoalReached);
    const Rows won = Shown(h);
    h.window.Puzzle().Help().Hint = true;
    h.CloseWin();

    h.Action("MnuRestart")->trigger();
    QCOMPARE(Shown(h), Rows(won.begin(), won.begin() + 1));
    QCOMPARE(Pictures(h), (Levels3{8, 0, 0}));
    QVERIFY(!h.window.Puzzle().State().GoalReached);
    QVERIFY(!h.window.Puzzle().Help().Any());
    QCOMPARE(h.window.Mode(), GameMode::Play);

    for (int i = 1; i < 7; ++i) {
        Chord(h, Qt::Key_Y);
        QCOMPARE(Shown(h), Rows(won.begin(), won.begin() + i + 1));
    }
    QCOMPARE(h.boxes.Boxes.size(), 1u);
}

void TestTaskBook::bookStartsATaskAsTheTaskDialogDoes_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Enter") << QStringLiteral("enter");
    QTest::newRow("Начать") << QStringLiteral("button");
    QTest::newRow("double click") << QStringLiteral("double");
}

// The milk task from the book starts as the milk page of the task dialog
// does: the same fields, start row, mode, focus and hint.
void TestTaskBook::bookStartsATaskAsTheTaskDialogDoes()
{
    QFETCH(QString, how);
    Harness fromDialog;
    WhenShown(fromDialog.window.TaskDialog(), [](TfrmTask &d) { Accept(d); });
    fromDialog.window.MnuTasksClick();

    Harness h;
    Activate(h);
    h.window.StartTaskCode(kKvass);
    Keys(h, "1 2");
    const int milk = static_cast<int>(std::find_if(TaskBook().begin(), TaskBook().end(), [](const BookTask &t) {
                                          return TaskCode(t.Task) == "12,7,5/12,0,0/6";
                                      }) - TaskBook().begin());
    WithBook(h, [&](BookDialog *d) {
        auto *list = d->findChild<QTreeWidget *>(QStringLiteral("BookList"));
        QCOMPARE(list->topLevelItemCount(), kLevelCount);
        int tasks = 0;
        for (int level = 0; level < kLevelCount; ++level)
            tasks += list->topLevelItem(level)->childCount();
        QCOMPARE(tasks, static_cast<int>(TaskBook().size()));
        // By the keyboard, from the first task down to the milk task.
        QCOMPARE(d->Chosen(), 0);
        QCOMPARE(d->focusWidget(), list);
        while (d->Chosen() != milk)
            QTest::keyClick(list, Qt::Key_Down);
        QVERIFY(d->findChild<QLabel *>(QStringLiteral("BookStatement"))->text().contains(QString::fromUtf8("12 литров молока")));
        QVERIFY(d->findChild<QLabel *>(QStringLiteral("BookScore"))->text().contains(QString::fromUtf8("еще не решали")));
        if (how == QLatin1String("enter")) {
            QTest::keyClick(list, Qt::Key_Return);
        } else if (how == QLatin1String("button")) {
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("BtnStart")), Qt::LeftButton);
        } else {
            const QRect cell = list->visualItemRect(list->currentItem());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        }
    });
    QCOMPARE(Fields(h), Fields(fromDialog));
    QCOMPARE(Shown(h), Shown(fromDialog));
    QCOMPARE(h.window.Puzzle().State().Values, fromDialog.window.Puzzle().State().Values);
    QCOMPARE(h.window.Mode(), GameMode::Play);
    QCOMPARE(h.window.focusWidget(), h.Find("ListView"));
    QCOMPARE(h.Find<QLabel>(QStringLiteral("StatusPanel1"))->text(),
             fromDialog.Find<QLabel>(QStringLiteral("StatusPanel1"))->text());
}

void TestTaskBook::bookClosedChangesNothing()
{
    Harness h;
    h.window.StartTaskCode(kKvass);
    const Rows rows = Shown(h);
    WithBook(h, [](BookDialog *d) {
        // A level's own row is no task: Enter there starts nothing.
        auto *list = d->findChild<QTreeWidget *>(QStringLiteral("BookList"));
        list->setCurrentItem(list->topLevelItem(1));
        QVERIFY(!d->findChild<QPushButton *>(QStringLiteral("BtnStart"))->isEnabled());
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(d->isVisible());
        QTest::keyClick(list, Qt::Key_Escape);
    });
    QCOMPARE(Shown(h), rows);
    QCOMPARE(Fields(h).last(), QStringLiteral("4"));
}

// Rows and headings as a screen reader says them: the short headings in
// words, the stars as a number, and the statement within Tab's reach.
void TestTaskBook::bookReadsToAScreenReader()
{
    WriteScores(QByteArrayLiteral("4,3,1/4,0,0/2\t3\t2026-01-01\t") + QString::fromUtf8("без помощи\n").toUtf8());
    Harness h;
    WithBook(h, [](BookDialog *d) {
        auto *list = d->findChild<QTreeWidget *>(QStringLiteral("BookList"));
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(list);
        QVERIFY(iface && iface->tableInterface());
        QCOMPARE(iface->text(QAccessible::Name), QString::fromUtf8("Задачи сборника"));
        QAccessibleTableInterface *table = iface->tableInterface();
        // Row 0 is the first level's own row; row 1 its first task.
        QCOMPARE(table->cellAt(1, 1)->text(QAccessible::Name), QString::fromUtf8("Чай на двоих"));
        QAccessibleInterface *stars = table->cellAt(1, 7);
        QCOMPARE(stars->text(QAccessible::Name), QString::fromUtf8("2 звезды"));
        QCOMPARE(table->cellAt(2, 7)->text(QAccessible::Name), QString::fromUtf8("не решена"));
        const QList<QAccessibleInterface *> headings = table->cellAt(1, 5)->tableCellInterface()->columnHeaderCells();
        QCOMPARE(headings.size(), 1);
        QCOMPARE(headings[0]->text(QAccessible::Name), QString::fromUtf8("Наименьшее число переливаний"));
        auto *statement = d->findChild<QLabel *>(QStringLiteral("BookStatement"));
        QVERIFY(statement->focusPolicy() & Qt::TabFocus);
        QVERIFY(d->findChild<QLabel *>(QStringLiteral("BookScore"))->text().contains(QString::fromUtf8("2 звезды из 3")));
    });
}

// Made at one scale, shown at another: the book and the rules grow with the
// game's text; the code's dialog too.
void TestTaskBook::dialogsFollowTheScale()
{
    Harness h;
    Activate(h);
    QSize atOne;
    qreal pointsAtOne = 0;
    WithBook(h, [&](BookDialog *d) {
        atOne = d->size();
        pointsAtOne = d->findChild<QTreeWidget *>()->font().pointSizeF();
    });
    h.Action("MnuRules")->trigger();
    const qreal rulesAtOne = h.window.Rules()->findChild<QTextBrowser *>()->font().pointSizeF();
    h.window.Rules()->close();

    h.window.findChild<WindowZoom *>()->Apply(1.5);
    WithBook(h, [&](BookDialog *d) {
        QCOMPARE(d->findChild<QTreeWidget *>()->font().pointSizeF(), pointsAtOne * 1.5);
        QVERIFY(d->width() > atOne.width() * 1.3);
        QVERIFY(d->height() > atOne.height() * 1.3);
    });
    h.Action("MnuRules")->trigger();
    QCOMPARE(h.window.Rules()->findChild<QTextBrowser *>()->font().pointSizeF(), rulesAtOne * 1.5);
    h.window.Rules()->close();
    WithDialog<QInputDialog>([&] { h.Action("MnuEnterCode")->trigger(); },
                             [&](QInputDialog *d) {
                                 QCOMPARE(d->findChild<QLineEdit *>()->font().pointSizeF(), pointsAtOne * 1.5);
                             });
    h.window.findChild<WindowZoom *>()->Apply(1.0);
}

void TestTaskBook::randomTaskShowsItsCodeThenStartsIt_data()
{
    QTest::addColumn<int>("level");
    for (int level = 1; level <= kLevelCount; ++level)
        QTest::addRow("level %d", level) << level;
}

void TestTaskBook::randomTaskShowsItsCodeThenStartsIt()
{
    QFETCH(int, level);
    Harness h;
    h.Action(qPrintable(QStringLiteral("MnuRandom%1").arg(level)))->trigger();
    QCOMPARE(h.boxes.Boxes.size(), 1u);
    const Recorder::Box &box = h.boxes.Boxes[0];
    QCOMPARE(box.Caption, std::string("Случайная задача"));
    QCOMPARE(box.Rows, 0); // shown before the game starts
    QCOMPARE(h.window.Mode(), GameMode::Play);
    const TaskPreset start = LoggedPosition(h.window.Puzzle().State(), h.window.Puzzle().Log(), 0);
    const int fewest = Solve(start).Pours();
    QVERIFY2(box.Text.find("Код задачи: " + TaskCode(start) + "\n") != std::string::npos, box.Text.c_str());
    QVERIFY2(box.Text.find("Наименьшее число переливаний: " + std::to_string(fewest) + ".") != std::string::npos,
             box.Text.c_str());
    QCOMPARE(LevelOf(fewest), level);
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
}

void TestTaskBook::copyAndEnterCodes()
{
    Harness h;
    QVERIFY(!h.Action("MnuCopyCode")->isEnabled());
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    Keys(h, "1 2"); // the code is the task's, not the position's
    h.Action("MnuCopyCode")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("12,7,5/12,0,0/6"));
    QCOMPARE(h.boxes.Boxes.back().Text, std::string("Код задачи скопирован: 12,7,5/12,0,0/6"));

    // Typed in, with spaces around it as a paste may bring.
    WithDialog<QInputDialog>([&] { h.Action("MnuEnterCode")->trigger(); },
                            [](QInputDialog *d) {
                                auto *edit = d->findChild<QLineEdit *>();
                                QCOMPARE(edit->text(), QStringLiteral("12,7,5/12,0,0/6"));
                                QCOMPARE(edit->accessibleName(), QString::fromUtf8("Код задачи"));
                                edit->selectAll();
                                QTest::keyClicks(edit, QStringLiteral(" 8,5,3/8,0,0/4 "));
                                QTest::keyClick(edit, Qt::Key_Return);
                            });
    QCOMPARE(Fields(h), (QStringList{"8", "5", "3", "8", "0", "0", "4"}));
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 1);
    QCOMPARE(h.window.Mode(), GameMode::Play);

    // Cancelled, nothing changes.
    WithDialog<QInputDialog>([&] { h.Action("MnuEnterCode")->trigger(); },
                            [](QInputDialog *d) { QTest::keyClick(d->findChild<QLineEdit *>(), Qt::Key_Escape); });
    QCOMPARE(Fields(h).last(), QStringLiteral("4"));
}

// A bad code says why, in the words the command line uses, under the field;
// the dialog stays with the text as typed, and the game goes on as it was.
void TestTaskBook::aBadCodeKeepsTheGame()
{
    Harness h;
    h.window.StartTaskCode(kKvass);
    Keys(h, "1 2");
    const Rows rows = Shown(h);
    const QStringList fields = Fields(h);
    h.boxes.Boxes.clear();
    std::string reason;
    try {
        ParseTaskCode("12,7,5/12,9,0/6");
    } catch (const std::invalid_argument &e) {
        reason = e.what();
    }
    WithDialog<QInputDialog>([&] { h.Action("MnuEnterCode")->trigger(); },
                            [&](QInputDialog *d) {
                                d->setTextValue(QStringLiteral("12,7,5/12,9,0/6"));
                                d->accept();
                                QVERIFY(d->isVisible());
                                QCOMPARE(d->textValue(), QStringLiteral("12,7,5/12,9,0/6"));
                                auto *problem = d->findChild<QLabel *>(QStringLiteral("CodeProblem"));
                                QVERIFY(problem && problem->isVisible());
                                QCOMPARE(problem->text(), QString::fromStdString(ErrorBoxText(reason)));
                                // Below the field, above the buttons.
                                auto *edit = d->findChild<QLineEdit *>();
                                QVERIFY(problem->geometry().top() >= edit->geometry().bottom());
                                // Mended, the code starts and the reason goes.
                                d->setTextValue(QStringLiteral("12,7,5/12,0,0/6"));
                                QVERIFY(!problem->isVisible());
                                d->setTextValue(QStringLiteral("12,7,5/12,9,0/6"));
                                d->reject();
                            });
    QVERIFY(h.boxes.Boxes.empty());
    QCOMPARE(Shown(h), rows);
    QCOMPARE(Fields(h), fields);
    QCOMPARE(h.window.Mode(), GameMode::Play);
}

void TestTaskBook::rulesOnF1()
{
    Harness h;
    Activate(h);
    QVERIFY(!h.window.Rules());
    QTest::keyClick(h.Handle(), Qt::Key_F1);
    RulesWindow *rules = h.window.Rules();
    QVERIFY(rules);
    QVERIFY(QTest::qWaitForWindowExposed(rules));
    QCOMPARE(rules->windowTitle(), QString::fromUtf8("Как играть"));
    auto *text = rules->findChild<QTextBrowser *>(QStringLiteral("RulesText"));
    QCOMPARE(QApplication::focusWidget(), text);
    const QString plain = text->toPlainText();
    for (const char *words : {"Задача решена", "перетащите картинку", "цифру сосуда", "Ctrl+Shift+Z", "F1",
                              "--generate", "--book", "Три звезды", "Разминка"})
        QVERIFY2(plain.contains(QString::fromUtf8(words)), words);
    QVERIFY(plain.contains(ScoresFile::Path()));
    QVERIFY(!plain.contains(QChar(0x0451)));
    QTest::keyClick(text, Qt::Key_Escape);
    QVERIFY(!rules->isVisible());
    // A game goes on beside it.
    Activate(h);
    h.window.StartTaskCode(kKvass);
    QTest::keyClick(h.Handle(), Qt::Key_F1);
    QCOMPARE(h.window.Rules(), rules);
    QVERIFY(rules->isVisible());
}

// The first win and every better one go to the file; the book shows the
// best with its stars, and so does the solution window.
void TestTaskBook::aWinIsRecordedAndShownWithStars()
{
    Harness h;
    Activate(h);
    h.window.StartTaskCode(kKvass);
    QVERIFY2(!QFile::exists(ScoresFile::Path()), "no records before a win");
    Keys(h, kKvassLonger);
    QVERIFY(h.window.Puzzle().State().GoalReached);
    const int pours = h.window.Puzzle().Log().RowCount() - 1;
    QCOMPARE(pours, 8);
    const QString date = QDate::currentDate().toString(Qt::ISODate);
    QVERIFY2(RecordsText().contains(QStringLiteral("8,5,3/8,0,0/4\t%1\t%2\t").arg(pours).arg(date) +
                                    QString::fromUtf8("без помощи\n")),
             qPrintable(RecordsText()));

    // A new attempt, a shorter win: told again, a better score.
    h.CloseWin();
    h.Action("MnuRestart")->trigger();
    Keys(h, kKvassPours);
    QCOMPARE(h.boxes.Boxes.size(), 2u);
    QVERIFY(h.Win()->Text().contains(QString::fromUtf8("Новый рекорд!")));
    h.CloseWin();
    QVERIFY(RecordsText().contains(QStringLiteral("8,5,3/8,0,0/4\t6\t")));
    QCOMPARE(RecordsText().count(QStringLiteral("8,5,3/8,0,0/4")), 1);

    WithBook(h, [](BookDialog *d) {
        const BookRow row = RowOf(d, kKvass);
        QCOMPARE(row.Best, QStringLiteral("6"));
        QCOMPARE(row.Stars, QString::fromUtf8("★★★"));
        QCOMPARE(row.SpokenStars, QString::fromUtf8("3 звезды"));
        QCOMPARE(RowOf(d, "12,7,5/12,0,0/6").Best, QString());
    });
    WithDialog<SolutionDialog>([&] { Chord(h, Qt::Key_R); },
                              [](SolutionDialog *d) {
                                  auto *line = d->findChild<QLabel *>(QStringLiteral("BestLine"));
                                  QVERIFY(line);
                                  QCOMPARE(line->text(), QString::fromUtf8("Ваш лучший результат: 6 переливаний (%1), "
                                                                           "3 звезды из 3.")
                                                             .arg(QDate::currentDate().toString(Qt::ISODate)));
                              });
}

void TestTaskBook::helpUsedEarnsNoStars()
{
    Harness h;
    Activate(h);
    h.window.StartTaskCode(kKvass);
    Chord(h, Qt::Key_H); // "Подсказка"
    Keys(h, kKvassPours);
    QVERIFY2(RecordsText().contains(QString::fromUtf8("8,5,3/8,0,0/4\t6\t%1\tподсказка\n")
                                        .arg(QDate::currentDate().toString(Qt::ISODate))),
             qPrintable(RecordsText()));
    WithBook(h, [](BookDialog *d) {
        const BookRow row = RowOf(d, kKvass);
        QCOMPARE(row.Stars, QString::fromUtf8("подсказка"));
        QCOMPARE(row.SpokenStars, QString::fromUtf8("без звезд: подсказка"));
    });

    // A new game of the same task, without help: a worse count, yet better.
    h.window.StartTaskCode(kKvass);
    Keys(h, kKvassLonger);
    QVERIFY2(RecordsText().contains(QString::fromUtf8("8,5,3/8,0,0/4\t8\t%1\tбез помощи\n")
                                        .arg(QDate::currentDate().toString(Qt::ISODate))),
             qPrintable(RecordsText()));
    QVERIFY(!RecordsText().contains(QString::fromUtf8("подсказка\n")));
}

// Another run of the game reads what the first wrote.
void TestTaskBook::aWinIsRememberedAcrossRuns()
{
    {
        Harness first;
        Activate(first);
        first.window.StartTaskCode(kKvass);
        Keys(first, kKvassPours);
    }
    Harness second;
    QVERIFY2(!second.window.Scores().File().Loaded(), "read on first use, not at start-up");
    WithBook(second, [](BookDialog *d) {
        QCOMPARE(RowOf(d, kKvass).Stars, QString::fromUtf8("★★★"));
    });
}

void TestTaskBook::recordsFileFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("told"); // a part of the box about the win; empty when there is none
    QTest::newRow("garbage") << QStringLiteral("garbage") << QString();
    QTest::newRow("missing folder") << QStringLiteral("missing folder") << QString();
    QTest::newRow("folder is a file") << QStringLiteral("folder is a file") << QString::fromUtf8("не создать");
    QTest::newRow("file is a folder") << QStringLiteral("file is a folder") << QString::fromUtf8("под этим именем папка");
    QTest::newRow("huge file") << QStringLiteral("huge file") << QString::fromUtf8("больше 4194304 байт");
    QTest::newRow("a FIFO") << QStringLiteral("fifo") << QString::fromUtf8("канал, устройство или сокет");
    QTest::newRow("a link to a device") << QStringLiteral("device") << QString::fromUtf8("канал, устройство или сокет");
}

// Whatever the file is, the game goes on and the book opens; no score that
// was there is lost, nothing but a file of scores is written, nothing waits
// on a FIFO or a device. A win the file cannot keep is said once, in a box
// of its own after the goal's.
void TestTaskBook::recordsFileFaults()
{
    QFETCH(QString, fault);
    QFETCH(QString, told);
    const QString config = TemporaryConfigHome();
    const QString folder = config + QStringLiteral("/sosudnik");
    const QByteArray garbage = QByteArrayLiteral("\x01\x02\xff junk\n12,7,5/12,0,0/6\t11\t2026-01-02\t") +
                               QString::fromUtf8("без помощи\nне запись\n").toUtf8();
    if (fault == QLatin1String("garbage")) {
        WriteScores(garbage);
    } else if (fault == QLatin1String("missing folder")) {
        qputenv("XDG_CONFIG_HOME", (config + QStringLiteral("/not/yet/there")).toLocal8Bit());
    } else if (fault == QLatin1String("folder is a file")) {
        QFile file(folder);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (fault == QLatin1String("file is a folder")) {
        QVERIFY(QDir().mkpath(ScoresFile::Path()));
    } else if (fault == QLatin1String("fifo")) {
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(::mkfifo(QFile::encodeName(ScoresFile::Path()).constData(), 0600), 0);
    } else if (fault == QLatin1String("device")) {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), ScoresFile::Path()));
    } else {
        WriteScores(QByteArray(5 * 1024 * 1024, 'x'));
    }

    Harness h;
    Activate(h);
    WithBook(h, [](BookDialog *d) { d->reject(); });
    h.window.StartTaskCode(kKvass);
    Keys(h, kKvassPours);
    QCOMPARE(h.boxes.Boxes[0].Caption, std::string(kCaptionGoalReached));
    if (told.isEmpty()) {
        QCOMPARE(h.boxes.Boxes.size(), 1u); // the goal's message alone
    } else {
        QCOMPARE(h.boxes.Boxes.size(), 2u);
        const QString text = QString::fromStdString(h.boxes.Boxes[1].Text);
        QCOMPARE(h.boxes.Boxes[1].Caption, std::string("Рекорды"));
        QCOMPARE(h.boxes.Boxes[1].Icon, kIconWarning);
        QVERIFY2(text.startsWith(QString::fromUtf8("Победа не записана в файл рекордов: ")), qPrintable(text));
        QVERIFY2(text.contains(told), qPrintable(text));
        QVERIFY2(text.endsWith(QString::fromUtf8("до конца этого запуска победа видна в сборнике.")), qPrintable(text));
        // Said once a run: a second win goes without another box.
        h.window.StartTaskCode("12,7,5/12,0,0/6");
        Keys(h, "1 2 2 3 3 1 2 3 1 2 2 3 3 1 2 3 1 2 2 3");
        QVERIFY(h.window.Puzzle().State().GoalReached);
        QCOMPARE(h.boxes.Boxes.size(), 3u);
        QCOMPARE(h.boxes.Boxes[2].Caption, std::string(kCaptionGoalReached));
    }
    WithBook(h, [](BookDialog *d) {
        // Shown in this run whether or not the file could keep it.
        QCOMPARE(RowOf(d, kKvass).Best, QStringLiteral("6"));
    });

    if (fault == QLatin1String("garbage")) {
        // The bad lines kept as they were, the good one read, the win added.
        QVERIFY(RecordsBytes().startsWith(garbage));
        QVERIFY(RecordsText().endsWith(QStringLiteral("8,5,3/8,0,0/4\t6\t%1\t").arg(
                                           QDate::currentDate().toString(Qt::ISODate)) +
                                       QString::fromUtf8("без помощи\n")));
        WithBook(h, [](BookDialog *d) {
            QCOMPARE(RowOf(d, "12,7,5/12,0,0/6").Best, QStringLiteral("11"));
            d->reject();
        });
    } else if (fault == QLatin1String("missing folder")) {
        QVERIFY(RecordsText().contains(QStringLiteral("8,5,3/8,0,0/4\t6\t")));
    } else if (fault == QLatin1String("folder is a file")) {
        QCOMPARE(QFileInfo(folder).size(), 0);
    } else if (fault == QLatin1String("file is a folder")) {
        QVERIFY(QFileInfo(ScoresFile::Path()).isDir());
    } else if (fault == QLatin1String("fifo")) {
        struct stat status {};
        QCOMPARE(::lstat(QFile::encodeName(ScoresFile::Path()).constData(), &status), 0);
        QVERIFY(S_ISFIFO(status.st_mode));
    } else if (fault == QLatin1String("device")) {
        QCOMPARE(QFileInfo(ScoresFile::Path()).symLinkTarget(), QStringLiteral("/dev/zero"));
    } else {
        QCOMPARE(QFileInfo(ScoresFile::Path()).size(), 5 * 1024 * 1024);
    }
}

// A records file that a dotfile manager keeps elsewhere through a link: the
// link stays, its target is replaced whole.
void TestTaskBook::aLinkedRecordsFileIsFollowed()
{
    const QString config = TemporaryConfigHome();
    const QByteArray before = QByteArrayLiteral("12,7,5/12,0,0/6\t11\t2026-01-02\t") + QString::fromUtf8("без помощи\n").toUtf8();
    const QString target = config + QStringLiteral("/dotfiles/records.txt");
    QVERIFY(QDir().mkpath(QFileInfo(target).path()));
    QVERIFY(QDir().mkpath(QFileInfo(ScoresFile::Path()).path()));
    {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    QVERIFY(QFile::link(QStringLiteral("../dotfiles/records.txt"), ScoresFile::Path()));
    Harness h;
    Activate(h);
    h.window.StartTaskCode(kKvass);
    Keys(h, kKvassPours);
    QCOMPARE(h.boxes.Boxes.size(), 1u);
    QVERIFY(QFileInfo(ScoresFile::Path()).isSymLink());
    QFile file(target);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    QVERIFY2(after.startsWith(before) && after.contains("8,5,3/8,0,0/4\t6\t"), after.constData());
}

// A relative XDG_CONFIG_HOME is no folder at all, as the XDG rules say: the
// scores go under the home folder, never under the current one.
void TestTaskBook::aRelativeConfigHomeIsIgnored()
{
    const QTemporaryDir home;
    const TemporaryWorkDir work;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", "relative/config");
    {
        Harness h;
        Activate(h);
        h.window.StartTaskCode(kKvass);
        Keys(h, kKvassPours);
        QCOMPARE(h.boxes.Boxes.size(), 1u);
    }
    qputenv("HOME", oldHome);
    QFile file(home.path() + QStringLiteral("/.config/sosudnik/records.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("8,5,3/8,0,0/4\t6\t"));
    QVERIFY(!QDir(QStringLiteral("relative")).exists());
    ClearScores();
}

// Two games that win while a third holds the file: both wait without
// stopping their windows, and once it is free both wins are kept.
void TestTaskBook::twoGamesWinAtOnce()
{
    TemporaryConfigHome();
    QVERIFY(QDir().mkpath(QFileInfo(ScoresFile::Path()).path()));
    auto holder = std::make_unique<QLockFile>(ScoresFile::Path() + QStringLiteral(".lock"));
    QVERIFY(holder->tryLock(0));
    Harness first;
    Harness second;
    Activate(first);
    first.window.StartTaskCode(kKvass);
    Keys(first, kKvassPours);
    Activate(second);
    second.window.StartTaskCode("12,7,5/12,0,0/6");
    Keys(second, "1 2 2 3 3 1 2 3 1 2 2 3 3 1 2 3 1 2 2 3");
    QVERIFY(second.window.Puzzle().State().GoalReached);
    QVERIFY(RecordsBytes().isEmpty());
    // The windows go on meanwhile.
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(1);
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 20, 30'000);
    holder.reset();
    QTRY_VERIFY_WITH_TIMEOUT(RecordsText().contains(QStringLiteral("8,5,3/8,0,0/4\t6\t"))
                                 && RecordsText().contains(QStringLiteral("12,7,5/12,0,0/6\t10\t")),
                             30'000);
    QCOMPARE(first.boxes.Boxes.size(), 1u);
    QCOMPARE(second.boxes.Boxes.size(), 1u);
}

void TestTaskBook::readOnlyRecordsStayAsTheyAre()
{
    if (::geteuid() == 0)
        QSKIP("root writes to read-only files and folders");
    const QByteArray before = QByteArrayLiteral("12,7,5/12,0,0/6\t11\t2026-01-02\t") + QString::fromUtf8("без помощи\n").toUtf8();
    WriteScores(before);
    QFile::setPermissions(ScoresFile::Path(), QFileDevice::ReadOwner);
    Harness h;
    Activate(h);
    h.window.StartTaskCode(kKvass);
    Keys(h, kKvassPours);
    // The win is said to be kept nowhere, once.
    QCOMPARE(h.boxes.Boxes.size(), 2u);
    QVERIFY2(QString::fromStdString(h.boxes.Boxes[1].Text).contains(QString::fromUtf8("нет прав на запись")),
             h.boxes.Boxes[1].Text.c_str());
    QCOMPARE(RecordsBytes(), before);
    // Unreadable as well: read as none, and never written over.
    QFile::setPermissions(ScoresFile::Path(), QFileDevice::WriteOwner);
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    Keys(h, "1 2 2 3 3 1 2 3 1 2 2 3 3 1 2 3 1 2 2 3"); // the milk task's fewest
    QVERIFY(h.window.Puzzle().State().GoalReached);
    QFile::setPermissions(ScoresFile::Path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(RecordsBytes(), before);
}

QTEST_MAIN(TestTaskBook)
#include "tst_task_book.moc"
