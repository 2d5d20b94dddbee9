// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "table_text.h"

#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QStringList>
#include <QTableWidget>

namespace {

QString CellText(const QTableWidgetItem *item)
{
    return item ? item->text() : QString();
}

} // namespace

void SetUpReadOnlyTable(QTableWidget &table, std::initializer_list<const char *> headings)
{
    QStringList texts;
    for (const char *heading : headings)
        texts << QString::fromUtf8(heading);
    SetUpReadOnlyTable(table, texts);
}

void SetUpReadOnlyTable(QTableWidget &table, const QStringList &headings)
{
    table.setHorizontalHeaderLabels(headings);
    table.verticalHeader()->hide();
    table.verticalHeader()->setDefaultSectionSize(table.fontMetrics().height() + 4);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
}

QString TableAsText(const QTableWidget &table)
{
    QStringList lines;
    QStringList cells;
    for (int column = 0; column < table.columnCount(); ++column)
        cells << CellText(table.horizontalHeaderItem(column));
    lines << cells.join(QLatin1Char('\t'));
    for (int row = 0; row < table.rowCount(); ++row) {
        cells.clear();
        for (int column = 0; column < table.columnCount(); ++column)
            cells << CellText(table.item(row, column));
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void CopyTableAsText(const QTableWidget &table)
{
    QGuiApplication::clipboard()->setText(TableAsText(table));
}

QDialogButtonBox *CopyAndCloseButtons(QDialog *dialog, const QTableWidget &table)
{
    auto *buttons = new QDialogButtonBox(dialog);
    QPushButton *copy = buttons->addButton(QString::fromUtf8("Копировать"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("BtnCopy"));
    QPushButton *close = buttons->addButton(QString::fromUtf8("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("BtnClose"));
    close->setDefault(true);
    close->setFocus();
    QObject::connect(copy, &QPushButton::clicked, dialog, [&table] { CopyTableAsText(table); });
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}
