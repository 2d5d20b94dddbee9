// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "map_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

namespace {

const QColor kPaper(255, 255, 255);
const QColor kInside(0xf2, 0xf6, 0xfc);
const QColor kOutline(0x1f, 0x3a, 0x5f);
const QColor kLattice(0xd3, 0xda, 0xe3);
const QColor kTargetLine(0x1b, 0x7a, 0x3e);
const QColor kReached(0x4a, 0x4a, 0x4a);
const QColor kWinning(0xc8, 0x1e, 0x1e);
const QColor kShortest(0xd9, 0x6c, 0x00);
const QColor kPlayer(0x00, 0x4c, 0xc4);
const QColor kStart(0x12, 0x7a, 0x34);
const QColor kText(0x20, 0x20, 0x20);

// In pixels of the look, multiplied by the scene's Pixel.
constexpr qreal kLatticeGap = 4;
constexpr qreal kMargin = 8;
constexpr qreal kReachedRadius = 2.5;
constexpr qreal kWinningRadius = 5.5;
constexpr qreal kVertexRadius = 3;
constexpr qreal kNowRadius = 5.5;
constexpr qreal kStartSide = 9;
constexpr qreal kLegendSymbol = 26;
// Between a corner and its label.
constexpr qreal kLabelGap = 6;
// The newest rows of a path whose numbers are tried.
constexpr int kNumbersTried = 1000;


QString LevelsText(const MapLevels &levels)
{
    return QStringLiteral("%1, %2, %3").arg(levels[0]).arg(levels[1]).arg(levels[2]);
}

// A number beside a vertex, in the first free place around it; none when
// every place is taken or off the rectangle.
void PaintNumber(QPainter &painter, const QFontMetricsF &metrics, LabelPlaces &places, const QRectF &bounds,
                 QPointF at, int number, const QColor &colour, qreal offset)
{
    const QString text = QString::number(number);
    const QSizeF size(metrics.horizontalAdvance(text) + 2, metrics.height());
    const QPointF corners[] = {
        {at.x() + offset, at.y() - offset - size.height()}, // above right
        {at.x() - offset - size.width(), at.y() - offset - size.height()}, // above left
        {at.x() + offset, at.y() + offset}, // below right
        {at.x() - offset - size.width(), at.y() + offset}, // below left
    };
    for (const QPointF &corner : corners) {
        const QRectF box(corner, size);
        if (!bounds.contains(box) || !places.Free(box))
            continue;
        places.Take(box);
        painter.fillRect(box, QColor(255, 255, 255, 210));
        painter.setPen(colour);
        painter.drawText(box, Qt::AlignCenter, text);
        return;
    }
}

// A path's steps and stops, each once however often the path passes it: a
// long game runs over the same few lines many times, and one stroke each is
// what keeps its painting quick.
class DistinctSteps {
public:
    void Stop(const MapLevels &at, QPointF where)
    {
        if (m_stops.insert(Key(at)).second)
            Dots << where;
    }
    void Step(const MapLevels &from, QPointF fromWhere, const MapLevels &to, QPointF toWhere)
    {
        const std::uint64_t a = Key(from);
        const std::uint64_t b = Key(to);
        if (a != b && m_steps.insert(a < b ? a << 20 | b : b << 20 | a).second)
            Lines << QLineF(fromWhere, toWhere);
    }

    QVector<QLineF> Lines;
    QPolygonF Dots;

private:
    // The total is fixed: two levels name a position.
    static std::uint64_t Key(const MapLevels &l) { return static_cast<std::uint64_t>(l[0]) * 1000u + static_cast<std::uint64_t>(l[1]); }

