// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "accessibility.h"

#include "value_edit.h"
#include "vessel_picture.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QVariant>
#include <QWidget>

namespace {

const char *const kDecoration = "sosudnikDecoration";

QString VesselName(const VesselPicture &picture)
{
    return QString::fromUtf8("Сосуд %1").arg(picture.Tag());
}

QString VesselReading(const VesselPicture &picture)
{
    return QString::fromUtf8("%1 из %2").arg(picture.Level()).arg(picture.Capacity());
}

// A vessel reads like a gauge: its level between 0 and its capacity.
class VesselAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit VesselAccessible(VesselPicture *picture)
        : QAccessibleWidget(picture, QAccessible::ProgressBar)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return VesselName(Picture());
        case QAccessible::Description:
            return VesselDescription(Picture());
        case QAccessible::Value:
            return VesselReading(Picture());
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.selected = Picture().Marked();
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QVariant currentValue() const override { return Picture().Level(); }
    // Levels change by pouring only.
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override { return Picture().Capacity(); }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    const VesselPicture &Picture() const { return *static_cast<const VesselPicture *>(widget()); }
};

// A plain container: Qt's own children, less the decorations.
class SurfaceAccessible final : public QAccessibleWidget {
public:
    explicit SurfaceAccessible(QWidget *w)
        : QAccessibleWidget(w)
    {
    }

    int childCount() const override { return static_cast<int>(Shown().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QAccessibleInterface *> shown = Shown();
        return index >= 0 && index < shown.size() ? shown[index] : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return static_cast<int>(Shown().indexOf(const_cast<QAccessibleInterface *>(child)));
    }

private:
    // Read afresh each time: a decoration may be marked after the first look.
    QList<QAccessibleInterface *> Shown() const
    {
        QList<QAccessibleInterface *> shown;
        for (int i = 0, n = QAccessibleWidget::childCount(); i < n; ++i) {
            QAccessibleInterface *c = QAccessibleWidget::child(i);
            if (c && !(c->object() && c->object()->property(kDecoration).toBool()))
                shown.append(c);
        }
        return shown;
    }
};

// A value field reads as the editable text it is, whatever its length. Qt's
// own reading of a line edit goes by its echo mode, and a field holding a
// pasted flood hides its text from Qt's layout that way (ValueEdit): Qt
// would call it a password field and give a screen reader no text.
class ValueEditAccessible final : public QAccessibleWidget,
                                  public QAccessibleTextInterface,
                                  public QAccessibleEditableTextInterface {
public:
    explicit ValueEditAccessible(ValueEdit *edit)
        : QAccessibleWidget(edit, QAccessible::EditableText)
    {
        addControllingSignal(QStringLiteral("textChanged(const QString&)"));
        addControllingSignal(QStringLiteral("returnPressed()"));
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return Edit()->text();
        return QAccessibleWidget::text(t);
    }

    void setText(QAccessible::Text t, const QString &text) override
    {
        if (t != QAccessible::Value) {
            QAccessibleWidget::setText(t, text);
            return;
        }
        if (!Edit()->isReadOnly())
            Edit()->setText(text);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (Edit()->isReadOnly())
            s.readOnly = true;
        else
            s.editable = true;
        s.selectableText = true;
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (t == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    // The text.
    QString text(int startOffset, int endOffset) const override
    {
        if (startOffset > endOffset || startOffset < 0)
            return {};
        return Edit()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Edit()->text().size()); }
    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = offset;
        return {};
    }
    // Where a character stands on the screen, for a magnifier: measured in
    // the field's font from where the field draws its cursor.
    QRect characterRect(int offset) const override
    {
        const QString all = Edit()->text();
        if (offset < 0 || offset >= all.size())
            return {};
        const int cursor = Edit()->cursorPosition();
        const QFontMetrics metrics(Edit()->font());
        const int shift = offset >= cursor ? metrics.horizontalAdvance(all.mid(cursor, offset - cursor))
                                           : -metrics.horizontalAdvance(all.mid(offset, cursor - offset));
        const QRect at = Edit()->CursorRect();
        const QRect rect(at.left() + shift, at.top(), metrics.horizontalAdvance(all[offset]), at.height());
        return QRect(Edit()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override
    {
        Edit()->setCursorPosition(endIndex);
        Edit()->setCursorPosition(startIndex);
    }

    // The selection: at most one.
    int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0 || !Edit()->hasSelectedText())
            return;
        *startOffset = Edit()->selectionStart();
        *endOffset = Edit()->selectionEnd();
    }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            Edit()->deselect();
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex == 0)
            Edit()->setSelection(startOffset, endOffset - startOffset);
    }

    // Changes, as typing would make them.
    void deleteText(int startOffset, int endOffset) override
    {
        replaceText(startOffset, endOffset, QString());
    }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        if (Edit()->isReadOnly() || startOffset < 0 || startOffset > endOffset)
            return;
        Edit()->setText(Edit()->text().replace(startOffset, endOffset - startOffset, text));
    }

private:
    ValueEdit *Edit() const { return static_cast<ValueEdit *>(widget()); }
};

// The pictures read as gauges, the value fields as the texts they hold; a
// plain container (the form, a panel) drops its decorations. Anything else
// is Qt's own business.
QAccessibleInterface *Factory(const QString &, QObject *object)
{
    if (auto *picture = qobject_cast<VesselPicture *>(object))
        return new VesselAccessible(picture);
    if (auto *edit = qobject_cast<ValueEdit *>(object))
        return new ValueEditAccessible(edit);
    if (object && object->metaObject() == &QWidget::staticMetaObject)
        return new SurfaceAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void InstallAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

void HideFromScreenReaders(QWidget *decoration)
{
    decoration->setProperty(kDecoration, true);
}

QString VesselDescription(const VesselPicture &picture)
{
    QString text = VesselName(picture) + QLatin1String(": ") + VesselReading(picture);
    if (picture.Marked())
        text += QString::fromUtf8(", выбран для переливания");
    return text;
}
