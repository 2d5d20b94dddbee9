// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "classic_widgets.h"

#include <QLineEdit>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>

void WrapButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    const QRect box = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    style()->drawItemText(&p, box, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(), text(),
                          QPalette::ButtonText);
}

void GroupFrame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QFontMetrics fm(font());
    const QRect frame = rect().adjusted(0, fm.height() / 2, -1, -1);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(frame.adjusted(1, 1, 0, 0));
    const QRect caption(7, 0, fm.horizontalAdvance(title()) + 4, fm.height());
    p.fillRect(caption, palette().window());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(caption, Qt::AlignCenter, title());
}

QLabel *MakeLabel(QWidget *parent, const char *name, QRect geometry, const char *text, const QFont &font)
{
    auto *label = Make<QLabel>(parent, name, geometry, QString::fromUtf8(text));
    label->setFont(font);
    return label;
}

void SetColor(QWidget *w, QPalette::ColorRole role, const QColor &color)
{
    QPalette palette = w->palette();
    palette.setColor(role, color);
    w->setPalette(palette);
}

void KeepDisabledTextReadable(QLineEdit *edit)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x50, 0x50, 0x50));
    edit->setPalette(palette);
}

StatusPanels AddStatusPanels(QStatusBar *bar, const QString &first, int firstWidth)
{
    auto *panel0 = new QLabel(first, bar);
    panel0->setObjectName(QStringLiteral("StatusPanel0"));
    panel0->setFixedWidth(firstWidth);
    auto *panel1 = new QLabel(bar);
    panel1->setObjectName(QStringLiteral("StatusPanel1"));
    for (QLabel *panel : {panel0, panel1})
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addPermanentWidget(panel0, 0);
    bar->addPermanentWidget(panel1, 1);
    return {panel0, panel1};
}
