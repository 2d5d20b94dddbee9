// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "check_table.h"

#include "atomic_file.h"
#include "check_report.h"
#include "record_check.h"
#include "save_failure.h"
#include "wording.h"

#include <cstdlib>
#include <ctime>

#include <dlfcn.h>
#include <unistd.h>

namespace {

// Always by a whole path: a bare name would be looked for along the
// library path too.
void *Open(const std::string &path)
{
    return path.empty() || path.front() != '/' ? nullptr : ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

// The folder of the running program, with its "/".
std::string ProgramFolder()
{
    std::string program(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", program.data(), program.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= program.size())
        return {};
    program.resize(static_cast<std::size_t>(n));
    return program.substr(0, program.rfind('/') + 1);
}

XlsxBytesFunction LoadXlsxModule(std::string &problem)
{
    // Where the tests say, beside the program (in the build tree), where it
    // is installed from the program's folder, or where it was to be
    // installed; the handle stays for the rest of the run.
    static void *const handle = [] {
        const std::string folder = ProgramFolder();
        const char *named = std::getenv("SOSUDNIK_XLSX_MODULE");
        for (const std::string &path :
             {std::string(named ? named : ""), folder.empty() ? std::string() : folder + kXlsxModule,
              folder.empty() ? std::string() : folder + SOSUDNIK_MODULE_FROM_GAME "/" + kXlsxModule,
              std::string(SOSUDNIK_MODULE_DIR "/") + kXlsxModule}) {
            if (void *found = Open(path))
                return found;
        }
        return static_cast<void *>(nullptr);
    }();
    if (!handle) {
        const char *error = ::dlerror();
        problem = "не найдена библиотека для файлов .xlsx (" + std::string(kXlsxModule) + ")"
            + (error ? ": " + EscapeControls(error) : std::string());
        return nullptr;
    }
    auto *function = reinterpret_cast<XlsxBytesFunction>(::dlsym(handle, kXlsxBytesSymbol));
    if (!function)
        problem = "в библиотеке " + std::string(kXlsxModule) + " нет функции " + kXlsxBytesSymbol;
    return function;
}

TableCell Count(const std::optional<int> &n)
{
    return n ? TableCell{std::to_string(*n), *n} : TableCell{};
}

} // namespace

CheckTable MakeCheckTable(const std::vector<CheckedFile> &files, const std::vector<std::string> &codes,
                          std::string_view date)
{
    CheckTable table;
    std::string tasks;
    for (const std::string &code : codes)
        tasks += (tasks.empty() ? "" : " + ") + EscapeControls(code);
    table.Title = std::string(codes.size() > 1 ? "Проверка записей: задачи " : "Проверка записей: задача ") + tasks
        + "; " + std::string(date);
    const bool variants = codes.size() > 1;
    table.Headings = {"Файл"};
    if (variants)
        table.Headings.emplace_back("Задача");
    for (const char *heading : {"Итог", "Ходы", "Наименьшее", "Подробности"})
        table.Headings.emplace_back(heading);
    for (const CheckedFile &file : files) {
        const RecordCheck &check = file.Check;
        std::vector<TableCell> row;
        row.push_back({EscapeControls(file.Path), std::nullopt});
        if (variants)
            row.push_back({check.Task ? codes[*check.Task] : std::string(), std::nullopt});
        row.push_back({VerdictWord(check.Result), std::nullopt});
        row.push_back(Count(check.Pours));
        row.push_back(Count(check.Fewest));
        row.push_back({EscapeControls(check.Detail), std::nullopt});
        table.Rows.push_back(std::move(row));
    }
    return table;
}

std::string Today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[16] = "";
    if (localtime_r(&now, &local))
        std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

std::string WriteXlsxFile(const CheckTable &table, const std::string &path)
{
    std::string problem;
    const XlsxBytesFunction bytesOf = LoadXlsxModule(problem);
    std::string bytes;
    if (!bytesOf || !bytesOf(table, bytes, problem))
        return "Таблица не записана: " + problem;
    const std::string_view pieces[] = {bytes};
    try {
        // Never half-written: a spreadsheet cut short does not open at all.
        WriteFileAtomically(path, pieces, InPlace::Never);
    } catch (const SaveFailure &failure) {
        return EscapeControls(failure.what());
    }
    return {};
}
