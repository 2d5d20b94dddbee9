// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "tfrmmain.h"

#include "accessibility.h"
#include "appearance.h"
#include "book_commands.h"
#include "classic_widgets.h"
#include "drag_gesture.h"
#include "enter_key.h"
#include "form_scale.h"
#include "game_palette.h"
#include "keyboard_pour.h"
#include "line_edit_cell.h"
#include "main_menu.h"
#include "map_commands.h"
#include "message_boxes.h"
#include "move_log_model.h"
#include "placement.h"
#include "pour_animation.h"
#include "pupil_saves.h"
#include "record_check_command.h"
#include "replay_command.h"
#include "rules_window.h"
#include "score_keeper.h"
#include "settings_file.h"
#include "solver_commands.h"
#include "task_code_commands.h"
#include "task_code.h"
#include "tfrmtask.h"
#include "vessel_picture.h"
#include "win_commands.h"
#include "window_zoom.h"
#include "worksheet_command.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>

namespace {

using Command = GameCommands::Command;

const char *const kHintStart = "Выберите новые Данные или предложенные Задачи";
const char *const kHintInput = "Ввести объемы сосудов, уровни - целые числа от 0 до 999 и начать переливание";
const char *const kHintPlay = "Переливать следует методом \"перенеси и брось\", а как - смотрите заголовок";

constexpr int kStatusHeight = 25;
// The target's field, after the three capacities and the three levels.
constexpr std::size_t kTargetField = 6;

std::size_t Vessel(int n)
{
    return static_cast<std::size_t>(n - 1);
}

} // namespace

TfrmMain::TfrmMain(Game &game, QWidget *parent)
    : QMainWindow(parent)
    , m_game(game)
    , m_commands(new GameCommands(this))
    , m_settings(new SettingsFile(this))
{
    m_settings->Load();
    InstallAccessibility();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromUtf8(kAppTitle));
    setWindowIcon(AppIcon());
    setFont(UiFont(8));

    SetupWidgets();
    SetupMenus();
    QWidget *captionPanel = SetupStatusBar();
    const QList<QWidget *> order = m_f.TabOrder();
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    SetupScreenReaderNames();
    ConnectPuzzle();
    TakeUpSettings();

    // Fixed: the form, the menu bar above it and the status bar below.
    setFixedSize(kFormWidth, menuBar()->sizeHint().height() + kFormHeight + kStatusHeight);
    move(206, 133);
    UseGamePalette(this);
    m_zoom = new WindowZoom(this, m_f, captionPanel, m_keyPour->Frame());
    m_zoom->FitAtStart(m_settings->Values().Scale);
    KeepOnScreen(this, [this] { m_zoom->Framed(); });

    FormCreate();
    m_frmTask = new TfrmTask(this);
}

TfrmMain::~TfrmMain()
{
    // The game outlives the window: leave it nothing that points back here.
    // (The notices leave with m_puzzleNotices.)
    for (auto &cell : m_cells)
        Puzzle().DetachCell(*cell);
}

TfrmTask &TfrmMain::TaskDialog()
{
    return *m_frmTask;
}

void TfrmMain::SetupWidgets()
{
    m_f = BuildMainForm(this, Puzzle().Log());
    setCentralWidget(m_f.Form);

    for (std::size_t i = 0; i < m_f.Fields.size(); ++i) {
        QLineEdit *edit = m_f.Fields[i];
        m_cells[i] = std::make_unique<LineEditCell>(edit, i == kTargetField ? 0 : static_cast<int>(i % 3) + 1);
        m_commands->Bind(Command::Values, edit);
        Puzzle().AttachCell(*m_cells[i]);
    }
    m_commands->Connect(Command::Begin, m_f.BtnBegin, [this] { BtnBeginClick(); });
    m_commands->Connect(Command::Undo, m_f.BtnUndo, [this] { BtnUndoClick(); });
    m_commands->Connect(Command::Save, m_f.BtnXml, [this] { BtnXmlClick(); });
    // The close kind of button closes its window itself.
    m_commands->Connect(Command::Exit, m_f.BtnExit, [this] { close(); });

    SetupDragGesture();
    m_animation = new PourAnimation(m_f.Images, this);
    m_commands->SetAnimationForcedOff(PourAnimation::ForcedOff());
}

