// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "position.h"
#include "recorder.h"
#include "solver.h"
#include "tfrmmain.h"
#include "vessel_picture.h"
#include "win_commands.h"
#include "win_window.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Records boxes like Recorder, and also where each picture stood when the box
// came up (a dragged picture stays at its drop point until the box closes).
class UiRecorder : public Recorder {
public:
    void Show(const std::string &text, const std::string &caption, int icon) override
    {
        Recorder::Show(text, caption, icon);
        if (m_window) {
            std::array<QPoint, 3> where{};
            for (int n = 1; n <= 3; ++n)
                where[static_cast<std::size_t>(n - 1)] =
                    m_window->findChild<VesselPicture *>(QStringLiteral("Image%1").arg(n))->pos();
            PicturesAtBox.push_back(where);
        }
    }
    void WatchWindow(QWidget *window) { m_window = window; }

    std::vector<std::array<QPoint, 3>> PicturesAtBox;

private:
    QWidget *m_window = nullptr;
};

// The offscreen platform cannot grab at the window-system level and says so
// on every drag; Qt's own grab, which routes the events, works all the same.
inline void QuietGrabWarnings()
{
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (!message.contains(QLatin1String("does not support grabbing")))
                previous(type, context, message);
        });
}

// Saves land in the current directory: this moves it into a fresh temporary
// folder for as long as it lives, and back again even when a check fails
// midway, so later tests never run in a folder that is gone.
class TemporaryWorkDir {
public:
    TemporaryWorkDir()
        : m_before(QDir::currentPath())
    {
        m_valid = m_dir.isValid() && QDir::setCurrent(m_dir.path());
    }
    ~TemporaryWorkDir() { QDir::setCurrent(m_before); }
    TemporaryWorkDir(const TemporaryWorkDir &) = delete;
    TemporaryWorkDir &operator=(const TemporaryWorkDir &) = delete;

    bool IsValid() const { return m_valid; }
    QString FilePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_before;
    bool m_valid = false;
};

// A win is kept in the user's configuration folder: each test program gets
// a temporary one of its own, never the real home's. Returns it.
inline QString TemporaryConfigHome()
{
    static const QTemporaryDir dir;
    static const bool set = [] { return qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit()); }();
    if (!set || !dir.isValid())
        qFatal("no temporary configuration folder");
    return dir.path();
}

// The game's settings are kept in the configuration folder between runs:
// each window of a test starts without them, as on a first run, unless the
// test keeps them on purpose. Returns the temporary configuration folder.
inline QString FreshSettings(bool keep = false)
{
    const QString home = TemporaryConfigHome();
    if (!keep)
        QFile::remove(home + QStringLiteral("/sosudnik/sosudnik.conf"));
    return home;
}

// One main window, shown and ready for events routed through its QWindow.
class Harness {
public:
    // keepSettings: the window takes up what an earlier window of the test kept.
    explicit Harness(bool keepSettings = false)
        : configHome(FreshSettings(keepSettings))
        , game(boxes)
        , window(game)
    {
        QuietGrabWarnings();
        boxes.Watch(window.Puzzle());
        boxes.WatchWindow(&window);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the main window was never exposed");
    }

    template <class W = QWidget>
    W *Find(const QString &name) const
    {
        W *w = window.findChild<W *>(name);
        if (!w)
            qFatal("no widget named %s", qPrintable(name));
        return w;
    }

    QLineEdit *Edit(const QString &name) const { return Find<QLineEdit>(name); }
    VesselPicture *Image(int n) const { return Find<VesselPicture>(QStringLiteral("Image%1").arg(n)); }

    // A point of a widget in the coordinates of the window's QWindow.
    QPoint At(const QWidget *w, QPoint local) const { return w->mapTo(&window, local); }
    QPoint Center(const QWidget *w) const { return At(w, w->rect().center()); }

    QWindow *Handle() const { return window.windowHandle(); }

    void Click(const QString &button) { QTest::mouseClick(Handle(), Qt::LeftButton, {}, Center(Find(button))); }

