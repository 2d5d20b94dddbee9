// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lazy_icon.h"

#include <QFont>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

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

// The game's icon, read from the resources once for the application and
// its windows.
inline QIcon AppIcon()
{
    static const QIcon icon(EmbeddedPng(QStringLiteral(":/sosudnik.png")));
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
