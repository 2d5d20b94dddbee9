// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "task_in_play.h"

#include "game_commands.h"
#include "position.h"
#include "puzzle.h"

TaskPreset TaskInPlay(const Puzzle &puzzle, const GameCommands &commands)
{
    const VesselState &state = puzzle.State();
    const MoveLog &log = puzzle.Log();
    if (commands.Mode() == GameMode::Play && log.RowCount() > 0)
        return LoggedPosition(state, log, 0);
    return CurrentPosition(state);
}
