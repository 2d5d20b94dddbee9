// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The game's command line: which arguments are answered without a window and
// what they write, a task code among odd arguments, what QApplication gets,
// and whether there is a display to go to.
#include "argv.h"
#include "console_run.h"
#include "window_harness.h"

#include "command_line.h"
#include "console_commands.h"
#include "display_start.h"
#include "task_book.h"
#include "task_code.h"

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(TfrmMain::GameMode)

namespace {

// Sets the display variables for one case and puts them back after it.
class DisplayEnvironment {
public:
    DisplayEnvironment(const QByteArray &platform, const QByteArray &display, const QByteArray &wayland)
    {
        Set("QT_QPA_PLATFORM", platform);
        Set("DISPLAY", display);
        Set("WAYLAND_DISPLAY", wayland);
    }
    ~DisplayEnvironment()
    {
        for (const Saved &s : m_saved) {
            if (s.Was)
                qputenv(s.Name, s.Value);
            else
                qunsetenv(s.Name);
        }
    }
    DisplayEnvironment(const DisplayEnvironment &) = delete;
    DisplayEnvironment &operator=(const DisplayEnvironment &) = delete;

private:
    struct Saved {
        const char *Name;
        bool Was;
        QByteArray Value;
    };

    void Set(const char *name, const QByteArray &value)
    {
        m_saved.push_back({name, qEnvironmentVariableIsSet(name), qgetenv(name)});
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

    std::vector<Saved> m_saved;
};

QString Repeated(char c, int n)
{
    return QString(n, QLatin1Char(c));
}

// A result file as the game writes it: windows-1251, one save of the milk
// task's rows.
QByteArray MilkFile(const QList<QByteArray> &rows)
{
    QByteArray text = "<?xml version=\"1.0\" encoding=\"windows-1251\" standalone=\"yes\"?>\r\n<ListStore><Columns>"
                      "<ListColumn Name=\"Column0\" Caption=\"\xD5\xEE\xE4\"/></Columns><Data>";
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QList<QByteArray> levels = rows[r].split(' ');
        text += "<Record Column0=\"" + QByteArray::number(r) + "\" Column1=\"" + levels[0] + "\" Column2=\"" + levels[1]
            + "\" Column3=\"" + levels[2] + "\"/>";
    }
    return text + "</Data></ListStore>\r\n";
}

const QList<QByteArray> kMilkSolution = {"12 0 0", "5 7 0", "5 2 5", "10 2 0", "10 0 2", "3 7 2",
                                         "3 4 5",  "8 4 0", "8 0 4", "1 7 4",  "1 6 5"};

void WriteIn(const TemporaryWorkDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.FilePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(name));
}

QByteArray KvassFile()
{
    return MilkFile({"8 0 0", "3 5 0", "3 2 3", "6 2 0", "6 0 2", "1 5 2", "1 4 3"});
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void runWithoutWindow_data();
    void runWithoutWindow();
    void lessonFolderNotWritable();
    void checkRecords_data();
    void checkRecords();
    void help();
    void bookAndGenerate();
    void writeFailure_data();
    void writeFailure();
    void readerGone_data();
    void readerGone();
    void spreadsheet();
    void spreadsheetNotWritten_data();
    void spreadsheetNotWritten();
    void longArgumentList();
    void qtArguments_data();
    void qtArguments();
    void startFromArguments_data();
    void startFromArguments();
    void displayAvailable_data();
    void displayAvailable();
    void platformFailure_data();
    void platformFailure();
};

