// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "puzzle.h"

#include "message_boxes.h"
#include "parse.h"
#include "rules.h"

#include <stdexcept>

Puzzle::Puzzle(MessageBoxes &boxes)
    : m_boxes(boxes)
    , m_guard(boxes)
{
}

void Puzzle::AttachCell(TextCell &cell)
{
    const std::string &name = cell.Name();
    Handler handler = nullptr;
    // "EditVW" first: "EditV" is its prefix.
    if (name.starts_with("EditVW"))
        handler = &Puzzle::EditVW1Change;
    else if (name.starts_with("EditV"))
        handler = &Puzzle::EditV1Change;
    else if (name == "EdRes")
        handler = &Puzzle::EdResChange;
    else
        throw std::invalid_argument("no value field is named " + name);

    m_fields[name] = &cell;
    cell.SetChangeHandler([this, handler](TextCell &sender) { m_guard.Run([&] { (this->*handler)(sender); }); });
}

void Puzzle::DetachCell(TextCell &cell)
{
    cell.SetChangeHandler(nullptr);
    const auto it = m_fields.find(cell.Name());
    if (it != m_fields.end() && it->second == &cell)
        m_fields.erase(it);
}

TextCell &Puzzle::Field(std::string_view name) const
{
    const auto it = m_fields.find(name);
    if (it == m_fields.end())
        throw std::logic_error("value field " + std::string(name) + " is not attached");
    return *it->second;
}

TextCell &Puzzle::Field(std::string_view base, int n) const
{
    return Field(std::string(base) + std::to_string(n));
}

void Puzzle::EditV1Change(TextCell &sender)
{
    SetCapacity(sender.Tag(), ParseFieldValue(sender.Text()), true);
}

void Puzzle::EditVW1Change(TextCell &sender)
{
    SetLevel(sender.Tag(), ParseFieldValue(sender.Text()), true);
}

void Puzzle::EdResChange(TextCell &sender)
{
    SetTarget(ParseFieldValue(sender.Text()), true);
}

void Puzzle::SetCapacity(int n, int value, bool store)
{
    if (!store) {
        Field("EditV", n).SetText(std::to_string(value));
        return;
    }
    m_state.Capacity(n) = value;
    // A new capacity empties the vessel: the level field's own handler stores 0.
    Field("EditVW", n).SetText("");
    m_capacityChanged.Raise(n);
}

void Puzzle::SetLevel(int n, int value, bool store)
{
    if (!store) {
        Field("EditVW", n).SetText(std::to_string(value));
        return;
    }
    if (!LevelFits(value, m_state.Capacity(n)))
        throw ERangeError(kMsgLevelAboveCapacity);
    m_state.Level(n) = value;
    VesselChanged(n);
}

void Puzzle::SetTarget(int value, bool store)
{
    if (!store) {
        Field("EdRes").SetText(std::to_string(value));
        return;
    }
    m_state.Target() = value;
}

void Puzzle::VesselChanged(int n)
{
    m_vesselChanged.Raise(n);
}

void Puzzle::Pour(int source, int receiver)
{
    const int amount = PourAmount(m_state.Level(source), m_state.Capacity(receiver), m_state.Level(receiver));
    if (amount <= 0) {
        m_boxes.Show(kMsgNothingToPour, kCaptionNothingToPour, kIconWarning);
        return;
    }
    SetLevel(source, m_state.Level(source) - amount, false);
    // Read the receiver only now: the source's write has been stored.
    SetLevel(receiver, m_state.Level(receiver) + amount, false);
    AppendMoveRow();

    const bool met = MeetsGoal(m_state.Target(), m_state.Level(source), m_state.Level(receiver));
    const bool announce = met && !m_state.GoalReached;
    if (announce) {
        m_boxes.Show(kMsgGoalReached, kCaptionGoalReached, kIconInformation);
        m_state.GoalReached = true;
        m_goalPours = m_log.RowCount() - 1;
    }
    if (met)
        m_goalMet.Raise();
    if (announce)
        m_goalAnnounced.Raise();
}

void Puzzle::AppendMoveRow()
{
    MoveRow row;
    row.Caption = std::to_string(m_log.RowCount());
    for (int n = 1; n <= kVesselCount; ++n)
        row.SubItems[static_cast<std::size_t>(n - 1)] = std::to_string(m_state.Level(n));
    m_log.Append(std::move(row));
    m_redo.clear();
    m_logChanged.Raise();
}

void Puzzle::ClearLog()
{
    m_log.Clear();
    m_redo.clear();
    m_help = {};
    m_logChanged.Raise();
}

void Puzzle::BtnUndoClick()
{
    if (m_log.RowCount() <= 1)
        return; // the start row stays
    m_redo.push_back(m_log.Row(m_log.RowCount() - 1));
    m_log.RemoveLast();
    const MoveRow &last = m_log.Row(m_log.RowCount() - 1);
    for (int n = 1; n <= kVesselCount; ++n)
        Field("EditVW", n).SetText(last.SubItems[static_cast<std::size_t>(n - 1)]);
    m_logChanged.Raise();
}

void Puzzle::Redo()
{
    if (m_redo.empty())
        return;
    MoveRow row = std::move(m_redo.back());
    m_redo.pop_back();
    // As a pour: the levels first, then the row.
    for (int n = 1; n <= kVesselCount; ++n)
        Field("EditVW", n).SetText(row.SubItems[static_cast<std::size_t>(n - 1)]);
    m_log.Append(std::move(row));
    m_logChanged.Raise();
}

void Puzzle::Restart()
{
    if (m_log.RowCount() == 0 || AsStarted())
        return;
    // A new attempt: what the last one reached or asked for is not its own.
    m_state.GoalReached = false;
    m_goalPours = 0;
    m_help = {};
    if (m_log.RowCount() > 1) {
        for (int row = m_log.RowCount() - 1; row >= 1; --row)
            m_redo.push_back(m_log.Row(row));
        m_log.RemoveAfter(0);
        const MoveRow &start = m_log.Row(0);
        for (int n = 1; n <= kVesselCount; ++n)
            Field("EditVW", n).SetText(start.SubItems[static_cast<std::size_t>(n - 1)]);
    }
    m_logChanged.Raise();
}

bool Puzzle::AsStarted() const
{
    return m_log.RowCount() <= 1 && m_redo.empty() && !m_state.GoalReached;
}

void Puzzle::LoadTask(const TaskPreset &preset)
{
    const TaskPreset task = preset;
    m_state.GoalReached = false;
    for (int n = 1; n <= kVesselCount; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        SetCapacity(n, task.Capacity[i], false);
        SetLevel(n, task.Level[i], false);
        VesselChanged(n);
    }
    SetTarget(task.Target, false);
    ClearLog();
}

void Puzzle::ResetAll()
{
    m_state.GoalReached = false;
    for (int n = 1; n <= kVesselCount; ++n) {
        Field("EditV", n).SetText("");
        Field("EditVW", n).SetText("");
        VesselChanged(n);
    }
    Field("EdRes").SetText("");
    ClearLog();
}
