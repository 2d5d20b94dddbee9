// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "table_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QStringList>
#include <QTableWidget>

namespace {

QString CellText(const QTableWidgetItem *item)
{
    return item ? item->text() : QString();
}

} // namespace

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
