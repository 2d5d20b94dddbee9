// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "record_check.h"

#include "advice.h"
#include "parse.h"
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

// A row's levels as the file holds them, for a row that may not read as
// levels; only so much of each as a message ever shows.
std::string ShownAsText(const ResultRecord &record)
{
    constexpr std::size_t kKept = 64;
    return record.Columns[1].substr(0, kKept) + " " + record.Columns[2].substr(0, kKept) + " "
        + record.Columns[3].substr(0, kKept);
}

// " Проверено сохранение 2 из 3." when the file holds more than one.
std::string WhichSave(std::size_t save, std::size_t saves)
{
    return saves > 1 ? " Проверено сохранение " + Number(save + 1) + " из " + Number(saves) + "." : std::string();
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

// One save, checked row by row as it is read.
struct SaveCheck {
    std::size_t Index = 0; // from 0, in file order
    std::size_t Rows = 0;
    bool Matches = false; // its first row holds the task's starting levels
    Levels At{}; // the levels of its last row
    std::optional<std::size_t> Goal; // the row of the first pour that reaches the target
    std::string Wrong; // what is wrong with the first row that breaks the rules
};

// Grades a file as it is read, keeping no more of it than the save being
// read and the last one of the task: a file of any length costs the same.
class Grader final : public ResultVisitor {
public:
    explicit Grader(const TaskPreset &task)
        : m_task(task)
    {
    }

    void Save() override
    {
        Close();
        m_current = SaveCheck{};
        m_current.Index = m_saves++;
    }

    void Record(const ResultRecord &record) override
    {
        SaveCheck &save = m_current;
        const std::size_t row = save.Rows++;
        if (row == 0) {
            NoteStart(record);
            save.Matches = ReadLevels(record) == m_task.Level;
            save.At = m_task.Level;
            return;
        }
        if (save.Matches && save.Wrong.empty())
            Step(save, row, record);
    }

    RecordCheck Finish(const std::string &problem, const Solution &solution)
    {
        Close();
        RecordCheck check;
        if (solution.Solved())
            check.Fewest = solution.Pours();
        if (!problem.empty()) {
            check.Result = Verdict::Unreadable;
            check.Detail = problem;
        } else if (!m_last) {
            check.Result = Verdict::OtherTask;
            check.Detail = OtherTaskDetail();
        } else {
            Judge(*m_last, solution, check);
        }
        return check;
    }

private:
    void Close()
    {
        if (m_saves > 0 && m_current.Matches)
            m_last = m_current;
    }

    void NoteStart(const ResultRecord &record)
    {
        std::string start = ShownAsText(record);
        if (std::find(m_starts.begin(), m_starts.end(), start) != m_starts.end())
            return;
        if (m_starts.size() < 3)
            m_starts.push_back(std::move(start));
        else
            m_moreStarts = true;
    }

    void Step(SaveCheck &save, std::size_t row, const ResultRecord &record) const
    {
        const std::optional<Levels> next = ReadLevels(record);
        if (!next) {
            std::size_t n = 0;
            while (ReadLevel(record.Columns[n + 1]))
                ++n;
            save.Wrong = "Ход " + Number(row) + ": в " + kLevelColumns[n] + " " + Quoted(record.Columns[n + 1])
                + " — не уровень, а уровень пишется целым числом от 0 до 999.";
            return;
        }
        const std::optional<PourMove> pour = PourBetween(save.At, *next, m_task);
        if (!pour) {
            save.Wrong = "Ход " + Number(row) + " (" + Shown(*next) + ")"
                + (*next == save.At ? " повторяет предыдущий: ничего не перелито."
                                    : " не получить из хода " + Number(row - 1) + " (" + Shown(save.At)
                                          + ") одним переливанием.");
            return;
        }
        save.At = *next;
        const auto s = static_cast<std::size_t>(pour->Source - 1);
        const auto r = static_cast<std::size_t>(pour->Receiver - 1);
        if (!save.Goal && MeetsGoal(m_task.Target, save.At[s], save.At[r]))
            save.Goal = row;
    }

    void Judge(const SaveCheck &save, const Solution &solution, RecordCheck &check) const
    {
        const std::string which = WhichSave(save.Index, m_saves);
        if (!save.Wrong.empty()) {
            check.Result = Verdict::WrongMove;
            check.Detail = save.Wrong + which;
            return;
        }
        const std::size_t pours = save.Rows - 1;
        if (!save.Goal) {
            check.Result = Verdict::NotSolved;
            check.Pours = static_cast<int>(pours);
            check.Detail = pours == 0 ? "Цель не достигнута: в сохранении нет ни одного переливания."
                                      : "Цель не достигнута за " + PourCount(static_cast<int>(pours)) + ".";
            if (!solution.Solved())
                check.Detail += " Задачу решить нельзя. " + UnsolvableText(solution, m_task);
            check.Detail += which;
            return;
        }
        check.Result = Verdict::Solved;
        check.Pours = static_cast<int>(*save.Goal);
        // A pour that reaches the target is a solution, so the task has one.
        const int more = *check.Pours - solution.Pours();
        check.Detail = more == 0 ? "Наименьшее число переливаний."
                                 : "На " + PourCount(more) + " больше наименьшего (" + std::to_string(solution.Pours())
                + ").";
        if (pours > *save.Goal)
            check.Detail += " После цели еще " + PourCount(static_cast<int>(pours - *save.Goal)) + ".";
        check.Detail += which;
    }

    std::string OtherTaskDetail() const
    {
        if (m_starts.empty())
            return "В файле только пустые сохранения, без единой строки.";
        std::string starts;
        if (m_moreStarts) {
            for (const std::string &start : m_starts)
                starts += Quoted(start) + ", ";
            starts.replace(starts.size() - 2, 2, " и других");
        } else {
            starts = QuotedList(m_starts);
        }
        return "Сохранения в файле начинаются с " + starts + ", а не с уровней задачи " + Shown(m_task.Level) + ".";
    }

    const TaskPreset &m_task;
    std::size_t m_saves = 0;
    SaveCheck m_current;
    std::optional<SaveCheck> m_last; // the last save of this task so far
    std::vector<std::string> m_starts; // the first row of each save, a few of them
    bool m_moreStarts = false;
};

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
    return ReadDecimalValue(text);
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
    Grader grader(m_task);
    const std::string problem = ReadResultFile(path, grader);
    return grader.Finish(problem, m_solution);
}

RecordCheck RecordChecker::Check(const ResultFile &file) const
{
    Grader grader(m_task);
    for (const ResultBlock &block : file.Blocks) {
        grader.Save();
        for (const ResultRecord &record : block.Records)
            grader.Record(record);
    }
    return grader.Finish(file.Problem, m_solution);
}
