// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

class GameCommands;
class QMenuBar;

// What the menu entries do.
struct MainMenuHandlers {
    std::function<void()> New;
    std::function<void()> Exit;
    std::function<void()> Tasks;
    std::function<void()> Undo;
    std::function<void()> Save;
    std::function<void()> SaveAs;
    std::function<void(int source, int receiver)> Pour;
    std::function<void()> Hint;
    std::function<void()> Solution;
    std::function<void()> Check;
    std::function<void()> ZoomIn;
    std::function<void()> ZoomOut;
    std::function<void()> ZoomNormal;
    std::function<void()> ZoomFill;
    std::function<void()> CheckRecords;
    std::function<void()> Redo;
    std::function<void()> Restart;
    std::function<void()> Book;
    std::function<void(int level)> RandomTask;
    std::function<void()> CopyCode;
    std::function<void()> EnterCode;
    std::function<void()> Rules;
    std::function<void()> Worksheet;
    std::function<void()> Replay;
    std::function<void()> Scores;
    // «Анимация переливания»: switches it; the entry's mark follows AnimationOn.
    std::function<void()> Animation;
    std::function<bool()> AnimationOn;
    std::function<void()> Map;
};

// "&Данные", "&Задачи", "&Игра" and "&Справка". "&Игра" holds what the
// window otherwise offers only as buttons and drags, and the solver's
// commands. Every entry runs through the commands, which also keep its
// enabled state. F10 opens the first menu, and the menus' letters work
// whichever keyboard layout is active.
void BuildMainMenu(QMenuBar *bar, GameCommands &commands, const MainMenuHandlers &handlers);
