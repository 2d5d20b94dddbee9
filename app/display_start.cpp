// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "display_start.h"

#include "command_line.h"
#include "pupil_dialog.h"
#include "pupil_file.h"
#include "tfrmmain.h"
#include "wording.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdlib>

namespace {

const char *const kNowhere = ", и окно игры показать негде\n";

std::string WithSolveInstead(const std::string &message)
{
    return std::string(kProgram) + ": " + message + kNowhere + "Решить задачу можно и без окна: «" + kProgram
        + " --solve 12,7,5/12,0,0/6» печатает решение.\n";
}

struct Screen {
    std::string Platform; // as asked for; empty for Qt's default
    std::string Display; // the X display, by -display or DISPLAY
    bool XOnly = false; // only X can be tried, and it needs a display named
};

Screen ScreenAskedFor(const CommandLine &line)
{
    Screen screen;
    screen.Platform = line.Platform.value_or(qEnvironmentVariable("QT_QPA_PLATFORM").toStdString());
    screen.Display = line.Display.value_or(qEnvironmentVariable("DISPLAY").toStdString());
    // Any other platform finds its own way or fails while the application is
    // made; a list ("xcb;offscreen") goes on to the next when X is not there.
    const QStringList platforms = QString::fromStdString(screen.Platform).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    screen.XOnly = platforms.isEmpty() ? qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                                       : std::all_of(platforms.begin(), platforms.end(), [](const QString &p) {
                                             return p.startsWith(QLatin1String("xcb"));
                                         });
    return screen;
}

} // namespace

std::string NoDisplayMessage(const CommandLine &line)
{
    const Screen screen = ScreenAskedFor(line);
    if (screen.XOnly && screen.Display.empty())
        return WithSolveInstead("графический дисплей не задан (переменная DISPLAY пуста)");
    return {};
}

std::string PlatformFailureMessage(const CommandLine &line)
{
    const Screen screen = ScreenAskedFor(line);
    if (!screen.Platform.empty() && !screen.XOnly)
        return WithSolveInstead("платформа Qt " + Quoted(screen.Platform) + " не запустилась");
    if (!screen.Display.empty())
        return WithSolveInstead("не удалось подключиться к дисплею " + Quoted(screen.Display));
    return WithSolveInstead("графический дисплей недоступен");
}

namespace {

std::string g_platformFailure;
QtMessageHandler g_previousHandler = nullptr;

// While the application is made, Qt ends the process with a fatal message
// only when no platform starts (no X server at the address, no permission,
// a missing plugin): whatever its words, say it in the game's and end with
// a status instead of an abort and a core file.
void PlatformFailureHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fputs(g_platformFailure.c_str(), stderr);
        std::_Exit(kExitNoDisplay);
    }
    // Qt quotes a display name or a plugin path as given, control
    // characters and all.
    QStringList lines = message.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = QString::fromStdString(EscapeControls(line.toStdString()));
    if (g_previousHandler)
        g_previousHandler(type, context, lines.join(QLatin1Char('\n')));
}

// Watches for that failure for as long as it lives.
class PlatformStartWatch {
public:
    explicit PlatformStartWatch(std::string failure)
    {
        g_platformFailure = std::move(failure);
        g_previousHandler = qInstallMessageHandler(PlatformFailureHandler);
    }
    ~PlatformStartWatch() { qInstallMessageHandler(g_previousHandler); }
    PlatformStartWatch(const PlatformStartWatch &) = delete;
    PlatformStartWatch &operator=(const PlatformStartWatch &) = delete;
};

} // namespace

std::unique_ptr<QApplication> StartApplication(CommandLine &line)
{
    if (const std::string missing = NoDisplayMessage(line); !missing.empty()) {
        std::fputs(missing.c_str(), stderr);
        return nullptr;
    }
    const PlatformStartWatch watch(PlatformFailureMessage(line));
    return std::make_unique<QApplication>(line.QtArgc, line.QtArgv.data());
}

namespace {

// --pupil's name, tidied; empty without it.
QString GivenPupil(const CommandLine &line)
{
    return line.Has("pupil") ? TidyPupilName(QString::fromLocal8Bit(line.Value("pupil").c_str())) : QString();
}

} // namespace

std::optional<QString> PupilName(QWidget *window, const CommandLine &line)
{
    if (!line.Has("lesson"))
        return QString();
    if (line.Has("pupil"))
        return GivenPupil(line);
    return AskPupilName(window);
}

void StartFromArguments(TfrmMain &window, const CommandLine &line, const QString &pupil)
{
    std::string problem = line.Problem;
    if (problem.empty() && line.Operands.size() > 1)
        problem = ExtraArguments({line.Operands.begin() + 1, line.Operands.end()});
    // A lesson holds whatever else the line says.
    if (line.Has("lesson")) {
        window.Commands().SetLesson(true);
        const QString name = pupil.isEmpty() ? GivenPupil(line) : pupil;
        // The folder was found writable before the window was made; none is
        // the working folder.
        const QString folder = line.Has("folder") ? QFile::decodeName(line.Value("folder").c_str()) : QString();
        if (!name.isEmpty())
            window.SetPupil(name, QDir(folder).absolutePath());
    }
    if (!problem.empty()) {
        window.Puzzle().Guard().ShowError(Sentence(problem));
        return;
    }
    if (!line.Operands.empty())
        window.StartTaskCode(line.Operands.front());
}
