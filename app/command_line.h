// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

#include <optional>

class TfrmMain;

// Exit statuses of the window-less commands and of a start without a display.
inline constexpr int kExitSolved = 0;
inline constexpr int kExitNoSolution = 1;
inline constexpr int kExitBadTask = 2;
inline constexpr int kExitNoDisplay = 3;

// --help, --version and --solve, answered before any display is needed.
// Returns the exit status, or nothing when the game itself is to start.
std::optional<int> RunWithoutWindow(int argc, char *argv[]);

// Whether the window has a display to go to. Says why not on stderr; a
// platform plugin that fails later on says so too and ends the process with
// kExitNoDisplay rather than aborting.
bool DisplayAvailable(int argc, char *argv[]);

// After the window is made: starts the task given as an argument, or shows
// in the error box why it cannot. The arguments are the application's, Qt's
// own options already taken out.
void StartFromArguments(TfrmMain &window, const QStringList &arguments);
