// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "tfrmtask.h"

#include "appearance.h"
#include "ui_tfrmtask.h"

#include <QKeyEvent>
#include <QPixmap>
#include <QTabBar>

TfrmTask::TfrmTask(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_ui(std::make_unique<Ui::TfrmTask>())
{
    m_ui->setupUi(this);
    setWindowIcon(AppIcon());
    setFont(UiFont(8));
    m_ui->pages->tabBar()->setFont(UiFont(9, true));
    setFixedSize(591, 393);
    move(217, 150);
    connect(m_ui->BtnOk, &QPushButton::clicked, this, [this] { done(kResultOk); });
    connect(m_ui->BtnCancel, &QPushButton::clicked, this, [this] { done(kResultCancel); });
}

TfrmTask::~TfrmTask() = default;

int TfrmTask::ActivePage() const
{
    return m_ui->pages->currentIndex();
}

void TfrmTask::showEvent(QShowEvent *event)
{
    // The pictures are decoded on first showing, not at start-up: most games
    // never open this dialog.
    if (m_ui->Image1->pixmap().isNull()) {
        m_ui->Image1->setPixmap(QPixmap(QStringLiteral(":/task_milk.bmp")));
        m_ui->Image2->setPixmap(QPixmap(QStringLiteral(":/task_kvass.bmp")));
    }
    QDialog::showEvent(event);
}

void TfrmTask::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the focused button. QDialog would press the default one,
    // "Принять", even with the focus on "Отмена"; anywhere else it still does.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    auto *button = qobject_cast<QPushButton *>(focusWidget());
    if (enter && button && !(event->modifiers() & ~Qt::KeypadModifier)) {
        button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmTask::reject()
{
    done(kResultCancel);
}
