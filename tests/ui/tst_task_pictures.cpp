// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The task dialog's pictures from the lazy library "pictures", in a program
// that, like the game, does not link them in: not there before, there once
// asked for; and when the library cannot be found, the dialog's pictures
// are empty and nothing else goes wrong.
// Usage: tst_task_pictures present|missing
#include "task_pictures.h"
#include "tfrmtask.h"

#include <QApplication>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool present = argc > 1 && std::strcmp(argv[1], "present") == 0;
    int failures = 0;
    const auto check = [&failures](bool ok, const char *what) {
        std::printf("%s: %s\n", ok ? "ok" : "FAIL", what);
        failures += ok ? 0 : 1;
    };
    check(!QFile::exists(QStringLiteral(":/task_milk.bmp")), "the pictures are not in the program itself");
    check(QFile::exists(QStringLiteral(":/glyph_retry.png")), "the glyphs are");
    check(EnsureTaskPictures() == present, "the library opened, or its absence told");
    check(EnsureTaskPictures() == present, "and asked again, the same answer");
    for (const char *base : {":/task_milk", ":/task_kvass"})
        for (qreal ratio : {1.0, 2.0}) {
            const QPixmap picture = TfrmTask::TaskPicture(QString::fromLatin1(base), ratio);
            check(picture.isNull() != present, present ? "a picture read" : "no picture, no crash");
        }
    TfrmTask dialog;
    dialog.show();
    check(dialog.isVisible(), "the dialog shows either way");
    return failures == 0 ? 0 : 1;
}
