// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "message_boxes.h"

#include <exception>
#include <string>
#include <string_view>

// The error box text: a full stop is added when the message ends in a
// character above "." (letters, digits), but not after ".", "!" or ")".
std::string ErrorBoxText(std::string_view message);

// Runs every handler: text changes, clicks, menu commands, drops. An exception
// that escapes a handler ends that handler only; it is shown in the error box
// and the caller (say, a pour that assigned a field text) goes on.
class DispatchGuard {
public:
    explicit DispatchGuard(MessageBoxes &boxes)
        : m_boxes(boxes)
    {
    }

    template <class Handler>
    void Run(Handler &&handler)
    {
        try {
            handler();
        } catch (const std::exception &e) {
            ShowError(e.what());
        } catch (...) {
            ShowError(kMsgUnknownError);
        }
    }

    void ShowError(std::string_view message);

private:
    MessageBoxes &m_boxes;
};
