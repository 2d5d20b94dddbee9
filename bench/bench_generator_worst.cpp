// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The slowest task to generate: for each level, the seed among the first
// SEEDS (20 000 by default) that needs the most candidates, timed again as
// the median of 101 runs.
//   bench_generator_worst [SEEDS]
#include "task_book.h"
#include "task_code.h"
#include "task_generator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char **argv)
{
    const std::uint32_t seeds = argc > 1 ? static_cast<std::uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 20000;
    std::printf("level  seeds  mean candidates  worst seed  its candidates  its time (median of 101)  task\n");
    for (int level = 1; level <= kLevelCount; ++level) {
        std::uint32_t worst = 0;
        int most = 0;
        long long total = 0;
        int fromBook = 0;
        for (std::uint32_t seed = 0; seed < seeds; ++seed) {
            const GeneratedTask task = GenerateTask(level, seed);
            total += task.Candidates;
            fromBook += task.FromBook ? 1 : 0;
            if (task.Candidates > most) {
                most = task.Candidates;
                worst = seed;
            }
        }
        std::vector<double> times;
        GeneratedTask task;
        for (int run = 0; run < 101; ++run) {
            const auto start = std::chrono::steady_clock::now();
            task = GenerateTask(level, worst);
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::nth_element(times.begin(), times.begin() + 50, times.end());
        std::printf("%5d  %5u  %15.1f  %10u  %14d  %21.2f ms  %s (%d pours)%s\n", level, seeds,
                    static_cast<double>(total) / seeds, worst, most, times[50], TaskCode(task.Task).c_str(),
                    task.Fewest, fromBook ? "  SOME FROM THE BOOK" : "");
    }
    return 0;
}