void TestCommandLine::runWithoutWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status"); // -1: the game itself starts
    QTest::addColumn<QString>("err"); // stderr's first line; empty when nothing is written there

    const QString kvass = QStringLiteral("8,5,3/8,0,0/4");
    const QString milk = QStringLiteral("12,7,5/12,0,0/6");
    const QString terminal = QStringLiteral("\x1b]0;x\a\x1b[2J"); // retitles and clears a terminal
    const QString none;
    QTest::newRow("--solve") << QStringList{QStringLiteral("--solve"), kvass} << kExitSolved << none;
    QTest::newRow("--solve=") << QStringList{QStringLiteral("--solve=") + kvass} << kExitSolved << none;
    QTest::newRow("-solve") << QStringList{QStringLiteral("-solve"), kvass} << kExitSolved << none;
    QTest::newRow("-solve=") << QStringList{QStringLiteral("-solve=") + kvass} << kExitSolved << none;
    QTest::newRow("unsolvable") << QStringList{QStringLiteral("--solve"), QStringLiteral("999,4,6/6,0,0/3")}
                                << kExitNoSolution << none;
    QTest::newRow("no task") << QStringList{QStringLiteral("--solve")} << kExitBadTask
                             << QString::fromUtf8("sosudnik: после --solve нужна задача");
    QTest::newRow("with a Qt option")
        << QStringList{QStringLiteral("--solve"), kvass, QStringLiteral("-platform"), QStringLiteral("offscreen")}
        << kExitBadTask
        << QString::fromUtf8("sosudnik: параметр «-platform» нужен только окну, а --solve работает без окна");
    QTest::newRow("with -display") << QStringList{QStringLiteral("--display"), QStringLiteral(":0"),
                                                  QStringLiteral("--solve"), kvass}
                                   << kExitBadTask
                                   << QString::fromUtf8(
                                          "sosudnik: параметр «--display» нужен только окну, а --solve работает "
                                          "без окна");
    QTest::newRow("twice") << QStringList{QStringLiteral("--solve"), milk, QStringLiteral("--solve"), kvass}
                           << kExitBadTask << QString::fromUtf8("sosudnik: параметр --solve указан больше одного раза");
    QTest::newRow("twice, spelt apart")
        << QStringList{QStringLiteral("-solve=") + milk, QStringLiteral("--solve"), kvass} << kExitBadTask
        << QString::fromUtf8("sosudnik: параметр --solve указан больше одного раза");
    QTest::newRow("an extra argument") << QStringList{QStringLiteral("--solve"), kvass, QStringLiteral("more")}
                                       << kExitBadTask << QString::fromUtf8("sosudnik: аргумент «more» лишний");
    QTest::newRow("extra arguments") << QStringList{QStringLiteral("a"), QStringLiteral("--solve"), kvass,
                                                    QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}
                                     << kExitBadTask
                                     << QString::fromUtf8("sosudnik: аргументы «a», «b», «c» и еще 1 лишние");
    QTest::newRow("an unknown option") << QStringList{QStringLiteral("--solve"), kvass, QStringLiteral("--foo=3")}
                                       << kExitBadTask << QString::fromUtf8("sosudnik: параметр «--foo» неизвестен");
    QTest::newRow("a Qt option with =") << QStringList{QStringLiteral("--solve"), kvass,
                                                       QStringLiteral("--platform=offscreen")}
                                        << kExitBadTask
                                        << QString::fromUtf8("sosudnik: после -platform значение пишется через "
                                                             "пробел");
    QTest::newRow("control bytes, argument") << QStringList{QStringLiteral("--solve"), kvass, terminal}
                                             << kExitBadTask
                                             << QString::fromUtf8("sosudnik: аргумент «\\x1B]0;x\\x07\\x1B[2J» "
                                                                  "лишний");
    QTest::newRow("control bytes, option") << QStringList{QStringLiteral("--solve"), kvass, QLatin1Char('-') + terminal}
                                           << kExitBadTask
                                           << QString::fromUtf8("sosudnik: параметр «-\\x1B]0;x\\x07\\x1B[2J» "
                                                                "неизвестен");
    QTest::newRow("control bytes, code")
        << QStringList{QStringLiteral("--solve"), terminal} << kExitBadTask
        << QString::fromUtf8("sosudnik: код задачи «\\x1B]0;x\\x07\\x1B[2J» не разобрать: нужен вид "
                             "C1,C2,C3/L1,L2,L3/T, например 12,7,5/12,0,0/6 — задача о молоке");
    QTest::newRow("level above capacity")
        << QStringList{QStringLiteral("--solve"), QStringLiteral("12,7,5/12,8,0/6")} << kExitBadTask
        << QString::fromUtf8("sosudnik: уровень не может превосходить объем сосуда: у сосуда 2 объем 7, а уровень 8 "
                             "— больше объема");
    QTest::newRow("--book") << QStringList{QStringLiteral("--book")} << 0 << none;
    QTest::newRow("--generate") << QStringList{QStringLiteral("--generate"), QStringLiteral("3"),
                                               QStringLiteral("--seed"), QStringLiteral("7")}
                                << 0 << none;
    QTest::newRow("--generate=, no seed") << QStringList{QStringLiteral("--generate=5")} << 0 << none;
    QTest::newRow("--generate, no level") << QStringList{QStringLiteral("--generate")} << kExitBadTask
                                          << QString::fromUtf8("sosudnik: после --generate нужен уровень");
    for (const char *level : {"0", "6", "x", "-1", "", "99999999999999999999"})
        QTest::addRow("--generate %s", level)
            << QStringList{QStringLiteral("--generate"), QString::fromLatin1(level)} << kExitBadTask
            << QString::fromUtf8("sosudnik: уровень «%1» не годится: нужно число от 1 до 5 включительно")
                   .arg(QString::fromLatin1(level));
    for (const char *seed : {"4294967296", "-1", "1e3", " 7", ""})
        QTest::addRow("--seed %s", seed)
            << QStringList{QStringLiteral("--generate"), QStringLiteral("2"), QStringLiteral("--seed"),
                           QString::fromLatin1(seed)}
            << kExitBadTask
            << QString::fromUtf8("sosudnik: число «%1» для --seed не годится: нужно целое от 0 до 4294967295 "
                                 "включительно")
                   .arg(QString::fromLatin1(seed));
    QTest::newRow("--seed alone") << QStringList{QStringLiteral("--seed"), QStringLiteral("7")} << kExitBadTask
                                  << QString::fromUtf8("sosudnik: параметр --seed работает только с --generate или --worksheet");
    QTest::newRow("--seed with --book")
        << QStringList{QStringLiteral("--book"), QStringLiteral("--seed"), QStringLiteral("7")} << kExitBadTask
        << QString::fromUtf8("sosudnik: параметр --seed работает только с --generate или --worksheet");
    QTest::newRow("--seed twice") << QStringList{QStringLiteral("--generate"), QStringLiteral("1"),
                                                 QStringLiteral("--seed"), QStringLiteral("7"),
                                                 QStringLiteral("--seed"), QStringLiteral("8")}
                                  << kExitBadTask
                                  << QString::fromUtf8("sosudnik: параметр --seed указан больше одного раза");
    QTest::newRow("--book and --solve") << QStringList{QStringLiteral("--book"), QStringLiteral("--solve"), kvass}
                                        << kExitBadTask
                                        << QString::fromUtf8("sosudnik: параметры --solve и --book вместе не "
                                                             "работают");
    QTest::newRow("--book and --generate")
        << QStringList{QStringLiteral("--generate"), QStringLiteral("1"), QStringLiteral("--book")} << kExitBadTask
        << QString::fromUtf8("sosudnik: параметры --book и --generate вместе не работают");
    QTest::newRow("--book and a code") << QStringList{QStringLiteral("--book"), kvass} << kExitBadTask
                                       << QString::fromUtf8("sosudnik: аргумент «8,5,3/8,0,0/4» лишний");
    QTest::newRow("--book for the window")
        << QStringList{QStringLiteral("--book"), QStringLiteral("-platform"), QStringLiteral("offscreen")}
        << kExitBadTask
        << QString::fromUtf8("sosudnik: параметр «-platform» нужен только окну, а --book работает без окна");
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << 0 << none;
    QTest::newRow("--help whatever else") << QStringList{QStringLiteral("--bogus"), QStringLiteral("--solve"), kvass,
                                                         QStringLiteral("--help=1"), kvass, QStringLiteral("-solve")}
                                          << 0 << none;
    QTest::newRow("-h") << QStringList{QStringLiteral("-h")} << 0 << none;
    QTest::newRow("a task code") << QStringList{kvass} << -1 << none;
    QTest::newRow("Qt options and a code")
        << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"), kvass} << -1 << none;
    QTest::newRow("a code after --") << QStringList{QStringLiteral("--"), QStringLiteral("--solve"), kvass} << -1
                                     << none;
    QTest::newRow("a bad option for the window") << QStringList{QStringLiteral("--bogus")} << -1 << none;

    // A lesson's pupil and folder: refused before any window, so a launcher fails at once.
    const QString lesson = QStringLiteral("--lesson");
    const QString pupil = QStringLiteral("--pupil");
    const QString folder = QStringLiteral("--folder");
    const QString tmp = QDir::tempPath();
    QTest::newRow("a lesson") << QStringList{lesson, pupil, QString::fromUtf8("Маша"), folder, tmp, kvass} << -1
                              << none;
    QTest::newRow("a lesson, a name of control characters")
        << QStringList{lesson, pupil, QStringLiteral("\x01\x02"), folder, tmp} << -1 << none;
    QTest::newRow("--pupil alone") << QStringList{pupil, QString::fromUtf8("Маша")} << kExitBadTask
                                   << QString::fromUtf8("sosudnik: параметр --pupil работает только с --lesson");
    QTest::newRow("--folder alone") << QStringList{folder, tmp, kvass} << kExitBadTask
                                    << QString::fromUtf8("sosudnik: параметр --folder работает только с --lesson");
    QTest::newRow("a lesson with --solve")
        << QStringList{QStringLiteral("--solve"), kvass, lesson, folder, tmp} << kExitBadTask
        << QString::fromUtf8("sosudnik: параметр --lesson нужен только окну, а --solve работает без окна");
    for (const char *blank : {"", " ", "\t\n"})
        QTest::addRow("a blank name %d", static_cast<int>(std::strlen(blank)))
            << QStringList{lesson, pupil, QString::fromLatin1(blank)} << kExitBadTask
            << QString::fromUtf8("sosudnik: после --pupil нужны фамилия и имя");
    QTest::newRow("no name") << QStringList{lesson, pupil} << kExitBadTask
                             << QString::fromUtf8("sosudnik: после --pupil нужны фамилия и имя");
    QTest::newRow("no folder named") << QStringList{lesson, folder} << kExitBadTask
                                     << QString::fromUtf8("sosudnik: после --folder нужна папка");
    QTest::newRow("no such folder") << QStringList{lesson, folder, QStringLiteral("/nonexistent/7\x1b[2J")}
                                    << kExitBadTask
                                    << QString::fromUtf8("sosudnik: папки «/nonexistent/7\\x1B[2J» нет");
    QTest::newRow("a file for a folder") << QStringList{lesson, folder, QStringLiteral("/dev/null")} << kExitBadTask
                                         << QString::fromUtf8("sosudnik: путь «/dev/null» для --folder — не папка");
}

