// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The configuration folder and its files: where the folder is, what a read
// makes of whatever stands under a file's name (without ever blocking),
// the atomic replace through links, and the lock that two games share.
#include "config_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

namespace {

constexpr int kPollMs = 30'000;

bool Root()
{
    return ::geteuid() == 0;
}

void Put(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray Get(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

// Sets an environment variable for as long as it lives.
class Env {
public:
    Env(const char *name, const QByteArray *value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~Env()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    Env(const Env &) = delete;
    Env &operator=(const Env &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

using Setup = std::function<void(const QString &dir, const QString &file)>;

} // namespace

class TestConfigFolder : public QObject {
    Q_OBJECT

private slots:
    void folder_data();
    void folder();
    void read_data();
    void read();
    void write_data();
    void write();
    void lockFreeRunsAtOnce();
    void lockHeldWaitsWithoutBlocking();
    void lockNeverFreedGivesUp();
    void lockCannotBeMade();
    void lockOfADeadProgramIsTaken();
    void closingWithWorkWaitingStillAnswers();
};

void TestConfigFolder::folder_data()
{
    QTest::addColumn<QByteArray>("xdg");
    QTest::addColumn<bool>("set");
    QTest::addColumn<QString>("expected"); // HOME stands for the home folder

    QTest::newRow("absolute") << QByteArray("/srv/conf") << true << QStringLiteral("/srv/conf/sosudnik");
    QTest::newRow("absolute, trailing slash") << QByteArray("/srv/conf/") << true << QStringLiteral("/srv/conf/sosudnik");
    QTest::newRow("relative: ignored") << QByteArray("conf") << true << QStringLiteral("HOME/.config/sosudnik");
    QTest::newRow("dot-relative: ignored") << QByteArray("./conf") << true << QStringLiteral("HOME/.config/sosudnik");
    QTest::newRow("empty") << QByteArray() << true << QStringLiteral("HOME/.config/sosudnik");
    QTest::newRow("unset") << QByteArray() << false << QStringLiteral("HOME/.config/sosudnik");
}

void TestConfigFolder::folder()
{
    QFETCH(QByteArray, xdg);
    QFETCH(bool, set);
    QFETCH(QString, expected);
    const QTemporaryDir home;
    const QByteArray homePath = QFile::encodeName(home.path());
    const Env homeEnv("HOME", &homePath);
    const Env xdgEnv("XDG_CONFIG_HOME", set ? &xdg : nullptr);
    expected.replace(QStringLiteral("HOME"), home.path());
    QCOMPARE(ConfigFolder(), expected);
    QCOMPARE(ConfigFile(QStringLiteral("records.txt")), expected + QStringLiteral("/records.txt"));
}

void TestConfigFolder::read_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<int>("state");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem"); // a part of it

    const int missing = static_cast<int>(ConfigText::State::Missing);
    const int read = static_cast<int>(ConfigText::State::Read);
    const int refused = static_cast<int>(ConfigText::State::Refused);
    const auto link = [](const QString &to) {
        return Setup([to](const QString &, const QString &file) { QFile::link(to, file); });
    };
    QTest::newRow("nothing there") << Setup([](const QString &, const QString &) {}) << missing << QByteArray()
                                   << QString();
    QTest::newRow("a file") << Setup([](const QString &, const QString &file) { Put(file, "a\tb\n"); }) << read
                            << QByteArray("a\tb\n") << QString();
    QTest::newRow("empty") << Setup([](const QString &, const QString &file) { Put(file, ""); }) << read
                           << QByteArray() << QString();
    QTest::newRow("at the limit") << Setup([](const QString &, const QString &file) { Put(file, QByteArray(64, 'x')); })
                                  << read << QByteArray(64, 'x') << QString();
    QTest::newRow("over the limit")
        << Setup([](const QString &, const QString &file) { Put(file, QByteArray(65, 'x')); }) << refused
        << QByteArray() << QString::fromUtf8("больше 64 байт");
    QTest::newRow("a folder") << Setup([](const QString &, const QString &file) { QDir().mkpath(file); }) << refused
                              << QByteArray() << QString::fromUtf8("папка");
    QTest::newRow("a FIFO without a writer")
        << Setup([](const QString &, const QString &file) { ::mkfifo(QFile::encodeName(file).constData(), 0600); })
        << refused << QByteArray() << QString::fromUtf8("канал, устройство или сокет");
    QTest::newRow("a link to an endless device") << link(QStringLiteral("/dev/zero")) << refused << QByteArray()
                                                 << QString::fromUtf8("не обычный файл");
    QTest::newRow("a link to /dev/null") << link(QStringLiteral("/dev/null")) << refused << QByteArray()
                                         << QString::fromUtf8("не обычный файл");
    QTest::newRow("a link to a file: followed")
        << Setup([](const QString &dir, const QString &file) {
               Put(dir + QStringLiteral("/dotfiles/records.txt"), "kept");
               QFile::link(dir + QStringLiteral("/dotfiles/records.txt"), file);
           })
        << read << QByteArray("kept") << QString();
    QTest::newRow("a link loop") << Setup([](const QString &, const QString &file) {
        QFile::link(file + QStringLiteral(".b"), file);
        QFile::link(file, file + QStringLiteral(".b"));
    }) << refused << QByteArray() << QString::fromUtf8("по кругу");
    QTest::newRow("a broken link") << link(QStringLiteral("/nonexistent/records.txt")) << missing << QByteArray()
                                   << QString();
    QTest::newRow("the folder is a file")
        << Setup([](const QString &dir, const QString &) {
               QDir(dir).rmdir(QStringLiteral("sosudnik"));
               Put(dir + QStringLiteral("/sosudnik"), "not a folder");
           })
        << missing << QByteArray() << QString();
    if (!Root()) {
        QTest::newRow("not readable")
            << Setup([](const QString &, const QString &file) {
                   Put(file, "secret");
                   QFile::setPermissions(file, QFileDevice::WriteOwner);
               })
            << refused << QByteArray() << QString::fromUtf8("нет прав на чтение");
    }
}

void TestConfigFolder::read()
{
    QFETCH(Setup, setup);
    QFETCH(int, state);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    const QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("sosudnik"));
    const QString file = dir.path() + QStringLiteral("/sosudnik/records.txt");
    setup(dir.path(), file);
    const ConfigText text = ReadConfigFile(file, 64);
    QCOMPARE(static_cast<int>(text.Result), state);
    QCOMPARE(text.Bytes, bytes);
    if (problem.isEmpty())
        QVERIFY2(text.Problem.isEmpty(), qPrintable(text.Problem));
    else
        QVERIFY2(text.Problem.contains(problem), qPrintable(text.Problem));
}

void TestConfigFolder::write_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("problem"); // a part of it; empty when the write succeeds
    QTest::addColumn<QString>("written"); // the file that must then hold the new text, relative to dir

    QTest::newRow("a new file in a new folder")
        << Setup([](const QString &dir, const QString &) { QDir(dir).rmdir(QStringLiteral("sosudnik")); })
        << QString() << QStringLiteral("sosudnik/records.txt");
    QTest::newRow("replaces a file") << Setup([](const QString &, const QString &file) { Put(file, "old"); })
                                     << QString() << QStringLiteral("sosudnik/records.txt");
    QTest::newRow("a link: its target is replaced")
        << Setup([](const QString &dir, const QString &file) {
               Put(dir + QStringLiteral("/dotfiles/records.txt"), "old");
               QFile::link(QStringLiteral("../dotfiles/records.txt"), file);
           })
        << QString() << QStringLiteral("dotfiles/records.txt");
    QTest::newRow("a FIFO is left alone")
        << Setup([](const QString &, const QString &file) { ::mkfifo(QFile::encodeName(file).constData(), 0600); })
        << QString::fromUtf8("не обычный файл") << QString();
    QTest::newRow("the folder is a file")
        << Setup([](const QString &dir, const QString &) {
               QDir(dir).rmdir(QStringLiteral("sosudnik"));
               Put(dir + QStringLiteral("/sosudnik"), "not a folder");
           })
        << QString::fromUtf8("папки, в которой он должен быть, нет") << QString();
    if (!Root()) {
        QTest::newRow("a folder without write permission")
            << Setup([](const QString &dir, const QString &file) {
                   Put(file, "old");
                   QFile::setPermissions(dir + QStringLiteral("/sosudnik"),
                                         QFileDevice::ReadOwner | QFileDevice::ExeOwner);
               })
            << QString::fromUtf8("нет прав на запись") << QString();
    }
}

void TestConfigFolder::write()
{
    QFETCH(Setup, setup);
    QFETCH(QString, problem);
    QFETCH(QString, written);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("sosudnik"));
    const QString file = dir.path() + QStringLiteral("/sosudnik/records.txt");
    setup(dir.path(), file);
    const QFileInfo before(file);
    const QString error = WriteConfigFile(file, "new\n");
    QFile::setPermissions(dir.path() + QStringLiteral("/sosudnik"), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                                          | QFileDevice::ExeOwner);
    if (problem.isEmpty()) {
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(Get(dir.filePath(written)), QByteArray("new\n"));
        // A link stays a link; nothing is left beside the file.
        QCOMPARE(QFileInfo(file).isSymLink(), before.isSymLink());
        const QStringList left = QDir(QFileInfo(dir.filePath(written)).path()).entryList(QDir::Files | QDir::System);
        QCOMPARE(left, QStringList{QStringLiteral("records.txt")});
    } else {
        QVERIFY2(error.contains(problem), qPrintable(error));
        QVERIFY2(error.contains(file), qPrintable(error));
        QCOMPARE(QFileInfo(file).isFile() ? Get(file) : QByteArray(), before.isFile() ? QByteArray("old") : QByteArray());
    }
}

// The lock is free: the work runs there and then, holding it.
void TestConfigFolder::lockFreeRunsAtOnce()
{
    const QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/sosudnik/records.txt");
    ConfigLock lock(file);
    QString problem = QStringLiteral("never ran");
    bool heldMeanwhile = false;
    lock.Run([&](const QString &p) {
        problem = p;
        QLockFile other(file + QStringLiteral(".lock"));
        heldMeanwhile = !other.tryLock(0);
    });
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY(heldMeanwhile);
    QVERIFY(!lock.Waiting());
    QLockFile after(file + QStringLiteral(".lock"));
    QVERIFY(after.tryLock(0));
}

// Another game holds it: the works wait, in order, while the event loop
// goes on; once it is released they run under the one lock.
void TestConfigFolder::lockHeldWaitsWithoutBlocking()
{
    const QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/sosudnik/records.txt");
    QDir().mkpath(QFileInfo(file).path());
    auto holder = std::make_unique<QLockFile>(file + QStringLiteral(".lock"));
    QVERIFY(holder->tryLock(0));

    ConfigLock lock(file);
    QStringList ran;
    lock.Run([&](const QString &p) { ran << QStringLiteral("first:") + p; });
    lock.Run([&](const QString &p) { ran << QStringLiteral("second:") + p; });
    QVERIFY(lock.Waiting());
    QVERIFY(ran.isEmpty());

    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(1);
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 20, kPollMs);
    QVERIFY(ran.isEmpty());
    holder.reset();
    QTRY_VERIFY_WITH_TIMEOUT(!lock.Waiting(), kPollMs);
    QCOMPARE(ran, (QStringList{QStringLiteral("first:"), QStringLiteral("second:")}));
}

