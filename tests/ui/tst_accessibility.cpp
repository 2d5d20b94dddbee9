// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// What a screen reader finds: the vessels with their levels, the named
// fields, the list and the task pictures, and no decorations; and the
// notices that keep it up to date.
#include "window_harness.h"

#include "tfrmtask.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace {

struct Notice {
    QObject *Object;
    QAccessible::Event Type;
};
std::vector<Notice> g_notices;

void Record(QAccessibleEvent *event)
{
    g_notices.push_back({event->object(), event->type()});
}

int Count(QObject *object, QAccessible::Event type)
{
    return int(std::count_if(g_notices.begin(), g_notices.end(),
                             [&](const Notice &n) { return n.Object == object && n.Type == type; }));
}

QAccessibleInterface *Iface(QObject *object)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
    if (!iface)
        qFatal("no accessible interface for %s", qPrintable(object->objectName()));
    return iface;
}

// Every object reachable from the window, depth first.
void Walk(QAccessibleInterface *iface, std::vector<QObject *> &seen)
{
    seen.push_back(iface->object());
    for (int i = 0; i < iface->childCount(); ++i) {
        if (QAccessibleInterface *child = iface->child(i))
            Walk(child, seen);
    }
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void vesselsAreGauges();
    void vesselsReadTheirLevelsAndAnnounceEachChange();
    void sourceMarkIsReadOut();
    void fieldsAndListAreNamedVisibleTextsStay();
    void aFieldReadsItsTextWhateverItsLength_data();
    void aFieldReadsItsTextWhateverItsLength();
    void taskPicturesReadTheirStatements();
    void decorationsStayOutOfTheTree();
};

void TestAccessibility::initTestCase()
{
    // As if a screen reader were listening: only then are notices sent.
    QPlatformAccessibility *platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
    if (!platform)
        QSKIP("this platform has no accessibility");
    QAccessible::installUpdateHandler(&Record);
    platform->setActive(true);
    QVERIFY(QAccessible::isActive());
}

void TestAccessibility::init()
{
    g_notices.clear();
}

void TestAccessibility::vesselsAreGauges()
{
    Harness h;
    for (int n = 1; n <= 3; ++n) {
        QAccessibleInterface *vessel = Iface(h.Image(n));
        QCOMPARE(vessel->role(), QAccessible::ProgressBar);
        QCOMPARE(vessel->text(QAccessible::Name), QString::fromUtf8("Сосуд %1").arg(n));
        QVERIFY(vessel->valueInterface());
        QCOMPARE(vessel->valueInterface()->minimumValue().toInt(), 0);
        QVERIFY(vessel->state().readOnly);
        QCOMPARE(vessel->parent()->object(), h.window.centralWidget());
    }
}

void TestAccessibility::vesselsReadTheirLevelsAndAnnounceEachChange()
{
    Harness h;
    // levels and capacities of the three vessels; which ones must have been announced
    auto expect = [&](const char *step, std::array<int, 3> levels, std::array<int, 3> capacities,
                      std::array<bool, 3> announced) {
        for (int n = 1; n <= 3; ++n) {
            const auto i = std::size_t(n - 1);
            QAccessibleInterface *vessel = Iface(h.Image(n));
            const QString reading = QString::fromUtf8("%1 из %2").arg(levels[i]).arg(capacities[i]);
            const QString where = QString::fromLatin1(step) + QLatin1String(", vessel ") + QString::number(n);
            QCOMPARE(vessel->text(QAccessible::Description), QString::fromUtf8("Сосуд %1: ").arg(n) + reading);
            QCOMPARE(vessel->text(QAccessible::Value), reading);
            QCOMPARE(vessel->valueInterface()->currentValue().toInt(), levels[i]);
            QCOMPARE(vessel->valueInterface()->maximumValue().toInt(), capacities[i]);
            QVERIFY2((Count(h.Image(n), QAccessible::ValueChanged) > 0) == announced[i], qPrintable(where));
            QVERIFY2((Count(h.Image(n), QAccessible::DescriptionChanged) > 0) == announced[i], qPrintable(where));
        }
        g_notices.clear();
    };
    expect("start", {0, 0, 0}, {0, 0, 0}, {false, false, false});

    h.window.MnuNewClick();
    h.Type("EditV1", "12");
    h.Type("EditVW1", "5");
    expect("typed level", {5, 0, 0}, {12, 0, 0}, {true, false, false});
    h.Type("EditV2", "7"); // over an empty vessel: nothing to paint, but a new reading
    expect("typed capacity", {5, 0, 0}, {12, 7, 0}, {false, true, false});

    h.window.Puzzle().LoadTask(TaskPresets[1]);
    h.window.BtnBeginClick();
    expect("task", {8, 0, 0}, {8, 5, 3}, {true, true, true});

    h.Drag(h.Center(h.Image(1)), h.Center(h.Image(2)));
    expect("pour", {3, 5, 0}, {8, 5, 3}, {true, true, false});

    h.Click("BtnUndo");
    expect("undo", {8, 0, 0}, {8, 5, 3}, {true, true, false});
}

