// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Result files as a test reads them back.
#pragma once

#include "result_reader.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

// Each save of the file as the captions of its rows joined by ",", or the
// reason it is no result file.
inline QStringList SavedCaptions(const QString &path)
{
    const ResultFile file = ReadResultFile(QFile::encodeName(path).toStdString());
    if (!file.Readable())
        return {QStringLiteral("unreadable: ") + QString::fromStdString(file.Problem)};
    QStringList saves;
    for (const ResultBlock &block : file.Blocks) {
        QStringList captions;
        for (const ResultRecord &record : block.Records)
            captions << QString::fromStdString(record.Columns[0]);
        saves << captions.join(QLatin1Char(','));
    }
    return saves;
}

// Never a FIFO or a device: opening one would wait.
inline QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
