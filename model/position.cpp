// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "position.h"

#include "move_log.h"
#include "parse.h"
#include "vessel_state.h"

TaskPreset CurrentPosition(const VesselState &state)
{
    TaskPreset task{};
    for (int n = 1; n <= kVesselCount; ++n) {
        task.Capacity[static_cast<std::size_t>(n - 1)] = state.Capacity(n);
        task.Level[static_cast<std::size_t>(n - 1)] = state.Level(n);
    }
    task.Target = state.Target();
    return task;
}

TaskPreset LoggedPosition(const VesselState &state, const MoveLog &log, int row)
{
    TaskPreset task = CurrentPosition(state);
    for (std::size_t n = 0; n < 3; ++n)
        task.Level[n] = ParseFieldValue(log.Row(row).SubItems[n]);
    return task;
}
