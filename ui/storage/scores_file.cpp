// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "scores_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// Far beyond a score for every task there is to type; a larger file is not ours.
constexpr qint64 kMaxBytes = 4 * 1024 * 1024;

} // namespace

QString ScoresFile::Path()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/sosudnik/records.txt");
}

bool ScoresFile::Read()
{
    m_loaded = true;
    QFile file(Path());
    bool readable = true;
    if (!file.exists()) {
        m_book = ScoreBook::Parse({});
    } else {
        QByteArray bytes;
        readable = file.open(QIODevice::ReadOnly) && file.size() <= kMaxBytes;
        if (readable) {
            bytes = file.read(kMaxBytes + 1);
            readable = bytes.size() <= kMaxBytes && file.error() == QFileDevice::NoError;
        }
        if (readable)
            m_book = ScoreBook::Parse(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    for (const Score &win : m_unsaved)
        m_book.Add(win);
    return readable;
}

bool ScoresFile::Write() const
{
    const QString path = Path();
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    // Not result/atomic_file: that one is made for the working folder, which
    // may be shared (others' links, folders the player cannot write) and
    // whose failures the player reads with their cause. This file lives in
    // the player's own folder and a failure is let go, so QSaveFile's
    // temporary file and rename suffice. A read-only file stays as it is:
    // QSaveFile refuses to replace it.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const std::string text = m_book.Text();
    return file.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size())
        && file.commit();
}

void ScoresFile::Load()
{
    Read();
}

std::optional<Score> ScoresFile::Remember(const Score &win)
{
    const bool readable = Read();
    std::optional<Score> before = m_book.Best(win.Code);
    if (!m_book.Add(win))
        return before;
    if (readable && Write())
        m_unsaved.clear();
    else
        m_unsaved.push_back(win);
    return before;
}
