// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "pour_map.h"

#include <QFont>
#include <QPointF>
#include <QRectF>

#include <optional>
#include <unordered_map>
#include <vector>

class QPainter;

// Where labels already stand, so that a new one never covers another: a
// coarse grid of cells, each listing the boxes that touch it.
class LabelPlaces {
public:
    // cell: about twice a label's height.
    explicit LabelPlaces(qreal cell);

    bool Free(const QRectF &box) const;
    void Take(const QRectF &box);

private:
    template <class Each>
    void Cells(const QRectF &box, Each &&each) const;

    qreal m_cell;
    std::unordered_map<long long, std::vector<QRectF>> m_boxes;
};

// What goes on the map besides the polygon, its lattice and the start.
struct MapScene {
    // A lesson: the lines where a vessel holds the target and the pupil's
    // own path only; no reachable position, winning mark, shortest path or
    // count of pours, which would answer what the lesson leaves to the pupil.
    bool Lesson = false;
    // The player's rows, numbered by row; the last one is where the game stands.
    std::vector<PathRun> Player;
    // One shortest solution from the start, numbered by pour.
    bool Shortest = false;
    // A key to the marks below the map.
    bool Legend = true;
    // Device units to one pixel of the look: the game's scale on a screen,
    // a printer's dots per pixel on paper.
    qreal Pixel = 1;
    // The labels' font, already at that size.
    QFont Font;
};

// Paints a task's map onto any painter, fitted into any rectangle: a window,
// an image, an SVG or PDF page. The lattice is thinned to lines at least 4
// pixels apart; dots and paths are always drawn whole.
class MapPainter {
public:
    explicit MapPainter(const PourMap &map);

    // All of it: the ground, then the path.
    void Paint(QPainter &painter, const QRectF &rect, const MapScene &scene) const;
    // What stays while the game goes on: the polygon, its lattice and
    // corners, the target's lines, the reachable positions and winning
    // marks, the shortest solution with its numbers, and the legend. The
    // numbers take their places in labels.
    void PaintGround(QPainter &painter, const QRectF &rect, const MapScene &scene, LabelPlaces &labels) const;
    // The player's path with its numbers where labels leaves room, the start
    // and the present position: what a pour changes.
    void PaintPath(QPainter &painter, const QRectF &rect, const MapScene &scene, LabelPlaces &labels) const;
    // No label placed yet, for this scene's font.
    static LabelPlaces NewLabels(const MapScene &scene);

    // Where the map itself goes within rect (the legend takes the bottom).
    QRectF MapArea(const QRectF &rect, const MapScene &scene) const;
    // How positions land in rect: Fit(...).X(Embed(levels)), and Y.
    MapFit Fit(const QRectF &rect, const MapScene &scene) const;
    QPointF Where(const MapLevels &levels, const MapFit &fit) const;

    // The position drawn nearest to point, within `radius`: a reached one
    // (not in a lesson), a row of the player's path, or the start.
    std::optional<MapLevels> Near(QPointF point, qreal radius, const QRectF &rect, const MapScene &scene) const;

private:
    void PaintLattice(QPainter &painter, const MapFit &fit, const MapScene &scene) const;
    void PaintTargetLines(QPainter &painter, const MapFit &fit, const MapScene &scene) const;
    void PaintCornerLabels(QPainter &painter, const MapFit &fit, const QRectF &area, const MapScene &scene,
                           LabelPlaces &labels) const;
    void PaintLegend(QPainter &painter, const QRectF &rect, const MapScene &scene) const;
    qreal LegendHeight(const QRectF &rect, const MapScene &scene) const;

    const PourMap &m_map;
};
