// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// A modal window runs its own event loop: these reach into it from a timer.
#pragma once

#include "tfrmtask.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// However loaded the machine, a window that has not come up by now never
// will: the test stops with a message instead of hanging until the
// test runner's own limit.
inline constexpr int kModalWaitMs = 30'000;

namespace modal_detail {

// Polls until ready() says the window is up, then acts; gives up after the bound.
inline void Poll(QObject *context, const char *what, std::function<bool()> ready, std::function<void()> act)
{
    auto *poll = new QTimer(context);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(poll, &QTimer::timeout, context, [poll, clock, what, ready, act] {
        if (!ready()) {
            if (clock->elapsed() > kModalWaitMs)
                qFatal("%s did not come up within %d s", what, kModalWaitMs / 1000);
            return;
        }
        poll->stop();
        poll->deleteLater();
        act();
    });
    poll->start(5);
}

} // namespace modal_detail

// Runs action on the task dialog once it is up, from inside its modal loop.
inline void WhenShown(TfrmTask &dialog, std::function<void(TfrmTask &)> action)
{
    modal_detail::Poll(
        &dialog, "the task dialog", [&dialog] { return dialog.isVisible(); },
        [&dialog, action] { action(dialog); });
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
    QObject context;
    modal_detail::Poll(
        &context, "the modal window",
        [] {
            auto *window = dynamic_cast<W *>(QApplication::activeModalWidget());
            return window && window->isVisible();
        },
        [act] { act(dynamic_cast<W *>(QApplication::activeModalWidget())); });
    show();
}
