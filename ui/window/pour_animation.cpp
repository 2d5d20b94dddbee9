// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "pour_animation.h"

#include "vessel_picture.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>

PourAnimation::PourAnimation(std::array<VesselPicture *, 3> pictures, QObject *parent)
    : QObject(parent)
    , m_pictures(pictures)
{
    for (VesselPicture *picture : m_pictures) {
        connect(picture, &VesselPicture::Eased, this, [this] {
            if (!Easing())
                Watch(false);
        });
    }
}

bool PourAnimation::ForcedOff()
{
    return qEnvironmentVariable("SOSUDNIK_NO_ANIMATION") == QLatin1String("1");
}

void PourAnimation::SetOn(bool on)
{
    m_on = on;
    if (!On())
        FinishAll();
}

void PourAnimation::Draw(int n, int capacity, int level, bool moved)
{
    VesselPicture *picture = m_pictures[static_cast<std::size_t>(n - 1)];
    picture->Draw(capacity, level, moved && On());
    if (picture->Easing())
        Watch(true);
}

bool PourAnimation::Easing() const
{
    return std::any_of(m_pictures.begin(), m_pictures.end(), [](const VesselPicture *p) { return p->Easing(); });
}

void PourAnimation::FinishAll()
{
    for (VesselPicture *picture : m_pictures)
        picture->FinishEasing();
    Watch(false);
}

// Watches the whole application's input only while something moves.
void PourAnimation::Watch(bool on)
{
    if (on == m_watching)
        return;
    m_watching = on;
    if (on)
        QCoreApplication::instance()->installEventFilter(this);
    else
        QCoreApplication::instance()->removeEventFilter(this);
}

bool PourAnimation::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        // The input goes on to whatever it was meant for.
        FinishAll();
        break;
    default:
        break;
    }
    return false;
}
