// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Looks for the hardest positions for the solver among capacities up to 999:
// the most positions reachable (an exhausted search walks them all) and the
// longest shortest solution. Then solves the worst ones, timing each (median
// of many runs) and measuring the resident memory one solve needs.
// Usage: bench_solver_worst [CANDIDATES] [SEED]   (default 200000, 1)
// The memory of one solve is measured in a fresh process of this program,
// run as bench_solver_worst --memory C1,C2,C3/L1,L2,L3/T.
#include "peak_memory.h"
#include "solver.h"
#include "task_code.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using Levels = std::array<int, 3>;

// The scan's own breadth-first search over all pours, with no target: how
// many positions can be reached, and for each amount the fewest pours that
// leave it in a pour's source or receiver.
struct Reach {
    int Positions = 0;
    int Deepest = 0; // fewest pours to the amount that takes longest
    int DeepestTarget = -1;
    int Unreachable = -1; // an amount no pour ever leaves, passing the divisor test, if any
};

class Scanner {
public:
    Scanner()
        : m_seen(1000 * 1000, 0)
    { }

    Reach Run(const Levels &c, const Levels &start)
    {
        ++m_epoch;
        Reach reach;
        std::array<int, 1000> first{};
        first.fill(-1);
        const int total = start[0] + start[1] + start[2];
        m_queue.clear();
        m_depth.clear();
        m_queue.push_back(start);
        m_depth.push_back(0);
        Mark(start);
        for (std::size_t head = 0; head < m_queue.size(); ++head) {
            const Levels p = m_queue[head];
            const int d = m_depth[head];
            for (int s = 0; s < 3; ++s) {
                for (int r = 0; r < 3; ++r) {
                    if (s == r)
                        continue;
                    const int amount = std::min(p[s], c[r] - p[r]);
                    if (amount <= 0)
                        continue;
                    Levels q = p;
                    q[s] -= amount;
                    q[r] += amount;
                    for (int v : {q[s], q[r]}) {
                        if (first[static_cast<std::size_t>(v)] < 0)
                            first[static_cast<std::size_t>(v)] = d + 1;
                    }
                    if (Mark(q)) {
                        m_queue.push_back(q);
                        m_depth.push_back(d + 1);
                    }
                }
            }
        }
        reach.Positions = static_cast<int>(m_queue.size());
        const int largest = std::min(std::max({c[0], c[1], c[2]}), total);
        for (int v = 0; v <= largest; ++v) {
            const int d = first[static_cast<std::size_t>(v)];
            if (d > reach.Deepest) {
                reach.Deepest = d;
                reach.DeepestTarget = v;
            }
            if (d < 0 && reach.Unreachable < 0 && Solve({c, start, v}).Reason == Unsolvable::NotReachable)
                reach.Unreachable = v;
        }
        return reach;
    }

private:
    bool Mark(const Levels &p)
    {
        unsigned &cell = m_seen[static_cast<std::size_t>(p[0] * 1000 + p[1])];
        if (cell == m_epoch)
            return false;
        cell = m_epoch;
        return true;
    }

    std::vector<unsigned> m_seen;
    unsigned m_epoch = 0;
    std::vector<Levels> m_queue;
    std::vector<int> m_depth;
};

struct Found {
    Levels Capacity{};
    Levels Start{};
    Reach R;
};

// Median wall time of one Solve, in microseconds.
double MedianMicros(const TaskPreset &task, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto from = std::chrono::steady_clock::now();
        const Solution s = Solve(task);
        const auto to = std::chrono::steady_clock::now();
        if (s.Positions < 0)
            std::abort();
        times.push_back(std::chrono::duration<double, std::micro>(to - from).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[static_cast<std::size_t>(runs / 2)];
}

std::string Code(const TaskPreset &t)
{
    return std::to_string(t.Capacity[0]) + "," + std::to_string(t.Capacity[1]) + "," + std::to_string(t.Capacity[2])
        + "/" + std::to_string(t.Level[0]) + "," + std::to_string(t.Level[1]) + "," + std::to_string(t.Level[2]) + "/"
        + std::to_string(t.Target);
}

// In a fresh process, so the high-water mark is the solve's own: how much
// the resident set grows while solving.
int MemoryChild(const char *code)
{
    const TaskPreset task = ParseTaskCode(code);
    // The heap's set-up and the reading of the mark are not the solver's.
    Solve(TaskPresets[1]);
    PeakKib();
    const long before = PeakKib();
    const Solution s = Solve(task);
    const long after = PeakKib();
    std::printf("%ld\n", s.Positions >= 0 ? after - before : -1);
    return 0;
}

long SolveMemoryKib(const TaskPreset &task)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        const std::string code = Code(task);
        execl("/proc/self/exe", "bench_solver_worst", "--memory", code.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    char buffer[64] = {};
    const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer - 1);
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return got > 0 ? std::atol(buffer) : -1;
}

