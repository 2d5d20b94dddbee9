// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "record_check_command.h"

#include "appearance.h"
#include "form_scale.h"
#include "game_commands.h"
#include "game_palette.h"
#include "placement.h"
#include "position.h"
#include "puzzle.h"
#include "record_check_dialog.h"
#include "settings_file.h"
#include "task_in_play.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>
#include <QWidget>

#include <algorithm>

RecordCheckCommand::RecordCheckCommand(const Puzzle &puzzle, const GameCommands &commands, SettingsFile &settings,
                                       QWidget *window)
    : QObject(window)
    , m_puzzle(puzzle)
    , m_commands(commands)
    , m_settings(settings)
    , m_window(window)
{
}

TaskPreset RecordCheckCommand::Task() const
{
    return TaskInPlay(m_puzzle, m_commands);
}

void RecordCheckCommand::Run()
{
    const QStringList files = ChooseFiles();
    if (!files.isEmpty())
        ShowVerdicts(files);
}

void RecordCheckCommand::ShowVerdicts(const QStringList &files)
{
    RecordCheckDialog dialog(Task(), files, m_window);
    dialog.exec();
}

QStringList RecordCheckCommand::ChooseFiles()
{
    // Qt's own chooser rather than the desktop's: it takes the game's
    // colours and font, and looks the same everywhere.
    // Where the last choice was made, in this run or an earlier one; the
    // current directory at first.
    const QString folder = m_settings.Folder(QStringLiteral("check"));
    QFileDialog dialog(m_window, QString::fromUtf8(kCaptionCheckRecords),
                       folder.isEmpty() || !QDir(folder).exists() ? QDir::currentPath() : folder);
    dialog.setObjectName(QStringLiteral("RecordFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters({QString::fromUtf8("Файлы результата (*.xml)"), QString::fromUtf8("Все файлы (*)")});
    dialog.setLabelText(QFileDialog::Accept, QString::fromUtf8("Проверить"));
    dialog.setFont(UiFont(8));
    FollowFormScale(&dialog);
    // Room for the names, sizes and dates of a class's files: Qt's chooser
    // keeps its columns at widths for its own font, not the game's at scale.
    if (auto *list = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        for (int column = 1; column < list->header()->count(); ++column)
            list->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    const QFontMetrics metrics(dialog.font());
    dialog.resize(std::max(dialog.sizeHint().width(), metrics.averageCharWidth() * 110),
                  std::max(dialog.sizeHint().height(), metrics.height() * 28));
    UseGamePalette(&dialog);
    KeepOnScreen(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    m_settings.SetFolder(QStringLiteral("check"), dialog.directory().absolutePath());
    return dialog.selectedFiles();
}
