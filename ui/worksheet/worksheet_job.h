// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "worksheet.h"
#include "worksheet_pdf.h"

#include <QObject>

#include <optional>
#include <string>

class BackgroundWork;

// A worksheet planned, painted and written on a thread of its own, so that
// the window goes on while a class's variants are made. One job, one sheet.
class WorksheetJob final : public QObject {
    Q_OBJECT

public:
    WorksheetJob(const WorksheetRequest &request, const WorksheetPaths &paths, QObject *parent = nullptr);
    // Stops the painting and waits for the thread: at most a page.
    ~WorksheetJob() override;
    WorksheetJob(const WorksheetJob &) = delete;
    WorksheetJob &operator=(const WorksheetJob &) = delete;

    void Start();
    // The files are then left as they were.
    void Stop() { m_progress.Stop = true; }

    int PagesDone() const { return m_progress.Pages; }
    int PagesTotal() const { return m_progress.Total; }

    // Once Finished: what was written, or why nothing was.
    struct Outcome {
        std::optional<WorksheetPdfs> Written;
        std::string Failure; // a sentence in Russian; empty when written or stopped
        bool Stopped = false;
    };
    const Outcome &Result() const { return m_outcome; }

signals:
    // On the thread the job belongs to, once the work is over.
    void Finished();

private:
    void Run();

    WorksheetRequest m_request;
    WorksheetPaths m_paths;
    WorksheetProgress m_progress;
    Outcome m_outcome; // written by the work, read after Finished
    BackgroundWork *m_work;
};
