// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <deque>
#include <string>

// One logged state: the row's caption (its index when added, editable by the
// player) and the levels of vessels 1..3 as text.
struct MoveRow {
    std::string Caption;
    std::array<std::string, 3> SubItems;
};

// The move log. It is the only copy of the rows: the window's list shows it
// through an Observer, and the result writer reads it.
class MoveLog {
public:
    // Told around every change, so a view can keep its rows in step.
    class Observer {
    public:
        virtual ~Observer() = default;
        virtual void BeforeAppend(int row) = 0;
        virtual void AfterAppend() = 0;
        virtual void BeforeRemove(int first, int last) = 0;
        virtual void AfterRemove() = 0;
        virtual void CaptionChanged(int row) = 0;
    };

    static constexpr int kColumnCount = 4;

    int ColumnCount() const { return kColumnCount; }
    // 0 <= column < ColumnCount()
    const std::string &ColumnCaption(int column) const;

    int RowCount() const { return static_cast<int>(m_rows.size()); }
    // 0 <= row < RowCount()
    const MoveRow &Row(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    // Column 0 is the caption, columns 1..3 the sub-items.
    const std::string &Cell(int row, int column) const;

    void Append(MoveRow row);
    void RemoveLast();
    // Every row after this one, in one change. 0 <= row < RowCount()
    void RemoveAfter(int row);
    void Clear();
    void SetCaption(int row, std::string caption);

    void SetObserver(Observer *observer) { m_observer = observer; }

private:
    // A deque: appending never moves the rows already logged, so a long game
    // costs no reallocation spikes.
    std::deque<MoveRow> m_rows;
    Observer *m_observer = nullptr;
};
