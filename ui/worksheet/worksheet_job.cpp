// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "worksheet_job.h"

#include "save_failure.h"

#include <exception>

WorksheetJob::WorksheetJob(const WorksheetRequest &request, const WorksheetPaths &paths, QObject *parent)
    : QObject(parent)
    , m_request(request)
    , m_paths(paths)
{ }

WorksheetJob::~WorksheetJob()
{
    Stop();
    if (m_thread.joinable())
        m_thread.join();
}

void WorksheetJob::Start()
{
    m_thread = std::thread([this] { Run(); });
}

void WorksheetJob::Run()
{
    Outcome outcome;
    try {
        outcome.Written = WriteWorksheet(PlanWorksheet(m_request), m_paths, &m_progress);
        outcome.Stopped = !outcome.Written;
        // The files are on disk; their bytes are not needed here.
        if (outcome.Written) {
            outcome.Written->Sheet.clear();
            outcome.Written->Key.clear();
        }
    } catch (const SaveFailure &e) {
        outcome.Failure = e.what();
    } catch (const std::exception &e) {
        outcome.Failure = std::string("Листок не записан: ") + e.what();
    }
    // Handed over on the job's own thread: the window reads it there alone.
    QMetaObject::invokeMethod(
        this,
        [this, outcome = std::move(outcome)]() mutable {
            m_outcome = std::move(outcome);
            emit Finished();
        },
        Qt::QueuedConnection);
}
