// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The pupil's file in a lesson: a name made safe for a file name, saves that
// keep what the file held, files that cannot take a save left as they were,
// and two programs saving into one file at once. (A lock held while the
// window waits: tst_lesson_saves.)
#include "pupil_file.h"
#include "result_files.h"
#include "result_writer.h"
#include "save_failure.h"
#include "xml_runtime.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

using namespace std::chrono_literals;

namespace {

constexpr auto kPatience = 30s;

// A log of rows written as "caption v1 v2 v3".
MoveLog Log(const QStringList &rows)
{
    MoveLog log;
    for (const QString &row : rows) {
        const QStringList cells = row.split(QLatin1Char(' '));
        log.Append({cells[0].toStdString(), {cells[1].toStdString(), cells[2].toStdString(), cells[3].toStdString()}});
    }
    return log;
}

// One run of the game: its document and its pupil's file.
struct Run {
    Run(const QString &folder, const QString &name)
        : File(folder, PupilFileStem(name))
    {
    }
    PupilFile::Outcome Save(const QStringList &rows)
    {
        Writer.AddBlock(Log(rows), "x.xml");
        return File.Save(Writer, kPatience);
    }
    ResultWriter Writer;
    PupilFile File;
};

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The other process of the contention test: count saves of one row each,
// captioned tag0, tag1, ...
int WriteAsAnotherProgram(char *argv[])
{
    const XmlRuntime xml;
    Run run(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    const QString tag = QString::fromLocal8Bit(argv[4]);
    const int count = std::atoi(argv[5]);
    for (int i = 0; i < count; ++i)
        run.Save({tag + QString::number(i) + QStringLiteral(" 1 2 3")});
    return 0;
}

} // namespace

class TestPupilFile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { XmlRuntime::Start(); }
    void cleaning_data();
    void cleaning();
    void savesKeepWhatTheFileHeld();
    void aFileThatCannotTakeTheSaveIsLeftAlone_data();
    void aFileThatCannotTakeTheSaveIsLeftAlone();
    void everySpareNameTaken();
    void twoProgramsSaveIntoOneFile();

private:
    QTemporaryDir m_dir;
};

void TestPupilFile::cleaning_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("tidy"); // the name in the title
    QTest::addColumn<QString>("stem"); // the file's name without ".xml"

    const QString kMasha = QString::fromUtf8("Иванова Маша");
    QTest::newRow("as typed") << kMasha << kMasha << kMasha;
    QTest::newRow("blank space") << QString::fromUtf8("  Иванова \t\n\u00a0 Маша \u2028") << kMasha << kMasha;
    QTest::newRow("blank only") << QStringLiteral(" \t\r\n") << QString() << QStringLiteral("_");
    QTest::newRow("control characters") << QString::fromUtf8("Маша\x01\x1b[2J\x7f") << QString::fromUtf8("Маша__[2J_")
                                        << QString::fromUtf8("Маша__[2J_");
    QTest::newRow("NUL bytes") << QString::fromUtf8("Ма") + QChar(0) + QChar(0) + QString::fromUtf8("ша")
                               << QString::fromUtf8("Ма__ша") << QString::fromUtf8("Ма__ша");
    QTest::newRow("only dots") << QStringLiteral("...") << QStringLiteral("...") << QStringLiteral("___");
    QTest::newRow(".") << QStringLiteral(".") << QStringLiteral(".") << QStringLiteral("_");
    QTest::newRow("..") << QStringLiteral("..") << QStringLiteral("..") << QStringLiteral("__");
    QTest::newRow("hidden") << QStringLiteral(".Маша") << QStringLiteral(".Маша") << QStringLiteral("_Маша");
    QTest::newRow("a way out") << QStringLiteral("../../etc/x") << QStringLiteral("../../etc/x")
                               << QStringLiteral("___.._etc_x");
    QTest::newRow("absolute") << QStringLiteral("/etc/passwd") << QStringLiteral("/etc/passwd")
                              << QStringLiteral("_etc_passwd");
    QTest::newRow("Windows path and reserved")
        << QStringLiteral("C:\\a*b?\"c\"<d>|e") << QStringLiteral("C:\\a*b?\"c\"<d>|e") << QStringLiteral("C__a_b__c__d__e");
    QTest::newRow("right-to-left override") << QString::fromUtf8("Маша\u202egpj.exe")
                                            << QString::fromUtf8("Маша_gpj.exe") << QString::fromUtf8("Маша_gpj.exe");
    QTest::newRow("zero width") << QString::fromUtf8("Ма\u200bша\ufeff") << QString::fromUtf8("Ма_ша_")
                                << QString::fromUtf8("Ма_ша_");
    QTest::newRow("decomposed") << QString::fromUtf8("Сергеи\u0306") << QString::fromUtf8("Сергей")
                                << QString::fromUtf8("Сергей");
    QTest::newRow("10 000 characters") << QString(10'000, QLatin1Char('a')) << QString(100, QLatin1Char('a'))
                                       << QString(100, QLatin1Char('a'));
    const QString cyrillic = QString::fromUtf8("я").repeated(150);
    QTest::newRow("150 Cyrillic letters") << cyrillic << cyrillic.left(100) << cyrillic.left(100);
    const QString emoji = QString::fromUtf8("😀").repeated(60);
    QTest::newRow("four-byte characters") << emoji << emoji.left(100) << emoji.left(100); // 50 of them
    QTest::newRow("cut at a space") << QString(99, QLatin1Char('a')) + QStringLiteral(" b")
                                    << QString(99, QLatin1Char('a')) << QString(99, QLatin1Char('a'));
}

