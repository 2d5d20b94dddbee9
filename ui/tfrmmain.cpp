// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "tfrmmain.h"

#include "accessibility.h"
#include "advice.h"
#include "appearance.h"
#include "drag_gesture.h"
#include "enter_key.h"
#include "game_palette.h"
#include "keyboard_pour.h"
#include "line_edit_cell.h"
#include "message_boxes.h"
#include "move_log_model.h"
#include "placement.h"
#include "result_writer.h"
#include "solution_dialog.h"
#include "position.h"
#include "solver.h"
#include "task_code.h"
#include "tfrmtask.h"
#include "vessel_picture.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStylePainter>
#include <QStyleOptionButton>

#include <algorithm>

namespace {

const char *const kHintStart = "Выберите новые Данные или предложенные Задачи";
const char *const kHintInput = "Ввести объемы сосудов, уровни - целые числа от 0 до 999 и начать переливание";
const char *const kHintPlay = "Переливать следует методом \"перенеси и брось\", а как - смотрите заголовок";

constexpr int kFormWidth = 642;
constexpr int kFormHeight = 448;
constexpr int kStatusHeight = 25;

// A push button whose caption wraps onto several lines, as Qt's own cannot;
// text() stays the one-line caption.
class WrapButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter p(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        p.drawControl(QStyle::CE_PushButton, option);
        const QRect box = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        style()->drawItemText(&p, box, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(), text(),
                              QPalette::ButtonText);
    }
};

// A group frame drawn the classic way: the caption sits in the frame's top
// line, so the fields placed 18 pixels down lie inside the frame, not on it.
class GroupFrame final : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QFontMetrics fm(font());
        const QRect frame = rect().adjusted(0, fm.height() / 2, -1, -1);
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(frame.adjusted(0, 0, -1, -1));
        p.setPen(palette().color(QPalette::Light));
        p.drawRect(frame.adjusted(1, 1, 0, 0));
        const QRect caption(7, 0, fm.horizontalAdvance(title()) + 4, fm.height());
        p.fillRect(caption, palette().window());
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        p.drawText(caption, Qt::AlignCenter, title());
    }
};

template <class W, class... Args>
W *Make(QWidget *parent, const char *name, QRect geometry, Args &&...args)
{
    auto *w = new W(std::forward<Args>(args)..., parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

QLabel *MakeLabel(QWidget *parent, const char *name, QRect geometry, const char *text, const QFont &font)
{
    auto *label = Make<QLabel>(parent, name, geometry, QString::fromUtf8(text));
    label->setFont(font);
    return label;
}

void SetColor(QWidget *w, QPalette::ColorRole role, const QColor &color)
{
    QPalette palette = w->palette();
    palette.setColor(role, color);
    w->setPalette(palette);
}

} // namespace

TfrmMain::TfrmMain(MessageBoxes &boxes, QWidget *parent)
    : QMainWindow(parent)
    , m_boxes(boxes)
    , m_puzzle(boxes)
    , m_xmldoc(std::make_unique<ResultWriter>())
{
    InstallAccessibility();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromUtf8(kAppTitle));
    setWindowIcon(AppIcon());
    setFont(UiFont(8));

    SetupWidgets();
    SetupMenus();
    SetupStatusBar();
    SetupTabOrder();
    ConnectHandlers();
    SetupScreenReaderNames();

    // Fixed: the form, the menu bar above it and the status bar below.
    setFixedSize(kFormWidth, menuBar()->sizeHint().height() + kFormHeight + kStatusHeight);
    move(206, 133);
    KeepOnScreen(this);
    UseGamePalette(this);

    FormCreate();
    m_frmTask = std::make_unique<TfrmTask>(this);
}

TfrmMain::~TfrmMain()
{
    // The widgets would otherwise outlive the puzzle (Qt deletes children in
    // the base destructor), and the list's model would detach itself from a
    // log that is already gone. Take them down while the puzzle still stands.
    for (auto &cell : m_cells)
        cell->SetChangeHandler(nullptr);
    m_puzzle.SetVesselChangedHandler(nullptr);
    delete m_form;
}

