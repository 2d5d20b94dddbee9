// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "config_folder.h"

#include "atomic_file.h"
#include "regular_file.h"
#include "save_failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTimer>

#include <cerrno>
#include <string>
#include <string_view>

namespace {

// A read-modify-write takes milliseconds; a lock older than this was left
// by a program that hung or died on another host.
constexpr int kStaleLockMs = 10'000;
constexpr int kRetryMs = 20;
// When the program closes with work still waiting.
constexpr int kLastChanceMs = 1'000;

std::string Native(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

QString ReadProblem(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return QString::fromUtf8("нет прав на чтение");
    case ELOOP:
        return QString::fromUtf8("ссылки на него ведут по кругу");
    case EIO:
        return QString::fromUtf8("ошибка ввода-вывода");
    case EFBIG:
        return QString::fromUtf8("он вырос, пока его читали");
    default:
        return QString::fromUtf8("ошибка системы (код %1)").arg(error);
    }
}

} // namespace

QString ConfigFolder()
{
    const QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString base = QDir::isAbsolutePath(home) ? home : QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base + QStringLiteral("/sosudnik"));
}

QString ConfigFile(const QString &name)
{
    return ConfigFolder() + QLatin1Char('/') + name;
}

ConfigText ReadConfigFile(const QString &path, qint64 maxBytes)
{
    RegularFile file(Native(path), static_cast<std::uint64_t>(std::max<qint64>(maxBytes, 0)));
    ConfigText text;
    text.Result = ConfigText::State::Refused;
    switch (file.Refused()) {
    case RegularFile::Refusal::Missing:
        text.Result = ConfigText::State::Missing;
        return text;
    case RegularFile::Refusal::Folder:
        text.Problem = QString::fromUtf8("под этим именем папка");
        return text;
    case RegularFile::Refusal::NotRegular:
        text.Problem = QString::fromUtf8("это не обычный файл, а канал, устройство или сокет");
        return text;
    case RegularFile::Refusal::TooLarge:
        text.Problem = QString::fromUtf8("файл больше %1 байт, а такого игра не пишет").arg(maxBytes);
        return text;
    case RegularFile::Refusal::System:
        text.Problem = ReadProblem(file.Error());
        return text;
    case RegularFile::Refusal::None:
        break;
    }
    std::string bytes;
    if (!file.ReadAll(bytes)) {
        text.Problem = ReadProblem(file.Error());
        return text;
    }
    text.Result = ConfigText::State::Read;
    text.Bytes = QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return text;
}

QString WriteConfigFile(const QString &path, const QByteArray &bytes)
{
    // A folder that cannot be made shows below as the folder that is missing.
    QDir().mkpath(QFileInfo(path).path());
    const std::string_view pieces[] = {std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))};
    try {
        WriteFileAtomically(Native(path), pieces, InPlace::Never);
    } catch (const SaveFailure &failure) {
        return QString::fromUtf8(failure.what());
    }
    return {};
}

ConfigLock::ConfigLock(const QString &path, QObject *parent)
    : QObject(parent)
    , m_path(path)
{
}

ConfigLock::~ConfigLock()
{
    if (!m_pending.empty())
        Attempt(kLastChanceMs, true);
}

void ConfigLock::Run(Work work)
{
    m_pending.push_back(std::move(work));
    if (m_pending.size() > 1)
        return; // joins the work that waits
    m_waiting.start();
    if (Attempt(0, false))
        return;
    if (!m_retry) {
        m_retry = new QTimer(this);
        m_retry->setInterval(kRetryMs);
        connect(m_retry, &QTimer::timeout, this, [this] {
            if (Attempt(0, false))
                m_retry->stop();
        });
    }
    m_retry->start();
}

bool ConfigLock::Attempt(int blockMs, bool lastChance)
{
    const QString folder = QFileInfo(m_path).path();
    if (!QDir().mkpath(folder)) {
        Finish(QString::fromUtf8("папку «%1» не создать").arg(QDir::toNativeSeparators(folder)));
        return true;
    }
    m_lock = std::make_unique<QLockFile>(m_path + QStringLiteral(".lock"));
    m_lock->setStaleLockTime(kStaleLockMs);
    if (m_lock->tryLock(blockMs)) {
        Finish({});
        return true;
    }
    const QLockFile::LockError error = m_lock->error();
    m_lock.reset();
    if (error == QLockFile::PermissionError) {
        Finish(QString::fromUtf8("в папке «%1» нет прав на запись").arg(QDir::toNativeSeparators(folder)));
        return true;
    }
    if (error != QLockFile::LockFailedError) {
        Finish(QString::fromUtf8("блокировку «%1.lock» не создать").arg(QDir::toNativeSeparators(m_path)));
        return true;
    }
    if (lastChance || m_waiting.hasExpired(m_patienceMs)) {
        Finish(QString::fromUtf8("его держит другая программа"));
        return true;
    }
    return false;
}

void ConfigLock::Finish(const QString &problem)
{
    // Work may ask for more: that waits for a lock of its own, as this one
    // is held until every work taken here is done.
    const std::unique_ptr<QLockFile> held = std::move(m_lock);
    std::vector<Work> works;
    works.swap(m_pending);
    for (const Work &work : works)
        work(problem);
    if (held)
        held->unlock();
}
