// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <chrono>
#include <map>
#include <optional>

class ResultWriter;

// A pupil's name as the game shows it: composed Unicode, blank space at
// the ends gone and every run of it one space, a control or invisible
// format character made "_"; at most kPupilNameCharacters characters and
// kPupilNameBytes bytes in UTF-8. Empty when nothing but blank space was
// typed.
inline constexpr int kPupilNameCharacters = 100;
inline constexpr int kPupilNameBytes = 200;
QString TidyPupilName(const QString &typed);

// The pupil's file name without ".xml", from the tidy name: path separators,
// the characters a Windows share refuses (: * ? " < > |) and leading dots
// made "_", so it can never be "." or "..", a hidden file or a path. The
// same name always gives the same file; so do two names that differ only
// in what was made "_" or cut off.
QString PupilFileStem(const QString &name);

// The pupil's work in a lesson: FOLDER/NAME.xml. Every save reads the file
// back under its lock (NAME.xml.lock beside it, QLockFile) and writes it
// again, atomically and never in place, with the saves it holds followed by
// this run's that it does not hold yet. A file that cannot take the save
// (not a result file, a link, another user's file in a shared folder, one
// the pupil may not write) is left as it is, and the save goes to the first
// of "NAME (2).xml" ... "NAME (99).xml" that can.
class PupilFile {
public:
    static constexpr int kLastCopy = 99;

    // folder: an existing folder; stem: from PupilFileStem.
    PupilFile(const QString &folder, const QString &stem);

    // "NAME.xml", "NAME (2).xml": 1 <= copy <= kLastCopy.
    QString FileName(int copy) const;
    QString Folder() const { return m_folder; }

    struct Outcome {
        QString Written; // the file's name, without the folder
        QString Skipped; // the first file left as it was; empty when none
        QString Why; // why it was: "это ссылка на другой файл"
    };

    // Writes every block of writer the file lacks. Returns nothing, having
    // waited for nothing, while another save holds a lock: call again later
    // to go on where it stopped. Throws SaveFailure naming the file.
    std::optional<Outcome> TrySave(ResultWriter &writer);
    // The same, waiting up to patience for each lock; past it, throws
    // SaveFailure with kCauseLockHeld. For a program without a window.
    Outcome Save(ResultWriter &writer, std::chrono::milliseconds patience);
    // The file whose lock a save that TrySave left waiting waits for.
    QString Pending() const { return FileName(m_copy); }
    // Gives up a save that TrySave left waiting.
    void Abandon();

private:
    std::optional<Outcome> Attempt(ResultWriter &writer, std::chrono::milliseconds wait);
    // Under the copy's lock: writes it, or says why it cannot take the save.
    std::optional<QString> WriteCopy(ResultWriter &writer, const QString &name);

    QString m_folder;
    QString m_stem;
    // Where the save in hand has got to.
    int m_copy = 1;
    QString m_skipped;
    QString m_why;
    // How many of the run's blocks each file was last written with.
    std::map<QString, std::size_t> m_written;
};
