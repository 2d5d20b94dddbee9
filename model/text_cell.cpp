// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "text_cell.h"

TextCell::TextCell(std::string name, int tag)
    : m_name(std::move(name))
    , m_tag(tag)
{
}

TextCell::~TextCell() = default;

void TextCell::NotifyChanged()
{
    if (m_onChange)
        m_onChange(*this);
}
