// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "dispatch_guard.h"

std::string ErrorBoxText(std::string_view message)
{
    std::string text(message);
    if (text.empty())
        return text;
    // Texts are UTF-8: a last byte of 0x80 or more ends a character above
    // U+007F, so comparing the byte unsigned orders it as its code point does.
    // As a signed char it would be negative and wrongly lose the full stop.
    const auto last = static_cast<unsigned char>(text.back());
    if (last > '.')
        text += '.';
    return text;
}

void DispatchGuard::ShowError(std::string_view message)
{
    m_boxes.Show(ErrorBoxText(message), kAppTitle, kIconError);
}
