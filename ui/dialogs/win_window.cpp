// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "win_window.h"

#include "appearance.h"
#include "enter_key.h"
#include "game_palette.h"
#include "placement.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QLabel *MakeLine(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    // Reachable by Tab, so that a screen reader reads each line.
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

QString FromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

WinWindow::WinWindow(QWidget *parent, Handlers handlers)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_handlers(std::move(handlers))
{
    setObjectName(QStringLiteral("WinWindow"));
    setWindowTitle(QString::fromUtf8("Задача решена"));
    setWindowIcon(AppIcon());
    setFont(UiFont(8));
    setModal(false);

    m_result = MakeLine("WinResult", this);
    m_result->setFont(UiFont(10, true));
    m_stars = MakeLine("WinStars", this);
    m_stars->setFont(UiFont(12));
    m_best = MakeLine("WinBest", this);

    auto *buttons = new QDialogButtonBox(this);
    m_next = buttons->addButton(QString::fromUtf8("Следующая задача"), QDialogButtonBox::ActionRole);
    m_next->setObjectName(QStringLiteral("BtnNext"));
    m_again = buttons->addButton(QString::fromUtf8("Еще раз"), QDialogButtonBox::ActionRole);
    m_again->setObjectName(QStringLiteral("BtnAgain"));
    m_close = buttons->addButton(QString::fromUtf8("Закрыть"), QDialogButtonBox::RejectRole);
    m_close->setObjectName(QStringLiteral("BtnClose"));
    for (QPushButton *button : {m_next, m_again, m_close})
        button->setAutoDefault(false);
    m_close->setDefault(true);
    connect(m_next, &QPushButton::clicked, this, [this] { CloseAnd(m_handlers.Next); });
    connect(m_again, &QPushButton::clicked, this, [this] { CloseAnd(m_handlers.Again); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::finished, this, [this] {
        if (m_handlers.Closed)
            m_handlers.Closed();
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_result);
    layout->addWidget(m_stars);
    layout->addWidget(m_best);
    layout->addStretch(1);
    layout->addWidget(buttons);
    setTabOrder(m_close, m_next);
    setTabOrder(m_next, m_again);

    m_scaled.AddFont(this);
    for (QLabel *label : {m_result, m_stars, m_best})
        m_scaled.AddFont(label);
    UseGamePalette(this);
    KeepOnScreen(this);
}

void WinWindow::ShowWin(const WinReport &report, bool lesson)
{
    const int pours = report.Win.Pours;
    m_result->setText(FromUtf8(lesson ? LessonWinLine(pours) : WinLine(pours, report.Fewest)));
    m_stars->setText(FromUtf8(AttemptStars(report)));
    // The glyphs are for the eye; a screen reader gets the words.
    m_stars->setAccessibleName(FromUtf8(AttemptStarWords(report)));
    m_best->setText(FromUtf8(BestSoFar(report)));
    for (QWidget *w : std::initializer_list<QWidget *>{m_stars, m_best, m_next, m_again})
        w->setVisible(!lesson);
    m_scaled.FollowFormScale();
    // The count on one line where the screen has room for it.
    const int wanted = QFontMetrics(m_result->font()).horizontalAdvance(m_result->text()) + 1;
    const QScreen *screen = WindowScreen(this);
    m_result->setMinimumWidth(screen ? std::min(wanted, screen->availableGeometry().width() * 3 / 4) : wanted);
    adjustSize();
    show();
    raise();
    activateWindow();
    m_close->setFocus();
}

QString WinWindow::Text() const
{
    QStringList lines;
    for (const QLabel *label : {m_result, m_stars, m_best}) {
        if (!label->isHidden())
            lines << label->text();
    }
    return lines.join(QLatin1Char('\n'));
}

void WinWindow::CloseAnd(const std::function<void()> &then)
{
    // Closed first (the focus back on the game), then the game changes.
    reject();
    if (then)
        then();
}

void WinWindow::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the focused button; Escape closes, as QDialog does.
    if (QPushButton *button = ButtonForEnter(this, event)) {
        button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
