// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "scores.h"

#include "parse.h"
#include "task_code.h"
#include "wording.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace {

constexpr std::string_view kHeader = "# Сосудник: лучший результат в каждой задаче — код задачи, переливаний, дата, "
                                     "помощь";
constexpr std::size_t kMaxPoursDigits = 7;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t';
}

int Value(std::string_view digits)
{
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

// The next word, and the text after it.
std::string_view NextWord(std::string_view &text)
{
    const auto start = std::find_if_not(text.begin(), text.end(), IsSpace);
    const auto end = std::find_if(start, text.end(), IsSpace);
    const std::string_view word(start, end);
    text = std::string_view(end, text.end());
    return word;
}

bool IsDate(std::string_view date)
{
    if (date.size() != 10 || date[4] != '-' || date[7] != '-' || !IsDecimalDigits(date.substr(0, 4))
        || !IsDecimalDigits(date.substr(5, 2)) || !IsDecimalDigits(date.substr(8, 2)))
        return false;
    const int month = Value(date.substr(5, 2));
    const int day = Value(date.substr(8, 2));
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

std::optional<HelpUsed> ParseHelp(std::string_view text)
{
    // Words apart by any spaces or tabs, as a player may have typed them.
    std::string words;
    for (std::string_view word = NextWord(text); !word.empty(); word = NextWord(text))
        words += (words.empty() ? "" : " ") + std::string(word);
    for (const HelpUsed help : {HelpUsed{false, false}, HelpUsed{true, false}, HelpUsed{false, true},
                                HelpUsed{true, true}}) {
        if (words == HelpText(help))
            return help;
    }
    return std::nullopt;
}

} // namespace

bool Better(const Score &a, const Score &b)
{
    if (a.Help.Any() != b.Help.Any())
        return !a.Help.Any();
    return a.Pours < b.Pours;
}

int Stars(const Score &score, int fewest)
{
    if (score.Help.Any())
        return 0;
    if (score.Pours <= fewest)
        return 3;
    return score.Pours <= fewest + 2 ? 2 : 1;
}

std::string HelpText(const HelpUsed &help)
{
    if (help.Hint && help.Solution)
        return "подсказка и решение";
    if (help.Hint)
        return "подсказка";
    return help.Solution ? "решение" : "без помощи";
}

std::string BestText(const Score &score, int fewest)
{
    std::string text = "Ваш лучший результат: " + PourCount(score.Pours) + " (" + score.Date + "), ";
    if (score.Help.Any()) {
        const char *with = score.Help.Hint && score.Help.Solution ? "с подсказкой и решением"
            : score.Help.Hint                                      ? "с подсказкой"
                                                                    : "с решением";
        return text + with + " — без звезд.";
    }
    const int stars = Stars(score, fewest);
    return text + std::to_string(stars) + " " + std::string(RussianPlural(stars, "звезда", "звезды", "звезд"))
        + " из 3.";
}

std::optional<Score> ParseScore(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    Score score;
    try {
        score.Code = TaskCode(ParseTaskCode(NextWord(line)));
    } catch (const std::invalid_argument &) {
        return std::nullopt;
    }
    const std::string_view pours = NextWord(line);
    if (!IsDecimalDigits(pours) || pours.size() > kMaxPoursDigits || Value(pours) < 1)
        return std::nullopt;
    score.Pours = Value(pours);
    const std::string_view date = NextWord(line);
    if (!IsDate(date))
        return std::nullopt;
    score.Date = date;
    const std::optional<HelpUsed> help = ParseHelp(line);
    if (!help)
        return std::nullopt;
    score.Help = *help;
    return score;
}

std::string ScoreLine(const Score &score)
{
    return score.Code + "\t" + std::to_string(score.Pours) + "\t" + score.Date + "\t" + HelpText(score.Help);
}

ScoreBook ScoreBook::Parse(std::string_view text)
{
    ScoreBook book;
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        book.m_lines.push_back({std::string(line), ParseScore(line)});
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return book;
}

std::string ScoreBook::Text() const
{
    std::string text;
    for (const Line &line : m_lines)
        text += line.Text + "\n";
    return text;
}

std::optional<Score> ScoreBook::Best(std::string_view code) const
{
    std::optional<Score> best;
    for (const Line &line : m_lines) {
        if (line.Entry && line.Entry->Code == code && (!best || Better(*line.Entry, *best)))
            best = line.Entry;
    }
    return best;
}

int ScoreBook::Count() const
{
    return static_cast<int>(std::count_if(m_lines.begin(), m_lines.end(), [](const Line &l) { return l.Entry; }));
}

std::vector<Score> ScoreBook::All() const
{
    std::vector<Score> all;
    // A file near its size limit holds some ten thousand lines: found by code, not by search.
    std::map<std::string_view, std::size_t> at;
    for (const Line &line : m_lines) {
        if (!line.Entry)
            continue;
        const auto [it, first] = at.emplace(line.Entry->Code, all.size());
        if (first)
            all.push_back(*line.Entry);
        else if (Better(*line.Entry, all[it->second]))
            all[it->second] = *line.Entry;
    }
    return all;
}

bool ScoreBook::Add(const Score &score)
{
    const std::optional<Score> best = Best(score.Code);
    if (best && !Better(score, *best))
        return false;
    const Line line{ScoreLine(score), score};
    const auto same = [&](const Line &l) { return l.Entry && l.Entry->Code == score.Code; };
    const auto first = std::find_if(m_lines.begin(), m_lines.end(), same);
    if (first == m_lines.end()) {
        if (m_lines.empty())
            m_lines.push_back({std::string(kHeader), std::nullopt});
        m_lines.push_back(line);
        return true;
    }
    // One line a task: a merged file's other lines of it give way to the best.
    *first = line;
    m_lines.erase(std::remove_if(std::next(first), m_lines.end(), same), m_lines.end());
    return true;
}
