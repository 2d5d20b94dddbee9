// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The settings file: what QSettings reads back is what was kept; bad values
// and bad files count as none and never stop the game; nothing is written at
// start; each change is kept, and restored by the next window.
#include "window_harness.h"

#include "book_dialog.h"
#include "config_folder.h"
#include "form_scale.h"
#include "modal_helpers.h"
#include "pour_animation.h"
#include "record_check_dialog.h"
#include "settings_file.h"
#include "task_book.h"
#include "task_code.h"
#include "window_zoom.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

std::string BookCode(int index)
{
    return TaskCode(TaskBook()[static_cast<std::size_t>(index)].Task);
}

// Waits until the file says what the change kept (the lock may make it wait a turn).
bool Holds(const char *text)
{
    return QTest::qWaitFor([text] { return Bytes(SettingsFile::Path()).contains(text); }, 30'000);
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    void init() { FreshSettings(); }
    void whatIsWrittenIsReadBack_data();
    void whatIsWrittenIsReadBack();
    void qsettingsOwnFileReadsTheSame();
    void badValuesCountAsNone_data();
    void badValuesCountAsNone();
    void nothingIsWrittenAtStart();
    void changesAreKeptAndRestored();
    void aScaleTooLargeForTheScreenIsLowered();
    void badFilesNeverStopTheGame_data();
    void badFilesNeverStopTheGame();
    void twoGamesKeepBothChanges();
    void choosersOpenWhereTheLastChoiceWasMade_data();
    void choosersOpenWhereTheLastChoiceWasMade();
};

void TestSettings::whatIsWrittenIsReadBack_data()
{
    QTest::addColumn<QString>("folder");
    for (const char *folder : {"/home/ученик/класс 5", "/tmp/a,b;c#d", "/tmp/\"quoted\" and \\back\\", "@Variant(x)",
                               "/tmp/ trailing space ", "C:\\Users\\x", "/tmp/=equals=", "/tmp/[section]"})
        QTest::newRow(folder) << QString::fromUtf8(folder);
}

void TestSettings::whatIsWrittenIsReadBack()
{
    QFETCH(QString, folder);
    Settings kept;
    kept.Scale = 1.25;
    kept.Animation = true;
    kept.BookTask = BookCode(3);
    kept.Folders.insert(QStringLiteral("check"), folder);
    kept.Folders.insert(QStringLiteral("save"), QStringLiteral("/srv/класс"));
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sosudnik.conf"));
    Write(path, SettingsFile::IniText(kept));
    const std::optional<Settings> read = SettingsFile::ParseIni(path);
    QVERIFY(read);
    QCOMPARE(read->Folders.value(QStringLiteral("check")), folder);
    QVERIFY(*read == kept);
    // And QSettings itself sees the plain strings.
    const QSettings ini(path, QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("folders/check")), QVariant(folder));
    QCOMPARE(ini.value(QStringLiteral("book/last")).toString(), QString::fromStdString(BookCode(3)));
}

// A file QSettings wrote itself (a player's tool, say) reads the same.
void TestSettings::qsettingsOwnFileReadsTheSame()
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sosudnik.conf"));
    {
        QSettings ini(path, QSettings::IniFormat);
        ini.setValue(QStringLiteral("scale"), 0.8);
        ini.setValue(QStringLiteral("animation"), true);
        ini.setValue(QStringLiteral("book/last"), QString::fromStdString(BookCode(0)));
        ini.setValue(QStringLiteral("folders/check"), QString::fromUtf8("/home/учитель/5 \"Б\", 2026"));
    }
    const std::optional<Settings> read = SettingsFile::ParseIni(path);
    QVERIFY(read);
    QCOMPARE(read->Scale, std::optional<qreal>(0.8));
    QVERIFY(read->Animation);
    QCOMPARE(read->BookTask, BookCode(0));
    QCOMPARE(read->Folders.value(QStringLiteral("check")), QString::fromUtf8("/home/учитель/5 \"Б\", 2026"));
}

void TestSettings::badValuesCountAsNone_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("scale not a number") << QByteArray("[General]\nscale=big\n");
    QTest::newRow("scale too large") << QByteArray("[General]\nscale=100\n");
    QTest::newRow("scale too small") << QByteArray("[General]\nscale=0.01\n");
    QTest::newRow("scale not finite") << QByteArray("[General]\nscale=nan\n");
    QTest::newRow("animation not true") << QByteArray("[General]\nanimation=yes\n");
    QTest::newRow("book task not a task") << QByteArray("[book]\nlast=\"12,7,5/12,9,0/6\"\n");
    QTest::newRow("book task not the book's") << QByteArray("[book]\nlast=\"999,998,997/999,0,0/500\"\n");
    QTest::newRow("a folder as a list") << QByteArray("[folders]\ncheck=a,b\n");
    QTest::newRow("a folder with a line break") << QByteArray("[folders]\ncheck=\"/tmp/a\\nb\"\n");
    QTest::newRow("a chooser's name not plain") << QByteArray("[folders]\n%U0444=\"/tmp\"\n");
}