void TfrmMain::ConnectPuzzle()
{
    ::Puzzle &puzzle = Puzzle();
    m_puzzleNotices.push_back(puzzle.VesselChangedNotice().Subscribe([this](int n) { DrawVessel(n); }));
    m_puzzleNotices.push_back(puzzle.CapacityChangedNotice().Subscribe([this](int n) {
        const VesselState &s = Puzzle().State();
        m_f.Images[Vessel(n)]->SetReading(s.Capacity(n), s.Level(n));
    }));
    m_puzzleNotices.push_back(puzzle.GoalMetNotice().Subscribe([this] { m_scores->GoalMet(); }));
    m_puzzleNotices.push_back(puzzle.LogChangedNotice().Subscribe([this] { FollowProgress(); }));
    m_puzzleNotices.push_back(puzzle.GoalAnnouncedNotice().Subscribe([this] {
        FollowProgress();
        m_wins->GoalAnnounced();
    }));
}

void TfrmMain::FollowProgress()
{
    m_commands->SetProgress({Puzzle().RedoCount() > 0, !Puzzle().AsStarted()});
}

void TfrmMain::BackToGame()
{
    activateWindow();
    m_f.ListView->setFocus();
}

void TfrmMain::SetupDragGesture()
{
    DragGesture::Handlers handlers;
    handlers.MayStart = [this] { return m_commands->MayRun(Command::Pour); };
    handlers.StartDrag = [this](VesselPicture *sender) { Image1StartDrag(sender); };
    handlers.DragOver = [this](QWidget *sender, VesselPicture *source, QPoint pos) {
        return FormDragOver(sender, source, pos);
    };
    handlers.DragDrop = [this](VesselPicture *sender, VesselPicture *source) { Image1DragDrop(sender, source); };
    handlers.EndDrag = [this](VesselPicture *sender) { Image1EndDrag(sender); };

    // Found under the pointer, these are the form itself.
    std::vector<QWidget *> formLayer(m_f.BackLayer.begin(), m_f.BackLayer.end());
    formLayer.insert(formLayer.end(), {m_f.Form, this, menuBar()});
    m_drag = new DragGesture(m_f.Form, m_f.Images, formLayer, handlers);
}

