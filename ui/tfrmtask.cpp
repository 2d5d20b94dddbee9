// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "tfrmtask.h"

#include "appearance.h"
#include "enter_key.h"
#include "game_palette.h"
#include "placement.h"
#include "ui_tfrmtask.h"

#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTabBar>
#include <QWindow>

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
    KeepOnScreen(this);
    UseGamePalette(this);
    connect(m_ui->BtnOk, &QPushButton::clicked, this, [this] { done(kResultOk); });
    connect(m_ui->BtnCancel, &QPushButton::clicked, this, [this] { done(kResultCancel); });
}

TfrmTask::~TfrmTask() = default;

int TfrmTask::ActivePage() const
{
    return m_ui->pages->currentIndex();
}

QPixmap TfrmTask::TaskPicture(const QString &base, qreal ratio)
{
    if (ratio <= 1.0)
        return QPixmap(base + QStringLiteral(".bmp"));
    // "@2x" in the name marks it as two device pixels per form pixel.
    QImage image(base + QStringLiteral("@2x.png"));
    if (image.isNull() || image.devicePixelRatio() == ratio)
        return QPixmap::fromImage(image);
    // Resampled once, smoothly, to the screen's own pixels: drawn 1:1 after.
    const QSize form = image.deviceIndependentSize().toSize();
    image = image.scaled(form * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

void TfrmTask::LoadPictures()
{
    const qreal ratio = devicePixelRatioF();
    if (!m_ui->Image1->pixmap().isNull() && m_ui->Image1->pixmap().devicePixelRatio() == ratio)
        return;
    m_ui->Image1->setPixmap(TaskPicture(QStringLiteral(":/task_milk"), ratio));
    m_ui->Image2->setPixmap(TaskPicture(QStringLiteral(":/task_kvass"), ratio));
}

void TfrmTask::showEvent(QShowEvent *event)
{
    // The pictures are decoded on first showing, not at start-up: most games
    // never open this dialog. Again when the dialog moves to a screen of
    // another scale.
    if (m_ui->Image1->pixmap().isNull())
        connect(windowHandle(), &QWindow::screenChanged, this, &TfrmTask::LoadPictures);
    LoadPictures();
    QDialog::showEvent(event);
}

void TfrmTask::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the focused button. QDialog would press the default one,
    // "Принять", even with the focus on "Отмена"; anywhere else it still does.
    if (QPushButton *button = ButtonForEnter(this, event)) {
        button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmTask::reject()
{
    done(kResultCancel);
}
