// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "tfrmtask.h"

#include "appearance.h"
#include "enter_key.h"
#include "form_scale.h"
#include "game_palette.h"
#include "placement.h"
#include "task_pictures.h"
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
    // At scale 1 as built; drawn again at the game's scale when shown.
    m_scaled.AddFont(this);
    m_scaled.AddFont(m_ui->pages->tabBar());
    for (QWidget *w : {static_cast<QWidget *>(m_ui->pages), static_cast<QWidget *>(m_ui->BtnOk),
                       static_cast<QWidget *>(m_ui->BtnCancel), static_cast<QWidget *>(m_ui->Image1),
                       static_cast<QWidget *>(m_ui->Image2)})
        m_scaled.Add(w);
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
    EnsureTaskPictures();
    if (ratio == 1.0)
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
    const qreal screen = devicePixelRatioF();
    const qreal ratio = screen * FormScale();
    if (!m_ui->Image1->pixmap().isNull() && ratio == m_pictureRatio)
        return;
    m_pictureRatio = ratio;
    // Drawn in the screen's own pixels for the form's scale, shown 1:1.
    for (const auto &[label, base] : {std::pair{m_ui->Image1, QStringLiteral(":/task_milk")},
                                      std::pair{m_ui->Image2, QStringLiteral(":/task_kvass")}}) {
        QPixmap picture = TaskPicture(base, ratio);
        picture.setDevicePixelRatio(screen);
        label->setPixmap(picture);
    }
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

void TfrmTask::setVisible(bool visible)
{
    // Sized for the game's scale before the show, which places it on the screen.
    if (visible && m_scaled.FollowFormScale())
        setFixedSize(ScaledRect(QRect(0, 0, 591, 393), FormScale()).size());
    QDialog::setVisible(visible);
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
