// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "vessel_picture.h"

#include <QAccessible>
#include <QPainter>

#include <algorithm>

namespace {

// Draws in the surface's own pixels, `ratio` of them per form pixel; h is
// the picture's height in the form, where the level's row is reckoned.
void PaintVessel(QImage &surface, qreal ratio, int h, int capacity, int level)
{
    const int line = std::max(1, qRound(ratio));
    const int w = surface.width();
    const int height = surface.height();
    const qreal shown = surface.devicePixelRatio();
    surface.setDevicePixelRatio(1);
    QPainter p(&surface);
    p.fillRect(0, 0, w, height, Qt::black);
    p.fillRect(line, line, w - 2 * line, height - 2 * line, Qt::white);
    if (level > 0 && capacity > 0) {
        // The row in form pixels, then scaled: the level sits where it
        // would on an unscaled screen.
        const int top = h - (level * h) / capacity;
        if (top < h) {
            const int row = std::min(qRound(top * ratio), height - line);
            p.fillRect(0, row, w, line, Qt::black);
            p.fillRect(line, row + line, w - 2 * line, height - line - (row + line), QColor(0, 0, 255));
        }
    }
    p.end();
    surface.setDevicePixelRatio(shown);
}

} // namespace

QImage VesselImage(QSize size, qreal ratio, int capacity, int level)
{
    QImage surface(size * ratio, QImage::Format_RGB32);
    surface.setDevicePixelRatio(ratio);
    PaintVessel(surface, ratio, size.height(), capacity, level);
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

void VesselPicture::Draw(int capacity, int level)
{
    m_drawnCapacity = capacity;
    m_drawnLevel = level;
    Paint();
    update();
    SetReading(capacity, level);
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
    // The form's scale and the screen's make the picture's own pixels.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (m_surface.size() != pixels)
        m_surface = QImage(pixels, QImage::Format_RGB32);
    m_surface.setDevicePixelRatio(ratio);
    PaintVessel(m_surface, ratio * height() / m_formHeight, m_formHeight, m_drawnCapacity, m_drawnLevel);
}

void VesselPicture::resizeEvent(QResizeEvent *)
{
    Paint();
}

void VesselPicture::paintEvent(QPaintEvent *)
{
    // Moved to a screen of another scale: paint the surface again for it.
    if (m_surface.devicePixelRatio() != devicePixelRatioF())
        Paint();
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
}
