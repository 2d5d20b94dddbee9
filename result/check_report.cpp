// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "check_report.h"

#include "wording.h"

#include <algorithm>
#include <optional>

namespace {

// The code column's field of a line: none with one task.
std::optional<std::string_view> CodeOf(const RecordCheck &check, const std::vector<std::string> &codes)
{
    if (codes.size() < 2)
        return std::nullopt;
    return check.Task ? std::string_view(codes[*check.Task]) : std::string_view();
}

std::string Count(const std::optional<int> &n)
{
    return n ? std::to_string(*n) : std::string();
}

// Splits at the characters that a format keeps as they are (or spells its
// own way) and escapes what lies between, other controls and bytes that are
// not UTF-8 among it.
template <class Keep>
std::string EscapedBetween(std::string_view text, std::string_view kept, Keep keep)
{
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t at = std::min(text.find_first_of(kept, from), text.size());
        out += EscapeControls(text.substr(from, at - from));
        if (at == text.size())
            break;
        keep(out, text[at]);
        from = at + 1;
    }
    return out;
}

} // namespace

std::string TabField(std::string_view text)
{
    return EscapedBetween(text, "\\\t\n", [](std::string &out, char c) {
        out += c == '\t' ? "\\t" : c == '\n' ? "\\n" : "\\\\";
    });
}

std::string CheckLine(std::string_view file, const RecordCheck &check, std::optional<std::string_view> code)
{
    const std::string codeField = code ? TabField(*code) + '\t' : std::string();
    return TabField(file) + '\t' + codeField + VerdictWord(check.Result) + '\t' + Count(check.Pours) + '\t'
        + Count(check.Fewest) + '\t' + TabField(check.Detail) + '\n';
}

std::string CsvField(std::string_view text)
{
    // Line breaks and tabs stay: a quoted field holds them.
    std::string field = EscapedBetween(text, "\t\r\n", [](std::string &out, char c) { out += c; });
    if (!field.empty() && std::string_view("=+-@\t\r").find(field.front()) != std::string_view::npos)
        field.insert(0, 1, '\'');
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string CsvHeader(bool withCode)
{
    return withCode ? "файл,задача,итог,ходы,наименьшее,подробности\r\n" : "файл,итог,ходы,наименьшее,подробности\r\n";
}

std::string CsvLine(std::string_view file, const RecordCheck &check, std::optional<std::string_view> code)
{
    const std::string codeField = code ? CsvField(*code) + ',' : std::string();
    return CsvField(file) + ',' + codeField + CsvField(VerdictWord(check.Result)) + ',' + Count(check.Pours) + ','
        + Count(check.Fewest) + ',' + CsvField(check.Detail) + "\r\n";
}

std::string CheckLines(const std::vector<CheckedFile> &files, const std::vector<std::string> &codes)
{
    std::string out;
    for (const CheckedFile &file : files)
        out += CheckLine(file.Path, file.Check, CodeOf(file.Check, codes));
    return out;
}

std::string CheckCsv(const std::vector<CheckedFile> &files, const std::vector<std::string> &codes)
{
    std::string out = CsvHeader(codes.size() > 1);
    for (const CheckedFile &file : files)
        out += CsvLine(file.Path, file.Check, CodeOf(file.Check, codes));
    return out;
}