void TfrmMain::SetupWidgets()
{
    m_form = new QWidget(this);
    m_form->setObjectName(QStringLiteral("form"));
    m_form->setFixedSize(kFormWidth, kFormHeight);
    setCentralWidget(m_form);

    // Creation order is stacking order: labels and the shelf line at the
    // back, the pictures in front of them, every control that owns a window
    // in front of all of those.
    SetupBackLayer();
    SetupValueFields();
    SetupMoveLog();
    SetupButtons();

    // Controls that own a window hide a picture dragged behind them.
    for (QWidget *w : m_form->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const bool back = std::find(m_backLayer.begin(), m_backLayer.end(), w) != m_backLayer.end();
        if (!back && !dynamic_cast<VesselPicture *>(w))
            w->setAutoFillBackground(true);
    }

    SetupDragGesture();
    m_puzzle.SetVesselChangedHandler([this](int n) { DrawVessel(n); });
}

void TfrmMain::SetupBackLayer()
{
    auto *label1 = MakeLabel(m_form, "Label1", {416, 16, 104, 13}, "Ход переливаний", UiFont(9, true));
    // A label sizes itself to its text; in this font the heading needs a
    // pixel or two more than 104 x 13.
    label1->adjustSize();
    auto *label5 = MakeLabel(m_form, "Label5", {72, 8, 253, 16}, "Прежде, чем перелить - подумай !", UiFont(10, true));
    SetColor(label5, QPalette::WindowText, QColor(0, 0, 255));
    auto *shape1 = Make<QWidget>(m_form, "Shape1", {16, 200, 377, 2});
    shape1->setAutoFillBackground(true);
    SetColor(shape1, QPalette::Window, Qt::black);
    m_backLayer = {label1, label5, shape1};

    const QRect pictures[] = {{32, 48, 105, 145}, {176, 88, 81, 105}, {296, 120, 65, 73}};
    for (int n = 1; n <= 3; ++n)
        m_images[n - 1] = new VesselPicture(QStringLiteral("Image%1").arg(n), n, pictures[n - 1], m_form);
}

void TfrmMain::SetupValueFields()
{
    auto *grBoxN = Make<GroupFrame>(m_form, "GrBoxN", {32, 216, 329, 41}, QString::fromUtf8("Номера сосудов"));
    m_frontLayer = grBoxN;
    const int numberX[] = {56, 176, 288};
    for (int n = 1; n <= 3; ++n) {
        auto *label = Make<QLabel>(grBoxN, QStringLiteral("Label%1").arg(n + 1).toLatin1().constData(), {},
                                   QString::number(n));
        label->setFont(UiFont(8, true));
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        SetColor(label, QPalette::Window, QColor(255, 251, 240));
        label->adjustSize();
        label->move(numberX[n - 1], 16);
    }

    struct Frame {
        const char *Name;
        QRect Geometry;
        const char *Title;
        const char *Base; // value fields inside, or the target field alone
    };
    const Frame frames[] = {{"GrBoxV", {32, 264, 329, 49}, "Объем сосудов", "EditV"},
                            {"GrBoxVW", {32, 328, 329, 49}, "Текущий уровень -V", "EditVW"},
                            {"GrBoxRes", {32, 392, 153, 49}, "Получить уровень", nullptr}};
    const int fieldX[] = {40, 168, 280};
    std::size_t cell = 0;
    for (const Frame &f : frames) {
        auto *frame = Make<GroupFrame>(m_form, f.Name, f.Geometry, QString::fromUtf8(f.Title));
        frame->setFont(UiFont(10));
        if (!f.Base) {
            SetColor(frame, QPalette::WindowText, QColor(0, 0, 255));
            auto *edit = Make<QLineEdit>(frame, "EdRes", {40, 18, 30, 24});
            m_cells[cell++] = std::make_unique<LineEditCell>(edit, 0);
            continue;
        }
        for (int n = 1; n <= 3; ++n) {
            const QByteArray name = QByteArray(f.Base) + QByteArray::number(n);
            auto *edit = Make<QLineEdit>(frame, name.constData(), {fieldX[n - 1], 18, 30, 24});
            m_cells[cell++] = std::make_unique<LineEditCell>(edit, n);
        }
    }
    for (auto &c : m_cells) {
        // In play the fields are disabled but still show the puzzle: keep
        // their digits readable rather than the style's faint grey.
        QPalette palette = c->Edit()->palette();
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x50, 0x50, 0x50));
        c->Edit()->setPalette(palette);
        c->Edit()->setEnabled(false);
        m_puzzle.AttachCell(*c);
    }
}

