// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMap>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class ConfigLock;

// What the game keeps between runs.
struct Settings {
    std::optional<qreal> Scale; // none: the fit at start decides
    bool Animation = false; // «Анимация переливания»
    std::string BookTask; // the code of the book's task played last
    // The folder last chosen in each file chooser, by the chooser's name.
    QMap<QString, QString> Folders;

    friend bool operator==(const Settings &, const Settings &) = default;
};

// The settings as an INI file, sosudnik.conf in the game's configuration
// folder:
//   [General]
//   scale=1.25
//   animation=true
//   [book]
//   last="8,5,3/8,0,0/4"
//   [folders]
//   check="/home/ученик/класс 5"
// Read once at start and never written then; written whole, atomically and
// under the folder's lock, only when a setting changes. A value that does
// not read as a setting of its kind counts as none; a file that cannot be
// read at all counts as empty and is replaced at the next change (a FIFO or
// a device under the name is left alone).
class SettingsFile final : public QObject {
    Q_OBJECT

public:
    static constexpr qint64 kMaxBytes = 64 * 1024;

    explicit SettingsFile(QObject *parent = nullptr);
    ~SettingsFile() override;

    static QString Path();

    // Reads the file. Cheap when there is none: one look at the folder.
    void Load();
    const Settings &Values() const { return m_values; }
    // Why the file was not read at the last look; empty when it was, or
    // when there is none.
    const QString &Problem() const { return m_problem; }

    // Each keeps the value for this run and, when it changed, in the file.
    void SetScale(qreal scale);
    void SetAnimation(bool on);
    void SetBookTask(const std::string &code);
    // chooser: a short Latin name for the file chooser ("check").
    void SetFolder(const QString &chooser, const QString &folder);
    QString Folder(const QString &chooser) const { return m_values.Folders.value(chooser); }
    // Where the chooser opens: its last folder while it is there, else the
    // current directory.
    QString StartFolder(const QString &chooser) const;

    // The text of the file for these settings, as QSettings reads it back.
    static QByteArray IniText(const Settings &settings);
    // The settings in the INI file at path, read by QSettings; only values
    // that read as settings are taken. Nothing when QSettings finds the
    // file malformed.
    static std::optional<Settings> ParseIni(const QString &path);

private:
    // Reads what is on disk now, changes one setting in it and writes it back.
    void Change(std::function<void(Settings &)> change);

    Settings m_values;
    QString m_problem;
    // Declared last: work still waiting for it runs before the rest goes.
    ConfigLock *m_lock = nullptr;
};
