// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "form_scale.h"
#include "main_form.h"

#include <QObject>

#include <optional>

class QMainWindow;

// The main window drawn at a scale: the form with its fonts, pictures and
// list, the menu bar and the status bar together; the window takes the
// scaled size and keeps its fixed border. At scale 1 nothing is touched.
// Also the "&Масштаб" commands.
class WindowZoom final : public QObject {
    Q_OBJECT

public:
    // Remembers the window as built, at scale 1. captionPanel: the status
    // bar's fixed-width panel; sourceMark: the keyboard pour's frame, which
    // follows its picture rather than the scale.
    WindowZoom(QMainWindow *window, const MainForm &form, QWidget *captionPanel, const QWidget *sourceMark);

    // The scale kept from the last run, or 1; where the window does not fit
    // its screen at that, the largest scale that does.
    void FitAtStart(std::optional<qreal> kept = std::nullopt);
    // Once the window manager has framed the window: smaller, if that frame
    // no longer fits at the scale the start chose.
    void Framed();

    void Larger(); // "Крупнее": a step up, no larger than the screen
    void Smaller(); // "Мельче"
    void Normal(); // "Обычный размер"
    void FillScreen(); // "По размеру экрана"

    void Apply(qreal scale);

private:
    // The largest scale at which the window fits its screen now.
    qreal Fitting() const;

    QMainWindow *m_window;
    MainForm m_form;
    QWidget *m_captionPanel;
    ScaledWidgets m_widgets;
    QList<int> m_columnWidths;
    QSize m_iconSize;
    int m_menuHeight = 0;
    int m_statusHeight = 0;
    int m_panelWidth = 0;
    bool m_chosenAtStart = true;
};
