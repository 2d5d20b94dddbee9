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

std::uint32_t StartKey(const Levels &levels)
{
    return static_cast<std::uint32_t>((levels[0] * 1000 + levels[1]) * 1000 + levels[2]);
}

// One save checked against one task, row by row as it is read.
struct SaveCheck {
    std::size_t Index = 0; // from 0, among all the file's saves
    std::size_t Rows = 0;
    Levels At{}; // the levels of its last row
    std::optional<std::size_t> Goal; // the row of the first pour that reaches the target
    std::string Wrong; // what is wrong with the first row that breaks the rules

    bool Solved() const { return Wrong.empty() && Goal.has_value(); }
    // A wrong move, not solved, solved.
    int Rank() const { return !Wrong.empty() ? 0 : Goal ? 2 : 1; }
    // Strictly better: a tie keeps the later save.
    bool Beats(const SaveCheck &other) const
    {
        if (Rank() != other.Rank())
            return Rank() > other.Rank();
        return Solved() && *Goal < *other.Goal;
    }
};

// What one task makes of the saves that start at its levels.
struct TaskRun {
    std::size_t Saves = 0;
    std::size_t Solved = 0;
    std::optional<SaveCheck> Best;
    std::optional<SaveCheck> Last;
};

// The verdicts in order of merit, for the best of several tasks.
int Merit(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Solved:
        return 3;
    case Verdict::NotSolved:
        return 2;
    case Verdict::WrongMove:
        return 1;
    default:
        return 0;
    }
}

bool Better(const RecordCheck &a, const RecordCheck &b)
{
    if (Merit(a.Result) != Merit(b.Result))
        return Merit(a.Result) > Merit(b.Result);
    if (a.Result != Verdict::Solved)
        return false;
    const int overA = *a.Pours - a.Fewest.value_or(0);
    const int overB = *b.Pours - b.Fewest.value_or(0);
    return overA != overB ? overA < overB : *a.Pours < *b.Pours;
}

// " и других" after the first three.
std::string Listed(const std::vector<std::string> &items, bool more, const char *last)
{
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += i + 1 == items.size() && !more ? last : ", ";
        text += items[i];
    }
    return more ? text + " и других" : text;
}

// Grades a file as it is read, keeping no more of it than the save being
// read and, per task, its best and its last save: a file of any length
// costs the same.
class Grader final : public ResultVisitor {
public:
    using Entry = RecordChecker::Entry;
    using StartIndex = std::unordered_map<std::uint32_t, std::vector<std::size_t>>;

    // review: every save's own verdict is kept too, for Review.
    Grader(const std::vector<Entry> &tasks, const StartIndex &byStart, bool review = false)
        : m_tasks(tasks)
        , m_byStart(byStart)
        , m_runs(tasks.size())
        , m_review(review)
    {
    }

    void Save() override
    {
        Close();
        m_index = m_saves++;
        m_rows = 0;
    }

    void Record(const ResultRecord &record) override
    {
        const std::size_t row = m_rows++;
        if (row == 0) {
            NoteStart(record);
            if (m_review)
                m_start = ShownAsText(record);
            if (const std::optional<Levels> start = ReadLevels(record)) {
                const auto found = m_byStart.find(StartKey(*start));
                if (found != m_byStart.end()) {
                    for (const std::size_t task : found->second)
                        m_active.push_back({task, SaveCheck{m_index, 1, *start, {}, {}}});
                }
            }
            return;
        }
        for (auto &[task, save] : m_active) {
            ++save.Rows;
            if (save.Wrong.empty())
                Step(save, row, record, m_tasks[task].Task);
        }
    }

    RecordCheck Finish(const std::string &problem)
    {
        Close();
        RecordCheck check;
        if (m_tasks.size() == 1 && m_tasks[0].Best.Solved())
            check.Fewest = m_tasks[0].Best.Pours();
        if (!problem.empty()) {
            check.Result = Verdict::Unreadable;
            check.Detail = problem;
            return check;
        }
        check.Saves = m_saves;
        bool graded = false;
        for (std::size_t task = 0; task < m_tasks.size(); ++task) {
            if (m_runs[task].Saves == 0)
                continue;
            RecordCheck candidate = Judge(task);
            if (!graded || Better(candidate, check)) {
                check = std::move(candidate);
                graded = true;
            }
        }
        if (!graded) {
            check.Result = Verdict::OtherTask;
            check.Detail = OtherTaskDetail();
        }
        return check;
    }

