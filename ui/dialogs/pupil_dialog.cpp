// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "pupil_dialog.h"

#include "appearance.h"
#include "form_scale.h"
#include "game_palette.h"
#include "message_boxes.h"
#include "placement.h"
#include "pupil_file.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PupilDialog::PupilDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("PupilDialog"));
    setWindowTitle(QString::fromUtf8(kAppTitle));
    setWindowIcon(AppIcon());
    setFont(UiFont(8));

    auto *label = new QLabel(QString::fromUtf8("&Фамилия и имя"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("PupilName"));
    m_name->setAccessibleName(QString::fromUtf8("Фамилия и имя"));
    label->setBuddy(m_name);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("BtnOk"));
    m_ok->setText(QStringLiteral("OK"));
    m_ok->setEnabled(false);
    QPushButton *cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    cancel->setText(QString::fromUtf8("Отмена"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (!Name().isEmpty())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_name, &QLineEdit::textChanged, this, [this] { m_ok->setEnabled(!Name().isEmpty()); });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_name);
    layout->addWidget(buttons);

    const QFontMetrics metrics(font());
    m_name->setMinimumWidth(metrics.horizontalAdvance(QLatin1Char('x')) * 40);
    FollowFormScale(this);
    UseGamePalette(this);
    KeepOnScreen(this);
    m_name->setFocus();
}

QString PupilDialog::Name() const
{
    return TidyPupilName(m_name->text());
}

std::optional<QString> AskPupilName(QWidget *parent)
{
    PupilDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Name();
}