void TestCommandLine::runWithoutWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, err);

    const Ran ran = RunCommand(arguments);
    QCOMPARE(ran.Status, status);
    QCOMPARE(ran.Err.section(QLatin1Char('\n'), 0, 0), err);
    CheckMessages(ran.Err);
    if (status == kExitBadTask)
        QVERIFY2(ran.Out.isEmpty(), qPrintable(ran.Out));
    if (status == kExitSolved)
        QVERIFY(!ran.Out.isEmpty());
}

void TestCommandLine::lessonFolderNotWritable()
{
    if (::geteuid() == 0)
        QSKIP("root writes into read-only folders");
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const Ran ran = RunCommand({QStringLiteral("--lesson"), QStringLiteral("--folder"), dir.path()});
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(ran.Status, kExitBadTask);
    QCOMPARE(ran.Err.section(QLatin1Char('\n'), 0, 0),
             QString::fromUtf8("sosudnik: в папку «%1» нельзя записывать: нет прав").arg(dir.path()));
}

// The help fits a terminal of 80 columns, counted in characters, and names
// the rule for levels and every exit status.
void TestCommandLine::help()
{
    const Ran ran = RunCommand({QStringLiteral("--help")});
    QCOMPARE(ran.Status, 0);
    QVERIFY(ran.Err.isEmpty());
    const QStringList lines = ran.Out.split(QLatin1Char('\n'));
    for (const QString &line : lines)
        QVERIFY2(line.size() <= 80, qPrintable(QStringLiteral("%1 characters: %2").arg(line.size()).arg(line)));
    for (int status : {kExitSolved, kExitNoSolution, kExitBadTask, kExitNoDisplay, kExitOutputFailed})
        QVERIFY2(lines.indexOf(QRegularExpression(QStringLiteral("  %1  \\S.*").arg(status))) >= 0,
                 qPrintable(QString::number(status)));
    const QString text = lines.join(QLatin1Char(' '));
    QVERIFY(text.contains(QString::fromUtf8("уровень не больше объема")));
    QVERIFY(text.contains(QString::fromUtf8("нет графического дисплея")));
    QVERIFY(!text.contains(QChar(0x0451)));
}

