// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "console_commands.h"

#include "advice.h"
#include "atomic_file.h"
#include "check_report.h"
#include "check_table.h"
#include "class_files.h"
#include "command_line.h"
#include "lazy_library.h"
#include "map_file.h"
#include "message_boxes.h"
#include "parse.h"
#include "pupil_file.h"
#include "record_check.h"
#include "save_failure.h"
#include "solver.h"
#include "task_book.h"
#include "task_code.h"
#include "task_generator.h"
#include "utf8.h"
#include "wording.h"
#include "worksheet.h"
#include "worksheet_pdf.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <random>
#include <stdexcept>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kHelpWidth = 80;

void Complain(const Streams &streams, const std::string &message)
{
    std::fputs((std::string(kProgram) + ": " + message + "\n").c_str(), streams.Err);
    std::fflush(streams.Err);
}

int Refuse(const Streams &streams, const std::string &problem)
{
    Complain(streams, problem);
    std::fputs(("Справка: " + std::string(kProgram) + " --help\n").c_str(), streams.Err);
    std::fflush(streams.Err);
    return kExitBadTask;
}

// Why a write failed, in Russian.
std::string WriteFailure(int error)
{
    switch (error) {
    case EBADF:
        return "он закрыт";
    case ENOSPC:
        return "на устройстве не осталось места";
    case EDQUOT:
        return "превышена дисковая квота";
    case EFBIG:
        return "файл превысил допустимый размер";
    case EPIPE:
        return "читавшая его программа уже завершилась";
    case 0:
    case EIO:
        return "ошибка ввода-вывода";
    default:
        return "системная ошибка (errno " + std::to_string(error) + ")";
    }
}

// Writes the command's output and makes sure it got out: a full disk, a
// closed output or a reader that is gone show only at the flush or in the
// stream's error state, and must not end as a success.
int Emit(const Streams &streams, const std::string &text, int status)
{
    errno = 0;
    std::fwrite(text.data(), 1, text.size(), streams.Out);
    int error = std::ferror(streams.Out) ? errno : 0;
    if (std::fflush(streams.Out) != 0 && error == 0)
        error = errno;
    if (!std::ferror(streams.Out))
        return status;
    Complain(streams, "стандартный вывод не записан: " + WriteFailure(error));
    return kExitOutputFailed;
}

// Breaks a paragraph at spaces into lines of at most kHelpWidth characters,
// the first after `first`, the others after `rest`. A dash stays with the
// word before it.
std::string Wrapped(std::string_view text, std::string_view first = {}, std::string_view rest = {})
{
    std::vector<std::string> words;
    for (std::size_t from = 0; from < text.size();) {
        const std::size_t space = std::min(text.find(' ', from), text.size());
        const std::string_view word = text.substr(from, space - from);
        if (word == "—" && !words.empty())
            words.back() += " —";
        else if (!word.empty())
            words.emplace_back(word);
        from = space + 1;
    }
    std::string out;
    std::string line(first);
    std::size_t length = Utf8Characters(first);
    bool bare = true; // no word on the line yet
    for (const std::string &word : words) {
        const std::size_t size = Utf8Characters(word);
        if (!bare && length + 1 + size > kHelpWidth) {
            out += line + "\n";
            line = rest;
            length = Utf8Characters(rest);
            bare = true;
        }
        if (!bare) {
            line += ' ';
            ++length;
        }
        line += word;
        length += size;
        bare = false;
    }
    return out + line + "\n";
}

struct ExitStatus {
    int Status;
    const char *Meaning;
};

constexpr ExitStatus kExitStatuses[] = {
    {kExitSolved, "задача решена (--solve), все файлы решены (--check), выведены сборник (--book) или задача "
                  "(--generate), записаны листок (--worksheet) или карта (--map), или игра закрыта как обычно, в том "
                  "числе окно «Фамилия и имя» на уроке"},
    {kExitNoSolution, "решения нет, причина в единственной строке вывода (--solve); не все файлы решены "
                      "(--check)"},
    {kExitBadTask, "задача, уровень, число N, файл карты или параметры записаны неверно, в папку для --folder "
                   "нельзя записывать; сообщение в stderr"},
    {kExitNoDisplay, "нет графического дисплея: окно игры показать негде"},
    {kExitOutputFailed, "не удалось записать стандартный вывод (нет места, вывод закрыт, читавшая его "
                        "программа завершилась), файл листка (-o, --key) или файл карты (--map); причина в stderr"},
};

