// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "pupil_file.h"

#include "result_writer.h"
#include "save_failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int Utf8Bytes(char32_t c)
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// Nothing a reader could not see or a terminal would act on.
bool Unshown(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
        return true;
    default:
        return false;
    }
}

// What a file name on a class's share cannot hold: a path separator (both
// kinds) and what a Windows server refuses.
bool Refused(QChar c)
{
    return QStringView(u"/\\:*?\"<>|").contains(c);
}

std::string Native(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

// Renaming over a file in a sticky folder is its owner's, the folder's
// owner's or root's alone.
bool ForeignInSharedFolder(const std::string &folder, const struct stat &file)
{
    struct stat dir { };
    if (::stat(folder.c_str(), &dir) != 0 || (dir.st_mode & S_ISVTX) == 0)
        return false;
    const uid_t me = ::geteuid();
    return me != 0 && file.st_uid != me && dir.st_uid != me;
}

// "Это не XML: разметка нарушена." as the end of a sentence.
QString Clause(const std::string &sentence)
{
    QString text = QString::fromStdString(sentence);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

} // namespace

QString TidyPupilName(const QString &typed)
{
    QString tidy;
    int characters = 0;
    int bytes = 0;
    bool blank = false;
    for (const char32_t c : typed.normalized(QString::NormalizationForm_C).toUcs4()) {
        if (QChar::isSpace(c)) {
            blank = !tidy.isEmpty();
            continue;
        }
        const QString shown = Unshown(c) ? QStringLiteral("_") : QString::fromUcs4(&c, 1);
        const int extra = blank ? 1 : 0;
        const int size = Utf8Bytes(Unshown(c) ? U'_' : c);
        if (characters + extra + 1 > kPupilNameCharacters || bytes + extra + size > kPupilNameBytes)
            break;
        if (blank)
            tidy += QLatin1Char(' ');
        tidy += shown;
        characters += extra + 1;
        bytes += extra + size;
        blank = false;
    }
    return tidy;
}

QString PupilFileStem(const QString &name)
{
    QString stem = name;
    bool leading = true;
    for (QChar &c : stem) {
        leading = leading && c == QLatin1Char('.');
        if (leading || Refused(c))
            c = QLatin1Char('_');
    }
    return stem.isEmpty() ? QStringLiteral("_") : stem;
}

PupilFile::PupilFile(const QString &folder, const QString &stem)
    : m_folder(folder)
    , m_stem(stem)
{
}

QString PupilFile::FileName(int copy) const
{
    return copy == 1 ? m_stem + QStringLiteral(".xml") : QStringLiteral("%1 (%2).xml").arg(m_stem).arg(copy);
}

std::optional<PupilFile::Outcome> PupilFile::TrySave(ResultWriter &writer)
{
    return Attempt(writer, std::chrono::milliseconds(0));
}

PupilFile::Outcome PupilFile::Save(ResultWriter &writer, std::chrono::milliseconds patience)
{
    return *Attempt(writer, std::max(patience, std::chrono::milliseconds(1)));
}

void PupilFile::Abandon()
{
    m_copy = 1;
    m_skipped.clear();
    m_why.clear();
}

std::optional<PupilFile::Outcome> PupilFile::Attempt(ResultWriter &writer, std::chrono::milliseconds wait)
{
    try {
        for (; m_copy <= kLastCopy; ++m_copy) {
            const QString name = FileName(m_copy);
            const QString path = QDir(m_folder).filePath(name);
            QLockFile lock(path + QStringLiteral(".lock"));
            if (!lock.tryLock(wait)) {
                const std::string shown = name.toStdString();
                switch (lock.error()) {
                case QLockFile::LockFailedError:
                    if (wait.count() == 0)
                        return std::nullopt;
                    throw SaveFailure(shown, kCauseLockHeld);
                case QLockFile::PermissionError:
                    throw SaveFailure(shown, EACCES);
                default:
                    throw SaveFailure(shown, QFileInfo(m_folder).isDir() ? EIO : ENOENT);
                }
            }
            const std::optional<QString> why = WriteCopy(writer, name);
            if (!why) {
                Outcome outcome{name, m_skipped, m_why};
                Abandon();
                return outcome;
            }
            if (m_skipped.isEmpty()) {
                m_skipped = name;
                m_why = *why;
            }
        }
        throw SaveFailure(FileName(1).toStdString(), kCauseNoFreeName);
    } catch (...) {
        Abandon();
        throw;
    }
}

std::optional<QString> PupilFile::WriteCopy(ResultWriter &writer, const QString &name)
{
    const std::string shown = name.toStdString();
    const std::string path = Native(QDir(m_folder).filePath(name));
    try {
        struct stat file { };
        const bool exists = ::lstat(path.c_str(), &file) == 0;
        if (!exists && errno != ENOENT)
            throw SaveFailure(shown, errno);
        ResultWriter::Earlier earlier;
        if (exists) {
            // Never followed: the save stays in the folder, whoever put the link there.
            if (S_ISLNK(file.st_mode))
                return QString::fromUtf8("это ссылка на другой файл");
            if (S_ISDIR(file.st_mode))
                return QString::fromUtf8("под этим именем папка");
            if (!S_ISREG(file.st_mode))
                return QString::fromUtf8("это не обычный файл, а устройство, канал или сокет");
            if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
                if (errno == EROFS)
                    throw SaveFailure(shown, EROFS);
                return QString::fromUtf8("нет прав на его запись");
            }
            if (ForeignInSharedFolder(Native(m_folder), file))
                return QString::fromUtf8("это файл другого пользователя в общей папке");
            earlier = writer.ReadBack(path);
            if (!earlier.Problem.empty())
                return QString::fromUtf8("он не читается как запись ходов — ") + Clause(earlier.Problem);
        }
        // A file that is there holds what this run wrote into it before;
        // one that is gone, or new, gets all of the run's.
        const auto known = m_written.find(name);
        const std::size_t first = exists && known != m_written.end() ? known->second : 0;
        writer.WriteWith(path, earlier, first, InPlace::Never);
        m_written[name] = writer.BlockCount();
        return std::nullopt;
    } catch (const SaveFailure &failure) {
        throw SaveFailure(shown, failure.Cause());
    }
}
