// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

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

private:
    QTextBrowser *m_text = nullptr;
};