std::string HelpText()
{
    const std::string program(kProgram);
    std::string text = "Использование: " + program + " [параметры] [задача]\n";
    text += "       " + program + " --check <задача>[+<задача>...] [--csv] [--xlsx <файл>]\n";
    text += "                -- <файл или папка>...\n";
    text += "       " + program + " --map <задача> -o <файл>\n";
    text += "       " + program + " --worksheet <задачи> -o <файл.pdf> [--key <файл.pdf>]\n";
    text += "       " + std::string(program.size(), ' ') + "             [--count N] [--seed N] [--variants N]\n";
    text += Wrapped("«" + std::string(kAppTitle) + "» — головоломка на переливание.") + "\n";
    text += Wrapped("Задача записывается как C1,C2,C3/L1,L2,L3/T: объемы трех сосудов, уровни в них и нужный "
                    "уровень — целые числа от 0 до 999, причем уровень не больше объема своего сосуда. Заданная "
                    "так задача сразу начинается, как выбранная в меню «Задачи».")
        + "\n";
    text += "Параметры:\n";
    for (const Option &option : kOptions) {
        std::string names = option.Short ? "-" + std::string(option.Short) + ", " : std::string();
        names += LongName(option.Long);
        if (option.Value)
            names += " <" + std::string(option.Value) + ">";
        const std::size_t width = Utf8Characters(names);
        names.append(width <= 20 ? 20 - width : 1, ' ');
        text += Wrapped(option.Help, "  " + names + "  ", std::string(24, ' '));
    }
    text += Wrapped("Окно понимает и параметры Qt: -platform, -display, -style и другие.") + "\n";
    text += Wrapped("Решение (--solve): в первой строке наименьшее число переливаний N, затем N строк «S R L1 L2 "
                    "L3» — из какого сосуда, в какой и уровни после переливания.")
        + "\n";
    text += Wrapped("Проверка (--check): строка на файл, поля через табуляцию — имя файла, итог (решено, не "
                    "решено, неверный ход, другая задача, не читается), переливания игрока до цели, наименьшее "
                    "число переливаний и подробности. С --csv то же в CSV с заголовком, с --xlsx еще и таблица "
                    "Excel. Из нескольких сохранений в файле проверяется лучшее: решенное, а из решенных — с "
                    "наименьшим числом переливаний. Папка — это ее файлы *.xml, по алфавиту. Варианты задачи "
                    "пишутся через «+»: файл проверяется по той задаче, с уровней которой начинаются его "
                    "сохранения, и после имени файла выводится ее код. Файлы лучше называть после «--», чтобы "
                    "имя вроде -x.xml не приняли за параметр.")
        + "\n";
    text += Wrapped("Сборник (--book): в каждой строке через табуляцию номер задачи, ее уровень, код, наименьшее "
                    "число переливаний и название.")
        + "\n";
    text += Wrapped("Задача (--generate): код и наименьшее число переливаний через табуляцию; без --seed число N "
                    "выбирается случайно и выводится второй строкой «seed N».")
        + "\n";
    text += Wrapped("Карта (--map): все положения задачи на треугольной сетке — точки x = V1 + V2/2, y = V2·√3/2 "
                    "внутри многоугольника 0 ≤ Vn ≤ Cn, — достижимые из начала положения, победные и одно кратчайшее "
                    "решение. Дисплей не нужен.")
        + "\n";
    text += Wrapped("Урок (--lesson): игра спрашивает фамилию и имя ученика (или берет их из --pupil) и пишет их "
                    "в заголовке окна. Ходы ученика записываются в файл ПАПКА/Фамилия Имя.xml — по «Запись "
                    "результата», при решении задачи, перед новой задачей и при закрытии окна; каждое сохранение "
                    "дописывается к тому, что в файле уже есть. Файл, который нельзя дополнить, остается как есть, "
                    "а запись идет в «Фамилия Имя (2).xml». Ученики с одинаковыми именами пишут в один файл. В "
                    "файле нет даты, поэтому каждому уроку лучше своя папка.")
        + "\n";
    text += Wrapped("Вне урока «Игра → Записать как…» (Ctrl+Shift+S) записывает то же, что «Запись результата», "
                    "в выбранный файл.")
        + "\n";
    text += Wrapped("Листок (--worksheet): PDF на листах A4 — у каждой задачи номер, название, условие, рисунок "
                    "сосудов и пустая таблица переливаний, одинаковая у всех задач листка; в конце (или в файле "
                    "--key) ключ: код каждой задачи, наименьшее число переливаний, кратчайшее решение с картой, коды "
                    "вариантов для --check. Задачи: book=1,5,23 (номера сборника), code=КОД+КОД или level=3 с "
                    "--count N (случайные задачи уровня; без --seed число выбирается случайно, печатается в stderr "
                    "и в ключе) и --variants N (у каждого варианта свои задачи). Файлы записываются целиком или не "
                    "меняются.")
        + "\n";
    text += "Уровни по наименьшему числу переливаний:\n";
    for (int level = 1; level <= kLevelCount; ++level)
        text += "  " + std::to_string(level) + "  " + Band(level).Name + ": " + BandText(level) + "\n";
    text += "\n";
    text += "Код выхода:\n";
    for (const ExitStatus &status : kExitStatuses)
        text += Wrapped(status.Meaning, "  " + std::to_string(status.Status) + "  ", "     ");
    text += "\nПримеры:\n";
    text += "  " + program + " --solve 12,7,5/12,0,0/6\n";
    text += "  " + program + " 8,5,3/8,0,0/4\n";
    text += "  " + program + " --check 12,7,5/12,0,0/6 -- *.xml\n";
    text += "  " + program + " --check 12,7,5/12,0,0/6+8,5,3/8,0,0/4 --xlsx 7a.xlsx -- 7a/\n";
    text += "  " + program + " --generate 3 --seed 7\n";
    text += "  " + program + " --worksheet level=3 --count 6 --variants 30 -o листок.pdf\n";
    text += "  " + program + " --map 12,7,5/12,0,0/6 -o milk.pdf\n";
    text += "  " + program + " --lesson 12,7,5/12,0,0/6 --folder /srv/class/7a\n";
    return text;
}