void TestCommandLine::checkRecords_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err"); // stderr's first line; empty when nothing is written there

    const QString milk = QStringLiteral("12,7,5/12,0,0/6");
    const QString check = QStringLiteral("--check");
    const QString solved = QString::fromUtf8("solved.xml\tрешено\t10\t10\tНаименьшее число переливаний.\n");
    const QString unsolved = QString::fromUtf8("unsolved.xml\tне решено\t1\t10\tЦель не достигнута за 1 "
                                               "переливание.\n");
    const QString header = QString::fromUtf8("файл,итог,ходы,наименьшее,подробности\r\n");
    const QString none;
    QTest::newRow("solved") << QStringList{check, milk, QStringLiteral("solved.xml")} << kExitSolved << solved
                            << none;
    QTest::newRow("--check=") << QStringList{QStringLiteral("--check=") + milk, QStringLiteral("solved.xml")}
                              << kExitSolved << solved << none;
    QTest::newRow("one of two not solved")
        << QStringList{check, milk, QStringLiteral("solved.xml"), QStringLiteral("unsolved.xml")} << kExitNoSolution
        << solved + unsolved << none;
    QTest::newRow("no such file") << QStringList{check, milk, QStringLiteral("missing.xml")} << kExitNoSolution
                                  << QString::fromUtf8("missing.xml\tне читается\t\t10\tФайла нет.\n") << none;
    QTest::newRow("a name with a tab, a line break and a backslash")
        << QStringList{check, milk, QString::fromUtf8("ученик\t1\n\\.xml")} << kExitSolved
        << QString::fromUtf8("ученик\\t1\\n\\\\.xml\tрешено\t10\t10\tНаименьшее число переливаний.\n") << none;
    QTest::newRow("a name like an option, after --")
        << QStringList{check, milk, QStringLiteral("--"), QStringLiteral("-odd.xml")} << kExitNoSolution
        << QString::fromUtf8("-odd.xml\tне читается\t\t10\tФайла нет.\n") << none;
    QTest::newRow("an unsolvable task") << QStringList{check, QStringLiteral("999,4,6/6,0,0/3"),
                                                       QStringLiteral("solved.xml")}
                                        << kExitNoSolution
                                        << QString::fromUtf8("solved.xml\tдругая задача\t\t\tСохранения в файле "
                                                             "начинаются с «12 0 0», а не с уровней задачи 6 0 0.\n")
                                        << none;
    QTest::newRow("--csv first") << QStringList{QStringLiteral("--csv"), check, milk, QStringLiteral("solved.xml"),
                                                QStringLiteral("a,\"b\".xml")}
                                 << kExitSolved
                                 << header
            + QString::fromUtf8("solved.xml,решено,10,10,Наименьшее число переливаний.\r\n"
                                "\"a,\"\"b\"\".xml\",решено,10,10,Наименьшее число переливаний.\r\n")
                                 << none;
    QTest::newRow("--csv last") << QStringList{check, milk, QStringLiteral("unsolved.xml"), QStringLiteral("--csv")}
                                << kExitNoSolution
                                << header
            + QString::fromUtf8("unsolved.xml,не решено,1,10,Цель не достигнута за 1 переливание.\r\n")
                                << none;
    QTest::newRow("no file") << QStringList{check, milk} << kExitBadTask << none
                             << QString::fromUtf8("sosudnik: после задачи нужен хотя бы один файл результата");
    QTest::newRow("no task") << QStringList{check} << kExitBadTask << none
                             << QString::fromUtf8("sosudnik: после --check нужна задача");
    QTest::newRow("malformed task") << QStringList{check, QStringLiteral("12,7,5"), QStringLiteral("solved.xml")}
                                    << kExitBadTask << none
                                    << QString::fromUtf8("sosudnik: код задачи «12,7,5» не разобрать: нужен вид "
                                                         "C1,C2,C3/L1,L2,L3/T, например 12,7,5/12,0,0/6 — задача о "
                                                         "молоке");
    QTest::newRow("an unknown option") << QStringList{check, milk, QStringLiteral("solved.xml"),
                                                      QStringLiteral("--tsv")}
                                       << kExitBadTask << none
                                       << QString::fromUtf8("sosudnik: параметр «--tsv» неизвестен");
    QTest::newRow("a Qt option") << QStringList{check, milk, QStringLiteral("solved.xml"), QStringLiteral("-style"),
                                                QStringLiteral("fusion")}
                                 << kExitBadTask << none
                                 << QString::fromUtf8("sosudnik: параметр «-style» нужен только окну, а --check "
                                                      "работает без окна");
    QTest::newRow("--csv alone") << QStringList{QStringLiteral("--csv")} << kExitBadTask << none
                                 << QString::fromUtf8("sosudnik: параметр --csv работает только с --check");
    QTest::newRow("--csv and a task code") << QStringList{QStringLiteral("--csv"), milk} << kExitBadTask << none
                                           << QString::fromUtf8("sosudnik: параметр --csv работает только с --check");
    QTest::newRow("--csv with --solve") << QStringList{QStringLiteral("--solve"), milk, QStringLiteral("--csv")}
                                        << kExitBadTask << none
                                        << QString::fromUtf8("sosudnik: параметр --csv работает только с --check");
    QTest::newRow("--check with --solve")
        << QStringList{check, milk, QStringLiteral("--solve"), milk} << kExitBadTask << none
        << QString::fromUtf8("sosudnik: параметры --solve и --check вместе не работают");
    QTest::newRow("--check twice") << QStringList{check, milk, QStringLiteral("solved.xml"), check, milk}
                                   << kExitBadTask << none
                                   << QString::fromUtf8("sosudnik: параметр --check указан больше одного раза");

    // A folder is its *.xml files, as a person sorts them; not its hidden
    // files, other files or subfolders.
    const QString classLines = QString::fromUtf8(
        "%1Б.XML\tрешено\t10\t10\tНаименьшее число переливаний.\n"
        "%1ученик 2.xml\tне решено\t1\t10\tЦель не достигнута за 1 переливание.\n"
        "%1ученик 10.xml\tрешено\t10\t10\tНаименьшее число переливаний.\n");
    QTest::newRow("a folder") << QStringList{check, milk, QStringLiteral("--"), QStringLiteral("class")}
                              << kExitNoSolution << classLines.arg(QStringLiteral("class/")) << none;
    QTest::newRow("a folder with its slash") << QStringList{check, milk, QStringLiteral("class/")} << kExitNoSolution
                                             << classLines.arg(QStringLiteral("class/")) << none;
    QTest::newRow("a folder without result files")
        << QStringList{check, milk, QStringLiteral("class/sub/empty")} << kExitNoSolution
        << QString::fromUtf8("class/sub/empty\tне читается\t\t10\tВ папке нет файлов *.xml.\n") << none;
    const QString variants = milk + QStringLiteral("+8,5,3/8,0,0/4");
    QTest::newRow("variants") << QStringList{check, variants, QStringLiteral("solved.xml"), QStringLiteral("kvass.xml"),
                                             QStringLiteral("missing.xml")}
                              << kExitNoSolution
                              << QString::fromUtf8("solved.xml\t12,7,5/12,0,0/6\tрешено\t10\t10\tНаименьшее число "
                                                   "переливаний.\n"
                                                   "kvass.xml\t8,5,3/8,0,0/4\tрешено\t6\t6\tНаименьшее число "
                                                   "переливаний.\n"
                                                   "missing.xml\t\tне читается\t\t\tФайла нет.\n")
                              << none;
    QTest::newRow("variants as CSV")
        << QStringList{check, variants, QStringLiteral("kvass.xml"), QStringLiteral("--csv")} << kExitSolved
        << QString::fromUtf8("файл,задача,итог,ходы,наименьшее,подробности\r\n"
                             "kvass.xml,\"8,5,3/8,0,0/4\",решено,6,6,Наименьшее число переливаний.\r\n")
        << none;
    QTest::newRow("variants, one malformed")
        << QStringList{check, milk + QStringLiteral("+8,5,3"), QStringLiteral("solved.xml")} << kExitBadTask << none
        << QString::fromUtf8("sosudnik: код задачи номер 2 в списке через «+», «8,5,3», не годится. Код задачи "
                             "«8,5,3» не разобрать: нужен вид C1,C2,C3/L1,L2,L3/T, например 12,7,5/12,0,0/6 — задача "
                             "о молоке");
    QTest::newRow("--xlsx without --check") << QStringList{QStringLiteral("--xlsx"), QStringLiteral("x.xlsx")}
                                            << kExitBadTask << none
                                            << QString::fromUtf8("sosudnik: параметр --xlsx работает только с --check");
    QTest::newRow("--xlsx without a name") << QStringList{check, milk, QStringLiteral("--xlsx="),
                                                          QStringLiteral("solved.xml")}
                                           << kExitBadTask << none
                                           << QString::fromUtf8("sosudnik: после --xlsx нужно имя файла .xlsx");
}

