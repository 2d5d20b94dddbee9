// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "progress.h"

#include "task_book.h"
#include "task_code.h"
#include "wording.h"

namespace {

constexpr int kMostStars = 3;

std::string Code(std::size_t index)
{
    return TaskCode(TaskBook()[index].Task);
}

} // namespace

std::string StarGlyphs(int stars)
{
    std::string glyphs;
    for (int i = 0; i < kMostStars; ++i)
        glyphs += i < stars ? "★" : "☆";
    return glyphs;
}

std::string StarWords(int stars)
{
    return std::to_string(stars) + " " + std::string(RussianPlural(stars, "звезда", "звезды", "звезд"));
}

std::string WinLine(int pours, int fewest)
{
    return "Решено за " + PourCount(pours) + ". Наименьшее число — " + std::to_string(fewest) + ".";
}

std::string LessonWinLine(int pours)
{
    return "Задача решена за " + PourCount(pours) + ".";
}

std::string AttemptStarWords(const WinReport &report)
{
    const HelpUsed &help = report.Win.Help;
    if (help.Any()) {
        const char *what = help.Hint && help.Solution ? "подсказку и решение" : help.Hint ? "подсказку" : "решение";
        return std::string("Без звезд: вы открывали ") + what + ".";
    }
    return StarWords(Stars(report.Win, report.Fewest)) + " из 3";
}

std::string AttemptStars(const WinReport &report)
{
    if (report.Win.Help.Any())
        return AttemptStarWords(report);
    return StarGlyphs(Stars(report.Win, report.Fewest)) + " — " + AttemptStarWords(report);
}

std::string BestSoFar(const WinReport &report)
{
    if (!report.NewBest())
        return BestText(*report.Before, report.Fewest);
    if (!report.Before)
        return "Новый рекорд!";
    return "Новый рекорд! Прежний лучший результат — " + PourCount(report.Before->Pours)
        + (report.Before->Help.Any() ? ", с помощью." : ".");
}

LevelProgress ProgressOf(int level, const BestOf &best)
{
    LevelProgress progress;
    const auto book = TaskBook();
    for (std::size_t i = 0; i < book.size(); ++i) {
        if (LevelOf(book[i].Fewest) != level)
            continue;
        ++progress.Tasks;
        progress.MostStars += kMostStars;
        if (const std::optional<Score> score = best(Code(i))) {
            ++progress.Solved;
            progress.Stars += Stars(*score, book[i].Fewest);
        }
    }
    return progress;
}

std::string ProgressText(const LevelProgress &progress, bool lesson)
{
    std::string text = "решено " + std::to_string(progress.Solved) + " из " + std::to_string(progress.Tasks);
    if (!lesson)
        text += ", ★ " + std::to_string(progress.Stars) + " из " + std::to_string(progress.MostStars);
    return text;
}

int NextUnsolved(int after, const BestOf &best)
{
    const int size = static_cast<int>(TaskBook().size());
    for (int step = 1; step <= size; ++step) {
        const int index = ((after + step) % size + size) % size;
        if (!best(Code(static_cast<std::size_t>(index))))
            return index;
    }
    return -1;
}

int BookIndexOf(const std::string &code)
{
    const auto book = TaskBook();
    for (std::size_t i = 0; i < book.size(); ++i) {
        if (Code(i) == code)
            return static_cast<int>(i);
    }
    return -1;
}
