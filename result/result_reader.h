// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Reading a result file back: the game's own sosudnik.xml or any file of
// its format, from anyone. The input is untrusted: no DTD, no entity but
// XML's five, nothing fetched, no file opened but the one named.

// A larger file is refused before a byte of it is parsed. The game writes
// some 60 bytes a record, so this is over a quarter of a million moves.
inline constexpr std::size_t kMaxResultFileBytes = std::size_t{16} << 20;

// One Record: Column0 (the caption), Column1..Column3 (the levels of
// vessels 1..3), as text in UTF-8, exactly as the file holds them.
struct ResultRecord {
    std::array<std::string, 4> Columns;
};

// Told of each save and each of its records in file order, as the file is
// read: a reader of a whole class's files keeps only what it needs.
class ResultVisitor {
public:
    virtual ~ResultVisitor() = default;
    // A Data element begins: the move log as it stood at one save.
    virtual void Save() = 0;
    virtual void Record(const ResultRecord &record) = 0;
};

// Reads the file at path (a name in the system's encoding) to the end and
// returns why it is not a result file, a sentence in Russian; empty when it
// is one. When it is not, whatever the visitor was told is to be dropped.
// Memory stays small whatever the size: the file is parsed as it is read.
// A start tag with more attributes, or elements nested deeper, than the
// format could hold stop the read there (see markup_guard.h). When *stop
// turns true (from another thread) the read ends within a few kilobytes.
std::string ReadResultFile(const std::string &path, ResultVisitor &visitor,
                           const std::atomic<bool> *stop = nullptr);
// The same from the file's bytes.
std::string ReadResultText(std::string_view bytes, ResultVisitor &visitor);

// The whole file at once.
struct ResultBlock {
    std::vector<ResultRecord> Records;
};

struct ResultFile {
    std::vector<ResultBlock> Blocks; // in file order; none when not readable
    std::string Problem; // empty when the file is a result file

    bool Readable() const { return Problem.empty(); }
};

ResultFile ReadResultFile(const std::string &path);
ResultFile ReadResultText(std::string_view bytes);
