// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

// A PDF read back as its reader sees it, by poppler's pdftotext and pdfinfo
// (package poppler-utils).
#include "rules.h"
#include "task_code.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <array>
#include <vector>

namespace {

// The tool's output, or a failed test when it is missing or fails.
QString RunPoppler(const QString &tool, const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        qFatal("%s is missing: install poppler-utils (tools/setup.sh does)", qPrintable(tool));
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qFatal("%s %s failed: %s", qPrintable(tool), qPrintable(arguments.join(QLatin1Char(' '))),
            process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPages(const QString &pdf)
{
    const QRegularExpressionMatch pages
        = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption)
              .match(RunPoppler(QStringLiteral("pdfinfo"), {pdf}));
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

// One page's text in the order it was drawn (pdftotext -raw): a heading
// before its paragraph, a table column by column.
QString PdfPageText(const QString &pdf, int page)
{
    return RunPoppler(QStringLiteral("pdftotext"),
        {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-f"),
            QString::number(page), QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
}

QStringList PdfPagesText(const QString &pdf)
{
    QStringList pages;
    for (int page = 1, count = PdfPages(pdf); page <= count; ++page)
        pages << PdfPageText(pdf, page);
    return pages;
}

// The words of a PDF with where each stands (pdftotext -bbox), in points
// from the top of its page.
struct PdfWord {
    int Page = 0; // from 1
    double Bottom = 0;
    double PageHeight = 0;
    QString Text;
};

std::vector<PdfWord> PdfWords(const QString &pdf)
{
    const QString html = RunPoppler(QStringLiteral("pdftotext"),
        {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    static const QRegularExpression tag(QStringLiteral("<page width=\"[0-9.]+\" height=\"([0-9.]+)\">|"
                                                       "<word xMin=\"[0-9.]+\" yMin=\"[0-9.]+\" xMax=\"[0-9.]+\" "
                                                       "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    std::vector<PdfWord> words;
    int page = 0;
    double height = 0;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (!m.captured(1).isEmpty()) {
            ++page;
            height = m.captured(1).toDouble();
            continue;
        }
        words.push_back({page, m.captured(2).toDouble(), height, m.captured(3)});
    }
    return words;
}

// Words in one run, however the page broke its lines.
QString Flat(const QString &text)
{
    return text.simplified();
}

// An answer in the key: the task's code, its fewest pours and the pours of
// the table under them, each "S R L1 L2 L3".
struct KeyAnswer {
    TaskPreset Task{};
    int Fewest = 0;
    std::vector<std::array<int, 5>> Pours;
};

// The key's answers in the order they are drawn. The table comes column by
// column: "№" and the pour numbers, then "Из", "В", "V1", "V2", "V3", each
// with its cells.
std::vector<KeyAnswer> KeyAnswers(const QString &keyText)
{
    std::vector<KeyAnswer> answers;
    static const QRegularExpression line(
        QStringLiteral(
            "Код (\\S+)\\. Наименьшее число переливаний: (\\d+)\\.(.*?)(?=Код |Вариант |Задача |Сосудник |$)"),
        QRegularExpression::DotMatchesEverythingOption);
    const QString text = Flat(keyText);
    for (auto it = line.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        KeyAnswer answer;
        answer.Task = ParseTaskCode(match.captured(1).toStdString());
        answer.Fewest = match.captured(2).toInt();
        const QStringList cells = match.captured(3).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // "№ 1 2 3 Из 1 2 1 В ...", then the words of the map drawn under
        // the table: the table ends with its sixth column as long as its first.
        std::vector<std::vector<int>> columns;
        for (const QString &cell : cells) {
            const bool tableDone = columns.size() == 6 && columns[5].size() == columns[0].size();
            bool number = false;
            const int value = cell.toInt(&number);
            if (tableDone || (!number && columns.size() == 6))
                break;
            if (!number)
                columns.emplace_back();
            else if (!columns.empty())
                columns.back().push_back(value);
        }
        const bool whole = columns.size() == 6
            && std::all_of(columns.begin(), columns.end(),
                [&columns](const std::vector<int> &column) { return column.size() == columns[0].size(); });
        if (whole) {
            for (std::size_t r = 0; r < columns[0].size(); ++r)
                answer.Pours.push_back({columns[1][r], columns[2][r], columns[3][r], columns[4][r], columns[5][r]});
        }
        answers.push_back(std::move(answer));
    }
    return answers;
}

// Whether the pours follow the game's rule from the task's start and the
// last reaches its target, none before it.
bool SolvesTask(const KeyAnswer &answer)
{
    std::array<int, 3> levels{answer.Task.Level[0], answer.Task.Level[1], answer.Task.Level[2]};
    for (std::size_t i = 0; i < answer.Pours.size(); ++i) {
        const std::array<int, 5> &pour = answer.Pours[i];
        const PourMove move{pour[0], pour[1]};
        if (!ApplyPour(levels, answer.Task.Capacity, move) || levels != std::array<int, 3>{pour[2], pour[3], pour[4]})
            return false;
        const bool reached = MeetsGoal(answer.Task.Target, levels[static_cast<std::size_t>(move.Source - 1)],
            levels[static_cast<std::size_t>(move.Receiver - 1)]);
        if (reached != (i + 1 == answer.Pours.size()))
            return false;
    }
    return !answer.Pours.empty();
}

} // namespace
