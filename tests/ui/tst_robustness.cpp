// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Faults at the edges of the main window: an editor whose row goes away, a
// pasted flood in a value field, the scroll to the newest row, and what the
// window leaves undone at start-up.
#include "window_harness.h"

#include "game_style.h"
#include "line_edit_cell.h"
#include "modal_helpers.h"
#include "move_log_model.h"
#include "qt_message_boxes.h"
#include "tfrmtask.h"
#include "value_edit.h"
#include "xml_runtime.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMessageBox>

namespace {

// Every Qt message while it lives, so a test can say none came.
class MessageLog {
public:
    MessageLog()
    {
        s_self = this;
        m_previous = qInstallMessageHandler(&MessageLog::Handle);
    }
    ~MessageLog()
    {
        qInstallMessageHandler(m_previous);
        s_self = nullptr;
    }
    MessageLog(const MessageLog &) = delete;
    MessageLog &operator=(const MessageLog &) = delete;

    QStringList Messages;

private:
    static void Handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        // The offscreen platform's word on grabs is no fault of the window.
        if (message.contains(QLatin1String("does not support grabbing")))
            return;
        s_self->Messages << message;
        s_self->m_previous(type, context, message);
    }

    static inline MessageLog *s_self = nullptr;
    QtMessageHandler m_previous = nullptr;
};

// Counts the queued calls delivered to an object.
class QueuedCalls : public QObject {
    Q_OBJECT

public:
    explicit QueuedCalls(QObject *watched) { watched->installEventFilter(this); }
    int Count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MetaCall)
            ++Count;
        return false;
    }
};

// Opens the caption editor of row and types into it, leaving it open.
void StartEditing(MoveLogView *view, int row, const QString &text)
{
    view->setFocus();
    view->setCurrentIndex(view->model()->index(row, 0));
    QTest::keyClick(view, Qt::Key_F2);
    QTRY_VERIFY(view->Editing());
    QWidget *editor = view->indexWidget(view->currentIndex());
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, text);
}

} // namespace

class TestRobustness : public QObject {
    Q_OBJECT

private slots:
    void noXmlSetUpBeforeTheFirstSave();
    void removingTheEditedRowClosesItsEditor_data();
    void removingTheEditedRowClosesItsEditor();
    void pastedFloodIsKeptWholeAndJudgedWhole_data();
    void pastedFloodIsKeptWholeAndJudgedWhole();
    void manyRowsInOneTurnScrollOnce();
    void ctrlCCopiesABox();
    void gameStyleGivesTheStylesOwnGlyphs_data();
    void gameStyleGivesTheStylesOwnGlyphs();
};

void TestRobustness::noXmlSetUpBeforeTheFirstSave()
{
    TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    // As in a process that never saved, whatever ran before in this one:
    // an owner that ends takes down what an earlier save set up.
    { XmlRuntime earlier; }
    XmlRuntime runtime;
    {
        Harness h;
        h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
        QVERIFY(!XmlRuntime::Started());
        h.window.BtnXmlClick();
        QVERIFY(XmlRuntime::Started());
    }
    QVERIFY(QFile::exists(dir.FilePath(QStringLiteral("sosudnik.xml"))));
}

void TestRobustness::removingTheEditedRowClosesItsEditor_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("rowsAfter");
    QTest::newRow("undo") << "undo" << 1;
    QTest::newRow("new game") << "new" << 0;
    QTest::newRow("task") << "task" << 1;
}

// The player edits the newest caption, then the row goes by a command that
// does not take the focus (a key, a menu). Later saves must not trip over the
// editor that was open.
void TestRobustness::removingTheEditedRowClosesItsEditor()
{
    QFETCH(QString, action);
    QFETCH(int, rowsAfter);
    TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    MessageLog log;
    {
        Harness h;
        h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
        h.Drag(h.Center(h.Image(1)), h.Center(h.Image(2)));
        auto *view = h.Find<MoveLogView>("ListView");
        StartEditing(view, 1, QStringLiteral("half"));

        if (action == QLatin1String("undo")) {
            h.window.BtnUndoClick();
        } else if (action == QLatin1String("new")) {
            h.window.MnuNewClick();
            h.window.BtnBeginClick();
            rowsAfter = 1;
        } else {
            WhenShown(h.window.TaskDialog(), [](TfrmTask &d) {
                ChoosePage(d, 1);
                Accept(d);
            });
            h.window.MnuTasksClick();
        }
        QCOMPARE(h.window.Puzzle().Log().RowCount(), rowsAfter);
        QVERIFY(!view->Editing());

        // Two saves: the first would already meet a stale editor.
        h.window.BtnXmlClick();
        h.window.BtnXmlClick();
        QCOMPARE(h.boxes.Boxes.size(), std::size_t(2));
        QCOMPARE(h.boxes.Boxes[1].Text, std::string("Файл \"sosudnik.xml\" записан"));
        QCOMPARE(h.window.Puzzle().Log().Cell(0, 0), std::string("0"));

        // Editing still works afterwards, in the same turn of the event loop,
        // while the old editor still waits to be deleted.
        StartEditing(view, 0, QStringLiteral("start"));
        h.window.BtnXmlClick();
        QCOMPARE(h.window.Puzzle().Log().Cell(0, 0), std::string("start"));
    }
    QVERIFY2(log.Messages.isEmpty(), qPrintable(log.Messages.join(QLatin1Char('\n'))));
}

