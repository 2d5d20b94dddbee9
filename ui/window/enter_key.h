// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

// The button that Enter (either key, no modifier but the keypad's) presses in
// a window: the focused push button, as Space would. None when the focus is
// elsewhere or the key is another.
inline QPushButton *ButtonForEnter(const QWidget *window, const QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier))
        return nullptr;
    return qobject_cast<QPushButton *>(window->focusWidget());
}