// The checker as main runs it, on files in a folder of their own; nothing
// is written there.
void TestCommandLine::checkRecords()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);

    const TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    const auto write = [&](const QString &name, const QByteArray &bytes) { WriteIn(dir, name, bytes); };
    const QByteArray solved = MilkFile(kMilkSolution);
    write(QStringLiteral("solved.xml"), solved);
    write(QStringLiteral("unsolved.xml"), MilkFile({"12 0 0", "5 7 0"}));
    write(QString::fromUtf8("ученик\t1\n\\.xml"), solved);
    write(QStringLiteral("a,\"b\".xml"), solved);
    write(QStringLiteral("kvass.xml"), KvassFile());
    QVERIFY(QDir().mkpath(QStringLiteral("class/sub/empty")));
    write(QString::fromUtf8("class/ученик 10.xml"), solved);
    write(QString::fromUtf8("class/ученик 2.xml"), MilkFile({"12 0 0", "5 7 0"}));
    write(QString::fromUtf8("class/Б.XML"), solved);
    write(QStringLiteral("class/.hidden.xml"), solved);
    write(QStringLiteral("class/notes.txt"), solved);
    write(QStringLiteral("class/sub/x.xml"), solved);
    const QStringList before = QDir::current().entryList(QDir::Files, QDir::Name);

    const Ran ran = RunCommand(arguments);
    QCOMPARE(ran.Status, status);
    QCOMPARE(ran.Out, out);
    QCOMPARE(ran.Err.section(QLatin1Char('\n'), 0, 0), err);
    CheckMessages(ran.Err);
    QCOMPARE(QDir::current().entryList(QDir::Files, QDir::Name), before);
}

// The book one task a line; a generated task the same for the same seed,
// and without one the seed it chose, to ask for the task again.
void TestCommandLine::bookAndGenerate()
{
    const Ran book = RunCommand({QStringLiteral("--book")});
    QCOMPARE(book.Status, 0);
    const QStringList lines = book.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), static_cast<qsizetype>(TaskBook().size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(QLatin1Char('\t'));
        const BookTask &task = TaskBook()[static_cast<std::size_t>(i)];
        QCOMPARE(fields.size(), 5);
        QCOMPARE(fields[0], QString::number(i + 1));
        QCOMPARE(fields[1], QString::number(LevelOf(task.Fewest)));
        QCOMPARE(fields[2], QString::fromStdString(TaskCode(task.Task)));
        QCOMPARE(fields[3], QString::number(task.Fewest));
        QCOMPARE(fields[4], QString::fromUtf8(task.Title));
    }
    QVERIFY(lines.contains(QString::fromUtf8("29\t3\t12,7,5/12,0,0/6\t10\tЗадача о молоке")));

    const QStringList pinned{QStringLiteral("--generate"), QStringLiteral("3"), QStringLiteral("--seed"),
                             QStringLiteral("7")};
    QCOMPARE(RunCommand(pinned).Out, QStringLiteral("5,4,18/0,0,18/11\t7\n"));
    QCOMPARE(RunCommand({QStringLiteral("-generate=3"), QStringLiteral("-seed=007")}).Out,
             QStringLiteral("5,4,18/0,0,18/11\t7\n"));

    const Ran random = RunCommand({QStringLiteral("--generate"), QStringLiteral("4")});
    QCOMPARE(random.Status, 0);
    const QStringList two = random.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(two.size(), 2);
    QVERIFY2(two[1].startsWith(QLatin1String("seed ")), qPrintable(two[1]));
    const QString seed = two[1].mid(5);
    const Ran again = RunCommand({QStringLiteral("--generate"), QStringLiteral("4"), QStringLiteral("--seed"), seed});
    QCOMPARE(again.Out, two[0] + QLatin1Char('\n'));
    const int fewest = two[0].section(QLatin1Char('\t'), 1).toInt();
    QCOMPARE(LevelOf(fewest), 4);
}

void TestCommandLine::writeFailure_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("--help") << QStringList{QStringLiteral("--help")};
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")};
    QTest::newRow("--solve") << QStringList{QStringLiteral("--solve"), QStringLiteral("12,7,5/12,0,0/6")};
    QTest::newRow("--solve, no solution") << QStringList{QStringLiteral("--solve"), QStringLiteral("999,4,6/6,0,0/3")};
    QTest::newRow("--check") << QStringList{QStringLiteral("--check"), QStringLiteral("12,7,5/12,0,0/6"),
                                            QStringLiteral("/nonexistent/sosudnik.xml")};
    QTest::newRow("--book") << QStringList{QStringLiteral("--book")};
    QTest::newRow("--generate") << QStringList{QStringLiteral("--generate"), QStringLiteral("1")};
}

// A disk that is full is not a success: the cause on stderr, status 4.
void TestCommandLine::writeFailure()
{
    QFETCH(QStringList, arguments);

    const File full(std::fopen("/dev/full", "w"), std::fclose);
    if (!full)
        QSKIP("no /dev/full here");
    const Ran ran = RunCommand(arguments, full.get());
    QCOMPARE(ran.Status, kExitOutputFailed);
    QCOMPARE(ran.Err, QString::fromUtf8("sosudnik: стандартный вывод не записан: на устройстве не осталось места\n"));
}

void TestCommandLine::readerGone_data()
{
    writeFailure_data();
}

// A reader that has gone (| head) is not a success either, and does not
// end the program by SIGPIPE.
void TestCommandLine::readerGone()
{
    QFETCH(QStringList, arguments);

    int ends[2];
    QCOMPARE(::pipe(ends), 0);
    ::close(ends[0]);
    const File pipe(::fdopen(ends[1], "w"), std::fclose);
    QVERIFY(pipe);
    const Ran ran = RunCommand(arguments, pipe.get());
    QCOMPARE(ran.Status, kExitOutputFailed);
    QCOMPARE(ran.Err,
             QString::fromUtf8("sosudnik: стандартный вывод не записан: читавшая его программа уже завершилась\n"));
}

