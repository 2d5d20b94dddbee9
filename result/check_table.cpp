// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "check_table.h"

#include "atomic_file.h"
#include "check_report.h"
#include "record_check.h"
#include "sheet_writer.h"
#include "save_failure.h"
#include "wording.h"

#include <ctime>

namespace {

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
    std::string bytes;
    try {
        if (!Lazy<SheetWriter>().Bytes(table, bytes, problem))
            return "Таблица не записана: " + problem;
    } catch (const LazyLibraryMissing &missing) {
        return "Таблица не записана: " + EscapeControls(missing.what());
    }
    const std::string_view pieces[] = {bytes};
    try {
        // Never half-written: a spreadsheet cut short does not open at all.
        WriteFileAtomically(path, pieces, InPlace::Never);
    } catch (const SaveFailure &failure) {
        return EscapeControls(failure.what());
    }
    return {};
}