void TestSettings::badValuesCountAsNone()
{
    QFETCH(QByteArray, text);
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sosudnik.conf"));
    Write(path, text);
    const std::optional<Settings> read = SettingsFile::ParseIni(path);
    QVERIFY(read);
    QVERIFY(*read == Settings{});
}

// Started with a file and without one, and played a little: nothing changes
// on disk, no lock is left.
void TestSettings::nothingIsWrittenAtStart()
{
    {
        Harness h;
        h.window.StartTaskCode("8,5,3/8,0,0/4");
    }
    QVERIFY(!QFile::exists(SettingsFile::Path()));

    const QByteArray text = "[General]\nscale=0.9\nanimation=true\n";
    Write(SettingsFile::Path(), text);
    const QDateTime before = QFileInfo(SettingsFile::Path()).lastModified();
    {
        Harness h(true);
        QCOMPARE(FormScale(), 0.9);
        QVERIFY(h.window.Animation().On());
    }
    QCOMPARE(Bytes(SettingsFile::Path()), text);
    QCOMPARE(QFileInfo(SettingsFile::Path()).lastModified(), before);
    QVERIFY(!QFile::exists(SettingsFile::Path() + QStringLiteral(".lock")));
    SetFormScale(1.0);
}

// Each change goes to the file at once; the next window starts with them.
void TestSettings::changesAreKeptAndRestored()
{
    const QTemporaryDir chosen;
    {
        Harness h;
        QVERIFY(!QFile::exists(SettingsFile::Path()));
        h.Action("MnuZoomOut")->trigger();
        QVERIFY(Holds("scale=0.9"));
        h.Action("MnuAnimation")->trigger();
        QVERIFY(Holds("animation=true"));
        WithModal<BookDialog>([&] { h.Action("MnuBook")->trigger(); },
                              [](BookDialog *d) {
                                  d->Select(5);
                                  QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("BtnStart")),
                                                    Qt::LeftButton);
                              });
        QVERIFY(Holds(BookCode(5).c_str()));
        WithModal<QFileDialog>([&] { h.Action("MnuCheckRecords")->trigger(); },
                               [&](QFileDialog *d) {
                                   d->setDirectory(chosen.path());
                                   d->selectFile(chosen.filePath(QStringLiteral("nothing.xml")));
                                   d->reject(); // no choice made: no folder kept
                               });
        QVERIFY(!Bytes(SettingsFile::Path()).contains("folders"));
    }
    SetFormScale(1.0);
    Harness h(true);
    QCOMPARE(FormScale(), 0.9);
    QVERIFY(h.window.Animation().On());
    QVERIFY(h.Action("MnuAnimation")->isChecked());
    WithModal<BookDialog>([&] { h.Action("MnuBook")->trigger(); },
                          [](BookDialog *d) {
                              QCOMPARE(d->Chosen(), 5);
                              d->reject();
                          });
    h.Action("MnuZoomNormal")->trigger();
    QVERIFY(Holds("scale=1\n"));
}

// A kept scale the present screen cannot hold is lowered to the largest that fits.
void TestSettings::aScaleTooLargeForTheScreenIsLowered()
{
    Write(SettingsFile::Path(), "[General]\nscale=4\n");
    Harness h(true);
    QVERIFY(FormScale() < 4.0);
    QVERIFY(FormScale() >= kSmallestScale);
    const QRect screen = h.window.screen()->availableGeometry();
    QVERIFY(h.window.width() <= screen.width() && h.window.height() <= screen.height());
    // Nothing written: the file keeps what the player chose.
    QCOMPARE(Bytes(SettingsFile::Path()), QByteArray("[General]\nscale=4\n"));
    h.window.findChild<WindowZoom *>()->Apply(1.0);
}

void TestSettings::badFilesNeverStopTheGame_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"garbage", "malformed", "oversized", "folder", "fifo", "dangling link"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

