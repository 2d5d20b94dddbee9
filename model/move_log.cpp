// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "move_log.h"

namespace {
const std::array<std::string, MoveLog::kColumnCount> kCaptions{"Ход", "V1", "V2", "V3"};
}

const std::string &MoveLog::ColumnCaption(int column) const
{
    return kCaptions[static_cast<std::size_t>(column)];
}

const std::string &MoveLog::Cell(int row, int column) const
{
    const MoveRow &r = Row(row);
    return column == 0 ? r.Caption : r.SubItems[static_cast<std::size_t>(column - 1)];
}

void MoveLog::Append(MoveRow row)
{
    const int index = RowCount();
    if (m_observer)
        m_observer->BeforeAppend(index);
    m_rows.push_back(std::move(row));
    if (m_observer)
        m_observer->AfterAppend();
}

void MoveLog::RemoveLast()
{
    if (m_rows.empty())
        return;
    const int last = RowCount() - 1;
    if (m_observer)
        m_observer->BeforeRemove(last, last);
    m_rows.pop_back();
    if (m_observer)
        m_observer->AfterRemove();
}

void MoveLog::RemoveAfter(int row)
{
    const int last = RowCount() - 1;
    if (row >= last)
        return;
    if (m_observer)
        m_observer->BeforeRemove(row + 1, last);
    m_rows.erase(m_rows.begin() + row + 1, m_rows.end());
    if (m_observer)
        m_observer->AfterRemove();
}

void MoveLog::Clear()
{
    if (m_rows.empty())
        return;
    if (m_observer)
        m_observer->BeforeRemove(0, RowCount() - 1);
    m_rows.clear();
    m_rows.shrink_to_fit();
    if (m_observer)
        m_observer->AfterRemove();
}

void MoveLog::SetCaption(int row, std::string caption)
{
    m_rows[static_cast<std::size_t>(row)].Caption = std::move(caption);
    if (m_observer)
        m_observer->CaptionChanged(row);
}
