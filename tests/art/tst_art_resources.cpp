// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
//
// The game opens these pictures by resource path and lays out its dialogs
// around their sizes, so a regenerated or re-saved file must keep them.

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QtEndian>
#include <QtTest>

class TestArtResources : public QObject {
    Q_OBJECT

private slots:
    void taskPicture_data();
    void taskPicture();
    void doubleSizeTaskPicture_data();
    void doubleSizeTaskPicture();
    void icon();
    void largeIcon();
    void buttonGlyphs_data();
    void buttonGlyphs();
};

void TestArtResources::taskPicture_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("milk") << QStringLiteral(":/task_milk.bmp") << QSize(520, 228);
    QTest::newRow("kvass") << QStringLiteral(":/task_kvass.bmp") << QSize(565, 302);
}

void TestArtResources::taskPicture()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);

    QFile f(path);
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.size() > 54);
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    // BITMAPINFOHEADER: width at 18, height at 22, bits per pixel at 28.
    QCOMPARE(qFromLittleEndian<qint32>(bytes.constData() + 18), size.width());
    QCOMPARE(qAbs(qFromLittleEndian<qint32>(bytes.constData() + 22)), size.height());
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));

    const QImage img(path);
    QVERIFY(!img.isNull());
    QCOMPARE(img.size(), size);

    // Paper, not a blank or placeholder: warm corners and plenty of shades.
    const QRgb corner = img.pixel(2, 2);
    QVERIFY(qRed(corner) > qBlue(corner) + 15);
    QSet<QRgb> shades;
    for (int y = 0; y < img.height(); y += 3)
        for (int x = 0; x < img.width(); x += 3)
            shades.insert(img.pixel(x, y));
    QVERIFY2(shades.size() > 200, qPrintable(QString::number(shades.size())));
}

void TestArtResources::doubleSizeTaskPicture_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("single");
    QTest::newRow("milk") << QStringLiteral(":/task_milk@2x.png") << QStringLiteral(":/task_milk.bmp");
    QTest::newRow("kvass") << QStringLiteral(":/task_kvass@2x.png") << QStringLiteral(":/task_kvass.bmp");
}

// The same picture drawn at twice the size: what high-density screens show.
void TestArtResources::doubleSizeTaskPicture()
{
    QFETCH(QString, path);
    QFETCH(QString, single);
    QImageReader reader(path);
    QCOMPARE(reader.format(), QByteArray("png"));
    const QImage big = reader.read();
    const QImage small = QImage(single).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!big.isNull());
    QCOMPARE(big.size(), small.size() * 2);
    QCOMPARE(big.devicePixelRatio(), 2.0); // from "@2x" in the name
    QVERIFY(!big.hasAlphaChannel());

    // Halved, it matches the single-size picture to within anti-aliasing.
    const QImage halved = big.convertToFormat(QImage::Format_RGB32)
                              .scaled(small.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    qint64 difference = 0;
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x) {
            const QRgb a = small.pixel(x, y), b = halved.pixel(x, y);
            difference += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
        }
    const double mean = double(difference) / (3.0 * small.width() * small.height());
    QVERIFY2(mean < 6, qPrintable(QString::number(mean)));
}

void TestArtResources::icon()
{
    QImageReader reader(QStringLiteral(":/sosudnik.png"));
    QCOMPARE(reader.format(), QByteArray("png"));
    const QImage img = reader.read();
    QVERIFY(!img.isNull());
    QCOMPARE(img.size(), QSize(32, 32));
    QCOMPARE(img.format(), QImage::Format_Indexed8);
    QVERIFY(img.colorCount() <= 16);

    // Transparent around the drawing, and the stream is there.
    QCOMPARE(qAlpha(img.pixel(0, 31)), 0);
    bool blue = false;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb c = img.pixel(x, y);
            blue = blue || (qAlpha(c) == 255 && qBlue(c) > qRed(c) + 80);
        }
    QVERIFY(blue);
}

void TestArtResources::largeIcon()
{
    // The desktop's icon at 64 pixels, as installed.
    const QImage img(QStringLiteral(SOSUDNIK_ICON_64));
    QCOMPARE(img.size(), QSize(64, 64));
    QVERIFY(img.hasAlphaChannel());
}

void TestArtResources::buttonGlyphs_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    QTest::newRow("retry") << QStringLiteral(":/glyph_retry.png") << 16;
    QTest::newRow("retry@2x") << QStringLiteral(":/glyph_retry@2x.png") << 32;
    QTest::newRow("close") << QStringLiteral(":/glyph_close.png") << 16;
    QTest::newRow("close@2x") << QStringLiteral(":/glyph_close@2x.png") << 32;
}

// The buttons show them at the style's 16 pixels: square, on a transparent
// ground, with a drawing that fills a good part of the square.
void TestArtResources::buttonGlyphs()
{
    QFETCH(QString, path);
    QFETCH(int, size);
    const QImage img(path);
    QCOMPARE(img.size(), QSize(size, size));
    QVERIFY(img.hasAlphaChannel());
    QCOMPARE(qAlpha(img.pixel(0, size - 1)), 0);
    int opaque = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            opaque += qAlpha(img.pixel(x, y)) > 128 ? 1 : 0;
    QVERIFY2(opaque > size * size / 6, qPrintable(QString::number(opaque)));
}

QTEST_GUILESS_MAIN(TestArtResources)
#include "tst_art_resources.moc"
