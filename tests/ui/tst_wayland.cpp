// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The game on Wayland, natively (a headless weston; wayland.sh sets it up):
// the window is shown, a screen reader finds the vessels, and keys pour.
// The headless compositor has no input device, so the keys are sent from
// inside the process, through the window as the platform would hand them.
#include "window_harness.h"

#include <QAccessible>
#include <QGuiApplication>

class TestWayland : public QObject {
    Q_OBJECT

private slots:
    void playsOnWayland();
};

void TestWayland::playsOnWayland()
{
    QVERIFY2(QGuiApplication::platformName().startsWith(QLatin1String("wayland")),
             qPrintable(QGuiApplication::platformName()));
    Harness h; // shown and exposed, or the harness stops
    QVERIFY(h.window.isVisible());
    h.window.StartTaskCode("12,7,5/12,0,0/6");

    for (int n = 1; n <= 3; ++n) {
        QAccessibleInterface *vessel = QAccessible::queryAccessibleInterface(h.Image(n));
        QVERIFY(vessel);
        QCOMPARE(vessel->text(QAccessible::Name), QString::fromUtf8("Сосуд %1").arg(n));
    }
    QCOMPARE(QAccessible::queryAccessibleInterface(h.Image(1))->text(QAccessible::Value),
             QString::fromUtf8("12 из 12"));

    QTest::keyClick(h.Handle(), Qt::Key_1);
    QTest::keyClick(h.Handle(), Qt::Key_2);
    QCOMPARE(h.Levels(), (std::array<int, 3>{5, 7, 0}));
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 2);
    QCOMPARE(QAccessible::queryAccessibleInterface(h.Image(2))->text(QAccessible::Value),
             QString::fromUtf8("7 из 7"));
}

QTEST_MAIN(TestWayland)
#include "tst_wayland.moc"
