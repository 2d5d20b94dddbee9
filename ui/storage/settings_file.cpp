// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "settings_file.h"

#include "config_folder.h"
#include "form_scale.h"
#include "progress.h"
#include "task_code.h"

#include <QDir>
#include <QSettings>

#include <cmath>
#include <stdexcept>

namespace {

const char *const kScale = "scale";
const char *const kAnimation = "animation";
const char *const kBookTask = "book/last";
const char *const kFolders = "folders";

// A string value in quotes, as QSettings writes one: it cannot be taken for
// a list at its commas, nor for a variant at a leading "@".
QByteArray Quoted(const QString &text)
{
    QByteArray out = "\"";
    if (text.startsWith(QLatin1Char('@')))
        out += '@';
    for (const char c : text.toUtf8()) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

// A folder is kept only when the file can hold it plainly.
bool Storable(const QString &folder)
{
    for (const QChar c : folder) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return !folder.isEmpty();
}

bool IsChooserName(const QString &name)
{
    for (const QChar c : name) {
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80))
            return false;
    }
    return !name.isEmpty();
}

} // namespace

SettingsFile::SettingsFile(QObject *parent)
    : QObject(parent)
    , m_lock(new ConfigLock(Path(), this))
{
}

SettingsFile::~SettingsFile() = default;

QString SettingsFile::Path()
{
    return ConfigFile(QStringLiteral("sosudnik.conf"));
}

void SettingsFile::Load()
{
    m_values = {};
    m_problem.clear();
    const ConfigText text = ReadConfigFile(Path(), kMaxBytes);
    if (text.Result == ConfigText::State::Refused) {
        m_problem = text.Problem;
        return;
    }
    if (text.Result == ConfigText::State::Missing || text.Bytes.trimmed().isEmpty())
        return;
    // Just seen to be a plain file of a sensible size: QSettings reads it
    // without waiting on anything.
    if (const std::optional<Settings> read = ParseIni(Path()))
        m_values = *read;
    else
        m_problem = QString::fromUtf8("файл настроек испорчен");
}

std::optional<Settings> SettingsFile::ParseIni(const QString &path)
{
    const QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return std::nullopt;
    Settings settings;
    bool number = false;
    const qreal scale = ini.value(QLatin1String(kScale)).toString().toDouble(&number);
    if (number && std::isfinite(scale) && scale >= kSmallestScale && scale <= kLargestScale)
        settings.Scale = scale;
    const QString animation = ini.value(QLatin1String(kAnimation)).toString();
    settings.Animation = animation == QLatin1String("true");
    const std::string book = ini.value(QLatin1String(kBookTask)).toString().toStdString();
    try {
        if (!book.empty() && BookIndexOf(TaskCode(ParseTaskCode(book))) >= 0)
            settings.BookTask = TaskCode(ParseTaskCode(book));
    } catch (const std::invalid_argument &) {
        // Not a task: the book opens where it would.
    }
    for (const QString &key : ini.allKeys()) {
        const QString prefix = QLatin1String(kFolders) + QLatin1Char('/');
        if (!key.startsWith(prefix))
            continue;
        const QString chooser = key.mid(prefix.size());
        const QVariant folder = ini.value(key);
        if (IsChooserName(chooser) && folder.typeId() == QMetaType::QString && Storable(folder.toString()))
            settings.Folders.insert(chooser, folder.toString());
    }
    return settings;
}

QByteArray SettingsFile::IniText(const Settings &settings)
{
    QByteArray text = "[General]\n";
    if (settings.Scale)
        text += QByteArray(kScale) + '=' + QByteArray::number(*settings.Scale, 'g', 6) + '\n';
    text += QByteArray(kAnimation) + '=' + (settings.Animation ? "true" : "false") + '\n';
    if (!settings.BookTask.empty())
        text += "\n[book]\nlast=" + Quoted(QString::fromStdString(settings.BookTask)) + '\n';
    QByteArray folders;
    for (auto it = settings.Folders.cbegin(); it != settings.Folders.cend(); ++it) {
        if (IsChooserName(it.key()) && Storable(it.value()))
            folders += it.key().toLatin1() + '=' + Quoted(it.value()) + '\n';
    }
    if (!folders.isEmpty())
        text += "\n[" + QByteArray(kFolders) + "]\n" + folders;
    return text;
}

void SettingsFile::SetScale(qreal scale)
{
    if (m_values.Scale == scale)
        return;
    m_values.Scale = scale;
    Change([scale](Settings &s) { s.Scale = scale; });
}

void SettingsFile::SetAnimation(bool on)
{
    if (m_values.Animation == on)
        return;
    m_values.Animation = on;
    Change([on](Settings &s) { s.Animation = on; });
}

void SettingsFile::SetBookTask(const std::string &code)
{
    if (m_values.BookTask == code)
        return;
    m_values.BookTask = code;
    Change([code](Settings &s) { s.BookTask = code; });
}

void SettingsFile::SetFolder(const QString &chooser, const QString &folder)
{
    if (!IsChooserName(chooser) || !Storable(folder) || m_values.Folders.value(chooser) == folder)
        return;
    m_values.Folders.insert(chooser, folder);
    Change([chooser, folder](Settings &s) { s.Folders.insert(chooser, folder); });
}

QString SettingsFile::StartFolder(const QString &chooser) const
{
    const QString folder = Folder(chooser);
    return folder.isEmpty() || !QDir(folder).exists() ? QDir::currentPath() : folder;
}

void SettingsFile::Change(std::function<void(Settings &)> change)
{
    // Under the folder's lock: another game's change in the meantime stays.
    m_lock->Run([change = std::move(change)](const QString &problem) {
        if (!problem.isEmpty())
            return; // the file is another program's for now: this run keeps its own
        const QString path = Path();
        const ConfigText text = ReadConfigFile(path, kMaxBytes);
        Settings settings;
        if (text.Result == ConfigText::State::Read && !text.Bytes.trimmed().isEmpty())
            settings = ParseIni(path).value_or(Settings{}); // a damaged file gives way to a sound one
        change(settings);
        // A FIFO or a device under the name is refused by the writer itself.
        WriteConfigFile(path, IniText(settings));
    });
}
