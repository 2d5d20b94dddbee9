// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Plays the puzzle as the input bytes say, keeping to the program's modes:
// fields are edited only while the log is empty, "begin" logs the start row,
// pours and undos come only after it, task loads and resets come at any time.
// Every step is checked; a broken rule prints the steps so far and aborts.
#include "memory_fields.h"
#include "message_boxes.h"
#include "parse.h"
#include "puzzle.h"
#include "task_presets.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Levels = std::array<int, 3>;

class Boxes : public MessageBoxes {
public:
    void Show(const std::string &text, const std::string &caption, int icon) override
    {
        Texts.push_back(text);
        Icons.push_back(icon);
        (void)caption;
    }
    std::vector<std::string> Texts;
    std::vector<int> Icons;
};

// Reads the input front to back; past its end every byte is 0.
class Reader {
public:
    Reader(const std::uint8_t *data, std::size_t size)
        : m_data(data)
        , m_left(size)
    {
    }
    bool Done() const { return m_left == 0; }
    std::uint8_t Byte()
    {
        if (m_left == 0)
            return 0;
        --m_left;
        return *m_data++;
    }
    std::string Bytes(std::size_t count)
    {
        std::string s;
        while (count-- > 0 && m_left > 0)
            s += static_cast<char>(Byte());
        return s;
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_left;
};

// Texts the player might well type, good and bad.
constexpr const char *kTexts[] = {
    "",    "0",   "00",  "007", "12",   "999", "1000", "-0", "-1", "+3",   " 5",  "5 ",  "$1F",  "$3E7",  "x3",  "X0c",
    "0x7", "0X8", "$",   "x",   "0x",   "+",   "-",    " ", "\t4", "1.5", "abc", "٣",   "2147483647", "2147483648",
    "4294967303", "-2147483648", "$FFFFFFFF", "99999999999999999999",
};

class Game {
public:
    Game()
        : m_notANumberBox(std::string(kMsgNotANumber) + ".")
        , m_aboveCapacityBox(std::string(kMsgLevelAboveCapacity) + ".")
    {
    }

    void Run(Reader &in)
    {
        while (!in.Done())
            Step(in);
    }

private:
    static std::optional<int> Accepted(const std::string &text)
    {
        try {
            return ParseFieldValue(text);
        } catch (const ERangeError &) {
            return std::nullopt;
        }
    }

    [[noreturn]] void Fail(const std::string &what)
    {
        std::fprintf(stderr, "broken rule: %s\nsteps:\n", what.c_str());
        for (const auto &step : m_steps)
            std::fprintf(stderr, "  %s\n", step.c_str());
        const VesselState &s = puzzle.State();
        std::fprintf(stderr, "stored: target %d, capacities %d %d %d, levels %d %d %d, goal %d, rows %d\n",
                     s.Target(), s.Capacity(1), s.Capacity(2), s.Capacity(3), s.Level(1), s.Level(2), s.Level(3),
                     s.GoalReached ? 1 : 0, puzzle.Log().RowCount());
        for (TextCell *cell : Cells())
            std::fprintf(stderr, "  %s text \"%s\"\n", cell->Name().c_str(), cell->Text().c_str());
        std::abort();
    }

    // The message is built only on failure: checks run after every step.
    void Expect(bool ok, const char *what, int number = -1)
    {
        if (!ok)
            Fail(number < 0 ? std::string(what) : what + std::string(" ") + std::to_string(number));
    }

    std::array<TextCell *, 7> Cells()
    {
        return {&fields.Capacity(1), &fields.Capacity(2), &fields.Capacity(3), &fields.Level(1),
                &fields.Level(2),    &fields.Level(3),    &fields.Target()};
    }

    Levels Stored() const
    {
        const VesselState &s = puzzle.State();
        return {s.Level(1), s.Level(2), s.Level(3)};
    }

    void CheckLastRowIsStored()
    {
        const MoveLog &log = puzzle.Log();
        Expect(log.RowCount() > 0, "the log keeps its start row");
        const int last = log.RowCount() - 1;
        Expect(log.Cell(last, 0) == std::to_string(last), "a row's caption is its index");
        for (int n = 1; n <= 3; ++n)
            Expect(log.Cell(last, n) == std::to_string(puzzle.State().Level(n)),
                   "the last row shows the stored level of vessel", n);
    }

