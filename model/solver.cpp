// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "solver.h"

#include "rules.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <numeric>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

namespace {

using Levels = std::array<int, 3>;

struct FreeDeleter {
    void operator()(std::uint32_t *p) const { std::free(p); }
};

// Breadth-first search over positions. The total never changes, so a
// position is fixed by the levels of two vessels: those with the smallest
// capacities, which keeps the table at (C+1) x (C'+1) entries, 48 for the
// milk task and at most 1000 x 1000. Each entry is the key of the position it
// was first reached from, plus one; 0 is "not reached yet".
//
// After any pour its source is empty or its receiver full, so only a few
// thousand positions are ever reached even in the largest table: it comes
// from calloc, whose fresh pages cost nothing until touched.
class Search {
public:
    explicit Search(const TaskPreset &task)
        : m_target(task.Target)
    {
        for (std::size_t n = 0; n < 3; ++n) {
            m_capacity[n] = task.Capacity[n];
            m_total += task.Level[n];
        }
        // Index by the two smallest capacities; the third level is the rest.
        std::array<int, 3> order{0, 1, 2};
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return m_capacity[At(a)] < m_capacity[At(b)]; });
        m_row = order[0];
        m_column = order[1];
        m_rest = order[2];
        m_stride = static_cast<std::uint32_t>(m_capacity[At(m_column)] + 1);
        const std::size_t size = static_cast<std::size_t>(m_capacity[At(m_row)] + 1) * m_stride;
        m_parent.reset(static_cast<std::uint32_t *>(std::calloc(size, sizeof(std::uint32_t))));
        if (!m_parent)
            throw std::bad_alloc();
        m_start = Key({task.Level[0], task.Level[1], task.Level[2]});
    }

    // Fills the steps and the count of positions reached; false when the
    // reachable positions ran out without a pour that meets the target.
    bool Run(Solution &solution)
    {
        const bool met = Walk([&](std::uint32_t from, PourMove move, const Levels &next) {
            // The goal belongs to the pour, not to the position: the same
            // levels reached by another pour may not count.
            if (!MeetsGoal(m_target, next[At(move.Source - 1)], next[At(move.Receiver - 1)]))
                return false;
            solution.Steps = PathTo(from);
            solution.Steps.push_back({move.Source, move.Receiver, next});
            return true;
        });
        solution.Positions = static_cast<int>(m_queue.size());
        return met;
    }

    // Every position reached, fewest pours first, and which of them a pour
    // that meets the goal leads to.
    std::vector<ReachedPosition> Explore()
    {
        std::unordered_set<std::uint32_t> winning;
        Walk([&](std::uint32_t, PourMove move, const Levels &next) {
            if (MeetsGoal(m_target, next[At(move.Source - 1)], next[At(move.Receiver - 1)]))
                winning.insert(Key(next));
            return false;
        });
        // The queue holds every position once, each after the one it was first reached from.
        std::unordered_map<std::uint32_t, int> distance;
        std::vector<ReachedPosition> reached;
        reached.reserve(m_queue.size());
        for (const std::uint32_t key : m_queue) {
            const std::uint32_t parent = m_parent[key] - 1;
            const int d = key == m_start ? 0 : distance.at(parent) + 1;
            distance.emplace(key, d);
            reached.push_back({Decode(key), d, winning.contains(key)});
        }
        return reached;
    }

