// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The form drawn at a scale: the fit to a screen, the steps of "&Масштаб",
// the form at 1 exactly as designed, and at other scales every control
// inside the window with none of its text cut.
#include "window_harness.h"

#include "form_scale.h"
#include "modal_helpers.h"
#include "window_zoom.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>

#include <cmath>

namespace {

const QStringList kMilk = {"12", "7", "5", "12", "0", "0", "6"};

void Trigger(Harness &h, const char *name)
{
    h.window.findChild<QAction *>(QString::fromLatin1(name))->trigger();
}

// Whether a text shows whole in `box` with the widget's font.
bool Fits(const QWidget *w, const QString &text, QRect box, int flags = Qt::AlignLeft)
{
    QString shown = text;
    shown.remove(QLatin1Char('&'));
    const QRect needed = w->fontMetrics().boundingRect(box, flags, shown);
    return box.contains(needed) || (needed.width() <= box.width() + 1 && needed.height() <= box.height() + 1);
}

} // namespace

class TestScale : public QObject {
    Q_OBJECT

private slots:
    void init();
    void scaleThatFits_data();
    void scaleThatFits();
    void steps();
    void atOneAsDesigned();
    void everythingInsideAndWhole_data();
    void everythingInsideAndWhole();
    void playsAtAScale();
    void taskDialogFollows();
    void picturesOnWholeScreenPixels();
};

void TestScale::init()
{
    SetFormScale(1.0);
}

void TestScale::scaleThatFits_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<double>("scale");
    // The window at 1: 642 x 494 (a 21-pixel menu bar), a 4, 30, 4, 4 frame.
    QTest::newRow("800x600 at 100 %, a panel") << QRect(0, 27, 800, 573) << 1.05;
    QTest::newRow("1024x600 at 125 %") << QRect(0, 22, 819, 458) << 0.85;
    QTest::newRow("1280x1024 at 200 %") << QRect(0, 0, 640, 512) << 0.95;
    QTest::newRow("1920x1080") << QRect(0, 32, 1920, 1048) << 2.05;
    QTest::newRow("4K") << QRect(0, 0, 3840, 2160) << 4.3;
    QTest::newRow("tiny") << QRect(0, 0, 200, 100) << kSmallestScale;
    QTest::newRow("huge") << QRect(0, 0, 20000, 20000) << kLargestScale;
}

void TestScale::scaleThatFits()
{
    QFETCH(QRect, available);
    QFETCH(double, scale);
    const qreal fits = ScaleThatFits(QSizeF(642, 494), QMargins(4, 30, 4, 4), available);
    QCOMPARE(fits, scale);
    if (fits > kSmallestScale && fits < kLargestScale) {
        // It fits, and a twentieth more would not.
        QVERIFY(642 * fits + 8 <= available.width() && 494 * fits + 34 <= available.height());
        const qreal more = fits + 0.05;
        QVERIFY(642 * more + 8 > available.width() || 494 * more + 34 > available.height());
    }
}

void TestScale::steps()
{
    QCOMPARE(LargerScale(1.0), 1.1);
    QCOMPARE(SmallerScale(1.0), 0.9);
    QCOMPARE(LargerScale(0.93), 1.0); // a fitted scale goes to the next step
    QCOMPARE(SmallerScale(0.93), 0.9);
    QCOMPARE(SmallerScale(kSmallestScale), kSmallestScale);
    QCOMPARE(LargerScale(kLargestScale), kLargestScale);
    QCOMPARE(ScaledRect(QRect(32, 48, 105, 145), 2.0), QRect(64, 96, 210, 290));
    // Neighbours stay neighbours: the right edge of one is the left of the next.
    const QRect a = ScaledRect(QRect(0, 0, 50, 1), 0.85), b = ScaledRect(QRect(50, 0, 50, 1), 0.85);
    QCOMPARE(a.left() + a.width(), b.left());
}

// At 1 nothing moves: back from another scale, the window is as it was.
void TestScale::atOneAsDesigned()
{
    Harness h;
    h.TypeAndStart(kMilk);
    QCOMPARE(h.window.size().width(), 642);
    const QImage designed = h.window.grab().toImage();
    Trigger(h, "MnuZoomIn");
    QVERIFY(h.window.width() > 642);
    QVERIFY(h.window.grab().toImage() != designed);
    Trigger(h, "MnuZoomNormal");
    QCOMPARE(FormScale(), 1.0);
    QCOMPARE(h.window.grab().toImage(), designed);
}

void TestScale::everythingInsideAndWhole_data()
{
    QTest::addColumn<double>("scale");
    QTest::newRow("0.8") << 0.8;
    QTest::newRow("2") << 2.0;
    QTest::newRow("0.67") << 0.67;
}

