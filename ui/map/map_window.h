// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "notice.h"
#include "pour_map.h"

#include <QDialog>

#include <memory>
#include <vector>

class GameCommands;
class MapView;
class Puzzle;
class QCheckBox;
class QLabel;
class QPushButton;

// "Карта переливаний": the task's map beside the game, following every pour,
// undo, redo, restart and new task at once. Outside a lesson it also offers
// the shortest solution and the distances from the start, which count as
// help as "Решение" and "Подсказка" do. It takes the game's scale from the
// main window, whose font it inherits.
class MapWindow final : public QDialog {
    Q_OBJECT

public:
    MapWindow(Puzzle &puzzle, GameCommands &commands, QWidget *parent);

    // Reads the game again: its task, the log, the mode and the lesson. The
    // puzzle's notices call it while the window is shown.
    void Refresh();

    MapView *View() const { return m_view; }
    // The map in words, as under the map and for a screen reader.
    QString Description() const;

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The offers of answers, worded outside a lesson, blank and hidden in one.
    void OfferAnswers();
    // "Показать кратчайшее решение" and "Расстояния от начала".
    void ToggleShortest();
    void ToggleDistances();
    // The designed size at the game's scale, no larger than the screen.
    void FollowScale();
    // The log's rows as levels, read again from the last one that still
    // agrees: a pour, an undo or a restart changes the log at its end only.
    void ReadLog();

    Puzzle &m_puzzle;
    GameCommands &m_commands;
    MapView *m_view = nullptr;
    QLabel *m_words = nullptr;
    QPushButton *m_shortestButton = nullptr;
    QCheckBox *m_distancesBox = nullptr;
    QLabel *m_helpNote = nullptr;
    std::shared_ptr<const PourMap> m_map;
    std::vector<std::optional<MapLevels>> m_rows;
    bool m_shortest = false;
    bool m_distances = false;
    qreal m_scale = 0;
    // The puzzle outlives the window: these leave with it.
    std::vector<Subscription> m_notices;
};