void Report(const char *what, const TaskPreset &task)
{
    const Solution s = Solve(task);
    std::printf("%-26s %s: %s %d pours, %d positions; median %.1f us; resident +%ld KiB\n", what, Code(task).c_str(),
                s.Solved() ? "solved in" : "no solution,", s.Pours(), s.Positions, MedianMicros(task, 101),
                SolveMemoryKib(task));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::string(argv[1]) == "--memory")
        return MemoryChild(argv[2]);
    const int candidates = argc > 1 ? std::atoi(argv[1]) : 200'000;
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1u;
    Scanner scanner;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> any(1, 999);
    Found most;
    Found longest;
    Found widest; // the most positions with the two smaller capacities 900 or more: the fullest large table
    auto consider = [&](const Levels &c, const Levels &start) {
        const Reach r = scanner.Run(c, start);
        if (r.Positions > most.R.Positions
            || (r.Positions == most.R.Positions && r.Unreachable >= 0 && most.R.Unreachable < 0))
            most = {c, start, r};
        if (r.Deepest > longest.R.Deepest)
            longest = {c, start, r};
        if (std::min({c[0], c[1], c[2]}) >= 900 && r.Positions > widest.R.Positions)
            widest = {c, start, r};
    };
    for (int i = 0; i < candidates; ++i) {
        // Every other one with all three capacities near 999: the largest tables.
        std::uniform_int_distribution<int> large(900, 999);
        Levels c{999, i % 4 < 2 ? any(random) : large(random), i % 4 < 2 ? any(random) : large(random)};
        std::sort(c.begin(), c.end(), std::greater<>());
        // Starts: the largest full and the rest empty, or any split.
        Levels start{c[0], 0, 0};
        if (i % 2) {
            for (std::size_t n = 0; n < 3; ++n)
                start[n] = std::uniform_int_distribution<int>(0, c[n])(random);
        }
        consider(c, start);
    }
    // The neighbourhood of the best so far, and the known long one.
    consider({999, 500, 499}, {999, 0, 0});
    const Found best = most;
    for (int d1 = -3; d1 <= 3; ++d1)
        for (int d2 = -3; d2 <= 3; ++d2) {
            Levels c{best.Capacity[0], std::clamp(best.Capacity[1] + d1, 1, 999),
                     std::clamp(best.Capacity[2] + d2, 1, 999)};
            Levels start = best.Start;
            for (std::size_t n = 0; n < 3; ++n)
                start[n] = std::min(start[n], c[n]);
            consider(c, start);
        }

    std::printf("scanned %d random positions (seed %u) and the neighbours of the best\n", candidates, seed);
    std::printf("most positions reached:   %d,%d,%d from %d,%d,%d: %d positions\n", most.Capacity[0], most.Capacity[1],
                most.Capacity[2], most.Start[0], most.Start[1], most.Start[2], most.R.Positions);
    std::printf("longest shortest solution: %d,%d,%d from %d,%d,%d: %d pours to %d\n", longest.Capacity[0],
                longest.Capacity[1], longest.Capacity[2], longest.Start[0], longest.Start[1], longest.Start[2],
                longest.R.Deepest, longest.R.DeepestTarget);

    Report("milk task", TaskPresets[0]);
    Report("kvass task", TaskPresets[1]);
    Report("999,500,499 farthest", {{999, 500, 499}, {999, 0, 0}, 749});
    Report("longest found", {longest.Capacity, longest.Start, longest.R.DeepestTarget});
    Report("most positions, deepest", {most.Capacity, most.Start, most.R.DeepestTarget});
    if (most.R.Unreachable >= 0)
        Report("most positions, exhausted", {most.Capacity, most.Start, most.R.Unreachable});
    Report("fullest large table", {widest.Capacity, widest.Start, widest.R.DeepestTarget});
    Report("largest table, little", {{999, 998, 997}, {999, 0, 0}, 1});
    return 0;
}
