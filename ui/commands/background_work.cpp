// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "background_work.h"

BackgroundWork::BackgroundWork(std::function<void()> work, QObject *parent)
    : QObject(parent)
    , m_work(std::move(work))
{ }

BackgroundWork::~BackgroundWork()
{
    Wait();
}

void BackgroundWork::Start()
{
    m_thread = std::thread([this] {
        m_work();
        // Queued: the receiver reads what the work left once it is all there.
        QMetaObject::invokeMethod(
            this, [this] { emit Finished(); }, Qt::QueuedConnection);
    });
}

void BackgroundWork::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