void TfrmMain::SetupMoveLog()
{
    m_listView = Make<MoveLogView>(m_form, "ListView", {408, 40, 209, 289});
    m_logModel = new MoveLogModel(m_puzzle.Log(), m_listView);
    m_listView->setModel(m_logModel);
    const int widths[] = {50, 50, 50, 55};
    for (int c = 0; c < 4; ++c)
        m_listView->setColumnWidth(c, widths[c]);
    m_listView->verticalHeader()->setDefaultSectionSize(m_listView->fontMetrics().height() + 4);
}

void TfrmMain::SetupButtons()
{
    m_btnUndo = Make<QPushButton>(m_form, "BtnUndo", {536, 8, 75, 25}, QString::fromUtf8("Назад"));
    m_btnUndo->setIcon(RetryGlyph());
    m_btnBegin = Make<WrapButton>(m_form, "BtnBegin", {416, 344, 89, 33}, QString::fromUtf8("Начать переливание"));
    m_btnBegin->setEnabled(false);
    m_btnXml = Make<WrapButton>(m_form, "BtnXml", {536, 344, 81, 33}, QString::fromUtf8("Запись результата"));
    m_btnXml->setEnabled(false);
    m_btnExit = Make<QPushButton>(m_form, "BtnExit", {480, 392, 81, 30}, QString::fromUtf8("Выход"));
    m_btnExit->setIcon(CloseGlyph());
}

void TfrmMain::SetupDragGesture()
{
    DragGesture::Handlers handlers;
    handlers.StartDrag = [this](VesselPicture *sender) { Guarded([&] { Image1StartDrag(sender); }); };
    handlers.DragOver = [this](QWidget *sender, VesselPicture *source, QPoint pos) {
        bool accept = false;
        Guarded([&] { accept = FormDragOver(sender, source, pos); });
        return accept;
    };
    handlers.DragDrop = [this](VesselPicture *sender, VesselPicture *source) {
        Guarded([&] { Image1DragDrop(sender, source); });
    };
    handlers.EndDrag = [this](VesselPicture *sender) { Guarded([&] { Image1EndDrag(sender); }); };

    // Found under the pointer, these are the form itself.
    std::vector<QWidget *> formLayer(m_backLayer.begin(), m_backLayer.end());
    formLayer.insert(formLayer.end(), {m_form, this, menuBar()});
    m_drag = new DragGesture(m_form, m_images, formLayer, handlers);
}

void TfrmMain::SetupMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    bar->setNativeMenuBar(false);

    QMenu *data = bar->addMenu(QString::fromUtf8("&Данные"));
    data->setObjectName(QStringLiteral("MnuData"));
    data->menuAction()->setObjectName(QStringLiteral("MnuDataAction"));
    QAction *mnuNew = data->addAction(QString::fromUtf8("&Новые"));
    mnuNew->setObjectName(QStringLiteral("MnuNew"));
    data->addSeparator();
    QAction *mnuExit = data->addAction(QString::fromUtf8("&Выход"));
    mnuExit->setObjectName(QStringLiteral("MnuExit"));
    QAction *mnuTasks = bar->addAction(QString::fromUtf8("&Задачи"));
    mnuTasks->setObjectName(QStringLiteral("MnuTasks"));
    // Commands the window otherwise offers only as buttons and drags.
    m_mnuGame = bar->addMenu(QString::fromUtf8("&Игра"));
    m_mnuGame->setObjectName(QStringLiteral("MnuGame"));
    m_mnuGame->menuAction()->setObjectName(QStringLiteral("MnuGameAction"));
    SetupKeyboardCommands();
    QAction *mnuHelp = bar->addAction(QString::fromUtf8("&Справка"));
    mnuHelp->setObjectName(QStringLiteral("MnuHelp"));
    mnuHelp->setEnabled(false);

    connect(mnuNew, &QAction::triggered, this, [this] { Guarded([this] { MnuNewClick(); }); });
    connect(mnuExit, &QAction::triggered, this, [this] { Guarded([this] { BtnExitClick(); }); });
    connect(mnuTasks, &QAction::triggered, this, [this] { Guarded([this] { MnuTasksClick(); }); });
    SetupSolverCommands();
}

