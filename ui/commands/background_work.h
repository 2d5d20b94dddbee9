// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <functional>
#include <thread>

// Work done on a thread of its own, so that the window goes on meanwhile;
// Finished comes on the thread this object lives on. The work must not
// touch widgets; what it makes it leaves where Finished's receiver finds it.
class BackgroundWork final : public QObject {
    Q_OBJECT

public:
    explicit BackgroundWork(std::function<void()> work, QObject *parent = nullptr);
    // Waits for the work.
    ~BackgroundWork() override;
    BackgroundWork(const BackgroundWork &) = delete;
    BackgroundWork &operator=(const BackgroundWork &) = delete;

    // Once.
    void Start();
    // Until the work is over; an owner whose data the work uses waits here
    // before that data goes.
    void Wait();

signals:
    void Finished();

private:
    std::function<void()> m_work;
    std::thread m_thread;
};
