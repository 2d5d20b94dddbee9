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

void MoveLogView::CommitOpenEditor()
{
    if (QWidget *editor = OpenEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

QWidget *MoveLogView::OpenEditor() const
{
    return Editing() && m_edited.isValid() ? indexWidget(m_edited) : nullptr;
}

bool MoveLogView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    QModelIndex target = index;
    if (trigger == EditKeyPressed && index.isValid() && index.column() != 0) {
        target = index.siblingAtColumn(0);
        setCurrentIndex(target);
    }
    const bool editing = QTableView::edit(target, trigger, event);
    if (editing && Editing())
        m_edited = target;
    return editing;
}

void MoveLogView::rowsInserted(const QModelIndex &parent, int first, int last)
{
    QTableView::rowsInserted(parent, first, last);
    ScrollToNewestSoon();
}

// An editor whose row goes (undo, a new game, a task) is closed as editors
// are, the focus back on the list. Qt alone only drops it, and it stays among
// the viewport's children until it is deleted later: a save in that time
// would hand it back to the view.
void MoveLogView::rowsAboutToBeRemoved(const QModelIndex &parent, int first, int last)
{
    if (QWidget *editor = OpenEditor(); editor && m_edited.row() >= first && m_edited.row() <= last)
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    QTableView::rowsAboutToBeRemoved(parent, first, last);
}

// Queued: scrolling lays out the rows above the newest, which a pour must not
// wait for. One call pending at most, however many rows come in one turn of
// the event loop.
void MoveLogView::ScrollToNewestSoon()
{
    if (m_scrollPending)
        return;
    m_scrollPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_scrollPending = false;
            scrollToBottom();
        },
        Qt::QueuedConnection);
}
