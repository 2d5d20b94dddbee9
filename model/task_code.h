// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "task_presets.h"

#include <string>
#include <string_view>
#include <vector>

// A task written as C1,C2,C3/L1,L2,L3/T: the three capacities, the three
// levels and the target, in decimal.

// The code of a task, as the player types and shares it: "12,7,5/12,0,0/6".
std::string TaskCode(const TaskPreset &task);

// Reads a code (values 0..999, leading zeros allowed, each level within its
// capacity). Throws std::invalid_argument with the reason in Russian, a
// sentence that quotes the code as typed.
TaskPreset ParseTaskCode(std::string_view code);

// Several codes joined by "+", as a class with variants is checked:
// "12,7,5/12,0,0/6+8,5,3/8,0,0/4". Each is read as ParseTaskCode reads it;
// a code given twice counts once. Throws std::invalid_argument naming the
// code that is wrong, and which of the list it is.
std::vector<TaskPreset> ParseTaskCodes(std::string_view codes);
