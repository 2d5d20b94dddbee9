// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QApplication;
class TfrmMain;

// Exit statuses of the window-less commands and of a start without a display.
inline constexpr int kExitSolved = 0;
inline constexpr int kExitNoSolution = 1;
inline constexpr int kExitBadTask = 2; // a malformed task code or arguments
inline constexpr int kExitNoDisplay = 3;
inline constexpr int kExitOutputFailed = 4; // standard output could not be written

// The arguments, read once. The game's own options are known by their long
// name; Qt's own options (-platform, -display, -style, ...) are set apart for
// QApplication, which sees nothing else.
struct CommandLine {
    struct Given {
        std::string Name; // long name, without dashes
        std::string Value; // empty for an option without one
    };
    std::vector<Given> Options; // as typed, in order
    std::vector<std::string> Operands; // task codes and the like
    std::vector<std::string> QtOptions; // Qt's options as typed, without their values
    std::optional<std::string> Platform; // Qt's -platform, the last one given
    std::optional<std::string> Display; // Qt's -display, the last one given
    // The first thing that cannot be read, in lower case and ending in words;
    // empty when everything could.
    std::string Problem;
    // argv[0] and Qt's options with their values, then a null pointer: what
    // QApplication gets, and keeps for as long as it lives.
    std::vector<char *> QtArgv;
    int QtArgc = 0;

    bool Has(std::string_view option) const;
    // The value the option was last given; needs Has(option).
    const std::string &Value(std::string_view option) const;
};

// argv as main gets it; the strings must outlive the result.
CommandLine ReadCommandLine(int argc, char *argv[]);

// Where the window-less commands write: stdout and stderr but in tests.
struct Streams {
    std::FILE *Out = stdout;
    std::FILE *Err = stderr;
};

// --help, --version and --solve, answered before any display is needed.
// Returns the exit status, or nothing when the game itself is to start.
std::optional<int> RunWithoutWindow(const CommandLine &line, const Streams &streams = {});

// Why the window has nowhere to go, as stderr says it (reads QT_QPA_PLATFORM,
// DISPLAY and WAYLAND_DISPLAY); empty when there is a display to try.
std::string NoDisplayMessage(const CommandLine &line);
// What stderr says when the platform then fails to start all the same.
std::string PlatformFailureMessage(const CommandLine &line);

// The application for the window, made from Qt's part of the arguments; line
// must outlive it. Without a display it says why on stderr and returns null;
// a platform that fails while the application is made ends the process with
// kExitNoDisplay and a message rather than an abort.
std::unique_ptr<QApplication> StartApplication(CommandLine &line);

// After the window is made: starts the task given as an argument, or shows
// in the error box why the arguments cannot be used.
void StartFromArguments(TfrmMain &window, const CommandLine &line);
