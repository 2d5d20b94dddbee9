// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "map_window.h"

#include "answer_rule.h"
#include "appearance.h"
#include "form_scale.h"
#include "game_commands.h"
#include "game_palette.h"
#include "map_view.h"
#include "placement.h"
#include "puzzle.h"
#include "task_in_play.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

using Command = GameCommands::Command;

// The window at scale 1, and the least the map may shrink to.
constexpr QSize kDesigned(540, 560);
constexpr QSize kSmallestMap(300, 240);

QSize Scaled(QSize size, qreal scale)
{
    return ScaledRect(QRect(QPoint(), size), scale).size();
}

} // namespace

MapWindow::MapWindow(Puzzle &puzzle, GameCommands &commands, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)
    , m_puzzle(puzzle)
    , m_commands(commands)
{
    setObjectName(QStringLiteral("MapWindow"));
    setWindowTitle(QString::fromUtf8("Карта переливаний"));
    setWindowIcon(AppIcon());
    setModal(false);
    // The main window's font, and with it the game's scale, as it changes.
    setAttribute(Qt::WA_WindowPropagation);

    m_view = new MapView(this);
    m_words = new QLabel(this);
    m_words->setObjectName(QStringLiteral("MapWords"));
    m_words->setWordWrap(true);
    m_words->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // Their texts come from OfferAnswers: none at all in a lesson.
    m_shortestButton = new QPushButton(this);
    m_shortestButton->setObjectName(QStringLiteral("BtnMapShortest"));
    m_shortestButton->setCheckable(true);
    m_shortestButton->setAutoDefault(false);
    m_distancesBox = new QCheckBox(this);
    m_distancesBox->setObjectName(QStringLiteral("MapDistances"));
    m_helpNote = new QLabel(this);
    m_helpNote->setObjectName(QStringLiteral("MapHelpNote"));
    m_helpNote->setWordWrap(true);
    auto *close = new QPushButton(QString::fromUtf8("Закрыть"), this);
    close->setObjectName(QStringLiteral("BtnClose"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    // The same help as "Решение" and "Подсказка", available when they are
    // and off in a lesson as they are.
    m_commands.Connect(Command::Solution, m_shortestButton,
                       [this] { m_puzzle.Guard().Run([this] { ToggleShortest(); }); });
    m_commands.Connect(Command::Hint, m_distancesBox,
                       [this] { m_puzzle.Guard().Run([this] { ToggleDistances(); }); });
    // A click the commands refused leaves the marks as they were.
    for (QAbstractButton *button : {static_cast<QAbstractButton *>(m_shortestButton),
                                    static_cast<QAbstractButton *>(m_distancesBox)}) {
        connect(button, &QAbstractButton::clicked, this, [this] {
            m_shortestButton->setChecked(m_shortest);
            m_distancesBox->setChecked(m_distances);
        });
    }

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_shortestButton);
    buttons->addWidget(m_distancesBox);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_words);
    layout->addLayout(buttons);
    layout->addWidget(m_helpNote);

    UseGamePalette(this);
    FollowScale();
    KeepOnScreen(this);
    // A lesson that starts with the window made takes its answers away at once.
    connect(&m_commands.Answers(), &AnswerRule::Changed, this, [this] {
        OfferAnswers();
        if (isVisible())
            Refresh();
    });
    OfferAnswers();
    m_commands.OnModeChanged([window = QPointer<MapWindow>(this)](GameMode) {
        if (window && window->isVisible())
            window->Refresh();
    });
    // Every pour, undo, redo, restart and new task changes the log; while a
    // task is typed in, the fields change the levels and capacities alone.
    // Hidden, the window has nothing to follow: it reads the game when shown.
    const auto follow = [this] {
        if (isVisible())
            Refresh();
    };
    const auto typed = [this](int) {
        if (isVisible() && m_commands.Mode() != GameMode::Play)
            Refresh();
    };
    m_notices.push_back(m_puzzle.LogChangedNotice().Subscribe(follow));
    m_notices.push_back(m_puzzle.VesselChangedNotice().Subscribe(typed));
    m_notices.push_back(m_puzzle.CapacityChangedNotice().Subscribe(typed));
    Refresh();
}

QString MapWindow::Description() const
{
    return m_words->text();
}

