// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "worksheet_pdf.h"

#include "advice.h"
#include "appearance.h"
#include "atomic_file.h"
#include "map_painter.h"
#include "task_code.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string_view>
#include <vector>

namespace {

// Everything is measured in millimetres of the A4 page.
constexpr double kPageWidth = 210;
constexpr double kPageHeight = 297;
constexpr double kMarginX = 15;
constexpr double kMarginTop = 12;
constexpr double kMarginBottom = 14;
constexpr double kHeaderHeight = 10; // the running head and its rule
constexpr double kContentTop = kMarginTop + kHeaderHeight;
constexpr double kContentBottom = kPageHeight - kMarginBottom;
constexpr double kContentHeight = kContentBottom - kContentTop;
constexpr double kContentWidth = kPageWidth - 2 * kMarginX;
constexpr int kDotsPerInch = 1200;

constexpr double kGap = 3; // between the parts of a block
constexpr double kBlockGap = 8; // between blocks

// A table of pours: the pupil's to fill in, the key's filled.
const std::array<const char *, 6> kColumns = {"№", "Из", "В", "V1", "V2", "V3"};
struct TableShape {
    std::array<double, 6> Widths;
    double Row;

    double Width() const { return Widths[0] + Widths[1] + Widths[2] + Widths[3] + Widths[4] + Widths[5]; }
};
constexpr TableShape kPupilTable{{8, 9, 9, 11, 11, 11}, 6.5};
constexpr TableShape kKeyTable{{10, 8, 8, 10, 10, 10}, 5};
constexpr double kHalvesGap = 5; // the pupil's table in two halves side by side

constexpr double kDrawingHeight = 45;
constexpr double kLabelsHeight = 9; // "Сосуд 1" and "5 из 12" under each vessel
constexpr double kVesselWidth = 11;

const QColor kInk(0, 0, 0);
const QColor kGrey(110, 110, 110);
const QColor kLiquid(150, 190, 255);

QString Text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString Number(int n)
{
    return QString::number(n);
}

// One PDF being painted: its writer, its painter, and the page in hand.
class Canvas {
public:
    explicit Canvas(QByteArray &bytes)
        : m_buffer(&bytes)
    {
        m_buffer.open(QIODevice::WriteOnly);
        m_writer = std::make_unique<QPdfWriter>(&m_buffer);
        m_writer->setResolution(kDotsPerInch);
        m_writer->setPageSize(QPageSize(QPageSize::A4));
        m_writer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        m_writer->setCreator(QStringLiteral("Сосудник"));
    }

    void SetTitle(const QString &title) { m_writer->setTitle(title); }

    // The next page; the first needs no break.
    void StartPage()
    {
        if (!m_painter.isActive()) {
            m_painter.begin(m_writer.get());
            m_painter.setRenderHint(QPainter::Antialiasing);
        } else {
            m_writer->newPage();
        }
        ++m_pages;
    }

    int Pages() const { return m_pages; }

    void Finish()
    {
        if (m_painter.isActive())
            m_painter.end();
    }

    // The game's own face, at sizes between its whole points.
    static QFont Font(double points, bool bold = false)
    {
        QFont font = UiFont(static_cast<int>(points), bold);
        font.setPointSizeF(points);
        return font;
    }

    double Dots(double mm) const { return mm * kDotsPerInch / 25.4; }
    double Mm(double dots) const { return dots * 25.4 / kDotsPerInch; }
    QRectF Rect(double x, double y, double w, double h) const { return {Dots(x), Dots(y), Dots(w), Dots(h)}; }

    // The height of a paragraph set in `width`.
    double TextHeight(const QFont &font, double width, const QString &text) const
    {
        const QFontMetricsF metrics(font, m_writer.get());
        return Mm(
            metrics.boundingRect(QRectF(0, 0, Dots(width), 1e9), Qt::TextWordWrap | Qt::AlignLeft, text).height());
    }

    double TextWidth(const QFont &font, const QString &text) const
    {
        return Mm(QFontMetricsF(font, m_writer.get()).horizontalAdvance(text));
    }

    double LineHeight(const QFont &font) const { return Mm(QFontMetricsF(font, m_writer.get()).height()); }

    void Write(const QRectF &mm, int flags, const QFont &font, const QString &text, const QColor &colour = kInk)
    {
        m_painter.setFont(font);
        m_painter.setPen(colour);
        m_painter.drawText(Rect(mm.x(), mm.y(), mm.width(), mm.height()), flags, text);
    }

