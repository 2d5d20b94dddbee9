// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "replay.h"

#include <QAbstractTableModel>

// The rows of one save of a replayed file, as the replay's table shows
// them: the caption and levels as written, the pour that leads to each, and
// what the checker says of it. Made on demand: a save of a quarter of a
// million rows costs no more to show than one of ten.
class ReplayRowsModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kCaption, kV1, kV2, kV3, kPour, kNote, kColumnCount };

    explicit ReplayRowsModel(QObject *parent = nullptr);

    // null: no rows. The save must outlive its showing.
    void Show(const ReplaySave *save);

    // "цель достигнута", the checker's words for a wrong row, and the like.
    static QString Note(const ReplaySave &save, std::size_t row);
    // Whether the row breaks the rules: marked in the table.
    static bool Wrong(const ReplaySave &save, std::size_t row);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const ReplaySave *m_save = nullptr;
};
