// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "class_files.h"
#include "record_check.h"

#include <QElapsedTimer>
#include <QObject>

#include <atomic>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

class QThread;
class QTimer;

// The teacher's check of a class away from the window's thread: the paths
// listed (folders opened), each file read and graded in turn. The window's
// thread takes what was found from a timer, a few files at a time and for a
// few milliseconds at most, so that however fast the files come it never
// stops answering. Destroying it stops the check and waits for its thread,
// which takes no longer than reading a few kilobytes.
class CheckRun final : public QObject {
    Q_OBJECT

public:
    // tasks: at least one. libxml2 is set up here, on the window's thread.
    CheckRun(const std::vector<TaskPreset> &tasks, std::vector<std::string> paths, QObject *parent = nullptr);
    ~CheckRun() override;

    const RecordChecker &Checker() const { return m_checker; }

    void Start();
    // Asks the check to stop; Finished follows.
    void Stop();

signals:
    // How many files the paths came to.
    void Listed(int files);
    // The next files checked, in order.
    void Checked(const std::vector<CheckedFile> &files);
    // The last signal: whether it was stopped before the end.
    void Finished(bool stopped);

private:
    // On the check's thread.
    void Work();
    // On the window's thread: hands on what is ready, for a few milliseconds.
    void Deliver();

    const RecordChecker m_checker;
    const std::vector<std::string> m_paths;
    std::atomic<bool> m_stop = false;
    QThread *m_thread = nullptr;
    QTimer *m_delivery = nullptr;

    // Shared with the check's thread.
    std::mutex m_mutex;
    std::deque<CheckedFile> m_ready;
    int m_listed = -1; // until the paths are listed
    bool m_done = false;
    bool m_stopped = false;

    bool m_listedTold = false;
};