private:
    // Breadth first from the start: tells `pour(from, move, next)` of every
    // possible pour from each position reached, before its result is
    // queued; a true answer ends the walk there and then.
    template <class Pour>
    bool Walk(Pour &&pour)
    {
        m_queue.assign(1, m_start);
        m_parent[m_start] = m_start + 1;
        for (std::size_t head = 0; head < m_queue.size(); ++head) {
            const std::uint32_t from = m_queue[head];
            const Levels levels = Decode(from);
            for (const PourMove move : kPourMoves) {
                Levels next = levels;
                if (!ApplyPour(next, m_capacity, move))
                    continue;
                if (pour(from, move, next))
                    return true;
                const std::uint32_t key = Key(next);
                if (m_parent[key] == 0) {
                    m_parent[key] = from + 1;
                    m_queue.push_back(key);
                }
            }
        }
        return false;
    }

    static std::size_t At(int n) { return static_cast<std::size_t>(n); }

    std::uint32_t Key(const Levels &levels) const
    {
        return static_cast<std::uint32_t>(levels[At(m_row)]) * m_stride
            + static_cast<std::uint32_t>(levels[At(m_column)]);
    }

    Levels Decode(std::uint32_t key) const
    {
        Levels levels{};
        levels[At(m_row)] = static_cast<int>(key / m_stride);
        levels[At(m_column)] = static_cast<int>(key % m_stride);
        levels[At(m_rest)] = m_total - levels[At(m_row)] - levels[At(m_column)];
        return levels;
    }

    // The pours from the start to the position with this key.
    std::vector<SolverStep> PathTo(std::uint32_t key) const
    {
        std::vector<std::uint32_t> keys{key};
        while (key != m_start) {
            key = m_parent[key] - 1;
            keys.push_back(key);
        }
        std::reverse(keys.begin(), keys.end());

        std::vector<SolverStep> steps;
        steps.reserve(keys.size() - 1);
        for (std::size_t i = 1; i < keys.size(); ++i) {
            const Levels before = Decode(keys[i - 1]);
            const Levels after = Decode(keys[i]);
            SolverStep step;
            // A pour changes exactly two levels: its source loses, its receiver gains.
            for (int n = 0; n < 3; ++n) {
                if (after[At(n)] < before[At(n)])
                    step.Source = n + 1;
                else if (after[At(n)] > before[At(n)])
                    step.Receiver = n + 1;
            }
            step.Levels = after;
            steps.push_back(step);
        }
        return steps;
    }

    int m_target = 0;
    int m_total = 0;
    Levels m_capacity{};
    int m_row = 0;
    int m_column = 0;
    int m_rest = 0;
    std::uint32_t m_stride = 1;
    std::uint32_t m_start = 0;
    std::unique_ptr<std::uint32_t[], FreeDeleter> m_parent;
    std::vector<std::uint32_t> m_queue;
};

int Total(const TaskPreset &task)
{
    return task.Level[0] + task.Level[1] + task.Level[2];
}

// A pour moves the smaller of a level and a free space. A vessel that holds
// all the liquid never fills, so into it a pour moves the whole source level:
// its capacity acts as the total. The levels and the capacities so counted
// are multiples of every common divisor of them, hence so is every amount
// poured and every level ever reached. (All zero gives 0: no divisor.)
int CommonDivisor(const TaskPreset &task)
{
    const int total = Total(task);
    int divisor = 0;
    for (std::size_t n = 0; n < 3; ++n)
        divisor = std::gcd(std::gcd(divisor, std::min(task.Capacity[n], total)), task.Level[n]);
    return divisor;
}

// The search's table has room for these only.
void RequireValid(const TaskPreset &task)
{
    for (std::size_t n = 0; n < 3; ++n) {
        if (!InValueRange(task.Capacity[n]) || task.Level[n] < 0 || !LevelFits(task.Level[n], task.Capacity[n]))
            throw std::invalid_argument("Solve: capacities and levels must satisfy 0 <= level <= capacity <= 999");
    }
    if (!InValueRange(task.Target))
        throw std::invalid_argument("Solve: the target must be within 0..999");
}

} // namespace

Solution Solve(const TaskPreset &task)
{
    RequireValid(task);

    Solution solution;
    // Levels never exceed capacities, nor the liquid there is.
    const int largest = *std::max_element(task.Capacity.begin(), task.Capacity.end());
    if (task.Target > largest) {
        solution.Reason = Unsolvable::TargetAboveCapacity;
        return solution;
    }
    if (task.Target > Total(task)) {
        solution.Reason = Unsolvable::TargetAboveTotal;
        return solution;
    }
    const int divisor = CommonDivisor(task);
    if (divisor > 1 && task.Target % divisor != 0) {
        solution.Reason = Unsolvable::TargetNotMultiple;
        solution.Divisor = divisor;
        return solution;
    }

    Search search(task);
    if (!search.Run(solution)) {
        // Every pour changes the position, so the start alone means none was possible.
        solution.Reason = solution.Positions == 1 ? Unsolvable::NothingToPour : Unsolvable::NotReachable;
    }
    return solution;
}

std::vector<ReachedPosition> Reachable(const TaskPreset &task)
{
    RequireValid(task);
    return Search(task).Explore();
}
