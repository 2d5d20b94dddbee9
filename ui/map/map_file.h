// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "task_presets.h"

#include <QByteArray>

#include <optional>
#include <stdexcept>
#include <string_view>

class PourMap;
class QPainter;
class QRectF;

// The map of a task as a file: a heading with the task's code and the
// length of its shortest solution (or why it has none), and the map with
// that solution drawn on it.
enum class MapFileFormat { Png, Svg, Pdf };

// By the name's extension, in any case: .png, .svg, .pdf; none for another.
std::optional<MapFileFormat> MapFileFormatOf(std::string_view path);

// Why a map's file could not be made: a Russian sentence.
class MapFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file's bytes. Needs a QGuiApplication (for the fonts), a display none.
// An SVG comes from the lazy library "svg" (svg_module.h); throws
// MapFileError when it cannot be opened.
QByteArray MapFileBytes(const TaskPreset &task, MapFileFormat format);

// The heading and the map, onto any painter, in rect; pixel is the device
// units to one pixel of the look.
void PaintMapSheet(QPainter &painter, const QRectF &rect, const PourMap &map, qreal pixel);
