// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "appearance.h"
#include "qt_message_boxes.h"
#include "tfrmmain.h"
#include "xml_runtime.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    XmlRuntime xml;
    // The title only: a display name would be appended to every window caption.
    QApplication::setApplicationName(QString::fromUtf8(kAppTitle));
    QApplication::setWindowIcon(AppIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(SOSUDNIK_APP_ID)); // ties the window to its launcher

    QtMessageBoxes boxes;
    TfrmMain frmMain(boxes);
    frmMain.show();
    return QApplication::exec();
}
