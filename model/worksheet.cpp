// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "worksheet.h"

#include "parse.h"
#include "task_book.h"
#include "task_code.h"
#include "task_generator.h"
#include "wording.h"

#include <algorithm>
#include <array>
#include <set>
#include <stdexcept>

namespace {

// Draws of a seed a random task may take to differ from those already on
// the sheet; a level with few tasks of its own repeats one after that.
constexpr int kDrawsForANewTask = 32;

[[noreturn]] void Refuse(const std::string &reason)
{
    throw std::invalid_argument(reason);
}

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> items;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(separator, from);
        items.push_back(Trimmed(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from)));
        if (at == std::string_view::npos)
            return items;
        from = at + 1;
    }
}

std::string Number(long long n)
{
    return std::to_string(n);
}

void CheckListLength(std::size_t items)
{
    if (items > static_cast<std::size_t>(kMaxSheetTasks))
        Refuse("В списке " + Number(static_cast<long long>(items)) + " "
            + std::string(RussianPlural(static_cast<int>(items % 1000), "задача", "задачи", "задач"))
            + ", а на листке помещается не больше " + Number(kMaxSheetTasks) + " задач");
}

std::vector<int> ReadBookNumbers(std::string_view list)
{
    const std::vector<std::string_view> items = Split(list, ',');
    CheckListLength(items.size());
    const auto last = static_cast<std::uint64_t>(TaskBook().size());
    std::vector<int> numbers;
    for (const std::string_view item : items) {
        if (item.empty())
            Refuse(items.size() == 1 ? "Список номеров сборника пуст: нужны номера задач через запятую, например "
                                       "book=1,5,23"
                                     : "В списке номеров сборника пустое место: номера пишутся через запятую");
        const std::optional<std::uint64_t> number = ReadDigits(item, 999999);
        if (!number)
            Refuse("В списке сборника " + Quoted(item) + " — не номер задачи: нужны номера от 1 до "
                + Number(static_cast<long long>(last)) + " через запятую");
        if (*number < 1 || *number > last)
            Refuse("Задачи " + Quoted(item) + " в сборнике нет: номера от 1 до " + Number(static_cast<long long>(last))
                + " включительно");
        numbers.push_back(static_cast<int>(*number));
    }
    return numbers;
}

std::vector<TaskPreset> ReadCodes(std::string_view list)
{
    const std::vector<std::string_view> items = Split(list, '+');
    CheckListLength(items.size());
    std::vector<TaskPreset> tasks;
    for (const std::string_view item : items) {
        if (item.empty())
            Refuse(items.size() == 1 ? "Список кодов пуст: нужны коды задач через плюс, например "
                                       "code=12,7,5/12,0,0/6+8,5,3/8,0,0/4"
                                     : "В списке кодов пустое место: коды пишутся через плюс");
        tasks.push_back(ParseTaskCode(item));
    }
    return tasks;
}

// A number given to an option: whole, from `least` to `most`.
int OptionNumber(const char *option, const std::string &text, int least, int most)
{
    const std::optional<std::uint64_t> n = ReadDigits(text, static_cast<std::uint64_t>(most));
    if (!n || *n < static_cast<std::uint64_t>(least))
        Refuse("Число " + Quoted(text) + " для --" + option + " не годится: нужно целое от " + Number(least) + " до "
            + Number(most) + " включительно");
    return static_cast<int>(*n);
}

// Options that only random tasks take.
void RefuseLevelOptions(const WorksheetArguments &arguments)
{
    if (arguments.Variants)
        Refuse("Параметр --variants работает только с level=: варианты составляются из случайных задач");
    if (arguments.Count)
        Refuse("Параметр --count работает только с level=: в списке число задач уже задано");
    if (arguments.Seed)
        Refuse("Параметр --seed задает только случайные задачи, а в списке задачи уже выбраны");
}

SheetTask Described(const TaskPreset &task)
{
    SheetTask sheet;
    sheet.Task = task;
    if (const std::optional<int> number = BookNumberOf(task)) {
        const BookTask &book = TaskBook()[static_cast<std::size_t>(*number - 1)];
        sheet.BookNumber = *number;
        sheet.Title = book.Title;
        sheet.Statement = book.Statement ? book.Statement : StatementInWords(task);
    } else {
        sheet.Title = TitleInWords(task);
        sheet.Statement = StatementInWords(task);
    }
    sheet.Answer = Solve(task);
    return sheet;
}

