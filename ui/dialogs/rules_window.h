// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "form_scale.h"

#include <QDialog>

class QTextBrowser;

// "Как играть": the rules, pouring by mouse and by keyboard, the menu and
// the command line, as a text a screen reader reads like any other. It
// stays open beside the game.
class RulesWindow final : public QDialog {
    Q_OBJECT

public:
    explicit RulesWindow(QWidget *parent = nullptr);

    // The text, as HTML; where the records are kept is named in it.
    static QString Text();

    // Sized for the game's scale before it shows, so that the placement
    // fits that size to the screen.
    void setVisible(bool visible) override;

private:
    // Sized to its text; again whenever a showing finds the game's scale changed.
    void FitToText();

    QTextBrowser *m_text = nullptr;
    ScaledWidgets m_scaled;
};
