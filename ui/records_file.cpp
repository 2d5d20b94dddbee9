// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "records_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// Far beyond a record for every task there is to type; a larger file is not ours.
constexpr qint64 kMaxBytes = 4 * 1024 * 1024;

} // namespace

QString RecordsFile::Path()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/sosudnik/records.txt");
}

bool RecordsFile::Read()
{
    m_loaded = true;
    QFile file(Path());
    if (!file.exists()) {
        m_book = RecordBook::Parse({});
        return true;
    }
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxBytes)
        return false;
    const QByteArray bytes = file.read(kMaxBytes + 1);
    if (bytes.size() > kMaxBytes || file.error() != QFileDevice::NoError)
        return false;
    m_book = RecordBook::Parse(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return true;
}

void RecordsFile::Load()
{
    Read();
}

void RecordsFile::Remember(const Record &win)
{
    const bool readable = Read();
    // Shown in this run even when it cannot be kept on disk.
    if (!m_book.Add(win) || !readable)
        return;
    const QString path = Path();
    if (!QDir().mkpath(QFileInfo(path).path()))
        return;
    // A read-only file stays as it is: QSaveFile refuses to replace it.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    const std::string text = m_book.Text();
    file.write(text.data(), static_cast<qint64>(text.size()));
    file.commit();
}