void TfrmMain::SetupMenus()
{
    SetupKeyboardPour();
    const auto start = [this](const std::string &code) { StartTaskCode(code); };
    m_solver = new SolverCommands(Puzzle(), *m_commands, m_game.Boxes(), this);
    m_recordCheck = new RecordCheckCommand(Puzzle(), *m_commands, m_game.Boxes(), *m_settings, this);
    m_replay = new ReplayCommand(Puzzle(), *m_commands, this);
    m_scores = new ScoreKeeper(Puzzle(), m_game.Boxes(), this);
    m_book = new BookCommands(*m_commands, *m_scores, this, start);
    m_codes = new TaskCodeCommands(Puzzle(), *m_commands, m_game.Boxes(), this, start);
    m_worksheet = new WorksheetCommand(Puzzle(), *m_commands, this);
    m_solver->ShowBestWith([this] { return m_scores->BestLine(); });
    WinCommands::Actions wins;
    wins.Start = start;
    wins.StartBookTask = [this](int index) { m_book->Start(index); };
    wins.Random = [this](int level) { Guarded([&] { m_codes->RandomTask(level); }); };
    wins.RandomLevel = [this](const std::string &code) { return m_codes->RandomLevel(code); };
    wins.Again = [this] {
        if (m_commands->MayRun(Command::Restart))
            BtnRestartClick();
    };
    wins.BackToGame = [this] { BackToGame(); };
    m_wins = new WinCommands(Puzzle(), *m_commands, *m_scores, this, wins);

    MainMenuHandlers handlers;
    handlers.New = [this] { MnuNewClick(); };
    handlers.Exit = [this] { BtnExitClick(); };
    handlers.Tasks = [this] { MnuTasksClick(); };
    handlers.Undo = [this] { BtnUndoClick(); };
    handlers.Save = [this] { BtnXmlClick(); };
    handlers.SaveAs = [this] { MnuSaveAsClick(); };
    handlers.Pour = [this](int source, int receiver) { m_keyPour->Pour(source, receiver); };
    handlers.Hint = [this] { Guarded([this] { m_solver->Hint(); }); };
    handlers.Solution = [this] { Guarded([this] { m_solver->ShowSolution(); }); };
    handlers.Check = [this] { Guarded([this] { m_solver->CheckTask(); }); };
    handlers.CheckRecords = [this] { Guarded([this] { m_recordCheck->Run(); }); };
    handlers.Replay = [this] { Guarded([this] { m_replay->Run(); }); };
    handlers.ZoomIn = [this] { Zoom([this] { m_zoom->Larger(); }); };
    handlers.ZoomOut = [this] { Zoom([this] { m_zoom->Smaller(); }); };
    handlers.ZoomNormal = [this] { Zoom([this] { m_zoom->Normal(); }); };
    handlers.ZoomFill = [this] { Zoom([this] { m_zoom->FillScreen(); }); };
    handlers.Redo = [this] { BtnRedoClick(); };
    handlers.Restart = [this] { BtnRestartClick(); };
    handlers.Book = [this] { Guarded([this] { m_book->OpenBook(); }); };
    handlers.RandomTask = [this](int level) { Guarded([&] { m_codes->RandomTask(level); }); };
    handlers.CopyCode = [this] { Guarded([this] { m_codes->CopyCode(); }); };
    handlers.EnterCode = [this] { Guarded([this] { m_codes->EnterCode(); }); };
    handlers.Rules = [this] { ShowRules(); };
    handlers.Worksheet = [this] { Guarded([this] { m_worksheet->Open(); }); };
    handlers.Scores = [this] { Guarded([this] { m_wins->ShowScores(); }); };
    handlers.Animation = [this] {
        Guarded([this] {
            m_animation->SetOn(!m_animation->On());
            m_settings->SetAnimation(m_animation->On());
        });
    };
    handlers.AnimationOn = [this] { return m_animation->On(); };
    (new MapCommands(Puzzle(), *m_commands, this))->AddHandlers(handlers);
    BuildMainMenu(menuBar(), *m_commands, handlers);
}

void TfrmMain::Zoom(const std::function<void()> &step)
{
    Guarded([&] {
        // The source's mark is drawn for the picture's place at the old scale.
        m_keyPour->Mark(0);
        step();
        m_settings->SetScale(FormScale());
    });
}

void TfrmMain::TakeUpSettings()
{
    const ::Settings &kept = m_settings->Values();
    m_animation->SetOn(kept.Animation);
    menuBar()->findChild<QAction *>(QStringLiteral("MnuAnimation"))->setChecked(m_animation->On());
    m_book->SetLastPlayed(kept.BookTask);
    m_book->OnPlayed([this](const std::string &code) { m_settings->SetBookTask(code); });
}

void TfrmMain::SetupKeyboardPour()
{
    // A pour from the keyboard is a drop of the source on the receiver.
    const auto drop = [this](int source, int receiver) {
        Image1DragDrop(m_f.Images[Vessel(receiver)], m_f.Images[Vessel(source)]);
    };
    m_keyPour = new KeyboardPour(this, m_f.Images, [this] { return m_commands->MayRun(Command::Pour); }, drop);
    m_keyPour->Watch(m_f.ListView);
    m_commands->OnModeChanged([this](GameMode) { m_keyPour->Mark(0); });
}

