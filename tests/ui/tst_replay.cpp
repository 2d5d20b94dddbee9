// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// "Просмотр записи…" in the real window: a pupil's file save by save and row
// by row, the vessels as the game draws and names them, the checker's words
// for each row and save, another task typed in, hostile files, the double
// click in the teacher's check, and a lesson that keeps it off.
#include "argv.h"
#include "window_harness.h"

#include "accessibility.h"
#include "check_report.h"
#include "command_line.h"
#include "display_start.h"
#include "map_view.h"
#include "record_check.h"
#include "record_check_dialog.h"
#include "replay_command.h"
#include "replay_window.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <array>
#include <vector>

namespace {

using Levels = std::array<int, 3>;

QByteArray Save(const QList<QByteArray> &rows, const QList<QByteArray> &captions = {})
{
    QByteArray text = "<Columns/><Data>";
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QList<QByteArray> levels = rows[r].split(' ');
        const QByteArray caption = r < captions.size() ? captions[r] : QByteArray::number(r);
        text += "<Record Column0=\"" + caption + "\" Column1=\"" + levels[0] + "\" Column2=\"" + levels[1]
            + "\" Column3=\"" + levels[2] + "\"/>";
    }
    return text + "</Data>";
}

QByteArray File(const QList<QByteArray> &saves)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ListStore>" + saves.join() + "</ListStore>\n";
}

const QList<QByteArray> kMilkSolution
    = {"12 0 0", "5 7 0", "5 2 5", "10 2 0", "10 0 2", "3 7 2", "3 4 5", "8 4 0", "8 0 4", "1 7 4", "1 6 5"};

// A kvass game, the milk task solved, and a milk game with a wrong row.
const QByteArray kPupil = File({Save({"8 0 0", "3 5 0"}), Save(kMilkSolution),
    Save({"12 0 0", "5 7 0", "9 3 0", "4 3 5"}, {"0", "1", "попробую", "3"})});

std::vector<Levels> Parsed(const QList<QByteArray> &rows)
{
    std::vector<Levels> levels;
    for (const QByteArray &row : rows) {
        const QList<QByteArray> v = row.split(' ');
        levels.push_back({v[0].toInt(), v[1].toInt(), v[2].toInt()});
    }
    return levels;
}

template <class W> W *Child(QWidget *window, const char *name)
{
    W *w = window->findChild<W *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no %s", name);
    return w;
}

QString Label(QWidget *window, const char *name)
{
    return Child<QLabel>(window, name)->text();
}

Levels Shown(ReplayWindow *replay)
{
    Levels levels{};
    for (int n = 1; n <= 3; ++n)
        levels[static_cast<std::size_t>(n - 1)]
            = Child<VesselPicture>(replay, QStringLiteral("ReplayImage%1").arg(n).toLatin1().constData())->Level();
    return levels;
}

// Each vessel as a screen reader hears it, the game's own words.
QStringList Heard(ReplayWindow *replay)
{
    QStringList heard;
    for (int n = 1; n <= 3; ++n)
        heard << VesselDescription(
            *Child<VesselPicture>(replay, QStringLiteral("ReplayImage%1").arg(n).toLatin1().constData()));
    return heard;
}

QStringList Saves(ReplayWindow *replay)
{
    QStringList items;
    auto *list = Child<QListWidget>(replay, "Saves");
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

// The path the replay's map draws, row after row.
std::vector<Levels> MapRows(const ReplayWindow *replay)
{
    std::vector<Levels> rows;
    for (const PathRun &run : replay->Map()->Scene().Player) {
        for (const PathVertex &vertex : run)
            rows.push_back(vertex.Levels);
    }
    return rows;
}

void Key(ReplayWindow *replay, Qt::Key key)
{
    QTest::keyClick(Child<QTableView>(replay, "Rows"), key);
}

} // namespace

class TestReplay : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void savesAsTheCheckerNumbersThem();
    void rowByRowWithTheKeys();
    void anotherTaskTypedIn();
    void hostileFiles_data();
    void hostileFiles();
    void doubleClickInTheCheck();
    void offInALesson();

private:
    // Replays the file of these bytes from the menu of a window with the
    // milk task in play; the window once it has read it.
    ReplayWindow *Replay(Harness &h, const QByteArray &bytes, const QString &name = QStringLiteral("pupil.xml"));
    QString Write(const QString &name, const QByteArray &bytes);

    QTemporaryDir m_dir;
};

void TestReplay::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString TestReplay::Write(const QString &name, const QByteArray &bytes)
{
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(name));
    return file.fileName();
}

