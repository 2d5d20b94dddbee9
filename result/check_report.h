// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "record_check.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The verdicts as text: one line a file, for a terminal, a script or a
// spreadsheet. Always UTF-8: bytes that are not are written as \xHH.

// Fields of a tab-separated line: backslash, tab and line feed as \\, \t
// and \n, other control characters as \xHH, so that a name keeps to its
// field and its line and cannot steer a terminal.
std::string TabField(std::string_view text);

// The file name as given, the verdict word, the player's pours, the fewest,
// the detail; a field that does not apply is empty. Ends in "\n". With a
// code (a class with variants), the code of the task the file was graded
// against follows the name; empty when it was graded against none.
std::string CheckLine(std::string_view file, const RecordCheck &check,
                      std::optional<std::string_view> code = std::nullopt);

// The same as CSV (RFC 4180): a field with a comma, a quote or a line break
// is quoted, quotes doubled; lines end in CR LF. A field that begins with
// "=", "+", "-", "@", a tab or a carriage return gets a "'" before it, so
// that a spreadsheet takes a name like "=HYPERLINK(...).xml" as text.
std::string CsvField(std::string_view text);
std::string CsvHeader(bool withCode = false);
std::string CsvLine(std::string_view file, const RecordCheck &check,
                    std::optional<std::string_view> code = std::nullopt);

// A file of a class and its verdict.
struct CheckedFile {
    std::string Path; // as it was given, or its folder as given and its name
    RecordCheck Check;
};

// All the lines of a class, tab-separated or as CSV with its header. codes:
// the tasks' (TaskCode), by the checker's numbering; with more than one, each
// line names the code its file was graded against.
std::string CheckLines(const std::vector<CheckedFile> &files, const std::vector<std::string> &codes);
std::string CheckCsv(const std::vector<CheckedFile> &files, const std::vector<std::string> &codes);