    void Line(double x1, double y1, double x2, double y2, double width, const QColor &colour = kInk)
    {
        m_painter.setPen(QPen(colour, Dots(width), Qt::SolidLine, Qt::FlatCap));
        m_painter.drawLine(QPointF(Dots(x1), Dots(y1)), QPointF(Dots(x2), Dots(y2)));
    }

    void Fill(const QRectF &mm, const QColor &colour)
    {
        m_painter.fillRect(Rect(mm.x(), mm.y(), mm.width(), mm.height()), colour);
    }

    QPainter &Painter() { return m_painter; }

private:
    QBuffer m_buffer;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    int m_pages = 0;
};

// A part of a page that is never split: its height, and how to paint it
// with its top left corner at a given place of the page. A narrow block
// takes one of the key's columns; a wide one the whole width.
struct Block {
    double Height = 0;
    std::function<void(Canvas &, QPointF at)> Paint;
    double After = kBlockGap; // the space below it, when another block follows
    bool Narrow = false;
};

// The key's answers run in columns, as in a newspaper.
constexpr int kKeyColumns = 3;
constexpr double kColumnGap = 6;
constexpr double kColumnWidth = (kContentWidth - (kKeyColumns - 1) * kColumnGap) / kKeyColumns;

// Pages that belong together: a variant of the sheet, or the key. Each
// starts on a page of its own; its running head knows its page count.
struct Section {
    std::function<void(Canvas &, int page, int pages)> Head;
    std::vector<Block> Blocks;
    // Laid out: the blocks of each page, with their places.
    std::vector<std::vector<std::pair<const Block *, QPointF>>> Pages;
};

// Wide blocks one under another; narrow ones fill the columns below them,
// the first column down, then the next.
void LayOut(Section &section)
{
    section.Pages.assign(1, {});
    double y = kContentTop; // below the wide blocks
    double band = kContentTop; // where the columns start on this page
    int column = 0;
    double columnY = kContentTop;
    double lowest = kContentTop; // the lowest column's end
    const auto newPage = [&] {
        section.Pages.emplace_back();
        y = band = columnY = lowest = kContentTop;
        column = 0;
    };
    for (const Block &block : section.Blocks) {
        if (!block.Narrow) {
            y = std::max(y, lowest);
            if (y + block.Height > kContentBottom && !section.Pages.back().empty())
                newPage();
            section.Pages.back().emplace_back(&block, QPointF(kMarginX, y));
            y += block.Height + block.After;
            band = columnY = lowest = y;
            column = 0;
            continue;
        }
        const auto fits = [&] { return columnY + block.Height <= kContentBottom; };
        if (!fits() && columnY > band) {
            if (++column == kKeyColumns)
                newPage();
            columnY = band;
        }
        // Under wide blocks the columns are short: a block for a whole
        // column starts a page of its own.
        if (!fits() && band > kContentTop)
            newPage();
        section.Pages.back().emplace_back(&block, QPointF(kMarginX + column * (kColumnWidth + kColumnGap), columnY));
        columnY += block.Height + block.After;
        lowest = std::max(lowest, columnY);
    }
}

void Head(Canvas &canvas, const QString &left, const QString &right)
{
    const QFont font = Canvas::Font(8);
    const double line = canvas.LineHeight(font);
    canvas.Write(QRectF(kMarginX, kMarginTop, kContentWidth, line), Qt::AlignLeft | Qt::AlignTop, font, left, kGrey);
    canvas.Write(QRectF(kMarginX, kMarginTop, kContentWidth, line), Qt::AlignRight | Qt::AlignTop, font, right, kGrey);
    canvas.Line(kMarginX, kMarginTop + line + 1.5, kMarginX + kContentWidth, kMarginTop + line + 1.5, 0.2, kGrey);
}

// A paragraph as a block of its own.
Block Paragraph(const Canvas &canvas, const QFont &font, const QString &text, double width = kContentWidth,
    const QColor &colour = kInk)
{
    const double height = canvas.TextHeight(font, width, text);
    return {height, [=](Canvas &c, QPointF at) {
                const double top = at.y();
                c.Write(QRectF(kMarginX, top, width, height + 1), Qt::TextWordWrap | Qt::AlignLeft, font, text, colour);
            }};
}

// Rows of a table of pours: each row's six cells, or empty cells.
using TableRows = std::vector<std::array<QString, 6>>;

void PaintTable(
    Canvas &canvas, double x, double y, const TableShape &shape, const TableRows &rows, bool numbered, int firstNumber)
{
    const QFont head = Canvas::Font(8.5, true);
    const QFont cell = Canvas::Font(8.5);
    const double width = shape.Width();
    const auto count = static_cast<int>(rows.size());
    canvas.Fill(QRectF(x, y, width, shape.Row), QColor(235, 240, 250));
    for (int r = 0; r <= count + 1; ++r)
        canvas.Line(x, y + r * shape.Row, x + width, y + r * shape.Row, r <= 1 || r == count + 1 ? 0.3 : 0.15);
    double cx = x;
    for (std::size_t c = 0; c <= kColumns.size(); ++c) {
        canvas.Line(cx, y, cx, y + (count + 1) * shape.Row, c == 0 || c == kColumns.size() ? 0.3 : 0.15);
        if (c == kColumns.size())
            break;
        const double w = shape.Widths[c];
        canvas.Write(QRectF(cx, y, w, shape.Row), Qt::AlignCenter, head, Text(kColumns[c]));
        for (int r = 0; r < count; ++r) {
            const QRectF box(cx, y + (r + 1) * shape.Row, w, shape.Row);
            if (c == 0 && numbered)
                canvas.Write(box, Qt::AlignCenter, cell, Number(firstNumber + r), kGrey);
            else
                canvas.Write(box, Qt::AlignCenter, cell, rows[static_cast<std::size_t>(r)][c]);
        }
        cx += w;
    }
}

// The three vessels side by side on a shelf, each as tall as its capacity
// against the largest, filled to its level.
void PaintVessels(Canvas &canvas, const QRectF &area, const TaskPreset &task)
{
    const double shelf = area.top() + area.height() - kLabelsHeight;
    const double tallest = shelf - area.top();
    const int largest = std::max({task.Capacity[0], task.Capacity[1], task.Capacity[2]});
    const auto scaled = [&](int amount) { return largest > 0 ? tallest * amount / largest : 0.0; };
    const double slot = area.width() / 3;
    const QFont name = Canvas::Font(7.5, true);
    const QFont reading = Canvas::Font(7.5);
    const double line = canvas.LineHeight(reading);
    for (std::size_t n = 0; n < 3; ++n) {
        const double left = area.left() + slot * static_cast<double>(n) + (slot - kVesselWidth) / 2;
        const double right = left + kVesselWidth;
        const double height = scaled(task.Capacity[n]);
        const double level = scaled(task.Level[n]);
        if (level > 0) {
            canvas.Fill(QRectF(left, shelf - level, kVesselWidth, level), kLiquid);
            canvas.Line(left, shelf - level, right, shelf - level, 0.3);
        }
        // Open at the top, as a vessel is.
        canvas.Line(left, shelf - height, left, shelf, 0.4);
        canvas.Line(right, shelf - height, right, shelf, 0.4);
        canvas.Line(left - 0.2, shelf, right + 0.2, shelf, 0.4);
        const QRectF label(area.left() + slot * static_cast<double>(n), shelf + 1, slot, line);
        canvas.Write(label, Qt::AlignHCenter | Qt::AlignTop, name, QStringLiteral("Сосуд %1").arg(n + 1));
        canvas.Write(label.translated(0, line), Qt::AlignHCenter | Qt::AlignTop, reading,
            QStringLiteral("%1 из %2").arg(task.Level[n]).arg(task.Capacity[n]));
    }
}

QString TaskHeading(int index, const SheetTask &task)
{
    return QStringLiteral("Задача %1. %2").arg(index).arg(Text(task.Title));
}

// A task for the pupil: heading, statement, the vessels and an empty table.
Block PupilTask(const Canvas &canvas, int index, const SheetTask &task, int rows)
{
    const QFont heading = Canvas::Font(12, true);
    const QFont statement = Canvas::Font(10.5);
    const QString title = TaskHeading(index, task);
    const QString words = Text(task.Statement);
    const double headingHeight = canvas.LineHeight(heading);
    const double wordsHeight = canvas.TextHeight(statement, kContentWidth, words);
    const int half = rows / 2;
    const double tableHeight = (half + 1) * kPupilTable.Row;
    const double body = std::max(tableHeight, kDrawingHeight);
    const double height = headingHeight + 1 + wordsHeight + kGap + body;
    const QString source = task.BookNumber > 0 ? QStringLiteral("задача %1 сборника").arg(task.BookNumber) : QString();
    return {height, [=](Canvas &c, QPointF at) {
                const double top = at.y();
                c.Write(
                    QRectF(kMarginX, top, kContentWidth, headingHeight), Qt::AlignLeft | Qt::AlignTop, heading, title);
                if (!source.isEmpty())
                    c.Write(QRectF(kMarginX, top, kContentWidth, headingHeight), Qt::AlignRight | Qt::AlignVCenter,
                        Canvas::Font(8), source, kGrey);
                double y = top + headingHeight + 1;
                c.Write(QRectF(kMarginX, y, kContentWidth, wordsHeight + 1), Qt::TextWordWrap | Qt::AlignLeft,
                    statement, words);
                y += wordsHeight + kGap;
                const double tables = 2 * kPupilTable.Width() + kHalvesGap;
                const double right = kMarginX + kContentWidth;
                PaintVessels(c, QRectF(kMarginX, y, right - tables - kHalvesGap - kMarginX, kDrawingHeight), task.Task);
                const TableRows empty(static_cast<std::size_t>(half));
                PaintTable(c, right - tables, y, kPupilTable, empty, true, 1);
                PaintTable(c, right - kPupilTable.Width(), y, kPupilTable, empty, true, half + 1);
            }};
}

const char *const kRules
    = "Жидкость переливают из одного сосуда в другой, пока первый не опустеет или второй не наполнится: "
      "отмерить «на глаз» нельзя. Задача решена, когда после переливания нужное количество окажется в сосуде, "
      "из которого или в который переливали. Записывайте в таблицу каждое переливание: из какого сосуда, в какой "
      "и сколько стало в каждом сосуде (V1, V2, V3). Строк в таблицах поровну у всех задач; если не хватит, "
      "продолжайте на обороте.";

QString VariantWord(const Worksheet &sheet, int variant)
{
    return sheet.Variants.size() > 1 ? QStringLiteral("Вариант %1").arg(variant) : QString();
}

// The top of a variant's first page: the title, lines for the pupil's name,
// and the rules.
Block PupilIntro(const Canvas &canvas, const Worksheet &sheet, int variant)
{
    const QFont title = Canvas::Font(16, true);
    const QFont label = Canvas::Font(10);
    const QFont rules = Canvas::Font(9.5);
    const QString heading = sheet.Variants.size() > 1 ? QStringLiteral("Листок с задачами. Вариант %1").arg(variant)
                                                      : QStringLiteral("Листок с задачами");
    const double titleHeight = canvas.LineHeight(title);
    const double labelHeight = canvas.LineHeight(label);
    const double rulesHeight = canvas.TextHeight(rules, kContentWidth, Text(kRules));
    const double height = titleHeight + kGap + labelHeight + 2 + kGap + rulesHeight;
    return {height, [=](Canvas &c, QPointF at) {
                const double top = at.y();
                c.Write(
                    QRectF(kMarginX, top, kContentWidth, titleHeight), Qt::AlignLeft | Qt::AlignTop, title, heading);
                double y = top + titleHeight + kGap;
                // "Фамилия, имя ________  Класс ____  Дата ____", the blanks as lines.
                struct Field {
                    const char *Name;
                    double Blank;
                };
                const Field fields[] = {{"Фамилия, имя", 70}, {"Класс", 18}, {"Дата", 25}};
                double x = kMarginX;
                for (const Field &field : fields) {
                    const QString name = Text(field.Name);
                    const double w = c.TextWidth(label, name);
                    c.Write(QRectF(x, y, w + 1, labelHeight), Qt::AlignLeft | Qt::AlignTop, label, name);
                    x += w + 2;
                    c.Line(x, y + labelHeight, x + field.Blank, y + labelHeight, 0.25);
                    x += field.Blank + 6;
                }
                y += labelHeight + 2 + kGap;
                c.Write(QRectF(kMarginX, y, kContentWidth, rulesHeight + 1), Qt::TextWordWrap | Qt::AlignLeft, rules,
                    Text(kRules));
            }};
}

Section PupilSection(const Canvas &canvas, const Worksheet &sheet, const SheetVariant &variant)
{
    Section section;
    const QString variantWord = VariantWord(sheet, variant.Number);
    section.Head = [variantWord](Canvas &c, int page, int pages) {
        const QString where = QStringLiteral("страница %1 из %2").arg(page).arg(pages);
        Head(c, QStringLiteral("Сосудник — листок с задачами"),
            variantWord.isEmpty() ? where : variantWord + QStringLiteral(", ") + where);
    };
    section.Blocks.push_back(PupilIntro(canvas, sheet, variant.Number));
    int index = 0;
    for (const SheetTask &task : variant.Tasks)
        section.Blocks.push_back(PupilTask(canvas, ++index, task, sheet.Rows));
    return section;
}

// Codes joined by "+", broken after a "+" to fit the width; no line breaks
// inside a code, so each can be copied whole.
std::vector<QString> JoinedCodes(
    const Canvas &canvas, const QFont &font, const std::vector<std::string> &codes, double width)
{
    std::vector<QString> lines(1);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const QString piece = Text(codes[i]) + (i + 1 < codes.size() ? QStringLiteral("+") : QString());
        if (!lines.back().isEmpty() && canvas.TextWidth(font, lines.back() + piece) > width)
            lines.emplace_back();
        lines.back() += piece;
    }
    return lines;
}