QWidget *TfrmMain::SetupStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(kStatusHeight);
    bar->setFont(UiFont(8, true));
    bar->setAutoFillBackground(true);
    const StatusPanels panels = AddStatusPanels(bar, QString::fromUtf8(" Подсказка действия :"), 135);
    m_hint = panels.Hint;
    return panels.Caption;
}

void TfrmMain::SetupScreenReaderNames()
{
    const char *names[] = {"Объем сосуда 1",  "Объем сосуда 2",  "Объем сосуда 3",  "Уровень сосуда 1",
                           "Уровень сосуда 2", "Уровень сосуда 3", "Получить уровень"};
    for (std::size_t i = 0; i < m_f.Fields.size(); ++i)
        m_f.Fields[i]->setAccessibleName(QString::fromUtf8(names[i]));
    m_f.ListView->setAccessibleName(QString::fromUtf8("Ход переливаний"));
    HideFromScreenReaders(m_f.BackLayer[2]); // the shelf line
}

void TfrmMain::ShowActionHint(const QString &text)
{
    m_hint->setText(QLatin1Char(' ') + text);
}

void TfrmMain::SetInputMode(bool on)
{
    if (on) {
        for (int n = 1; n <= 3; ++n)
            Puzzle().Field("EditV", n).SetText("");
        Puzzle().Field("EdRes").SetText("");
    }
    // The fields, the buttons, the drag and the menus follow the mode.
    m_commands->SetMode(on ? GameMode::Input : GameMode::Play);
}