void TfrmMain::SetupSolverCommands()
{
    m_mnuGame->addSeparator();
    // Shortcuts clear of the line edits' own keys, so they work while typing a puzzle in.
    const struct {
        QAction *&Action;
        const char *Name;
        const char *Text;
        QKeySequence Keys;
        void (TfrmMain::*Handler)();
    } commands[] = {
        {m_mnuHint, "MnuHint", kCaptionHint, QKeySequence(Qt::CTRL | Qt::Key_H), &TfrmMain::MnuHintClick},
        {m_mnuSolution, "MnuSolution", kCaptionSolution, QKeySequence(Qt::CTRL | Qt::Key_R),
         &TfrmMain::MnuSolutionClick},
        {m_mnuCheck, "MnuCheck", kCaptionCheck, QKeySequence(Qt::CTRL | Qt::Key_T), &TfrmMain::MnuCheckClick},
    };
    for (const auto &c : commands) {
        c.Action = m_mnuGame->addAction(QString::fromUtf8(c.Text));
        c.Action->setObjectName(QString::fromLatin1(c.Name));
        c.Action->setShortcut(c.Keys);
        connect(c.Action, &QAction::triggered, this,
                [this, handler = c.Handler] { Guarded([&] { (this->*handler)(); }); });
    }
}

void TfrmMain::SetupStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(kStatusHeight);
    bar->setFont(UiFont(8, true));
    bar->setAutoFillBackground(true);

    auto *panel0 = new QLabel(QString::fromUtf8(" Подсказка действия :"), bar);
    panel0->setObjectName(QStringLiteral("StatusPanel0"));
    panel0->setFixedWidth(135);
    m_hint = new QLabel(bar);
    m_hint->setObjectName(QStringLiteral("StatusPanel1"));
    for (QLabel *panel : {panel0, m_hint})
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // Panels as permanent widgets: the status bar's own message, which menu
    // hovering wipes, is never used.
    bar->addPermanentWidget(panel0, 0);
    bar->addPermanentWidget(m_hint, 1);
}

void TfrmMain::SetupTabOrder()
{
    QWidget *order[] = {m_cells[0]->Edit(), m_cells[1]->Edit(), m_cells[2]->Edit(), m_cells[3]->Edit(),
                        m_cells[4]->Edit(), m_cells[5]->Edit(), m_cells[6]->Edit(), m_btnBegin,
                        m_btnXml,           m_btnExit,          m_btnUndo,          m_listView};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void TfrmMain::ConnectHandlers()
{
    connect(m_btnBegin, &QPushButton::clicked, this, [this] { Guarded([this] { BtnBeginClick(); }); });
    connect(m_btnUndo, &QPushButton::clicked, this, [this] { Guarded([this] { BtnUndoClick(); }); });
    connect(m_btnXml, &QPushButton::clicked, this, [this] { Guarded([this] { BtnXmlClick(); }); });
    // The close kind of button closes its window itself.
    connect(m_btnExit, &QPushButton::clicked, this, &QWidget::close);
}

void TfrmMain::ShowActionHint(const QString &text)
{
    m_hint->setText(QLatin1Char(' ') + text);
}

void TfrmMain::SetInputMode(bool on)
{
    for (int n = 1; n <= 3; ++n) {
        m_cells[static_cast<std::size_t>(n - 1)]->Edit()->setEnabled(on);
        if (on)
            m_puzzle.Field("EditV", n).SetText("");
        m_cells[static_cast<std::size_t>(n + 2)]->Edit()->setEnabled(on);
    }
    m_drag->SetAutomatic(!on);
    m_cells[6]->Edit()->setEnabled(on);
    if (on)
        m_puzzle.Field("EdRes").SetText("");
    m_btnBegin->setEnabled(on);
    m_btnXml->setEnabled(!on);
    m_mode = on ? GameMode::Input : GameMode::Play;
    UpdateCommands();
}

void TfrmMain::SetupKeyboardCommands()
{
    // A pour from the keyboard is a drop of the source on the receiver.
    m_keyPour = new KeyboardPour(this, m_images, [this](int source, int receiver) {
        Guarded([&] {
            Image1DragDrop(m_images[static_cast<std::size_t>(receiver - 1)],
                           m_images[static_cast<std::size_t>(source - 1)]);
        });
    });
    m_keyPour->Watch(m_listView);

    QAction *mnuUndo = m_mnuGame->addAction(QString::fromUtf8("&Назад"));
    mnuUndo->setObjectName(QStringLiteral("MnuUndo"));
    mnuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(mnuUndo, &QAction::triggered, this, [this] { Guarded([this] { BtnUndoClick(); }); });

    m_mnuXml = m_mnuGame->addAction(QString::fromUtf8("&Запись результата"));
    m_mnuXml->setObjectName(QStringLiteral("MnuXml"));
    m_mnuXml->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(m_mnuXml, &QAction::triggered, this, [this] { Guarded([this] { BtnXmlClick(); }); });

    m_mnuPour = m_mnuGame->addMenu(QString::fromUtf8("&Перелить"));
    m_mnuPour->setObjectName(QStringLiteral("MnuPour"));
    const int pours[][2] = {{1, 2}, {1, 3}, {2, 1}, {2, 3}, {3, 1}, {3, 2}};
    for (const auto &pour : pours) {
        const int source = pour[0];
        const int receiver = pour[1];
        QAction *action = m_mnuPour->addAction(QString::fromUtf8("Из сосуда %1 в сосуд %2").arg(source).arg(receiver));
        action->setObjectName(QStringLiteral("MnuPour%1%2").arg(source).arg(receiver));
        // The menu shows the two digits to press. The keys themselves are
        // read by the keyboard pour, which marks the source in between; in
        // the context of the menu widget this sequence never fires.
        action->setShortcut(QKeySequence(Qt::Key_0 + source, Qt::Key_0 + receiver));
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, [this, source, receiver] { m_keyPour->Pour(source, receiver); });
    }
}

