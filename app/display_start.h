// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <string>

class QApplication;
class QWidget;
class TfrmMain;
struct CommandLine;

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

// The pupil's name for a lesson: --pupil's, or asked over window in
// "Фамилия и имя". Empty outside a lesson; nothing when the pupil closed the
// dialog, and the game is to end (status 0, nothing written).
std::optional<QString> PupilName(QWidget *window, const CommandLine &line);

// After the window is made: a lesson, its pupil (pupil, else --pupil's name)
// and their folder; then starts the task given as an argument, or shows in
// the error box why the arguments cannot be used.
void StartFromArguments(TfrmMain &window, const CommandLine &line, const QString &pupil = {});
