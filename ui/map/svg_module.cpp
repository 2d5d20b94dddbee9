// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "svg_module.h"

#include <QPainter>
#include <QSvgGenerator>

extern "C" Q_DECL_EXPORT bool SosudnikPaintSvg(QIODevice *out, const QSizeF *size, const QString *title,
                                               const QString *description,
                                               void (*paint)(QPainter *painter, void *context), void *context)
{
    QSvgGenerator svg;
    svg.setOutputDevice(out);
    svg.setSize(size->toSize());
    svg.setViewBox(QRectF(QPointF(), *size));
    svg.setTitle(*title);
    svg.setDescription(*description);
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    paint(&painter, context);
    return painter.end();
}

// The module's function has the type its loader expects.
[[maybe_unused]] static constexpr PaintSvgFunction kChecked = &SosudnikPaintSvg;
