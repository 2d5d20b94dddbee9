// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "code_dialog.h"

#include <QAccessible>
#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>

CodeDialog::CodeDialog(QWidget *parent, Check check)
    : QInputDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_check(std::move(check))
{
    setObjectName(QStringLiteral("CodeDialog"));
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("CodeProblem"));
    m_problem->setWordWrap(true);
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QPalette palette = m_problem->palette();
    palette.setColor(QPalette::WindowText, QColor(0xA0, 0x00, 0x00));
    m_problem->setPalette(palette);
    m_problem->hide();
    // A mended code makes the old reason stale.
    connect(this, &QInputDialog::textValueChanged, m_problem, &QLabel::hide);
}

std::string CodeDialog::Code() const
{
    return textValue().trimmed().toStdString();
}

QString CodeDialog::Problem() const
{
    return m_problem->isHidden() ? QString() : m_problem->text();
}

void CodeDialog::showEvent(QShowEvent *event)
{
    // The field and the buttons are laid out by now: the reason goes
    // between them.
    if (auto *box = qobject_cast<QBoxLayout *>(layout()); box && box->indexOf(m_problem) < 0) {
        const int field = box->indexOf(findChild<QLineEdit *>());
        box->insertWidget(field >= 0 ? field + 1 : box->count() - 1, m_problem);
    }
    QInputDialog::showEvent(event);
}

void CodeDialog::done(int result)
{
    if (result == QDialog::Accepted) {
        const std::string problem = m_check(Code());
        if (!problem.empty()) {
            m_problem->setText(QString::fromStdString(problem));
            m_problem->show();
            // Said aloud: the field keeps the focus, and the reason is news.
            if (QAccessible::isActive()) {
                QAccessibleEvent changed(m_problem, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&changed);
            }
            adjustSize();
            if (auto *edit = findChild<QLineEdit *>())
                edit->setFocus();
            return;
        }
    }
    QInputDialog::done(result);
}
