// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char *kProgram = "sosudnik";

// Exit statuses of the window-less commands and of a start without a display.
inline constexpr int kExitSolved = 0;
inline constexpr int kExitNoSolution = 1;
inline constexpr int kExitBadTask = 2; // a malformed task code or arguments
inline constexpr int kExitNoDisplay = 3;
inline constexpr int kExitOutputFailed = 4; // standard output, or a file asked for, could not be written

// The game's own options. A new one is a row here; a new window-less
// command is also a row in kCommands below.
struct Option {
    const char *Short; // one letter, or null
    const char *Long;
    const char *Value; // what follows it, as --help names it; null for none
    const char *Missing; // "после --solve нужна задача"
    const char *Help;
};

inline constexpr Option kOptions[] = {
    {"h", "help", nullptr, nullptr, "показать эту справку"},
    {"v", "version", nullptr, nullptr, "показать версию"},
    {nullptr, "solve", "задача", "нужна задача", "решить задачу без окна и вывести решение"},
    {nullptr, "check", "задача", "нужна задача",
     "проверить файлы результата или папки с ними, названные после задачи (или нескольких через «+»), и вывести "
     "итог по каждому файлу"},
    {nullptr, "csv", nullptr, nullptr, "с --check: итоги в CSV для электронной таблицы"},
    {nullptr, "xlsx", "файл", "нужно имя файла .xlsx", "с --check: записать итоги еще и в таблицу Excel (.xlsx)"},
    {nullptr, "book", nullptr, nullptr, "вывести сборник задач, по задаче в строке"},
    {nullptr, "generate", "1-5", "нужен уровень",
     "придумать задачу этого уровня (уровни ниже) и вывести ее код и наименьшее число переливаний"},
    {nullptr, "seed", "N", "нужно число",
     "с --generate и --worksheet: задачи по числу N от 0 до 4294967295, одни и те же при каждом запуске"},
    {nullptr, "worksheet", "задачи", "нужно, из каких задач составить листок",
     "сделать листок с задачами в PDF (A4) и ключ к нему: book=номера сборника через запятую, code=коды задач "
     "через плюс или level=уровень (случайные задачи этого уровня)"},
    {nullptr, "key", "файл", "нужно имя файла", "с --worksheet: ключ к листку отдельным файлом, а не в конце листка"},
    {nullptr, "count", "N", "нужно число", "с --worksheet level=: задач на листке, от 1 до 20 (без --count 4)"},
    {nullptr, "variants", "N", "нужно число",
     "с --worksheet level=: вариантов листка, от 1 до 200, у каждого свои задачи"},
    {nullptr, "map", "задача", "нужна задача",
     "нарисовать карту переливаний задачи с ее кратчайшим решением и записать в файл, названный после -o"},
    {"o", "output", "файл", "нужно имя файла",
     "с --map: файл карты, PNG, SVG или PDF по расширению (.png, .svg, .pdf); с --worksheet: файл листка (PDF); "
     "прежний файл заменяется, только когда новый записан целиком"},
    {nullptr, "lesson", nullptr, nullptr,
     "урок: без подсказки, решения и проверок, наименьшее число переливаний не показывается; ходы "
     "ученика записываются в его файл сами (ниже)"},
    {nullptr, "folder", "папка", "нужна папка",
     "с --lesson: папка для файлов учеников, иначе текущая; лучше своя на каждый урок"},
    {nullptr, "pupil", "имя", "нужны фамилия и имя",
     "с --lesson: фамилия и имя ученика; без него игра спросит их при запуске"},
};

// Options for the window only.
inline constexpr const char *kWindowOnly[] = {"lesson", "folder", "pupil"};

// Options that only shape what a command does, and the commands they shape.
struct Companion {
    const char *Option;
    std::array<const char *, 3> Commands; // the first few; the rest null
};

inline constexpr Companion kCompanions[] = {
    {"csv", {"check"}},
    {"xlsx", {"check"}},
    {"seed", {"generate", "worksheet"}},
    {"output", {"map", "worksheet"}},
    {"key", {"worksheet"}},
    {"count", {"worksheet"}},
    {"variants", {"worksheet"}},
    {"folder", {"lesson"}},
    {"pupil", {"lesson"}},
};

// Whether the companion shapes this command.
bool Accompanies(const Companion &companion, std::string_view command);
// "параметр --output работает только с --map" (or "с --a или --b").
std::string CompanionRule(const Companion &companion);

// The window-less commands that do work of their own: one at a time.
inline constexpr const char *kExclusive[] = {"solve", "check", "book", "generate", "map", "worksheet"};

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

// Whether one of the commands the companion shapes is on the line.
bool CommandGiven(const CommandLine &line, const Companion &companion);

// "--name".
std::string LongName(const char *name);
// A message for stderr, after "sosudnik: ", from a sentence for the box.
std::string Lowered(std::string_view sentence);
// A message as the box shows it: a sentence (the box adds its full stop).
std::string Sentence(std::string_view message);
// "аргумент «x» лишний", "аргументы «x», «y», «z» и еще 997 лишние".
std::string ExtraArguments(const std::vector<std::string> &extra);
