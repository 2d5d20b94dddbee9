// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

// The window-less commands run as main runs them, their output caught.
#include "argv.h"

#include "command_line.h"
#include "console_commands.h"

#include <QString>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE *)>;

QString ReadBack(std::FILE *file)
{
    std::rewind(file);
    QByteArray bytes;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, static_cast<qsizetype>(n));
    return QString::fromUtf8(bytes);
}

// What the window-less commands made of some arguments.
struct Ran {
    int Status = -1; // -1: the game itself starts
    QString Out;
    QString Err;
};

// Runs them as main does, with stdout (unless `out` is given) and stderr
// caught in files.
Ran RunCommand(const QStringList &arguments, std::FILE *out = nullptr)
{
    Argv argv(arguments);
    const CommandLine line = ReadCommandLine(argv.Count(), argv.Values());
    const File caughtOut(std::tmpfile(), std::fclose);
    const File caughtErr(std::tmpfile(), std::fclose);
    if (!caughtOut || !caughtErr)
        qFatal("no temporary file");
    Ran ran;
    ran.Status = RunWithoutWindow(line, {out ? out : caughtOut.get(), caughtErr.get()}).value_or(-1);
    ran.Out = ReadBack(caughtOut.get());
    ran.Err = ReadBack(caughtErr.get());
    return ran;
}

// Every "sosudnik: " line reads the same way: lower case after the name,
// ending in a word (no code or typed value last), "е" for "ё", and no raw
// control character that could steer the terminal.
void CheckMessages(const QString &err)
{
    const QString name = QStringLiteral("sosudnik: ");
    for (const QString &line : err.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QVERIFY2(!line.contains(QChar(0x0451)) && !line.contains(QChar(0x0401)), qPrintable(line));
        for (const QChar c : line)
            QVERIFY2(c.unicode() >= 0x20 && c.unicode() != 0x7F, qPrintable(line));
        if (!line.startsWith(name))
            continue;
        QVERIFY2(line.at(name.size()).isLower(), qPrintable(line));
        QVERIFY2(line.back().isLetter(), qPrintable(line));
    }
}

} // namespace