// Runs draw with a QGuiApplication for its fonts: the one there is (the
// tests have one), or one of its own on the offscreen platform, which needs
// no display.
template <class Draw>
auto DrawOffscreen(Draw &&draw)
{
    if (QCoreApplication::instance())
        return draw();
    static char name[] = "sosudnik";
    static char platform[] = "-platform";
    static char offscreen[] = "offscreen";
    static char *argv[] = {name, platform, offscreen, nullptr};
    static int argc = 3;
    // Without XDG_RUNTIME_DIR (cron, a bare ssh) Qt names the folder it uses
    // instead: nothing this command's user can act on.
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (!message.startsWith(QLatin1String("QStandardPaths: ")))
                qt_message_output(type, context, message);
        });
    const QGuiApplication app(argc, argv);
    auto result = draw();
    qInstallMessageHandler(previous);
    return result;
}

int PrintHelp(const CommandLine &, const Streams &streams)
{
    return Emit(streams, HelpText(), 0);
}

int PrintVersion(const CommandLine &, const Streams &streams)
{
    return Emit(streams, std::string(kAppTitle) + " " + SOSUDNIK_VERSION + "\n", 0);
}

// Why a window-less command cannot run with these arguments: whatever could
// not be read, Qt's options (there is no window for them) and operands
// beyond the `operands` it takes. Empty when it can.
// Whether one of the commands the companion shapes is given too.
bool ShapesOneGiven(const CommandLine &line, const Companion &companion)
{
    return std::any_of(companion.Commands.begin(), companion.Commands.end(),
                       [&line](const char *shaped) { return shaped && line.Has(shaped); });
}

