// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "map_file.h"

#include "advice.h"
#include "map_painter.h"
#include "svg_module.h"
#include "task_code.h"
#include "wording.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cctype>
#include <string>

namespace {

// Sizes in pixels of the look: a PNG at 1.5 of them a pixel, an SVG at one.
constexpr QSizeF kSheet(720, 640);
constexpr qreal kPngPixel = 1.5;
constexpr int kPdfDotsPerInch = 300;
constexpr qreal kScreenDotsPerInch = 96;

QFont SheetFont(qreal pixels, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, qRound(pixels)));
    font.setBold(bold);
    return font;
}

QString Heading(const PourMap &map)
{
    return QString::fromUtf8("Карта переливаний: задача ") + QString::fromStdString(TaskCode(map.Task()));
}

QString Subheading(const PourMap &map)
{
    const Solution &solution = map.Shortest();
    if (!solution.Solved())
        return QString::fromStdString(UnsolvableText(solution, map.Task()));
    return QString::fromUtf8("Кратчайшее решение — ") + QString::fromStdString(PourCount(solution.Pours()))
        + QString::fromUtf8(". Положений, достижимых из начала: ") + QString::number(map.Reachable().size())
        + QLatin1Char('.');
}

QByteArray Png(const PourMap &map)
{
    const QSize size = (kSheet * kPngPixel).toSize();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintMapSheet(painter, QRectF(QPointF(), QSizeF(size)), map, kPngPixel);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray Svg(const PourMap &map)
{
    const auto paint = [](QPainter &painter, void *context) {
        PaintMapSheet(painter, QRectF(QPointF(), kSheet), *static_cast<const PourMap *>(context), 1);
    };
    QByteArray bytes;
    try {
        // The painting needs nothing from the library but the page it paints on.
        bytes = Lazy<MapSvg>().Paint(kSheet, Heading(map), Subheading(map), paint, const_cast<PourMap *>(&map));
    } catch (const LazyLibraryMissing &missing) {
        throw MapFileError(missing.what());
    }
    if (bytes.isEmpty())
        throw MapFileError("Карта в SVG не нарисована");
    return bytes;
}

QByteArray Pdf(const PourMap &map)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setResolution(kPdfDotsPerInch);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    pdf.setTitle(Heading(map));
    pdf.setCreator(QString::fromUtf8("Сосудник"));
    QPainter painter(&pdf);
    const qreal pixel = kPdfDotsPerInch / kScreenDotsPerInch;
    // The sheet's proportions at the top of the page.
    const QRectF page(0, 0, pdf.width(), pdf.height());
    const qreal height = std::min(page.height(), page.width() * kSheet.height() / kSheet.width());
    PaintMapSheet(painter, QRectF(page.topLeft(), QSizeF(page.width(), height)), map, pixel);
    painter.end();
    return bytes;
}

} // namespace

std::optional<MapFileFormat> MapFileFormatOf(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::nullopt;
    std::string extension(path.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "png")
        return MapFileFormat::Png;
    if (extension == "svg")
        return MapFileFormat::Svg;
    if (extension == "pdf")
        return MapFileFormat::Pdf;
    return std::nullopt;
}

void PaintMapSheet(QPainter &painter, const QRectF &rect, const PourMap &map, qreal pixel)
{
    painter.save();
    painter.fillRect(rect, Qt::white);
    const QFont heading = SheetFont(15 * pixel, true);
    const QFont text = SheetFont(11 * pixel);
    const qreal margin = 8 * pixel;
    qreal top = rect.top() + margin;
    painter.setPen(Qt::black);
    for (const auto &[line, font] : {std::pair{Heading(map), heading}, std::pair{Subheading(map), text}}) {
        painter.setFont(font);
        const QRectF box(rect.left() + margin, top, rect.width() - 2 * margin, rect.height());
        const QRectF used = painter.boundingRect(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, line);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, line);
        top = used.bottom() + 4 * pixel;
    }
    MapScene scene;
    scene.Shortest = true;
    scene.Pixel = pixel;
    scene.Font = text;
    MapPainter(map).Paint(painter, QRectF(rect.left(), top, rect.width(), rect.bottom() - top), scene);
    painter.restore();
}

QByteArray MapFileBytes(const TaskPreset &task, MapFileFormat format)
{
    const PourMap map(task);
    switch (format) {
    case MapFileFormat::Png:
        return Png(map);
    case MapFileFormat::Svg:
        return Svg(map);
    case MapFileFormat::Pdf:
        return Pdf(map);
    }
    return {};
}