    std::unordered_set<std::uint64_t> m_steps;
    std::unordered_set<std::uint64_t> m_stops;
};

struct LegendItem {
    enum Kind { Start, Player, Now, Reached, Winning, Shortest, TargetLine, Corners } Which;
    const char *Text;
};

std::vector<LegendItem> LegendItems(const PourMap &map, const MapScene &scene)
{
    std::vector<LegendItem> items{{LegendItem::Start, "начало"}};
    if (!scene.Player.empty()) {
        items.push_back({LegendItem::Player, "ваш путь"});
        items.push_back({LegendItem::Now, "сейчас"});
    }
    if (!scene.Lesson) {
        items.push_back({LegendItem::Reached, "достижимое положение"});
        // Only the marks there are.
        if (map.Shortest().Solved()) {
            items.push_back({LegendItem::Winning, "переливание сюда решает задачу"});
            if (scene.Shortest)
                items.push_back({LegendItem::Shortest, "кратчайшее решение"});
        }
    }
    items.push_back({LegendItem::TargetLine, "в сосуде нужный уровень"});
    items.push_back({LegendItem::Corners, "у углов: уровни V1, V2, V3"});
    return items;
}

// The room before an item's text.
qreal SymbolWidth(const LegendItem &item, qreal px)
{
    return item.Which == LegendItem::Corners ? 0 : kLegendSymbol * px + 4 * px;
}

// The items of the legend at their places, row by row, within width.
struct LegendPlace {
    LegendItem Item;
    QRectF Box; // the symbol and the text
};

std::vector<LegendPlace> LayOutLegend(const PourMap &map, const QRectF &rect, const MapScene &scene, qreal &height)
{
    const QFontMetricsF metrics(scene.Font);
    const qreal px = scene.Pixel;
    const qreal line = std::max(metrics.height(), 12 * px) + 4 * px;
    const qreal gap = 14 * px;
    std::vector<LegendPlace> places;
    qreal x = rect.left() + kMargin * px;
    qreal y = 0;
    for (const LegendItem &item : LegendItems(map, scene)) {
        const qreal width = SymbolWidth(item, px) + metrics.horizontalAdvance(QString::fromUtf8(item.Text));
        if (x + width > rect.right() - kMargin * px && x > rect.left() + kMargin * px) {
            x = rect.left() + kMargin * px;
            y += line;
        }
        places.push_back({item, QRectF(x, y, width, line)});
        x += width + gap;
    }
    height = places.empty() ? 0 : y + line + 4 * px;
    return places;
}

void PaintStart(QPainter &painter, QPointF at, qreal px)
{
    const qreal side = kStartSide * px;
    painter.setPen(QPen(kPaper, 1.5 * px));
    painter.setBrush(kStart);
    painter.drawRect(QRectF(at.x() - side / 2, at.y() - side / 2, side, side));
}

void PaintNow(QPainter &painter, QPointF at, qreal px)
{
    painter.setPen(QPen(kPaper, 2 * px));
    painter.setBrush(kPlayer);
    painter.drawEllipse(at, kNowRadius * px, kNowRadius * px);
}

void PaintWinning(QPainter &painter, QPointF at, qreal px)
{
    painter.setPen(QPen(kWinning, 2.2 * px));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, kWinningRadius * px, kWinningRadius * px);
}

// Dots as the round ends of zero-length strokes: one call for thousands.
void PaintDots(QPainter &painter, const QPolygonF &points, const QColor &colour, qreal radius)
{
    painter.setPen(QPen(colour, 2 * radius, Qt::SolidLine, Qt::RoundCap));
    painter.drawPoints(points);
}

QPen PathPen(const QColor &colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

// The lines where a vessel holds the target.
QPen TargetPen(qreal px)
{
    QPen pen(kTargetLine, 1.6 * px, Qt::DashLine, Qt::FlatCap);
    pen.setDashPattern({4, 3});
    return pen;
}

// A path's stroke (and its stops' radius) no wider than half the room
// between two neighbouring lines of the lattice, down to `least`: on a map
// of hundreds of levels a long path still shows its chords, not a block.
qreal Thinned(qreal width, const MapFit &fit, qreal least)
{
    return std::clamp(fit.Scale * kRowHeight / 2, least, std::max(least, width));
}

} // namespace

LabelPlaces::LabelPlaces(qreal cell)
    : m_cell(std::max<qreal>(cell, 1))
{
}

template <class Each>
void LabelPlaces::Cells(const QRectF &box, Each &&each) const
{
    const auto lo = [this](qreal v) { return static_cast<long long>(std::floor(v / m_cell)); };
    for (long long y = lo(box.top()); y <= lo(box.bottom()); ++y) {
        for (long long x = lo(box.left()); x <= lo(box.right()); ++x)
            each(y * 1000003LL + x);
    }
}

