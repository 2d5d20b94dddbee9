// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <optional>

struct CommandLine;

// Where the window-less commands write: stdout and stderr but in tests.
struct Streams {
    std::FILE *Out = stdout;
    std::FILE *Err = stderr;
};

// --help, --version and the commands that need no window (--solve, --check,
// --book, --generate), answered before any display is needed. Returns the
// exit status, or nothing when the game itself is to start.
std::optional<int> RunWithoutWindow(const CommandLine &line, const Streams &streams = {});
