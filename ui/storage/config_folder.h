// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QLockFile;
class QTimer;

// The game's folder in the user's configuration, where the files the game
// keeps for itself live: $XDG_CONFIG_HOME/sosudnik, or ~/.config/sosudnik
// when XDG_CONFIG_HOME is unset, empty or relative (the XDG rules say a
// relative one is to be ignored). Looked up anew each time.
QString ConfigFolder();
// name: a file name in that folder.
QString ConfigFile(const QString &name);

// What reading a file of that folder found. The reading never blocks: a
// FIFO, a device or a socket under the name is refused unopened, and so is a
// file larger than the reader's limit. Links are followed.
struct ConfigText {
    enum class State {
        Missing, // nothing there yet: the defaults hold
        Read,
        Refused, // something is there that cannot be read: leave it alone
    };
    State Result = State::Missing;
    QByteArray Bytes;
    // Why it was refused, in Russian, without a full stop:
    // "это не обычный файл, а канал, устройство или сокет"
    QString Problem;
};
ConfigText ReadConfigFile(const QString &path, qint64 maxBytes);

// Replaces the file with bytes, whole or not at all: they go to a temporary
// file beside it that is then renamed over it. The folder is made first if
// need be. A link is followed and its target replaced, as a dotfile manager
// expects; a device, FIFO or socket is never written. Returns why it failed,
// a sentence in Russian that names the file, or nothing.
QString WriteConfigFile(const QString &path, const QByteArray &bytes);

// A lock on a file of the configuration folder, so that two games that
// read, change and write it at once keep both changes: QLockFile beside the
// file (its name and ".lock"). The window never waits on it: the lock is
// tried at once, and while another program holds it, tried again from the
// event loop every few milliseconds.
class ConfigLock final : public QObject {
    Q_OBJECT

public:
    // problem: empty while the lock is held, and the work then reads,
    // changes and writes the file; otherwise why the lock could not be had,
    // and the work is to leave the file alone.
    using Work = std::function<void(const QString &problem)>;

    explicit ConfigLock(const QString &path, QObject *parent = nullptr);
    // Work still waiting gets one last try, blocking for a moment: the
    // program is closing. Whoever owns this must declare it after whatever
    // its work uses, so that it goes first.
    ~ConfigLock() override;

    // Runs work under the lock: at once when it is free, else once it is
    // released, or with the problem when it cannot be made at all or is
    // not released within the patience. Works asked for while one waits run
    // in turn, under the one lock.
    void Run(Work work);
    bool Waiting() const { return !m_pending.empty(); }
    const QString &Path() const { return m_path; }

    // How long to wait for another program before giving up (10 s at first).
    void SetPatience(int milliseconds) { m_patienceMs = milliseconds; }

private:
    // Takes the lock if it can; runs and clears the pending work when it
    // got it or when waiting is over. True when nothing is left to wait for.
    bool Attempt(int blockMs, bool lastChance);
    void Finish(const QString &problem);

    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    std::vector<Work> m_pending;
    QTimer *m_retry = nullptr;
    QElapsedTimer m_waiting;
    int m_patienceMs = 10'000;
};
