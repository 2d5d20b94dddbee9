// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "game.h"
#include "game_commands.h"
#include "main_form.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class BookCommands;
class DragGesture;
class KeyboardPour;
class LineEditCell;
class PourAnimation;
class PupilSaves;
class QLabel;
class RecordCheckCommand;
class ReplayCommand;
class RulesWindow;
class ScoreKeeper;
class SettingsFile;
class SolverCommands;
class TaskCodeCommands;
class TfrmTask;
class VesselPicture;
class WinCommands;
class WindowZoom;
class WorksheetCommand;

// The main window: the vessels, the seven value fields, the move log, the
// commands and the status hint. The game it plays lives outside it (Game);
// this class builds the form, binds its widgets to the puzzle and runs every
// handler through the puzzle's dispatch guard.
class TfrmMain final : public QMainWindow {
    Q_OBJECT

public:
    using GameMode = ::GameMode;

    explicit TfrmMain(Game &game, QWidget *parent = nullptr);
    ~TfrmMain() override;

    ::Puzzle &Puzzle() { return m_game.Puzzle(); }
    const ::Puzzle &Puzzle() const { return m_game.Puzzle(); }
    TfrmTask &TaskDialog();
    GameCommands &Commands() { return *m_commands; }
    BookCommands &Book() { return *m_book; }
    TaskCodeCommands &Codes() { return *m_codes; }
    WorksheetCommand &Worksheet() { return *m_worksheet; }
    ReplayCommand &Replay() { return *m_replay; }
    ScoreKeeper &Scores() { return *m_scores; }
    WinCommands &Wins() { return *m_wins; }
    PourAnimation &Animation() { return *m_animation; }
    SettingsFile &Settings() { return *m_settings; }
    // «Как играть»: made on first use; null until then.
    RulesWindow *Rules() const;
    // A lesson's pupil: their name in the title, their work in their file
    // in folder (an existing folder), saved without being asked.
    void SetPupil(const QString &name, const QString &folder);
    // Null but in a lesson with a pupil.
    PupilSaves *Pupil() const { return m_pupil; }
    GameMode Mode() const { return m_commands->Mode(); }

    void ShowActionHint(const QString &text);
    void SetInputMode(bool on);

    // The commands. Each runs through the dispatch guard itself: an error
    // ends it in the error box, and whatever called it goes on.
    void FormCreate();
    void MnuNewClick();
    void MnuTasksClick();
    void BtnBeginClick();
    void BtnUndoClick();
    void BtnRedoClick();
    // "Начать заново": a new attempt at the task.
    void BtnRestartClick();
    void BtnXmlClick();
    // "Записать как…": what "Запись результата" would write, to a file the
    // player chooses; later saves still go to sosudnik.xml.
    void MnuSaveAsClick();
    void BtnExitClick();
    // Starts the task written as C1,C2,C3/L1,L2,L3/T as if it had been chosen
    // in the task dialog; a bad code goes to the error box and changes nothing.
    void StartTaskCode(const std::string &code);
    void ShowRules();

    // Vessel display and the drag events, one handler for all three pictures.
    void DrawVessel(int n);
    void Image1StartDrag(VesselPicture *sender);
    bool FormDragOver(QWidget *sender, VesselPicture *source, QPoint pos);
    void Image1DragDrop(VesselPicture *sender, VesselPicture *source);
    void Image1EndDrag(VesselPicture *sender);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // In a lesson, unsaved pours are saved first.
    void closeEvent(QCloseEvent *event) override;

private:
    void SetupWidgets();
    // The puzzle's notices, all of the window's in one place.
    void ConnectPuzzle();
    void SetupDragGesture();
    void SetupMenus();
    // Returns the fixed-width panel, which the zoom scales.
    QWidget *SetupStatusBar();
    void SetupKeyboardPour();
    // A "&Масштаб" entry.
    void Zoom(const std::function<void()> &step);
    // «Вперед» and «Начать заново» follow the game: what there is to redo
    // and whether it is as it started.
    void FollowProgress();
    // The focus back on the move list, the window active: after a window
    // over the game closes.
    void BackToGame();
    // Runs a command whose pictures move eased (a pour, undo, redo).
    template <class Handler>
    void Eased(Handler &&handler)
    {
        m_easeDraws = true;
        Puzzle().Guard().Run(handler);
        m_easeDraws = false;
    }
    // Names that only a screen reader says.
    void SetupScreenReaderNames();
    // In a lesson, before the log loses its pours to a new game.
    void BeforeNewGame();

    // What the last run kept: the animation, the book's last task.
    void TakeUpSettings();

    // Runs a handler through the dispatch guard.
    template <class Handler>
    void Guarded(Handler &&handler)
    {
        Puzzle().Guard().Run(handler);
    }

    Game &m_game;
    GameCommands *m_commands = nullptr;
    // Read first: the window is built with what it holds.
    SettingsFile *m_settings = nullptr;
    SolverCommands *m_solver = nullptr;
    RecordCheckCommand *m_recordCheck = nullptr;
    ReplayCommand *m_replay = nullptr;
    ScoreKeeper *m_scores = nullptr;
    BookCommands *m_book = nullptr;
    TaskCodeCommands *m_codes = nullptr;
    WorksheetCommand *m_worksheet = nullptr;
    WinCommands *m_wins = nullptr;
    PupilSaves *m_pupil = nullptr;
    MainForm m_f;
    // The puzzle's view of the seven fields, in the order of MainForm::Fields.
    std::array<std::unique_ptr<LineEditCell>, 7> m_cells;
    QLabel *m_hint = nullptr;
    KeyboardPour *m_keyPour = nullptr;
    DragGesture *m_drag = nullptr;
    PourAnimation *m_animation = nullptr;
    // Whether the vessels drawn now were moved by a pour, an undo or a redo.
    bool m_easeDraws = false;
    WindowZoom *m_zoom = nullptr;
    QPointer<TfrmTask> m_frmTask;
    QPointer<RulesWindow> m_rules;
    std::vector<Subscription> m_puzzleNotices;
};
