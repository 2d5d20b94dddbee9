// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "drag_gesture.h"

#include "vessel_picture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <algorithm>

DragGesture::DragGesture(QWidget *form, std::array<VesselPicture *, 3> pictures, std::vector<QWidget *> formLayer,
                         Handlers handlers)
    : QObject(form)
    , m_form(form)
    , m_pictures(pictures)
    , m_formLayer(std::move(formLayer))
    , m_handlers(std::move(handlers))
{
    for (VesselPicture *p : m_pictures)
        p->installEventFilter(this);
    // Losing the grab cancels; on X11 nobody says so, but the window loses
    // activation when another window or a menu takes over.
    m_form->window()->installEventFilter(this);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (m_source && state != Qt::ApplicationActive)
            Finish(false);
    });
}

DragGesture::Target DragGesture::TargetAt(QPoint global) const
{
    QWidget *w = QApplication::widgetAt(global);
    if (!w || w->window() != m_form->window())
        return {};
    for (VesselPicture *p : m_pictures) {
        if (w == p)
            return {p, true};
    }
    if (std::find(m_formLayer.begin(), m_formLayer.end(), w) != m_formLayer.end())
        return {m_form, true};
    return {w, false};
}

bool DragGesture::Deliver(const Target &target, QPoint global)
{
    if (!target.Sender || !target.RunsCode)
        return false;
    return m_handlers.DragOver(target.Sender, m_source, target.Sender->mapFromGlobal(global));
}

void DragGesture::Begin(VesselPicture *source, QPoint global)
{
    m_source = source;
    m_target = {};
    m_last = global;
    m_accept = false;
    m_handlers.StartDrag(source);
    source->grabMouse();
    source->grabKeyboard();
    // The keyboard is the drag's: no shortcut acts until the drop.
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::ForbiddenCursor);
    Move(global);
}

void DragGesture::Move(QPoint global)
{
    const Target target = TargetAt(global);
    if (target.Sender != m_target.Sender) {
        Deliver(m_target, m_last); // leave
        m_target = target;
        Deliver(m_target, global); // enter
    }
    m_accept = Deliver(m_target, global);
    m_last = global;
    QApplication::changeOverrideCursor(m_accept ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
}

void DragGesture::Finish(bool drop)
{
    VesselPicture *source = m_source;
    m_accept = Deliver(m_target, m_last);
    const Target target = m_target;
    const bool accepted = m_accept;

    // Let go of everything first: the pour may show a box that the player
    // must answer with the mouse or the keyboard.
    qApp->removeEventFilter(this);
    source->releaseKeyboard();
    source->releaseMouse();
    QApplication::restoreOverrideCursor();
    m_source = nullptr;
    m_target = {};

    if (drop && accepted) {
        for (VesselPicture *p : m_pictures) {
            if (p == target.Sender)
                m_handlers.DragDrop(p, source);
        }
    }
    m_handlers.EndDrag(source);
}

bool DragGesture::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (!m_source) {
        if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) && m_handlers.MayStart()) {
            auto *me = static_cast<QMouseEvent *>(event);
            const auto picture = std::find(m_pictures.begin(), m_pictures.end(), watched);
            if (picture != m_pictures.end() && me->button() == Qt::LeftButton) {
                Begin(*picture, me->globalPosition().toPoint());
                return true;
            }
        }
        return false;
    }

    switch (type) {
    case QEvent::ShortcutOverride:
        // Taken by the drag, the key is no shortcut; as a key press it
        // reaches the dragged picture, which holds the keyboard.
        event->accept();
        return true;
    case QEvent::Shortcut:
        return true;
    case QEvent::MouseMove:
        if (watched == m_source) {
            Move(static_cast<QMouseEvent *>(event)->globalPosition().toPoint());
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (watched == m_source) {
            auto *me = static_cast<QMouseEvent *>(event);
            if (me->button() == Qt::LeftButton || me->button() == Qt::RightButton) {
                const QPoint global = me->globalPosition().toPoint();
                if (global != m_last)
                    Move(global);
                Finish(true);
            }
            return true;
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return watched == m_source;
    case QEvent::KeyPress:
        if (watched == m_source) {
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
                Finish(false);
            return true;
        }
        break;
    case QEvent::WindowDeactivate:
        if (watched == m_form->window())
            Finish(false);
        break;
    default:
        break;
    }
    return false;
}