std::string Refusal(const CommandLine &line, const char *command, std::size_t operands)
{
    if (!line.Problem.empty())
        return line.Problem;
    for (const char *other : kExclusive) {
        if (std::string_view(other) != command && line.Has(other))
            return "параметры " + LongName(command) + " и " + LongName(other) + " вместе не работают";
    }
    for (const Companion &companion : kCompanions) {
        if (!Accompanies(companion, command) && line.Has(companion.Option) && !ShapesOneGiven(line, companion))
            return CompanionRule(companion);
    }
    for (const char *option : kWindowOnly) {
        if (line.Has(option))
            return "параметр " + LongName(option) + " нужен только окну, а " + LongName(command) + " работает без окна";
    }
    if (!line.QtOptions.empty())
        return "параметр " + Quoted(line.QtOptions.front()) + " нужен только окну, а " + LongName(command)
            + " работает без окна";
    if (line.Operands.size() > operands)
        return ExtraArguments({line.Operands.begin() + static_cast<std::ptrdiff_t>(operands), line.Operands.end()});
    return {};
}

// The task whose code follows the option, or nothing once stderr says why.
std::optional<TaskPreset> TaskAfter(const CommandLine &line, const char *option, const Streams &streams)
{
    try {
        return ParseTaskCode(line.Value(option));
    } catch (const std::invalid_argument &e) {
        Complain(streams, Lowered(e.what()));
        return std::nullopt;
    }
}

int SolveTask(const CommandLine &line, const Streams &streams)
{
    if (const std::string refusal = Refusal(line, "solve", 0); !refusal.empty())
        return Refuse(streams, refusal);
    const std::optional<TaskPreset> read = TaskAfter(line, "solve", streams);
    if (!read)
        return kExitBadTask;
    const TaskPreset &task = *read;
    const Solution solution = Solve(task);
    if (!solution.Solved())
        return Emit(streams, UnsolvableText(solution, task) + "\n", kExitNoSolution);
    std::string out = std::to_string(solution.Pours()) + "\n";
    for (const SolverStep &step : solution.Steps) {
        out += std::to_string(step.Source) + " " + std::to_string(step.Receiver);
        for (int level : step.Levels)
            out += " " + std::to_string(level);
        out += "\n";
    }
    return Emit(streams, out, kExitSolved);
}

// --check: a line a file, and status 0 only when every file is solved.
int CheckRecords(const CommandLine &line, const Streams &streams)
{
    if (const std::string refusal = Refusal(line, "check", line.Operands.size()); !refusal.empty())
        return Refuse(streams, refusal);
    std::vector<TaskPreset> tasks;
    try {
        tasks = ParseTaskCodes(line.Value("check"));
    } catch (const std::invalid_argument &e) {
        Complain(streams, Lowered(e.what()));
        return kExitBadTask;
    }
    if (line.Operands.empty())
        return Refuse(streams, "после задачи нужен хотя бы один файл результата");
    const bool xlsx = line.Has("xlsx");
    if (xlsx && line.Value("xlsx").empty())
        return Refuse(streams, "после --xlsx нужно имя файла .xlsx");

    const RecordChecker checker(tasks);
    std::vector<std::string> codes;
    for (const TaskPreset &task : tasks)
        codes.push_back(TaskCode(task));
    std::vector<CheckedFile> checked;
    bool allSolved = true;
    for (const ClassFile &file : ListClassFiles(line.Operands)) {
        checked.push_back({file.Path, CheckClassFile(checker, file)});
        allSolved = allSolved && checked.back().Check.Result == Verdict::Solved;
    }
    const std::string out = line.Has("csv") ? CheckCsv(checked, codes) : CheckLines(checked, codes);
    const int status = Emit(streams, out, allSolved ? kExitSolved : kExitNoSolution);
    if (xlsx) {
        const CheckTable table = MakeCheckTable(checked, codes, Today());
        if (const std::string problem = WriteXlsxFile(table, line.Value("xlsx")); !problem.empty()) {
            Complain(streams, Lowered(problem));
            return kExitOutputFailed;
        }
    }
    return status;
}

