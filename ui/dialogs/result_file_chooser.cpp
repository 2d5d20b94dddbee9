// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "result_file_chooser.h"

#include "appearance.h"
#include "form_scale.h"
#include "game_palette.h"
#include "placement.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

#include <algorithm>

void LookLikeTheGame(QFileDialog &dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
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
}

void AskForResultFiles(QFileDialog &dialog, const QString &accept, bool many)
{
    dialog.setObjectName(QStringLiteral("RecordFileDialog"));
    // Before the parts are looked for: only Qt's own chooser has them.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(many ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters({QString::fromUtf8("Файлы результата (*.xml)"), QString::fromUtf8("Все файлы (*)")});
    dialog.setLabelText(QFileDialog::Accept, accept);
}

QStringList ChooseResultFiles(
    QWidget *parent, const QString &caption, const QString &accept, QString &folder, bool many)
{
    QFileDialog dialog(parent, caption, folder.isEmpty() ? QDir::currentPath() : folder);
    AskForResultFiles(dialog, accept, many);
    LookLikeTheGame(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    folder = dialog.directory().absolutePath();
    return dialog.selectedFiles();
}
