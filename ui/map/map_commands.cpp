// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "map_commands.h"

#include "main_menu.h"
#include "map_window.h"
#include "placement.h"
#include "puzzle.h"

MapCommands::MapCommands(Puzzle &puzzle, GameCommands &commands, QWidget *window)
    : QObject(window)
    , m_puzzle(puzzle)
    , m_commands(commands)
    , m_window(window)
{
}

void MapCommands::AddHandlers(MainMenuHandlers &handlers)
{
    handlers.Map = [this] { m_puzzle.Guard().Run([this] { OpenMap(); }); };
}

void MapCommands::OpenMap()
{
    if (!m_map) {
        m_map = new MapWindow(m_puzzle, m_commands, m_window);
        // Beside the game where the screen has room; KeepOnScreen pulls it
        // back where it has not.
        const QRect game = m_window->frameGeometry();
        m_map->move(game.right() + 1 + FrameMargins(m_map).left(), game.top() + FrameMargins(m_map).top());
    }
    m_map->show();
    m_map->raise();
    m_map->activateWindow();
}

MapWindow *MapCommands::Window() const
{
    return m_map;
}
