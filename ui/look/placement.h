// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QScreen;
class QWidget;

// Where a window's frame should stand so that all of it lies inside
// `available`, moved by the least amount. A frame larger than the area keeps
// its top-left corner (title bar and menu) inside it.
QPoint FitOnScreen(const QRect &frame, const QRect &available);

// Keeps a top-level window on the screen it opens on: each time it is shown,
// and once more when the window manager's frame becomes known (framed, if
// given, runs first then: the window may want another size for that frame).
// A window larger than the screen's free area is made smaller first, down to
// its minimum size: its lists and texts scroll, and the buttons under them
// stay in view.
void KeepOnScreen(QWidget *window, std::function<void()> framed = {});

// Moves a window by the least amount that brings its frame onto its screen.
void FitWindowOnScreen(QWidget *window);

// The size a window of `size` with this frame takes to fit `available`,
// no smaller than `minimum`.
QSize SizeOnScreen(QSize size, QSize minimum, QMargins frame, const QRect &available);
// Makes a window no larger than its screen's free area, frame included.
void FitWindowSizeOnScreen(QWidget *window);

// The screen a window is on, or opens on.
QScreen *WindowScreen(const QWidget *window);

// The window manager's frame around a window: known once it is framed, else
// a usual title bar and border.
QMargins FrameMargins(const QWidget *window);
