// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "puzzle.h"
#include "text_cell.h"

#include <array>
#include <memory>
#include <string>

// A cell with no widget behind it: the text is a string.
class MemoryCell final : public TextCell {
public:
    using TextCell::TextCell;
    std::string Text() const override { return m_text; }
    void SetText(const std::string &text) override
    {
        if (text == m_text)
            return;
        m_text = text;
        NotifyChanged();
    }

private:
    std::string m_text;
};

// The seven value fields with no window: for tests, benchmarks and fuzzing.
class MemoryFields {
public:
    explicit MemoryFields(Puzzle &puzzle)
    {
        for (int n = 1; n <= kVesselCount; ++n) {
            m_cells[Index(0, n)] = std::make_unique<MemoryCell>("EditV" + std::to_string(n), n);
            m_cells[Index(1, n)] = std::make_unique<MemoryCell>("EditVW" + std::to_string(n), n);
        }
        m_cells[6] = std::make_unique<MemoryCell>("EdRes", 0);
        for (auto &cell : m_cells)
            puzzle.AttachCell(*cell);
    }

    MemoryCell &Capacity(int n) { return *m_cells[Index(0, n)]; }
    MemoryCell &Level(int n) { return *m_cells[Index(1, n)]; }
    MemoryCell &Target() { return *m_cells[6]; }

private:
    static std::size_t Index(int kind, int n) { return static_cast<std::size_t>(kind * 3 + n - 1); }
    std::array<std::unique_ptr<MemoryCell>, 7> m_cells;
};