    // After the file is read: its verdict and each save's own.
    FileReview Review(const std::string &problem)
    {
        FileReview review;
        review.Verdict = Finish(problem);
        review.Problem = problem;
        if (problem.empty()) {
            // Judged as each closed: the file's count is known only now.
            for (RecordCheck &save : m_reviewed)
                save.Saves = m_saves;
            review.Saves = std::move(m_reviewed);
        }
        return review;
    }

private:
    void Close()
    {
        if (m_review && m_saves > 0)
            m_reviewed.push_back(OwnVerdict());
        for (auto &[task, save] : m_active) {
            TaskRun &run = m_runs[task];
            ++run.Saves;
            run.Solved += save.Solved() ? 1 : 0;
            if (!run.Best || !run.Best->Beats(save))
                run.Best = save;
            run.Last = std::move(save);
        }
        m_active.clear();
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

    static void Step(SaveCheck &save, std::size_t row, const ResultRecord &record, const TaskPreset &task)
    {
        RowStep step = StepFrom(save.At, record, row, task);
        if (!step.Wrong.empty()) {
            save.Wrong = std::move(step.Wrong);
            return;
        }
        save.At = *step.Levels;
        if (!save.Goal && step.Goal)
            save.Goal = row;
    }

    // The save just read, judged as if it were the one graded: against the
    // best of the tasks it starts at.
    RecordCheck OwnVerdict() const
    {
        std::optional<RecordCheck> best;
        for (const auto &[task, save] : m_active) {
            RecordCheck check = Judge(task, save, {});
            if (!best || Better(check, *best))
                best = std::move(check);
        }
        if (best)
            return *best;
        RecordCheck check;
        check.Result = Verdict::OtherTask;
        if (m_tasks.size() == 1 && m_tasks[0].Best.Solved())
            check.Fewest = m_tasks[0].Best.Pours();
        check.Detail = m_rows == 0 ? "В сохранении нет ни одной строки."
                                   : "Сохранение начинается с " + Quoted(m_start) + ", а не с уровней "
                + (m_tasks.size() == 1 ? "задачи " + Shown(m_tasks[0].Task.Level) : std::string("какой-либо из задач"))
                + ".";
        return check;
    }

    // " Сохранение 2 из 3; лучшее из решенных." when the file holds more
    // than one, and what became of the task's last save when it is not the
    // one graded.
    std::string WhichSave(const TaskRun &run) const
    {
        if (m_saves < 2)
            return {};
        const SaveCheck &best = *run.Best;
        std::string text = " " + SaveName(best.Index, m_saves);
        if (best.Solved() && run.Solved > 1)
            text += "; лучшее из решенных";
        else if (best.Solved() && run.Saves > 1)
            text += "; единственное решенное";
        text += ".";
        const SaveCheck &last = *run.Last;
        if (last.Index != best.Index) {
            text += " Последнее сохранение задачи (" + Number(last.Index + 1) + " из " + Number(m_saves) + ") ";
            text += !last.Wrong.empty() ? "с неверным ходом."
                : last.Goal               ? "решено за " + PourCount(static_cast<int>(*last.Goal)) + "."
                                          : "не решено.";
        }
        return text;
    }

    RecordCheck Judge(std::size_t task) const
    {
        const TaskRun &run = m_runs[task];
        return Judge(task, *run.Best, WhichSave(run));
    }

    // which: what the file's verdict adds about the save it is that of.
    RecordCheck Judge(std::size_t task, const SaveCheck &save, const std::string &which) const
    {
        const Solution &solution = m_tasks[task].Best;
        RecordCheck check;
        check.Task = task;
        check.GradedSave = save.Index;
        check.Saves = m_saves;
        if (solution.Solved())
            check.Fewest = solution.Pours();
        if (!save.Wrong.empty()) {
            check.Result = Verdict::WrongMove;
            check.Detail = save.Wrong + which;
            return check;
        }
        const std::size_t pours = save.Rows - 1;
        if (!save.Goal) {
            check.Result = Verdict::NotSolved;
            check.Pours = static_cast<int>(pours);
            check.Detail = pours == 0 ? "Цель не достигнута: в сохранении нет ни одного переливания."
                                      : "Цель не достигнута за " + PourCount(static_cast<int>(pours)) + ".";
            if (!solution.Solved())
                check.Detail += " Задачу решить нельзя. " + UnsolvableText(solution, m_tasks[task].Task);
            check.Detail += which;
            return check;
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
        return check;
    }

    std::string OtherTaskDetail() const
    {
        if (m_starts.empty())
            return "В файле только пустые сохранения, без единой строки.";
        std::vector<std::string> quoted;
        for (const std::string &start : m_starts)
            quoted.push_back(Quoted(start));
        std::vector<std::string> levels;
        for (const Entry &entry : m_tasks) {
            std::string shown = Shown(entry.Task.Level);
            if (std::find(levels.begin(), levels.end(), shown) == levels.end())
                levels.push_back(std::move(shown));
        }
        const bool moreLevels = levels.size() > 3;
        levels.resize(std::min<std::size_t>(levels.size(), 3));
        return "Сохранения в файле начинаются с " + Listed(quoted, m_moreStarts, " и ") + ", а не с уровней "
            + (levels.size() == 1 ? "задачи " : "задач ") + Listed(levels, moreLevels, " или ") + ".";
    }

    const std::vector<Entry> &m_tasks;
    const StartIndex &m_byStart;
    std::vector<TaskRun> m_runs; // by task
    std::size_t m_saves = 0;
    std::size_t m_index = 0; // of the save being read
    std::size_t m_rows = 0; // of the save being read
    std::vector<std::pair<std::size_t, SaveCheck>> m_active; // the tasks the save being read starts at
    std::vector<std::string> m_starts; // the first row of each save, a few of them
    bool m_moreStarts = false;
    const bool m_review;
    std::string m_start; // the first row of the save being read, with a review
    std::vector<RecordCheck> m_reviewed; // each save's own verdict, with a review
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

std::string SaveName(std::size_t index, std::size_t saves)
{
    return "Сохранение " + Number(index + 1) + " из " + Number(saves);
}

RecordChecker::RecordChecker(const TaskPreset &task)
    : RecordChecker(std::vector<TaskPreset>{task})
{
}

RecordChecker::RecordChecker(const std::vector<TaskPreset> &tasks)
{
    m_tasks.reserve(tasks.size());
    for (const TaskPreset &task : tasks) {
        m_byStart[StartKey(task.Level)].push_back(m_tasks.size());
        m_tasks.push_back({task, Solve(task)});
    }
}

std::optional<int> RecordChecker::Fewest(std::size_t n) const
{
    if (!m_tasks[n].Best.Solved())
        return std::nullopt;
    return m_tasks[n].Best.Pours();
}

RecordCheck RecordChecker::CheckFile(const std::string &path, const std::atomic<bool> *stop) const
{
    Grader grader(m_tasks, m_byStart);
    const std::string problem = ReadResultFile(path, grader, stop);
    return grader.Finish(problem);
}

RecordCheck RecordChecker::Check(const ResultFile &file) const
{
    Grader grader(m_tasks, m_byStart);
    for (const ResultBlock &block : file.Blocks) {
        grader.Save();
        for (const ResultRecord &record : block.Records)
            grader.Record(record);
    }
    return grader.Finish(file.Problem);
}

FileReview RecordChecker::Review(const ResultFile &file) const
{
    Grader grader(m_tasks, m_byStart, true);
    for (const ResultBlock &block : file.Blocks) {
        grader.Save();
        for (const ResultRecord &record : block.Records)
            grader.Record(record);
    }
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
    Grader grader(m_tasks, m_byStart, true);
    BothVisitors both(grader, alongside);
    const std::string problem = ReadResultFile(path, both);
    return grader.Review(problem);
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
