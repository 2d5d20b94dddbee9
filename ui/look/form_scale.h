// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QList>
#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QSize>

class QWidget;

// The scale every window of the game is drawn at: positions, sizes, fonts
// and pictures together. 1 is the form as it was designed, pixel for pixel.
// Not remembered between runs: the fit at start decides.
qreal FormScale();
void SetFormScale(qreal scale);

inline constexpr qreal kSmallestScale = 0.5;
inline constexpr qreal kLargestScale = 8.0;

// The steps of "Крупнее" and "Мельче": the next one above or below.
qreal LargerScale(qreal scale);
qreal SmallerScale(qreal scale);

// The largest scale, to a twentieth, at which a window fits `available`: at
// scale s it is `form` * s (its contents, menu bar included) plus a frame
// that does not scale. Never below kSmallestScale.
qreal ScaleThatFits(QSizeF form, QMargins frame, QRect available);

// A font at a scale: its size multiplied (a pixel size as well).
QFont ScaledFont(const QFont &font, qreal scale);

// A dialog laid out by Qt at the game's scale: its font, and its first
// size when it has one. At scale 1 it is left as it is.
void FollowFormScale(QWidget *dialog, QSize designed = {});

// A rectangle at a scale: its edges scaled and rounded, so neighbours stay
// neighbours.
QRect ScaledRect(const QRect &rect, qreal scale);

// Widgets placed by hand, remembered at scale 1 and drawn at any scale:
// their geometry (or fixed size) and the fonts set on them. A label grows
// to its text where rounding would clip it.
class ScaledWidgets {
public:
    // Places and sizes, and a font of its own if it has one.
    void Add(QWidget *widget);
    // Its font only: a window, a menu, a widget a layout places.
    void AddFont(QWidget *widget);
    void Apply(qreal scale) const;
    // A dialog's widgets at the game's scale when it is shown: applied only
    // when the scale changed since the last time. Says whether it did.
    bool FollowFormScale();

private:
    struct Entry {
        QPointer<QWidget> Widget;
        QRect Geometry;
        bool Placed = false;
        bool FixedSize = false;
        bool OwnFont = false;
        QFont Font;
    };
    QList<Entry> m_entries;
    qreal m_followed = 1.0;
};
