// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "menu_letters.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace {

// Key codes as X11 numbers them (the kernel's plus 8), row by row from the
// top letter row, and the Russian letter on each.
struct KeyRow {
    quint32 First;
    const char16_t *Letters;
};
constexpr KeyRow kRows[] = {
    {24, u"йцукенгшщзхъ"},
    {38, u"фывапролджэ"},
    {49, u"ё"},
    {52, u"ячсмитьбю"},
};

// The entry whose mnemonic is this letter, in either case.
QAction *WithMnemonic(const QList<QAction *> &actions, QChar letter)
{
    for (QAction *action : actions) {
        const QString text = action->text();
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        if (amp >= 0 && amp + 1 < text.size() && text[amp + 1].toLower() == letter.toLower() && action->isVisible())
            return action;
    }
    return nullptr;
}

bool IsCyrillic(QChar c)
{
    return c.script() == QChar::Script_Cyrillic;
}

} // namespace

QChar RussianLetterAt(quint32 nativeScanCode)
{
    for (const KeyRow &row : kRows) {
        const std::u16string_view letters(row.Letters);
        if (nativeScanCode >= row.First && nativeScanCode < row.First + letters.size())
            return QChar(letters[nativeScanCode - row.First]);
    }
    return {};
}

MenuLetters::MenuLetters(QMenuBar *bar)
    : QObject(bar)
    , m_bar(bar)
{
    QApplication::instance()->installEventFilter(this);
}

bool MenuLetters::Resend(QObject *to, const QKeyEvent &key, QChar russian)
{
    QKeyEvent again(QEvent::KeyPress, russian.toUpper().unicode(), key.modifiers(), key.nativeScanCode(),
                    key.nativeVirtualKey(), key.nativeModifiers(), QString(russian), key.isAutoRepeat(),
                    static_cast<quint16>(key.count()));
    QApplication::sendEvent(to, &again);
    return again.isAccepted();
}

bool MenuLetters::OpenFromBar(const QKeyEvent &key, QChar russian)
{
    QAction *action = WithMnemonic(m_bar->actions(), russian);
    if (!action || !action->isEnabled())
        return false;
    if (action->menu())
        return Resend(m_bar, key, russian); // opens it as its own letter would
    action->trigger(); // an entry of the bar itself: «Задачи»
    return true;
}

bool MenuLetters::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    const QString text = key->text();
    // Typed on the Russian layout, the letter is right already.
    if (text.size() != 1 || IsCyrillic(text[0]) || !text[0].isPrint())
        return false;
    const QChar russian = RussianLetterAt(key->nativeScanCode());
    if (russian.isNull())
        return false;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);

    if (auto *menu = qobject_cast<QMenu *>(watched)) {
        if (modifiers & ~Qt::AltModifier)
            return false;
        // A letter the menu knows as typed keeps its meaning.
        if (WithMnemonic(menu->actions(), text[0]) || !WithMnemonic(menu->actions(), russian))
            return false;
        Resend(menu, *key, russian);
        return true;
    }
    if (watched == m_bar) {
        if (modifiers & ~Qt::AltModifier || WithMnemonic(m_bar->actions(), text[0]))
            return false;
        return OpenFromBar(*key, russian);
    }
    auto *widget = qobject_cast<QWidget *>(watched);
    if (modifiers != Qt::AltModifier || !widget || widget->window() != m_bar->window()
        || QApplication::activePopupWidget() || WithMnemonic(m_bar->actions(), text[0]))
        return false;
    return OpenFromBar(*key, russian);
}
