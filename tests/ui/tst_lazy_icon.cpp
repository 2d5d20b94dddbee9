// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// An icon read when first drawn looks exactly as the icon Qt makes of the
// same PNGs read at once: at every size, screen scale and mode a widget asks
// for, whether as a pixmap, painted, or as the size it would take.
#include "appearance.h"
#include "lazy_icon.h"

#include <QApplication>
#include <QPainter>
#include <QResource>
#include <QtTest>

class TestLazyIcon : public QObject {
    Q_OBJECT

private slots:
    void drawsAsQtsOwnIcon_data();
    void drawsAsQtsOwnIcon();
    void deferredIconIsMadeWhenFirstDrawn();
    void rawTwinsHoldThePngsPixels_data();
    void rawTwinsHoldThePngsPixels();
};

namespace {

QIcon ReadAtOnce(const QList<IconFile> &files)
{
    QIcon icon;
    for (const IconFile &file : files)
        icon.addPixmap(EmbeddedPng(file.Path, file.Ratio));
    return icon;
}

QImage Painted(const QIcon &icon, int size, qreal scale, QIcon::Mode mode)
{
    QImage canvas(QSize(size, size) * scale, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(scale);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    icon.paint(&painter, QRect(0, 0, size, size), Qt::AlignCenter, mode);
    return canvas;
}

QImage Argb(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

void TestLazyIcon::drawsAsQtsOwnIcon_data()
{
    QTest::addColumn<QList<IconFile>>("files");
    QTest::newRow("retry glyph, 16 and 32 at 2x") << QList<IconFile>{
        {QStringLiteral(":/glyph_retry.png"), 16}, {QStringLiteral(":/glyph_retry@2x.png"), 32, 2.0}};
    QTest::newRow("close glyph, 16 and 32 at 2x") << QList<IconFile>{
        {QStringLiteral(":/glyph_close.png"), 16}, {QStringLiteral(":/glyph_close@2x.png"), 32, 2.0}};
    QTest::newRow("one picture, several sizes") << QList<IconFile>{
        {QStringLiteral(":/glyph_close.png"), 16}, {QStringLiteral(":/glyph_retry@2x.png"), 32}};
}

void TestLazyIcon::drawsAsQtsOwnIcon()
{
    QFETCH(QList<IconFile>, files);
    for (const int size : {8, 12, 16, 20, 24, 32, 48}) {
        for (const qreal scale : {1.0, 1.25, 2.0}) {
            for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active}) {
                // Each from a fresh icon: the first request decides what is read.
                const QIcon lazy = LazyPngIcon(files);
                const QIcon eager = ReadAtOnce(files);
                const QString where = QStringLiteral("%1 px at %2, mode %3").arg(size).arg(scale).arg(int(mode));
                const QPixmap ours = lazy.pixmap(QSize(size, size), scale, mode);
                const QPixmap theirs = eager.pixmap(QSize(size, size), scale, mode);
                QVERIFY2(!ours.isNull(), qPrintable(where));
                QVERIFY2(ours.devicePixelRatio() == theirs.devicePixelRatio(), qPrintable(where));
                QVERIFY2(Argb(ours) == Argb(theirs), qPrintable(where));
                QVERIFY2(Painted(LazyPngIcon(files), size, scale, mode) == Painted(eager, size, scale, mode),
                         qPrintable(where));
                QVERIFY2(LazyPngIcon(files).actualSize(QSize(size, size), mode) == eager.actualSize(QSize(size, size), mode),
                         qPrintable(where));
            }
        }
    }
    QVERIFY(!LazyPngIcon(files).isNull());
    QVERIFY(LazyPngIcon({}).isNull());
}

void TestLazyIcon::deferredIconIsMadeWhenFirstDrawn()
{
    const QList<IconFile> files{{QStringLiteral(":/glyph_retry.png"), 16},
                                {QStringLiteral(":/glyph_retry@2x.png"), 32, 2.0}};
    const QIcon eager = ReadAtOnce(files);
    int made = 0;
    const QIcon deferred = DeferredIcon([&made, &files] {
        ++made;
        return ReadAtOnce(files);
    });
    QVERIFY(!deferred.isNull());
    QCOMPARE(made, 0);
    for (const qreal scale : {1.0, 1.25, 2.0}) {
        const QPixmap ours = deferred.pixmap(QSize(16, 16), scale);
        const QPixmap theirs = eager.pixmap(QSize(16, 16), scale);
        QCOMPARE(ours.devicePixelRatio(), theirs.devicePixelRatio());
        QCOMPARE(Argb(ours), Argb(theirs));
        QCOMPARE(Painted(deferred, 16, scale, QIcon::Normal), Painted(eager, 16, scale, QIcon::Normal));
    }
    QCOMPARE(made, 1);
}

// The icon and glyphs of the first frame are taken from their raw twins,
// without a PNG decoder: stored uncompressed, as large as their pixels, and
// pixel for pixel the PNGs. A size that does not match falls back to the PNG.
void TestLazyIcon::rawTwinsHoldThePngsPixels_data()
{
    QTest::addColumn<QString>("png");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<bool>("twin");
    QTest::newRow("icon") << QStringLiteral(":/sosudnik.png") << 32 << true;
    QTest::newRow("retry") << QStringLiteral(":/glyph_retry.png") << 16 << true;
    QTest::newRow("retry@2x") << QStringLiteral(":/glyph_retry@2x.png") << 32 << true;
    QTest::newRow("close") << QStringLiteral(":/glyph_close.png") << 16 << true;
    QTest::newRow("close@2x") << QStringLiteral(":/glyph_close@2x.png") << 32 << true;
    QTest::newRow("size not the twin's") << QStringLiteral(":/glyph_close.png") << 17 << false;
}

void TestLazyIcon::rawTwinsHoldThePngsPixels()
{
    QFETCH(QString, png);
    QFETCH(int, pixels);
    QFETCH(bool, twin);
    const QResource raw(png.chopped(4) + QStringLiteral(".rgba"));
    QVERIFY(raw.isValid());
    QCOMPARE(raw.compressionAlgorithm() == QResource::NoCompression
                 && raw.size() == qint64(pixels) * pixels * 4, twin);
    const QPixmap taken = EmbeddedPicture(png, pixels, 2.0);
    const QPixmap decoded = EmbeddedPng(png, 2.0);
    QCOMPARE(taken.devicePixelRatio(), 2.0);
    QCOMPARE(Argb(taken), Argb(decoded));
}

QTEST_MAIN(TestLazyIcon)
#include "tst_lazy_icon.moc"
