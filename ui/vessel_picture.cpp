// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "vessel_picture.h"

#include <QAccessible>
#include <QPainter>

VesselPicture::VesselPicture(const QString &name, int tag, const QRect &geometry, QWidget *parent)
    : QWidget(parent)
    , m_tag(tag)
    , m_surface(geometry.size(), QImage::Format_RGB32)
{
    setObjectName(name);
    setGeometry(geometry);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_surface.fill(Qt::white);
}

void VesselPicture::Draw(int capacity, int level)
{
    const int w = m_surface.width();
    const int h = m_surface.height();
    QPainter p(&m_surface);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 0));

    // drawRect(x, y, w, h) with a one-pixel pen covers w + 1 columns, so
    // w - 1 puts the outline on the picture's outermost pixels.
    p.setBrush(Qt::white);
    p.drawRect(0, 0, w - 1, h - 1);

    if (level > 0 && capacity > 0) {
        const int top = h - (level * h) / capacity;
        if (top < h) {
            p.setBrush(QColor(0, 0, 255));
            p.drawRect(0, top, w - 1, h - 1 - top);
        }
    }
    p.end();
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

void VesselPicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
}
