// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QList>
#include <QString>

#include <functional>

// One square embedded PNG of an icon: its path, its width in pixels and the
// device pixels per form pixel it is drawn for.
struct IconFile {
    QString Path;
    int Pixels;
    qreal Ratio = 1.0;
};

// The icon QIcon would make of these PNGs (smallest first), read when first
// drawn (from their raw twins where embedded: EmbeddedPicture in
// appearance.h), and only as far as the size drawn needs: a glyph drawn at 16
// pixels never reads its 32-pixel picture, one never shown reads nothing.
QIcon LazyPngIcon(const QList<IconFile> &files);

// The icon `make` returns, made when first drawn or measured: for icons that
// Qt would read from files, guessing their format, while a window is built.
QIcon DeferredIcon(std::function<QIcon()> make);
