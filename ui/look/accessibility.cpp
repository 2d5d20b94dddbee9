// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "accessibility.h"

#include "vessel_picture.h"

#include <QAccessibleWidget>
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

// The pictures read as gauges; a plain container (the form, a panel) drops
// its decorations. Anything else is Qt's own business.
QAccessibleInterface *Factory(const QString &, QObject *object)
{
    if (auto *picture = qobject_cast<VesselPicture *>(object))
        return new VesselAccessible(picture);
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
