// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>

class GameCommands;
class MapWindow;
class Puzzle;
class QWidget;
struct MainMenuHandlers;

// "Карта переливаний": one map window, made on first use, beside the game.
class MapCommands final : public QObject {
    Q_OBJECT

public:
    MapCommands(Puzzle &puzzle, GameCommands &commands, QWidget *window);

    // Fills in the menu's handler; it runs through the puzzle's dispatch guard.
    void AddHandlers(MainMenuHandlers &handlers);

    // Shows the map, and brings it to the front if it is open.
    void OpenMap();
    // Made on first use; null until then.
    MapWindow *Window() const;

private:
    Puzzle &m_puzzle;
    GameCommands &m_commands;
    QWidget *m_window;
    QPointer<MapWindow> m_map;
};
