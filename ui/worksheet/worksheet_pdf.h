// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "worksheet.h"

#include <QByteArray>

#include <atomic>
#include <functional>
#include <optional>
#include <string>

class QPainter;
class QRectF;

// A worksheet on A4 paper, in Russian: for each variant the pupils' pages,
// each task whole on one page with its drawing and an empty table of pours;
// then the answer key. Paints with QPdfWriter, so it needs a QGuiApplication
// (the offscreen platform will do) and may run on any thread.

// Draws a task's map beside its answer in the key. The key leaves room for
// it only when one is given.
using KeyMapPainter = std::function<void(QPainter &painter, const QRectF &area, const SheetTask &task)>;

// The task's map with its shortest solution, as «Карта переливаний» draws it,
// fitted into area: what the key shows unless told otherwise.
void PaintKeyMap(QPainter &painter, const QRectF &area, const SheetTask &task);

// How far the painting is, and a request to stop it, shared with the thread
// that paints.
struct WorksheetProgress {
    std::atomic<int> Pages{0}; // painted so far
    std::atomic<int> Total{0}; // every page of every file, once laid out
    std::atomic<bool> Stop{false};
};

struct WorksheetPdfs {
    // The pupils' pages, and the key's after them unless it has its own file.
    QByteArray Sheet;
    QByteArray Key; // empty unless apart
    int SheetPages = 0;
    int KeyPages = 0;
};

// The files' bytes; nothing when stopped. The same sheet gives the same text
// wherever the same fonts are installed.
std::optional<WorksheetPdfs> PaintWorksheet(const Worksheet &sheet, bool keyApart,
    WorksheetProgress *progress = nullptr, const KeyMapPainter &map = PaintKeyMap);

// Where the files go: the key apart only when named.
struct WorksheetPaths {
    std::string Sheet;
    std::string Key;
};

// Paints and writes them, each by a temporary file beside it renamed over
// the old one (an existing file is never written in place). Throws
// SaveFailure naming the file and the cause; nothing when stopped.
std::optional<WorksheetPdfs> WriteWorksheet(const Worksheet &sheet, const WorksheetPaths &paths,
    WorksheetProgress *progress = nullptr, const KeyMapPainter &map = PaintKeyMap);
