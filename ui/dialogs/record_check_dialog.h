// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "task_presets.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <string>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class RecordChecker;
class ReplayWindow;
struct CheckedFile;

inline constexpr const char *kCaptionCheckRecords = "Проверить записи";

// The verdicts of a class's result files, a row a file, shown as they come:
// a bar counts the files checked («Проверено 120 из 2000») beside
// «Остановить». The table sorts by any column whose heading is clicked;
// «Копировать» copies it as shown, as text; «Сохранить таблицу…» asks for
// a file. Grading is not done here: the rows are handed in. A double click
// on a row replays that file.
class RecordCheckDialog final : public QDialog {
    Q_OBJECT

public:
    // checker: the tasks the files are graded against, named in the first
    // line; with more than one, a column names each file's.
    explicit RecordCheckDialog(const RecordChecker &checker, QWidget *parent = nullptr);

    // While the check runs.
    void SetTotal(int files);
    void AddFiles(const std::vector<CheckedFile> &files);
    void Finish(bool stopped);
    bool Finished() const { return m_finished; }

    // A heading line, then a line a row in the order shown, cells separated
    // by tabs (a name's own tabs and line breaks as \t and \n).
    QString TableText() const;
    // Sorts as a click on the column's heading does: ascending, and the
    // other way round on a second click.
    void SortBy(int column);
    // The files in the order the table shows them.
    std::vector<CheckedFile> FilesAsShown() const;
    // "Таблица записана в файл …" under the table; name: as it is to be shown.
    void SayTableSaved(const QString &name);
    // The file of the row as shown, replayed against the task it was graded
    // against (the first, when none), as a double click does.
    void ReplayRow(int row);
    // Null until a row is replayed.
    ReplayWindow *Replay() const;

signals:
    void StopAsked();
    void SaveAsked();

private:
    void AddTaskLine(const RecordChecker &checker);
    void AddTable();
    void AddProgress();
    void AddButtons();
    void FitToScreen();
    void SetRow(int row, const CheckedFile &file);
    void Resort();

    std::vector<std::string> m_codes; // with more than one task
    std::vector<TaskPreset> m_tasks; // the checker's, for a replay
    QPointer<ReplayWindow> m_replay;
    std::vector<CheckedFile> m_files; // as they came; the table's rows point here
    QTableWidget *m_table = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_save = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_saved = nullptr;
    int m_solved = 0;
    bool m_finished = false;
    bool m_fitted = false; // columns sized to the first rows
    bool m_resortDue = false;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
