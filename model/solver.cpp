// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "solver.h"

#include "move_log.h"
#include "parse.h"
#include "vessel_state.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <numeric>
#include <stdexcept>

namespace {

using Levels = std::array<int, 3>;

constexpr int kMaxValue = 999;

// Every ordered pair of vessels, 0-based; the order decides which of several
// shortest solutions is found.
constexpr std::array<std::array<int, 2>, 6> kPours{{{0, 1}, {0, 2}, {1, 0}, {1, 2}, {2, 0}, {2, 1}}};

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
        std::vector<std::uint32_t> queue{m_start};
        m_parent[m_start] = m_start + 1;
        for (std::size_t head = 0; head < queue.size(); ++head) {
            const std::uint32_t from = queue[head];
            const Levels levels = Decode(from);
            for (const auto &[s, r] : kPours) {
                const int amount = std::min(levels[At(s)], m_capacity[At(r)] - levels[At(r)]);
                if (amount <= 0)
                    continue;
                Levels next = levels;
                next[At(s)] -= amount;
                next[At(r)] += amount;
                // The goal belongs to the pour, not to the position: the same
                // levels reached by another pour may not count.
                if (next[At(s)] == m_target || next[At(r)] == m_target) {
                    solution.Steps = PathTo(from);
                    solution.Steps.push_back({s + 1, r + 1, next});
                    solution.Positions = static_cast<int>(queue.size());
                    return true;
                }
                const std::uint32_t key = Key(next);
                if (m_parent[key] == 0) {
                    m_parent[key] = from + 1;
                    queue.push_back(key);
                }
            }
        }
        solution.Positions = static_cast<int>(queue.size());
        return false;
    }

private:
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
};

bool InRange(int value, int high)
{
    return value >= 0 && value <= high;
}

std::string Number(int n)
{
    return std::to_string(n);
}

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

// "2", "1 и 3", "1, 2 и 3"
std::string NumberList(const std::vector<int> &numbers)
{
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            text += i + 1 == numbers.size() ? " и " : ", ";
        text += Number(numbers[i]);
    }
    return text;
}

std::string NotMultipleText(const TaskPreset &task, int divisor)
{
    const std::string d = Number(divisor);
    std::vector<int> dividing;
    std::vector<int> holdingAll; // the capacity is no multiple, but above the total
    for (int n = 1; n <= 3; ++n)
        (task.Capacity[static_cast<std::size_t>(n - 1)] % divisor == 0 ? dividing : holdingAll).push_back(n);
    std::string why;
    if (holdingAll.empty()) {
        why = "Все объемы и уровни делятся на " + d;
    } else {
        why = "Все уровни делятся на " + d;
        if (dividing.size() == 1)
            why += ", объем сосуда " + NumberList(dividing) + " тоже";
        else if (!dividing.empty())
            why += ", объемы сосудов " + NumberList(dividing) + " тоже";
        why += holdingAll.size() == 1 ? ", а сосуд " + NumberList(holdingAll) + " вмещает"
                                      : ", а сосуды " + NumberList(holdingAll) + " вмещают";
        why += " всю жидкость сразу";
    }
    return why + ", поэтому после любого переливания уровни тоже делятся на " + d + ", а " + Number(task.Target)
        + " на " + d + " не делится.";
}

} // namespace

