// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// The UTF-8 text with everything XML 1.0 cannot carry left out: C0 controls
// other than tab, LF and CR, U+FFFE, U+FFFF, surrogates and bytes that are
// not well-formed UTF-8. Whatever the player typed then saves as valid XML.
std::string KeepXmlChars(std::string_view text);
