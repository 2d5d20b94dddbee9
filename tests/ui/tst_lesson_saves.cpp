// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// A lesson keeps the pupil's work in the real window: the name asked for
// and shown, "Запись результата" into the pupil's file, saves on a win,
// before a new game and before closing, a lock waited for without freezing
// the window; and, outside a lesson, "Записать как…".
#include "argv.h"
#include "window_harness.h"

#include "command_line.h"
#include "display_start.h"
#include "modal_helpers.h"
#include "pupil_dialog.h"
#include "pupil_saves.h"
#include "result_files.h"
#include "result_writer.h"
#include "save_failure.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLockFile>
#include <QMessageBox>
#include <QTimer>

#include <sys/stat.h>

using namespace std::chrono_literals;

namespace {

const char *const kMilk = "12,7,5/12,0,0/6";
const char *const kKvass = "8,5,3/8,0,0/4";
const QString kPupil = QString::fromUtf8("Иванова Маша");
const QString kFile = QString::fromUtf8("Иванова Маша.xml");

void StartLesson(Harness &h, const QString &folder, const char *code = kMilk)
{
    Argv argv({QStringLiteral("--lesson"), QStringLiteral("--pupil"), QStringLiteral("  Иванова   Маша "),
               QStringLiteral("--folder"), folder, QString::fromLatin1(code)});
    StartFromArguments(h.window, ReadCommandLine(argv.Count(), argv.Values()));
}

QStringList Texts(const Harness &h)
{
    QStringList texts;
    for (const Recorder::Box &box : h.boxes.Boxes)
        texts << QString::fromStdString(box.Caption) + QLatin1Char('|') + QString::fromStdString(box.Text);
    return texts;
}

QString Written(const QString &file)
{
    return QString::fromUtf8("Запись файла|") + QString::fromStdString(FileWrittenText(file.toStdString()));
}

const QString kWin = QString::fromUtf8("Внимание|") + QString::fromUtf8(kMsgGoalReached);

} // namespace

class TestLessonSaves : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void askedSaveWritesThePupilsFile();
    void aWinAndANewGameSaveWithoutAsking();
    void closing_data();
    void closing();
    void aHeldLock_data();
    void aHeldLock();
    void aFileThatIsNoResultIsLeftAlone();
    void theNameIsAskedFor_data();
    void theNameIsAskedFor();
    void saveAsWritesWhatTheSaveWrites_data();
    void saveAsWritesWhatTheSaveWrites();
    void saveAsFailsAsTheSaveFails();
};

