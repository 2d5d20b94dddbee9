// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

class QIODevice;
class QPainter;
class QSizeF;
class QString;

// The map's SVG writer lives in a module of its own, sosudnik-svg.so, which
// `sosudnik --map` loads for an .svg file only: the game never loads Qt SVG
// at start. The module paints with `paint(painter, context)` onto an SVG
// document of `size` (in its own units, a viewBox as large) and writes it
// to `out`; false when it could not.
using PaintSvgFunction = bool (*)(QIODevice *out, const QSizeF *size, const QString *title,
                                  const QString *description, void (*paint)(QPainter *painter, void *context),
                                  void *context);
inline constexpr const char *kPaintSvgSymbol = "SosudnikPaintSvg";
inline constexpr const char *kSvgModuleName = "sosudnik-svg.so";
