// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <array>

class VesselPicture;

// «Анимация переливания»: after a pour, an undo or a redo the liquid moves
// to its new level in the pictures for a fifth of a second instead of at
// once. Only the painting eases: the levels, the log and the boxes change as
// ever, at once. Any input while it moves (a press, a key, a wheel) first
// shows the last frame, so no command ever waits for it.
class PourAnimation final : public QObject {
    Q_OBJECT

public:
    PourAnimation(std::array<VesselPicture *, 3> pictures, QObject *parent);

    // SOSUDNIK_NO_ANIMATION=1 in the environment: off for the whole run.
    static bool ForcedOff();

    // Off at first.
    bool On() const { return m_on && !ForcedOff(); }
    void SetOn(bool on);

    // Draws vessel n (1 to 3); eased when moved by a pour, an undo or a
    // redo and the animation is on.
    void Draw(int n, int capacity, int level, bool moved);

    bool Easing() const;
    // Every picture at its last frame, at once.
    void FinishAll();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Watch(bool on);

    std::array<VesselPicture *, 3> m_pictures;
    bool m_on = false;
    bool m_watching = false;
};