// The text of one part of an .xlsx file (a zip), as unzip gives it.
QString XlsxPart(const QString &file, const QString &part)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, part});
    if (!unzip.waitForFinished(30'000) || unzip.exitCode() != 0)
        qFatal("unzip -p %s %s failed", qPrintable(file), qPrintable(part));
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

// --xlsx: the same verdicts as a real spreadsheet; the lines as before.
void TestCommandLine::spreadsheet()
{
    const TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    const auto write = [&](const QString &name, const QByteArray &bytes) { WriteIn(dir, name, bytes); };
    write(QStringLiteral("=HYPERLINK(1).xml"), MilkFile(kMilkSolution));
    write(QStringLiteral("kvass.xml"), KvassFile());
    write(QStringLiteral("old.xlsx"), "old");
    QVERIFY(QFile::link(QStringLiteral("old.xlsx"), QStringLiteral("link.xlsx")));

    const Ran ran = RunCommand({QStringLiteral("--check"), QStringLiteral("12,7,5/12,0,0/6+8,5,3/8,0,0/4"),
                                QStringLiteral("--xlsx"), QStringLiteral("link.xlsx"), QStringLiteral("--"),
                                QStringLiteral("=HYPERLINK(1).xml"), QStringLiteral("kvass.xml"),
                                QStringLiteral("missing.xml")});
    QCOMPARE(ran.Status, kExitNoSolution);
    QVERIFY2(ran.Err.isEmpty(), qPrintable(ran.Err));
    QCOMPARE(ran.Out.count(QLatin1Char('\n')), 3);
    // Through the link: its target replaced, the link still a link.
    QVERIFY(QFileInfo(QStringLiteral("link.xlsx")).isSymLink());
    const QString file = QStringLiteral("old.xlsx");
    QFile bytes(file);
    QVERIFY(bytes.open(QIODevice::ReadOnly));
    QCOMPARE(bytes.read(2), QByteArray("PK"));

    const QString sheet = XlsxPart(file, QStringLiteral("xl/worksheets/sheet1.xml"));
    const QString strings = XlsxPart(file, QStringLiteral("xl/sharedStrings.xml"));
    // The title with the codes and the date, the headings, each row.
    const QDate today = QDate::currentDate();
    QVERIFY2(strings.contains(QString::fromUtf8("Проверка записей: задачи 12,7,5/12,0,0/6 + 8,5,3/8,0,0/4; ")
                              + today.toString(Qt::ISODate))
                 || strings.contains(today.addDays(-1).toString(Qt::ISODate)),
             qPrintable(strings));
    for (const char *text : {"Файл", "Задача", "Итог", "Ходы", "Наименьшее", "Подробности", "=HYPERLINK(1).xml",
                             "Файла нет."})
        QVERIFY2(strings.contains(QString::fromUtf8(text)), text);
    // The header row frozen and filtered; the counts as numbers; no formula
    // anywhere; every column sized.
    QVERIFY2(sheet.contains(QStringLiteral("<pane ySplit=\"2\" topLeftCell=\"A3\" activePane=\"bottomLeft\" "
                                           "state=\"frozen\"/>")),
             qPrintable(sheet));
    QVERIFY2(sheet.contains(QStringLiteral("<autoFilter ref=\"A2:F5\"/>")), qPrintable(sheet));
    QVERIFY2(sheet.contains(QStringLiteral("<c r=\"D3\"><v>10</v></c><c r=\"E3\"><v>10</v></c>")), qPrintable(sheet));
    QVERIFY2(sheet.contains(QStringLiteral("<c r=\"D4\"><v>6</v></c>")), qPrintable(sheet));
    QVERIFY(!sheet.contains(QStringLiteral("<f>")));
    QCOMPARE(sheet.count(QStringLiteral("customWidth=\"1\"")), 6);
    // Nothing left beside it.
    QCOMPARE(QDir::current().entryList({QStringLiteral("*.xlsx*")}, QDir::Files | QDir::System, QDir::Name),
             (QStringList{QStringLiteral("link.xlsx"), QStringLiteral("old.xlsx")}));
}

void TestCommandLine::spreadsheetNotWritten_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");

    QTest::newRow("no such folder") << QStringLiteral("/nonexistent/x.xlsx")
                                    << QString::fromUtf8("папки, в которой он должен быть, нет");
    QTest::newRow("a folder") << QStringLiteral("folder.xlsx") << QString::fromUtf8("под этим именем папка");
    QTest::newRow("a FIFO") << QStringLiteral("fifo.xlsx") << QString::fromUtf8("не обычный файл");
}

// A spreadsheet that cannot be written: status 4 and the reason; the lines
// are out all the same, and nothing is left behind.
void TestCommandLine::spreadsheetNotWritten()
{
    QFETCH(QString, target);
    QFETCH(QString, reason);
    const TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    QVERIFY(QDir().mkdir(QStringLiteral("folder.xlsx")));
    QCOMPARE(::mkfifo("fifo.xlsx", 0600), 0);
    QFile solved(QStringLiteral("solved.xml"));
    QVERIFY(solved.open(QIODevice::WriteOnly));
    solved.write(MilkFile(kMilkSolution));
    solved.close();
    const QStringList before = QDir::current().entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);

    const Ran ran = RunCommand({QStringLiteral("--check"), QStringLiteral("12,7,5/12,0,0/6"),
                                QStringLiteral("--xlsx"), target, QStringLiteral("solved.xml")});
    QCOMPARE(ran.Status, kExitOutputFailed);
    QVERIFY(ran.Out.startsWith(QStringLiteral("solved.xml\t")));
    QVERIFY2(ran.Err.startsWith(QString::fromUtf8("sosudnik: файл \"") + target + QString::fromUtf8("\" не записан: ")),
             qPrintable(ran.Err));
    QVERIFY2(ran.Err.contains(reason), qPrintable(ran.Err));
    CheckMessages(ran.Err);
    QCOMPARE(QDir::current().entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), before);
}

