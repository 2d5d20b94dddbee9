// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CheckedFile;

// The verdicts of a check as a spreadsheet: a title row, a heading row and
// a row a file. Texts are escaped as the printed lines escape them; counts
// are numbers.

struct TableCell {
    std::string Text; // when it is no number
    std::optional<int> Number;
};

struct CheckTable {
    std::string Title;
    std::vector<std::string> Headings;
    std::vector<std::vector<TableCell>> Rows;
};

// The title with the tasks' codes and the date (YYYY-MM-DD), the headings,
// and a row a file: the file as named, the code of the task it was graded
// against (with more than one code), the verdict, the player's pours, the
// fewest, the detail.
CheckTable MakeCheckTable(const std::vector<CheckedFile> &files, const std::vector<std::string> &codes,
                          std::string_view date);

// Today's date where the program runs, as a table's title gives it.
std::string Today();

// Writes the table as an .xlsx file, atomically (see atomic_file.h), through
// libxlsxwriter, which lives in the lazy library "xlsx" (sheet_writer.h)
// opened on first use: most runs of the game never write a spreadsheet, and
// linking it would cost every start. Returns why it failed, in Russian
// without a full stop (as a box or stderr shows it), or nothing.
std::string WriteXlsxFile(const CheckTable &table, const std::string &path);