void TestAccessibility::sourceMarkIsReadOut()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
    g_notices.clear();
    QTest::keyClick(h.Handle(), Qt::Key_1);
    QAccessibleInterface *vessel = Iface(h.Image(1));
    QCOMPARE(vessel->text(QAccessible::Description), QString::fromUtf8("Сосуд 1: 12 из 12, выбран для переливания"));
    QVERIFY(vessel->state().selected);
    QCOMPARE(Count(h.Image(1), QAccessible::StateChanged), 1);
    QCOMPARE(Count(h.Image(1), QAccessible::DescriptionChanged), 1);

    QTest::keyClick(h.Handle(), Qt::Key_Escape);
    QCOMPARE(vessel->text(QAccessible::Description), QString::fromUtf8("Сосуд 1: 12 из 12"));
    QVERIFY(!vessel->state().selected);
    QCOMPARE(Count(h.Image(1), QAccessible::StateChanged), 2);

    QTest::keyClick(h.Handle(), Qt::Key_1);
    QTest::keyClick(h.Handle(), Qt::Key_3);
    QCOMPARE(vessel->text(QAccessible::Description), QString::fromUtf8("Сосуд 1: 7 из 12"));
    QCOMPARE(Iface(h.Image(3))->text(QAccessible::Description), QString::fromUtf8("Сосуд 3: 5 из 5"));
    QVERIFY(!vessel->state().selected);
}

void TestAccessibility::fieldsAndListAreNamedVisibleTextsStay()
{
    Harness h;
    const struct {
        const char *Field;
        const char *Name;
    } fields[] = {{"EditV1", "Объем сосуда 1"},   {"EditV2", "Объем сосуда 2"},   {"EditV3", "Объем сосуда 3"},
                  {"EditVW1", "Уровень сосуда 1"}, {"EditVW2", "Уровень сосуда 2"}, {"EditVW3", "Уровень сосуда 3"},
                  {"EdRes", "Получить уровень"}};
    for (const auto &f : fields) {
        QAccessibleInterface *iface = Iface(h.Edit(QString::fromLatin1(f.Field)));
        QCOMPARE(iface->role(), QAccessible::EditableText);
        QCOMPARE(iface->text(QAccessible::Name), QString::fromUtf8(f.Name));
    }
    QCOMPARE(Iface(h.Find("ListView"))->text(QAccessible::Name), QString::fromUtf8("Ход переливаний"));

    // Only the screen reader's names: what the form shows is as before.
    QCOMPARE(h.Find<QGroupBox>("GrBoxV")->title(), QString::fromUtf8("Объем сосудов"));
    QCOMPARE(h.Find<QGroupBox>("GrBoxVW")->title(), QString::fromUtf8("Текущий уровень -V"));
    QCOMPARE(h.Find<QGroupBox>("GrBoxRes")->title(), QString::fromUtf8("Получить уровень"));
    QCOMPARE(h.Find<QLabel>("Label1")->text(), QString::fromUtf8("Ход переливаний"));
}

