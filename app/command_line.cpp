// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "command_line.h"

#include "advice.h"
#include "dispatch_guard.h"
#include "message_boxes.h"
#include "solver.h"
#include "task_code.h"
#include "tfrmmain.h"

#include <QCommandLineParser>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

const char *const kProgram = "sosudnik";
const char *const kExample = "12,7,5/12,0,0/6";

struct Options {
    QCommandLineOption Help{{QStringLiteral("h"), QStringLiteral("help")}, QString::fromUtf8("показать эту справку")};
    QCommandLineOption Version{{QStringLiteral("v"), QStringLiteral("version")}, QString::fromUtf8("показать версию")};
    QCommandLineOption Solve{QStringLiteral("solve"), QString::fromUtf8("решить задачу без окна и вывести решение"),
                             QString::fromUtf8("задача")};
};

// Before the application object exists: argv as given, Qt's own options
// (-platform, -style, ...) still in it.
QStringList Arguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void Prepare(QCommandLineParser &parser, const Options &options)
{
    // "-platform" is one word, as Qt's own options are.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(options.Help);
    parser.addOption(options.Version);
    parser.addOption(options.Solve);
}

void Print(std::FILE *to, const std::string &text)
{
    std::fputs(text.c_str(), to);
    std::fflush(to);
}

void PrintError(const std::string &message)
{
    Print(stderr, std::string(kProgram) + ": " + ErrorBoxText(message) + "\n");
}

std::string HelpText(const Options &options)
{
    const std::string program(kProgram);
    std::string text = "Использование: " + program + " [параметры] [задача]\n";
    text += "«" + std::string(kAppTitle) + "» — головоломка на переливание.\n\n";
    text += "Задача записывается как C1,C2,C3/L1,L2,L3/T: объемы трех сосудов, уровни в них и\n"
            "нужный уровень, целые числа от 0 до 999. Заданная так задача сразу начинается,\n"
            "как выбранная в меню «Задачи».\n\n"
            "Параметры:\n";
    for (const QCommandLineOption *option : {&options.Help, &options.Version, &options.Solve}) {
        QString names;
        for (const QString &name : option->names())
            names += (names.isEmpty() ? QString() : QStringLiteral(", ")) + (name.size() == 1 ? "-" : "--") + name;
        if (!option->valueName().isEmpty())
            names += QStringLiteral(" <%1>").arg(option->valueName());
        text += "  " + names.leftJustified(20).toStdString() + "  " + option->description().toStdString() + "\n";
    }
    text += "\nРешение (--solve): в первой строке наименьшее число переливаний N, затем N строк\n"
            "«S R L1 L2 L3» — из какого сосуда, в какой и уровни после переливания. Код выхода:\n"
            "0 — решено, 1 — решения нет (причина в единственной строке), 2 — задача записана неверно.\n\n"
            "Примеры:\n";
    text += "  " + program + " --solve " + kExample + "\n";
    text += "  " + program + " 8,5,3/8,0,0/4\n";
    return text;
}

int SolveCommand(const QString &code)
{
    TaskPreset task{};
    try {
        task = ParseTaskCode(code.toStdString());
    } catch (const std::invalid_argument &e) {
        PrintError(e.what());
        return kExitBadTask;
    }
    const Solution solution = Solve(task);
    if (!solution.Solved()) {
        Print(stdout, UnsolvableText(solution, task) + "\n");
        return kExitNoSolution;
    }
    std::string out = std::to_string(solution.Pours()) + "\n";
    for (const SolverStep &step : solution.Steps) {
        out += std::to_string(step.Source) + " " + std::to_string(step.Receiver);
        for (int level : step.Levels)
            out += " " + std::to_string(level);
        out += "\n";
    }
    Print(stdout, out);
    return kExitSolved;
}

// An option the parser does not know, as it was typed: "-platform" and
// "-1,7,5/..." are one word after one dash here, not "--platform".
QString TypedOption(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            break;
        const QString typed = argument.section(QLatin1Char('='), 0, 0);
        const int dashes = typed.startsWith(QLatin1String("--")) ? 2 : typed.startsWith(QLatin1Char('-')) ? 1 : 0;
        if (dashes > 0 && QStringView(typed).mid(dashes) == name)
            return typed;
    }
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// Why the arguments could not be read, in Russian; empty when they could.
std::string Problem(const QCommandLineParser &parser, bool parsed, const QStringList &arguments)
{
    if (parsed)
        return {};
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return "неизвестный параметр " + TypedOption(arguments, unknown.first()).toStdString();
    // The one option with a value.
    return "после --solve нужна задача, например " + std::string(kExample);
}

