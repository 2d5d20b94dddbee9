// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// Why a save failed: a system error number (errno) or one of these causes of
// the writer's own, which are negative so they never meet an errno.
inline constexpr int kCauseNotRegularFile = -1; // a device, FIFO or socket
inline constexpr int kCauseForeignLink = -2; // another user's link in a shared folder
inline constexpr int kCauseXmlFailure = -3; // libxml2 could not build or write the text
inline constexpr int kCauseLockHeld = -4; // another save kept the file's lock too long
inline constexpr int kCauseNoFreeName = -5; // every spare name is taken by a file that cannot take the save

// The error box text for a save of fileName that failed for cause:
// Файл "sosudnik.xml" не записан: нет прав на запись
std::string SaveFailureText(std::string_view fileName, int cause);

// A failed save; what() is its SaveFailureText.
class SaveFailure : public std::runtime_error {
public:
    SaveFailure(std::string_view fileName, int cause);
    int Cause() const { return m_cause; }

private:
    int m_cause;
};
