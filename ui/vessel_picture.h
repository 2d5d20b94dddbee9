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

    // A white box with a black outline, blue up to level/capacity.
    void Draw(int capacity, int level);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_tag;
    QImage m_surface;
};
