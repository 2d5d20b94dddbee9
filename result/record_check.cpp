// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "record_check.h"

#include "advice.h"
#include "rules.h"
#include "wording.h"

#include <algorithm>
#include <vector>

namespace {

using Levels = std::array<int, 3>;

constexpr const char *kLevelColumns[] = {"V1", "V2", "V3"};

std::string Number(std::size_t n)
{
    return std::to_string(n);
}

// "12 0 0", as the move table shows a row.
std::string Shown(const Levels &levels)
{
    return std::to_string(levels[0]) + " " + std::to_string(levels[1]) + " " + std::to_string(levels[2]);
}

// A row as the file holds it, for a row that may not read as levels.
std::string ShownAsText(const ResultRecord &record)
{
    return record.Columns[1] + " " + record.Columns[2] + " " + record.Columns[3];
}

// " Проверено сохранение 2 из 3." when the file holds more than one.
std::string WhichSave(std::size_t block, std::size_t blocks)
{
    return blocks > 1 ? " Проверено сохранение " + Number(block + 1) + " из " + Number(blocks) + "." : std::string();
}

// The pour that leads from one row to the next, if exactly one does; at
// most one can, since each changes a different pair of levels or moves the
// other way.
std::optional<PourMove> PourBetween(const Levels &from, const Levels &to, const TaskPreset &task)
{
    for (const PourMove move : kPourMoves) {
        Levels after = from;
        if (ApplyPour(after, task.Capacity, move) && after == to)
            return move;
    }
    return std::nullopt;
}

std::string OtherTaskDetail(const ResultFile &file, const TaskPreset &task)
{
    std::vector<std::string> starts;
    for (const ResultBlock &block : file.Blocks) {
        if (block.Records.empty())
            continue;
        const std::string start = ShownAsText(block.Records.front());
        if (std::find(starts.begin(), starts.end(), start) == starts.end())
            starts.push_back(start);
    }
    if (starts.empty())
        return "В файле только пустые сохранения, без единой строки.";
    return "Сохранения в файле начинаются с " + QuotedList(starts) + ", а не с уровней задачи " + Shown(task.Level)
        + ".";
}

} // namespace

const char *VerdictWord(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Solved:
        return "решено";
    case Verdict::NotSolved:
        return "не решено";
    case Verdict::WrongMove:
        return "неверный ход";
    case Verdict::OtherTask:
        return "другая задача";
    case Verdict::Unreadable:
        break;
    }
    return "не читается";
}

std::optional<int> ReadLevel(std::string_view text)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    // Leading zeros are still decimal; past three significant digits the
    // value is out of range whatever follows.
    const std::size_t first = std::min(text.find_first_not_of('0'), text.size());
    if (text.size() - first > 3)
        return std::nullopt;
    int value = 0;
    for (const char c : text.substr(first))
        value = value * 10 + (c - '0');
    if (!InValueRange(value))
        return std::nullopt;
    return value;
}

std::optional<Levels> ReadLevels(const ResultRecord &record)
{
    Levels levels{};
    for (std::size_t n = 0; n < 3; ++n) {
        const std::optional<int> level = ReadLevel(record.Columns[n + 1]);
        if (!level)
            return std::nullopt;
        levels[n] = *level;
    }
    return levels;
}

RecordChecker::RecordChecker(const TaskPreset &task)
    : m_task(task)
    , m_solution(Solve(task))
{
}

std::optional<int> RecordChecker::Fewest() const
{
    if (!m_solution.Solved())
        return std::nullopt;
    return m_solution.Pours();
}

RecordCheck RecordChecker::CheckFile(const std::string &path) const
{
    return Check(ReadResultFile(path));
}

RecordCheck RecordChecker::Check(const ResultFile &file) const
{
    RecordCheck check;
    check.Fewest = Fewest();
    if (!file.Readable()) {
        check.Result = Verdict::Unreadable;
        check.Detail = file.Problem;
        return check;
    }

    // The last save of this task: a later game in the same run is what the
    // player handed in last.
    const auto &blocks = file.Blocks;
    std::size_t chosen = blocks.size();
    for (std::size_t b = blocks.size(); b-- > 0;) {
        if (!blocks[b].Records.empty() && ReadLevels(blocks[b].Records.front()) == m_task.Level) {
            chosen = b;
            break;
        }
    }
    if (chosen == blocks.size()) {
        check.Result = Verdict::OtherTask;
        check.Detail = OtherTaskDetail(file, m_task);
        return check;
    }

    const std::vector<ResultRecord> &rows = blocks[chosen].Records;
    const std::string save = WhichSave(chosen, blocks.size());
    Levels levels = m_task.Level;
    std::optional<std::size_t> goal;
    for (std::size_t row = 1; row < rows.size(); ++row) {
        const std::optional<Levels> next = ReadLevels(rows[row]);
        if (!next) {
            std::size_t n = 0;
            while (ReadLevel(rows[row].Columns[n + 1]))
                ++n;
            check.Result = Verdict::WrongMove;
            check.Detail = "Ход " + Number(row) + ": в " + kLevelColumns[n] + " " + Quoted(rows[row].Columns[n + 1])
                + " — не уровень, а уровень пишется целым числом от 0 до 999." + save;
            return check;
        }
        const std::optional<PourMove> pour = PourBetween(levels, *next, m_task);
        if (!pour) {
            check.Result = Verdict::WrongMove;
            check.Detail = "Ход " + Number(row) + " (" + Shown(*next) + ")"
                + (*next == levels ? " повторяет предыдущий: ничего не перелито."
                                   : " не получить из хода " + Number(row - 1) + " (" + Shown(levels)
                                         + ") одним переливанием.")
                + save;
            return check;
        }
        levels = *next;
        const auto s = static_cast<std::size_t>(pour->Source - 1);
        const auto r = static_cast<std::size_t>(pour->Receiver - 1);
        if (!goal && MeetsGoal(m_task.Target, levels[s], levels[r]))
            goal = row;
    }

    const std::size_t pours = rows.size() - 1;
    if (!goal) {
        check.Result = Verdict::NotSolved;
        check.Pours = static_cast<int>(pours);
        check.Detail = pours == 0 ? "Цель не достигнута: в сохранении нет ни одного переливания."
                                  : "Цель не достигнута за " + PourCount(static_cast<int>(pours)) + ".";
        if (!m_solution.Solved())
            check.Detail += " Задачу решить нельзя. " + UnsolvableText(m_solution, m_task);
        check.Detail += save;
        return check;
    }

    check.Result = Verdict::Solved;
    check.Pours = static_cast<int>(*goal);
    // A pour that reaches the target is a solution, so the task has one.
    const int fewest = m_solution.Pours();
    const int more = *check.Pours - fewest;
    check.Detail = more == 0 ? "Наименьшее число переливаний."
                             : "На " + PourCount(more) + " больше наименьшего (" + std::to_string(fewest) + ").";
    if (pours > *goal)
        check.Detail += " После цели еще " + PourCount(static_cast<int>(pours - *goal)) + ".";
    check.Detail += save;
    return check;
}