    void CheckInvariants()
    {
        const VesselState &s = puzzle.State();
        for (std::size_t i = 0; i < 7; ++i)
            Expect(s.Values[i] >= 0 && s.Values[i] <= 999, "stored value in 0..999, index", static_cast<int>(i));
        for (int n = 1; n <= 3; ++n)
            Expect(s.Level(n) <= s.Capacity(n), "level within capacity, vessel", n);

        // A field whose text would be accepted as it stands shows what is
        // stored (an empty one stands for 0); only a rejected text may differ.
        const std::array<int, 7> stored{s.Capacity(1), s.Capacity(2), s.Capacity(3), s.Level(1),
                                        s.Level(2),    s.Level(3),    s.Target()};
        const auto cells = Cells();
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const std::string text = cells[i]->Text();
            // Parsing again only what changed keeps thrown errors, slow under
            // the sanitizers, out of every step.
            if (text != m_parsedText[i]) {
                m_parsedText[i] = text;
                m_parsed[i] = Accepted(text);
            }
            const std::optional<int> value = m_parsed[i];
            if (!value)
                continue;
            const bool isLevel = i >= 3 && i < 6;
            if (isLevel && *value > s.Capacity(static_cast<int>(i) - 2))
                continue; // rejected as above capacity
            if (*value != stored[i])
                Fail(cells[i]->Name() + " text \"" + text + "\" stands for what is stored");
        }

        for (std::size_t i = 0; i < boxes.Texts.size(); ++i) {
            if (boxes.Icons[i] != kIconError)
                continue;
            const std::string &t = boxes.Texts[i];
            if (t != m_notANumberBox && t != m_aboveCapacityBox)
                Fail("only value errors reach the error box, got \"" + t + "\"");
        }
        boxes.Texts.clear();
        boxes.Icons.clear();
    }

    std::string Text(Reader &in)
    {
        const std::uint8_t kind = in.Byte();
        if (kind < 96)
            return std::to_string(kind % 16);
        if (kind < 160) {
            const int high = in.Byte();
            return std::to_string((high * 256 + in.Byte()) % 1000);
        }
        if (kind < 192)
            return kTexts[in.Byte() % std::size(kTexts)];
        return in.Bytes(kind % 8);
    }

    void Edit(Reader &in)
    {
        const std::size_t which = in.Byte() % 7;
        TextCell &cell = *Cells()[which];
        const std::string text = Text(in);
        m_steps.push_back("edit " + cell.Name() + " \"" + text + "\"");

        const VesselState before = puzzle.State();
        const std::string old = cell.Text();
        cell.SetText(text);
        Expect(cell.Text() == text, "a field keeps what was typed");
        const VesselState &after = puzzle.State();
        if (text == old) {
            Expect(after.Values == before.Values, "an unchanged text changes nothing");
            return;
        }
        const std::optional<int> value = Accepted(text);
        bool rejected = !value;
        if (which < 3) {
            const int n = static_cast<int>(which) + 1;
            if (value) {
                Expect(after.Capacity(n) == *value, "an accepted capacity is stored");
                Expect(fields.Level(n).Text().empty() && after.Level(n) == 0, "a new capacity empties the vessel");
            } else {
                Expect(after.Values == before.Values, "a rejected capacity changes nothing");
            }
        } else if (which < 6) {
            const int n = static_cast<int>(which) - 2;
            rejected = rejected || *value > before.Capacity(n);
            if (!rejected)
                Expect(after.Level(n) == *value, "an accepted level is stored");
            else
                Expect(after.Values == before.Values, "a rejected level changes nothing");
        } else {
            Expect(after.Target() == (value ? *value : before.Target()), "the target is stored when accepted");
        }
        Expect(boxes.Texts.size() == (rejected ? 1u : 0u), "one error box exactly when the text is rejected");
    }

    void Begin()
    {
        m_steps.push_back("begin");
        puzzle.AppendMoveRow();
        Expect(puzzle.Log().RowCount() == 1, "begin logs one start row");
        CheckLastRowIsStored();
    }

