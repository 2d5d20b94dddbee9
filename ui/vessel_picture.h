// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QWidget>

// One vessel: a picture with its own drawing surface, painted from a
// capacity and a level and shown as it was last painted.
class VesselPicture : public QWidget {
public:
    // The picture's size is fixed: its surface is made once, at that size.
    VesselPicture(const QString &name, int tag, const QRect &geometry, QWidget *parent = nullptr);

    int Tag() const { return m_tag; }
    const QImage &Surface() const { return m_surface; }

    // A white box with a black outline, blue up to level/capacity. The
    // picture then reads out these two numbers (SetReading).
    void Draw(int capacity, int level);

    // What a screen reader is told: the level out of the capacity, and
    // whether the vessel is marked as the source of a pour from the keyboard.
    // Each change is announced to it.
    int Capacity() const { return m_capacity; }
    int Level() const { return m_level; }
    bool Marked() const { return m_marked; }
    void SetReading(int capacity, int level);
    void SetMarked(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_tag;
    QImage m_surface;
    int m_capacity = 0;
    int m_level = 0;
    bool m_marked = false;
};
