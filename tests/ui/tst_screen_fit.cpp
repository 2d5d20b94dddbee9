// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Every window of the game on a small screen at every scale the game can
// take there: wholly on the screen, its buttons in view. Run by ctest on a
// 1024 x 600 screen (each step of «Масштаб») and a 1366 x 768 one («По
// размеру экрана»).
#include "window_harness.h"

#include "book_dialog.h"
#include "form_scale.h"
#include "map_window.h"
#include "modal_helpers.h"
#include "position.h"
#include "record_check_command.h"
#include "record_check_dialog.h"
#include "rules_window.h"
#include "scores_window.h"
#include "solution_dialog.h"
#include "solver.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QScreen>

namespace {

// Why a window does not fit its screen, or nothing.
QString Misfit(QWidget *w)
{
    QCoreApplication::processEvents();
    const QRect available = w->screen()->availableGeometry();
    const QRect frame = w->frameGeometry();
    const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    if (!available.contains(frame))
        return QStringLiteral("%1 at %2,%3 %4x%5 on %6x%7")
            .arg(name)
            .arg(frame.x())
            .arg(frame.y())
            .arg(frame.width())
            .arg(frame.height())
            .arg(available.width())
            .arg(available.height());
    for (QPushButton *button : w->findChildren<QPushButton *>()) {
        if (!button->isVisibleTo(w))
            continue;
        const QRect at(button->mapTo(w, QPoint()), button->size());
        if (!w->rect().contains(at) || button->height() < button->fontMetrics().height())
            return name + QLatin1String(": «") + button->text() + QLatin1String("» out of view");
    }
    return {};
}

template <class W>
QString ModalMisfit(const std::function<void()> &open)
{
    QString misfit = QStringLiteral("never shown");
    WithModal<W>(open, [&](W *w) {
        misfit = Misfit(w);
        w->reject();
    });
    return misfit;
}

// Every window at the game's present scale: each name with why it does not fit.
QStringList Misfits(Harness &h, const QStringList &files)
{
    QStringList misfits;
    const auto note = [&](const char *what, const QString &why) {
        if (!why.isEmpty())
            misfits << QString::fromLatin1(what) + QLatin1String(": ") + why;
    };
    QString task = QStringLiteral("never shown");
    WhenShown(h.window.TaskDialog(), [&](TfrmTask &d) {
        task = Misfit(&d);
        d.reject();
    });
    h.window.MnuTasksClick();
    note("task dialog", task);
    note("book", ModalMisfit<BookDialog>([&] { h.Action("MnuBook")->trigger(); }));

    h.window.StartTaskCode("8,5,3/8,0,0/4");
    h.Action("MnuRules")->trigger();
    RulesWindow *rules = h.window.Rules();
    if (!QTest::qWaitForWindowExposed(rules))
        qFatal("no rules");
    note("rules", Misfit(rules));
    rules->close();
    note("solution", ModalMisfit<SolutionDialog>([&] { h.Action("MnuSolution")->trigger(); }));
    note("code", ModalMisfit<QInputDialog>([&] { h.Action("MnuEnterCode")->trigger(); }));
    note("file chooser", ModalMisfit<QFileDialog>([&] { h.Action("MnuCheckRecords")->trigger(); }));
    note("copy chooser", ModalMisfit<QFileDialog>([&] { h.Action("MnuSaveAs")->trigger(); }));
    h.Action("MnuMap")->trigger();
    auto *map = h.window.findChild<MapWindow *>();
    if (!map || !QTest::qWaitForWindowExposed(map))
        qFatal("no map");
    note("map", Misfit(map));
    map->close();
    note("verdicts", ModalMisfit<RecordCheckDialog>(
                         [&] { h.window.findChild<RecordCheckCommand *>()->ShowVerdicts(files); }));

    h.Activate();
    h.PourToTheGoal();
    if (!h.Win() || !QTest::qWaitForWindowExposed(h.Win()))
        qFatal("no «Задача решена»");
    note("win", Misfit(h.Win()));
    h.CloseWin();
    note("scores", ModalMisfit<ScoresWindow>([&] { h.Action("MnuScores")->trigger(); }));
    return misfits;
}

} // namespace

class TestScreenFit : public QObject {
    Q_OBJECT

private slots:
    void everyWindowFitsAtEveryScale();
};

void TestScreenFit::everyWindowFitsAtEveryScale()
{
    const QSize screen = QGuiApplication::primaryScreen()->size();
    QVERIFY2(screen == QSize(1024, 600) || screen == QSize(1366, 768), "run by ctest on a small screen");
    QStringList files;
    for (int i = 0; i < 40; ++i)
        files << QStringLiteral("/nonexistent/ученик %1.xml").arg(i);

    Harness h;
    h.Activate();
    // The scales the player can reach here: on 1024 x 600 every step of
    // «Мельче» and «Крупнее»; on 1366 x 768 «По размеру экрана».
    QList<qreal> scales;
    if (screen.width() == 1366) {
        h.Action("MnuZoomFill")->trigger();
        scales << FormScale();
    } else {
        for (const char *step : {"MnuZoomOut", "MnuZoomIn"}) {
            h.Action("MnuZoomNormal")->trigger();
            for (qreal last = 0; FormScale() != last;) {
                last = FormScale();
                if (!scales.contains(last))
                    scales << last;
                h.Action(step)->trigger();
            }
        }
        QVERIFY(scales.size() >= 8);
    }
    for (const qreal scale : scales) {
        h.Action("MnuZoomNormal")->trigger();
        while (FormScale() > scale)
            h.Action("MnuZoomOut")->trigger();
        while (FormScale() < scale)
            h.Action("MnuZoomIn")->trigger();
        if (screen.width() == 1366)
            h.Action("MnuZoomFill")->trigger();
        QCOMPARE(FormScale(), scale);
        const QString main = Misfit(&h.window);
        QVERIFY2(main.isEmpty(), qPrintable(QStringLiteral("at %1: %2").arg(scale).arg(main)));
        const QStringList misfits = Misfits(h, files);
        QVERIFY2(misfits.isEmpty(), qPrintable(QStringLiteral("at %1: %2").arg(scale).arg(misfits.join(QLatin1String("; ")))));
    }
}

QTEST_MAIN(TestScreenFit)
#include "tst_screen_fit.moc"
