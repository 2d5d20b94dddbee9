// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "task_generator.h"

#include "solver.h"
#include "task_book.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <vector>

std::uint64_t SplitMix64::Next()
{
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

int SplitMix64::Between(int lo, int hi)
{
    const auto span = static_cast<std::uint64_t>(hi - lo) + 1;
    // The largest multiple of span that fits: numbers at or above it would
    // favour the low values, so they are drawn again.
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    const std::uint64_t limit = kMax - kMax % span;
    std::uint64_t x = Next();
    while (x >= limit)
        x = Next();
    return lo + static_cast<int>(x % span);
}

namespace {

// Larger vessels make longer solutions more likely: each level draws its
// capacities up to its own bound, so that one candidate in a few dozen lands
// in its band. Past 40 the hardest tasks get long rather than hard.
constexpr int kCapacityBound[kLevelCount] = {12, 20, 30, kMaxGeneratedCapacity, kMaxGeneratedCapacity};
static_assert(std::ranges::all_of(kCapacityBound, [](int bound) {
    return bound >= kMinGeneratedCapacity && bound <= kMaxGeneratedCapacity;
}));

// Far more than any level needs (a few hundred at worst over many thousand
// seeds); it bounds the time however unlucky a seed.
constexpr int kMaxCandidates = 5000;

TaskPreset Candidate(SplitMix64 &random, int level)
{
    TaskPreset task{};
    const int bound = kCapacityBound[level - 1];
    for (auto &capacity : task.Capacity)
        capacity = random.Between(kMinGeneratedCapacity, bound);
    if (random.Between(0, 1) == 0) {
        // As the classic tasks start: one vessel full, the others empty.
        const auto full = static_cast<std::size_t>(random.Between(0, 2));
        for (std::size_t n = 0; n < 3; ++n)
            task.Level[n] = n == full ? task.Capacity[n] : 0;
    } else {
        for (std::size_t n = 0; n < 3; ++n)
            task.Level[n] = random.Between(0, task.Capacity[n]);
    }
    // No vessel ever holds more than the largest one, nor than all the liquid.
    const int total = task.Level[0] + task.Level[1] + task.Level[2];
    const int largest = *std::max_element(task.Capacity.begin(), task.Capacity.end());
    task.Target = total == 0 ? 0 : random.Between(1, std::min(total, largest));
    return task;
}

bool InStartingLevel(const TaskPreset &task)
{
    return std::find(task.Level.begin(), task.Level.end(), task.Target) != task.Level.end();
}

bool InBand(int fewest, int level)
{
    return LevelOf(fewest) == level;
}

} // namespace

GeneratedTask GenerateTask(int level, std::uint32_t seed)
{
    if (level < 1 || level > kLevelCount)
        throw std::invalid_argument("GenerateTask: the level must be within 1..5");
    SplitMix64 random((static_cast<std::uint64_t>(level) << 32) | seed);
    GeneratedTask generated;
    while (generated.Candidates < kMaxCandidates) {
        ++generated.Candidates;
        const TaskPreset task = Candidate(random, level);
        if (task.Target == 0 || InStartingLevel(task))
            continue;
        const Solution solution = Solve(task);
        if (solution.Solved() && InBand(solution.Pours(), level)) {
            generated.Task = task;
            generated.Fewest = solution.Pours();
            return generated;
        }
    }
    // Not seen in practice; a task all the same, and still the seed's own.
    std::vector<const BookTask *> same;
    for (const BookTask &task : TaskBook()) {
        if (LevelOf(task.Fewest) == level)
            same.push_back(&task);
    }
    const BookTask &chosen = *same[seed % same.size()];
    generated.Task = chosen.Task;
    generated.Fewest = chosen.Fewest;
    generated.FromBook = true;
    return generated;
}
