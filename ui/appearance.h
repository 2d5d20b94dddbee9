// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QIcon>

// Liberation Sans is metric-compatible with the classic Windows sans faces the
// layout was made for; DejaVu Sans, Debian's default, is wider and would clip.
// The game's icon, read from the resources once for the application and
// both windows.
inline QIcon AppIcon()
{
    static const QIcon icon(QStringLiteral(":/sosudnik.png"));
    return icon;
}

inline QFont UiFont(int points, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

// The glyphs of "Назад" and "Выход", the game's own: the style's would look
// the icon theme up on disk at start-up. QIcon finds the @2x files itself.
inline QIcon RetryGlyph()
{
    return QIcon(QStringLiteral(":/glyph_retry.png"));
}

inline QIcon CloseGlyph()
{
    return QIcon(QStringLiteral(":/glyph_close.png"));
}