// The codes of one task number in every variant, as `--check` takes them.
Block CheckCodes(const Canvas &canvas, const Worksheet &sheet, int taskIndex)
{
    const QFont label = Canvas::Font(9.5, true);
    const QFont codeFont = Canvas::Font(9.5);
    std::vector<std::string> codes;
    for (const SheetVariant &variant : sheet.Variants)
        codes.push_back(TaskCode(variant.Tasks[static_cast<std::size_t>(taskIndex)].Task));
    const QString name = QStringLiteral("Задача %1:").arg(taskIndex + 1);
    const double nameWidth = 22;
    const std::vector<QString> lines = JoinedCodes(canvas, codeFont, codes, kContentWidth - nameWidth);
    const double line = canvas.LineHeight(codeFont);
    return {line * static_cast<double>(lines.size()), [=](Canvas &c, QPointF at) {
                const double top = at.y();
                c.Write(QRectF(kMarginX, top, nameWidth, line), Qt::AlignLeft | Qt::AlignTop, label, name);
                for (std::size_t i = 0; i < lines.size(); ++i)
                    c.Write(QRectF(kMarginX + nameWidth, top + line * static_cast<double>(i), kContentWidth - nameWidth,
                                line),
                        Qt::AlignLeft | Qt::AlignTop, codeFont, lines[i]);
            }};
}

