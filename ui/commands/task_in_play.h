// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "task_presets.h"

class GameCommands;
class Puzzle;

// The task the player is on: in play, the position the game started from
// (its start row); otherwise the values typed in. What the solver checks,
// the teacher's check grades against and a task code names.
TaskPreset TaskInPlay(const Puzzle &puzzle, const GameCommands &commands);
