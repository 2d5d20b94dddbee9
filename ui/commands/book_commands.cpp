// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "book_commands.h"

#include "appearance.h"
#include "book_dialog.h"
#include "game_commands.h"
#include "form_scale.h"
#include "game_palette.h"
#include "main_menu.h"
#include "message_boxes.h"
#include "placement.h"
#include "position.h"
#include "puzzle.h"
#include "rules_window.h"
#include "solver.h"
#include "task_book.h"
#include "task_code.h"
#include "task_generator.h"

#include <QClipboard>
#include <QDate>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QRandomGenerator>

namespace {

const char *const kCaptionRandom = "Случайная задача";
const char *const kCaptionCode = "Код задачи";

} // namespace

BookCommands::BookCommands(Puzzle &puzzle, const GameCommands &commands, MessageBoxes &boxes, QWidget *window,
                           StartCode start)
    : QObject(window)
    , m_puzzle(puzzle)
    , m_commands(commands)
    , m_boxes(boxes)
    , m_window(window)
    , m_start(std::move(start))
{
    m_puzzle.SetGoalMetHandler([this] { GoalMet(); });
}

BookCommands::~BookCommands()
{
    // The puzzle outlives the window.
    m_puzzle.SetGoalMetHandler(nullptr);
}

BookDialog *BookCommands::Book() const
{
    return m_book;
}

RulesWindow *BookCommands::Rules() const
{
    return m_rules;
}

void BookCommands::AddHandlers(MainMenuHandlers &handlers)
{
    handlers.Book = [this] { m_puzzle.Guard().Run([this] { OpenBook(); }); };
    handlers.CopyCode = [this] { m_puzzle.Guard().Run([this] { CopyCode(); }); };
    handlers.EnterCode = [this] { m_puzzle.Guard().Run([this] { EnterCode(); }); };
    handlers.Rules = [this] { m_puzzle.Guard().Run([this] { ShowRules(); }); };
    handlers.RandomTask = [this](int level) { m_puzzle.Guard().Run([&] { RandomTask(level); }); };
}

void BookCommands::OpenBook()
{
    if (!m_book)
        m_book = new BookDialog(m_window);
    m_scores.Load();
    m_book->ShowScores([this](const std::string &code) { return m_scores.Best(code); });
    m_book->HideFewest(m_commands.Lesson());
    if (m_book->exec() != QDialog::Accepted || m_book->Chosen() < 0)
        return;
    m_start(TaskCode(TaskBook()[static_cast<std::size_t>(m_book->Chosen())].Task));
}

void BookCommands::RandomTask(int level)
{
    const GeneratedTask task = GenerateTask(level, QRandomGenerator::global()->generate());
    const std::string code = TaskCode(task.Task);
    std::string text = "Уровень «" + std::string(Band(level).Name) + "» (" + BandText(level) + ").\nКод задачи: " + code;
    // In a lesson the count is the answer's length: not told.
    if (!m_commands.Lesson())
        text += "\nНаименьшее число переливаний: " + std::to_string(task.Fewest) + ".";
    m_boxes.Show(text, kCaptionRandom, kIconInformation);
    m_start(code);
}

std::string BookCommands::CurrentCode() const
{
    return TaskCode(TaskInPlay(m_puzzle.State(), m_puzzle.Log()));
}

void BookCommands::CopyCode()
{
    const std::string code = CurrentCode();
    QGuiApplication::clipboard()->setText(QString::fromStdString(code));
    m_boxes.Show("Код задачи скопирован: " + code, kCaptionCode, kIconInformation);
}

void BookCommands::EnterCode()
{
    QInputDialog dialog(m_window, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog.setObjectName(QStringLiteral("CodeDialog"));
    dialog.setWindowTitle(QString::fromUtf8("Ввести код задачи"));
    dialog.setFont(UiFont(8));
    dialog.setLabelText(QString::fromUtf8("Код задачи вида C1,C2,C3/L1,L2,L3/T — объемы, уровни и нужный "
                                          "уровень,\nнапример 12,7,5/12,0,0/6:"));
    dialog.setOkButtonText(QString::fromUtf8("Начать"));
    dialog.setCancelButtonText(QString::fromUtf8("Отмена"));
    if (m_puzzle.Log().RowCount() > 0)
        dialog.setTextValue(QString::fromStdString(CurrentCode()));
    if (auto *edit = dialog.findChild<QLineEdit *>())
        edit->setAccessibleName(QString::fromUtf8("Код задачи"));
    FollowFormScale(&dialog);
    UseGamePalette(&dialog);
    KeepOnScreen(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // Pasted with a line break or spaces around it, a code is still the code.
    m_start(dialog.textValue().trimmed().toStdString());
}

void BookCommands::ShowRules()
{
    if (!m_rules)
        m_rules = new RulesWindow(m_window);
    m_rules->show();
    m_rules->raise();
    m_rules->activateWindow();
}

void BookCommands::GoalMet()
{
    const MoveLog &log = m_puzzle.Log();
    Score win;
    win.Code = TaskCode(LoggedPosition(m_puzzle.State(), log, 0));
    win.Pours = log.RowCount() - 1;
    win.Date = QDate::currentDate().toString(Qt::ISODate).toStdString();
    win.Help = m_puzzle.Help();
    m_scores.Remember(win);
}

QString BookCommands::BestLine() const
{
    const MoveLog &log = m_puzzle.Log();
    if (!m_scores.Loaded() || log.RowCount() == 0)
        return {};
    const TaskPreset start = LoggedPosition(m_puzzle.State(), log, 0);
    const std::optional<Score> best = m_scores.Best(TaskCode(start));
    if (!best)
        return {};
    return QString::fromStdString(BestText(*best, Solve(start).Pours()));
}