    void Press(QPoint p) { QTest::mousePress(Handle(), Qt::LeftButton, {}, p); }
    void MoveTo(QPoint p) { QTest::mouseMove(Handle(), p); }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(Handle(), b, {}, p); }

    // Press, move in steps, release: as a hand would drag.
    void Drag(QPoint from, QPoint to, int steps = 6)
    {
        Press(from);
        for (int i = 1; i <= steps; ++i)
            MoveTo(from + (to - from) * i / steps);
        Release(to);
    }

    void Type(const QString &field, const QString &text)
    {
        QLineEdit *edit = Edit(field);
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }

    // Types a puzzle into the fields after "&Новые" and starts it.
    void TypeAndStart(const QStringList &values)
    {
        window.MnuNewClick();
        const char *names[] = {"EditV1", "EditV2", "EditV3", "EditVW1", "EditVW2", "EditVW3", "EdRes"};
        for (int i = 0; i < 7; ++i)
            Type(QString::fromLatin1(names[i]), values[i]);
        Click(QStringLiteral("BtnBegin"));
    }

    // "12 23": from vessel 1 into 2, then from 2 into 3, by the digits.
    void PourKeys(const char *pours)
    {
        for (const char *c = pours; *c; ++c) {
            if (*c != ' ')
                QTest::keyClick(Handle(), static_cast<Qt::Key>(Qt::Key_0 + (*c - '0')));
        }
    }

    std::array<int, 3> Levels() const
    {
        const VesselState &s = window.Puzzle().State();
        return {s.Level(1), s.Level(2), s.Level(3)};
    }

    // The window made active, as a click on it would.
    void Activate()
    {
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("the main window never became active");
    }

    // Digits pressed in the window, "1 2 2 3": each pair a pour.
    void Keys(const char *digits)
    {
        for (const QString &k : QString::fromLatin1(digits).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            QTest::keyClick(Handle(), Qt::Key(Qt::Key_0 + k.toInt()));
    }

    // A shortest solution from where the game stands, poured by the digits.
    void PourToTheGoal()
    {
        const Solution solution = Solve(CurrentPosition(window.Puzzle().State()));
        if (!solution.Solved())
            qFatal("no solution from here");
        for (const SolverStep &step : solution.Steps) {
            QTest::keyClick(Handle(), Qt::Key(Qt::Key_0 + step.Source));
            QTest::keyClick(Handle(), Qt::Key(Qt::Key_0 + step.Receiver));
        }
    }

    // «Задача решена», if it has been shown.
    WinWindow *Win() { return window.Wins().Window(); }

    // Closes «Задача решена» with Escape, as a player would; the game's
    // window is active again.
    void CloseWin()
    {
        WinWindow *win = Win();
        if (!win || !win->isVisible())
            qFatal("no «Задача решена» to close");
        QTest::keyClick(win, Qt::Key_Escape);
        if (win->isVisible() || !QTest::qWaitForWindowActive(&window))
            qFatal("«Задача решена» did not give the game back");
    }

    QAction *Action(const char *name) const
    {
        auto *action = window.findChild<QAction *>(QString::fromLatin1(name));
        if (!action)
            qFatal("no action named %s", name);
        return action;
    }

    // Set up before the window, which reads its settings as it is made.
    QString configHome;
    UiRecorder boxes;
    Game game;
    TfrmMain window;
};

// Everything a command that only looks must leave as it was.
struct GameSnapshot {
    QStringList Fields;
    std::vector<std::vector<std::string>> Rows;
    std::array<std::int32_t, 9> Values{};
    bool GoalReached = false;
    TfrmMain::GameMode Mode = TfrmMain::GameMode::None;

    bool operator==(const GameSnapshot &) const = default;
};

inline GameSnapshot TakeSnapshot(const Harness &h)
{
    GameSnapshot s;
    for (const char *name : {"EditV1", "EditV2", "EditV3", "EditVW1", "EditVW2", "EditVW3", "EdRes"})
        s.Fields << h.Edit(QString::fromLatin1(name))->text();
    const MoveLog &log = h.window.Puzzle().Log();
    for (int r = 0; r < log.RowCount(); ++r)
        s.Rows.push_back({log.Cell(r, 0), log.Cell(r, 1), log.Cell(r, 2), log.Cell(r, 3)});
    s.Values = h.window.Puzzle().State().Values;
    s.GoalReached = h.window.Puzzle().State().GoalReached;
    s.Mode = h.window.Mode();
    return s;
}
