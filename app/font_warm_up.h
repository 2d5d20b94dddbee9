// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <thread>

// Fontconfig reads its configuration (some dozens of XML files and its
// caches) the first time any font is asked for: a third of the work before
// the first frame. Begun on another core while the display is opened, it is
// ready when the window measures its first label. Where Qt draws without
// fontconfig there is nothing to warm, and nothing is started.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp &) = delete;
    FontConfigWarmUp &operator=(const FontConfigWarmUp &) = delete;

    // Returns once fontconfig is ready (or was never begun here); before the
    // first font, so that Qt never loads a second configuration alongside.
    void Wait();
    bool Started() const { return m_started; }

private:
    std::thread m_thread;
    bool m_started = false;
};
