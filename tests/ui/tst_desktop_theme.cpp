// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The game's own face under a real desktop theme: run on X (Xvfb) through
// Qt's GTK platform theme with a dark GTK theme, and once more while the
// desktop switches from a light theme to a dark one (an XSETTINGS daemon
// changing Net/ThemeName). Measured on what the X server really shows.
// desktop_theme.sh sets the stage.
#include "window_harness.h"

#include "contrast.h"
#include "game_palette.h"

#include <QApplication>
#include <QFile>
#include <QMenuBar>
#include <QScreen>
#include <QTableView>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QVersionNumber>

#include <csignal>
#include <sys/types.h>

namespace {

bool DarkDesktop()
{
    return Luminance(QGuiApplication::palette().color(QPalette::Window)) < 0.2;
}

// One thing the player reads on the screen, and how far it must stand out.
struct Sample {
    QString Name;
    QWidget *Widget;
    QRect Area; // in the widget
    double Least;
};

QList<Sample> Samples(Harness &h)
{
    const auto whole = [&](const char *name, double least, int inset = 0) {
        QWidget *w = h.Find(QString::fromLatin1(name));
        return Sample{QString::fromLatin1(name), w, w->rect().adjusted(inset, inset, -inset, -inset), least};
    };
    const auto caption = [&](const char *name) {
        return Sample{QString::fromLatin1(name) + QLatin1String(" caption"), h.Find(QString::fromLatin1(name)),
                      QRect(8, 0, 100, 14), 4.5};
    };
    auto *list = h.Find<QTableView>(QStringLiteral("ListView"));
    QList<Sample> samples{
        whole("Label1", 4.5),       whole("Label5", 4.5),      whole("Label2", 4.5),
        whole("Label3", 4.5),       whole("Label4", 4.5),      whole("StatusPanel0", 4.5, 3),
        whole("StatusPanel1", 4.5, 3), whole("EditV1", 4.5, 3), whole("EditVW2", 4.5, 3),
        whole("EdRes", 4.5, 3),     whole("BtnXml", 4.5, 3),   whole("MainMenu1", 4.5),
        caption("GrBoxN"),          caption("GrBoxV"),         caption("GrBoxVW"),
        caption("GrBoxRes"),
        {QStringLiteral("list heading"), list->horizontalHeader(), list->horizontalHeader()->rect(), 4.5},
        {QStringLiteral("list row"), list->viewport(), list->visualRect(list->model()->index(0, 1)), 4.5},
    };
    // The glyphs: outlines at least 3 : 1 against the button.
    for (const char *name : {"BtnUndo", "BtnExit"}) {
        auto *button = h.Find<QPushButton>(QString::fromLatin1(name));
        samples << Sample{QString::fromLatin1(name) + QLatin1String(" glyph"), button,
                          QRect(QPoint(6, (button->height() - 16) / 2), QSize(20, 16)), 3.0};
    }
    return samples;
}

// Every sample on the screen as the X server shows it.
void CheckScreen(Harness &h, const char *when)
{
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    QCoreApplication::processEvents();
    const QImage screen =
        h.window.screen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    const qreal r = screen.devicePixelRatio();
    for (const Sample &s : Samples(h)) {
        const QRect global(s.Widget->mapToGlobal(s.Area.topLeft()), s.Area.size());
        const QRect device(global.topLeft() * r, global.size() * r);
        const double ratio = GrabbedContrast(screen, device.intersected(screen.rect()));
        qInfo("%s, %s: %.2f : 1", when, qPrintable(s.Name), ratio);
        QVERIFY2(ratio >= s.Least, qPrintable(s.Name + QLatin1String(": ") + QString::number(ratio)));
    }
    // The shelf: black on the window's light grey, as designed.
    QWidget *shelf = h.Find(QStringLiteral("Shape1"));
    const QPoint inShelf = shelf->mapToGlobal(shelf->rect().center()) * r;
    const QPoint above = shelf->mapToGlobal(QPoint(shelf->width() / 2, -3)) * r;
    const double shelfRatio = Contrast(QColor(screen.pixel(inShelf)), QColor(screen.pixel(above)));
    qInfo("%s, shelf: %.2f : 1", when, shelfRatio);
    QVERIFY(shelfRatio >= 3.0);
    QCOMPARE(QColor(screen.pixel(above)), GamePalette().color(QPalette::Window));
}

} // namespace

class TestDesktopTheme : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void ownFaceUnderTheDesktopTheme();
    void ownFaceWhenTheThemeChanges();
};

void TestDesktopTheme::initTestCase()
{
    QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"), "runs on X only");
}

void TestDesktopTheme::ownFaceUnderTheDesktopTheme()
{
    if (qEnvironmentVariableIsSet("SOSUDNIK_XSETTINGS"))
        QSKIP("this run switches the theme instead");
    QVERIFY2(DarkDesktop(), "the desktop theme is not dark: is qt6-gtk-platformtheme installed?");
    Harness h;
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    CheckScreen(h, "dark theme");
}

void TestDesktopTheme::ownFaceWhenTheThemeChanges()
{
    const QString settings = qEnvironmentVariable("SOSUDNIK_XSETTINGS");
    const int daemon = qEnvironmentVariableIntValue("SOSUDNIK_XSETTINGSD_PID");
    if (settings.isEmpty() || daemon <= 0)
        QSKIP("needs an XSETTINGS daemon (desktop_theme.sh)");
    if (QLibraryInfo::version() < QVersionNumber(6, 5))
        QSKIP("Qt's GTK platform theme follows a theme change from Qt 6.5 on");
    QVERIFY2(!DarkDesktop(), "the desktop should start light");
    Harness h;
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    CheckScreen(h, "light theme");

    QFile file(settings);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("Net/ThemeName \"Adwaita-dark\"\n");
    file.close();
    QCOMPARE(::kill(daemon, SIGHUP), 0);
    QVERIFY2(QTest::qWaitFor(DarkDesktop, 20'000), "the desktop never turned dark");
    CheckScreen(h, "after the switch to dark");
}

QTEST_MAIN(TestDesktopTheme)
#include "tst_desktop_theme.moc"
