// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "atomic_file.h"

#include "text_filters.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {

[[noreturn]] void Fail(const QString &reason)
{
    throw std::runtime_error(TrimReason(reason.toStdString()));
}

// QSaveFile refuses a directory or an existing read-only file itself, before
// any system call, in words of its own; say it as the system would.
QString OpenFailure(const QSaveFile &file)
{
    if (file.error() != QFileDevice::WriteError)
        return file.errorString();
    return QString::fromLocal8Bit(std::strerror(QFileInfo(file.fileName()).isDir() ? EISDIR : EACCES));
}

} // namespace

void WriteFileAtomically(const std::string &path, std::string_view bytes)
{
    // An uncommitted QSaveFile drops its temporary file when it goes out of
    // scope, so every failure below leaves the old file as it was.
    QSaveFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    // Unbuffered: through Qt's write buffer, a write cut short by a full disk
    // or a size limit surfaces only in the flush inside commit(), and commit()
    // then goes on to publish the cut file as if all was well.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        Fail(OpenFailure(file));
    // A write that hits the limit midway comes back short without an error;
    // the next one fails and says why.
    const char *data = bytes.data();
    auto left = static_cast<qint64>(bytes.size());
    while (left > 0) {
        const qint64 written = file.write(data, left);
        if (written <= 0)
            Fail(file.errorString());
        data += written;
        left -= written;
    }
    if (!file.commit())
        Fail(file.errorString());
}
