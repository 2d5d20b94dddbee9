// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "line_edit_cell.h"

#include <QLineEdit>

#include <limits>

LineEditCell::LineEditCell(QLineEdit *edit, int tag)
    : TextCell(edit->objectName().toStdString(), tag)
    , m_edit(edit)
{
    // The player may type or paste anything; the handler decides what it
    // means. Qt would cut a long text at its 32 767 characters, and the cut
    // text may read as another number: no cap at all.
    m_edit->setMaxLength(std::numeric_limits<int>::max());
    m_changes = QObject::connect(m_edit, &QLineEdit::textChanged, m_edit, [this] { NotifyChanged(); },
                                 Qt::DirectConnection);
}

LineEditCell::~LineEditCell()
{
    // The line edit may outlive this cell.
    QObject::disconnect(m_changes);
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