void TestScale::everythingInsideAndWhole()
{
    QFETCH(double, scale);
    Harness h;
    h.TypeAndStart(kMilk);
    h.window.findChild<WindowZoom *>()->Apply(scale);
    QCoreApplication::processEvents();

    QCOMPARE(h.window.centralWidget()->size(), ScaledRect(QRect(0, 0, 642, 448), scale).size());
    const QRect window = h.window.rect();
    for (QWidget *w : h.window.findChildren<QWidget *>()) {
        if (!w->isVisible() || w->isWindow())
            continue;
        const QRect in = QRect(w->mapTo(&h.window, QPoint()), w->size());
        QVERIFY2(window.contains(in), qPrintable(w->objectName() + QLatin1String(" outside the window")));
    }
    for (auto *label : h.window.findChildren<QLabel *>()) {
        if (label->isVisible() && !label->text().isEmpty())
            QVERIFY2(Fits(label, label->text(), label->contentsRect(), int(label->alignment())),
                     qPrintable(label->objectName() + QLatin1String(" cut")));
    }
    for (auto *box : h.window.findChildren<QGroupBox *>())
        QVERIFY2(Fits(box, box->title(), QRect(7, 0, box->width() - 7, box->fontMetrics().height() + 1)),
                 qPrintable(box->objectName()));
    for (auto *button : h.window.findChildren<QPushButton *>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const int flags = Qt::AlignCenter | (button->objectName().startsWith(QLatin1String("BtnBegin")) ||
                                                     button->objectName() == QLatin1String("BtnXml")
                                                 ? Qt::TextWordWrap
                                                 : 0);
        QRect room = contents;
        if (!button->icon().isNull())
            room.setWidth(room.width() - button->iconSize().width() - 4);
        QVERIFY2(Fits(button, button->text(), room, flags), qPrintable(button->objectName()));
    }
    // The menu bar's entries, and the window takes what they need.
    QMenuBar *bar = h.window.menuBar();
    for (QAction *a : bar->actions())
        QVERIFY2(bar->actionGeometry(a).right() < bar->width(), qPrintable(a->text()));
}

// At 2 the pictures are twice the size, and a drag still pours.
void TestScale::playsAtAScale()
{
    Harness h;
    h.TypeAndStart(kMilk);
    h.window.findChild<WindowZoom *>()->Apply(2.0);
    // Twice the form's 32, 48, 105 x 145 (moved by a pixel or two to whole
    // screen pixels on a screen of 125 %).
    const QRect placed = h.Image(1)->geometry();
    const QRect doubled(64, 96, 210, 290);
    for (const auto &[got, want] : {std::pair{placed.left(), doubled.left()}, std::pair{placed.top(), doubled.top()},
                                    std::pair{placed.right(), doubled.right()},
                                    std::pair{placed.bottom(), doubled.bottom()}})
        QVERIFY2(std::abs(got - want) <= 3, qPrintable(QStringLiteral("%1 for %2").arg(got).arg(want)));
    const QImage shown = h.Image(1)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = shown.devicePixelRatio();
    const int middle = shown.width() / 2;
    QCOMPARE(QColor(shown.pixel(middle, shown.height() / 2)), QColor(0, 0, 255)); // full: blue all through
    QCOMPARE(QColor(shown.pixel(0, shown.height() / 2)), QColor(Qt::black));
    h.Drag(h.Center(h.Image(1)), h.Center(h.Image(2)));
    QCOMPARE(h.Levels(), (std::array<int, 3>{5, 7, 0}));
    QCOMPARE(h.Image(1)->geometry(), placed); // back in its place
    // 5 of 12: the blue begins at the form's row 145 - 5 * 145 / 12, scaled.
    const QImage after = h.Image(1)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int row = qRound((145 - 5 * 145 / 12) * ratio * placed.height() / 145.0);
    QCOMPARE(QColor(after.pixel(middle, row)), QColor(Qt::black));
    QCOMPARE(QColor(after.pixel(middle, row + 4)), QColor(0, 0, 255));
    QCOMPARE(QColor(after.pixel(middle, row - 3)), QColor(Qt::white));
}

void TestScale::taskDialogFollows()
{
    Harness h;
    h.window.findChild<WindowZoom *>()->Apply(1.5);
    QSize shown;
    QSize picture;
    WhenShown(h.window.TaskDialog(), [&](TfrmTask &d) {
        shown = d.size();
        picture = d.findChild<QLabel *>(QStringLiteral("Image1"))->pixmap().deviceIndependentSize().toSize();
        d.reject();
    });
    h.window.MnuTasksClick();
    QCOMPARE(shown, ScaledRect(QRect(0, 0, 591, 393), 1.5).size());
    QCOMPARE(picture, QSize(780, 342));
}

// On a screen of 125 % or 150 % a picture at a fraction of a screen pixel
// loses the last column of its outline (run by ctest at those scales too).
void TestScale::picturesOnWholeScreenPixels()
{
    Harness h;
    const qreal ratio = h.window.devicePixelRatioF();
    for (const qreal scale : {0.9, 0.8, 1.1, 1.75}) {
        h.window.findChild<WindowZoom *>()->Apply(scale);
        for (int n = 1; n <= 3; ++n) {
            const QRect g = h.Image(n)->geometry();
            for (const int v : {g.x(), g.y(), g.width(), g.height()})
                QVERIFY2(std::abs(v * ratio - std::round(v * ratio)) < 1e-6,
                         qPrintable(QStringLiteral("Image%1 at %2: %3").arg(n).arg(scale).arg(v)));
        }
    }
}

QTEST_MAIN(TestScale)
#include "tst_scale.moc"
