// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QWidget>

class QVariantAnimation;

// A vessel of `size` (in pixels of the form) painted for a screen of `ratio`
// device pixels per form pixel: a white box with a black outline, blue up to
// level/capacity. The outline and the level line are round(ratio) device
// pixels wide, so they stay even and sharp at any scale; at ratio 1 this is
// the classic one-pixel drawing.
QImage VesselImage(QSize size, qreal ratio, int capacity, int level);

// One vessel: a picture with its own drawing surface, painted from a
// capacity and a level and shown as it was last painted.
class VesselPicture : public QWidget {
    Q_OBJECT

public:
    // geometry: its place and size in the form at scale 1; the level is
    // reckoned in those pixels at any size the picture is given later.
    VesselPicture(const QString &name, int tag, const QRect &geometry, QWidget *parent = nullptr);

    int Tag() const { return m_tag; }

    // A white box with a black outline, blue up to level/capacity. The
    // picture then reads out these two numbers (SetReading) at once.
    // eased: the liquid moves there from where it is shown over kEaseMs
    // instead, and the last frame is the very picture painted at once.
    void Draw(int capacity, int level, bool eased = false);

    static constexpr int kEaseMs = 200;
    bool Easing() const;
    // Shows the last frame at once.
    void FinishEasing();

    // What a screen reader is told: the level out of the capacity, and
    // whether the vessel is marked as the source of a pour from the keyboard.
    // Each change is announced to it.
    int Capacity() const { return m_capacity; }
    int Level() const { return m_level; }
    bool Marked() const { return m_marked; }
    void SetReading(int capacity, int level);
    void SetMarked(bool on);

signals:
    // An easing ran to its end.
    void Eased();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The surface as drawn: the liquid's top at `top` form rows (the
    // picture's height: none).
    void Paint(qreal top);
    void Paint();
    // The top of the liquid as last drawn, in form rows.
    qreal DrawnTop() const;

    int m_tag;
    int m_formHeight;
    // As last drawn, to paint the surface again at another scale.
    int m_drawnCapacity = 0;
    int m_drawnLevel = 0;
    QImage m_surface;
    // While easing: from where, and where it is shown now.
    QVariantAnimation *m_ease = nullptr;
    qreal m_easeFrom = 0;
    qreal m_shownTop = 0;
    // As last read out.
    int m_capacity = 0;
    int m_level = 0;
    bool m_marked = false;
};
