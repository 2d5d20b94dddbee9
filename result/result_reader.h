// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
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

// One Data block: the move log as it stood at one save.
struct ResultBlock {
    std::vector<ResultRecord> Records;
};

struct ResultFile {
    std::vector<ResultBlock> Blocks; // in file order
    // Why this is not a result file, a sentence in Russian; empty when it is.
    std::string Problem;

    bool Readable() const { return Problem.empty(); }
};

// The file at path (a file name in the system's encoding).
ResultFile ReadResultFile(const std::string &path);
// The same from the file's bytes.
ResultFile ReadResultText(std::string_view bytes);
