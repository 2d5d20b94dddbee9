// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "check_run.h"

#include "xml_runtime.h"

#include <QElapsedTimer>
#include <QThread>

namespace {

// A batch goes to the window this often, or once it is this long: each
// costs the window a few milliseconds, and the table fills at a steady pace.
constexpr qint64 kBatchMs = 40;
constexpr std::size_t kBatchFiles = 250;

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
    m_thread = QThread::create([this] { Work(); });
    m_thread->setParent(this);
    m_thread->start();
}

void CheckRun::Stop()
{
    m_stop = true;
}

template <class Call>
void CheckRun::Post(Call call)
{
    // Dropped unrun if this is gone by then.
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void CheckRun::Work()
{
    const std::vector<ClassFile> files = ListClassFiles(m_paths, &m_stop);
    const bool listedAll = !m_stop;
    Post([this, count = static_cast<int>(files.size())] { emit Listed(count); });
    std::vector<CheckedFile> batch;
    std::size_t checked = 0;
    QElapsedTimer sincePost;
    sincePost.start();
    for (const ClassFile &file : files) {
        if (m_stop)
            break;
        RecordCheck check = CheckClassFile(m_checker, file, &m_stop);
        // A read cut short by the stop is no verdict.
        if (m_stop)
            break;
        batch.push_back({file.Path, std::move(check)});
        ++checked;
        if (batch.size() >= kBatchFiles || sincePost.hasExpired(kBatchMs)) {
            Post([this, done = std::move(batch)] { emit Checked(done); });
            batch.clear();
            sincePost.restart();
        }
    }
    if (!batch.empty())
        Post([this, done = std::move(batch)] { emit Checked(done); });
    Post([this, stopped = !listedAll || checked < files.size()] { emit Finished(stopped); });
}
