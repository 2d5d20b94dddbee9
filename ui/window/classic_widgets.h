// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRect>

#include <utility>

// Controls drawn the classic way the game's form was made for.

// A push button whose caption wraps onto several lines, as Qt's own cannot;
// text() stays the one-line caption.
class WrapButton final : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A group frame whose caption sits in the frame's top line, so the fields
// placed 18 pixels down lie inside the frame, not on it.
class GroupFrame final : public QGroupBox {
    Q_OBJECT

public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A control of the form: its name, its place and size in the parent.
template <class W, class... Args>
W *Make(QWidget *parent, const char *name, QRect geometry, Args &&...args)
{
    auto *w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

QLabel *MakeLabel(QWidget *parent, const char *name, QRect geometry, const char *text, const QFont &font);

// One colour of a control's palette.
void SetColor(QWidget *w, QPalette::ColorRole role, const QColor &color);

class QLineEdit;
class QStatusBar;

// A field the program disables while it still shows a value: its digits
// stay readable rather than the style's faint grey.
void KeepDisabledTextReadable(QLineEdit *edit);

struct StatusPanels {
    QLabel *Caption; // the fixed text
    QLabel *Hint; // what to do now
};

// Two sunken panels in the status bar, the first of `firstWidth` pixels with
// its fixed text, the second reaching to the right edge. As permanent
// widgets: the bar's own message, which menu hovering wipes, is never used.
StatusPanels AddStatusPanels(QStatusBar *bar, const QString &first, int firstWidth);
