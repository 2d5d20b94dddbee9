// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The yardstick for start-up: a Qt main window with nothing in it, built the
// same way as the game, at the game's size.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setFixedSize(642, 494);
    window.show();
    return QApplication::exec();
}
