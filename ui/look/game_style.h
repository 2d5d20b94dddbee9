// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QProxyStyle>

// The platform's style, unchanged to the eye. Only the menu bar's extension
// glyph, which Qt reads from its own PNGs while the menu bar is being built,
// is read as PNG outright: left to guess the format, Qt would load every
// image plugin on disk at start-up.
class GameStyle final : public QProxyStyle {
    Q_OBJECT

public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
