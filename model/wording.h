// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Russian words for numbers, and typed text quoted safely in messages.

// The Russian noun form for a count: one (1, 21, 101), few (2..4, 22..24),
// many (0, 5..20, 25..30, 111..114).
std::string_view RussianPlural(int n, std::string_view one, std::string_view few, std::string_view many);

// "1 переливание", "3 переливания", "5 переливаний", "21 переливание".
std::string PourCount(int n);

// Control characters (C0, DEL, C1) and bytes that are not UTF-8 as \xHH,
// and the invisible characters that reorder or hide text (bidirectional
// overrides and isolates, zero-width spaces, line separators, the byte order
// mark) as \uHHHH, so that a typed text or a file name shown in a box, a
// table or on a terminal cannot steer it or pass for another.
std::string EscapeControls(std::string_view text);

// Typed text as a message shows it: escaped, whole when short, else its
// beginning (40 bytes at most, cut between characters) and an ellipsis, so
// that a pasted flood still fits a box.
std::string Shortened(std::string_view text);
// The same in «».
std::string Quoted(std::string_view text);

// Up to `shown` texts as «a», «b» and «c», each Quoted, then how many more
// there were: "«a», «b», «c» и еще 997".
std::string QuotedList(const std::vector<std::string> &texts, std::size_t shown = 3);
