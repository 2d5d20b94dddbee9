// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "map_painter.h"

#include <QPixmap>
#include <QWidget>

#include <memory>
#include <optional>

// The map in a window: painted to fit the widget, with the three levels (and,
// once the player asks for them, the pours from the start) of the position
// under the pointer as a tooltip.
class MapView final : public QWidget {
    Q_OBJECT

public:
    explicit MapView(QWidget *parent = nullptr);

    // A null map shows that there is no task yet.
    void Show(std::shared_ptr<const PourMap> map, MapScene scene);
    void ShowDistances(bool on);

    const PourMap *Map() const { return m_map.get(); }
    const MapScene &Scene() const { return m_scene; }
    // The scene as painted now: its font and pixel follow the widget.
    MapScene PaintedScene() const;
    // What the tooltip says at a point of the widget; empty for nothing there.
    QString ToolTipAt(QPointF point) const;
    // Where a position is painted.
    QPointF PointOf(const MapLevels &levels) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    // What the ground was painted for: painted again only when it changes.
    struct GroundKey {
        QSize Size;
        qreal Ratio = 0;
        bool Lesson = false;
        bool Shortest = false;
        bool Path = false; // the legend tells the path's marks
        qreal Pixel = 0;
        QFont Font;
        bool operator==(const GroundKey &) const = default;
    };

    std::shared_ptr<const PourMap> m_map;
    std::unique_ptr<MapPainter> m_painter;
    MapScene m_scene;
    bool m_distances = false;
    // The map without the player's path, as last painted, and where its
    // numbers stand.
    QPixmap m_ground;
    GroundKey m_groundKey;
    std::optional<LabelPlaces> m_groundLabels;
};
