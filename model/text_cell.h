// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

// One value field as the puzzle sees it: a named, tagged text. The text lives
// in exactly one place, the implementation (a line edit in the window, a plain
// string in tests), and the puzzle never keeps a copy of it.
class TextCell {
public:
    using ChangeHandler = std::function<void(TextCell &)>;

    TextCell(std::string name, int tag);
    virtual ~TextCell();
    TextCell(const TextCell &) = delete;
    TextCell &operator=(const TextCell &) = delete;

    const std::string &Name() const { return m_name; }
    int Tag() const { return m_tag; }

    virtual std::string Text() const = 0;
    // A text that differs (exactly, case-sensitively) runs the change handler
    // once, before this returns; an equal text runs nothing.
    virtual void SetText(const std::string &text) = 0;

    void SetChangeHandler(ChangeHandler handler) { m_onChange = std::move(handler); }

protected:
    // Implementations call this after every change of their text.
    void NotifyChanged();

private:
    std::string m_name;
    int m_tag;
    ChangeHandler m_onChange;
};
