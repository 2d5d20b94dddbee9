// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>

#include <array>
#include <functional>

class QWidget;
class VesselPicture;

// Pouring by the vessels' numbers: the first of the digits 1, 2, 3 (top row
// or keypad) marks its vessel as the source, with a frame around its
// picture; the second pours into its vessel. The same digit again, or
// Escape, lets go of the mark. Only keys that reach the window count, so an
// open editor keeps its digits and a drag, which holds the keyboard, keeps
// its Escape.
class KeyboardPour final : public QObject {
    Q_OBJECT

public:
    // 1 <= source, receiver <= 3, source != receiver.
    using PourHandler = std::function<void(int source, int receiver)>;

    // mayPour: whether the digits pour now (play, no drag, no open menu).
    KeyboardPour(QWidget *window, std::array<VesselPicture *, 3> pictures, std::function<bool()> mayPour,
                 PourHandler pour);

    // Takes the digits and Escape before a control that would use them
    // itself (the list searches its rows by typed text).
    void Watch(QWidget *control);

    // Marks vessel n as the source, 0 <= n <= 3; 0 lets go.
    void Mark(int n);
    // Lets go of any mark and pours.
    void Pour(int source, int receiver);
    // The frame that marks the source: it follows its picture, at any scale.
    const QWidget *Frame() const { return m_frame; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // One digit: marks, pours or lets go.
    void Press(int n);
    bool IsPicture(const QObject *o) const;

    std::array<VesselPicture *, 3> m_pictures;
    std::function<bool()> m_mayPour;
    PourHandler m_pour;
    QPointer<QWidget> m_frame; // a child of the form, which may go first
    int m_source = 0;
};