ReplayWindow *TestReplay::Replay(Harness &h, const QByteArray &bytes, const QString &name)
{
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    const QString path = Write(name, bytes);
    h.window.Replay().SetChooser([path] { return path; });
    h.Action("MnuReplay")->trigger();
    ReplayWindow *replay = h.window.Replay().Window();
    if (!replay || !QTest::qWaitForWindowExposed(replay))
        return nullptr;
    // Read on a thread of its own: polled for, with room for a loaded machine.
    for (int waited = 0; replay->Loading() && waited < 30000; waited += 10)
        QTest::qWait(10);
    return replay->Loading() ? nullptr : replay;
}

// The saves as the checker numbers them, each with its verdict, the graded
// one chosen first; the file's verdict is the checker's, word for word.
void TestReplay::savesAsTheCheckerNumbersThem()
{
    Harness h;
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    const GameSnapshot before = TakeSnapshot(h);
    ReplayWindow *replay = Replay(h, kPupil);
    QVERIFY(replay);
    QCOMPARE(Saves(replay),
        (QStringList{QStringLiteral("Сохранение 1 из 3 — другая задача"),
            QStringLiteral("Сохранение 2 из 3 — решено, 10 переливаний (итог файла)"),
            QStringLiteral("Сохранение 3 из 3 — неверный ход")}));
    // The best save is graded, not the last.
    QCOMPARE(replay->SaveShown(), 1);
    QCOMPARE(Child<QListWidget>(replay, "Saves")->currentRow(), 1);
    const RecordCheck check
        = RecordChecker(TaskPresets[0])
              .CheckFile(QFile::encodeName(m_dir.filePath(QStringLiteral("pupil.xml"))).toStdString());
    QCOMPARE(Label(replay, "Verdict"),
        QStringLiteral("Итог файла: решено, 10 переливаний. ") + QString::fromStdString(check.Detail));
    QCOMPARE(Label(replay, "SaveVerdict"),
        QStringLiteral("Сохранение 2 из 3: решено, 10 переливаний. Наименьшее число переливаний."));

    Child<QListWidget>(replay, "Saves")->setCurrentRow(2);
    QCOMPARE(replay->SaveShown(), 2);
    QCOMPARE(Label(replay, "SaveVerdict"),
        QStringLiteral("Сохранение 3 из 3: неверный ход. Ход 2 (9 3 0) не получить из хода 1 (5 7 0) одним "
                       "переливанием."));
    Child<QListWidget>(replay, "Saves")->setCurrentRow(0);
    QCOMPARE(Label(replay, "SaveVerdict"),
        QStringLiteral("Сохранение 1 из 3: другая задача. Сохранение начинается с «8 0 0», а не с уровней "
                       "задачи 12 0 0."));

    // Looking changed nothing: not the game, not the file.
    QVERIFY(TakeSnapshot(h) == before);
    QFile file(m_dir.filePath(QStringLiteral("pupil.xml")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), kPupil);
}