    void Pour(std::uint8_t b)
    {
        const int s = 1 + b % 3;
        const int r = 1 + (s + (b / 3) % 2) % 3;
        m_steps.push_back("pour " + std::to_string(s) + ">" + std::to_string(r));

        const Levels before = Stored();
        const int rows = puzzle.Log().RowCount();
        const bool goalBefore = puzzle.State().GoalReached;
        puzzle.Pour(s, r);
        const Levels after = Stored();
        const auto si = static_cast<std::size_t>(s - 1);
        const auto ri = static_cast<std::size_t>(r - 1);
        const auto ti = static_cast<std::size_t>(6 - s - r - 1);

        Expect(before[0] + before[1] + before[2] == after[0] + after[1] + after[2], "a pour keeps the sum of levels");
        Expect(after[ti] == before[ti], "a pour leaves the third vessel alone");
        Expect(after[si] <= before[si], "a pour takes from the source only");
        Expect(after[si] == 0 || after[ri] == puzzle.State().Capacity(r), "a pour moves as much as it can");
        Expect(puzzle.Log().RowCount() == rows + (before == after ? 0 : 1), "a row for a pour that moved something");
        if (before == after)
            Expect(boxes.Icons.size() == 1 && boxes.Icons[0] == kIconWarning, "nothing to pour is told");
        Expect(!goalBefore || puzzle.State().GoalReached, "the goal stays reached until a new game");
        if (!goalBefore && before != after) {
            const int target = puzzle.State().Target();
            const bool hit = after[si] == target || after[ri] == target;
            Expect(puzzle.State().GoalReached == hit, "the goal is reached when a poured vessel holds the target");
        }
        CheckLastRowIsStored();
    }

    void Undo()
    {
        m_steps.push_back("undo");
        const int rows = puzzle.Log().RowCount();
        const Levels before = Stored();
        puzzle.BtnUndoClick();
        if (rows > 1) {
            Expect(puzzle.Log().RowCount() == rows - 1, "undo removes the last row");
        } else {
            Expect(puzzle.Log().RowCount() == rows, "the start row stays");
            Expect(Stored() == before, "undo at the start changes nothing");
        }
        Expect(boxes.Texts.empty(), "undo shows nothing");
        CheckLastRowIsStored();
    }

    void Task(std::uint8_t b)
    {
        const std::size_t page = b % TaskPresets.size();
        m_steps.push_back("task " + std::to_string(page));
        puzzle.LoadTask(TaskPresets[page]);
        puzzle.AppendMoveRow();
        const TaskPreset &task = TaskPresets[page];
        const VesselState &s = puzzle.State();
        for (int n = 1; n <= 3; ++n) {
            const auto i = static_cast<std::size_t>(n - 1);
            Expect(s.Capacity(n) == task.Capacity[i] && s.Level(n) == task.Level[i], "a task fills every vessel");
            Expect(fields.Capacity(n).Text() == std::to_string(task.Capacity[i]) &&
                       fields.Level(n).Text() == std::to_string(task.Level[i]),
                   "a task shows its values");
        }
        Expect(s.Target() == task.Target && fields.Target().Text() == std::to_string(task.Target),
               "a task sets its target");
        Expect(!s.GoalReached, "a task starts a new game");
        Expect(puzzle.Log().RowCount() == 1, "a task starts a fresh log");
        Expect(boxes.Texts.empty(), "a task loads without a message");
        CheckLastRowIsStored();
    }

    void Reset()
    {
        m_steps.push_back("reset");
        puzzle.ResetAll();
        for (TextCell *cell : Cells())
            if (!cell->Text().empty())
                Fail("reset empties " + cell->Name());
        for (std::size_t i = 0; i < 7; ++i)
            Expect(puzzle.State().Values[i] == 0, "reset stores 0 everywhere");
        Expect(!puzzle.State().GoalReached, "reset clears the goal");
        Expect(puzzle.Log().RowCount() == 0, "reset empties the log");
        Expect(boxes.Texts.empty(), "reset shows nothing");
    }

    void Step(Reader &in)
    {
        const bool playing = puzzle.Log().RowCount() > 0;
        const int op = in.Byte() % 16;
        if (op == 0)
            Reset();
        else if (op == 1)
            Task(in.Byte());
        else if (!playing && op < 13)
            Edit(in);
        else if (!playing)
            Begin();
        else if (op < 12)
            Pour(in.Byte());
        else
            Undo();
        CheckInvariants();
    }

    Boxes boxes;
    Puzzle puzzle{boxes};
    MemoryFields fields{puzzle};
    const std::string m_notANumberBox;
    const std::string m_aboveCapacityBox;
    std::vector<std::string> m_steps;
    std::array<std::string, 7> m_parsedText{};
    std::array<std::optional<int>, 7> m_parsed{0, 0, 0, 0, 0, 0, 0};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Reader in(data, size);
    Game game;
    game.Run(in);
    return 0;
}
