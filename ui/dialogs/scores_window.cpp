// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "scores_window.h"

#include "appearance.h"
#include "enter_key.h"
#include "form_scale.h"
#include "game_palette.h"
#include "placement.h"
#include "progress.h"
#include "solver.h"
#include "task_book.h"
#include "table_text.h"
#include "task_code.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { ColTitle, ColCode, ColBest, ColFewest, ColStars, ColDate, ColumnCount };

constexpr int kCodeRole = Qt::UserRole;

// A cell that shows a number and sorts as one.
QTableWidgetItem *Number(int value)
{
    auto *item = new QTableWidgetItem;
    item->setData(Qt::DisplayRole, value);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

QString FromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

ScoresWindow::ScoresWindow(const std::vector<Score> &scores, bool lesson, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("ScoresWindow"));
    setWindowTitle(QString::fromUtf8("Рекорды"));
    setWindowIcon(AppIcon());
    setFont(UiFont(8));
    // Before the table is filled: its rows and columns are measured in this font.
    FollowFormScale(this);

    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setObjectName(QStringLiteral("ScoresTable"));
    m_table->setAccessibleName(QString::fromUtf8("Рекорды"));
    SetUpReadOnlyTable(*m_table, {"Задача", "Код", "Лучший", "Минимум", "Звезды", "Дата"});
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setWordWrap(false);
    Fill(scores);
    m_table->setColumnHidden(ColFewest, lesson);
    m_table->setColumnHidden(ColStars, lesson);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this] { accept(); });

    auto *buttons = new QDialogButtonBox(this);
    m_play = buttons->addButton(QString::fromUtf8("Сыграть"), QDialogButtonBox::AcceptRole);
    m_play->setObjectName(QStringLiteral("BtnPlay"));
    m_play->setDefault(true);
    m_play->setEnabled(!scores.empty());
    QPushButton *close = buttons->addButton(QString::fromUtf8("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("BtnClose"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!Chosen().empty())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    if (scores.empty()) {
        auto *none = new QLabel(QString::fromUtf8("Побед пока нет: решите задачу, и она появится здесь."), this);
        none->setObjectName(QStringLiteral("NoScores"));
        none->setWordWrap(true);
        layout->addWidget(none);
    }
    layout->addWidget(m_table, 1);
    layout->addWidget(buttons);

    SizeToTable();
    UseGamePalette(this);
    KeepOnScreen(this);
    m_table->setFocus();
}

void ScoresWindow::Fill(const std::vector<Score> &scores)
{
    m_table->setRowCount(static_cast<int>(scores.size()));
    for (int row = 0; row < static_cast<int>(scores.size()); ++row) {
        const Score &score = scores[static_cast<std::size_t>(row)];
        const int book = BookIndexOf(score.Code);
        auto *title = new QTableWidgetItem(book >= 0 ? QString::fromUtf8(TaskBook()[static_cast<std::size_t>(book)].Title)
                                                     : QString());
        title->setData(kCodeRole, FromUtf8(score.Code));
        m_table->setItem(row, ColTitle, title);
        m_table->setItem(row, ColCode, new QTableWidgetItem(FromUtf8(score.Code)));
        m_table->setItem(row, ColBest, Number(score.Pours));
        const int fewest = Solve(ParseTaskCode(score.Code)).Pours();
        m_table->setItem(row, ColFewest, Number(fewest));
        const int stars = Stars(score, fewest);
        auto *starCell = new QTableWidgetItem(score.Help.Any() ? QString::fromUtf8("с помощью")
                                                               : FromUtf8(StarGlyphs(stars)));
        starCell->setData(Qt::AccessibleTextRole,
                          score.Help.Any() ? QString::fromUtf8("без звезд, с помощью") : FromUtf8(StarWords(stars)));
        starCell->setTextAlignment(Qt::AlignCenter);
        m_table->setItem(row, ColStars, starCell);
        m_table->setItem(row, ColDate, new QTableWidgetItem(FromUtf8(score.Date)));
    }
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(ColDate, Qt::DescendingOrder);
    if (m_table->rowCount() > 0)
        m_table->selectRow(0);
    m_table->resizeColumnsToContents();
    // Room for the sort mark and a little air.
    const int air = m_table->fontMetrics().averageCharWidth() * 3;
    for (int column = 0; column < ColumnCount; ++column)
        m_table->setColumnWidth(column, m_table->columnWidth(column) + air);
    m_table->horizontalHeader()->setStretchLastSection(true);
}

// As wide as its columns and as high as its rows, between five and twenty
// of them; the screen's own limit is the placement's.
void ScoresWindow::SizeToTable()
{
    const int frame = m_table->frameWidth() * 2;
    const QMargins margins = layout()->contentsMargins();
    int width = frame + margins.left() + margins.right() + fontMetrics().averageCharWidth() * 4;
    for (int column = 0; column < ColumnCount; ++column) {
        if (!m_table->isColumnHidden(column))
            width += m_table->columnWidth(column);
    }
    const int rows = std::clamp(m_table->rowCount(), 5, 20);
    const int tableHeight = frame + m_table->horizontalHeader()->sizeHint().height()
        + rows * m_table->verticalHeader()->defaultSectionSize();
    resize(std::max(width, fontMetrics().averageCharWidth() * 60),
           sizeHint().height() - m_table->sizeHint().height() + tableHeight);
}

std::string ScoresWindow::Chosen() const
{
    const int row = m_table->currentRow();
    if (row < 0)
        return {};
    return m_table->item(row, ColTitle)->data(kCodeRole).toString().toStdString();
}

void ScoresWindow::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the focused button; elsewhere (the table, say) «Сыграть».
    if (QPushButton *button = ButtonForEnter(this, event)) {
        button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
