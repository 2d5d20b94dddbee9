// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "background_work.h"
#include "form_scale.h"
#include "replay.h"

#include <QDialog>
#include <QPointer>

#include <array>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QTableView;
class MapView;
class PourMap;
class ReplayRowsModel;
class VesselPicture;

inline constexpr const char *kCaptionReplay = "Просмотр записи";

// "Просмотр записи": a pupil's result file against a task, save by save and
// row by row. The saves are numbered as the checker numbers them and the one
// it grades is chosen first; each row shows the three vessels as the game
// draws them, its caption, and what the checker says of it; the save's
// verdict stands below; beside them the task's map («Карта переливаний»)
// with the save's path up to the row. Arrows, PageUp and PageDown step,
// Home and End jump.
// Nothing is written: not the game, not the file.
class ReplayWindow final : public QDialog {
    Q_OBJECT

public:
    // The reading, when the window goes, is waited for (BackgroundWork).
    explicit ReplayWindow(const TaskPreset &task, QWidget *parent = nullptr);

    // Reads the file (off the window's thread) against the task and shows it.
    void Open(const QString &path);
    // The same against another task.
    void Open(const QString &path, const TaskPreset &task);
    // Another task: the file is read again against it.
    void SetTask(const TaskPreset &task);
    bool Loading() const { return m_loading != nullptr; }

    const Replay *Shown() const { return m_replay.get(); }
    int SaveShown() const { return m_save; }
    int RowShown() const { return m_row; }
    void ShowSave(int index);
    void ShowRow(int row);
    // The task's map with the path up to the row shown.
    const MapView *Map() const { return m_map; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void BuildTop();
    QWidget *BuildStage();
    void BuildButtons();
    void Load();
    void Loaded(std::shared_ptr<Replay> replay, std::shared_ptr<const PourMap> map);
    // The map with the shown save's rows up to `row` (none: no path).
    void ShowPath(int row);
    void ShowTaskCode();
    void ApplyTypedTask();
    void ChooseFile();

    TaskPreset m_task;
    QString m_path;
    std::shared_ptr<Replay> m_replay;
    std::shared_ptr<const PourMap> m_pourMap; // of the replay's task
    int m_save = -1;
    int m_row = -1;
    QPointer<BackgroundWork> m_loading;
    bool m_loadAgain = false; // asked for again while loading

    QLabel *m_file = nullptr;
    QLineEdit *m_code = nullptr;
    QLabel *m_verdict = nullptr;
    QListWidget *m_saves = nullptr;
    QTableView *m_rows = nullptr;
    ReplayRowsModel *m_model = nullptr;
    std::array<VesselPicture *, 3> m_vessels{};
    QLabel *m_caption = nullptr;
    QLabel *m_note = nullptr; // what the checker says of the row
    QLabel *m_saveVerdict = nullptr;
    MapView *m_map = nullptr;
    ScaledWidgets m_scaled;
};
