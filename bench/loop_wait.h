// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

// Figures the benchmark programs print: a median, and how long the window's
// event loop was ever kept from turning while it waited for work.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <vector>

inline double Median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

struct LoopWait {
    double LongestMs = 0; // between two turns of the event loop
    double DoneMs = 0; // from start until busy turned false
};

// Runs start, then the event loop until busy() is false, while a timer asks
// to turn every millisecond.
inline LoopWait WaitOnTheLoop(const std::function<void()> &start, const std::function<bool()> &busy)
{
    QElapsedTimer sinceTick;
    QElapsedTimer done;
    qint64 longest = 0;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed());
        sinceTick.start();
        if (!busy())
            QCoreApplication::quit();
    });
    done.start();
    start();
    sinceTick.start();
    tick.start();
    QCoreApplication::exec();
    return {static_cast<double>(longest) / 1e6, static_cast<double>(done.nsecsElapsed()) / 1e6};
}