bool SameTask(const TaskPreset &a, const TaskPreset &b)
{
    return a.Capacity == b.Capacity && a.Level == b.Level && a.Target == b.Target;
}

// Each variant's tasks in turn, from one stream of seeds.
std::vector<SheetVariant> RandomVariants(const WorksheetRequest &request)
{
    SplitMix64 seeds(request.Seed);
    std::set<std::string> used;
    std::vector<SheetVariant> variants;
    for (int v = 1; v <= request.Variants; ++v) {
        SheetVariant variant;
        variant.Number = v;
        for (int t = 0; t < request.Count; ++t) {
            GeneratedTask generated;
            for (int draw = 0; draw < kDrawsForANewTask; ++draw) {
                generated = GenerateTask(request.Level, static_cast<std::uint32_t>(seeds.Next() >> 32));
                if (!used.contains(TaskCode(generated.Task)))
                    break;
            }
            used.insert(TaskCode(generated.Task));
            variant.Tasks.push_back(Described(generated.Task));
        }
        variants.push_back(std::move(variant));
    }
    return variants;
}

constexpr const char *kOrdinal[] = {"первый", "второй", "третий"};
constexpr const char *kOrdinalCapital[] = {"Первый", "Второй", "Третий"};
constexpr const char *kInOrdinal[] = {"в первом", "во втором", "в третьем"};
constexpr const char *kInOrdinalCapital[] = {"В первом", "Во втором", "В третьем"};

std::string Litres(int n)
{
    return Number(n) + " " + std::string(RussianPlural(n, "литр", "литра", "литров"));
}

// "12, 7 и 5"
std::string Three(const std::array<std::int32_t, 3> &values)
{
    return Number(values[0]) + ", " + Number(values[1]) + " и " + Number(values[2]);
}

// "второй и третий пусты": vessels alike, named together; the first clause
// of the sentence names the noun as well.
std::string Together(const std::vector<std::size_t> &vessels, bool first, const char *one, const char *many)
{
    if (vessels.size() == 3)
        return std::string(first ? "Все" : "все") + " сосуды " + many;
    std::string names = first ? kOrdinalCapital[vessels[0]] : kOrdinal[vessels[0]];
    if (vessels.size() == 2)
        names += std::string(" и ") + kOrdinal[vessels[1]];
    if (first)
        names += vessels.size() == 2 ? " сосуды" : " сосуд";
    return names + " " + (vessels.size() == 2 ? many : one);
}

} // namespace

WorksheetRequest ReadWorksheetRequest(const WorksheetArguments &arguments, std::uint32_t drawnSeed)
{
    const std::string_view what = arguments.What;
    const std::size_t equals = what.find('=');
    const std::string_view kind = equals == std::string_view::npos ? what : what.substr(0, equals);
    const std::string_view list = equals == std::string_view::npos ? std::string_view() : what.substr(equals + 1);
    if (equals == std::string_view::npos || (kind != "book" && kind != "code" && kind != "level"))
        Refuse("Листок " + Quoted(what)
            + " не разобрать: пишется book=номера через запятую, code=коды через плюс или level=уровень");

    WorksheetRequest request;
    if (kind == "book") {
        RefuseLevelOptions(arguments);
        request.Source = SheetSource::Book;
        request.BookNumbers = ReadBookNumbers(list);
        request.Count = static_cast<int>(request.BookNumbers.size());
        return request;
    }
    if (kind == "code") {
        RefuseLevelOptions(arguments);
        request.Source = SheetSource::Codes;
        request.Codes = ReadCodes(list);
        request.Count = static_cast<int>(request.Codes.size());
        return request;
    }
    request.Source = SheetSource::Level;
    const std::optional<std::uint64_t> level = ReadDigits(Trimmed(list), kLevelCount);
    if (!level || *level < 1)
        Refuse("Уровень " + Quoted(list) + " не годится: нужно число от 1 до " + Number(kLevelCount) + " включительно");
    request.Level = static_cast<int>(*level);
    if (arguments.Count)
        request.Count = OptionNumber("count", *arguments.Count, 1, kMaxSheetTasks);
    if (arguments.Variants)
        request.Variants = OptionNumber("variants", *arguments.Variants, 1, kMaxVariants);
    if (arguments.Seed) {
        const std::optional<std::uint64_t> seed = ReadDigits(*arguments.Seed, UINT32_MAX);
        if (!seed)
            Refuse("Число " + Quoted(*arguments.Seed)
                + " для --seed не годится: нужно целое от 0 до 4294967295 включительно");
        request.Seed = static_cast<std::uint32_t>(*seed);
    } else {
        request.Seed = drawnSeed;
        request.SeedChosen = true;
    }
    return request;
}

