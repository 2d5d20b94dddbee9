// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "class_files.h"
#include "record_check.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

class QThread;

// The teacher's check of a class away from the window's thread: the paths
// listed (folders opened), each file read and graded in turn, and what was
// found handed to the window's thread a batch at a time, so that the window
// never waits on a file. Destroying it stops the check and waits for its
// thread, which takes no longer than reading a few kilobytes.
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
    // Hands a call to the window's thread.
    template <class Call>
    void Post(Call call);

    const RecordChecker m_checker;
    const std::vector<std::string> m_paths;
    std::atomic<bool> m_stop = false;
    QThread *m_thread = nullptr;
};