void TestAccessibility::aFieldReadsItsTextWhateverItsLength_data()
{
    QTest::addColumn<int>("length");
    for (const int length : {0, 3, 1000, 1001, 100'000})
        QTest::addRow("%d characters", length) << length;
}

// A pasted flood shows only its part around the cursor; a screen reader
// still gets an editable text with all of it, never a password field.
void TestAccessibility::aFieldReadsItsTextWhateverItsLength()
{
    QFETCH(int, length);
    Harness h;
    h.window.MnuNewClick();
    QLineEdit *edit = h.Edit(QStringLiteral("EditV2"));
    QString text;
    for (int i = 0; i < length; ++i)
        text += QChar(u'0' + i % 10);
    edit->setFocus();
    edit->setText(text);
    edit->setCursorPosition(static_cast<int>(text.size() / 2));
    edit->repaint(); // a line edit scrolls to its cursor as it paints

    QAccessibleInterface *iface = Iface(edit);
    QCOMPARE(iface->role(), QAccessible::EditableText);
    QVERIFY(!iface->state().passwordEdit);
    QVERIFY(iface->state().editable);
    QCOMPARE(iface->text(QAccessible::Name), QString::fromUtf8("Объем сосуда 2"));
    QCOMPARE(iface->text(QAccessible::Value), text);
    QAccessibleTextInterface *reading = iface->textInterface();
    QVERIFY(reading);
    QCOMPARE(reading->characterCount(), length);
    QCOMPARE(reading->text(0, length), text);
    QCOMPARE(reading->cursorPosition(), length / 2);
    if (length > 0) {
        QCOMPARE(reading->text(length - 1, length), text.right(1));
        // The character at the cursor is where the field draws it.
        const QRect at = reading->characterRect(length / 2);
        QVERIFY2(QRect(edit->mapToGlobal(QPoint()), edit->size()).adjusted(-1, -1, 1, 1).intersects(at),
                 qPrintable(QStringLiteral("%1,%2").arg(at.x()).arg(at.y())));
    }
    // Typing by a screen reader's own editing goes into the field whole.
    QAccessibleEditableTextInterface *editing = iface->editableTextInterface();
    QVERIFY(editing);
    editing->insertText(0, QStringLiteral("7"));
    QCOMPARE(edit->text(), QStringLiteral("7") + text);
    editing->deleteText(0, 1);
    QCOMPARE(edit->text(), text);
}

void TestAccessibility::taskPicturesReadTheirStatements()
{
    Harness h;
    TfrmTask &dialog = h.window.TaskDialog();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QAccessibleInterface *milk = Iface(dialog.findChild<QLabel *>("Image1"));
    QAccessibleInterface *kvass = Iface(dialog.findChild<QLabel *>("Image2"));
    QCOMPARE(milk->text(QAccessible::Name), QString::fromUtf8("Задача о молоке"));
    QCOMPARE(milk->text(QAccessible::Description),
             QString::fromUtf8("Как, имея два бидона по 5 и 7 литров, отлить из ведра, в котором 12 литров молока, "
                               "ровно 6 литров?"));
    QCOMPARE(kvass->text(QAccessible::Name), QString::fromUtf8("Разделите квас поровну"));
    QCOMPARE(kvass->text(QAccessible::Description),
             QString::fromUtf8("Бочка вместимостью 8 ведер наполнена квасом. Как разделить квас на две равные части, "
                               "пользуясь только двумя пустыми бочонками вместимостью 5 и 3 ведра?"));
    dialog.hide();
}

void TestAccessibility::decorationsStayOutOfTheTree()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
    QTest::keyClick(h.Handle(), Qt::Key_2); // the mark's frame is showing
    QVERIFY(h.Find("SourceMark")->isVisible());

    QAccessibleInterface *form = Iface(h.window.centralWidget());
    for (int i = 0; i < form->childCount(); ++i) {
        QAccessibleInterface *child = form->child(i);
        QVERIFY(child);
        QCOMPARE(form->indexOfChild(child), i);
        QCOMPARE(child->parent(), form);
    }
    QVERIFY(!form->child(form->childCount()));
    QCOMPARE(form->indexOfChild(Iface(h.Find("Shape1"))), -1);

    std::vector<QObject *> seen;
    Walk(Iface(&h.window), seen);
    auto reached = [&](const char *name) {
        return std::find(seen.begin(), seen.end(), h.Find(QString::fromLatin1(name))) != seen.end();
    };
    QVERIFY(!reached("Shape1"));
    QVERIFY(!reached("SourceMark"));
    for (const char *name : {"Image1", "Image2", "Image3", "Label1", "Label5", "EditVW3", "ListView", "BtnXml"})
        QVERIFY2(reached(name), name);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