std::vector<Block> KeyIntro(const Canvas &canvas, const Worksheet &sheet)
{
    const QFont title = Canvas::Font(16, true);
    const QFont text = Canvas::Font(9.5);
    std::vector<Block> blocks;
    const double titleHeight = canvas.LineHeight(title);
    blocks.push_back({titleHeight,
        [=](Canvas &c, QPointF at) {
            const double top = at.y();
            c.Write(QRectF(kMarginX, top, kContentWidth, titleHeight), Qt::AlignLeft | Qt::AlignTop, title,
                QStringLiteral("Ключ к листку"));
        },
        kGap});
    QString made = QStringLiteral("Листок сделан так: sosudnik --worksheet %1 -o ФАЙЛ.pdf — с теми же параметрами "
                                  "получится тот же листок.")
                       .arg(Text(WorksheetArgumentsText(sheet.Request)));
    if (sheet.Request.Source == SheetSource::Level)
        made += QStringLiteral(" Задачи выбраны по числу %1 (--seed).").arg(sheet.Request.Seed);
    blocks.push_back(Paragraph(canvas, text, made));
    blocks.back().After = kGap;
    blocks.push_back(Paragraph(canvas, text,
        sheet.Variants.size() > 1
            ? QStringLiteral("Записи учеников проверяет «sosudnik --check КОДЫ -- файлы»: у каждой задачи коды всех "
                             "вариантов через «+», по порядку вариантов, и каждый файл проверяется по коду своего "
                             "варианта.")
            : QStringLiteral("Записи учеников проверяет «sosudnik --check КОД -- файлы» с кодом задачи.")));
    blocks.back().After = kGap;
    for (int t = 0; t < static_cast<int>(sheet.Variants.front().Tasks.size()); ++t) {
        blocks.push_back(CheckCodes(canvas, sheet, t));
        blocks.back().After = 1.5;
    }
    blocks.back().After = kBlockGap;
    return blocks;
}