void TfrmMain::SetupScreenReaderNames()
{
    for (int n = 1; n <= 3; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        m_cells[i]->Edit()->setAccessibleName(QString::fromUtf8("Объем сосуда %1").arg(n));
        m_cells[i + 3]->Edit()->setAccessibleName(QString::fromUtf8("Уровень сосуда %1").arg(n));
    }
    m_cells[6]->Edit()->setAccessibleName(QString::fromUtf8("Получить уровень"));
    m_listView->setAccessibleName(QString::fromUtf8("Ход переливаний"));
    HideFromScreenReaders(m_backLayer[2]); // the shelf line

    // A capacity typed over an empty vessel repaints nothing, but its
    // reading changes all the same.
    for (int n = 1; n <= 3; ++n) {
        connect(m_cells[static_cast<std::size_t>(n - 1)]->Edit(), &QLineEdit::textChanged, this, [this, n] {
            const VesselState &s = m_puzzle.State();
            m_images[static_cast<std::size_t>(n - 1)]->SetReading(s.Capacity(n), s.Level(n));
        });
    }
}

void TfrmMain::UpdateCommands()
{
    const bool play = m_mode == GameMode::Play;
    m_mnuXml->setEnabled(m_btnXml->isEnabled());
    m_mnuPour->menuAction()->setEnabled(play);
    for (QAction *pour : m_mnuPour->actions())
        pour->setEnabled(play);
    m_keyPour->SetActive(play);
    UpdateSolverCommands();
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

void TfrmMain::UpdateSolverCommands()
{
    m_mnuHint->setEnabled(m_mode == GameMode::Play);
    m_mnuSolution->setEnabled(m_mode != GameMode::None);
    m_mnuCheck->setEnabled(m_mode != GameMode::None);
}

void TfrmMain::FormCreate()
{
    m_puzzle.ResetAll();
    ShowActionHint(QString::fromUtf8(kHintStart));
    UpdateCommands();
}

void TfrmMain::MnuNewClick()
{
    ShowActionHint(QString::fromUtf8(kHintInput));
    m_puzzle.ResetAll();
    SetInputMode(true);
    m_cells[0]->Edit()->setFocus();
}

void TfrmMain::MnuTasksClick()
{
    if (m_frmTask->exec() != TfrmTask::kResultOk)
        return;
    m_puzzle.LoadTask(TaskPresets[static_cast<std::size_t>(m_frmTask->ActivePage())]);
    BtnBeginClick();
}

void TfrmMain::BtnBeginClick()
{
    ShowActionHint(QString::fromUtf8(kHintPlay));
    SetInputMode(false);
    m_puzzle.AppendMoveRow();
}

void TfrmMain::BtnUndoClick()
{
    m_keyPour->Mark(0);
    m_puzzle.BtnUndoClick();
}

void TfrmMain::BtnXmlClick()
{
    m_listView->CommitOpenEditor();
    WriteResult(*m_xmldoc, m_puzzle.Log(), m_boxes);
}

void TfrmMain::BtnExitClick()
{
    close();
}

void TfrmMain::MnuHintClick()
{
    if (m_mode != GameMode::Play)
        return;
    const Advice hint = Hint(m_puzzle.State(), m_puzzle.Log());
    m_boxes.Show(hint.Text, kCaptionHint, hint.Solvable ? kIconInformation : kIconWarning);
}

void TfrmMain::MnuSolutionClick()
{
    if (m_mode == GameMode::None)
        return;
    const VesselState &state = m_puzzle.State();
    const TaskPreset here = CurrentPosition(state);
    const Solution solution = Solve(here);
    if (!solution.Solved()) {
        m_boxes.Show("Решения нет. " + UnsolvableText(solution, here), kCaptionSolution, kIconWarning);
        return;
    }
    QString playerLine;
    const MoveLog &log = m_puzzle.Log();
    if (m_mode == GameMode::Play && state.GoalReached && log.RowCount() > 0) {
        const Solution fromStart = Solve(LoggedPosition(state, log, 0));
        playerLine = QString::fromStdString(PlayerCountText(m_puzzle.GoalPours(), fromStart.Pours()));
    }
    SolutionDialog dialog(solution, playerLine, this);
    dialog.exec();
}

void TfrmMain::MnuCheckClick()
{
    if (m_mode == GameMode::None)
        return;
    // In play the task is the one the game started from: the start row.
    const VesselState &state = m_puzzle.State();
    const bool fromLog = m_mode == GameMode::Play && m_puzzle.Log().RowCount() > 0;
    const Advice check = Check(fromLog ? LoggedPosition(state, m_puzzle.Log(), 0) : CurrentPosition(state));
    m_boxes.Show(check.Text, kCaptionCheck, check.Solvable ? kIconInformation : kIconWarning);
}

void TfrmMain::StartTaskCode(const std::string &code)
{
    Guarded([&] {
        const TaskPreset task = ParseTaskCode(code);
        m_puzzle.LoadTask(task);
        BtnBeginClick();
    });
}

void TfrmMain::DrawVessel(int n)
{
    const VesselState &s = m_puzzle.State();
    m_images[static_cast<std::size_t>(n - 1)]->Draw(s.Capacity(n), s.Level(n));
}

void TfrmMain::Image1StartDrag(VesselPicture *sender)
{
    // The others go in front, so the control found under the pointer is
    // another picture whenever the pointer is over one, though the dragged
    // picture is centred on it. They stay below every windowed control.
    for (VesselPicture *picture : m_images) {
        if (picture != sender)
            picture->stackUnder(m_frontLayer);
    }
    m_puzzle.State().DragOriginLeft() = sender->x();
    m_puzzle.State().DragOriginTop() = sender->y();
}

bool TfrmMain::FormDragOver(QWidget *sender, VesselPicture *source, QPoint pos)
{
    bool accept = false;
    int x = pos.x();
    int y = pos.y();
    if (auto *picture = dynamic_cast<VesselPicture *>(sender)) {
        x += picture->x();
        y += picture->y();
        accept = picture != source;
    }
    source->move(x - source->width() / 2, y - source->height() / 2);
    return accept;
}

void TfrmMain::Image1DragDrop(VesselPicture *sender, VesselPicture *source)
{
    m_puzzle.Pour(source->Tag(), sender->Tag());
}

void TfrmMain::Image1EndDrag(VesselPicture *sender)
{
    sender->move(m_puzzle.State().DragOriginLeft(), m_puzzle.State().DragOriginTop());
}
