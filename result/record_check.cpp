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
    return saves > 1 ? " Проверено " + SaveName(save, saves) + "." : std::string();
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
    std::string Start; // its first row as shown, for a review
};

// Grades a file as it is read, keeping no more of it than the save being
// read and the last one of the task: a file of any length costs the same.
class Grader final : public ResultVisitor {
public:
    // keepAll: remembers every save for a review, not only the task's last.
    Grader(const TaskPreset &task, const Solution &solution, bool keepAll = false)
        : m_task(task)
        , m_solution(solution)
        , m_keepAll(keepAll)
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
            if (m_keepAll)
                save.Start = ShownAsText(record);
            return;
        }
        if (save.Matches && save.Wrong.empty())
            Step(save, row, record);
    }

    RecordCheck Finish(const std::string &problem)
    {
        Close();
        RecordCheck check = Blank();
        if (!problem.empty()) {
            check.Result = Verdict::Unreadable;
            check.Detail = problem;
        } else if (!m_last) {
            check.Result = Verdict::OtherTask;
            check.Detail = OtherTaskDetail();
        } else {
            Judge(*m_last, check, WhichSave(m_last->Index, m_saves));
        }
        return check;
    }

    // After Finish, with keepAll: each save's own verdict.
    FileReview Review(const std::string &problem)
    {
        FileReview review;
        review.Verdict = Finish(problem);
        review.Problem = problem;
        if (!problem.empty())
            return review;
        if (m_last)
            review.Graded = m_last->Index;
        for (const SaveCheck &save : m_all) {
            RecordCheck check = Blank();
            if (save.Matches) {
                Judge(save, check, {});
            } else {
                check.Result = Verdict::OtherTask;
                check.Detail = save.Rows == 0 ? "В сохранении нет ни одной строки."
                                              : "Сохранение начинается с " + Quoted(save.Start)
                        + ", а не с уровней задачи " + Shown(m_task.Level) + ".";
            }
            review.Saves.push_back(std::move(check));
        }
        return review;
    }

private:
    RecordCheck Blank() const
    {
        RecordCheck check;
        if (m_solution.Solved())
            check.Fewest = m_solution.Pours();
        return check;
    }

    void Close()
    {
        if (m_saves == 0)
            return;
        if (m_current.Matches)
            m_last = m_current;
        if (m_keepAll)
            m_all.push_back(m_current);
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
        const RowStep step = StepFrom(save.At, record, row, m_task);
        if (!step.Wrong.empty()) {
            save.Wrong = step.Wrong;
            return;
        }
        save.At = *step.Levels;
        if (!save.Goal && step.Goal)
            save.Goal = row;
    }

    // which: what the file's verdict adds about the save it is that of.
    void Judge(const SaveCheck &save, RecordCheck &check, const std::string &which) const
    {
        const Solution &solution = m_solution;
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
    const Solution &m_solution;
    const bool m_keepAll;
    std::size_t m_saves = 0;
    SaveCheck m_current;
    std::optional<SaveCheck> m_last; // the last save of this task so far
    std::vector<SaveCheck> m_all; // with keepAll
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
    Grader grader(m_task, m_solution);
    const std::string problem = ReadResultFile(path, grader);
    return grader.Finish(problem);
}

namespace {

void Visit(const ResultFile &file, ResultVisitor &visitor)
{
    for (const ResultBlock &block : file.Blocks) {
        visitor.Save();
        for (const ResultRecord &record : block.Records)
            visitor.Record(record);
    }
}

} // namespace

RecordCheck RecordChecker::Check(const ResultFile &file) const
{
    Grader grader(m_task, m_solution);
    Visit(file, grader);
    return grader.Finish(file.Problem);
}

FileReview RecordChecker::Review(const ResultFile &file) const
{
    Grader grader(m_task, m_solution, true);
    Visit(file, grader);
    return grader.Review(file.Problem);
}

namespace {

// One reading of a file, told to two visitors.
class BothVisitors final : public ResultVisitor {
public:
    BothVisitors(ResultVisitor &first, ResultVisitor &second)
        : m_first(first)
        , m_second(second)
    {
    }
    void Save() override
    {
        m_first.Save();
        m_second.Save();
    }
    void Record(const ResultRecord &record) override
    {
        m_first.Record(record);
        m_second.Record(record);
    }

private:
    ResultVisitor &m_first;
    ResultVisitor &m_second;
};

} // namespace

FileReview RecordChecker::ReviewFile(const std::string &path, ResultVisitor &alongside) const
{
    Grader grader(m_task, m_solution, true);
    BothVisitors both(grader, alongside);
    const std::string problem = ReadResultFile(path, both);
    return grader.Review(problem);
}

std::string SaveName(std::size_t index, std::size_t saves)
{
    return "сохранение " + Number(index + 1) + " из " + Number(saves);
}

RowStep StepFrom(const Levels &before, const ResultRecord &record, std::size_t row, const TaskPreset &task)
{
    RowStep step;
    step.Levels = ReadLevels(record);
    if (!step.Levels) {
        std::size_t n = 0;
        while (ReadLevel(record.Columns[n + 1]))
            ++n;
        step.Wrong = "Ход " + Number(row) + ": в " + kLevelColumns[n] + " " + Quoted(record.Columns[n + 1])
            + " — не уровень, а уровень пишется целым числом от 0 до 999.";
        return step;
    }
    const Levels &next = *step.Levels;
    step.Pour = PourBetween(before, next, task);
    if (!step.Pour) {
        step.Wrong = "Ход " + Number(row) + " (" + Shown(next) + ")"
            + (next == before
                    ? " повторяет предыдущий: ничего не перелито."
                    : " не получить из хода " + Number(row - 1) + " (" + Shown(before) + ") одним переливанием.");
        return step;
    }
    const auto s = static_cast<std::size_t>(step.Pour->Source - 1);
    const auto r = static_cast<std::size_t>(step.Pour->Receiver - 1);
    step.Goal = MeetsGoal(task.Target, next[s], next[r]);
    return step;
}
