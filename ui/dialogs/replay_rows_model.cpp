// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "replay_rows_model.h"

#include "wording.h"

#include <QBrush>
#include <QColor>

namespace {

const char *const kHeadings[] = {"Ход", "V1", "V2", "V3", "Переливание", "Проверка"};

// Text from the file, as a message shows typed text: escaped and cut short.
QString FromFile(const std::string &text)
{
    return QString::fromStdString(Shortened(text));
}

} // namespace

ReplayRowsModel::ReplayRowsModel(QObject *parent)
    : QAbstractTableModel(parent)
{ }

void ReplayRowsModel::Show(const ReplaySave *save)
{
    beginResetModel();
    m_save = save;
    endResetModel();
}

bool ReplayRowsModel::Wrong(const ReplaySave &save, std::size_t row)
{
    return !save.Rows[row].Step.Wrong.empty();
}

QString ReplayRowsModel::Note(const ReplaySave &save, std::size_t row)
{
    const ReplayRow &r = save.Rows[row];
    if (row == 0) {
        if (save.OfTask)
            return QStringLiteral("начало");
        return r.Step.Levels ? QStringLiteral("не начало этой задачи") : QStringLiteral("не уровни");
    }
    if (!save.OfTask)
        return {};
    if (!r.Step.Wrong.empty())
        return QString::fromStdString(r.Step.Wrong);
    if (!r.Checked)
        return QStringLiteral("не проверяется: строка выше — не уровни");
    if (save.FirstGoal && row == *save.FirstGoal)
        return QStringLiteral("цель достигнута");
    if (save.FirstGoal && row > *save.FirstGoal)
        return QStringLiteral("после цели");
    return {};
}

int ReplayRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_save ? 0 : static_cast<int>(m_save->Rows.size());
}

int ReplayRowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant ReplayRowsModel::data(const QModelIndex &index, int role) const
{
    if (!m_save || !index.isValid())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const ReplayRow &r = m_save->Rows[row];
    if (role == Qt::BackgroundRole) {
        if (Wrong(*m_save, row))
            return QBrush(QColor(255, 215, 215));
        if (m_save->FirstGoal && row == *m_save->FirstGoal)
            return QBrush(QColor(215, 245, 215));
        return {};
    }
    if (role == Qt::TextAlignmentRole && index.column() != kNote)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case kCaption:
        return FromFile(r.Caption);
    case kV1:
    case kV2:
    case kV3:
        return FromFile(r.Texts[static_cast<std::size_t>(index.column() - kV1)]);
    case kPour:
        if (r.Step.Pour)
            return QStringLiteral("из %1 в %2").arg(r.Step.Pour->Source).arg(r.Step.Pour->Receiver);
        return {};
    case kNote:
        return Note(*m_save, row);
    default:
        return {};
    }
}

QVariant ReplayRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumnCount)
        return QString::fromUtf8(kHeadings[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}
