// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "value_edit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>

#include <algorithm>
#include <memory>

namespace {

// Characters laid out on each side of the cursor: far more than the field's
// width shows.
constexpr qsizetype kAroundCursor = 200;

} // namespace

ValueEdit::ValueEdit(QWidget *parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &ValueEdit::FollowLength);
}

void ValueEdit::ExpectLength(qsizetype length)
{
    if (length > kLongText && !ShowsPart())
        setEchoMode(QLineEdit::NoEcho);
}

void ValueEdit::FollowLength()
{
    const bool longText = text().size() > kLongText;
    if (longText != ShowsPart())
        setEchoMode(longText ? QLineEdit::NoEcho : QLineEdit::Normal);
}

void ValueEdit::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::Paste)
        ExpectLength(text().size() + QGuiApplication::clipboard()->text().size());
    QLineEdit::keyPressEvent(event);
}

void ValueEdit::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection())
        ExpectLength(text().size() + QGuiApplication::clipboard()->text(QClipboard::Selection).size());
    QLineEdit::mouseReleaseEvent(event);
}

void ValueEdit::contextMenuEvent(QContextMenuEvent *event)
{
    // Its "Вставить" may bring a flood too.
    ExpectLength(text().size() + QGuiApplication::clipboard()->text().size());
    QLineEdit::contextMenuEvent(event);
    FollowLength();
}

void ValueEdit::paintEvent(QPaintEvent *event)
{
    if (ShowsPart())
        PaintPart();
    else
        QLineEdit::paintEvent(event);
}

struct ValueEdit::Part {
    std::unique_ptr<QTextLayout> Layout;
    QRect Contents;
    qsizetype From = 0;
    qsizetype To = 0;
    QPointF Origin;
    qreal CursorX = 0; // from the origin
    qreal Height = 0;
};

ValueEdit::Part ValueEdit::LayOutPart() const
{
    Part part;
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    part.Contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this).adjusted(2, 1, -2, -1);
    const QString all = text();
    const qsizetype cursor = cursorPosition();
    part.From = std::max<qsizetype>(0, cursor - kAroundCursor);
    part.To = std::min(all.size(), cursor + kAroundCursor);
    part.Layout = std::make_unique<QTextLayout>(all.mid(part.From, part.To - part.From), font());
    part.Layout->beginLayout();
    QTextLine line = part.Layout->createLine();
    part.Layout->endLayout();
    if (!line.isValid())
        return part;
    // The cursor stays in view at the right edge, as a line edit scrolls.
    part.CursorX = line.cursorToX(static_cast<int>(cursor - part.From));
    part.Height = line.height();
    const qreal shift = std::max<qreal>(0, part.CursorX - part.Contents.width() + 1);
    part.Origin = QPointF(part.Contents.left() - shift, part.Contents.top() + (part.Contents.height() - line.height()) / 2);
    return part;
}

QRect ValueEdit::CursorRect() const
{
    if (!ShowsPart())
        return cursorRect();
    const Part part = LayOutPart();
    return QRectF(part.Origin.x() + part.CursorX, part.Origin.y(), 1, part.Height).toAlignedRect();
}

void ValueEdit::PaintPart()
{
    QPainter p(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &p, this);
    const Part part = LayOutPart();
    if (part.Height <= 0)
        return;
    QTextLayout &layout = *part.Layout;
    const QRect &contents = part.Contents;
    const QPointF &origin = part.Origin;
    const qsizetype cursor = cursorPosition();
    const qsizetype from = part.From;
    const qsizetype to = part.To;

    QList<QTextLayout::FormatRange> selection;
    if (hasSelectedText()) {
        const qsizetype start = std::clamp<qsizetype>(selectionStart() - from, 0, to - from);
        const qsizetype end = std::clamp<qsizetype>(selectionEnd() - from, 0, to - from);
        QTextLayout::FormatRange range;
        range.start = static_cast<int>(start);
        range.length = static_cast<int>(end - start);
        range.format.setBackground(palette().brush(QPalette::Highlight));
        range.format.setForeground(palette().brush(QPalette::HighlightedText));
        selection << range;
    }
    p.setClipRect(contents);
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    layout.draw(&p, origin, selection);
    if (hasFocus() && !isReadOnly())
        layout.drawCursor(&p, origin, static_cast<int>(cursor - from));
}
