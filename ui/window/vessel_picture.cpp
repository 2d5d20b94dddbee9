// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "vessel_picture.h"

#include <QAccessible>
#include <QPainter>
#include <QVariantAnimation>

#include <algorithm>

namespace {

// The top row of the liquid in a picture h form pixels high: the stated
// rule, in whole rows; h when there is none to draw.
int LevelTop(int h, int capacity, int level)
{
    if (level <= 0 || capacity <= 0)
        return h;
    return h - (level * h) / capacity;
}

// Draws in the surface's own pixels, `ratio` of them per form pixel; h is
// the picture's height in the form, where the liquid's top row is reckoned
// (a fraction of a row while easing).
void PaintVessel(QImage &surface, qreal ratio, int h, qreal top)
{
    const int line = std::max(1, qRound(ratio));
    const int w = surface.width();
    const int height = surface.height();
    const qreal shown = surface.devicePixelRatio();
    surface.setDevicePixelRatio(1);
    QPainter p(&surface);
    p.fillRect(0, 0, w, height, Qt::black);
    p.fillRect(line, line, w - 2 * line, height - 2 * line, Qt::white);
    // The row in form pixels, then scaled: the level sits where it would on
    // an unscaled screen.
    if (top < h) {
        const int row = std::min(qRound(top * ratio), height - line);
        p.fillRect(0, row, w, line, Qt::black);
        p.fillRect(line, row + line, w - 2 * line, height - line - (row + line), QColor(0, 0, 255));
    }
    p.end();
    surface.setDevicePixelRatio(shown);
}

} // namespace

QImage VesselImage(QSize size, qreal ratio, int capacity, int level)
{
    QImage surface(size * ratio, QImage::Format_RGB32);
    surface.setDevicePixelRatio(ratio);
    PaintVessel(surface, ratio, size.height(), LevelTop(size.height(), capacity, level));
    return surface;
}

VesselPicture::VesselPicture(const QString &name, int tag, const QRect &geometry, QWidget *parent)
    : QWidget(parent)
    , m_tag(tag)
    , m_formHeight(geometry.height())
    , m_surface(geometry.size(), QImage::Format_RGB32)
{
    setObjectName(name);
    setGeometry(geometry);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_surface.fill(Qt::white);
}

void VesselPicture::Draw(int capacity, int level, bool eased)
{
    const qreal from = Easing() ? m_shownTop : DrawnTop();
    m_drawnCapacity = capacity;
    m_drawnLevel = level;
    SetReading(capacity, level);
    if (!eased || from == DrawnTop()) {
        if (m_ease)
            m_ease->stop();
        Paint();
        update();
        return;
    }
    if (!m_ease) {
        m_ease = new QVariantAnimation(this);
        m_ease->setDuration(kEaseMs);
        m_ease->setStartValue(0.0);
        m_ease->setEndValue(1.0);
        m_ease->setEasingCurve(QEasingCurve::InOutQuad);
        connect(m_ease, &QVariantAnimation::valueChanged, this, [this](const QVariant &done) {
            if (!Easing())
                return;
            m_shownTop = m_easeFrom + (DrawnTop() - m_easeFrom) * done.toReal();
            Paint(m_shownTop);
            update();
        });
        connect(m_ease, &QVariantAnimation::finished, this, [this] {
            Paint();
            update();
            emit Eased();
        });
    }
    m_ease->stop();
    m_easeFrom = from;
    m_shownTop = from;
    m_ease->start();
}

bool VesselPicture::Easing() const
{
    return m_ease && m_ease->state() == QAbstractAnimation::Running;
}

void VesselPicture::FinishEasing()
{
    if (!Easing())
        return;
    m_ease->stop();
    Paint();
    update();
}

qreal VesselPicture::DrawnTop() const
{
    return LevelTop(m_formHeight, m_drawnCapacity, m_drawnLevel);
}

void VesselPicture::SetReading(int capacity, int level)
{
    if (capacity == m_capacity && level == m_level)
        return;
    m_capacity = capacity;
    m_level = level;
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent value(this, level);
    QAccessible::updateAccessibility(&value);
    QAccessibleEvent description(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&description);
}

void VesselPicture::SetMarked(bool on)
{
    if (on == m_marked)
        return;
    m_marked = on;
    if (!QAccessible::isActive())
        return;
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent state(this, changed);
    QAccessible::updateAccessibility(&state);
    QAccessibleEvent description(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&description);
}

void VesselPicture::Paint()
{
    Paint(DrawnTop());
}

void VesselPicture::Paint(qreal top)
{
    // The form's scale and the screen's make the picture's own pixels.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (m_surface.size() != pixels)
        m_surface = QImage(pixels, QImage::Format_RGB32);
    m_surface.setDevicePixelRatio(ratio);
    PaintVessel(m_surface, ratio * height() / m_formHeight, m_formHeight, top);
}

void VesselPicture::resizeEvent(QResizeEvent *)
{
    Paint(Easing() ? m_shownTop : DrawnTop());
}

void VesselPicture::paintEvent(QPaintEvent *)
{
    // Moved to a screen of another scale: paint the surface again for it.
    if (m_surface.devicePixelRatio() != devicePixelRatioF())
        Paint(Easing() ? m_shownTop : DrawnTop());
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
}
