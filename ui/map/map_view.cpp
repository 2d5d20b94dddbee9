// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "map_view.h"

#include "form_scale.h"
#include "wording.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace {

// How near the pointer must be to a dot, in pixels of the look.
constexpr qreal kReach = 7;

} // namespace

MapView::MapView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MapView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(QString::fromUtf8("Карта переливаний"));
    setMouseTracking(false);
}

void MapView::Show(std::shared_ptr<const PourMap> map, MapScene scene)
{
    if (map != m_map) {
        m_painter = map ? std::make_unique<MapPainter>(*map) : nullptr;
        m_ground = QPixmap();
    }
    m_map = std::move(map);
    m_scene = std::move(scene);
    update();
}

void MapView::ShowDistances(bool on)
{
    m_distances = on;
}

MapScene MapView::PaintedScene() const
{
    MapScene scene = m_scene;
    scene.Font = font();
    scene.Pixel = FormScale();
    return scene;
}

QPointF MapView::PointOf(const MapLevels &levels) const
{
    if (!m_painter)
        return {};
    const MapScene scene = PaintedScene();
    return m_painter->Where(levels, m_painter->Fit(QRectF(rect()), scene));
}

void MapView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_painter) {
        painter.fillRect(rect(), Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                         QString::fromUtf8("Задача еще не выбрана: выберите «Данные → Новые» или «Задачи»."));
        return;
    }
    // A pour changes only the path: the rest comes from the ground painted before.
    const MapScene scene = PaintedScene();
    const qreal ratio = devicePixelRatioF();
    const GroundKey key{size(), ratio, scene.Lesson, scene.Shortest, !scene.Player.empty(), scene.Pixel, scene.Font};
    if (m_ground.isNull() || !(key == m_groundKey)) {
        m_ground = QPixmap(size() * ratio);
        m_ground.setDevicePixelRatio(ratio);
        QPainter ground(&m_ground);
        m_groundLabels = MapPainter::NewLabels(scene);
        m_painter->PaintGround(ground, QRectF(rect()), scene, *m_groundLabels);
        m_groundKey = key;
    }
    painter.drawPixmap(0, 0, m_ground);
    LabelPlaces labels = *m_groundLabels;
    m_painter->PaintPath(painter, QRectF(rect()), scene, labels);
}

QString MapView::ToolTipAt(QPointF point) const
{
    if (!m_painter)
        return {};
    const MapScene scene = PaintedScene();
    const std::optional<MapLevels> near = m_painter->Near(point, kReach * scene.Pixel, QRectF(rect()), scene);
    if (!near)
        return {};
    const MapLevels &l = *near;
    QString text = QStringLiteral("V1 = %1, V2 = %2, V3 = %3").arg(l[0]).arg(l[1]).arg(l[2]);
    QStringList rows;
    for (const PathRun &run : scene.Player) {
        for (const PathVertex &v : run) {
            if (v.Levels == l)
                rows << QString::number(v.Row);
        }
    }
    if (!rows.isEmpty()) {
        // A path may pass one place many times: the first few rows say enough.
        if (rows.size() > 8)
            rows = rows.mid(0, 8) << QStringLiteral("…");
        text += QLatin1Char('\n') + QString::fromUtf8(rows.size() == 1 ? "Ход " : "Ходы ")
            + rows.join(QStringLiteral(", "));
    }
    if (!scene.Lesson && m_distances) {
        if (const ReachedPosition *reached = m_map->Find(l))
            text += QString::fromUtf8("\nОт начала: ") + QString::fromStdString(PourCount(reached->Pours));
    }
    return text;
}

bool MapView::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString text = ToolTipAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}
