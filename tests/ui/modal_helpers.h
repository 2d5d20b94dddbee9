// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// A modal window runs its own event loop: these reach into it from a timer.
#pragma once

#include "tfrmtask.h"

#include <QApplication>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>

// Runs action on the task dialog once it is up, from inside its modal loop.
inline void WhenShown(TfrmTask &dialog, std::function<void(TfrmTask &)> action)
{
    auto *poll = new QTimer(&dialog);
    QObject::connect(poll, &QTimer::timeout, &dialog, [poll, &dialog, action] {
        if (!dialog.isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        action(dialog);
    });
    poll->start(5);
}

inline void ChoosePage(TfrmTask &dialog, int page)
{
    auto *tabs = dialog.findChild<QTabWidget *>("pages")->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
}

inline void Accept(TfrmTask &dialog)
{
    QTest::mouseClick(dialog.findChild<QPushButton *>("BtnOk"), Qt::LeftButton);
}

// Runs show(), which brings up an application-modal W, and act on the W once
// it is up, from inside its modal loop; act closes it.
template <class W>
void WithModal(const std::function<void()> &show, const std::function<void(W *)> &act)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *window = dynamic_cast<W *>(QApplication::activeModalWidget());
        if (!window || !window->isVisible())
            return;
        poll.stop();
        act(window);
    });
    poll.start(5);
    show();
}