bool LabelPlaces::Free(const QRectF &box) const
{
    bool free = true;
    Cells(box, [&](long long key) {
        const auto it = m_boxes.find(key);
        if (it == m_boxes.end())
            return;
        for (const QRectF &other : it->second)
            free = free && !other.intersects(box);
    });
    return free;
}

void LabelPlaces::Take(const QRectF &box)
{
    Cells(box, [&](long long key) { m_boxes[key].push_back(box); });
}

MapPainter::MapPainter(const PourMap &map)
    : m_map(map)
{
}

qreal MapPainter::LegendHeight(const QRectF &rect, const MapScene &scene) const
{
    if (!scene.Legend)
        return 0;
    qreal height = 0;
    LayOutLegend(m_map, rect, scene, height);
    return height;
}

QRectF MapPainter::MapArea(const QRectF &rect, const MapScene &scene) const
{
    return rect.adjusted(0, 0, 0, -LegendHeight(rect, scene));
}

MapFit MapPainter::Fit(const QRectF &rect, const MapScene &scene) const
{
    const QRectF area = MapArea(rect, scene);
    // Room for the corners' labels, centred above or below their corners.
    const QFontMetricsF metrics(scene.Font);
    qreal widest = 0;
    for (const MapLevels &corner : m_map.Corners())
        widest = std::max(widest, metrics.horizontalAdvance(LevelsText(corner)));
    const qreal px = scene.Pixel;
    return MapFit::Into(m_map, area.left(), area.top(), area.width(), area.height(),
                        std::max(kMargin * px, widest / 2 + 4 * px), kMargin * px + metrics.height() + kLabelGap * px);
}

QPointF MapPainter::Where(const MapLevels &levels, const MapFit &fit) const
{
    const MapPoint p = Embed(levels);
    return {fit.X(p), fit.Y(p)};
}

void MapPainter::PaintLattice(QPainter &painter, const MapFit &fit, const MapScene &scene) const
{
    const int step = LatticeStep(fit.Scale, kLatticeGap * scene.Pixel);
    QVector<QLineF> lines;
    for (int n = 1; n <= 3; ++n) {
        const int capacity = m_map.Task().Capacity[static_cast<std::size_t>(n - 1)];
        // Multiples of the step, so the lines left keep their levels as the map grows.
        for (int value = 0; value <= capacity; value += step) {
            if (const std::optional<MapSegment> line = m_map.LineOfEqual(n, value))
                lines.append(QLineF(Where(line->From, fit), Where(line->To, fit)));
        }
    }
    painter.setPen(QPen(kLattice, 1 * scene.Pixel));
    painter.drawLines(lines);
}

void MapPainter::PaintTargetLines(QPainter &painter, const MapFit &fit, const MapScene &scene) const
{
    const QPen pen = TargetPen(scene.Pixel);
    painter.setPen(pen);
    for (int n = 1; n <= 3; ++n) {
        const std::optional<MapSegment> line = m_map.LineOfEqual(n, m_map.Task().Target);
        if (!line)
            continue;
        if (line->From == line->To) {
            PaintDots(painter, QPolygonF{Where(line->From, fit)}, kTargetLine, 2.5 * scene.Pixel);
            painter.setPen(pen);
        } else {
            painter.drawLine(Where(line->From, fit), Where(line->To, fit));
        }
    }
}

