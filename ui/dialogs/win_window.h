// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "form_scale.h"
#include "progress.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

// «Задача решена»: the attempt just won against the fewest pours, its stars,
// the best so far, and what to play next. Over the game but not modal; its
// focus starts on «Закрыть», so Enter, like Escape, only closes it.
class WinWindow final : public QDialog {
    Q_OBJECT

public:
    struct Handlers {
        std::function<void()> Next; // «Следующая задача»
        std::function<void()> Again; // «Еще раз»
        std::function<void()> Closed; // after every way it closes
    };

    WinWindow(QWidget *parent, Handlers handlers);

    // Fills the window for this win and shows it. In a lesson only the count
    // is told, and only «Закрыть» offered.
    void ShowWin(const WinReport &report, bool lesson);

    // Every line shown, one a line.
    QString Text() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Closes, then runs what the button asks for.
    void CloseAnd(const std::function<void()> &then);

    Handlers m_handlers;
    QLabel *m_result = nullptr;
    QLabel *m_stars = nullptr;
    QLabel *m_best = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_again = nullptr;
    QPushButton *m_close = nullptr;
    ScaledWidgets m_scaled;
};
