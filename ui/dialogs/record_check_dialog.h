// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "replay_window.h"
#include "task_presets.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>

class QTableWidget;

inline constexpr const char *kCaptionCheckRecords = "Проверить записи";

// The verdicts of saved result files for one task, a row a file: the
// table starts in the order the files came and sorts by any column whose
// heading is clicked; "Копировать" copies it as shown, as text. A double
// click on a row replays that file.
class RecordCheckDialog final : public QDialog {
    Q_OBJECT

public:
    // files: paths. Reads and checks each of them here and now.
    RecordCheckDialog(const TaskPreset &task, const QStringList &files, QWidget *parent = nullptr);

    // A heading line, then a line a row in the order shown, cells separated
    // by tabs (a name's own tabs and line breaks as \t and \n).
    QString TableText() const;
    // Sorts as a click on the column's heading does: ascending, and the
    // other way round on a second click.
    void SortBy(int column);
    // The file of the row as shown, replayed against the task, as a double
    // click does.
    void ReplayRow(int row);
    // Null until a row is replayed.
    ReplayWindow *Replay() const { return m_replay; }

private:
    TaskPreset m_task;
    QPointer<ReplayWindow> m_replay;
    QTableWidget *m_table = nullptr;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
