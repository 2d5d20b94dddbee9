// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "message_boxes.h"

// Message boxes owned by the application, modal to all of it.
class QtMessageBoxes final : public MessageBoxes {
public:
    void Show(const std::string &text, const std::string &caption, int icon) override;
};
