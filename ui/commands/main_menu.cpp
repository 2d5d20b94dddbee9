// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "main_menu.h"

#include "game_commands.h"
#include "menu_letters.h"
#include "rules.h"
#include "task_book.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <vector>

namespace {

using Command = GameCommands::Command;

QAction *AddEntry(QMenu *menu, const char *name, const char *text, const QKeySequence &keys = {})
{
    QAction *action = menu->addAction(QString::fromUtf8(text));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    return action;
}

QMenu *AddMenu(QMenuBar *bar, const char *name, const char *text)
{
    QMenu *menu = bar->addMenu(QString::fromUtf8(text));
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name) + QLatin1String("Action"));
    return menu;
}

// The task book, a random task of each level, codes to share, and sheets of
// tasks to print.
void AddBookEntries(QMenu *menu, GameCommands &commands, const MainMenuHandlers &handlers)
{
    commands.Connect(Command::Book, AddEntry(menu, "MnuBook", "&Сборник задач…"), handlers.Book);
    QMenu *random = menu->addMenu(QString::fromUtf8("Сл&учайная задача"));
    random->setObjectName(QStringLiteral("MnuRandom"));
    commands.Bind(Command::RandomTask, random->menuAction());
    std::vector<QAction *> levels;
    for (int level = 1; level <= kLevelCount; ++level) {
        QAction *action = random->addAction(QString());
        action->setObjectName(QStringLiteral("MnuRandom%1").arg(level));
        commands.Connect(Command::RandomTask, action, [random = handlers.RandomTask, level] { random(level); });
        levels.push_back(action);
    }
    // "&Разминка (2–3 переливания)": each name starts with a letter of its
    // own. The band is an answer's bounds: a lesson names the level alone.
    const AnswerRule &answers = commands.Answers();
    const auto name = [&answers, levels] {
        for (int level = 1; level <= kLevelCount; ++level) {
            QString text = QLatin1Char('&') + QString::fromUtf8(Band(level).Name);
            if (answers.ShowsAnswers())
                text += QStringLiteral(" (") + QString::fromStdString(BandText(level)) + QLatin1Char(')');
            levels[static_cast<std::size_t>(level - 1)]->setText(text);
        }
    };
    name();
    QObject::connect(&answers, &AnswerRule::Changed, random, name);
    commands.Connect(Command::CopyCode, AddEntry(menu, "MnuCopyCode", "&Копировать код задачи"), handlers.CopyCode);
    commands.Connect(Command::EnterCode, AddEntry(menu, "MnuEnterCode", "Вв&ести код задачи…"), handlers.EnterCode);
    commands.Connect(Command::Worksheet, AddEntry(menu, "MnuWorksheet", "Листок с зада&чами…"), handlers.Worksheet);
    commands.Connect(Command::Scores, AddEntry(menu, "MnuScores", "Рекорд&ы"), handlers.Scores);
}

