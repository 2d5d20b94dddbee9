// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

class QString;
class QWidget;
class VesselPicture;

// What a screen reader finds in the windows: each vessel as a named value
// with its level in words, and no empty objects for what only decorates.

// Once per application, before a screen reader first reads a window.
void InstallAccessibility();

// Keeps a widget that only decorates (a line, a frame) out of its parent's
// accessible children.
void HideFromScreenReaders(QWidget *decoration);

// "Сосуд 1: 5 из 12", and whether it is marked as the source of a pour.
QString VesselDescription(const VesselPicture &picture);