void PrintNoDisplay(const std::string &why)
{
    const std::string program(kProgram);
    std::string text = program + ": " + why + ": окно игры показать негде.\n";
    text += "Задачу можно решить и без окна: " + program + " --solve " + kExample + "\n";
    Print(stderr, text);
}

} // namespace

std::optional<int> RunWithoutWindow(int argc, char *argv[])
{
    const Options options;
    QCommandLineParser parser;
    Prepare(parser, options);
    const QStringList arguments = Arguments(argc, argv);
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(options.Help)) {
        Print(stdout, HelpText(options));
        return 0;
    }
    if (parser.isSet(options.Version)) {
        Print(stdout, std::string(kAppTitle) + " " + SOSUDNIK_VERSION + "\n");
        return 0;
    }
    // Unknown options may be Qt's own, for the window; but with --solve
    // there is no window. The parser knows --solve in all its spellings,
    // even when it stopped at an unknown option.
    if (!parser.isSet(options.Solve))
        return std::nullopt;
    std::string problem = Problem(parser, parsed, arguments);
    if (problem.empty() && !parser.positionalArguments().isEmpty())
        problem = "лишние аргументы: " + parser.positionalArguments().join(QLatin1Char(' ')).toStdString();
    if (!problem.empty()) {
        PrintError(problem);
        Print(stderr, "Справка: " + std::string(kProgram) + " --help\n");
        return kExitBadTask;
    }
    return SolveCommand(parser.value(options.Solve));
}

namespace {

QtMessageHandler g_previousHandler = nullptr;
QString g_platform; // as asked for; empty for Qt's default
QString g_display;  // the X display asked for, by -display or DISPLAY

// Qt ends with qFatal when no platform plugin starts (no X server at the
// address, no permission): say it in the game's words and end with a status
// instead of an abort and a core file.
void PlatformFailureHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg && message.contains(QLatin1String("platform plugin"))) {
        if (!g_platform.isEmpty() && !g_platform.startsWith(QLatin1String("xcb")))
            PrintNoDisplay("платформа Qt «" + g_platform.toStdString() + "» не запускается");
        else if (g_display.isEmpty())
            PrintNoDisplay("графический дисплей недоступен");
        else
            PrintNoDisplay("не удалось подключиться к дисплею «" + g_display.toStdString() + "»");
        std::_Exit(kExitNoDisplay);
    }
    g_previousHandler(type, context, message);
}

} // namespace

bool DisplayAvailable(int argc, char *argv[])
{
    QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    QString display = qEnvironmentVariable("DISPLAY");
    // Qt's own options, which it reads with one dash or two.
    for (int i = 1; i + 1 < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument == QLatin1String("-platform") || argument == QLatin1String("--platform"))
            platform = QString::fromLocal8Bit(argv[++i]);
        else if (argument == QLatin1String("-display") || argument == QLatin1String("--display"))
            display = QString::fromLocal8Bit(argv[++i]);
    }
    g_platform = platform;
    g_display = display;
    // Once: installed again, the handler would pass messages on to itself.
    static const bool handlerInstalled = [] {
        g_previousHandler = qInstallMessageHandler(PlatformFailureHandler);
        return true;
    }();
    (void)handlerInstalled;
    // Only X is known to need a display named; any other platform finds its
    // own way or fails into the handler above, and a list of platforms to try
    // ("xcb;offscreen") goes on to the next when X is not there.
    const QStringList platforms = platform.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    const bool x11Only = platforms.isEmpty()
        ? qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        : std::all_of(platforms.begin(), platforms.end(),
                      [](const QString &p) { return p.startsWith(QLatin1String("xcb")); });
    if (x11Only && display.isEmpty()) {
        PrintNoDisplay("нет графического дисплея (переменная DISPLAY пуста)");
        return false;
    }
    return true;
}

void StartFromArguments(TfrmMain &window, const QStringList &arguments)
{
    const Options options;
    QCommandLineParser parser;
    Prepare(parser, options);
    const bool parsed = parser.parse(arguments);
    const QStringList positional = parser.positionalArguments();
    std::string problem = Problem(parser, parsed, arguments);
    if (problem.empty() && positional.size() > 1)
        problem = "лишние аргументы: " + positional.mid(1).join(QLatin1Char(' ')).toStdString();
    if (!problem.empty()) {
        // A sentence of its own in the box.
        QString sentence = QString::fromStdString(problem);
        sentence[0] = sentence[0].toUpper();
        window.Model().Guard().ShowError(sentence.toStdString());
        return;
    }
    if (!positional.isEmpty())
        window.StartTaskCode(positional.first().toStdString());
}
