// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "puzzle.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <string>

class DragGesture;
class KeyboardPour;
class LineEditCell;
class MessageBoxes;
class MoveLogModel;
class MoveLogView;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class ResultWriter;
class TfrmTask;
class VesselPicture;

// The main window: the vessels, the seven value fields, the move log, the
// commands and the status hint. The puzzle itself lives in Puzzle; this
// class binds widgets to it and runs every handler through its guard.
class TfrmMain final : public QMainWindow {
public:
    // Before any game, typing a puzzle in, pouring.
    enum class GameMode { None, Input, Play };

    explicit TfrmMain(MessageBoxes &boxes, QWidget *parent = nullptr);
    ~TfrmMain() override;

    Puzzle &Model() { return m_puzzle; }
    const Puzzle &Model() const { return m_puzzle; }
    TfrmTask &TaskDialog() { return *m_frmTask; }

    void ShowActionHint(const QString &text);
    void SetInputMode(bool on);
    GameMode Mode() const { return m_mode; }

    // Commands.
    void FormCreate();
    void MnuNewClick();
    void MnuTasksClick();
    void BtnBeginClick();
    void BtnUndoClick();
    void BtnXmlClick();
    void BtnExitClick();
    // The solver's commands in "&Игра"; none of them changes the puzzle.
    void MnuHintClick();
    void MnuSolutionClick();
    void MnuCheckClick();
    // Starts the task written as C1,C2,C3/L1,L2,L3/T as if it had been chosen
    // in the task dialog; a bad code goes to the error box and changes nothing.
    void StartTaskCode(const std::string &code);

    // Vessel display and the drag events, one handler for all three pictures.
    void DrawVessel(int n);
    void Image1StartDrag(VesselPicture *sender);
    bool FormDragOver(QWidget *sender, VesselPicture *source, QPoint pos);
    void Image1DragDrop(VesselPicture *sender, VesselPicture *source);
    void Image1EndDrag(VesselPicture *sender);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void SetupWidgets();
    void SetupBackLayer();
    void SetupValueFields();
    void SetupMoveLog();
    void SetupButtons();
    void SetupDragGesture();
    void SetupMenus();
    void SetupSolverCommands();
    void SetupStatusBar();
    void SetupTabOrder();
    void ConnectHandlers();
    // The "&Игра" entries for the keyboard and the pour by digits.
    void SetupKeyboardCommands();
    // Names that only a screen reader says.
    void SetupScreenReaderNames();
    // Keeps the "&Игра" entries in step with the mode.
    void UpdateCommands();
    void UpdateSolverCommands();

    // Runs a handler through the dispatch guard.
    template <class Handler>
    void Guarded(Handler &&handler)
    {
        m_puzzle.Guard().Run(handler);
    }

    MessageBoxes &m_boxes;
    Puzzle m_puzzle;
    std::unique_ptr<ResultWriter> m_xmldoc;

    QWidget *m_form = nullptr;
    std::array<VesselPicture *, 3> m_images{};
    std::array<std::unique_ptr<LineEditCell>, 7> m_cells;
    std::array<QWidget *, 3> m_backLayer{}; // the labels and the shelf line behind the pictures
    QWidget *m_frontLayer = nullptr;        // the first control that owns a window
    MoveLogModel *m_logModel = nullptr;
    MoveLogView *m_listView = nullptr;
    QPushButton *m_btnBegin = nullptr;
    QPushButton *m_btnXml = nullptr;
    QPushButton *m_btnUndo = nullptr;
    QPushButton *m_btnExit = nullptr;
    QLabel *m_hint = nullptr;
    QMenu *m_mnuGame = nullptr;
    QAction *m_mnuHint = nullptr;
    QAction *m_mnuSolution = nullptr;
    QAction *m_mnuCheck = nullptr;
    QAction *m_mnuXml = nullptr;
    QMenu *m_mnuPour = nullptr;
    KeyboardPour *m_keyPour = nullptr;
    GameMode m_mode = GameMode::None;
    DragGesture *m_drag = nullptr;
    std::unique_ptr<TfrmTask> m_frmTask;
};