// A companion option without its command: nothing it could shape.
std::string CompanionAlone(const CommandLine &line)
{
    for (const Companion &companion : kCompanions) {
        if (line.Has(companion.Option) && !ShapesOneGiven(line, companion))
            return CompanionRule(companion);
    }
    return {};
}

// Why a lesson cannot start with these arguments: the pupil's name is blank,
// or the folder for their files is not one they can write into. Said before
// any window, so that the teacher's launcher fails at once.
std::string LessonRefusal(const CommandLine &line)
{
    if (line.Has("pupil") && TidyPupilName(QString::fromLocal8Bit(line.Value("pupil").c_str())).isEmpty())
        return "после --pupil нужны фамилия и имя";
    if (!line.Has("folder"))
        return {};
    const std::string &folder = line.Value("folder");
    if (folder.empty())
        return "после --folder нужна папка";
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0)
        return "папки " + Quoted(folder) + " нет";
    if (!S_ISDIR(status.st_mode))
        return "путь " + Quoted(folder) + " для --folder — не папка";
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return "в папку " + Quoted(folder) + " нельзя записывать: "
            + (errno == EROFS ? "диск доступен только для чтения" : "нет прав");
    return {};
}

int PrintBook(const CommandLine &line, const Streams &streams)
{
    if (const std::string refusal = Refusal(line, "book", 0); !refusal.empty())
        return Refuse(streams, refusal);
    std::string out;
    int number = 0;
    for (const BookTask &task : TaskBook()) {
        out += std::to_string(++number) + "\t" + std::to_string(LevelOf(task.Fewest)) + "\t" + TaskCode(task.Task)
            + "\t" + std::to_string(task.Fewest) + "\t" + task.Title + "\n";
    }
    return Emit(streams, out, 0);
}

int GenerateCommand(const CommandLine &line, const Streams &streams)
{
    if (const std::string refusal = Refusal(line, "generate", 0); !refusal.empty())
        return Refuse(streams, refusal);
    const std::optional<std::uint64_t> level = ReadDigits(line.Value("generate"), kLevelCount);
    if (!level || *level < 1)
        return Refuse(streams, "уровень " + Quoted(line.Value("generate"))
                                   + " не годится: нужно число от 1 до " + std::to_string(kLevelCount)
                                   + " включительно");
    std::uint32_t seed = 0;
    const bool chosen = line.Has("seed");
    if (chosen) {
        const std::optional<std::uint64_t> n = ReadDigits(line.Value("seed"), UINT32_MAX);
        if (!n)
            return Refuse(streams, "число " + Quoted(line.Value("seed"))
                                       + " для --seed не годится: нужно целое от 0 до 4294967295 включительно");
        seed = static_cast<std::uint32_t>(*n);
    } else {
        seed = std::random_device{}();
    }
    const GeneratedTask task = GenerateTask(static_cast<int>(*level), seed);
    std::string out = TaskCode(task.Task) + "\t" + std::to_string(task.Fewest) + "\n";
    if (!chosen)
        out += "seed " + std::to_string(seed) + "\n";
    return Emit(streams, out, 0);
}

// --map: the task's map with its shortest solution, as a PNG, SVG or PDF
// file. Drawn without a display, on Qt's offscreen platform.
int MapCommand(const CommandLine &line, const Streams &streams)
{
    if (const std::string refusal = Refusal(line, "map", 0); !refusal.empty())
        return Refuse(streams, refusal);
    const std::optional<TaskPreset> read = TaskAfter(line, "map", streams);
    if (!read)
        return kExitBadTask;
    const TaskPreset &task = *read;
    if (!line.Has("output"))
        return Refuse(streams, "для --map нужен файл: назовите его после -o или --output");
    const std::string &path = line.Value("output");
    const std::optional<MapFileFormat> format = MapFileFormatOf(path);
    if (!format)
        return Refuse(streams, "файл " + Quoted(path) + " не годится для карты: нужно расширение png, svg или pdf");
    try {
        const QByteArray bytes = DrawOffscreen([&] { return MapFileBytes(task, *format); });
        const std::string_view pieces[] = {std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))};
        // A file already there is replaced by the rename alone, never written over.
        WriteFileAtomically(path, pieces, InPlace::Never);
    } catch (const SaveFailure &failure) {
        Complain(streams, Lowered(SaveFailureText(Shortened(path), failure.Cause())));
        return kExitOutputFailed;
    } catch (const MapFileError &failure) {
        Complain(streams, "файл " + Quoted(path) + " не записан: " + Lowered(failure.what()));
        return kExitOutputFailed;
    }
    return kExitSolved;
}