// A thousand arguments of a thousand characters each: quoted like a code,
// cut, with how many more there were.
void TestCommandLine::longArgumentList()
{
    QStringList arguments{QStringLiteral("--solve"), QStringLiteral("8,5,3/8,0,0/4")};
    for (int i = 0; i < 1000; ++i)
        arguments << Repeated('x', 1000);
    const Ran ran = RunCommand(arguments);
    QCOMPARE(ran.Status, kExitBadTask);
    QVERIFY2(ran.Err.size() < 300, qPrintable(QString::number(ran.Err.size())));
    QVERIFY(ran.Err.contains(QString::fromUtf8(" и еще 997 лишние\n")));
    CheckMessages(ran.Err);

    Harness h;
    Argv argv(QStringList{QStringLiteral("12,7,5/12,0,0/6")} + arguments.mid(2));
    StartFromArguments(h.window, ReadCommandLine(argv.Count(), argv.Values()));
    QCOMPARE(h.boxes.Boxes.size(), std::size_t{1});
    const QString cut = QStringLiteral("«") + Repeated('x', 40) + QStringLiteral("…»");
    QCOMPARE(QString::fromStdString(h.boxes.Boxes[0].Text),
             QString::fromUtf8("Аргументы %1, %1, %1 и еще 997 лишние.").arg(cut));
}

void TestCommandLine::qtArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("qt"); // what QApplication gets after the program's name
    QTest::addColumn<QStringList>("operands");

    const QString milk = QStringLiteral("12,7,5/12,0,0/6");
    QTest::newRow("none") << QStringList{milk} << QStringList{} << QStringList{milk};
    QTest::newRow("one dash or two")
        << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"), milk, QStringLiteral("--style"),
                       QStringLiteral("fusion"), QStringLiteral("--reverse")}
        << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("--style"),
                       QStringLiteral("fusion"), QStringLiteral("--reverse")}
        << QStringList{milk};
    QTest::newRow("joined") << QStringList{QStringLiteral("-style=fusion"), QStringLiteral("--stylesheet=a.qss"), milk}
                            << QStringList{QStringLiteral("-style=fusion"), QStringLiteral("--stylesheet=a.qss")}
                            << QStringList{milk};
    QTest::newRow("X's own, whatever the platform")
        << QStringList{QStringLiteral("-display"), QStringLiteral(":5"), QStringLiteral("-geometry"),
                       QStringLiteral("300x200")}
        << QStringList{QStringLiteral("-display"), QStringLiteral(":5"), QStringLiteral("-geometry"),
                       QStringLiteral("300x200")}
        << QStringList{};
    QTest::newRow("after --") << QStringList{QStringLiteral("--"), QStringLiteral("-style"), QStringLiteral("fusion")}
                              << QStringList{} << QStringList{QStringLiteral("-style"), QStringLiteral("fusion")};
    QTest::newRow("the game's own") << QStringList{QStringLiteral("--solve"), QStringLiteral("-platform"), milk}
                                    << QStringList{} << QStringList{milk};
    QTest::newRow("without its value") << QStringList{milk, QStringLiteral("-platform")} << QStringList{}
                                       << QStringList{milk};
}

// Qt gets its own options and nothing else; "--" keeps what follows from it.
void TestCommandLine::qtArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, qt);
    QFETCH(QStringList, operands);

    Argv argv(arguments);
    const CommandLine line = ReadCommandLine(argv.Count(), argv.Values());
    QCOMPARE(line.QtArgc, static_cast<int>(qt.size()) + 1);
    QCOMPARE(line.QtArgv.size(), qt.size() + 2);
    QCOMPARE(line.QtArgv.front(), argv.Values()[0]);
    QVERIFY(line.QtArgv.back() == nullptr);
    QStringList given;
    for (int i = 1; i < line.QtArgc; ++i)
        given << QString::fromLocal8Bit(line.QtArgv[static_cast<std::size_t>(i)]);
    QCOMPARE(given, qt);
    QStringList read;
    for (const std::string &operand : line.Operands)
        read << QString::fromStdString(operand);
    QCOMPARE(read, operands);
}

void TestCommandLine::startFromArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("box"); // the error box's text; empty for none
    QTest::addColumn<TfrmMain::GameMode>("mode");

    const QString milk = QStringLiteral("12,7,5/12,0,0/6");
    const QString malformed = QString::fromUtf8("Код задачи «%1» не разобрать: нужен вид C1,C2,C3/L1,L2,L3/T, например "
                                                "12,7,5/12,0,0/6 — задача о молоке.");
    const auto none = TfrmMain::GameMode::None;
    const auto play = TfrmMain::GameMode::Play;
    QTest::newRow("nothing") << QStringList{} << QString() << none;
    QTest::newRow("task code") << QStringList{milk} << QString() << play;
    QTest::newRow("code after --") << QStringList{QStringLiteral("--"), milk} << QString() << play;
    QTest::newRow("leading zeros") << QStringList{QStringLiteral("12,7,5/12,0,0/0000000000000000000000006")}
                                   << QString() << play;
    QTest::newRow("Qt's options around it")
        << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-display"),
                       QStringLiteral(":5"), milk, QStringLiteral("--style"), QStringLiteral("fusion"),
                       QStringLiteral("-style=fusion"), QStringLiteral("--reverse")}
        << QString() << play;
    QTest::newRow("unknown letter") << QStringList{QStringLiteral("-x"), milk}
                                    << QString::fromUtf8("Параметр «-x» неизвестен.") << none;
    QTest::newRow("unknown word, one dash") << QStringList{QStringLiteral("-foo"), milk}
                                            << QString::fromUtf8("Параметр «-foo» неизвестен.") << none;
    QTest::newRow("unknown word, two dashes") << QStringList{QStringLiteral("--foo=3")}
                                              << QString::fromUtf8("Параметр «--foo» неизвестен.") << none;
    QTest::newRow("negative value") << QStringList{QStringLiteral("-1,7,5/0,0,0/1")}
                                    << QString::fromUtf8("Параметр «-1,7,5/0,0,0/1» неизвестен.") << none;
    QTest::newRow("two codes") << QStringList{milk, QStringLiteral("8,5,3/8,0,0/4")}
                               << QString::fromUtf8("Аргумент «8,5,3/8,0,0/4» лишний.") << none;
    QTest::newRow("a Qt option without its value") << QStringList{milk, QStringLiteral("-platform")}
                                                   << QString::fromUtf8("После -platform нужно значение.") << none;
    QTest::newRow("control bytes") << QStringList{milk, QStringLiteral("\x1b]0;x\a")}
                                   << QString::fromUtf8("Аргумент «\\x1B]0;x\\x07» лишний.") << none;
    QTest::newRow("space before") << QStringList{QLatin1Char(' ') + milk} << malformed.arg(QLatin1Char(' ') + milk)
                                  << none;
    QTest::newRow("plus") << QStringList{QLatin1Char('+') + milk} << malformed.arg(QLatin1Char('+') + milk) << none;
    QTest::newRow("too large") << QStringList{QStringLiteral("12,7,5/12,0,0/99999999999999999999")}
                               << QString::fromUtf8("В коде задачи значение 99999999999999999999 вне пределов: "
                                                    "требуется целое число от 0 до 999.")
                               << none;
}

