// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// «Анимация переливания»: off at first, eased pictures whose last frame is
// the picture drawn at once, cut short by any input, never in a command's
// way, forced off by SOSUDNIK_NO_ANIMATION. F10 and the menus' letters on
// the Latin keyboard layout.
#include "window_harness.h"

#include "menu_letters.h"
#include "modal_helpers.h"
#include "pour_animation.h"
#include "scores_window.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QVariantAnimation>

namespace {

const char *const kMilk = "12,7,5/12,0,0/6";

void Keys(Harness &h, std::initializer_list<int> digits)
{
    for (const int d : digits)
        QTest::keyClick(h.Handle(), Qt::Key(Qt::Key_0 + d));
}

QImage Shown(VesselPicture *picture)
{
    return picture->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// What the picture shows when drawn at once at its present level.
QImage AtOnce(VesselPicture *picture)
{
    picture->Draw(picture->Capacity(), picture->Level());
    return Shown(picture);
}

QVariantAnimation *Easing(VesselPicture *picture)
{
    return picture->findChild<QVariantAnimation *>();
}

// A key as the window system reports it: its native scan code (X11's key
// code) and the text of the layout in use.
void SendKey(QObject *to, quint32 scanCode, const QString &text, Qt::KeyboardModifiers modifiers)
{
    const int key = text.isEmpty() ? 0 : text[0].toUpper().unicode();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, scanCode, 0, 0, text);
    QApplication::sendEvent(to, &press);
}

QMenu *Menu(const Harness &h, const char *name)
{
    return h.window.findChild<QMenu *>(QString::fromLatin1(name));
}

bool Opens(QMenu *menu)
{
    return QTest::qWaitFor([menu] { return menu->isVisible(); }, 10'000);
}

} // namespace

class TestKeysAndMotion : public QObject {
    Q_OBJECT

private slots:
    void offAtFirstTheStatedRepaint();
    void easedTheLastFrameIsThePictureAtOnce();
    void anyInputShowsTheLastFrame_data();
    void anyInputShowsTheLastFrame();
    void forcedOffByTheEnvironment();
    void f10OpensTheFirstMenu();
    void russianLettersAtTheirPlaces_data();
    void russianLettersAtTheirPlaces();
    void latinLayoutAltOpensTheMenus_data();
    void latinLayoutAltOpensTheMenus();
    void latinLayoutPicksAMenusEntry();
    void lettersTypedIntoAFieldStayThemselves();
};

void TestKeysAndMotion::offAtFirstTheStatedRepaint()
{
    Harness h;
    h.Activate();
    QAction *entry = h.Action("MnuAnimation");
    QCOMPARE(entry->text(), QString::fromUtf8("Анима&ция переливания"));
    QVERIFY(entry->isCheckable());
    QVERIFY(!entry->isChecked());
    QVERIFY(entry->isEnabled());
    h.window.StartTaskCode(kMilk);
    Keys(h, {1, 2});
    QVERIFY(!h.window.Animation().Easing());
    QCOMPARE(Shown(h.Image(1)), AtOnce(h.Image(1)));
}

// The levels, the log and the reading change at once; only the painting
// eases, through frames between the two levels, to the very picture.
void TestKeysAndMotion::easedTheLastFrameIsThePictureAtOnce()
{
    Harness h;
    h.Activate();
    h.window.StartTaskCode(kMilk);
    const QImage full = Shown(h.Image(1));
    h.Action("MnuAnimation")->trigger();
    QVERIFY(h.Action("MnuAnimation")->isChecked());
    QVERIFY(h.window.Animation().On());

    Keys(h, {1, 2});
    QCOMPARE(h.Levels(), (std::array<int, 3>{5, 7, 0}));
    QCOMPARE(h.window.Puzzle().Log().RowCount(), 2);
    QCOMPARE(h.Image(1)->Level(), 5);
    QVERIFY(h.Image(1)->Easing());
    QVERIFY(h.Image(2)->Easing());
    QVERIFY(!h.Image(3)->Easing());

    // Half way: neither the old picture nor the new one.
    QVariantAnimation *easing = Easing(h.Image(1));
    QCOMPARE(easing->duration(), VesselPicture::kEaseMs);
    easing->setCurrentTime(VesselPicture::kEaseMs / 2);
    const QImage halfway = Shown(h.Image(1));
    QVERIFY(halfway != full);

    QVERIFY(QTest::qWaitFor([&] { return !h.window.Animation().Easing(); }, 30'000));
    const QImage last1 = Shown(h.Image(1));
    const QImage last2 = Shown(h.Image(2));
    QVERIFY(halfway != last1);
    QCOMPARE(last1, AtOnce(h.Image(1)));
    QCOMPARE(last2, AtOnce(h.Image(2)));

    // Undo eases back; switched off, it stops at the last frame.
    h.window.BtnUndoClick();
    QVERIFY(h.Image(1)->Easing());
    h.Action("MnuAnimation")->trigger();
    QVERIFY(!h.Action("MnuAnimation")->isChecked());
    QVERIFY(!h.window.Animation().Easing());
    QCOMPARE(Shown(h.Image(1)), full);
}

void TestKeysAndMotion::anyInputShowsTheLastFrame_data()
{
    QTest::addColumn<QString>("input");
    for (const char *input : {"digit", "undo", "press", "wheel"})
        QTest::newRow(input) << QString::fromLatin1(input);
}

void TestKeysAndMotion::anyInputShowsTheLastFrame()
{
    QFETCH(QString, input);
    Harness h;
    h.Activate();
    h.window.StartTaskCode(kMilk);
    h.window.Animation().SetOn(true);
    Keys(h, {1, 2});
    QVERIFY(h.window.Animation().Easing());
    const std::array<int, 3> poured = h.Levels();
    if (input == QLatin1String("digit")) {
        Keys(h, {2}); // marks vessel 2: the pictures are at their new levels first
        QVERIFY(!h.window.Animation().Easing());
        QCOMPARE(Shown(h.Image(1)), AtOnce(h.Image(1)));
        QCOMPARE(Shown(h.Image(2)), AtOnce(h.Image(2)));
        Keys(h, {3}); // and the pour goes on at once
        QCOMPARE(h.Levels(), (std::array<int, 3>{5, 2, 5}));
        return;
    }
    if (input == QLatin1String("undo")) {
        QTest::keyClick(h.Handle(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.Levels(), (std::array<int, 3>{12, 0, 0}));
    } else if (input == QLatin1String("press")) {
        QTest::mouseClick(h.Find("ListView"), Qt::LeftButton);
        QCOMPARE(h.Levels(), poured);
        QVERIFY(!h.window.Animation().Easing());
    } else {
        QWheelEvent wheel(QPointF(5, 5), h.window.mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(h.Find("ListView"), &wheel);
        QVERIFY(!h.window.Animation().Easing());
    }
    if (h.window.Animation().Easing()) // the undo's own easing: cut it short too
        h.window.Animation().FinishAll();
    for (int n = 1; n <= 3; ++n)
        QCOMPARE(Shown(h.Image(n)), AtOnce(h.Image(n)));
}

void TestKeysAndMotion::forcedOffByTheEnvironment()
{
    qputenv("SOSUDNIK_NO_ANIMATION", "1");
    {
        Harness h;
        h.Activate();
        QVERIFY(PourAnimation::ForcedOff());
        QVERIFY(!h.Action("MnuAnimation")->isEnabled());
        h.window.Animation().SetOn(true);
        QVERIFY(!h.window.Animation().On());
        h.window.StartTaskCode(kMilk);
        Keys(h, {1, 2});
        QVERIFY(!h.window.Animation().Easing());
    }
    qunsetenv("SOSUDNIK_NO_ANIMATION");
    QVERIFY(!PourAnimation::ForcedOff());
}

void TestKeysAndMotion::f10OpensTheFirstMenu()
{
    Harness h;
    h.Activate();
    QTest::keyClick(h.Handle(), Qt::Key_F10);
    QMenu *data = Menu(h, "MnuData");
    QVERIFY(Opens(data));
    QCOMPARE(h.window.menuBar()->activeAction(), data->menuAction());
    QTest::keyClick(data, Qt::Key_Escape);
    QVERIFY(QTest::qWaitFor([data] { return !data->isVisible(); }, 10'000));
}

void TestKeysAndMotion::russianLettersAtTheirPlaces_data()
{
    QTest::addColumn<int>("scanCode");
    QTest::addColumn<QString>("letter");
    const struct {
        int Code;
        const char *Letter;
    } table[] = {{24, "й"}, {33, "з"}, {34, "х"}, {35, "ъ"}, {38, "ф"}, {40, "в"}, {46, "д"}, {47, "ж"},
                 {48, "э"}, {49, "ё"}, {52, "я"}, {56, "и"}, {60, "ю"}, {23, ""},  {36, ""},  {51, ""},
                 {61, ""},  {0, ""}};
    for (const auto &row : table)
        QTest::addRow("%d", row.Code) << row.Code << QString::fromUtf8(row.Letter);
}

void TestKeysAndMotion::russianLettersAtTheirPlaces()
{
    QFETCH(int, scanCode);
    QFETCH(QString, letter);
    const QChar got = RussianLetterAt(static_cast<quint32>(scanCode));
    QCOMPARE(got.isNull() ? QString() : QString(got), letter);
}

void TestKeysAndMotion::latinLayoutAltOpensTheMenus_data()
{
    QTest::addColumn<int>("scanCode");
    QTest::addColumn<QString>("latin");
    QTest::addColumn<QString>("menu");
    QTest::newRow("Alt+L: «Данные»") << 46 << QStringLiteral("l") << QStringLiteral("MnuData");
    QTest::newRow("Alt+B: «Игра»") << 56 << QStringLiteral("b") << QStringLiteral("MnuGame");
    QTest::newRow("Alt+И on the Russian layout, by Qt itself") << 56 << QString::fromUtf8("и") << QStringLiteral("MnuGame");
}

void TestKeysAndMotion::latinLayoutAltOpensTheMenus()
{
    QFETCH(int, scanCode);
    QFETCH(QString, latin);
    QFETCH(QString, menu);
    Harness h;
    h.Activate();
    h.window.StartTaskCode(kMilk);
    SendKey(h.Find("ListView"), static_cast<quint32>(scanCode), latin, Qt::AltModifier);
    QMenu *opened = h.window.findChild<QMenu *>(menu);
    QVERIFY(Opens(opened));
    QTest::keyClick(opened, Qt::Key_Escape);
}

// In the open «Игра», the key where Ы sits (S) picks «Рекорды»; where Ц
// sits (W), «Анимация переливания».
void TestKeysAndMotion::latinLayoutPicksAMenusEntry()
{
    Harness h;
    h.Activate();
    h.window.StartTaskCode(kMilk);
    QMenu *game = Menu(h, "MnuGame");
    SendKey(h.Find("ListView"), 56, QStringLiteral("b"), Qt::AltModifier);
    QVERIFY(Opens(game));
    SendKey(game, 25, QStringLiteral("w"), Qt::NoModifier);
    QVERIFY(QTest::qWaitFor([game] { return !game->isVisible(); }, 10'000));
    QVERIFY(h.Action("MnuAnimation")->isChecked());

    bool shown = false;
    WithModal<ScoresWindow>(
        [&] {
            SendKey(h.Find("ListView"), 56, QStringLiteral("b"), Qt::AltModifier);
            QVERIFY(Opens(game));
            SendKey(game, 39, QStringLiteral("s"), Qt::NoModifier);
        },
        [&](ScoresWindow *w) {
            shown = true;
            w->reject();
        });
    QVERIFY(shown);
}

// A field takes the letter its layout typed; nothing opens.
void TestKeysAndMotion::lettersTypedIntoAFieldStayThemselves()
{
    Harness h;
    h.Activate();
    h.window.MnuNewClick();
    QLineEdit *edit = h.Edit(QStringLiteral("EditV1"));
    edit->setFocus();
    SendKey(edit, 56, QStringLiteral("b"), Qt::NoModifier);
    SendKey(edit, 56, QStringLiteral("B"), Qt::ShiftModifier);
    QCOMPARE(edit->text(), QStringLiteral("bB"));
    QVERIFY(!QApplication::activePopupWidget());
}

QTEST_MAIN(TestKeysAndMotion)
#include "tst_keys_and_motion.moc"
