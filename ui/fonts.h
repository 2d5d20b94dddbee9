// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>

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
