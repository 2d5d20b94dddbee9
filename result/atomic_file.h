// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// Replaces the file at path (relative: in the current directory) with bytes,
// or leaves it as it was: the bytes go to a temporary file beside it, which is
// renamed over the old one only once complete. Throws std::runtime_error with
// the system's reason ("Permission denied", "File too large", ...).
void WriteFileAtomically(const std::string &path, std::string_view bytes);
