// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "line_edit_cell.h"

#include <QLineEdit>

LineEditCell::LineEditCell(QLineEdit *edit, int tag)
    : TextCell(edit->objectName().toStdString(), tag)
    , m_edit(edit)
{
    // The player may type anything; the handler decides what it means. The
    // cap only keeps a pasted flood from making every keystroke slow.
    m_edit->setMaxLength(kMaxFieldLength);
    QObject::connect(m_edit, &QLineEdit::textChanged, m_edit, [this] { NotifyChanged(); }, Qt::DirectConnection);
}

std::string LineEditCell::Text() const
{
    return m_edit->text().toStdString();
}

void LineEditCell::SetText(const std::string &text)
{
    // QLineEdit emits textChanged only when the text really differs.
    m_edit->setText(QString::fromStdString(text));
}