void TfrmMain::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the focused button, as in a dialog. Not a held Enter:
    // it may have been meant for the message box that just closed.
    if (QPushButton *button = ButtonForEnter(this, event)) {
        if (!event->isAutoRepeat())
            button->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TfrmMain::FormCreate()
{
    Guarded([this] {
        Puzzle().ResetAll();
        ShowActionHint(QString::fromUtf8(kHintStart));
    });
}

void TfrmMain::MnuNewClick()
{
    Guarded([this] {
        m_wins->Dismiss();
        BeforeNewGame();
        ShowActionHint(QString::fromUtf8(kHintInput));
        Puzzle().ResetAll();
        SetInputMode(true);
        m_f.Fields[0]->setFocus();
    });
}

void TfrmMain::MnuTasksClick()
{
    Guarded([this] {
        if (m_frmTask->exec() != TfrmTask::kResultOk)
            return;
        BeforeNewGame();
        Puzzle().LoadTask(TaskPresets[static_cast<std::size_t>(m_frmTask->ActivePage())]);
        BtnBeginClick();
    });
}

void TfrmMain::BtnBeginClick()
{
    Guarded([this] {
        m_wins->Dismiss();
        ShowActionHint(QString::fromUtf8(kHintPlay));
        SetInputMode(false);
        Puzzle().AppendMoveRow();
        // The button just turned grey and would pass the focus on to "Выход",
        // where one more Enter would end the game. The list is where the
        // digits pour and the arrows move.
        m_f.ListView->setFocus();
    });
}

void TfrmMain::BtnUndoClick()
{
    Eased([this] {
        m_keyPour->Mark(0);
        Puzzle().BtnUndoClick();
    });
}

void TfrmMain::BtnRedoClick()
{
    Eased([this] {
        m_keyPour->Mark(0);
        Puzzle().Redo();
    });
}

void TfrmMain::BtnRestartClick()
{
    Eased([this] {
        m_wins->Dismiss();
        BeforeNewGame();
        m_keyPour->Mark(0);
        Puzzle().Restart();
        m_f.ListView->setFocus();
    });
}

void TfrmMain::BtnXmlClick()
{
    Guarded([this] {
        m_f.ListView->CommitOpenEditor();
        if (m_pupil)
            m_pupil->Save(PupilSaves::Why::Asked);
        else
            WriteResult(m_game.Xmldoc(), Puzzle().Log(), m_game.Boxes());
    });
}

void TfrmMain::MnuSaveAsClick()
{
    Guarded([this] {
        m_f.ListView->CommitOpenEditor();
        QFileDialog dialog(this, QString::fromUtf8("Записать как"));
        dialog.setObjectName(QStringLiteral("SaveAsDialog"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(QString::fromUtf8("Записи ходов (*.xml)"));
        dialog.setDefaultSuffix(QStringLiteral("xml"));
        dialog.setDirectory(m_settings->StartFolder(QStringLiteral("save")));
        dialog.selectFile(QString::fromUtf8(kResultFileName));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        const QString path = dialog.selectedFiles().constFirst();
        m_settings->SetFolder(QStringLiteral("save"), QFileInfo(path).absolutePath());
        WriteResultCopy(m_game.Xmldoc(), Puzzle().Log(), QFile::encodeName(path).toStdString(),
                        QFileInfo(path).fileName().toStdString(), m_game.Boxes());
    });
}

void TfrmMain::SetPupil(const QString &name, const QString &folder)
{
    setWindowTitle(QString::fromUtf8(kAppTitle) + QString::fromUtf8(" — ") + name);
    m_pupil = new PupilSaves(Puzzle(), m_game.Xmldoc(), m_game.Boxes(), folder, name, this);
}

void TfrmMain::BeforeNewGame()
{
    if (m_pupil)
        m_pupil->BeforeNewGame();
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (m_pupil && !m_pupil->MayClose([this] { close(); })) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TfrmMain::BtnExitClick()
{
    Guarded([this] { close(); });
}

void TfrmMain::StartTaskCode(const std::string &code)
{
    Guarded([&] {
        const TaskPreset task = ParseTaskCode(code);
        BeforeNewGame();
        Puzzle().LoadTask(task);
        BtnBeginClick();
    });
}

void TfrmMain::ShowRules()
{
    Guarded([this] {
        if (!m_rules)
            m_rules = new RulesWindow(m_commands->Answers(), this);
        m_rules->show();
        m_rules->raise();
        m_rules->activateWindow();
    });
}

void TfrmMain::DrawVessel(int n)
{
    Guarded([&] {
        const VesselState &s = Puzzle().State();
        m_animation->Draw(n, s.Capacity(n), s.Level(n), m_easeDraws);
    });
}

void TfrmMain::Image1StartDrag(VesselPicture *sender)
{
    Guarded([&] {
        m_commands->SetDragging(true);
        // The others go in front, so the control found under the pointer is
        // another picture whenever the pointer is over one, though the
        // dragged picture is centred on it. They stay below every windowed
        // control.
        for (VesselPicture *picture : m_f.Images) {
            if (picture != sender)
                picture->stackUnder(m_f.FrontLayer);
        }
        Puzzle().State().DragOriginLeft() = sender->x();
        Puzzle().State().DragOriginTop() = sender->y();
    });
}

bool TfrmMain::FormDragOver(QWidget *sender, VesselPicture *source, QPoint pos)
{
    bool accept = false;
    Guarded([&] {
        int x = pos.x();
        int y = pos.y();
        if (auto *picture = qobject_cast<VesselPicture *>(sender)) {
            x += picture->x();
            y += picture->y();
            accept = picture != source;
        }
        source->move(x - source->width() / 2, y - source->height() / 2);
    });
    return accept;
}

void TfrmMain::Image1DragDrop(VesselPicture *sender, VesselPicture *source)
{
    Eased([&] { Puzzle().Pour(source->Tag(), sender->Tag()); });
}

void TfrmMain::Image1EndDrag(VesselPicture *sender)
{
    Guarded([&] {
        m_commands->SetDragging(false);
        sender->move(Puzzle().State().DragOriginLeft(), Puzzle().State().DragOriginTop());
    });
}

RulesWindow *TfrmMain::Rules() const
{
    return m_rules;
}
