// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "task_presets.h"

class MoveLog;
struct VesselState;

// The puzzle as it stands now, and as it stood at a row of the log: what the
// solver is asked about.
TaskPreset CurrentPosition(const VesselState &state);
// 0 <= row < log.RowCount()
TaskPreset LoggedPosition(const VesselState &state, const MoveLog &log, int row);