void MapWindow::ToggleShortest()
{
    m_shortest = !m_shortest;
    if (m_shortest)
        m_puzzle.Help().Solution = true; // a whole solution, as "Решение" shows it
    Refresh();
}

void MapWindow::ToggleDistances()
{
    m_distances = !m_distances;
    if (m_distances)
        m_puzzle.Help().Hint = true; // how far each position is: what "Подсказка" tells
    Refresh();
}

void MapWindow::OfferAnswers()
{
    const bool answers = m_commands.Answers().ShowsAnswers();
    const auto text = [answers](const char *words) { return answers ? QString::fromUtf8(words) : QString(); };
    m_shortestButton->setText(text("Показать кратчайшее решение"));
    m_distancesBox->setText(text("Расстояния от начала"));
    m_distancesBox->setToolTip(text("Наведите указатель на точку: сколько переливаний до нее от начала."));
    m_helpNote->setText(text("Кратчайшее решение и расстояния — подсказка: за эту игру звезд не будет."));
    for (QWidget *offer : {static_cast<QWidget *>(m_shortestButton), static_cast<QWidget *>(m_distancesBox),
                           static_cast<QWidget *>(m_helpNote)})
        offer->setVisible(answers);
}

void MapWindow::Refresh()
{
    const bool lesson = !m_commands.Answers().ShowsAnswers();
    // Help belongs to one game: once the game forgets it (a new task), the
    // map asks again.
    if (lesson || !m_puzzle.Help().Solution)
        m_shortest = false;
    if (lesson || !m_puzzle.Help().Hint)
        m_distances = false;
    m_shortestButton->setChecked(m_shortest);
    m_distancesBox->setChecked(m_distances);
    m_view->ShowDistances(m_distances);

    QString words;
    std::shared_ptr<const PourMap> map;
    if (m_commands.Mode() != GameMode::None) {
        const TaskPreset task = TaskInPlay(m_puzzle, m_commands);
        try {
            // Made again only for another task: pours leave the map as it is.
            map = m_map && m_map->Task() == task ? m_map : std::make_shared<const PourMap>(task);
        } catch (const std::invalid_argument &) {
            // values the game itself never keeps: no map
        }
    }
    m_map = std::move(map);
    if (!m_map) {
        m_view->Show(nullptr, {});
        words = QString::fromUtf8("Задача еще не выбрана.");
    } else {
        ReadLog();
        MapScene scene;
        scene.Lesson = lesson;
        scene.Player = MapPath(*m_map, m_rows);
        scene.Shortest = m_shortest;
        m_view->Show(m_map, std::move(scene));
        words = QString::fromStdString(MapDescription(*m_map, m_rows, lesson, m_shortest));
    }
    m_words->setText(words);
    m_view->setAccessibleDescription(words);
}

void MapWindow::ReadLog()
{
    const MoveLog &log = m_puzzle.Log();
    std::size_t keep = std::min(m_rows.size(), static_cast<std::size_t>(log.RowCount()));
    while (keep > 0 && m_rows[keep - 1] != LoggedLevels(log, static_cast<int>(keep - 1)))
        --keep;
    m_rows.resize(keep);
    for (int row = static_cast<int>(keep); row < log.RowCount(); ++row)
        m_rows.push_back(LoggedLevels(log, row));
}

void MapWindow::FollowScale()
{
    const qreal scale = FormScale();
    if (scale == m_scale)
        return;
    m_scale = scale;
    QSize room(1 << 14, 1 << 14);
    if (const QScreen *screen = WindowScreen(this)) {
        const QMargins frame = FrameMargins(this);
        room = screen->availableGeometry().size() - QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    }
    m_view->setMinimumSize(Scaled(kSmallestMap, scale).boundedTo(room / 2));
    resize(Scaled(kDesigned, scale).boundedTo(room));
    if (isVisible())
        FitWindowOnScreen(this);
}

void MapWindow::changeEvent(QEvent *event)
{
    // The main window's font changes with the game's scale, and comes here.
    if (event->type() == QEvent::FontChange && m_view)
        FollowScale();
    QDialog::changeEvent(event);
}

void MapWindow::showEvent(QShowEvent *event)
{
    FollowScale();
    // Hidden, the window followed nothing: the whole log is read again.
    m_rows.clear();
    Refresh();
    QDialog::showEvent(event);
}
