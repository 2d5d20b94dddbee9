// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "form_scale.h"

#include <QDialog>

#include <optional>

class AnswerRule;
class QTextBrowser;

// "Как играть": the rules, pouring by mouse and by keyboard, the menu and
// the command line, as a text a screen reader reads like any other. It
// stays open beside the game. Without answers (a lesson) it leaves out the
// levels' bands, the stars and the command line.
class RulesWindow final : public QDialog {
    Q_OBJECT

public:
    explicit RulesWindow(const AnswerRule &answers, QWidget *parent = nullptr);

    // The text, as HTML; with answers, where the records are kept is named in it.
    static QString Text(bool answers);

    // Sized for the game's scale before it shows, so that the placement
    // fits that size to the screen.
    void setVisible(bool visible) override;

private:
    // Sized to its text; again whenever a showing finds the game's scale changed.
    void FitToText();
    void ShowText();

    const AnswerRule &m_answers;
    QTextBrowser *m_text = nullptr;
    std::optional<bool> m_shownWith;
    ScaledWidgets m_scaled;
};
