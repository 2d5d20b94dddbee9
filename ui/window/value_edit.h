// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>

// A value field: a line edit that takes a text of any length whole (the
// number rule judges all of it) and stays quick with a pasted flood in it.
// Qt lays out and shapes a line edit's whole text on every key and every
// paint; past kLongText characters the field shows, and lays out, only the
// part of the text around the cursor. Up to there it is a plain QLineEdit,
// pixel for pixel.
class ValueEdit final : public QLineEdit {
    Q_OBJECT

public:
    static constexpr int kLongText = 1000;

    explicit ValueEdit(QWidget *parent = nullptr);

    // Whether the field shows only a part of its text now. (Its echo mode
    // is Qt's way to lay out nothing; the text is no secret: the field's
    // accessible reading gives all of it.)
    bool ShowsPart() const { return echoMode() == QLineEdit::NoEcho; }
    // Where the cursor is drawn, in the field's coordinates.
    QRect CursorRect() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Before a paste: whether the text will be long, so that Qt never lays
    // the whole of it out even once.
    void ExpectLength(qsizetype length);
    void FollowLength();
    void PaintPart();
    // The part of the text laid out around the cursor, where it is drawn.
    struct Part;
    Part LayOutPart() const;
};
