// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "scores.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

// The player's records on disk: sosudnik/records.txt in the user's
// configuration folder ($XDG_CONFIG_HOME, else ~/.config). Read when asked,
// never at start-up; written, whole and atomically, only when a win beats
// the best of its task. No fault of the file reaches the player: a file that
// cannot be read counts as none and is then never written over, a write that
// fails is let go.
class ScoresFile {
public:
    static QString Path();

    // Reads the file again.
    void Load();
    bool Loaded() const { return m_loaded; }
    // The best win of the task with this code, as last read or kept.
    std::optional<Score> Best(const std::string &code) const { return m_book.Best(code); }

    // Reads the file again and keeps the win if it is the task's best.
    // Returns the task's best before it, as read.
    std::optional<Score> Remember(const Score &win);
    // The best win of every task, as last read or kept.
    std::vector<Score> All() const { return m_book.All(); }

private:
    // False when a file is there that could not be read: writing would lose it.
    bool Read();
    bool Write() const;

    ScoreBook m_book;
    // Wins of this run the file could not keep: shown all the same.
    std::vector<Score> m_unsaved;
    bool m_loaded = false;
};
