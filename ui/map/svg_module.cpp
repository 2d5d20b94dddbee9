// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The lazy library "svg": Qt SVG's generator behind MapSvg.
#include "svg_module.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

namespace {

class Library final : public MapSvg {
public:
    QByteArray Paint(const QSizeF &size, const QString &title, const QString &description,
                     void (*paint)(QPainter &painter, void *context), void *context) const override
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size.toSize());
        svg.setViewBox(QRectF(QPointF(), size));
        svg.setTitle(title);
        svg.setDescription(description);
        QPainter painter;
        if (!painter.begin(&svg))
            return {};
        paint(painter, context);
        return painter.end() ? bytes : QByteArray();
    }
};

} // namespace

SOSUDNIK_LAZY_EXPORT(MapSvg, Library);
