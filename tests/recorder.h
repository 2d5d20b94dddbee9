// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "message_boxes.h"
#include "puzzle.h"

#include <array>
#include <string>
#include <vector>

// Records every message box with the state as it stood when the box was shown.
class Recorder : public MessageBoxes {
public:
    struct Box {
        std::string Text;
        std::string Caption;
        int Icon = 0;
        int Rows = 0;
        std::array<int, 3> Levels{};
        bool GoalReached = false;
    };

    void Watch(const Puzzle &puzzle) { m_puzzle = &puzzle; }

    void Show(const std::string &text, const std::string &caption, int icon) override
    {
        Box box{text, caption, icon, 0, {}, false};
        if (m_puzzle) {
            box.Rows = m_puzzle->Log().RowCount();
            for (int n = 1; n <= 3; ++n)
                box.Levels[static_cast<std::size_t>(n - 1)] = m_puzzle->State().Level(n);
            box.GoalReached = m_puzzle->State().GoalReached;
        }
        Boxes.push_back(box);
    }

    std::vector<Box> Boxes;

private:
    const Puzzle *m_puzzle = nullptr;
};
