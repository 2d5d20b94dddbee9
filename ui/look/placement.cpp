// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

QPoint FitOnScreen(const QRect &frame, const QRect &available)
{
    if (available.isEmpty())
        return frame.topLeft();
    // Right and bottom first, then left and top win: the corner with the
    // title bar and the menu stays reachable on a screen too small for all.
    const int x = std::max(std::min(frame.x(), available.x() + available.width() - frame.width()), available.x());
    const int y = std::max(std::min(frame.y(), available.y() + available.height() - frame.height()), available.y());
    return {x, y};
}

namespace {

// The screen a window at this frame opens on: the one under its top-left
// corner, else under its centre, else the window's own.
QScreen *ScreenFor(const QWidget *window, const QRect &frame)
{
    if (QScreen *s = QGuiApplication::screenAt(frame.topLeft()))
        return s;
    if (QScreen *s = QGuiApplication::screenAt(frame.center()))
        return s;
    return window->screen();
}

} // namespace

QScreen *WindowScreen(const QWidget *window)
{
    return ScreenFor(window, window->frameGeometry());
}

QMargins FrameMargins(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect inside = window->geometry();
    if (frame != inside)
        return {inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
                frame.bottom() - inside.bottom()};
    // Not framed yet, or framed by nobody (a bare X server): room for a
    // title bar and a thin border all the same.
    return {4, 30, 4, 4};
}

void FitWindowOnScreen(QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QScreen *screen = ScreenFor(window, frame);
    if (!screen)
        return;
    const QPoint to = FitOnScreen(frame, screen->availableGeometry());
    // Through the geometry inside the frame: what pos() and move() mean for
    // a window differs between platforms and before and after it is framed.
    if (to != frame.topLeft())
        window->setGeometry(window->geometry().translated(to - frame.topLeft()));
}

QSize SizeOnScreen(QSize size, QSize minimum, QMargins frame, const QRect &available)
{
    if (available.isEmpty())
        return size;
    const QSize room(available.width() - frame.left() - frame.right(),
                     available.height() - frame.top() - frame.bottom());
    return size.boundedTo(room).expandedTo(minimum);
}

void FitWindowSizeOnScreen(QWidget *window)
{
    const QScreen *screen = ScreenFor(window, window->frameGeometry());
    if (!screen)
        return;
    const QSize fitted = SizeOnScreen(window->size(), window->minimumSize(), FrameMargins(window),
                                      screen->availableGeometry());
    if (fitted != window->size())
        window->resize(fitted);
}

namespace {

class ScreenKeeper final : public QObject {
    Q_OBJECT

public:
    ScreenKeeper(QWidget *window, std::function<void()> framed)
        : QObject(window)
        , m_framed(std::move(framed))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show) {
            // The show event comes before the window is mapped: on the first
            // showing the window manager may not have framed it yet.
            FitWindowSizeOnScreen(window);
            FitWindowOnScreen(window);
            m_frameUnknown = window->frameGeometry() == window->geometry();
        } else if (event->type() == QEvent::Move && m_frameUnknown &&
                   window->frameGeometry() != window->geometry()) {
            // The window manager has framed it: fit the whole frame, once;
            // later moves are the player's own.
            m_frameUnknown = false;
            if (m_framed)
                m_framed();
            FitWindowSizeOnScreen(window);
            FitWindowOnScreen(window);
        }
        return false;
    }

private:
    std::function<void()> m_framed;
    bool m_frameUnknown = false;
};

} // namespace

void KeepOnScreen(QWidget *window, std::function<void()> framed)
{
    window->installEventFilter(new ScreenKeeper(window, std::move(framed)));
}

#include "placement.moc"
