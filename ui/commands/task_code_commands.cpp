// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "task_code_commands.h"

#include "appearance.h"
#include "code_dialog.h"
#include "dispatch_guard.h"
#include "form_scale.h"
#include "game_commands.h"
#include "game_palette.h"
#include "message_boxes.h"
#include "placement.h"
#include "puzzle.h"
#include "task_book.h"
#include "task_code.h"
#include "task_generator.h"
#include "task_in_play.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRandomGenerator>

namespace {

const char *const kCaptionRandom = "Случайная задача";
const char *const kCaptionCode = "Код задачи";

} // namespace

TaskCodeCommands::TaskCodeCommands(const Puzzle &puzzle, const GameCommands &commands, MessageBoxes &boxes,
                                   QWidget *window, StartCode start)
    : QObject(window)
    , m_puzzle(puzzle)
    , m_commands(commands)
    , m_boxes(boxes)
    , m_window(window)
    , m_start(std::move(start))
{
}

void TaskCodeCommands::RandomTask(int level)
{
    const GeneratedTask task = GenerateTask(level, QRandomGenerator::global()->generate());
    const std::string code = TaskCode(task.Task);
    // The band and the count bound the answer's length: a lesson tells neither.
    const bool answers = m_commands.Answers().ShowsAnswers();
    std::string text = "Уровень «" + std::string(Band(level).Name) + "»"
        + (answers ? " (" + BandText(level) + ")" : std::string()) + ".\nКод задачи: " + code;
    if (answers)
        text += "\nНаименьшее число переливаний: " + std::to_string(task.Fewest) + ".";
    m_boxes.Show(text, kCaptionRandom, kIconInformation);
    m_randomCode = code;
    m_randomLevel = level;
    m_start(code);
}

std::optional<int> TaskCodeCommands::RandomLevel(const std::string &code) const
{
    if (m_randomCode.empty() || code != m_randomCode)
        return std::nullopt;
    return m_randomLevel;
}

void TaskCodeCommands::CopyCode()
{
    const std::string code = TaskCode(TaskInPlay(m_puzzle, m_commands));
    QGuiApplication::clipboard()->setText(QString::fromStdString(code));
    m_boxes.Show("Код задачи скопирован: " + code, kCaptionCode, kIconInformation);
}

void TaskCodeCommands::EnterCode()
{
    CodeDialog dialog(m_window, [](const std::string &code) {
        try {
            ParseTaskCode(code);
            return std::string();
        } catch (const std::invalid_argument &e) {
            return ErrorBoxText(e.what());
        }
    });
    dialog.setWindowTitle(QString::fromUtf8("Ввести код задачи"));
    dialog.setFont(UiFont(8));
    dialog.setLabelText(QString::fromUtf8("Код задачи вида C1,C2,C3/L1,L2,L3/T — объемы, уровни и нужный "
                                          "уровень,\nнапример 12,7,5/12,0,0/6:"));
    dialog.setOkButtonText(QString::fromUtf8("Начать"));
    dialog.setCancelButtonText(QString::fromUtf8("Отмена"));
    if (m_puzzle.Log().RowCount() > 0)
        dialog.setTextValue(QString::fromStdString(TaskCode(TaskInPlay(m_puzzle, m_commands))));
    if (auto *edit = dialog.findChild<QLineEdit *>())
        edit->setAccessibleName(QString::fromUtf8("Код задачи"));
    FollowFormScale(&dialog);
    UseGamePalette(&dialog);
    KeepOnScreen(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_start(dialog.Code());
}
