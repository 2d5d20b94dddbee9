// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "scores.h"

#include <QDialog>

#include <string>
#include <vector>

class QPushButton;
class QTableWidget;

// «Рекорды»: every task the player has won, from the book, random or typed
// in: its title if the book has one, the code, the best pours, the fewest,
// the stars and the date. A click on a heading sorts by that column;
// «Сыграть», Enter or a double click start the selected task.
class ScoresWindow final : public QDialog {
    Q_OBJECT

public:
    // In a lesson neither the fewest pours nor the stars are shown.
    ScoresWindow(const std::vector<Score> &scores, bool lesson, QWidget *parent = nullptr);

    // The code of the selected task; empty when none is.
    std::string Chosen() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Fill(const std::vector<Score> &scores);
    void SizeToTable();

    QTableWidget *m_table = nullptr;
    QPushButton *m_play = nullptr;
};