// Read as none at start; at the first change a plain file is replaced with
// sound settings, and what is no plain file is left as it is.
void TestSettings::badFilesNeverStopTheGame()
{
    QFETCH(QString, kind);
    const QString path = SettingsFile::Path();
    QDir().mkpath(QFileInfo(path).path());
    bool replaced = true;
    if (kind == QLatin1String("garbage")) {
        QByteArray bytes;
        for (int i = 0; i < 4096; ++i)
            bytes += char(i * 37 % 256);
        Write(path, bytes);
    } else if (kind == QLatin1String("malformed")) {
        Write(path, "[General\nscale=2\n=\n[[[\n");
    } else if (kind == QLatin1String("oversized")) {
        Write(path, "[General]\nscale=0.8\n" + QByteArray(SettingsFile::kMaxBytes, '#'));
    } else if (kind == QLatin1String("folder")) {
        QDir().mkpath(path);
        replaced = false;
    } else if (kind == QLatin1String("fifo")) {
        QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        replaced = false;
    } else {
        // A link, as dotfile managers make, whose target is not there yet.
        QDir().mkpath(ConfigFolder() + QStringLiteral("/nowhere"));
        QVERIFY(QFile::link(ConfigFolder() + QStringLiteral("/nowhere/sosudnik.conf"), path));
    }
    {
        Harness h(true);
        QCOMPARE(FormScale(), 1.0);
        QVERIFY(!h.window.Animation().On());
        h.Action("MnuAnimation")->trigger();
        QVERIFY(h.window.Animation().On());
        h.window.StartTaskCode("8,5,3/8,0,0/4"); // and the game goes on
        QCOMPARE(h.window.Mode(), GameMode::Play);
        if (replaced)
            QVERIFY(Holds("animation=true"));
    }
    const QFileInfo after(path);
    if (kind == QLatin1String("folder"))
        QVERIFY(after.isDir());
    else if (kind == QLatin1String("fifo"))
        QVERIFY(!after.isFile() && after.exists());
    else if (kind == QLatin1String("dangling link"))
        QVERIFY(after.isSymLink() && QFileInfo(after.symLinkTarget()).isFile()); // the link followed, its target made
    else
        QCOMPARE(SettingsFile::ParseIni(path)->Animation, true);
    if (after.isDir())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
    QDir(ConfigFolder() + QStringLiteral("/nowhere")).removeRecursively();
}

// Two games change a setting each: the file keeps both.
void TestSettings::twoGamesKeepBothChanges()
{
    SettingsFile first;
    SettingsFile second;
    first.Load();
    second.Load();
    first.SetScale(1.5);
    second.SetAnimation(true);
    QVERIFY(Holds("scale=1.5"));
    QVERIFY(Holds("animation=true"));
    second.SetFolder(QStringLiteral("check"), QStringLiteral("/srv/класс"));
    QVERIFY(Holds("check="));
    SettingsFile third;
    third.Load();
    QCOMPARE(third.Values().Scale, std::optional<qreal>(1.5));
    QVERIFY(third.Values().Animation);
    QCOMPARE(third.Folder(QStringLiteral("check")), QString::fromUtf8("/srv/класс"));
}

void TestSettings::choosersOpenWhereTheLastChoiceWasMade_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QByteArray>("key");
    QTest::newRow("«Записать как…»") << QStringLiteral("MnuSaveAs") << QByteArray("save=");
    QTest::newRow("«Проверить записи…», a whole folder") << QStringLiteral("MnuCheckRecords") << QByteArray("check=");
}

// A choice made is where the chooser opens next, in the next run too; a
// folder since removed gives way to the current directory.
void TestSettings::choosersOpenWhereTheLastChoiceWasMade()
{
    QFETCH(QString, entry);
    QFETCH(QByteArray, key);
    auto chosen = std::make_unique<QTemporaryDir>();
    const QString folder = QDir(chosen->path()).absolutePath();
    const auto choose = [&](Harness &h) {
        WithModal<QFileDialog>([&] { h.Action(qPrintable(entry))->trigger(); },
                               [&](QFileDialog *d) {
                                   d->setDirectory(folder);
                                   if (entry == QLatin1String("MnuCheckRecords")) {
                                       d->findChild<QPushButton *>(QStringLiteral("BtnWholeFolder"))->click();
                                   } else {
                                       d->selectFile(QDir(folder).filePath(QStringLiteral("копия.xml")));
                                       static_cast<QDialog *>(d)->accept();
                                   }
                               });
    };
    const auto opensAt = [&](Harness &h) {
        QString at;
        WithModal<QFileDialog>([&] { h.Action(qPrintable(entry))->trigger(); },
                               [&](QFileDialog *d) {
                                   at = d->directory().absolutePath();
                                   d->reject();
                               });
        return at;
    };
    {
        Harness h;
        h.window.StartTaskCode("12,7,5/12,0,0/6");
        QCOMPARE(opensAt(h), QDir::currentPath());
        if (entry == QLatin1String("MnuCheckRecords")) {
            // The whole folder's check comes up over the chooser's place.
            WithModal<RecordCheckDialog>([&] { choose(h); }, [](RecordCheckDialog *d) { d->reject(); });
        } else {
            choose(h);
        }
        QVERIFY(Holds(key.constData()));
        QCOMPARE(opensAt(h), folder);
    }
    Harness h(true);
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    QCOMPARE(opensAt(h), folder);
    chosen.reset();
    QCOMPARE(opensAt(h), QDir::currentPath());
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