Solution Solve(const TaskPreset &task)
{
    for (std::size_t n = 0; n < 3; ++n) {
        if (!InRange(task.Capacity[n], kMaxValue) || !InRange(task.Level[n], task.Capacity[n]))
            throw std::invalid_argument("Solve: capacities and levels must satisfy 0 <= level <= capacity <= 999");
    }
    if (!InRange(task.Target, kMaxValue))
        throw std::invalid_argument("Solve: the target must be within 0..999");

    Solution solution;
    // Levels never exceed capacities, nor the liquid there is.
    const int largest = *std::max_element(task.Capacity.begin(), task.Capacity.end());
    if (task.Target > largest) {
        solution.Reason = Unsolvable::TargetAboveCapacity;
        return solution;
    }
    const int total = Total(task);
    if (task.Target > total) {
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

TaskPreset CurrentPosition(const VesselState &state)
{
    TaskPreset task{};
    for (int n = 1; n <= kVesselCount; ++n) {
        task.Capacity[static_cast<std::size_t>(n - 1)] = state.Capacity(n);
        task.Level[static_cast<std::size_t>(n - 1)] = state.Level(n);
    }
    task.Target = state.Target();
    return task;
}

TaskPreset LoggedPosition(const VesselState &state, const MoveLog &log, int row)
{
    TaskPreset task = CurrentPosition(state);
    for (std::size_t n = 0; n < 3; ++n)
        task.Level[n] = ParseFieldValue(log.Row(row).SubItems[n]);
    return task;
}

std::string UnsolvableText(const Solution &solution, const TaskPreset &task)
{
    const std::string target = Number(task.Target);
    switch (solution.Reason) {
    case Unsolvable::TargetAboveCapacity:
        return "Уровень " + target + " больше объема каждого сосуда.";
    case Unsolvable::TargetAboveTotal:
        return "Уровень " + target + " больше, чем налито во все сосуды вместе (" + Number(Total(task)) + ").";
    case Unsolvable::TargetNotMultiple:
        return NotMultipleText(task, solution.Divisor);
    case Unsolvable::NothingToPour:
        return "Ни одно переливание невозможно: из пустого сосуда нечего лить, а в полный некуда.";
    case Unsolvable::NotReachable:
        return "Перебраны все положения, которых можно достичь (" + Number(solution.Positions)
            + "): ни одно переливание не оставляет уровень " + target + " в сосуде, из которого или в который льют.";
    case Unsolvable::No:
        break;
    }
    return {};
}

std::string_view RussianPlural(int n, std::string_view one, std::string_view few, std::string_view many)
{
    const int tens = n % 100;
    const int units = n % 10;
    if (tens >= 11 && tens <= 14)
        return many;
    if (units == 1)
        return one;
    if (units >= 2 && units <= 4)
        return few;
    return many;
}

std::string PourCount(int n)
{
    return Number(n) + " " + std::string(RussianPlural(n, "переливание", "переливания", "переливаний"));
}

namespace {

// A piece of the code as the reason quotes it: whole when short, else its
// beginning, cut between characters, and an ellipsis, so that a pasted flood
// still gives a message that fits a box.
std::string Quoted(std::string_view text)
{
    constexpr std::size_t kShown = 40;
    if (text.size() <= kShown)
        return std::string(text);
    std::size_t end = kShown;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end; // not inside a UTF-8 sequence
    return std::string(text.substr(0, end)) + "…";
}

[[noreturn]] void Malformed(std::string_view code)
{
    throw std::invalid_argument("Код задачи «" + Quoted(code)
                                + "» не разобрать: нужен вид C1,C2,C3/L1,L2,L3/T, например 12,7,5/12,0,0/6");
}

// Splits at every separator; an empty text is one empty part.
std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos)
            return parts;
        from = at + 1;
    }
}

int CodeValue(std::string_view code, std::string_view digits)
{
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        Malformed(code);
    // Past four significant digits the value is out of range anyway.
    const std::size_t first = std::min(digits.find_first_not_of('0'), digits.size());
    if (digits.size() - first > 3)
        throw std::invalid_argument("В коде задачи значение " + Quoted(digits)
                                    + " вне пределов: требуется целое число от 0 до 999");
    int value = 0;
    for (char c : digits.substr(first))
        value = value * 10 + (c - '0');
    return value;
}

} // namespace

TaskPreset ParseTaskCode(std::string_view code)
{
    const std::vector<std::string_view> groups = Split(code, '/');
    if (groups.size() != 3)
        Malformed(code);
    const std::vector<std::string_view> capacities = Split(groups[0], ',');
    const std::vector<std::string_view> levels = Split(groups[1], ',');
    if (capacities.size() != 3 || levels.size() != 3)
        Malformed(code);

    TaskPreset task{};
    for (std::size_t n = 0; n < 3; ++n) {
        task.Capacity[n] = CodeValue(code, capacities[n]);
        task.Level[n] = CodeValue(code, levels[n]);
    }
    task.Target = CodeValue(code, groups[2]);
    for (std::size_t n = 0; n < 3; ++n) {
        if (task.Level[n] > task.Capacity[n])
            throw std::invalid_argument(std::string(kMsgLevelAboveCapacity) + ": у сосуда "
                                        + Number(static_cast<int>(n) + 1) + " объем " + Number(task.Capacity[n])
                                        + ", а уровень " + Number(task.Level[n]));
    }
    return task;
}
