// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "appearance.h"
#include "command_line.h"
#include "qt_message_boxes.h"
#include "tfrmmain.h"
#include "translations.h"
#include "xml_runtime.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (const std::optional<int> status = RunWithoutWindow(argc, argv))
        return *status;
    if (!DisplayAvailable(argc, argv))
        return kExitNoDisplay;

    QApplication app(argc, argv);
    InstallQtRussian(app);
    XmlRuntime xml;
    // The title only: a display name would be appended to every window caption.
    QApplication::setApplicationName(QString::fromUtf8(kAppTitle));
    QApplication::setWindowIcon(AppIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(SOSUDNIK_APP_ID)); // ties the window to its launcher

    QtMessageBoxes boxes;
    TfrmMain frmMain(boxes);
    frmMain.show();
    StartFromArguments(frmMain);
    return QApplication::exec();
}