QString AnswerLine(const SheetTask &task)
{
    const QString code = QStringLiteral("Код %1").arg(Text(TaskCode(task.Task)));
    if (!task.Answer.Solved())
        return code + QStringLiteral(". Решения нет: ") + Text(UnsolvableText(task.Answer, task.Task));
    return code + QStringLiteral(". Наименьшее число переливаний: %1.").arg(task.Answer.Pours());
}

TableRows AnswerRows(const Solution &answer, std::size_t from, std::size_t to)
{
    TableRows rows;
    for (std::size_t i = from; i < to; ++i) {
        const SolverStep &step = answer.Steps[i];
        rows.push_back({Number(static_cast<int>(i) + 1), Number(step.Source), Number(step.Receiver),
            Number(step.Levels[0]), Number(step.Levels[1]), Number(step.Levels[2])});
    }
    return rows;
}

// A task's answer in the key, in a column: heading, code and count, one
// shortest solution, and the map when there is one. An answer longer than
// a column goes on in the next.
std::vector<Block> KeyEntry(
    const Canvas &canvas, const Worksheet &sheet, const SheetVariant &variant, int index, const KeyMapPainter &map)
{
    const SheetTask &task = variant.Tasks[static_cast<std::size_t>(index - 1)];
    const QFont heading = Canvas::Font(9.5, true);
    const QFont text = Canvas::Font(8.5);
    const QString variantWord = VariantWord(sheet, variant.Number);
    const QString title
        = (variantWord.isEmpty() ? QString() : variantWord + QStringLiteral(". ")) + TaskHeading(index, task);
    const QString line = AnswerLine(task);
    const double lineHeight = canvas.TextHeight(text, kColumnWidth, line);
    const auto pours = static_cast<std::size_t>(task.Answer.Pours());

    std::vector<Block> blocks;
    std::size_t from = 0;
    do {
        const bool first = from == 0;
        const QString shownTitle = first ? title : title + QStringLiteral(" (продолжение)");
        const double headingHeight = canvas.TextHeight(heading, kColumnWidth, shownTitle);
        const double top = headingHeight + 1 + (first ? lineHeight + 1.5 : 0);
        const double mapHeight = map && first ? kColumnWidth + kGap : 0;
        // As many rows as a column holds under the heading.
        const auto fits = static_cast<std::size_t>(
            std::max(1.0, std::floor((kContentHeight - top - mapHeight) / kKeyTable.Row) - 1));
        const std::size_t to = std::min(pours, from + fits);
        const TableRows rows = AnswerRows(task.Answer, from, to);
        const double tableHeight = rows.empty() ? 0 : static_cast<double>(rows.size() + 1) * kKeyTable.Row;
        Block block;
        block.Narrow = true;
        block.After = to < pours ? 0 : kBlockGap;
        block.Height = top + tableHeight + mapHeight;
        block.Paint = [=, &task](Canvas &c, QPointF at) {
            c.Write(QRectF(at.x(), at.y(), kColumnWidth, headingHeight + 1), Qt::TextWordWrap | Qt::AlignLeft, heading,
                shownTitle);
            if (first)
                c.Write(QRectF(at.x(), at.y() + headingHeight + 1, kColumnWidth, lineHeight + 1),
                    Qt::TextWordWrap | Qt::AlignLeft, text, line);
            if (!rows.empty())
                PaintTable(c, at.x(), at.y() + top, kKeyTable, rows, false, 0);
            if (mapHeight > 0) {
                const QRectF area = c.Rect(at.x(), at.y() + top + tableHeight + kGap, kColumnWidth, kColumnWidth);
                c.Painter().save();
                map(c.Painter(), area, task);
                c.Painter().restore();
            }
        };
        blocks.push_back(std::move(block));
        from = to;
    } while (from < pours);
    return blocks;
}