void TestPupilFile::cleaning()
{
    QFETCH(QString, typed);
    QFETCH(QString, tidy);
    QFETCH(QString, stem);

    const QString name = TidyPupilName(typed);
    QCOMPARE(name, tidy);
    QCOMPARE(TidyPupilName(typed), name);
    if (name.isEmpty())
        return;
    QCOMPARE(PupilFileStem(name), stem);
    QVERIFY(stem.toUcs4().size() <= kPupilNameCharacters);
    QVERIFY(stem.toUtf8().size() <= kPupilNameBytes);

    // Whatever the name, the file is a plain file right in the folder.
    const QString folder = m_dir.filePath(QStringLiteral("clean-") + QString::number(qHash(typed)));
    QVERIFY(QDir().mkpath(folder));
    Run run(folder, name);
    QCOMPARE(run.Save({QStringLiteral("0 12 0 0")}).Written, stem + QStringLiteral(".xml"));
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{stem + QStringLiteral(".xml")});
}

// A file written before keeps its saves byte for byte; one run's saves go
// in once each, however often the run saves.
void TestPupilFile::savesKeepWhatTheFileHeld()
{
    const QString folder = m_dir.filePath(QStringLiteral("keep"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/Маша.xml");

    // The run before wrote the file as "Запись результата" writes sosudnik.xml.
    ResultWriter earlier;
    earlier.Save(Log({QStringLiteral("0 12 0 0"), QStringLiteral("first 5 7 0")}), QFile::encodeName(path).toStdString());
    earlier.Save(Log({QStringLiteral("0 12 0 0")}), QFile::encodeName(path).toStdString());
    const QByteArray before = FileBytes(path);
    const QByteArray tail = "</ListStore>\n";
    QVERIFY(before.endsWith(tail));

    Run run(folder, QStringLiteral("Маша"));
    const PupilFile::Outcome first = run.Save({QStringLiteral("0 12 0 0"), QStringLiteral("a&b<\"c\" 5 7 0")});
    QCOMPARE(first.Written, QStringLiteral("Маша.xml"));
    QVERIFY(first.Skipped.isEmpty());
    QVERIFY(FileBytes(path).startsWith(before.chopped(tail.size())));
    run.Save({QStringLiteral("0 12 0 0"), QStringLiteral("a&b<\"c\" 5 7 0"), QStringLiteral("2 5 2 5")});
    QCOMPARE(SavedCaptions(path), (QStringList{QStringLiteral("0,first"), QStringLiteral("0"),
                                       QString::fromUtf8("0,a&b<\"c\""), QString::fromUtf8("0,a&b<\"c\",2")}));

    // Gone between two saves: the run's saves go in again, all of them.
    QVERIFY(QFile::remove(path));
    run.Save({QStringLiteral("0 12 0 0")});
    QCOMPARE(SavedCaptions(path), (QStringList{QString::fromUtf8("0,a&b<\"c\""), QString::fromUtf8("0,a&b<\"c\",2"),
                                       QStringLiteral("0")}));
    QVERIFY(!QFile::exists(path + QStringLiteral(".lock")));
}

void TestPupilFile::aFileThatCannotTakeTheSaveIsLeftAlone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("why");

    QTest::newRow("not XML") << QStringLiteral("text") << QString::fromUtf8("он не читается как запись ходов — это не XML");
    QTest::newRow("cut short") << QStringLiteral("cut") << QString::fromUtf8("он не читается как запись ходов — это не XML");
    QTest::newRow("another format") << QStringLiteral("other")
                                    << QString::fromUtf8("он не читается как запись ходов — корневой элемент «root»");
    QTest::newRow("a link") << QStringLiteral("link") << QString::fromUtf8("это ссылка на другой файл");
    QTest::newRow("a folder") << QStringLiteral("folder") << QString::fromUtf8("под этим именем папка");
    QTest::newRow("a FIFO") << QStringLiteral("fifo") << QString::fromUtf8("это не обычный файл");
}

void TestPupilFile::aFileThatCannotTakeTheSaveIsLeftAlone()
{
    QFETCH(QString, kind);
    QFETCH(QString, why);

    const QString folder = m_dir.filePath(QStringLiteral("alone-") + kind);
    const QString elsewhere = m_dir.filePath(QStringLiteral("elsewhere-") + kind + QStringLiteral(".xml"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/Маша.xml");
    if (kind == QLatin1String("text"))
        WriteBytes(path, "12 0 0\n5 7 0\n");
    else if (kind == QLatin1String("cut"))
        WriteBytes(path, "<?xml version=\"1.0\"?><ListStore><Columns/><Data><Record Column0=\"0\"");
    else if (kind == QLatin1String("other"))
        WriteBytes(path, "<root/>");
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    if (kind == QLatin1String("link")) {
        ResultWriter().Save(Log({QStringLiteral("0 1 2 3")}), QFile::encodeName(elsewhere).toStdString());
        QVERIFY(QFile::link(elsewhere, path));
    }
    // A FIFO is never opened here: that would wait for a writer.
    const auto content = [&] {
        struct stat status { };
        ::lstat(QFile::encodeName(path).constData(), &status);
        if (!S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode))
            return QByteArray::number(status.st_mode & S_IFMT);
        return kind == QLatin1String("link") ? FileBytes(elsewhere) : FileBytes(path);
    };
    const QByteArray before = content();

    for (const char *run : {"first run", "second run"}) {
        Run lesson(folder, QStringLiteral("Маша"));
        const PupilFile::Outcome outcome = lesson.Save({QStringLiteral("0 12 0 0")});
        QCOMPARE(outcome.Written, QStringLiteral("Маша (2).xml"));
        QCOMPARE(outcome.Skipped, QStringLiteral("Маша.xml"));
        QVERIFY2(outcome.Why.startsWith(why), qPrintable(QLatin1String(run) + QStringLiteral(": ") + outcome.Why));
    }
    QCOMPARE(SavedCaptions(folder + QStringLiteral("/Маша (2).xml")), (QStringList{QStringLiteral("0"), QStringLiteral("0")}));
    QCOMPARE(content(), before);
    QCOMPARE(QFileInfo(path).isSymLink(), kind == QLatin1String("link"));
}

void TestPupilFile::everySpareNameTaken()
{
    const QString folder = m_dir.filePath(QStringLiteral("taken"));
    Run run(folder, QStringLiteral("Маша"));
    for (int copy = 1; copy <= PupilFile::kLastCopy; ++copy)
        QVERIFY(QDir().mkpath(folder + QLatin1Char('/') + run.File.FileName(copy)));
    try {
        run.Save({QStringLiteral("0 12 0 0")});
        QFAIL("saved");
    } catch (const SaveFailure &failure) {
        QCOMPARE(failure.Cause(), kCauseNoFreeName);
        QCOMPARE(QString::fromUtf8(failure.what()),
                 QString::fromUtf8("Файл \"Маша.xml\" не записан: ни его, ни запасные имена «(2)»…«(99)» "
                                   "дополнить нельзя"));
    }
}

// Two games of pupils with the same name save forty times each into one
// file: without the lock, a save that read the file before the other wrote
// it would drop the other's save.
void TestPupilFile::twoProgramsSaveIntoOneFile()
{
    const QString folder = m_dir.filePath(QStringLiteral("two"));
    QVERIFY(QDir().mkpath(folder));
    constexpr int kSaves = 40;
    QProcess first, second;
    for (auto [process, tag] : {std::pair{&first, "a"}, std::pair{&second, "b"}}) {
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--write"), folder, QString::fromUtf8("Маша"), QLatin1String(tag),
                        QString::number(kSaves)});
    }
    for (QProcess *process : {&first, &second}) {
        QVERIFY(process->waitForFinished(120'000));
        QCOMPARE(process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(process->exitCode(), 0);
    }
    const QStringList saves = SavedCaptions(folder + QStringLiteral("/Маша.xml"));
    QCOMPARE(saves.size(), 2 * kSaves);
    for (const char *tag : {"a", "b"}) {
        QStringList own;
        for (const QString &save : saves) {
            if (save.startsWith(QLatin1String(tag)))
                own << save;
        }
        QStringList expected;
        for (int i = 0; i < kSaves; ++i)
            expected << QLatin1String(tag) + QString::number(i);
        QCOMPARE(own, expected);
    }
}

int main(int argc, char *argv[])
{
    if (argc == 6 && std::strcmp(argv[1], "--write") == 0)
        return WriteAsAnotherProgram(argv);
    QCoreApplication app(argc, argv);
    TestPupilFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_pupil_file.moc"
