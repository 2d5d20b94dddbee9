// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// How much memory a long game's log takes: the resident set with only the
// start row logged, then after pours have filled the log, then after a reset.
// Usage: bench_log_memory [ROWS]   (default 100000)
#include "memory_fields.h"
#include "puzzle.h"
#include "silent_boxes.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// The current resident set, once freed memory has gone back to the system,
// so what is measured is what the log holds, not what the heap kept.
long ResidentBytes()
{
    malloc_trim(0);
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    if (!(statm >> size >> resident)) {
        std::fprintf(stderr, "cannot read /proc/self/statm\n");
        std::exit(1);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

double Mib(long bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

} // namespace

int main(int argc, char **argv)
{
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100'000;
    if (rows < 1) {
        std::fprintf(stderr, "usage: %s [ROWS]\n", argv[0]);
        return 2;
    }
    constexpr double kTargetMib = 20.0;

    SilentBoxes boxes;
    Puzzle puzzle(boxes);
    MemoryFields fields(puzzle);
    fields.Capacity(1).SetText("12");
    fields.Capacity(2).SetText("7");
    fields.Capacity(3).SetText("5");
    fields.Level(1).SetText("12");
    fields.Target().SetText("6");
    puzzle.AppendMoveRow();

    const long empty = ResidentBytes();
    // 1 -> 2 and back always moves 7 litres, so every pour logs a row.
    for (bool there = true; puzzle.Log().RowCount() < rows; there = !there)
        puzzle.Pour(there ? 1 : 2, there ? 2 : 1);
    const long full = ResidentBytes();
    puzzle.ResetAll();
    const long cleared = ResidentBytes();

    const long grown = full - empty;
    std::printf("log rows:                %d\n", rows);
    std::printf("resident, start row:     %.2f MiB\n", Mib(empty));
    std::printf("resident, full log:      %.2f MiB\n", Mib(full));
    std::printf("resident, after reset:   %.2f MiB\n", Mib(cleared));
    std::printf("log memory:              %.2f MiB (%.0f bytes a row; target under %.0f MiB: %s)\n", Mib(grown),
                static_cast<double>(grown) / rows, kTargetMib, Mib(grown) < kTargetMib ? "met" : "MISSED");
    return 0;
}
