// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "replay.h"

namespace {

// Builds the saves' rows as the file is read.
class ReplayBuilder final : public ResultVisitor {
public:
    explicit ReplayBuilder(const TaskPreset &task)
        : m_task(task)
    { }

    void Save() override { m_saves.emplace_back(); }

    void Record(const ResultRecord &record) override
    {
        ReplaySave &save = m_saves.back();
        const std::size_t r = save.Rows.size();
        const std::optional<std::array<int, 3>> before = r > 0 ? save.Rows.back().Step.Levels : std::nullopt;
        ReplayRow row;
        row.Caption = record.Columns[0];
        row.Texts = {record.Columns[1], record.Columns[2], record.Columns[3]};
        if (r == 0) {
            row.Step.Levels = ReadLevels(record);
            save.OfTask = row.Step.Levels == m_task.Level;
        } else if (save.OfTask && before) {
            row.Step = StepFrom(*before, record, r, m_task);
            row.Checked = true;
            if (row.Step.Goal && !save.FirstGoal)
                save.FirstGoal = r;
        } else {
            row.Step.Levels = ReadLevels(record);
        }
        save.Rows.push_back(std::move(row));
    }

    std::vector<ReplaySave> Take() { return std::move(m_saves); }

private:
    const TaskPreset &m_task;
    std::vector<ReplaySave> m_saves;
};

Replay Assemble(const TaskPreset &task, FileReview review, std::vector<ReplaySave> saves)
{
    Replay replay;
    replay.Task = task;
    replay.Problem = review.Problem;
    replay.Graded = review.Verdict.GradedSave;
    replay.Verdict = std::move(review.Verdict);
    // What a file that could not be read told the builder is dropped.
    if (!replay.Problem.empty())
        return replay;
    for (std::size_t s = 0; s < saves.size(); ++s) {
        saves[s].Name = SaveName(s, saves.size());
        saves[s].Check = std::move(review.Saves[s]);
    }
    replay.Saves = std::move(saves);
    return replay;
}

} // namespace

Replay ReplayOf(const ResultFile &file, const TaskPreset &task)
{
    ReplayBuilder builder(task);
    for (const ResultBlock &block : file.Blocks) {
        builder.Save();
        for (const ResultRecord &record : block.Records)
            builder.Record(record);
    }
    return Assemble(task, RecordChecker(task).Review(file), builder.Take());
}

Replay ReplayFile(const std::string &path, const TaskPreset &task)
{
    ReplayBuilder builder(task);
    FileReview review = RecordChecker(task).ReviewFile(path, builder);
    return Assemble(task, std::move(review), builder.Take());
}

std::array<int, 3> ShownLevels(const ReplayRow &row)
{
    if (row.Step.Levels)
        return *row.Step.Levels;
    std::array<int, 3> levels{};
    for (std::size_t n = 0; n < 3; ++n)
        levels[n] = ReadLevel(row.Texts[n]).value_or(0);
    return levels;
}
