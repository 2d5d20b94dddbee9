// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "move_log.h"

#include <QAbstractTableModel>
#include <QTableView>

// The move log as Qt sees it: no rows of its own, only a view of the log.
// Caption edits go straight into the log.
class MoveLogModel final : public QAbstractTableModel, private MoveLog::Observer {
    Q_OBJECT

public:
    explicit MoveLogModel(MoveLog &log, QObject *parent = nullptr);
    ~MoveLogModel() override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    void BeforeAppend(int row) override;
    void AfterAppend() override;
    void BeforeRemove(int first, int last) override;
    void AfterRemove() override;
    void CaptionChanged(int row) override;

    MoveLog &m_log;
};

// The report list: grid lines, fixed columns, the caption editable in place.
// It scrolls to the newest row after rows are added.
class MoveLogView final : public QTableView {
    Q_OBJECT

public:
    explicit MoveLogView(QWidget *parent = nullptr);
    using QTableView::edit;

    bool Editing() const { return state() == QAbstractItemView::EditingState; }
    // Writes a caption still being edited into the log, so a save sees it.
    void CommitOpenEditor();

protected:
    // F2 edits the row's caption from any of its cells.
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void rowsInserted(const QModelIndex &parent, int first, int last) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int first, int last) override;

private:
    QWidget *OpenEditor() const;
    void ScrollToNewestSoon();

    QPersistentModelIndex m_edited; // the caption whose editor is open
    bool m_scrollPending = false;
};