// The same file named twice, however it is spelt.
bool SameFile(const std::string &a, const std::string &b)
{
    return QFileInfo(QString::fromLocal8Bit(a)).absoluteFilePath()
        == QFileInfo(QString::fromLocal8Bit(b)).absoluteFilePath();
}

// --worksheet WHAT -o FILE [--key FILE] [--count N] [--seed N] [--variants N]:
// a sheet of tasks as PDF, its key at its end or in a file of its own.
int WorksheetCommand(const CommandLine &line, const Streams &streams)
{
    if (const std::string refusal = Refusal(line, "worksheet", 0); !refusal.empty())
        return Refuse(streams, refusal);
    WorksheetArguments arguments{line.Value("worksheet"), {}, {}, {}};
    if (line.Has("count"))
        arguments.Count = line.Value("count");
    if (line.Has("seed"))
        arguments.Seed = line.Value("seed");
    if (line.Has("variants"))
        arguments.Variants = line.Value("variants");
    WorksheetRequest request;
    try {
        request = ReadWorksheetRequest(arguments, std::random_device{}());
    } catch (const std::invalid_argument &e) {
        return Refuse(streams, Lowered(e.what()));
    }
    if (!line.Has("output") || line.Value("output").empty())
        return Refuse(streams, "листок записывается в файл: нужен параметр -o с именем файла");
    const std::string &output = line.Value("output");
    const std::string key = line.Has("key") ? line.Value("key") : std::string();
    if (line.Has("key") && key.empty())
        return Refuse(streams, "после --key нужно имя файла");
    if (!key.empty() && SameFile(output, key))
        return Refuse(streams, "листок и ключ нельзя записать в один и тот же файл");
    if (request.SeedChosen)
        Complain(streams, "задачи выбраны по числу --seed " + std::to_string(request.Seed)
                              + ": с этим числом получится тот же листок");

    const Worksheet sheet = PlanWorksheet(request);
    const std::string failure = DrawOffscreen([&] {
        try {
            WriteWorksheet(sheet, {output, key});
        } catch (const SaveFailure &e) {
            return std::string(e.what());
        }
        return std::string();
    });
    if (!failure.empty()) {
        // The name is the one typed, control characters and all.
        Complain(streams, EscapeControls(Lowered(failure)));
        return kExitOutputFailed;
    }
    return kExitSolved;
}

// The window-less commands, by the option that asks for each; the first
// given wins, so --help answers whatever else is wrong.
struct Command {
    const char *Option;
    int (*Run)(const CommandLine &, const Streams &);
};

constexpr Command kCommands[] = {
    {"help", PrintHelp},
    {"version", PrintVersion},
    {"solve", SolveTask},
    {"check", CheckRecords},
    {"book", PrintBook},
    {"generate", GenerateCommand},
    {"map", MapCommand},
    {"worksheet", WorksheetCommand},
};

} // namespace

std::optional<int> RunWithoutWindow(const CommandLine &line, const Streams &streams)
{
    for (const Command &command : kCommands) {
        if (!line.Has(command.Option))
            continue;
        // A reader that has gone (| head) makes a write fail with EPIPE,
        // which Emit reports as status 4, instead of ending the program.
        std::signal(SIGPIPE, SIG_IGN);
        try {
            return command.Run(line, streams);
        } catch (const LazyLibraryMissing &missing) {
            // An installation without the part a command needs: said, not aborted on.
            Complain(streams, missing.what());
            return kExitOutputFailed;
        }
    }
    if (const std::string alone = CompanionAlone(line); !alone.empty())
        return Refuse(streams, alone);
    if (const std::string refusal = LessonRefusal(line); line.Has("lesson") && !refusal.empty())
        return Refuse(streams, refusal);
    return std::nullopt;
}
