// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "pupil_saves.h"

#include "message_boxes.h"
#include "puzzle.h"
#include "result_writer.h"
#include "save_failure.h"

#include <utility>

namespace {

// A save holds a lock for milliseconds; another program's turn rarely
// lasts longer than a few of these.
constexpr int kRetryMs = 20;

std::string Text(const QString &text)
{
    return text.toStdString();
}

} // namespace

PupilSaves::PupilSaves(Puzzle &puzzle, ResultWriter &writer, MessageBoxes &boxes, const QString &folder,
                       const QString &name, QObject *parent)
    : QObject(parent)
    , m_puzzle(puzzle)
    , m_writer(writer)
    , m_boxes(boxes)
    , m_name(name)
    , m_file(folder, PupilFileStem(name))
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] { m_puzzle.Guard().Run([this] { TryNow(); }); });
    m_logChanged = puzzle.LogChangedNotice().Subscribe([this] { ++m_changes; });
    m_goalMet = puzzle.GoalMetNotice().Subscribe([this] { Save(Why::Goal); });
}

bool PupilSaves::Unsaved() const
{
    return m_changes != m_saved && m_puzzle.Log().RowCount() > 1;
}

void PupilSaves::Save(Why why)
{
    m_puzzle.Guard().Run([&] {
        // The block is the log as it is now, whenever the file takes it.
        m_writer.AddBlock(m_puzzle.Log(), Text(m_file.FileName(1)));
        m_taking = m_changes;
        m_tell = m_tell || why == Why::Asked;
        // A save already waiting writes this block too.
        if (m_waiting)
            return;
        m_waiting = true;
        m_waited.start();
        TryNow();
    });
}

void PupilSaves::TryNow()
{
    std::optional<PupilFile::Outcome> outcome;
    try {
        outcome = m_file.TrySave(m_writer);
        if (!outcome && m_waited.elapsed() > m_patience.count()) {
            const std::string held = Text(m_file.Pending());
            m_file.Abandon();
            throw SaveFailure(held, kCauseLockHeld);
        }
    } catch (...) {
        m_waiting = false;
        m_tell = false;
        m_closeAfter = nullptr;
        throw;
    }
    if (!outcome) {
        m_retry.start();
        return;
    }
    Done(*outcome);
}

void PupilSaves::Done(const PupilFile::Outcome &outcome)
{
    m_waiting = false;
    m_saved = m_taking;
    const bool tell = std::exchange(m_tell, false);
    // A file left as it was is told with every save asked for, and once
    // when a save no one asked for found it so.
    const QString skipped = outcome.Skipped + QLatin1Char('\n') + outcome.Why;
    const bool news = !outcome.Skipped.isEmpty() && !m_toldSkipped.contains(skipped);
    if (tell || news) {
        std::string text = FileWrittenText(Text(outcome.Written));
        if (!outcome.Skipped.isEmpty()) {
            text += "\rФайл \"" + Text(outcome.Skipped) + "\" оставлен как есть: " + Text(outcome.Why) + ".";
            m_toldSkipped.insert(skipped);
        }
        m_boxes.Show(text, kCaptionFileWritten, kIconInformation);
    }
    if (const std::function<void()> close = std::exchange(m_closeAfter, nullptr))
        close();
}

void PupilSaves::BeforeNewGame()
{
    if (Unsaved())
        Save(Why::NewGame);
}

bool PupilSaves::MayClose(std::function<void()> close)
{
    if (!m_waiting && !Unsaved())
        return true;
    if (!m_waiting)
        Save(Why::Closing);
    if (m_waiting) {
        m_closeAfter = std::move(close);
        return false;
    }
    // Saved at once, or failed and said so: then the window stays.
    return !Unsaved();
}
