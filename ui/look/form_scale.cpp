// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "form_scale.h"

#include <QLabel>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

qreal g_scale = 1.0;

constexpr std::array<qreal, 19> kSteps{0.5, 0.6, 0.67, 0.75, 0.8, 0.9, 1.0, 1.1, 1.25, 1.5,
                                       1.75, 2.0, 2.5, 3.0, 3.5, 4.0, 5.0, 6.0, 8.0};

int Scaled(int value, qreal scale)
{
    return static_cast<int>(std::lround(value * scale));
}

} // namespace

qreal FormScale()
{
    return g_scale;
}

void SetFormScale(qreal scale)
{
    g_scale = std::clamp(scale, kSmallestScale, kLargestScale);
}

qreal LargerScale(qreal scale)
{
    for (const qreal step : kSteps) {
        if (step > scale + 0.001)
            return step;
    }
    return kLargestScale;
}

qreal SmallerScale(qreal scale)
{
    for (auto it = kSteps.rbegin(); it != kSteps.rend(); ++it) {
        if (*it < scale - 0.001)
            return *it;
    }
    return kSmallestScale;
}

qreal ScaleThatFits(QSizeF form, QMargins frame, QRect available)
{
    if (form.isEmpty() || available.isEmpty())
        return 1.0;
    const qreal across = (available.width() - frame.left() - frame.right()) / form.width();
    const qreal down = (available.height() - frame.top() - frame.bottom()) / form.height();
    const qreal fits = std::floor(std::min(across, down) * 20 + 1e-9) / 20;
    return std::clamp(fits, kSmallestScale, kLargestScale);
}

QFont ScaledFont(const QFont &font, qreal scale)
{
    QFont scaled = font;
    if (font.pointSizeF() > 0)
        scaled.setPointSizeF(font.pointSizeF() * scale);
    else if (font.pixelSize() > 0)
        scaled.setPixelSize(std::max(1, Scaled(font.pixelSize(), scale)));
    return scaled;
}

void FollowFormScale(QWidget *dialog, QSize designed)
{
    const qreal scale = FormScale();
    if (scale == 1.0)
        return;
    dialog->setFont(ScaledFont(dialog->font(), scale));
    if (designed.isValid())
        dialog->resize(ScaledRect(QRect(QPoint(), designed), scale).size());
}

QRect ScaledRect(const QRect &rect, qreal scale)
{
    const int left = Scaled(rect.left(), scale);
    const int top = Scaled(rect.top(), scale);
    return {left, top, Scaled(rect.left() + rect.width(), scale) - left,
            Scaled(rect.top() + rect.height(), scale) - top};
}

void ScaledWidgets::Add(QWidget *widget)
{
    Entry e;
    e.Widget = widget;
    e.Geometry = widget->geometry();
    e.Placed = true;
    e.FixedSize = widget->minimumSize() == widget->maximumSize();
    e.OwnFont = widget->testAttribute(Qt::WA_SetFont);
    e.Font = widget->font();
    m_entries << e;
}

void ScaledWidgets::AddFont(QWidget *widget)
{
    Entry e;
    e.Widget = widget;
    e.OwnFont = true;
    e.Font = widget->font();
    m_entries << e;
}

bool ScaledWidgets::FollowFormScale()
{
    const qreal scale = FormScale();
    if (scale == m_followed)
        return false;
    m_followed = scale;
    Apply(scale);
    return true;
}

void ScaledWidgets::Apply(qreal scale) const
{
    // Fonts first: a label's size below may follow its text.
    for (const Entry &e : m_entries) {
        if (e.Widget && e.OwnFont)
            e.Widget->setFont(ScaledFont(e.Font, scale));
    }
    for (const Entry &e : m_entries) {
        if (!e.Widget || !e.Placed)
            continue;
        QRect to = ScaledRect(e.Geometry, scale);
        if (auto *label = qobject_cast<QLabel *>(e.Widget.data()); label && scale != 1.0)
            to.setSize(to.size().expandedTo(label->sizeHint()));
        if (e.FixedSize)
            e.Widget->setFixedSize(to.size());
        e.Widget->setGeometry(to);
    }
}
