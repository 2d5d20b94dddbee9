// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The lazy library "xlsx": a check's table as an .xlsx file, through
// libxlsxwriter. Opened by WriteXlsxFile on first use (check_table.h).
#include "sheet_writer.h"
#include "utf8.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace {

// Excel's own column width is in characters of its default font; past this
// a detail wraps in the cell instead of stretching the sheet.
constexpr double kWidestColumn = 80;
// Excel takes no longer string in a cell.
constexpr std::size_t kLongestText = 32767;

// At most Excel's limit, cut between characters.
std::string Fitted(const std::string &text)
{
    if (text.size() <= kLongestText)
        return text;
    std::size_t end = kLongestText;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u)
        --end;
    return text.substr(0, end);
}

// A private folder for libxlsxwriter's file and its own temporary files,
// gone with everything in it once the bytes are read.
class PrivateFolder {
public:
    PrivateFolder()
    {
        const char *base = std::getenv("TMPDIR");
        m_path = std::string(base && *base == '/' ? base : "/tmp") + "/sosudnik-xlsx.XXXXXX";
        if (!::mkdtemp(m_path.data()))
            m_path.clear();
    }
    ~PrivateFolder()
    {
        if (m_path.empty())
            return;
        ::unlink(File().c_str());
        // libxlsxwriter removes its own temporary files as it closes.
        ::rmdir(m_path.c_str());
    }
    PrivateFolder(const PrivateFolder &) = delete;
    PrivateFolder &operator=(const PrivateFolder &) = delete;

    bool Made() const { return !m_path.empty(); }
    std::string &Path() { return m_path; }
    std::string File() const { return m_path + "/table.xlsx"; }

private:
    std::string m_path;
};

bool XlsxBytes(const CheckTable &table, std::string &bytes, std::string &problem)
{
    PrivateFolder folder;
    if (!folder.Made()) {
        problem = "не создать временную папку для таблицы";
        return false;
    }
    lxw_workbook_options options{};
    options.tmpdir = folder.Path().data();
    lxw_workbook *book = workbook_new_opt(folder.File().c_str(), &options);
    if (!book) {
        problem = "библиотека libxlsxwriter не начала таблицу";
        return false;
    }
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Проверка");
    lxw_format *title = workbook_add_format(book);
    format_set_bold(title);
    lxw_format *heading = workbook_add_format(book);
    format_set_bold(heading);
    format_set_bottom(heading, LXW_BORDER_THIN);
    lxw_format *wrapped = workbook_add_format(book);
    format_set_text_wrap(wrapped);
    format_set_align(wrapped, LXW_ALIGN_VERTICAL_TOP);

    const auto columns = static_cast<lxw_col_t>(table.Headings.size());
    std::vector<std::size_t> widths(columns, 0);
    worksheet_write_string(sheet, 0, 0, Fitted(table.Title).c_str(), title);
    for (lxw_col_t c = 0; c < columns; ++c) {
        worksheet_write_string(sheet, 1, c, table.Headings[c].c_str(), heading);
        widths[c] = Utf8Characters(table.Headings[c]) + 2; // room for the filter's button
    }
    lxw_row_t row = 2;
    for (const std::vector<TableCell> &cells : table.Rows) {
        for (lxw_col_t c = 0; c < columns && c < cells.size(); ++c) {
            const TableCell &cell = cells[c];
            // Texts as strings, never as formulas, whatever they begin with.
            if (cell.Number)
                worksheet_write_number(sheet, row, c, *cell.Number, nullptr);
            else if (!cell.Text.empty())
                worksheet_write_string(sheet, row, c, Fitted(cell.Text).c_str(), c + 1 == columns ? wrapped : nullptr);
            widths[c] = std::max(widths[c], Utf8Characters(cell.Text));
        }
        ++row;
    }
    // libxlsxwriter 1.1 has no autofit: each column as wide as its longest text.
    for (lxw_col_t c = 0; c < columns; ++c) {
        const double width = std::min(static_cast<double>(widths[c]) + 1, kWidestColumn);
        worksheet_set_column(sheet, c, c, width, c + 1 == columns ? wrapped : nullptr);
    }
    worksheet_freeze_panes(sheet, 2, 0);
    worksheet_autofilter(sheet, 1, 0, std::max<lxw_row_t>(row - 1, 1), columns - 1);

    const lxw_error error = workbook_close(book);
    if (error != LXW_NO_ERROR) {
        problem = std::string("ошибка libxlsxwriter: ") + lxw_strerror(error);
        return false;
    }
    std::ifstream in(folder.File(), std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    if (!in.good() && !in.eof()) {
        problem = "таблицу не прочитать из временной папки";
        return false;
    }
    return true;
}

class XlsxSheetWriter final : public SheetWriter {
public:
    bool Bytes(const CheckTable &table, std::string &bytes, std::string &problem) const override
    {
        return XlsxBytes(table, bytes, problem);
    }
};

} // namespace

SOSUDNIK_LAZY_EXPORT(SheetWriter, XlsxSheetWriter)
