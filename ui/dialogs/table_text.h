// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>

class QDialog;
class QDialogButtonBox;
class QTableWidget;

// A table made to be read row by row: its headings (UTF-8 texts), no row
// numbers, rows as tall as the font, nothing to edit, whole rows selected.
void SetUpReadOnlyTable(QTableWidget &table, std::initializer_list<const char *> headings);
void SetUpReadOnlyTable(QTableWidget &table, const QStringList &headings);

// The table as a spreadsheet pastes it: the header line, then one line a
// row, cells split by tabs, every line ended by a newline.
QString TableAsText(const QTableWidget &table);

// Puts TableAsText on the clipboard.
void CopyTableAsText(const QTableWidget &table);

// The buttons of a window that shows a table: "Копировать" puts the table on
// the clipboard; "Закрыть" has the focus and is the default, so Enter and
// Escape both close the window.
QDialogButtonBox *CopyAndCloseButtons(QDialog *dialog, const QTableWidget &table);