void TestConfigFolder::lockNeverFreedGivesUp()
{
    const QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/records.txt");
    QLockFile holder(file + QStringLiteral(".lock"));
    QVERIFY(holder.tryLock(0));
    ConfigLock lock(file);
    lock.SetPatience(100);
    QString problem;
    bool ran = false;
    lock.Run([&](const QString &p) {
        ran = true;
        problem = p;
    });
    QTRY_VERIFY_WITH_TIMEOUT(ran, kPollMs);
    QVERIFY2(problem.contains(QString::fromUtf8("другая программа")), qPrintable(problem));
}

void TestConfigFolder::lockCannotBeMade()
{
    const QTemporaryDir dir;
    Put(dir.path() + QStringLiteral("/sosudnik"), "a file where the folder should be");
    ConfigLock lock(dir.path() + QStringLiteral("/sosudnik/records.txt"));
    QString problem;
    lock.Run([&](const QString &p) { problem = p; });
    QVERIFY(!lock.Waiting());
    QVERIFY2(problem.contains(QString::fromUtf8("не создать")), qPrintable(problem));
}

// A game that died holding the lock does not keep the next one waiting.
void TestConfigFolder::lockOfADeadProgramIsTaken()
{
    const QTemporaryDir dir;
    const QString lockPath = dir.path() + QStringLiteral("/records.txt.lock");
    QByteArray content;
    {
        QLockFile mine(lockPath);
        QVERIFY(mine.tryLock(0));
        content = Get(lockPath);
    }
    // The number of a process that has ended.
    QProcess gone;
    gone.start(QStringLiteral("true"), {});
    QVERIFY(gone.waitForStarted(kPollMs));
    const qint64 deadPid = gone.processId();
    QVERIFY(gone.waitForFinished(kPollMs));
    QList<QByteArray> lines = content.split('\n');
    lines[0] = QByteArray::number(deadPid);
    Put(lockPath, lines.join('\n'));

    ConfigLock lock(dir.path() + QStringLiteral("/records.txt"));
    QString problem = QStringLiteral("never ran");
    lock.Run([&](const QString &p) { problem = p; });
    QTRY_VERIFY_WITH_TIMEOUT(!lock.Waiting(), kPollMs);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestConfigFolder::closingWithWorkWaitingStillAnswers()
{
    const QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/records.txt");
    QLockFile holder(file + QStringLiteral(".lock"));
    QVERIFY(holder.tryLock(0));
    QString problem;
    bool ran = false;
    {
        ConfigLock lock(file);
        lock.Run([&](const QString &p) {
            ran = true;
            problem = p;
        });
        QVERIFY(!ran);
    }
    QVERIFY(ran);
    QVERIFY2(problem.contains(QString::fromUtf8("другая программа")), qPrintable(problem));
}

QTEST_GUILESS_MAIN(TestConfigFolder)
#include "tst_config_folder.moc"
