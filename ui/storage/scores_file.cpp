// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "scores_file.h"

#include "config_folder.h"
#include "wording.h"

#include <QDir>

namespace {

// Far beyond a score for every task there is to type; a larger file is not ours.
constexpr qint64 kMaxBytes = 4 * 1024 * 1024;

QString Shown(const QString &path)
{
    return QString::fromStdString(EscapeControls(QDir::toNativeSeparators(path).toStdString()));
}

} // namespace

ScoresFile::ScoresFile(std::function<void(const std::string &)> cannotKeep)
    : m_cannotKeep(std::move(cannotKeep))
{
}

ScoresFile::~ScoresFile()
{
    // A write still waiting gets its last try, but the program is closing:
    // no box then.
    m_closing = true;
    m_lock.reset();
}

QString ScoresFile::Path()
{
    return ConfigFile(QStringLiteral("records.txt"));
}

void ScoresFile::Load()
{
    m_loaded = true;
    const ConfigText text = ReadConfigFile(Path(), kMaxBytes);
    // A file that cannot be read counts as none; what was read before stays.
    if (text.Result == ConfigText::State::Read)
        m_book = ScoreBook::Parse(std::string_view(text.Bytes.constData(), static_cast<std::size_t>(text.Bytes.size())));
    else if (text.Result == ConfigText::State::Missing)
        m_book = ScoreBook::Parse({});
    for (const Score &win : m_unsaved)
        m_book.Add(win);
}

std::optional<Score> ScoresFile::Remember(const Score &win)
{
    Load();
    std::optional<Score> before = m_book.Best(win.Code);
    if (!m_book.Add(win))
        return before;
    m_unsaved.push_back(win);
    Lock().Run([this](const QString &problem) { Keep(problem); });
    return before;
}

ConfigLock &ScoresFile::Lock()
{
    // The folder is looked up anew for each win; a lock waiting keeps its own.
    const QString path = Path();
    if (!m_lock || (!m_lock->Waiting() && m_lock->Path() != path))
        m_lock = std::make_unique<ConfigLock>(path);
    return *m_lock;
}

void ScoresFile::Keep(const QString &lockProblem)
{
    if (m_unsaved.empty())
        return; // kept by an earlier turn under the same lock
    const QString path = Path();
    if (!lockProblem.isEmpty())
        return Tell(QString::fromUtf8("«%1» — %2").arg(Shown(path), lockProblem));
    const ConfigText text = ReadConfigFile(path, kMaxBytes);
    if (text.Result == ConfigText::State::Refused)
        return Tell(QString::fromUtf8("«%1» — %2").arg(Shown(path), text.Problem));
    ScoreBook book = ScoreBook::Parse(std::string_view(text.Bytes.constData(), static_cast<std::size_t>(text.Bytes.size())));
    bool changed = false;
    for (const Score &win : m_unsaved)
        changed = book.Add(win) || changed;
    if (changed) {
        QString failure = WriteConfigFile(path, QByteArray::fromStdString(book.Text()));
        if (!failure.isEmpty()) {
            failure[0] = failure[0].toLower();
            return Tell(QString::fromStdString(EscapeControls(failure.toStdString())));
        }
    }
    m_unsaved.clear();
    m_book = std::move(book);
}

void ScoresFile::Tell(const QString &why)
{
    if (m_closing || m_told || !m_cannotKeep)
        return;
    m_told = true;
    m_cannotKeep(QString::fromUtf8("Победа не записана в файл рекордов: %1. Файл оставлен как есть; до конца этого "
                                   "запуска победа видна в сборнике.")
                     .arg(why)
                     .toStdString());
}
