// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "dispatch_guard.h"
#include "help_used.h"
#include "move_log.h"
#include "notice.h"
#include "task_presets.h"
#include "text_cell.h"
#include "vessel_state.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

class MessageBoxes;

inline constexpr const char *kMsgNothingToPour = "Нечего переливать. Попробуйте иначе.";
inline constexpr const char *kCaptionNothingToPour = "А смысл?";
inline constexpr const char *kMsgGoalReached = "Необходимый уровень достигнут!\rХоды можно записать в файл.";
inline constexpr const char *kCaptionGoalReached = "Внимание";

// The puzzle: its state, the seven value fields that carry it, the move log,
// pouring and undo. The window supplies the fields and the message boxes;
// tests supply MemoryCells and a recorder.
//
// The state changes only through the fields: every operation writes a value
// as text (the display direction), and the field's change handler converts,
// checks and stores it (the store direction). A rejected text stays in its
// field while the state keeps its previous value.
class Puzzle {
public:
    explicit Puzzle(MessageBoxes &boxes);
    Puzzle(const Puzzle &) = delete;
    Puzzle &operator=(const Puzzle &) = delete;

    // Binds a field by its name ("EditV1".."EditV3", "EditVW1".."EditVW3",
    // "EdRes"): its text changes run the matching handler through the guard.
    void AttachCell(TextCell &cell);
    // Unbinds a field that is about to go.
    void DetachCell(TextCell &cell);
    // The field of that name; it must have been attached.
    TextCell &Field(std::string_view name) const;
    TextCell &Field(std::string_view base, int n) const;

    VesselState &State() { return m_state; }
    const VesselState &State() const { return m_state; }
    // Pours made in this game when the goal was first reached (log rows then,
    // less the start row); meaningful while GoalReached is true.
    int GoalPours() const { return m_goalPours; }
    MoveLog &Log() { return m_log; }
    const MoveLog &Log() const { return m_log; }
    DispatchGuard &Guard() { return m_guard; }

    // VesselChanged(n): vessel n must be painted again; told before the raiser goes on.
    Notice<int> &VesselChangedNotice() { return m_vesselChanged; }
    // After every stored capacity of vessel n, once its level field has been
    // emptied: a capacity typed over an empty vessel repaints nothing, yet
    // what the vessel reads out changes.
    Notice<int> &CapacityChangedNotice() { return m_capacityChanged; }
    // After every pour that meets the goal test, not only the first (which
    // alone shows the message): the scores keep the best of them.
    Notice<> &GoalMetNotice() { return m_goalMet; }
    // After every change of the log's rows, once the levels agree with its
    // last row: a pour, an undo, a redo, a restart, a cleared log.
    Notice<> &LogChangedNotice() { return m_logChanged; }
    // Once per attempt, after the message of the goal reached has closed and
    // after GoalMetNotice: the win is the attempt's.
    Notice<> &GoalAnnouncedNotice() { return m_goalAnnounced; }

    // Change handlers; the sender's tag is its vessel number.
    void EditV1Change(TextCell &sender);
    void EditVW1Change(TextCell &sender);
    void EdResChange(TextCell &sender);

    // store: keep the value (change handlers only); otherwise write it as
    // text into the field and let the field's handler store it.
    void SetCapacity(int n, int value, bool store);
    void SetLevel(int n, int value, bool store);
    void SetTarget(int value, bool store);

    void VesselChanged(int n);

    // 1 <= source, receiver <= 3, source != receiver.
    void Pour(int source, int receiver);

    void AppendMoveRow();
    void ClearLog();
    void BtnUndoClick();
    // "Вперед": gives back the row the last undo took, caption and all,
    // through the level fields as undo does. A pour, a new game or a task
    // leaves nothing to give back.
    void Redo();
    int RedoCount() const { return static_cast<int>(m_redo.size()); }
    // "Начать заново": a new attempt at the same task. Back to the start row
    // in one step, each pour left to be redone; the goal can be reached and
    // is told again, and the attempt starts without help, as a task does.
    void Restart();
    // Whether the game is exactly as it started: the start row alone,
    // nothing to redo, the goal not reached. Then there is nothing to restart.
    bool AsStarted() const;

    // Help asked for since the game's values were last cleared (a new game,
    // a task): what a win's record keeps.
    HelpUsed &Help() { return m_help; }
    const HelpUsed &Help() const { return m_help; }

    void LoadTask(const TaskPreset &preset);
    void ResetAll();

private:
    using Handler = void (Puzzle::*)(TextCell &);

    MessageBoxes &m_boxes;
    DispatchGuard m_guard;
    VesselState m_state;
    MoveLog m_log;
    std::map<std::string, TextCell *, std::less<>> m_fields;
    Notice<int> m_vesselChanged;
    Notice<int> m_capacityChanged;
    Notice<> m_goalMet;
    Notice<> m_logChanged;
    Notice<> m_goalAnnounced;
    int m_goalPours = 0;
    // What undo took, the next to give back last.
    std::vector<MoveRow> m_redo;
    HelpUsed m_help;
};
