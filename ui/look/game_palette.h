// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QPalette>

class QWidget;

// The game's own light colours, whatever the desktop theme: the window's
// look is fixed (button-face grey, a pure blue heading, cream numbers, a
// black shelf), and a dark theme would put light text on it.
QPalette GamePalette();

// Gives a window, and the menus it pops up, the game's colours.
void UseGamePalette(QWidget *window);
