// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>

#include <array>

class MoveLog;
class MoveLogView;
class QLineEdit;
class QPushButton;
class QWidget;
class VesselPicture;

inline constexpr int kFormWidth = 642;
inline constexpr int kFormHeight = 448;

// The controls of the main form, each under its name at its place.
struct MainForm {
    QWidget *Form = nullptr;
    // The labels and the shelf line, behind the pictures.
    std::array<QWidget *, 3> BackLayer{};
    std::array<VesselPicture *, 3> Images{};
    // The first control that owns a window: the pictures stay below it.
    QWidget *FrontLayer = nullptr;
    // EditV1..3, EditVW1..3, EdRes: also the order of their tab stops.
    std::array<QLineEdit *, 7> Fields{};
    MoveLogView *ListView = nullptr;
    QPushButton *BtnUndo = nullptr;
    QPushButton *BtnBegin = nullptr;
    QPushButton *BtnXml = nullptr;
    QPushButton *BtnExit = nullptr;

    // The tab order: the fields, the buttons, the list.
    QList<QWidget *> TabOrder() const;
};

// Builds the form, a child of parent, showing the log in its list. Creation
// order is stacking order: the labels and the shelf line at the back, the
// pictures in front of them, every control that owns a window in front of
// all of those.
MainForm BuildMainForm(QWidget *parent, MoveLog &log);
