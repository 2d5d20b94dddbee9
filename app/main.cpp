// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "memory_fields.h"
#include "puzzle.h"

#include <iostream>

namespace {
class ConsoleBoxes : public MessageBoxes {
public:
    void Show(const std::string &text, const std::string &caption, int) override
    {
        std::cout << "[" << caption << "] " << text << '\n';
    }
};
} // namespace

int main()
{
    ConsoleBoxes boxes;
    Puzzle puzzle(boxes);
    MemoryFields fields(puzzle);
    puzzle.LoadTask(TaskPresets[0]);
    puzzle.AppendMoveRow();
    puzzle.Pour(1, 2);
    for (int r = 0; r < puzzle.Log().RowCount(); ++r)
        std::cout << puzzle.Log().Cell(r, 0) << ": " << puzzle.Log().Cell(r, 1) << ' ' << puzzle.Log().Cell(r, 2)
                  << ' ' << puzzle.Log().Cell(r, 3) << '\n';
}
