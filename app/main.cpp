// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "appearance.h"
#include "command_line.h"
#include "console_commands.h"
#include "display_start.h"
#include "font_warm_up.h"
#include "game_style.h"
#include "qt_message_boxes.h"
#include "tfrmmain.h"
#include "translations.h"
#include "xml_runtime.h"

#include <QApplication>

#include <csignal>

namespace {

// Past the file-size limit a write would kill the process, and the move log
// with it; ignored, the write fails with EFBIG and a save reports "File too
// large." like a full disk.
void IgnoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

// The window's own font for everything: whatever would still use Qt's
// default would map a second font file for nothing.
void UseUiFont()
{
    QApplication::setFont(UiFont(8));
}

// Before any widget: the menu bar reads its glyphs from the style as it is built.
void UseGameStyle()
{
    QApplication::setStyle(new GameStyle);
}

} // namespace

int main(int argc, char *argv[])
{
    CommandLine line = ReadCommandLine(argc, argv);
    if (const std::optional<int> status = RunWithoutWindow(line))
        return *status;

    IgnoreFileSizeSignal();
    FontConfigWarmUp fonts;
    const std::unique_ptr<QApplication> app = StartApplication(line);
    if (!app)
        return kExitNoDisplay;
    UseGameStyle();
    InstallQtRussian(*app);
    XmlRuntime xml;
    // The title only: a display name would be appended to every window caption.
    QApplication::setApplicationName(QString::fromUtf8(kAppTitle));
    QApplication::setWindowIcon(AppIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(SOSUDNIK_APP_ID)); // ties the window to its launcher
    UseUiFont();

    QtMessageBoxes boxes;
    Game game(boxes);
    fonts.Wait();
    TfrmMain frmMain(game);
    frmMain.show();
    // A pupil who leaves the name unsaid ends the lesson before it starts.
    const std::optional<QString> pupil = PupilName(&frmMain, line);
    if (!pupil)
        return kExitSolved;
    StartFromArguments(frmMain, line, *pupil);
    return QApplication::exec();
}
