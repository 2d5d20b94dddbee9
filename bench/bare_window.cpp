// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// The yardstick for start-up: a Qt main window with nothing in it, built the
// same way as the game, at the game's size. With --text it shows one line of
// text, which is what it takes to bring up Qt's font system.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include <cstring>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setFixedSize(642, 494);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0)
        window.setCentralWidget(new QLabel(QStringLiteral("Сосудник")));
    window.show();
    return QApplication::exec();
}
