// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "lazy_icon.h"

#include "appearance.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPaintDevice>

#include <functional>
#include <utility>

namespace {

// Whether QIcon hands an engine's scaledPixmap the size in device pixels
// (as Qt 6.4 does) or in form pixels (as Qt 6.11 does): asked once of a probe engine,
// so the answer is right whatever version the game runs on.
class SizeProbeEngine final : public QIconEngine {
public:
    explicit SizeProbeEngine(QSize *seen)
        : m_seen(seen)
    {
    }
    void paint(QPainter *, const QRect &, QIcon::Mode, QIcon::State) override {}
    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        *m_seen = size;
        return QPixmap();
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode, QIcon::State, qreal) override
    {
        *m_seen = size;
        return QPixmap();
    }
    QIconEngine *clone() const override { return new SizeProbeEngine(m_seen); }

private:
    QSize *m_seen;
};

bool ScaledSizeInDevicePixels()
{
    static const bool device = [] {
        QSize seen;
        QIcon(new SizeProbeEngine(&seen)).pixmap(QSize(10, 10), 2.0);
        return seen.width() == 20;
    }();
    return device;
}

// A request QIcon handed an engine as `size` at `scale`: its size in device
// and in form pixels, and the scale to pass on (never below 1).
struct Request {
    QSize Device;
    QSize Form;
    qreal Scale;
};

Request AsAsked(const QSize &size, qreal scale)
{
    if (!(scale > 1.0))
        return {size, size, 1.0};
    if (ScaledSizeInDevicePixels())
        return {size, (QSizeF(size) / scale).toSize(), scale};
    return {(QSizeF(size) * scale).toSize(), size, scale};
}

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

    // As QIcon asks it, for a screen of `scale`; see ScaledSizeInDevicePixels.
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        const Request asked = AsAsked(size, scale);
        return IconFor(asked.Device, asked.Scale).pixmap(asked.Form, asked.Scale, mode, state);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QPaintDevice *device = painter->device();
        const qreal scale = device ? device->devicePixelRatio() : qApp->devicePixelRatio();
        const QSize devicePixels = rect.size() * scale;
        const QSize asked = scale > 1.0 && !ScaledSizeInDevicePixels() ? rect.size() : devicePixels;
        painter->drawPixmap(rect, scaledPixmap(asked, mode, state, scale));
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
    // `size` in device pixels.
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
                icon.addPixmap(EmbeddedPicture(m_files[i].Path, m_files[i].Pixels, m_files[i].Ratio));
        }
        return icon;
    }

    QList<IconFile> m_files;
    QIcon m_smallest; // of the first file
    QIcon m_full;
};

// An icon made by `make` when it is first drawn or measured; until then
// only "not null" is answered.
class DeferredIconEngine final : public QIconEngine {
public:
    explicit DeferredIconEngine(std::function<QIcon()> make)
        : m_make(std::move(make))
    {
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return Made().pixmap(size, 1.0, mode, state);
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        const Request asked = AsAsked(size, scale);
        return Made().pixmap(asked.Form, asked.Scale, mode, state);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        Made().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return Made().actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Made().availableSizes(mode, state);
    }

    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }
    QIconEngine *clone() const override { return new DeferredIconEngine(*this); }

private:
    const QIcon &Made()
    {
        if (m_make) {
            m_icon = m_make();
            m_make = nullptr;
        }
        return m_icon;
    }

    std::function<QIcon()> m_make;
    QIcon m_icon;
};

} // namespace

QIcon LazyPngIcon(const QList<IconFile> &files)
{
    return QIcon(new LazyPngIconEngine(files));
}

QIcon DeferredIcon(std::function<QIcon()> make)
{
    return QIcon(new DeferredIconEngine(std::move(make)));
}
