// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

// Where a window's frame should stand so that all of it lies inside
// `available`, moved by the least amount. A frame larger than the area keeps
// its top-left corner (title bar and menu) inside it.
QPoint FitOnScreen(const QRect &frame, const QRect &available);

// Keeps a top-level window on the screen it opens on: each time it is shown,
// and once more when the window manager's frame becomes known.
void KeepOnScreen(QWidget *window);