// "Назад", "Запись результата", the six pours, "Вперед", "Начать заново"
// and "Записать как…".
void AddMoveEntries(QMenu *menu, GameCommands &commands, const MainMenuHandlers &handlers)
{
    commands.Connect(Command::Undo, AddEntry(menu, "MnuUndo", "&Назад", QKeySequence(Qt::CTRL | Qt::Key_Z)),
                     handlers.Undo);
    commands.Connect(Command::Save,
                     AddEntry(menu, "MnuXml", "&Запись результата", QKeySequence(Qt::CTRL | Qt::Key_S)),
                     handlers.Save);

    QMenu *pours = menu->addMenu(QString::fromUtf8("&Перелить"));
    pours->setObjectName(QStringLiteral("MnuPour"));
    commands.Bind(Command::Pour, pours->menuAction());
    for (const PourMove move : kPourMoves) {
        const int source = move.Source;
        const int receiver = move.Receiver;
        // The entry shows the two digits to press; the keyboard pour reads
        // them itself and marks the source in between. With a menu open
        // this shortcut does fire, and the commands refuse it.
        QAction *action = AddEntry(pours, "", "", QKeySequence(Qt::Key_0 + source, Qt::Key_0 + receiver));
        action->setText(QString::fromUtf8("Из сосуда %1 в сосуд %2").arg(source).arg(receiver));
        action->setObjectName(QStringLiteral("MnuPour%1%2").arg(source).arg(receiver));
        action->setShortcutContext(Qt::WidgetShortcut);
        commands.Connect(Command::Pour, action, [pour = handlers.Pour, source, receiver] { pour(source, receiver); });
    }

    QAction *redo = AddEntry(menu, "MnuRedo", "&Вперед");
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    commands.Connect(Command::Redo, redo, handlers.Redo);
    commands.Connect(Command::Restart, AddEntry(menu, "MnuRestart", "Нач&ать заново"), handlers.Restart);
    // Every other letter of it is taken in this menu.
    commands.Connect(Command::SaveAs,
                     AddEntry(menu, "MnuSaveAs", "Записат&ь как…", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
                     handlers.SaveAs);
}

// The solver's answers, the teacher's check and the replay of a pupil's
// file. Shortcuts clear of the line
// edits' own keys, so they work while typing a puzzle in.
void AddSolverEntries(QMenu *menu, GameCommands &commands, const MainMenuHandlers &handlers)
{
    commands.Connect(Command::Hint, AddEntry(menu, "MnuHint", "По&дсказка", QKeySequence(Qt::CTRL | Qt::Key_H)),
                     handlers.Hint);
    commands.Connect(Command::Solution,
                     AddEntry(menu, "MnuSolution", "&Решение", QKeySequence(Qt::CTRL | Qt::Key_R)),
                     handlers.Solution);
    commands.Connect(Command::Check,
                     AddEntry(menu, "MnuCheck", "Пр&оверить задачу", QKeySequence(Qt::CTRL | Qt::Key_T)),
                     handlers.Check);
    commands.Connect(Command::CheckRecords, AddEntry(menu, "MnuCheckRecords", "Провери&ть записи…"),
                     handlers.CheckRecords);
    commands.Connect(Command::Replay, AddEntry(menu, "MnuReplay", "Просмотр запис&и…"), handlers.Replay);
    commands.Connect(Command::Map,
                     AddEntry(menu, "MnuMap", "Карта пере&ливаний", QKeySequence(Qt::CTRL | Qt::Key_M)),
                     handlers.Map);
}

void AddZoomEntries(QMenu *menu, GameCommands &commands, const MainMenuHandlers &handlers)
{
    QMenu *zoom = menu->addMenu(QString::fromUtf8("&Масштаб"));
    zoom->setObjectName(QStringLiteral("MnuZoom"));
    commands.Bind(Command::Zoom, zoom->menuAction());
    QAction *larger = AddEntry(zoom, "MnuZoomIn", "&Крупнее");
    // Ctrl+= as well: on many keyboards "+" is a shifted "=".
    larger->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    commands.Connect(Command::Zoom, larger, handlers.ZoomIn);
    commands.Connect(Command::Zoom, AddEntry(zoom, "MnuZoomOut", "&Мельче", QKeySequence(Qt::CTRL | Qt::Key_Minus)),
                     handlers.ZoomOut);
    commands.Connect(Command::Zoom,
                     AddEntry(zoom, "MnuZoomNormal", "&Обычный размер", QKeySequence(Qt::CTRL | Qt::Key_0)),
                     handlers.ZoomNormal);
    commands.Connect(Command::Zoom, AddEntry(zoom, "MnuZoomFill", "По &размеру экрана"), handlers.ZoomFill);

    // Beside the scale: how the pictures change.
    QAction *animation = AddEntry(menu, "MnuAnimation", "Анима&ция переливания");
    animation->setCheckable(true);
    animation->setChecked(handlers.AnimationOn());
    commands.Connect(Command::Animation, animation, handlers.Animation);
    // After the handler: the mark shows the animation's state, whatever the click did.
    QObject::connect(animation, &QAction::triggered, animation,
                     [animation, on = handlers.AnimationOn] { animation->setChecked(on()); });
}

void BuildGameMenu(QMenu *menu, GameCommands &commands, const MainMenuHandlers &handlers)
{
    AddMoveEntries(menu, commands, handlers);
    menu->addSeparator();
    AddSolverEntries(menu, commands, handlers);
    menu->addSeparator();
    AddBookEntries(menu, commands, handlers);
    menu->addSeparator();
    AddZoomEntries(menu, commands, handlers);
    menu->addSeparator();
    // Its И went to "Просмотр записи…", whose other letters were all taken.
    commands.Connect(Command::Rules, AddEntry(menu, "MnuRules", "Как и&грать", QKeySequence(Qt::Key_F1)),
                     handlers.Rules);
}

} // namespace

void BuildMainMenu(QMenuBar *bar, GameCommands &commands, const MainMenuHandlers &handlers)
{
    bar->setObjectName(QStringLiteral("MainMenu1"));
    bar->setNativeMenuBar(false);

    QMenu *data = AddMenu(bar, "MnuData", "&Данные");
    commands.Connect(Command::New, AddEntry(data, "MnuNew", "&Новые"), handlers.New);
    data->addSeparator();
    commands.Connect(Command::Exit, AddEntry(data, "MnuExit", "&Выход"), handlers.Exit);

    // A command on the menu bar itself.
    QAction *tasks = bar->addAction(QString::fromUtf8("&Задачи"));
    tasks->setObjectName(QStringLiteral("MnuTasks"));
    commands.Connect(Command::Tasks, tasks, handlers.Tasks);

    BuildGameMenu(AddMenu(bar, "MnuGame", "&Игра"), commands, handlers);

    QAction *help = bar->addAction(QString::fromUtf8("&Справка"));
    help->setObjectName(QStringLiteral("MnuHelp"));
    commands.Bind(Command::Help, help);

    // F10 opens the first menu, as in GNOME's programs; arrows and letters go on from there.
    auto *openFirst = new QAction(bar->window());
    openFirst->setObjectName(QStringLiteral("MnuOpenFirst"));
    openFirst->setShortcut(QKeySequence(Qt::Key_F10));
    bar->window()->addAction(openFirst);
    QObject::connect(openFirst, &QAction::triggered, bar, [bar, data] { bar->setActiveAction(data->menuAction()); });
    new MenuLetters(bar);
}
