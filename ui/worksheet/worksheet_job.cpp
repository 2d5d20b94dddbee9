// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "worksheet_job.h"

#include "background_work.h"
#include "save_failure.h"

#include <exception>

WorksheetJob::WorksheetJob(const WorksheetRequest &request, const WorksheetPaths &paths, QObject *parent)
    : QObject(parent)
    , m_request(request)
    , m_paths(paths)
    , m_work(new BackgroundWork([this] { Run(); }, this))
{
    connect(m_work, &BackgroundWork::Finished, this, &WorksheetJob::Finished);
}

WorksheetJob::~WorksheetJob()
{
    // The work reads this job's request and progress: it ends first.
    Stop();
    m_work->Wait();
}

void WorksheetJob::Start()
{
    m_work->Start();
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
    m_outcome = std::move(outcome);
}
