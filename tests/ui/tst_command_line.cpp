// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The game's command line: which arguments are answered without a window,
// a task code among odd arguments, and whether there is a display to go to.
#include "window_harness.h"

#include "command_line.h"

#include <QByteArray>
#include <QTest>

#include <vector>

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

// argv as main gets it: the program's name first, a null pointer last.
class Argv {
public:
    explicit Argv(const QStringList &arguments)
    {
        m_bytes.push_back(QByteArrayLiteral("sosudnik"));
        for (const QString &a : arguments)
            m_bytes.push_back(a.toLocal8Bit());
        for (QByteArray &b : m_bytes)
            m_pointers.push_back(b.data());
        m_pointers.push_back(nullptr);
    }

    int Count() const { return static_cast<int>(m_bytes.size()); }
    char **Values() { return m_pointers.data(); }

private:
    std::vector<QByteArray> m_bytes;
    std::vector<char *> m_pointers;
};

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void runWithoutWindow_data();
    void runWithoutWindow();
    void startFromArguments_data();
    void startFromArguments();
    void displayAvailable_data();
    void displayAvailable();
};

void TestCommandLine::runWithoutWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status"); // -1: the game itself starts

    const QString kvass = QStringLiteral("8,5,3/8,0,0/4");
    QTest::newRow("--solve") << QStringList{QStringLiteral("--solve"), kvass} << kExitSolved;
    QTest::newRow("--solve=") << QStringList{QStringLiteral("--solve=") + kvass} << kExitSolved;
    QTest::newRow("-solve") << QStringList{QStringLiteral("-solve"), kvass} << kExitSolved;
    QTest::newRow("-solve=") << QStringList{QStringLiteral("-solve=") + kvass} << kExitSolved;
    QTest::newRow("unsolvable") << QStringList{QStringLiteral("--solve"), QStringLiteral("999,4,6/6,0,0/3")}
                                << kExitNoSolution;
    QTest::newRow("no task") << QStringList{QStringLiteral("--solve")} << kExitBadTask;
    QTest::newRow("with a Qt option") << QStringList{QStringLiteral("--solve"), kvass, QStringLiteral("-platform"),
                                                     QStringLiteral("offscreen")}
                                      << kExitBadTask;
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << 0;
    QTest::newRow("a task code") << QStringList{kvass} << -1;
    QTest::newRow("Qt options and a code")
        << QStringList{QStringLiteral("-platform"), QStringLiteral("offscreen"), kvass} << -1;
    QTest::newRow("a code after --") << QStringList{QStringLiteral("--"), QStringLiteral("--solve"), kvass} << -1;
}

void TestCommandLine::runWithoutWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);

    Argv argv(arguments);
    QCOMPARE(RunWithoutWindow(argv.Count(), argv.Values()).value_or(-1), status);
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
    QTest::newRow("unknown letter") << QStringList{QStringLiteral("-x"), milk}
                                    << QString::fromUtf8("Неизвестный параметр -x.") << none;
    QTest::newRow("unknown word, one dash") << QStringList{QStringLiteral("-foo"), milk}
                                            << QString::fromUtf8("Неизвестный параметр -foo.") << none;
    QTest::newRow("unknown word, two dashes") << QStringList{QStringLiteral("--foo=3")}
                                              << QString::fromUtf8("Неизвестный параметр --foo.") << none;
    QTest::newRow("negative value") << QStringList{QStringLiteral("-1,7,5/0,0,0/1")}
                                    << QString::fromUtf8("Неизвестный параметр -1,7,5/0,0,0/1.") << none;
    QTest::newRow("two codes") << QStringList{milk, QStringLiteral("8,5,3/8,0,0/4")}
                               << QString::fromUtf8("Лишние аргументы: 8,5,3/8,0,0/4.") << none;
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
    StartFromArguments(h.window, QStringList{QStringLiteral("sosudnik")} + arguments);
    if (box.isEmpty()) {
        QVERIFY(h.boxes.Boxes.empty());
    } else {
        QCOMPARE(h.boxes.Boxes.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(h.boxes.Boxes[0].Text), box);
        QCOMPARE(QString::fromStdString(h.boxes.Boxes[0].Caption), QString::fromUtf8("Сосудник"));
    }
    QCOMPARE(h.window.Mode(), mode);
    QCOMPARE(h.window.Model().Log().RowCount(), mode == TfrmMain::GameMode::Play ? 1 : 0);
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
    QCOMPARE(DisplayAvailable(argv.Count(), argv.Values()), available);
}

QTEST_MAIN(TestCommandLine)
#include "tst_command_line.moc"