void TestLessonSaves::askedSaveWritesThePupilsFile()
{
    TemporaryWorkDir work;
    QTemporaryDir folder;
    Harness h;
    StartLesson(h, folder.path());
    QCOMPARE(h.window.windowTitle(), QString::fromUtf8("Сосудник — Иванова Маша"));
    QVERIFY(!h.Action("MnuSaveAs")->isEnabled());
    QCOMPARE(h.Action("MnuSaveAs")->toolTip(), QString::fromUtf8("На этом уроке отключено"));

    h.PourKeys("12");
    QTest::keyClick(h.Handle(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(Texts(h), QStringList{Written(kFile)});
    QCOMPARE(SavedCaptions(folder.filePath(kFile)), QStringList{QStringLiteral("0,1")});
    h.Click(QStringLiteral("BtnXml"));
    QCOMPARE(SavedCaptions(folder.filePath(kFile)), (QStringList{QStringLiteral("0,1"), QStringLiteral("0,1")}));
    QVERIFY(!QFile::exists(work.FilePath(QString::fromUtf8(kResultFileName))));
    QCOMPARE(h.window.windowTitle(), QString::fromUtf8("Сосудник — Иванова Маша"));
}

void TestLessonSaves::aWinAndANewGameSaveWithoutAsking()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(kFile);
    Harness h;
    StartLesson(h, folder.path(), kKvass);
    h.PourKeys("12 23 31 23 12 23");
    QVERIFY(h.window.Puzzle().State().GoalReached);
    QCOMPARE(Texts(h), QStringList{kWin});
    QCOMPARE(SavedCaptions(file), QStringList{QStringLiteral("0,1,2,3,4,5,6")});

    // Nothing new since: a new game saves nothing more.
    h.window.StartTaskCode(kMilk);
    QCOMPARE(SavedCaptions(file).size(), 1);
    // Pours a new game or "Начать заново" would take out of the log.
    h.PourKeys("12");
    h.window.StartTaskCode(kKvass);
    h.PourKeys("13");
    h.Action("MnuRestart")->trigger();
    h.PourKeys("12 23");
    h.window.MnuNewClick();
    QCOMPARE(SavedCaptions(file), (QStringList{QStringLiteral("0,1,2,3,4,5,6"), QStringLiteral("0,1"),
                                       QStringLiteral("0,1"), QStringLiteral("0,1,2")}));
    QCOMPARE(Texts(h), QStringList{kWin});
}

void TestLessonSaves::closing_data()
{
    QTest::addColumn<QString>("before"); // pours, then what else
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QStringList>("saves");
    QTest::addColumn<QString>("box");

    QTest::newRow("pours unsaved") << QStringLiteral("12 23") << true << QStringList{QStringLiteral("0,1,2")}
                                   << QString();
    QTest::newRow("nothing poured") << QString() << true << QStringList{} << QString();
    QTest::newRow("pours saved") << QStringLiteral("12 save") << true << QStringList{QStringLiteral("0,1")}
                                 << Written(kFile);
    QTest::newRow("pours undone") << QStringLiteral("12 undo") << true << QStringList{} << QString();
    QTest::newRow("the folder gone") << QStringLiteral("12 gone") << false << QStringList{}
                                     << QString::fromUtf8("Сосудник|")
                                            + QString::fromStdString(ErrorBoxText(SaveFailureText(
                                                kFile.toStdString(), ENOENT)));
}

// In a lesson the window saves unsaved pours before it closes, and asks
// nothing; a save that fails keeps it open, the pours with it.
void TestLessonSaves::closing()
{
    QFETCH(QString, before);
    QFETCH(bool, closes);
    QFETCH(QStringList, saves);
    QFETCH(QString, box);

    QTemporaryDir parent;
    const QString folder = parent.filePath(QStringLiteral("урок"));
    QVERIFY(QDir().mkpath(folder));
    Harness h;
    StartLesson(h, folder);
    for (const QString &step : before.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (step == QLatin1String("save"))
            h.window.BtnXmlClick();
        else if (step == QLatin1String("undo"))
            h.window.BtnUndoClick();
        else if (step == QLatin1String("gone"))
            QVERIFY(QDir(folder).removeRecursively());
        else
            h.PourKeys(qPrintable(step));
    }
    h.Click(QStringLiteral("BtnExit"));
    QCOMPARE(h.window.isVisible(), !closes);
    QCOMPARE(SavedCaptions(folder + QLatin1Char('/') + kFile),
             saves.isEmpty() ? QStringList{QString::fromUtf8("unreadable: Файла нет.")} : saves);
    QCOMPARE(Texts(h), box.isEmpty() ? QStringList{} : QStringList{box});
}

void TestLessonSaves::aHeldLock_data()
{
    QTest::addColumn<QString>("how"); // "save", "close"
    QTest::addColumn<int>("patienceMs");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("saves");
    QTest::addColumn<bool>("open"); // the window, at the end

    const QString gaveUp = QString::fromUtf8("Сосудник|")
        + QString::fromStdString(ErrorBoxText(SaveFailureText(kFile.toStdString(), kCauseLockHeld)));
    // Asked for with one pour; a second pour comes while it waits.
    QTest::newRow("a save waits") << QStringLiteral("save") << 60'000 << QStringList{Written(kFile)}
                                  << QStringList{QStringLiteral("0,1")} << true;
    // Closing waits too, then saves the pour that came meanwhile and closes.
    QTest::newRow("closing waits") << QStringLiteral("close") << 60'000 << QStringList{}
                                   << QStringList{QStringLiteral("0,1"), QStringLiteral("0,1,2")} << false;
    // Past its patience the save gives up and says so; the next one, once
    // the lock is free, writes what the first could not.
    QTest::newRow("a save gives up") << QStringLiteral("save") << 100 << QStringList{gaveUp, Written(kFile)}
                                     << QStringList{QStringLiteral("0,1"), QStringLiteral("0,1,2")} << true;
}

// Another game's save holds the lock: the window goes on while this one waits.
void TestLessonSaves::aHeldLock()
{
    QFETCH(QString, how);
    QFETCH(int, patienceMs);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, saves);
    QFETCH(bool, open);

    QTemporaryDir folder;
    const QString file = folder.filePath(kFile);
    QLockFile other(file + QStringLiteral(".lock"));
    QVERIFY(other.tryLock());
    Harness h;
    StartLesson(h, folder.path());
    PupilSaves &saver = *h.window.Pupil();
    saver.SetPatience(std::chrono::milliseconds(patienceMs));
    h.PourKeys("12");
    if (how == QLatin1String("save"))
        QTest::keyClick(h.Handle(), Qt::Key_S, Qt::ControlModifier);
    else
        QVERIFY(!h.window.close());
    if (patienceMs < 1000) {
        QTRY_VERIFY_WITH_TIMEOUT(!saver.Waiting(), 30'000);
    } else {
        QVERIFY(saver.Waiting());
        QVERIFY(h.boxes.Boxes.empty());
        bool turned = false;
        QTimer::singleShot(0, &h.window, [&turned] { turned = true; });
        QTRY_VERIFY_WITH_TIMEOUT(turned, 30'000);
    }
    h.PourKeys("23");
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 3);
    QVERIFY(h.window.isVisible());
    QVERIFY(!QFile::exists(file));

    other.unlock();
    if (patienceMs < 1000)
        h.window.BtnXmlClick();
    QTRY_VERIFY_WITH_TIMEOUT(!saver.Waiting(), 30'000);
    QTRY_COMPARE_WITH_TIMEOUT(h.window.isVisible(), open, 30'000);
    QCOMPARE(Texts(h), boxes);
    QCOMPARE(SavedCaptions(file), saves);
}

// A file of that name that is no result file stays as it is; the pupil's
// work goes beside it, and the box says so.
void TestLessonSaves::aFileThatIsNoResultIsLeftAlone()
{
    QTemporaryDir folder;
    const QByteArray notes = "Иванова Маша: 5 баллов\n";
    {
        QFile file(folder.filePath(kFile));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(notes) == notes.size());
    }
    const QString spare = QString::fromUtf8("Иванова Маша (2).xml");
    Harness h;
    StartLesson(h, folder.path(), kKvass);
    h.PourKeys("12");
    h.window.BtnXmlClick();
    const QString told = Written(spare) + QString::fromUtf8("\rФайл \"Иванова Маша.xml\" оставлен как есть: он не "
                                                            "читается как запись ходов — это не XML");
    QCOMPARE(Texts(h).size(), 1);
    QVERIFY2(Texts(h)[0].startsWith(told), qPrintable(Texts(h)[0]));
    // A save no one asked for says nothing more: it was told.
    h.PourKeys("23 31 23 12 23");
    QCOMPARE(Texts(h).size(), 2);
    QCOMPARE(Texts(h)[1], kWin);
    QCOMPARE(SavedCaptions(folder.filePath(spare)), (QStringList{QStringLiteral("0,1"), QStringLiteral("0,1,2,3,4,5,6")}));
    QCOMPARE(FileBytes(folder.filePath(kFile)), notes);
}

void TestLessonSaves::theNameIsAskedFor_data()
{
    QTest::addColumn<QString>("leave"); // how the dialog is left
    QTest::addColumn<QString>("name"); // null: the pupil left without a name

    QTest::newRow("OK") << QStringLiteral("ok") << kPupil;
    QTest::newRow("Enter") << QStringLiteral("enter") << kPupil;
    QTest::newRow("Escape") << QStringLiteral("escape") << QString();
    QTest::newRow("close box") << QStringLiteral("close") << QString();
}

void TestLessonSaves::theNameIsAskedFor()
{
    QFETCH(QString, leave);
    QFETCH(QString, name);

    Harness h;
    Argv argv({QStringLiteral("--lesson")});
    const CommandLine line = ReadCommandLine(argv.Count(), argv.Values());
    std::optional<QString> asked;
    QList<bool> okOn;
    bool stayedOnBlankEnter = false;
    WithModal<PupilDialog>([&] { asked = PupilName(&h.window, line); },
                           [&](PupilDialog *d) {
                               auto *edit = d->findChild<QLineEdit *>(QStringLiteral("PupilName"));
                               auto *ok = d->findChild<QPushButton *>(QStringLiteral("BtnOk"));
                               okOn << ok->isEnabled();
                               edit->insert(QStringLiteral(" \t "));
                               okOn << ok->isEnabled();
                               QTest::keyClick(edit, Qt::Key_Return);
                               stayedOnBlankEnter = d->isVisible();
                               edit->insert(QString::fromUtf8("Иванова  Маша "));
                               okOn << ok->isEnabled();
                               if (leave == QLatin1String("ok"))
                                   QTest::mouseClick(ok, Qt::LeftButton);
                               else if (leave == QLatin1String("enter"))
                                   QTest::keyClick(edit, Qt::Key_Return);
                               else if (leave == QLatin1String("escape"))
                                   QTest::keyClick(edit, Qt::Key_Escape);
                               else
                                   d->close();
                           });
    QCOMPARE(okOn, (QList<bool>{false, false, true}));
    QVERIFY(stayedOnBlankEnter);
    QCOMPARE(asked.has_value(), !name.isNull());
    if (asked)
        QCOMPARE(*asked, name);
    // Without a lesson nobody is asked.
    Argv plain({});
    const std::optional<QString> none = PupilName(&h.window, ReadCommandLine(plain.Count(), plain.Values()));
    QVERIFY(none && none->isEmpty());
}

void TestLessonSaves::saveAsWritesWhatTheSaveWrites_data()
{
    QTest::addColumn<QByteArray>("there"); // the chosen file before; empty for none
    QTest::addColumn<bool>("replace"); // the answer to "replace it?"

    QTest::newRow("a new file") << QByteArray() << true;
    QTest::newRow("replaced") << QByteArrayLiteral("old") << true;
    QTest::newRow("kept") << QByteArrayLiteral("old") << false;
}

// "Записать как…" writes the very bytes "Запись результата" writes, to the
// file chosen; sosudnik.xml is then written as if it had never run.
void TestLessonSaves::saveAsWritesWhatTheSaveWrites()
{
    QFETCH(QByteArray, there);
    QFETCH(bool, replace);

    TemporaryWorkDir work;
    QVERIFY(work.IsValid());
    const QString copy = work.FilePath(QStringLiteral("копия.xml"));
    if (!there.isEmpty()) {
        QFile file(copy);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(there) == there.size());
    }
    Harness h;
    h.window.StartTaskCode(kMilk);
    h.PourKeys("12 23");
    QCOMPARE(h.Action("MnuSaveAs")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    QString suggested;
    QStringList filters;
    QString asked;
    WithModal<QFileDialog>([&] { QTest::keyClick(h.Handle(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier); },
                           [&](QFileDialog *d) {
                               suggested = QFileInfo(d->selectedFiles().value(0)).fileName();
                               filters = d->nameFilters();
                               d->selectFile(copy);
                               QObject context;
                               if (!there.isEmpty()) {
                                   modal_detail::Poll(
                                       &context, "the question",
                                       [] { return qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); },
                                       [&] {
                                           auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                                           asked = box->text();
                                           box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
                                       });
                               }
                               static_cast<QDialog *>(d)->accept(); // QFileDialog's own, which asks
                               if (d->isVisible())
                                   d->reject();
                           });
    QCOMPARE(suggested, QString::fromUtf8(kResultFileName));
    QCOMPARE(filters, QStringList{QString::fromUtf8("Записи ходов (*.xml)")});
    QCOMPARE(asked.isEmpty(), there.isEmpty());
    QCOMPARE(Texts(h), replace ? QStringList{Written(QStringLiteral("копия.xml"))} : QStringList{});
    if (!replace) {
        QCOMPARE(FileBytes(copy), there);
        return;
    }
    h.window.BtnXmlClick();
    const QByteArray saved = FileBytes(work.FilePath(QString::fromUtf8(kResultFileName)));
    QCOMPARE(SavedCaptions(work.FilePath(QString::fromUtf8(kResultFileName))), QStringList{QStringLiteral("0,1,2")});
    QCOMPARE(FileBytes(copy), saved);
}

// The same failures as the stated save, in the same words.
void TestLessonSaves::saveAsFailsAsTheSaveFails()
{
    MoveLog log;
    log.Append({"0", {"12", "0", "0"}});
    for (const QString &kind : {QStringLiteral("no folder"), QStringLiteral("a folder"), QStringLiteral("a FIFO")}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("нет/x.xml"));
        if (kind == QLatin1String("a folder"))
            QVERIFY(QDir().mkpath(path));
        if (kind == QLatin1String("a FIFO"))
            QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("нет")))
                    && ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
        const std::string native = QFile::encodeName(path).toStdString();
        std::string stated, copied;
        try {
            ResultWriter().Save(log, native);
        } catch (const SaveFailure &failure) {
            stated = failure.what();
        }
        Recorder boxes;
        try {
            ResultWriter writer;
            WriteResultCopy(writer, log, native, native, boxes);
        } catch (const SaveFailure &failure) {
            copied = failure.what();
        }
        QVERIFY2(!stated.empty(), qPrintable(kind));
        QCOMPARE(copied, stated);
        QVERIFY(boxes.Boxes.empty());
    }
}

QTEST_MAIN(TestLessonSaves)
#include "tst_lesson_saves.moc"