void MapPainter::PaintCornerLabels(QPainter &painter, const MapFit &fit, const QRectF &area, const MapScene &scene,
                                   LabelPlaces &labels) const
{
    const auto &corners = m_map.Corners();
    qreal middle = 0;
    for (const MapLevels &corner : corners)
        middle += Where(corner, fit).y();
    middle /= static_cast<qreal>(corners.size());
    const QFontMetricsF metrics(painter.font());
    const qreal gap = kLabelGap * scene.Pixel;
    painter.setPen(kText);
    for (const MapLevels &corner : corners) {
        const QPointF at = Where(corner, fit);
        const QString text = LevelsText(corner);
        const QSizeF size(metrics.horizontalAdvance(text) + 2, metrics.height());
        // Below a corner in the lower half, above any other (a point, a
        // segment's ends and a hexagon's middle corners included).
        const bool below = at.y() > middle + 1e-6;
        QRectF box(QPointF(), size);
        box.moveCenter(QPointF(at.x(), below ? at.y() + gap + size.height() / 2 : at.y() - gap - size.height() / 2));
        // Kept inside, where the rectangle is too small for the margin.
        box.moveLeft(std::clamp(box.left(), area.left(), std::max(area.left(), area.right() - box.width())));
        box.moveTop(std::clamp(box.top(), area.top(), std::max(area.top(), area.bottom() - box.height())));
        labels.Take(box);
        painter.drawText(box, Qt::AlignCenter, text);
    }
}

void MapPainter::PaintLegend(QPainter &painter, const QRectF &rect, const MapScene &scene) const
{
    qreal height = 0;
    const std::vector<LegendPlace> places = LayOutLegend(m_map, rect, scene, height);
    const qreal px = scene.Pixel;
    const qreal top = rect.bottom() - height;
    for (const LegendPlace &place : places) {
        const QRectF box = place.Box.translated(0, top);
        const QPointF mid(box.left() + kLegendSymbol * px / 2, box.center().y());
        const QLineF stroke(box.left() + 2 * px, mid.y(), box.left() + kLegendSymbol * px - 2 * px, mid.y());
        switch (place.Item.Which) {
        case LegendItem::Start:
            PaintStart(painter, mid, px);
            break;
        case LegendItem::Player:
            painter.setPen(PathPen(kPlayer, 2.5 * px));
            painter.drawLine(stroke);
            break;
        case LegendItem::Now:
            PaintNow(painter, mid, px);
            break;
        case LegendItem::Reached:
            PaintDots(painter, QPolygonF{mid}, kReached, kReachedRadius * px);
            break;
        case LegendItem::Winning:
            PaintDots(painter, QPolygonF{mid}, kReached, kReachedRadius * px);
            PaintWinning(painter, mid, px);
            break;
        case LegendItem::Shortest:
            painter.setPen(PathPen(kShortest, 2.2 * px));
            painter.drawLine(stroke);
            break;
        case LegendItem::TargetLine:
            painter.setPen(TargetPen(px));
            painter.drawLine(stroke);
            break;
        case LegendItem::Corners:
            break;
        }
        painter.setPen(kText);
        painter.drawText(box.adjusted(SymbolWidth(place.Item, px), 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromUtf8(place.Item.Text));
    }
}

LabelPlaces MapPainter::NewLabels(const MapScene &scene)
{
    return LabelPlaces(QFontMetricsF(scene.Font).height() * 2);
}

void MapPainter::Paint(QPainter &painter, const QRectF &rect, const MapScene &scene) const
{
    LabelPlaces labels = NewLabels(scene);
    PaintGround(painter, rect, scene, labels);
    PaintPath(painter, rect, scene, labels);
}

void MapPainter::PaintGround(QPainter &painter, const QRectF &rect, const MapScene &scene, LabelPlaces &labels) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(scene.Font);
    painter.fillRect(rect, kPaper);
    const qreal px = scene.Pixel;
    const QRectF area = MapArea(rect, scene);
    const MapFit fit = Fit(rect, scene);

    // The polygon (or its segment, or its point) and the lattice inside it.
    QPolygonF outline;
    for (const MapLevels &corner : m_map.Corners())
        outline << Where(corner, fit);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInside);
    if (outline.size() > 2)
        painter.drawPolygon(outline);
    PaintLattice(painter, fit, scene);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kOutline, 1.6 * px, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (outline.size() > 2)
        painter.drawPolygon(outline);
    else if (outline.size() == 2)
        painter.drawLine(outline[0], outline[1]);
    else
        PaintDots(painter, outline, kOutline, 2 * px);
    PaintTargetLines(painter, fit, scene);
    PaintCornerLabels(painter, fit, area, scene, labels);

    if (!scene.Lesson) {
        QPolygonF reached;
        reached.reserve(static_cast<qsizetype>(m_map.Reachable().size()));
        for (const ReachedPosition &p : m_map.Reachable())
            reached << Where(p.Levels, fit);
        PaintDots(painter, reached, kReached, kReachedRadius * px);
        for (const ReachedPosition &p : m_map.Reachable()) {
            if (p.Winning)
                PaintWinning(painter, Where(p.Levels, fit), px);
        }
    }

    if (!scene.Lesson && scene.Shortest) {
        DistinctSteps steps;
        std::vector<QPointF> at;
        const std::vector<MapLevels> path = m_map.ShortestPath();
        for (std::size_t i = 0; i < path.size(); ++i) {
            at.push_back(Where(path[i], fit));
            steps.Stop(path[i], at.back());
            if (i > 0)
                steps.Step(path[i - 1], at[i - 1], path[i], at[i]);
        }
        painter.setPen(PathPen(kShortest, Thinned(2.2 * px, fit, 0.5 * px)));
        painter.drawLines(steps.Lines);
        PaintDots(painter, steps.Dots, kShortest, Thinned(kVertexRadius * px, fit, 1 * px));
        const QFontMetricsF metrics(painter.font());
        for (std::size_t i = 1; i < at.size(); ++i)
            PaintNumber(painter, metrics, labels, area, at[i], static_cast<int>(i), kShortest, 3 * px);
    }

    if (scene.Legend)
        PaintLegend(painter, rect, scene);
    painter.restore();
}

