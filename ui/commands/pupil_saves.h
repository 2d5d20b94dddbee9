// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "notice.h"
#include "pupil_file.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>

class MessageBoxes;
class Puzzle;
class ResultWriter;

// A lesson keeps the pupil's work in the pupil's own file (PupilFile), and
// without being asked: on "Запись результата", whenever a pour meets the
// goal, before a new game or "Начать заново" takes unsaved pours out of the
// log, and before the window closes.
//
// A save takes the log as it stands when it is asked for. Another program's
// save may hold the file's lock: then the window goes on while this one
// waits its turn, trying again every few milliseconds, for up to a minute.
// The player hears of a save they asked for, of a file left as it was
// (once), and of every failure; the automatic ones are otherwise quiet.
class PupilSaves final : public QObject {
    Q_OBJECT

public:
    enum class Why { Asked, Goal, NewGame, Closing };

    // folder: an existing folder; name: from TidyPupilName, not empty.
    PupilSaves(Puzzle &puzzle, ResultWriter &writer, MessageBoxes &boxes, const QString &folder,
               const QString &name, QObject *parent);

    const QString &Name() const { return m_name; }
    const PupilFile &File() const { return m_file; }
    // Whether the log holds pours that no save has taken yet.
    bool Unsaved() const;
    // Whether a save waits for a lock.
    bool Waiting() const { return m_waiting; }

    // Saves the log now, or as soon as the lock is free. Failures go to the
    // error box.
    void Save(Why why);
    // Before the log is cleared or taken back to its start.
    void BeforeNewGame();
    // Whether the window may close now. If not, its pours are being saved:
    // close runs once they are; after a failure the window stays open.
    bool MayClose(std::function<void()> close);

    // How long a save waits for a lock before it fails.
    void SetPatience(std::chrono::milliseconds patience) { m_patience = patience; }

private:
    void TryNow();
    void Done(const PupilFile::Outcome &outcome);

    Puzzle &m_puzzle;
    ResultWriter &m_writer;
    MessageBoxes &m_boxes;
    QString m_name;
    PupilFile m_file;
    Subscription m_logChanged;
    Subscription m_goalMet;
    // Changes of the log so far, and how many the last save took in.
    unsigned long m_changes = 0;
    unsigned long m_saved = 0;
    // The save in hand: what it takes in, whether it is to be told.
    bool m_waiting = false;
    unsigned long m_taking = 0;
    bool m_tell = false;
    QElapsedTimer m_waited;
    QTimer m_retry;
    std::chrono::milliseconds m_patience{60'000};
    std::function<void()> m_closeAfter;
    QSet<QString> m_toldSkipped;
};
