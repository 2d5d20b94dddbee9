// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "worksheet_dialog.h"

#include <QObject>
#include <QPointer>

class GameCommands;
class Puzzle;
class QWidget;

// "Листок с задачами…": one dialog beside the game, kept between showings
// (and with it a sheet being made), offering the task in play as its codes.
class WorksheetCommand final : public QObject {
    Q_OBJECT

public:
    WorksheetCommand(const Puzzle &puzzle, const GameCommands &commands, QWidget *window);

    void Open();
    // Null until first opened.
    WorksheetDialog *Dialog() const { return m_dialog; }

private:
    const Puzzle &m_puzzle;
    const GameCommands &m_commands;
    QWidget *m_window;
    QPointer<WorksheetDialog> m_dialog;
};
