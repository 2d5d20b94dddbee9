// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "answer_rule.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QAbstractButton;
class QAction;
class QWidget;

// Before any game, typing a puzzle in, pouring.
enum class GameMode { None, Input, Play };

// What the game in play offers besides its mode, as the window learns it
// from the puzzle's notices.
struct PlayProgress {
    bool CanRedo = false; // a pour undone and not yet given back
    bool CanRestart = false; // the game is not exactly as it started

    friend bool operator==(const PlayProgress &, const PlayProgress &) = default;
};

// Owns the window's mode and, from it, whether each command is available:
// buttons, menu entries, fields, the drag and the digits all follow it, and
// a command runs only through it. Nothing reads a widget back to decide.
//
// Besides the mode: in the middle of a drag no command runs at all, and
// while a menu or another popup is open the digits pour nothing.
class GameCommands final : public QObject {
    Q_OBJECT

public:
    // What the player can ask of the main window, each by a button, a menu
    // entry, a key or a drag.
    enum class Command {
        New, // "&Новые"
        Tasks, // "&Задачи"
        Exit, // "Выход"
        Undo, // "Назад"
        Begin, // "Начать переливание"
        Save, // "Запись результата"
        Values, // the seven value fields
        Pour, // a drag, the digits, "&Перелить"
        Hint,
        Solution,
        Check,
        Help, // "&Справка", never available
        Zoom, // "&Масштаб" and its entries
        CheckRecords, // "Провери&ть записи…"
        Redo, // "&Вперед"
        Restart, // "Нач&ать заново"
        Book, // "&Сборник задач…"
        RandomTask, // "Сл&учайная задача"
        CopyCode, // "&Копировать код задачи"
        EnterCode, // "Вв&ести код задачи…"
        Rules, // "Как и&грать"
        Scores, // "Рекорд&ы"
        Animation, // "Анима&ция переливания"
        SaveAs, // "Записат&ь как…"
        Worksheet, // "Листок с зада&чами…"
        Replay, // "Просмотр запис&и…"
        Map, // "Карта пере&ливаний"
    };
    // Map is the last.
    static constexpr int kCommandCount = static_cast<int>(Command::Map) + 1;

    // The one table of what is available in which mode; in a lesson the
    // commands that hand out the answer are off whatever the mode. In play,
    // "Вперед" and "Начать заново" also need something to do (PlayProgress).
    static bool EnabledIn(Command command, GameMode mode, bool lesson = false, PlayProgress progress = {});
    // "Подсказка", "Решение", "Проверить задачу", "Проверить записи…",
    // "Просмотр записи…" and "Листок с задачами…" (whose key answers every
    // task); and "Записать как…", since a lesson keeps the pupil's work in
    // their file.
    static bool OffForLesson(Command command);

    explicit GameCommands(QObject *parent = nullptr);

    GameMode Mode() const { return m_mode; }
    void SetMode(GameMode mode);

    bool Dragging() const { return m_dragging; }
    void SetDragging(bool on) { m_dragging = on; }

    // A lesson (`sosudnik --lesson`): held for the whole run, through new
    // games, tasks, codes and undo alike.
    bool Lesson() const { return m_lesson; }
    void SetLesson(bool on);
    // Whether windows may show answers: not in a lesson.
    const AnswerRule &Answers() const { return *m_answers; }

    // "Вперед" only with a pour to give back, "Начать заново" only when the
    // game is not as it started.
    void SetProgress(PlayProgress progress);
    // The pour's animation is switched off for the run
    // (SOSUDNIK_NO_ANIMATION=1): its entry cannot be chosen.
    void SetAnimationForcedOff(bool off);

    bool Enabled(Command command) const;
    // Whether the player's request may run now.
    bool MayRun(Command command) const;

    // The control's enabled state follows the command from now on.
    void Bind(Command command, QWidget *control);
    void Bind(Command command, QAction *action);
    // Also runs handler when the control is used and the command may run.
    void Connect(Command command, QAbstractButton *button, std::function<void()> handler);
    void Connect(Command command, QAction *action, std::function<void()> handler);
    // Told after every change of the mode, once the controls follow it.
    void OnModeChanged(std::function<void(GameMode)> listener) { m_listeners.push_back(std::move(listener)); }

    struct Binding {
        Command Which;
        QPointer<QObject> Control;
    };
    // Every control that follows a command, in the order they were bound.
    const std::vector<Binding> &Bindings() const { return m_bindings; }

private:
    void Apply(Command command, QObject *control) const;

    void ApplyAll() const;

    GameMode m_mode = GameMode::None;
    bool m_lesson = false;
    PlayProgress m_progress;
    bool m_animationForcedOff = false;
    AnswerRule *m_answers;
    bool m_dragging = false;
    std::vector<Binding> m_bindings;
    std::vector<std::function<void(GameMode)>> m_listeners;
};
