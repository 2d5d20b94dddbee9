// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "check_run.h"

#include "xml_runtime.h"

#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {

// The window takes the files found this often, a few at a time, until this
// much of its time is used; a row costs it some tens of microseconds.
constexpr int kDeliveryMs = 20;
constexpr qint64 kDeliveryBudgetMs = 15;
constexpr std::size_t kFilesAtATime = 25;

} // namespace

CheckRun::CheckRun(const std::vector<TaskPreset> &tasks, std::vector<std::string> paths, QObject *parent)
    : QObject(parent)
    , m_checker(tasks)
    , m_paths(std::move(paths))
{
    // libxml2 is set up once, on this thread, before another uses it.
    XmlRuntime::Start();
}

CheckRun::~CheckRun()
{
    m_stop = true;
    if (m_thread)
        m_thread->wait();
}

void CheckRun::Start()
{
    if (m_thread)
        return;
    m_delivery = new QTimer(this);
    m_delivery->setInterval(kDeliveryMs);
    connect(m_delivery, &QTimer::timeout, this, &CheckRun::Deliver);
    m_delivery->start();
    m_thread = QThread::create([this] { Work(); });
    m_thread->setParent(this);
    m_thread->start();
}

void CheckRun::Stop()
{
    m_stop = true;
}

void CheckRun::Work()
{
    const std::vector<ClassFile> files = ListClassFiles(m_paths, &m_stop);
    const bool listedAll = !m_stop;
    {
        const std::lock_guard lock(m_mutex);
        m_listed = static_cast<int>(files.size());
    }
    std::size_t checked = 0;
    for (const ClassFile &file : files) {
        if (m_stop)
            break;
        RecordCheck check = CheckClassFile(m_checker, file, &m_stop);
        // A read cut short by the stop is no verdict.
        if (m_stop)
            break;
        const std::lock_guard lock(m_mutex);
        m_ready.push_back({file.Path, std::move(check)});
        ++checked;
    }
    const std::lock_guard lock(m_mutex);
    m_stopped = !listedAll || checked < files.size();
    m_done = true;
}

void CheckRun::Deliver()
{
    QElapsedTimer spent;
    spent.start();
    for (;;) {
        std::vector<CheckedFile> next;
        int listed = -1;
        bool done = false;
        bool stopped = false;
        {
            const std::lock_guard lock(m_mutex);
            listed = m_listed;
            const std::size_t count = std::min(m_ready.size(), kFilesAtATime);
            next.assign(std::make_move_iterator(m_ready.begin()),
                        std::make_move_iterator(m_ready.begin() + static_cast<std::ptrdiff_t>(count)));
            m_ready.erase(m_ready.begin(), m_ready.begin() + static_cast<std::ptrdiff_t>(count));
            done = m_done && m_ready.empty();
            stopped = m_stopped;
        }
        if (listed >= 0 && !m_listedTold) {
            m_listedTold = true;
            emit Listed(listed);
        }
        if (!next.empty())
            emit Checked(next);
        if (done) {
            m_delivery->stop();
            emit Finished(stopped);
            return;
        }
        if (next.empty() || spent.hasExpired(kDeliveryBudgetMs))
            return;
    }
}
