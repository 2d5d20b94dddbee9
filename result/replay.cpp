// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "replay.h"

namespace {

std::string Capitalised(std::string text)
{
    // SaveName begins with a Cyrillic "с": two bytes in UTF-8, U+0441 to U+0421.
    if (text.compare(0, 2, "с") == 0)
        text.replace(0, 2, "С");
    return text;
}

ReplaySave ReplayOfSave(const ResultBlock &block, const TaskPreset &task)
{
    ReplaySave save;
    std::optional<std::array<int, 3>> before;
    for (std::size_t r = 0; r < block.Records.size(); ++r) {
        const ResultRecord &record = block.Records[r];
        ReplayRow row;
        row.Caption = record.Columns[0];
        row.Texts = {record.Columns[1], record.Columns[2], record.Columns[3]};
        if (r == 0) {
            row.Step.Levels = ReadLevels(record);
            save.OfTask = row.Step.Levels == task.Level;
        } else if (save.OfTask && before) {
            row.Step = StepFrom(*before, record, r, task);
            row.Checked = true;
            if (row.Step.Goal && !save.FirstGoal)
                save.FirstGoal = r;
        } else {
            row.Step.Levels = ReadLevels(record);
        }
        before = row.Step.Levels;
        save.Rows.push_back(std::move(row));
    }
    return save;
}

} // namespace

Replay ReplayOf(const ResultFile &file, const TaskPreset &task)
{
    Replay replay;
    replay.Task = task;
    replay.Problem = file.Problem;
    const FileReview review = RecordChecker(task).Review(file);
    replay.Graded = review.Graded;
    replay.Verdict = review.Verdict;
    if (!file.Readable())
        return replay;
    for (std::size_t s = 0; s < file.Blocks.size(); ++s) {
        ReplaySave save = ReplayOfSave(file.Blocks[s], task);
        save.Name = Capitalised(SaveName(s, file.Blocks.size()));
        save.Check = review.Saves[s];
        replay.Saves.push_back(std::move(save));
    }
    return replay;
}

Replay ReplayFile(const std::string &path, const TaskPreset &task)
{
    return ReplayOf(ReadResultFile(path), task);
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
