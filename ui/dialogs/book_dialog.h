// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "form_scale.h"
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

// "Сборник задач": the book by level, each task with its vessels, target,
// fewest pours and the player's best; the statement of the selected one.
// "Начать", Enter or a double click accept it. Without answers (a lesson)
// the tasks stand in one list without levels, and say only whether they
// are solved.
class BookDialog final : public QDialog {
    Q_OBJECT

public:
    using BestOf = std::function<std::optional<Score>(const std::string &code)>;

    explicit BookDialog(QWidget *parent = nullptr);

    // The player's best of each task, shown again before each showing.
    void ShowScores(const BestOf &best);

    // Asked of the answer rule before each showing; then ShowScores.
    void ShowAnswers(bool answers);

    // Index in the book of the selected task; -1 when a level is selected.
    int Chosen() const;
    // 0 <= index < the book's size
    void Select(int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void BuildList();
    void AddTasks();
    void BuildDetails();
    QDialogButtonBox *BuildButtons();
    void ShowStatement();
    // Sized to its text; again whenever a showing finds the game's scale changed.
    void FitToText();

    QTreeWidget *m_list = nullptr;
    QLabel *m_statement = nullptr;
    QLabel *m_score = nullptr;
    QPushButton *m_start = nullptr;
    std::vector<QTreeWidgetItem *> m_items; // by index in the book
    BestOf m_best;
    bool m_answers = true;
    ScaledWidgets m_scaled;
};
