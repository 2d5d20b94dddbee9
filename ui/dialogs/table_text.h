// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;
class QTableWidget;

// The table as a spreadsheet pastes it: the header line, then one line a
// row, cells split by tabs, every line ended by a newline.
QString TableAsText(const QTableWidget &table);

// Puts TableAsText on the clipboard.
void CopyTableAsText(const QTableWidget &table);

// The buttons of a window that shows a table: "Копировать" puts the table on
// the clipboard; "Закрыть" has the focus and is the default, so Enter and
// Escape both close the window.
QDialogButtonBox *CopyAndCloseButtons(QDialog *dialog, const QTableWidget &table);
