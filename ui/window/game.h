// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "puzzle.h"
#include "result_writer.h"

class MessageBoxes;

// What the main window plays: the puzzle with its log, and the result
// document that every save adds to. Made before the window and gone after
// it, so no widget ever outlives what it shows.
class Game {
public:
    explicit Game(MessageBoxes &boxes)
        : m_boxes(boxes)
        , m_puzzle(boxes)
    {
    }
    Game(const Game &) = delete;
    Game &operator=(const Game &) = delete;

    MessageBoxes &Boxes() const { return m_boxes; }
    ::Puzzle &Puzzle() { return m_puzzle; }
    const ::Puzzle &Puzzle() const { return m_puzzle; }
    ResultWriter &Xmldoc() { return m_xmldoc; }

private:
    MessageBoxes &m_boxes;
    ::Puzzle m_puzzle;
    ResultWriter m_xmldoc;
};