std::string WorksheetArgumentsText(const WorksheetRequest &request)
{
    std::string text;
    switch (request.Source) {
    case SheetSource::Book:
        for (const int number : request.BookNumbers)
            text += (text.empty() ? "book=" : ",") + Number(number);
        return text;
    case SheetSource::Codes:
        for (const TaskPreset &task : request.Codes)
            text += (text.empty() ? "code=" : "+") + TaskCode(task);
        return text;
    case SheetSource::Level:
        break;
    }
    text = "level=" + Number(request.Level) + " --count " + Number(request.Count) + " --seed " + Number(request.Seed);
    if (request.Variants > 1)
        text += " --variants " + Number(request.Variants);
    return text;
}

Worksheet PlanWorksheet(const WorksheetRequest &request)
{
    Worksheet sheet;
    sheet.Request = request;
    switch (request.Source) {
    case SheetSource::Book: {
        SheetVariant variant;
        for (const int number : request.BookNumbers)
            variant.Tasks.push_back(Described(TaskBook()[static_cast<std::size_t>(number - 1)].Task));
        sheet.Variants.push_back(std::move(variant));
        break;
    }
    case SheetSource::Codes: {
        SheetVariant variant;
        for (const TaskPreset &task : request.Codes)
            variant.Tasks.push_back(Described(task));
        sheet.Variants.push_back(std::move(variant));
        break;
    }
    case SheetSource::Level:
        sheet.Variants = RandomVariants(request);
        break;
    }
    int hardest = 0;
    for (const SheetVariant &variant : sheet.Variants) {
        for (const SheetTask &task : variant.Tasks) {
            if (task.Answer.Solved())
                hardest = std::max(hardest, LevelOf(task.Answer.Pours()));
        }
    }
    sheet.Rows = SheetRows(hardest);
    return sheet;
}

int SheetRows(int hardestLevel)
{
    // The bands end at 3, 6, 10 and 15 pours; the last has no end, and the
    // longest task of the book takes 29. Even counts: the table is printed
    // in two halves side by side.
    if (hardestLevel <= 3)
        return 12;
    if (hardestLevel == 4)
        return 16;
    return 30;
}

std::string StatementInWords(const TaskPreset &task)
{
    std::vector<std::size_t> empty;
    std::vector<std::size_t> full;
    for (std::size_t n = 0; n < 3; ++n) {
        if (task.Level[n] == 0)
            empty.push_back(n);
        else if (task.Level[n] == task.Capacity[n])
            full.push_back(n);
    }
    // Clauses in the order of the vessels they begin with.
    std::string levels;
    for (std::size_t n = 0; n < 3; ++n) {
        const bool first = levels.empty();
        std::string clause;
        if (!empty.empty() && empty.front() == n)
            clause = Together(empty, first, "пуст", "пусты");
        else if (!full.empty() && full.front() == n)
            clause = Together(full, first, "полон", "полны");
        else if (task.Level[n] != 0 && task.Level[n] != task.Capacity[n])
            clause = std::string(first ? kInOrdinalCapital[n] : kInOrdinal[n]) + (first ? " сосуде " : " ")
                + Litres(task.Level[n]);
        if (!clause.empty())
            levels += (first ? "" : ", ") + clause;
    }
    return "Сосуды вмещают " + Three(task.Capacity) + " "
        + std::string(RussianPlural(task.Capacity[2], "литр", "литра", "литров")) + ". " + levels + ". Получите ровно "
        + Litres(task.Target) + " в одном из сосудов.";
}

std::string TitleInWords(const TaskPreset &task)
{
    return "Сосуды " + Three(task.Capacity);
}

std::optional<int> BookNumberOf(const TaskPreset &task)
{
    const auto book = TaskBook();
    const auto found
        = std::find_if(book.begin(), book.end(), [&task](const BookTask &b) { return SameTask(b.Task, task); });
    if (found == book.end())
        return std::nullopt;
    return static_cast<int>(found - book.begin()) + 1;
}
