// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

// Whether the game may show answers. An answer is anything that tells or
// narrows down how a task is solved: a fewest count, a solution or a step
// of one, a hint, stars or a best count against the fewest, a level band
// ("Средние — 7–10", "2–3 переливания"), the positions that can be reached
// or how far they are, and the ways to get any of them (the solver's
// command line). A lesson turns answers off for the whole run.
//
// Every window, box, tooltip, status text and menu entry that could show an
// answer asks ShowsAnswers() when it fills in its texts (each time it is
// shown, as a window may be made before the lesson starts) and, when it is
// false, leaves the answer out; it does not hide it in a widget that is
// merely invisible. A window that stays open can listen to Changed. A
// command that is nothing but an answer is switched off by GameCommands
// instead (OffForLesson). Get the rule from GameCommands::Answers().
//
// The lesson test walks every menu entry, shortcut and window that comes up
// and looks for answers in every text it finds; a new window is covered
// without being named there.
class AnswerRule final : public QObject {
    Q_OBJECT

public:
    explicit AnswerRule(QObject *parent = nullptr)
        : QObject(parent)
    {
    }

    bool ShowsAnswers() const { return m_shows; }

signals:
    // After the rule changes, that is once, when a lesson starts.
    void Changed();

private:
    friend class GameCommands;

    void Set(bool shows)
    {
        if (shows == m_shows)
            return;
        m_shows = shows;
        emit Changed();
    }

    bool m_shows = true;
};
