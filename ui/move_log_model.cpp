// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "move_log_model.h"

#include <QHeaderView>

namespace {
Qt::Alignment ColumnAlignment(int column)
{
    return column == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter;
}
} // namespace

MoveLogModel::MoveLogModel(MoveLog &log, QObject *parent)
    : QAbstractTableModel(parent)
    , m_log(log)
{
    m_log.SetObserver(this);
}

MoveLogModel::~MoveLogModel()
{
    m_log.SetObserver(nullptr);
}

int MoveLogModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_log.RowCount();
}

int MoveLogModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_log.ColumnCount();
}

QVariant MoveLogModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return QString::fromStdString(m_log.Cell(index.row(), index.column()));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(ColumnAlignment(index.column()));
    return {};
}

QVariant MoveLogModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(m_log.ColumnCaption(section));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(ColumnAlignment(section));
    return {};
}

Qt::ItemFlags MoveLogModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool MoveLogModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.column() != 0 || role != Qt::EditRole)
        return false;
    m_log.SetCaption(index.row(), value.toString().toStdString());
    return true;
}

void MoveLogModel::BeforeAppend(int row)
{
    beginInsertRows({}, row, row);
}

void MoveLogModel::AfterAppend()
{
    endInsertRows();
}

void MoveLogModel::BeforeRemove(int first, int last)
{
    beginRemoveRows({}, first, last);
}

void MoveLogModel::AfterRemove()
{
    endRemoveRows();
}

void MoveLogModel::CaptionChanged(int row)
{
    const QModelIndex i = index(row, 0);
    emit dataChanged(i, i);
}

MoveLogView::MoveLogView(QWidget *parent)
    : QTableView(parent)
{
    setShowGrid(true);
    setSortingEnabled(false);
    setWordWrap(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A click on the selected caption, or F2; typing alone edits nothing.
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    // One stop in the window's tab order, not a walk through the cells;
    // the arrows still move the current row.
    setTabKeyNavigation(false);
}

bool MoveLogView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (trigger == EditKeyPressed && index.isValid() && index.column() != 0) {
        const QModelIndex caption = index.siblingAtColumn(0);
        setCurrentIndex(caption);
        return QTableView::edit(caption, trigger, event);
    }
    return QTableView::edit(index, trigger, event);
}

void MoveLogView::CommitOpenEditor()
{
    if (!Editing())
        return;
    // The caption editor is the viewport's only child widget while open.
    for (QWidget *editor : viewport()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}