void MapPainter::PaintPath(QPainter &painter, const QRectF &rect, const MapScene &scene, LabelPlaces &labels) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(scene.Font);
    const qreal px = scene.Pixel;
    const QRectF area = MapArea(rect, scene);
    const MapFit fit = Fit(rect, scene);

    DistinctSteps player;
    for (const PathRun &run : scene.Player) {
        QPointF before;
        for (std::size_t i = 0; i < run.size(); ++i) {
            const QPointF at = Where(run[i].Levels, fit);
            player.Stop(run[i].Levels, at);
            if (i > 0)
                player.Step(run[i - 1].Levels, before, run[i].Levels, at);
            before = at;
        }
    }
    painter.setPen(PathPen(kPlayer, Thinned(2.5 * px, fit, 0.8 * px)));
    painter.drawLines(player.Lines);
    PaintDots(painter, player.Dots, kPlayer, Thinned(kVertexRadius * px, fit, 1.2 * px));
    PaintStart(painter, Where(m_map.Start(), fit), px);
    if (!scene.Player.empty() && !scene.Player.back().empty())
        PaintNow(painter, Where(scene.Player.back().back().Levels, fit), px);

    // Numbers over every line, the newest rows first. Past a few hundred
    // they could not be read anyway: the older ones are not tried.
    const QFontMetricsF metrics(painter.font());
    int tried = 0;
    for (auto run = scene.Player.rbegin(); run != scene.Player.rend() && tried < kNumbersTried; ++run) {
        for (auto v = run->rbegin(); v != run->rend() && tried < kNumbersTried; ++v, ++tried) {
            if (v->Row > 0)
                PaintNumber(painter, metrics, labels, area, Where(v->Levels, fit), v->Row, kPlayer, 3 * px);
        }
    }
    painter.restore();
}

std::optional<MapLevels> MapPainter::Near(QPointF point, qreal radius, const QRectF &rect,
                                          const MapScene &scene) const
{
    const MapFit fit = Fit(rect, scene);
    std::optional<MapLevels> best;
    qreal bestDistance = radius;
    const auto consider = [&](const MapLevels &levels) {
        const QPointF at = Where(levels, fit);
        const qreal d = std::hypot(at.x() - point.x(), at.y() - point.y());
        if (d <= bestDistance) {
            bestDistance = d;
            best = levels;
        }
    };
    consider(m_map.Start());
    if (!scene.Lesson) {
        for (const ReachedPosition &p : m_map.Reachable())
            consider(p.Levels);
    }
    for (const PathRun &run : scene.Player) {
        for (const PathVertex &v : run)
            consider(v.Levels);
    }
    return best;
}
