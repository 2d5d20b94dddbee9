// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "text_cell.h"

class QLineEdit;

// Far above any text the number rule accepts in practice; a longer paste is
// cut to it (and then rejected like any other non-number).
inline constexpr int kMaxFieldLength = 1000;

// A value field whose text is the line edit's own: every change, typed or
// assigned, runs the puzzle's handler at once.
class LineEditCell final : public TextCell {
public:
    LineEditCell(QLineEdit *edit, int tag);

    std::string Text() const override;
    void SetText(const std::string &text) override;

    QLineEdit *Edit() const { return m_edit; }

private:
    QLineEdit *m_edit;
};