Section KeySection(const Canvas &canvas, const Worksheet &sheet, const KeyMapPainter &map)
{
    Section section;
    section.Head = [](Canvas &c, int page, int pages) {
        Head(c, QStringLiteral("Сосудник — ключ к листку"), QStringLiteral("страница %1 из %2").arg(page).arg(pages));
    };
    section.Blocks = KeyIntro(canvas, sheet);
    for (const SheetVariant &variant : sheet.Variants) {
        for (int index = 1; index <= static_cast<int>(variant.Tasks.size()); ++index) {
            std::vector<Block> entry = KeyEntry(canvas, sheet, variant, index, map);
            section.Blocks.insert(
                section.Blocks.end(), std::make_move_iterator(entry.begin()), std::make_move_iterator(entry.end()));
        }
    }
    return section;
}

int PageCount(const std::vector<Section> &sections)
{
    int pages = 0;
    for (const Section &section : sections)
        pages += static_cast<int>(section.Pages.size());
    return pages;
}

// Paints the sections one after another; false when asked to stop.
bool PaintSections(Canvas &canvas, const std::vector<Section> &sections, WorksheetProgress *progress)
{
    for (const Section &section : sections) {
        const auto pages = static_cast<int>(section.Pages.size());
        for (int page = 0; page < pages; ++page) {
            if (progress && progress->Stop.load())
                return false;
            canvas.StartPage();
            section.Head(canvas, page + 1, pages);
            for (const auto &[block, at] : section.Pages[static_cast<std::size_t>(page)])
                block->Paint(canvas, at);
            if (progress)
                ++progress->Pages;
        }
    }
    canvas.Finish();
    return true;
}

} // namespace

