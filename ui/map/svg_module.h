// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lazy_library.h"

#include <QByteArray>

class QPainter;
class QSizeF;
class QString;

// The map's SVG writer, in the lazy library "svg" (libsosudnik_svg.so): Qt
// SVG is loaded by the first .svg that `sosudnik --map` writes, never at the
// game's start. It paints with `paint(painter, context)` onto an SVG document
// of `size` (in its own units, a viewBox as large) and gives its bytes; none
// when the document could not be painted. The painting itself stays the
// game's: the library needs nothing of it but this page.
class MapSvg {
public:
    virtual QByteArray Paint(const QSizeF &size, const QString &title, const QString &description,
                             void (*paint)(QPainter &painter, void *context), void *context) const = 0;

protected:
    ~MapSvg() = default;
};

SOSUDNIK_LAZY_NAME(MapSvg, "svg");
