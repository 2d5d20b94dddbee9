// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "text_cell.h"

#include <QMetaObject>

class QLineEdit;

// A value field whose text is the line edit's own: every change, typed or
// assigned, runs the puzzle's handler at once.
class LineEditCell final : public TextCell {
public:
    LineEditCell(QLineEdit *edit, int tag);
    ~LineEditCell() override;

    std::string Text() const override;
    void SetText(const std::string &text) override;

    QLineEdit *Edit() const { return m_edit; }

private:
    QLineEdit *m_edit;
    QMetaObject::Connection m_changes;
};