// Every row of the solved save, stepped through with the keys: the vessels
// as the game draws and names them, the pour, and the goal where it is.
void TestReplay::rowByRowWithTheKeys()
{
    Harness h;
    ReplayWindow *replay = Replay(h, kPupil);
    QVERIFY(replay);
    Child<QListWidget>(replay, "Saves")->setCurrentRow(1);
    const std::vector<Levels> rows = Parsed(kMilkSolution);
    Child<QTableView>(replay, "Rows")->setFocus();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        QCOMPARE(replay->RowShown(), static_cast<int>(r));
        QCOMPARE(Shown(replay), rows[r]);
        QCOMPARE(Heard(replay),
            (QStringList{QStringLiteral("Сосуд 1: %1 из 12").arg(rows[r][0]),
                QStringLiteral("Сосуд 2: %1 из 7").arg(rows[r][1]),
                QStringLiteral("Сосуд 3: %1 из 5").arg(rows[r][2])}));
        QVERIFY2(Label(replay, "RowCaption").startsWith(QStringLiteral("Ход %1 из 10, подпись «%1»").arg(r)),
            qPrintable(Label(replay, "RowCaption")));
        // The map: the save's path up to this row, on this task's map.
        QCOMPARE(replay->Map()->Map()->Task().Level, TaskPresets[0].Level);
        QCOMPARE(MapRows(replay), std::vector<Levels>(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(r) + 1));
        Key(replay, Qt::Key_Down);
    }
    QCOMPARE(replay->RowShown(), 10);
    QCOMPARE(Label(replay, "RowCaption"), QStringLiteral("Ход 10 из 10, подпись «10»: из сосуда 2 в сосуд 3."));
    QCOMPARE(Label(replay, "RowNote"), QStringLiteral("цель достигнута"));

    Key(replay, Qt::Key_Home);
    QCOMPARE(replay->RowShown(), 0);
    QCOMPARE(MapRows(replay), std::vector<Levels>{rows.front()});
    QCOMPARE(Label(replay, "RowNote"), QStringLiteral("начало"));
    Key(replay, Qt::Key_End);
    QCOMPARE(replay->RowShown(), 10);
    Key(replay, Qt::Key_Left);
    QCOMPARE(replay->RowShown(), 9);
    // A row at a time, as a presenter's remote steps a lesson.
    Key(replay, Qt::Key_PageUp);
    QCOMPARE(replay->RowShown(), 8);
    Key(replay, Qt::Key_PageDown);
    QCOMPARE(replay->RowShown(), 9);
    Key(replay, Qt::Key_PageDown);
    QCOMPARE(replay->RowShown(), 10);
    Key(replay, Qt::Key_PageDown);
    QCOMPARE(replay->RowShown(), 10);
    Key(replay, Qt::Key_Right);
    QCOMPARE(replay->RowShown(), 10);

    // The wrong row of the last save, named as the checker names it.
    Child<QListWidget>(replay, "Saves")->setCurrentRow(2);
    Child<QTableView>(replay, "Rows")->setFocus();
    Key(replay, Qt::Key_Down);
    Key(replay, Qt::Key_Down);
    QCOMPARE(replay->RowShown(), 2);
    QCOMPARE(Shown(replay), (Levels{9, 3, 0}));
    QCOMPARE(Label(replay, "RowCaption"), QStringLiteral("Ход 2 из 3, подпись «попробую»."));
    QCOMPARE(
        Label(replay, "RowNote"), QStringLiteral("Ход 2 (9 3 0) не получить из хода 1 (5 7 0) одним переливанием."));
    const QModelIndex wrong = Child<QTableView>(replay, "Rows")->model()->index(2, 0);
    QVERIFY(wrong.data(Qt::BackgroundRole).isValid());
    QVERIFY(!wrong.siblingAtRow(1).data(Qt::BackgroundRole).isValid());
    Key(replay, Qt::Key_Down);
    QCOMPARE(Label(replay, "RowCaption"), QStringLiteral("Ход 3 из 3, подпись «3»: из сосуда 1 в сосуд 3."));
}

// The same file against the code typed in: the kvass save is graded now.
void TestReplay::anotherTaskTypedIn()
{
    Harness h;
    ReplayWindow *replay = Replay(h, kPupil);
    QVERIFY(replay);
    auto *code = Child<QLineEdit>(replay, "TaskCode");
    QCOMPARE(code->text(), QStringLiteral("12,7,5/12,0,0/6"));
    code->setText(QStringLiteral("8,5,3"));
    QTest::mouseClick(Child<QPushButton>(replay, "BtnTask"), Qt::LeftButton);
    QVERIFY2(Label(replay, "Verdict").startsWith(QStringLiteral("Код задачи «8,5,3» не разобрать")),
        qPrintable(Label(replay, "Verdict")));
    QCOMPARE(replay->SaveShown(), 1);

    code->setText(QStringLiteral("8,5,3/8,0,0/4"));
    QTest::keyClick(code, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!replay->Loading(), 30000);
    QVERIFY(replay->isVisible());
    QCOMPARE(replay->SaveShown(), 0);
    QCOMPARE(Saves(replay).first(), QStringLiteral("Сохранение 1 из 3 — не решено, 1 переливание (итог файла)"));
    QCOMPARE(Shown(replay), (Levels{8, 0, 0}));
    QCOMPARE(Heard(replay).first(), QStringLiteral("Сосуд 1: 8 из 8"));
}

void TestReplay::hostileFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("size"); // grown to this many bytes when not 0
    QTest::addColumn<QString>("verdict");
    QTest::newRow("DOCTYPE") << QByteArray("<!DOCTYPE ListStore [<!ENTITY a \"aaaa\">]><ListStore/>") << 0
                             << QStringLiteral("Файл не читается: В файле есть объявление DOCTYPE, а в файлах "
                                               "результата его не бывает.");
    QTest::newRow("20 MiB") << File({Save({"12 0 0"})}) << (20 << 20) << QString();
    QTest::newRow("not XML") << QByteArray("12 0 0\n5 7 0\n") << 0
                             << QStringLiteral("Файл не читается: Это не XML: в файле не найден ни один элемент "
                                               "(строка 1).");
    QTest::newRow("another task") << File({Save({"8 0 0", "3 5 0"})}) << 0
                                  << QStringLiteral("Итог файла: другая задача. Сохранения в файле начинаются с «8 0 "
                                                    "0», а не с уровней задачи 12 0 0.");
}

