// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>

inline constexpr const char *kAppTitle = "Сосудник";
inline constexpr const char *kMsgUnknownError = "Неизвестная ошибка";

inline constexpr int kIconError = 16;
inline constexpr int kIconWarning = 48;
inline constexpr int kIconInformation = 64;

// Every message the player sees goes through here, so tests can record them
// instead of blocking on a modal box. Returns once the box is closed.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void Show(const std::string &text, const std::string &caption, int icon) = 0;
};
