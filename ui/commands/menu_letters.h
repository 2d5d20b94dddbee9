// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QChar>
#include <QObject>

class QKeyEvent;
class QMenuBar;

// The Russian letter on the key with this native scan code (the key code
// X11 and Wayland both report) on the ЙЦУКЕН layout; none for keys that
// hold no letter there.
QChar RussianLetterAt(quint32 nativeScanCode);

// The menus' letters (all Russian) on any keyboard layout: with the Latin
// layout active, Alt with the key where И sits (B) opens «Игра», and in an
// open menu the key where a letter sits picks its entry, as with the
// Russian layout. Keys typed into a field are left alone.
class MenuLetters final : public QObject {
    Q_OBJECT

public:
    // Watches the application's keys for the menu bar's window.
    explicit MenuLetters(QMenuBar *bar);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The key again, as the Russian layout would have typed it, to a menu
    // or the menu bar that knows the letter. Whether it was taken.
    bool Resend(QObject *to, const QKeyEvent &key, QChar russian);
    // Alt and a letter elsewhere in the window: the bar's entry of that letter.
    bool OpenFromBar(const QKeyEvent &key, QChar russian);

    QMenuBar *m_bar;
};
