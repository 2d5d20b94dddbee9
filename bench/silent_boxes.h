// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "message_boxes.h"

#include <string>

// Boxes nobody sees: what is timed is the game, not the boxes.
class SilentBoxes : public MessageBoxes {
public:
    void Show(const std::string &, const std::string &, int) override {}
};