// Said in Russian in the window, and nothing to step through but what the
// file holds.
void TestReplay::hostileFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, size);
    QFETCH(QString, verdict);
    Harness h;
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    const QString path = Write(QStringLiteral("hostile.xml"), bytes);
    if (size > 0)
        QVERIFY(QFile::resize(path, size));
    h.window.Replay().SetChooser([path] { return path; });
    h.Action("MnuReplay")->trigger();
    ReplayWindow *replay = h.window.Replay().Window();
    QVERIFY(replay);
    QTRY_VERIFY_WITH_TIMEOUT(!replay->Loading(), 30000);
    if (!verdict.isEmpty())
        QCOMPARE(Label(replay, "Verdict"), verdict);
    else
        QVERIFY2(Label(replay, "Verdict").startsWith(QStringLiteral("Файл не читается: ")),
            qPrintable(Label(replay, "Verdict")));
    if (verdict.startsWith(QStringLiteral("Итог"))) {
        QCOMPARE(Saves(replay), QStringList{QStringLiteral("Сохранение 1 из 1 — другая задача")});
        QCOMPARE(Shown(replay), (Levels{8, 0, 0}));
    } else {
        QVERIFY(Saves(replay).isEmpty());
        QCOMPARE(Child<QTableView>(replay, "Rows")->model()->rowCount(), 0);
    }
}

// A double click on a row of the teacher's check replays that row's file,
// in a window of the check's own (the check is modal), against the variant
// the file was graded against.
void TestReplay::doubleClickInTheCheck()
{
    Harness h;
    const QString solved = Write(QStringLiteral("ivanova.xml"), File({Save(kMilkSolution)}));
    const QString wrong = Write(QStringLiteral("sidorov.xml"), File({Save({"12 0 0", "9 3 0"})}));
    const QString variant = Write(QStringLiteral("petrov.xml"), File({Save({"8 0 0", "3 5 0"})}));
    const RecordChecker checker(std::vector<TaskPreset>{TaskPresets[0], TaskPresets[1]});
    RecordCheckDialog dialog(checker, &h.window);
    std::vector<CheckedFile> files;
    for (const QString &path : {solved, wrong, variant}) {
        const std::string native = QFile::encodeName(path).toStdString();
        files.push_back({native, checker.CheckFile(native)});
    }
    dialog.AddFiles(files);
    dialog.Finish(false);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *table = Child<QTableWidget>(&dialog, "RecordTable");
    dialog.SortBy(0); // ivanova, petrov, sidorov
    const QRect cell = table->visualItemRect(table->item(2, 0));
    // As a hand does it: a click, and the second press of the double click.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    ReplayWindow *replay = dialog.Replay();
    QVERIFY(replay);
    QCOMPARE(replay->parentWidget(), &dialog);
    QTRY_VERIFY_WITH_TIMEOUT(replay->Shown() != nullptr && !replay->Loading(), 30000);
    QVERIFY(Label(replay, "FileLine").endsWith(QStringLiteral("sidorov.xml")));
    QCOMPARE(Saves(replay), QStringList{QStringLiteral("Сохранение 1 из 1 — неверный ход (итог файла)")});
    QCOMPARE(replay->RowShown(), 0);

    dialog.ReplayRow(0);
    QCOMPARE(dialog.Replay(), replay);
    QTRY_VERIFY_WITH_TIMEOUT(
        !replay->Loading() && Label(replay, "FileLine").endsWith(QStringLiteral("ivanova.xml")), 30000);
    QCOMPARE(Saves(replay), QStringList{QStringLiteral("Сохранение 1 из 1 — решено, 10 переливаний (итог файла)")});

    dialog.ReplayRow(1);
    QTRY_VERIFY_WITH_TIMEOUT(
        !replay->Loading() && Label(replay, "FileLine").endsWith(QStringLiteral("petrov.xml")), 30000);
    QCOMPARE(Child<QLineEdit>(replay, "TaskCode")->text(), QStringLiteral("8,5,3/8,0,0/4"));
    QCOMPARE(replay->Shown()->Saves.at(0).Check.Result, Verdict::NotSolved);
    QCOMPARE(replay->Shown()->Graded, std::optional<std::size_t>(0));
}

// Like the checker, the replay tells whether a file solves the task: off in
// a lesson, and saying so.
void TestReplay::offInALesson()
{
    Harness h;
    Argv argv({QStringLiteral("--lesson"), QStringLiteral("12,7,5/12,0,0/6")});
    StartFromArguments(h.window, ReadCommandLine(argv.Count(), argv.Values()));
    QAction *entry = h.Action("MnuReplay");
    QVERIFY(!entry->isEnabled());
    QCOMPARE(entry->toolTip(), QStringLiteral("На этом уроке отключено"));
    bool asked = false;
    h.window.Replay().SetChooser([&asked] {
        asked = true;
        return QString();
    });
    entry->trigger();
    QVERIFY(!asked);
    QVERIFY(!h.window.Replay().Window());
}

QTEST_MAIN(TestReplay)
#include "tst_replay.moc"
