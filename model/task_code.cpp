// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "task_code.h"

#include "parse.h"
#include "rules.h"
#include "wording.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

[[noreturn]] void Malformed(std::string_view code)
{
    throw std::invalid_argument("Код задачи " + Quoted(code)
                                + " не разобрать: нужен вид C1,C2,C3/L1,L2,L3/T, например 12,7,5/12,0,0/6 — "
                                  "задача о молоке");
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
    if (!IsDecimalDigits(digits))
        Malformed(code);
    const std::optional<int> value = ReadDecimalValue(digits);
    if (!value)
        throw std::invalid_argument("В коде задачи значение " + Shortened(digits) + 
                                    + " вне пределов: требуется целое число от 0 до 999");
    return *value;
}

} // namespace

std::string TaskCode(const TaskPreset &task)
{
    const auto n = [](int value) { return std::to_string(value); };
    return n(task.Capacity[0]) + "," + n(task.Capacity[1]) + "," + n(task.Capacity[2]) + "/" + n(task.Level[0]) + ","
        + n(task.Level[1]) + "," + n(task.Level[2]) + "/" + n(task.Target);
}

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
        if (!LevelFits(task.Level[n], task.Capacity[n]))
            throw std::invalid_argument(std::string(kMsgLevelAboveCapacity) + ": у сосуда " + std::to_string(n + 1)
                                        + " объем " + std::to_string(task.Capacity[n]) + ", а уровень "
                                        + std::to_string(task.Level[n]) + " — больше объема");
    }
    return task;
}

std::vector<TaskPreset> ParseTaskCodes(std::string_view codes)
{
    const std::vector<std::string_view> parts = Split(codes, '+');
    if (parts.size() == 1)
        return {ParseTaskCode(codes)};
    std::vector<TaskPreset> tasks;
    for (std::size_t n = 0; n < parts.size(); ++n) {
        TaskPreset task{};
        try {
            task = ParseTaskCode(parts[n]);
        } catch (const std::invalid_argument &e) {
            throw std::invalid_argument("Код задачи номер " + std::to_string(n + 1) + " в списке через «+», "
                                        + Quoted(parts[n]) + ", не годится. " + e.what());
        }
        const auto same = [&task](const TaskPreset &other) {
            return other.Capacity == task.Capacity && other.Level == task.Level && other.Target == task.Target;
        };
        if (std::none_of(tasks.begin(), tasks.end(), same))
            tasks.push_back(task);
    }
    return tasks;
}
