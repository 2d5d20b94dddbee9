// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "scores.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ConfigLock;

// The player's records on disk: records.txt in the game's configuration
// folder (config_folder.h). Read when asked, never at start-up; written,
// whole and atomically (a link followed to its target), only when a win
// beats the best of its task. Two games that win at once keep both wins:
// the file is read, changed and written under a lock beside it, which the
// window never waits for. A file that cannot be locked, read or written (a
// FIFO or a device, too large, a folder that cannot be written) is left
// alone, and the player is told once a run; the wins of the run are shown
// all the same.
class ScoresFile {
public:
    // cannotKeep: tells the player, a sentence in Russian, that a win could
    // not be kept; at most once a run.
    explicit ScoresFile(std::function<void(const std::string &)> cannotKeep = {});
    ~ScoresFile();
    ScoresFile(const ScoresFile &) = delete;
    ScoresFile &operator=(const ScoresFile &) = delete;

    static QString Path();

    // Reads the file again.
    void Load();
    bool Loaded() const { return m_loaded; }
    // The best win of the task with this code, as last read or kept.
    std::optional<Score> Best(const std::string &code) const { return m_book.Best(code); }

    // Keeps the win if it is the task's best: shown at once, written to the
    // file now or, when another game holds the file, as soon as it is free.
    // Returns the task's best before it, as read.
    std::optional<Score> Remember(const Score &win);
    // Wins not yet in the file.
    bool Pending() const { return !m_unsaved.empty(); }
    // The best win of every task, as last read or kept.
    std::vector<Score> All() const { return m_book.All(); }

private:
    // Under the lock, or with why it could not be had.
    void Keep(const QString &lockProblem);
    void Tell(const QString &why);
    ConfigLock &Lock();

    std::function<void(const std::string &)> m_cannotKeep;
    ScoreBook m_book;
    // Wins of this run the file does not hold yet.
    std::vector<Score> m_unsaved;
    bool m_loaded = false;
    bool m_told = false;
    bool m_closing = false;
    // Last: destroyed first, its last try of a waiting write uses the above.
    std::unique_ptr<ConfigLock> m_lock;
};
