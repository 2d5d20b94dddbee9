// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Fontconfig warmed on another thread while the application is made, as
// main does it: no deadlock, no crash, one configuration, and text measured
// afterwards in the window's own face. A plain program: QTest would make
// its application before the warm-up could begin.
#include "font_warm_up.h"

#include "appearance.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>

#include <cstdio>

int main(int argc, char *argv[])
{
    int failures = 0;
    const auto check = [&failures](bool ok, const char *what) {
        std::printf("%s: %s\n", ok ? "ok" : "FAIL", what);
        failures += ok ? 0 : 1;
    };
    for (int round = 0; round < 3; ++round) {
        FontConfigWarmUp fonts;
        check(fonts.Started(), "Qt's GUI library brought fontconfig, and the warm-up began");
        if (round == 1)
            fonts.Wait(); // and the destructor waits once more, harmlessly
        QApplication app(argc, argv);
        fonts.Wait();
        const QFont font = UiFont(10, true);
        check(QFontMetrics(font).height() > 0, "text measured after the warm-up");
        check(!QFontInfo(font).family().isEmpty(), "the face resolved");
    }
    return failures == 0 ? 0 : 1;
}