void TestRobustness::pastedFloodIsKeptWholeAndJudgedWhole_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<int>("stored"); // -1: rejected, the capacity stays 0
    QTest::newRow("a megabyte of sevens") << QString(1'000'000, QLatin1Char('7')) << -1;
    QTest::newRow("zeros, then a number") << QString(998, QLatin1Char('0')) + QStringLiteral("123") << 123;
    QTest::newRow("past Qt's own cap") << QString(40'000, QLatin1Char('0')) + QStringLiteral("9") << 9;
    QTest::newRow("blanks, a number, a blank") << QString(999, QLatin1Char(' ')) + QStringLiteral("7 ") << -1;
    QTest::newRow("blanks, then a number") << QString(999, QLatin1Char(' ')) + QStringLiteral("7") << 7;
}

// A pasted text is read whole, as the number rule reads it: never cut, so
// never stored as another number.
void TestRobustness::pastedFloodIsKeptWholeAndJudgedWhole()
{
    QFETCH(QString, pasted);
    QFETCH(int, stored);
    Harness h;
    h.window.MnuNewClick();
    QLineEdit *edit = h.Edit("EditV1");
    edit->setFocus();
    QApplication::clipboard()->setText(pasted);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text().size(), pasted.size());
    if (stored < 0) {
        QCOMPARE(h.boxes.Boxes.size(), std::size_t(1));
        QCOMPARE(h.boxes.Boxes[0].Text, std::string("Требуется целое число от 0 до 999."));
        QCOMPARE(h.boxes.Boxes[0].Caption, std::string("Сосудник"));
        QCOMPARE(h.boxes.Boxes[0].Icon, 16);
        QCOMPARE(h.window.Puzzle().State().Capacity(1), 0);
    } else {
        QVERIFY(h.boxes.Boxes.empty());
        QCOMPARE(h.window.Puzzle().State().Capacity(1), stored);
    }

    // Past a thousand characters the field lays out only the part around the
    // cursor, and still shows it; the digits stay editable.
    auto *field = qobject_cast<ValueEdit *>(edit);
    QVERIFY(field);
    QCOMPARE(field->ShowsPart(), pasted.size() > ValueEdit::kLongText);
    if (field->ShowsPart()) {
        const QImage shown = field->grab().toImage();
        int dark = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                dark += qGray(shown.pixel(x, y)) < 100;
        QVERIFY2(dark > 20, "no text shown");
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text().size(), pasted.size() - 1);
    }

    // The field still takes keys: a deletion is judged again, and a fresh
    // value is stored.
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, QStringLiteral("9"));
    QCOMPARE(edit->text(), QStringLiteral("9"));
    QCOMPARE(h.window.Puzzle().State().Capacity(1), 9);
    QVERIFY(!field->ShowsPart());
}

void TestRobustness::manyRowsInOneTurnScrollOnce()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "12", "0", "0", "6"});
    auto *view = h.Find<MoveLogView>("ListView");
    QCoreApplication::processEvents();
    QueuedCalls calls(view);
    for (int i = 0; i < 500; ++i)
        h.window.Puzzle().AppendMoveRow();
    QCoreApplication::processEvents();
    QCOMPARE(calls.Count, 1);
    const QModelIndex newest = view->model()->index(500, 0);
    QTRY_VERIFY(view->viewport()->rect().contains(view->visualRect(newest)));
}

void TestRobustness::ctrlCCopiesABox()
{
    QApplication::clipboard()->clear();
    QString copied;
    QtMessageBoxes boxes;
    WithModal<QMessageBox>([&] { boxes.Show("File too large.", "Сосудник", kIconError); }, [&](QMessageBox *box) {
        // Its shortcut answers only once the box is the active window,
        // which a loaded machine may take a while to make it.
        const bool active = QTest::qWaitFor(
            [box] {
                if (!box->isActiveWindow())
                    box->activateWindow();
                return box->isActiveWindow();
            },
            60000);
        if (active) {
            QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
            copied = QApplication::clipboard()->text();
        }
        box->button(QMessageBox::Ok)->click();
    });
    const QString rule = QStringLiteral("---------------------------\n");
    QCOMPARE(copied, rule + QString::fromUtf8("Сосудник\n") + rule + QStringLiteral("File too large.\n") + rule +
                         QStringLiteral("OK\n") + rule);
}

void TestRobustness::gameStyleGivesTheStylesOwnGlyphs_data()
{
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("size");
    QTest::newRow("horizontal extension") << int(QStyle::SP_ToolBarHorizontalExtensionButton) << 16;
    QTest::newRow("horizontal extension, large") << int(QStyle::SP_ToolBarHorizontalExtensionButton) << 32;
    QTest::newRow("vertical extension") << int(QStyle::SP_ToolBarVerticalExtensionButton) << 10;
    QTest::newRow("another icon") << int(QStyle::SP_DialogOkButton) << 16;
}

// The game's style reads some glyphs its own way; they must come out as the
// platform style's.
void TestRobustness::gameStyleGivesTheStylesOwnGlyphs()
{
    QFETCH(int, icon);
    QFETCH(int, size);
    GameStyle game;
    QProxyStyle plain;
    const auto which = static_cast<QStyle::StandardPixmap>(icon);
    const QImage ours = game.standardIcon(which).pixmap(size, size).toImage();
    const QImage theirs = plain.standardIcon(which).pixmap(size, size).toImage();
    QVERIFY(!ours.isNull());
    QCOMPARE(ours.convertToFormat(QImage::Format_ARGB32), theirs.convertToFormat(QImage::Format_ARGB32));
}

QTEST_MAIN(TestRobustness)
#include "tst_robustness.moc"