void PaintKeyMap(QPainter &painter, const QRectF &area, const SheetTask &task)
{
    const PourMap map(task.Task);
    MapScene scene;
    scene.Shortest = true;
    // The answer's table beside it says what the numbers are.
    scene.Legend = false;
    // A pixel of the look as on a screen of 96 dots to the inch.
    scene.Pixel = kDotsPerInch / 96.0;
    scene.Font = Canvas::Font(6.5);
    MapPainter(map).Paint(painter, area, scene);
}

std::optional<WorksheetPdfs> PaintWorksheet(
    const Worksheet &sheet, bool keyApart, WorksheetProgress *progress, const KeyMapPainter &map)
{
    WorksheetPdfs pdfs;
    Canvas sheetCanvas(pdfs.Sheet);
    sheetCanvas.SetTitle(QStringLiteral("Листок с задачами"));
    std::unique_ptr<Canvas> keyCanvas;
    if (keyApart) {
        keyCanvas = std::make_unique<Canvas>(pdfs.Key);
        keyCanvas->SetTitle(QStringLiteral("Ключ к листку"));
    }

    // Laid out only once every section is in place: the pages point at
    // their blocks.
    std::vector<Section> pupils;
    for (const SheetVariant &variant : sheet.Variants)
        pupils.push_back(PupilSection(sheetCanvas, sheet, variant));
    std::vector<Section> key;
    (keyApart ? key : pupils).push_back(KeySection(keyApart ? *keyCanvas : sheetCanvas, sheet, map));
    for (std::vector<Section> *sections : {&pupils, &key}) {
        for (Section &section : *sections)
            LayOut(section);
    }
    if (progress)
        progress->Total = PageCount(pupils) + PageCount(key);

    if (!PaintSections(sheetCanvas, pupils, progress) || (keyApart && !PaintSections(*keyCanvas, key, progress)))
        return std::nullopt;
    pdfs.KeyPages = static_cast<int>(keyApart ? keyCanvas->Pages() : pupils.back().Pages.size());
    pdfs.SheetPages = sheetCanvas.Pages() - (keyApart ? 0 : pdfs.KeyPages);
    return pdfs;
}

std::optional<WorksheetPdfs> WriteWorksheet(
    const Worksheet &sheet, const WorksheetPaths &paths, WorksheetProgress *progress, const KeyMapPainter &map)
{
    std::optional<WorksheetPdfs> pdfs = PaintWorksheet(sheet, !paths.Key.empty(), progress, map);
    if (!pdfs)
        return std::nullopt;
    const auto write = [](const std::string &path, const QByteArray &bytes) {
        const std::string_view piece(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        WriteFileAtomically(path, {&piece, 1}, InPlace::Never);
    };
    write(paths.Sheet, pdfs->Sheet);
    if (!paths.Key.empty())
        write(paths.Key, pdfs->Key);
    return pdfs;
}
