// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "lazy_icon.h"

#include "appearance.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPaintDevice>

namespace {

// Every request goes to the icon Qt makes of the files; a request no larger
// than the smallest file, for a screen of no more than its ratio, goes to one
// made of that file alone: whether Qt prefers the file of the screen's ratio
// (Qt 6) or the smallest at least as large as asked (earlier), it takes that
// file for such a request anyway.
class LazyPngIconEngine final : public QIconEngine {
public:
    explicit LazyPngIconEngine(const QList<IconFile> &files)
        : m_files(files)
    {
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // As QIcon asks it: size in device pixels, for a screen of `scale`.
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        const QIcon &icon = IconFor(size, scale);
        if (!(scale > 1.0))
            return icon.pixmap(size, 1.0, mode, state);
        // QIcon passes the size times the scale on to its engine.
        return icon.pixmap((QSizeF(size) / scale).toSize(), scale, mode, state);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QPaintDevice *device = painter->device();
        const qreal scale = device ? device->devicePixelRatio() : qApp->devicePixelRatio();
        painter->drawPixmap(rect, scaledPixmap(rect.size() * scale, mode, state, scale));
    }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return pixmap(size, mode, state).size();
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Full().availableSizes(mode, state);
    }

    // Asked as buttons are laid out: answered without reading a file.
    bool isNull() override { return m_files.isEmpty(); }
    QString key() const override { return QStringLiteral("LazyPngIconEngine"); }
    QIconEngine *clone() const override { return new LazyPngIconEngine(*this); }

private:
    const QIcon &IconFor(const QSize &size, qreal scale)
    {
        if (m_files.isEmpty())
            return m_full;
        const IconFile &smallest = m_files.front();
        if (size.width() <= smallest.Pixels && size.height() <= smallest.Pixels && scale <= smallest.Ratio)
            return Made(m_smallest, 1);
        return Full();
    }

    const QIcon &Full() { return Made(m_full, m_files.size()); }

    const QIcon &Made(QIcon &icon, qsizetype files)
    {
        if (icon.isNull()) {
            for (qsizetype i = 0; i < files; ++i)
                icon.addPixmap(EmbeddedPng(m_files[i].Path, m_files[i].Ratio));
        }
        return icon;
    }

    QList<IconFile> m_files;
    QIcon m_smallest; // of the first file
    QIcon m_full;
};

} // namespace

QIcon LazyPngIcon(const QList<IconFile> &files)
{
    return QIcon(new LazyPngIconEngine(files));
}
