// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

struct Solution;
class QTableWidget;

// "Решение": a shortest sequence of pours as a table, its length, the
// player's own count once the goal has been reached, and a button that
// copies the table as text.
class SolutionDialog final : public QDialog {
    Q_OBJECT

public:
    // playerLine: empty unless the goal was reached in this game; bestLine:
    // the player's best in this task, empty when none is known.
    SolutionDialog(const Solution &solution, const QString &playerLine, QWidget *parent = nullptr,
                   const QString &bestLine = {});

    // The table as copied: a heading line, then one line a pour, cells
    // separated by tabs.
    QString TableText() const;

private:
    QTableWidget *m_table = nullptr;
};