void TestCommandLine::startFromArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, box);
    QFETCH(TfrmMain::GameMode, mode);

    Harness h;
    Argv argv(arguments);
    StartFromArguments(h.window, ReadCommandLine(argv.Count(), argv.Values()));
    if (box.isEmpty()) {
        QVERIFY(h.boxes.Boxes.empty());
    } else {
        QCOMPARE(h.boxes.Boxes.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(h.boxes.Boxes[0].Text), box);
        QCOMPARE(QString::fromStdString(h.boxes.Boxes[0].Caption), QString::fromUtf8("Сосудник"));
    }
    QCOMPARE(h.window.Mode(), mode);
    QCOMPARE(h.window.Puzzle().Log().RowCount(), mode == TfrmMain::GameMode::Play ? 1 : 0);
}

void TestCommandLine::displayAvailable_data()
{
    QTest::addColumn<QByteArray>("platform"); // QT_QPA_PLATFORM; empty for unset
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("available");

    QTest::newRow("nothing at all") << QByteArray() << QByteArray() << QByteArray() << QStringList{} << false;
    QTest::newRow("DISPLAY") << QByteArray() << QByteArray(":0") << QByteArray() << QStringList{} << true;
    QTest::newRow("-display") << QByteArray() << QByteArray() << QByteArray()
                              << QStringList{QStringLiteral("-display"), QStringLiteral(":5")} << true;
    QTest::newRow("--display and a code") << QByteArray() << QByteArray() << QByteArray()
                                          << QStringList{QStringLiteral("--display"), QStringLiteral(":5"),
                                                         QStringLiteral("12,7,5/12,0,0/6")}
                                          << true;
    QTest::newRow("X only") << QByteArray("xcb") << QByteArray() << QByteArray() << QStringList{} << false;
    QTest::newRow("X, then offscreen") << QByteArray("xcb;offscreen") << QByteArray() << QByteArray()
                                       << QStringList{} << true;
    QTest::newRow("offscreen") << QByteArray("offscreen") << QByteArray() << QByteArray() << QStringList{} << true;
    QTest::newRow("-platform over the variable")
        << QByteArray("xcb") << QByteArray() << QByteArray()
        << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen")} << true;
    QTest::newRow("-platform xcb") << QByteArray("offscreen") << QByteArray() << QByteArray()
                                   << QStringList{QStringLiteral("-platform"), QStringLiteral("xcb")} << false;
    QTest::newRow("the last -platform") << QByteArray() << QByteArray() << QByteArray()
                                        << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"),
                                                       QStringLiteral("--platform"), QStringLiteral("xcb")}
                                        << false;
    QTest::newRow("-platform after --") << QByteArray() << QByteArray() << QByteArray()
                                        << QStringList{QStringLiteral("--"), QStringLiteral("-platform"),
                                                       QStringLiteral("offscreen")}
                                        << false;
    QTest::newRow("Wayland session") << QByteArray() << QByteArray() << QByteArray("wayland-0") << QStringList{}
                                     << true;
}

void TestCommandLine::displayAvailable()
{
    QFETCH(QByteArray, platform);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, wayland);
    QFETCH(QStringList, arguments);
    QFETCH(bool, available);

    Argv argv(arguments);
    const DisplayEnvironment environment(platform, display, wayland);
    const QString message = QString::fromStdString(NoDisplayMessage(ReadCommandLine(argv.Count(), argv.Values())));
    QCOMPARE(message.isEmpty(), available);
    if (!available) {
        QCOMPARE(message.section(QLatin1Char('\n'), 0, 0),
                 QString::fromUtf8("sosudnik: графический дисплей не задан (переменная DISPLAY пуста), и окно игры "
                                   "показать негде"));
        CheckMessages(message);
    }
}

void TestCommandLine::platformFailure_data()
{
    QTest::addColumn<QByteArray>("platform"); // QT_QPA_PLATFORM; empty for unset
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("says"); // before ", и окно игры показать негде"

    QTest::newRow("DISPLAY") << QByteArray() << QByteArray(":250") << QByteArray() << QStringList{}
                             << QString::fromUtf8("не удалось подключиться к дисплею «:250»");
    QTest::newRow("-display over DISPLAY") << QByteArray("xcb") << QByteArray(":0") << QByteArray()
                                           << QStringList{QStringLiteral("--display"), QStringLiteral(":7")}
                                           << QString::fromUtf8("не удалось подключиться к дисплею «:7»");
    QTest::newRow("control bytes in DISPLAY") << QByteArray() << QByteArray(":\x1b[2J") << QByteArray()
                                              << QStringList{}
                                              << QString::fromUtf8("не удалось подключиться к дисплею «:\\x1B[2J»");
    QTest::newRow("another platform") << QByteArray("wayland") << QByteArray(":0") << QByteArray() << QStringList{}
                                      << QString::fromUtf8("платформа Qt «wayland» не запустилась");
    QTest::newRow("-platform") << QByteArray() << QByteArray() << QByteArray()
                               << QStringList{QStringLiteral("-platform"), QStringLiteral("eglfs")}
                               << QString::fromUtf8("платформа Qt «eglfs» не запустилась");
    QTest::newRow("Wayland session") << QByteArray() << QByteArray() << QByteArray("wayland-0") << QStringList{}
                                     << QString::fromUtf8("графический дисплей недоступен");
}

// When the platform fails while the application is made, whatever Qt's words.
void TestCommandLine::platformFailure()
{
    QFETCH(QByteArray, platform);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, wayland);
    QFETCH(QStringList, arguments);
    QFETCH(QString, says);

    Argv argv(arguments);
    const DisplayEnvironment environment(platform, display, wayland);
    const CommandLine line = ReadCommandLine(argv.Count(), argv.Values());
    const QString message = QString::fromStdString(PlatformFailureMessage(line));
    QCOMPARE(message.section(QLatin1Char('\n'), 0, 0),
             QStringLiteral("sosudnik: ") + says + QString::fromUtf8(", и окно игры показать негде"));
    CheckMessages(message);
}

QTEST_MAIN(TestCommandLine)
#include "tst_command_line.moc"
