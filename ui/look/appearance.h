// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lazy_icon.h"

#include <QFont>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QResource>

// An embedded PNG, read as PNG. Left to guess, QImageReader would load every
// image plugin on disk (and QtSvg and libjpeg with them) to ask each whether
// it reads the file: milliseconds and memory at start-up for nothing.
inline QPixmap EmbeddedPng(const QString &path, qreal devicePixelRatio = 1.0)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    QPixmap pixmap = QPixmap::fromImage(reader.read());
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

// An embedded square picture `pixels` wide: its raw twin beside the PNG
// ("name.rgba", premultiplied RGBA bytes row by row, stored uncompressed)
// when there is one, taken as it is; else the PNG. The icon and the glyphs
// of the first frame need no PNG decoder that way.
inline QPixmap EmbeddedPicture(const QString &png, int pixels, qreal devicePixelRatio = 1.0)
{
    const QResource raw(png.chopped(4) + QStringLiteral(".rgba"));
    const qint64 bytes = qint64(pixels) * pixels * 4;
    if (!png.endsWith(QLatin1String(".png")) || !raw.isValid()
        || raw.compressionAlgorithm() != QResource::NoCompression || raw.size() != bytes)
        return EmbeddedPng(png, devicePixelRatio);
    const QImage image(raw.data(), pixels, pixels, pixels * 4, QImage::Format_RGBA8888_Premultiplied);
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

// The game's icon, read from the resources once for the application and
// its windows.
inline QIcon AppIcon()
{
    static const QIcon icon(EmbeddedPicture(QStringLiteral(":/sosudnik.png"), 32));
    return icon;
}

// Liberation Sans is metric-compatible with the classic Windows sans faces the
// layout was made for; DejaVu Sans, Debian's default, is wider and would clip.
inline QFont UiFont(int points, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

// The glyphs of "Назад" and "Выход", the game's own: the style's would look
// the icon theme up on disk at start-up. 16 pixels, and twice that for HiDPI,
// read when drawn (lazy_icon.h).
inline QIcon Glyph(const QString &name)
{
    return LazyPngIcon({{QStringLiteral(":/%1.png").arg(name), 16},
                        {QStringLiteral(":/%1@2x.png").arg(name), 32, 2.0}});
}

inline QIcon RetryGlyph()
{
    return Glyph(QStringLiteral("glyph_retry"));
}

inline QIcon CloseGlyph()
{
    return Glyph(QStringLiteral("glyph_close"));
}
