// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "command_line.h"

#include "wording.h"

#include <QString>

#include <algorithm>

namespace {

// Qt's own options, which QApplication takes with one dash or two: those
// followed by a value, which some also take after "=", and those alone.
// Qt leaves -display, -geometry and the like to the X platform; here they
// are Qt's whatever the platform.
struct QtOption {
    const char *Name;
    bool Value;
    bool Joined; // also as -name=value
};

constexpr QtOption kQtOptions[] = {
    {"platform", true, false},    {"platformpluginpath", true, false}, {"platformtheme", true, false},
    {"plugin", true, false},      {"qwindowgeometry", true, false},    {"qwindowtitle", true, false},
    {"qwindowicon", true, false}, {"session", true, false},            {"style", true, true},
    {"stylesheet", true, true},   {"qmljsdebugger", true, true},       {"display", true, false},
    {"geometry", true, false},    {"title", true, false},              {"icon", true, false},
    {"name", true, false},        {"visual", true, false},             {"reverse", false, false},
    {"testability", false, false}, {"widgetcount", false, false},      {"nograb", false, false},
    {"dograb", false, false},
};

const Option *FindOption(std::string_view name)
{
    for (const Option &option : kOptions) {
        if (name == option.Long || (option.Short && name == option.Short))
            return &option;
    }
    return nullptr;
}

const QtOption *FindQtOption(std::string_view name)
{
    for (const QtOption &option : kQtOptions) {
        if (name == option.Name)
            return &option;
    }
    return nullptr;
}

std::string QtName(const char *name)
{
    return std::string("-") + name;
}

std::string WithFirstLetter(std::string_view text, bool upper)
{
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (!s.isEmpty())
        s[0] = upper ? s[0].toUpper() : s[0].toLower();
    return s.toStdString();
}

} // namespace

std::string LongName(const char *name)
{
    return std::string("--") + name;
}

// A message for stderr, after "sosudnik: ", from a sentence for the box.
std::string Lowered(std::string_view sentence)
{
    return WithFirstLetter(sentence, false);
}

// A message as the box shows it: a sentence (the box adds its full stop).
std::string Sentence(std::string_view message)
{
    return WithFirstLetter(message, true);
}

// "аргумент «x» лишний", "аргументы «x», «y», «z» и еще 997 лишние".
std::string ExtraArguments(const std::vector<std::string> &extra)
{
    return extra.size() == 1 ? "аргумент " + Quoted(extra.front()) + " лишний"
                             : "аргументы " + QuotedList(extra) + " лишние";
}

bool Accompanies(const Companion &companion, std::string_view command)
{
    return std::any_of(companion.Commands.begin(), companion.Commands.end(),
                       [command](const char *shaped) { return shaped && command == shaped; });
}

std::string CompanionRule(const Companion &companion)
{
    std::string commands;
    for (const char *shaped : companion.Commands) {
        if (shaped)
            commands += (commands.empty() ? "" : " или ") + LongName(shaped);
    }
    return "параметр " + LongName(companion.Option) + " работает только с " + commands;
}

bool CommandLine::Has(std::string_view option) const
{
    return std::any_of(Options.begin(), Options.end(), [option](const Given &given) { return given.Name == option; });
}

const std::string &CommandLine::Value(std::string_view option) const
{
    const auto last = std::find_if(Options.rbegin(), Options.rend(),
                                   [option](const Given &given) { return given.Name == option; });
    return last->Value;
}

CommandLine ReadCommandLine(int argc, char *argv[])
{
    CommandLine line;
    if (argc > 0)
        line.QtArgv.push_back(argv[0]);
    const auto problem = [&line](const std::string &text) {
        if (line.Problem.empty())
            line.Problem = text;
    };
    bool operandsOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (operandsOnly || argument.size() < 2 || argument[0] != '-') {
            line.Operands.emplace_back(argument);
            continue;
        }
        if (argument == "--") {
            operandsOnly = true;
            continue;
        }
        // "-solve" is "--solve", as Qt's "-platform" is "--platform".
        const std::size_t dashes = argument[1] == '-' ? 2 : 1;
        const std::size_t equals = argument.find('=');
        const bool joined = equals != std::string_view::npos;
        const std::string_view typed = argument.substr(0, equals);
        const std::string_view name = typed.substr(dashes);
        const bool hasNext = i + 1 < argc;

        if (const QtOption *qt = FindQtOption(name)) {
            line.QtOptions.emplace_back(typed);
            if (joined && !(qt->Value && qt->Joined)) {
                problem(qt->Value ? "после " + QtName(qt->Name) + " значение пишется через пробел"
                                  : "параметру " + QtName(qt->Name) + " значение не нужно");
                continue;
            }
            if (qt->Value && !joined && !hasNext) {
                problem("после " + QtName(qt->Name) + " нужно значение");
                continue;
            }
            line.QtArgv.push_back(argv[i]);
            if (qt->Value && !joined) {
                const std::string value = argv[++i];
                line.QtArgv.push_back(argv[i]);
                if (name == "platform")
                    line.Platform = value;
                else if (name == "display")
                    line.Display = value;
            }
        } else if (const Option *option = FindOption(name)) {
            // Given even when its value is missing or odd: the command it
            // asks for is the one to say so.
            if (line.Has(option->Long))
                problem("параметр " + LongName(option->Long) + " указан больше одного раза");
            std::string value;
            if (option->Value && joined)
                value = argument.substr(equals + 1);
            else if (option->Value && hasNext)
                value = argv[++i];
            else if (option->Value)
                problem("после " + LongName(option->Long) + " " + option->Missing);
            else if (joined)
                problem("параметру " + LongName(option->Long) + " значение не нужно");
            line.Options.push_back({option->Long, value});
        } else {
            problem("параметр " + Quoted(typed) + " неизвестен");
        }
    }
    line.QtArgc = static_cast<int>(line.QtArgv.size());
    line.QtArgv.push_back(nullptr);
    return line;
}
