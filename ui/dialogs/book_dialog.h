// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "form_scale.h"
#include "progress.h"
#include "scores.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QDialogButtonBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// "Сборник задач": the book by level, each level with the player's share of
// it, each task with its vessels, target, fewest pours and the player's
// best; the statement of the selected one. "Начать", Enter or a double click
// accept it; «Следующая нерешенная» selects the next task not yet won.
// Without answers (a lesson) the tasks stand in one list without levels,
// and say only whether they are solved.
class BookDialog final : public QDialog {
    Q_OBJECT

public:
    using BestOf = ::BestOf;

    explicit BookDialog(QWidget *parent = nullptr);

    // The player's best of each task, shown again before each showing.
    void ShowScores(const BestOf &best);

    // Asked of the answer rule before each showing; then ShowScores.
    void ShowAnswers(bool answers);
    // «Следующая нерешенная»: the next task after the selected one without a
    // win; stays where it is when every task has one.
    void SelectNextUnsolved();

    // Index in the book of the selected task; -1 when a level is selected.
    int Chosen() const;
    // 0 <= index < the book's size
    void Select(int index);

    // Sized for the game's scale before it shows, so that the placement
    // fits that size to the screen.
    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void BuildList();
    void AddTasks();
    void BuildDetails();
    QDialogButtonBox *BuildButtons();
    void ShowStatement();
    void ShowProgress();
    // Sized to its text; again whenever a showing finds the game's scale changed.
    void FitToText();

    QTreeWidget *m_list = nullptr;
    QLabel *m_statement = nullptr;
    QLabel *m_score = nullptr;
    QPushButton *m_start = nullptr;
    std::vector<QTreeWidgetItem *> m_items; // by index in the book
    std::vector<QTreeWidgetItem *> m_levels; // by level, from 1
    BestOf m_best;
    bool m_answers = true;
    ScaledWidgets m_scaled;
};
