// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "solution_dialog.h"

#include "advice.h"
#include "appearance.h"
#include "form_scale.h"
#include "game_palette.h"
#include "placement.h"
#include "table_text.h"
#include "solver.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kColumnCount = 6;

QLabel *MakeLine(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    return label;
}

} // namespace

SolutionDialog::SolutionDialog(const Solution &solution, const QString &playerLine, QWidget *parent,
                               const QString &bestLine)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("SolutionDialog"));
    setWindowTitle(QString::fromUtf8(kCaptionSolution));
    setWindowIcon(AppIcon());
    setFont(UiFont(8));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(MakeLine("SolutionLength", QString::fromStdString(SolutionLengthText(solution.Pours())), this));

    m_table = new QTableWidget(solution.Pours(), kColumnCount, this);
    m_table->setObjectName(QStringLiteral("SolutionTable"));
    SetUpReadOnlyTable(*m_table, {"№", "Из", "В", "V1", "V2", "V3"});
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    for (int row = 0; row < solution.Pours(); ++row) {
        const SolverStep &step = solution.Steps[static_cast<std::size_t>(row)];
        const int cells[] = {row + 1, step.Source, step.Receiver, step.Levels[0], step.Levels[1], step.Levels[2]};
        for (int column = 0; column < static_cast<int>(std::size(cells)); ++column) {
            auto *item = new QTableWidgetItem(QString::number(cells[column]));
            item->setTextAlignment(Qt::AlignCenter);
            m_table->setItem(row, column, item);
        }
    }
    layout->addWidget(m_table, 1);

    if (!playerLine.isEmpty())
        layout->addWidget(MakeLine("PlayerCount", playerLine, this));
    if (!bestLine.isEmpty())
        layout->addWidget(MakeLine("BestLine", bestLine, this));

    // The table needs no current cell to be read: the focus is on "Закрыть".
    layout->addWidget(CopyAndCloseButtons(this, *m_table));

    resize(340, 420);
    FollowFormScale(this, QSize(340, 420));
    // A window of its own inherits neither the main window's colours nor
    // its care to stay on screen.
    UseGamePalette(this);
    KeepOnScreen(this);
}

QString SolutionDialog::TableText() const
{
    return TableAsText(*m_table);
}
