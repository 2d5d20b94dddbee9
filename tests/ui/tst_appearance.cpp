// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
//
// How the windows look on set-ups other than the developer's: a dark desktop
// palette, small and scaled screens, other styles. Runs at several scale
// factors (QT_SCALE_FACTOR); every case holds at any of them.
#include "window_harness.h"

#include "contrast.h"

#include "modal_helpers.h"
#include "placement.h"
#include "qt_message_boxes.h"
#include "solution_dialog.h"
#include "solver.h"
#include "tfrmtask.h"
#include "translations.h"

#include <QApplication>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <cmath>
#include <functional>

namespace {

// A desktop theme's dark palette, as a dark desktop hands it to Qt.
QPalette DarkPalette()
{
    QPalette p(QColor(0x35, 0x35, 0x35), QColor(0x2A, 0x2A, 0x2A));
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(g, QPalette::WindowText, Qt::white);
        p.setColor(g, QPalette::Text, Qt::white);
        p.setColor(g, QPalette::ButtonText, Qt::white);
        p.setColor(g, QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
        p.setColor(g, QPalette::Window, QColor(0x35, 0x35, 0x35));
        p.setColor(g, QPalette::Button, QColor(0x35, 0x35, 0x35));
    }
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x7F, 0x7F, 0x7F));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x7F, 0x7F, 0x7F));
    p.setColor(QPalette::Disabled, QPalette::Base, QColor(0x35, 0x35, 0x35));
    return p;
}

// The widget as the screen shows it, in its own device pixels; `area` in
// form pixels.
double GrabbedContrast(QWidget *w, QRect area)
{
    const QPixmap pixmap = w->grab();
    const qreal r = pixmap.devicePixelRatio();
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    const QRect device(QPoint(qCeil(area.left() * r), qCeil(area.top() * r)),
                       QPoint(qFloor((area.right() + 1) * r) - 1, qFloor((area.bottom() + 1) * r) - 1));
    return GrabbedContrast(image, device);
}

// Runs `inspect` on the application-modal box that `show` brings up, then
// closes the box with its OK button.
void WithBox(const std::function<void()> &show, const std::function<void(QMessageBox *)> &inspect)
{
    WithModal<QMessageBox>(show, [&](QMessageBox *box) {
        inspect(box);
        box->button(QMessageBox::Ok)->click();
    });
}

const char *const kGoalText = "Необходимый уровень достигнут!\rХоды можно записать в файл.";

} // namespace

class TestAppearance : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void fitOnScreen_data();
    void fitOnScreen();
    void windowsOpenWhollyOnScreen();

    void textContrast_data();
    void textContrast();
    void shownTextContrast_data();
    void shownTextContrast();
    void shelfStaysBlackOnLight();
    void darkDesktopWhileRunning();
    void messageBoxIsLight();
    void solutionDialogIsLight();

    void qtTextsAreRussian();
    void goalMessageBreaksTheLine_data();
    void goalMessageBreaksTheLine();

    void vesselAtScale_data();
    void vesselAtScale();
    void vesselOnThisScreen();
    void taskPictureAtScale_data();
    void taskPictureAtScale();
};

void TestAppearance::initTestCase()
{
    QuietGrabWarnings();
    // A dark desktop: every window below is made under it.
    QApplication::setPalette(DarkPalette());
    QVERIFY(InstallQtRussian(*QCoreApplication::instance()));
    qInfo("screen %dx%d, scale %.2f", QGuiApplication::primaryScreen()->availableGeometry().width(),
          QGuiApplication::primaryScreen()->availableGeometry().height(),
          QGuiApplication::primaryScreen()->devicePixelRatio());
}

void TestAppearance::fitOnScreen_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("expected");
    const QRect mainFrame(206, 133, 642, 494); // the main window, 642 x 494 with menu and status bar
    const QRect dialogFrame(217, 150, 591, 393);
    QTest::newRow("1280x1024: stays") << mainFrame << QRect(0, 0, 1280, 1024) << QPoint(206, 133);
    QTest::newRow("800x600: left and up") << mainFrame << QRect(0, 0, 800, 600) << QPoint(158, 106);
    QTest::newRow("1366x768 at 125%: up") << mainFrame << QRect(0, 0, 1093, 614) << QPoint(206, 120);
    QTest::newRow("1920x1080 at 200%: up") << mainFrame << QRect(0, 0, 960, 540) << QPoint(206, 46);
    QTest::newRow("1366x768 at 125%, panel at the bottom")
        << mainFrame << QRect(0, 0, 1093, 584) << QPoint(206, 90);
    QTest::newRow("panel at the top") << QRect(206, 10, 642, 494) << QRect(0, 32, 1366, 704) << QPoint(206, 32);
    QTest::newRow("smaller than the window: top-left stays")
        << mainFrame << QRect(0, 0, 640, 480) << QPoint(0, 0);
    QTest::newRow("second screen on the left")
        << QRect(-300, 133, 642, 494) << QRect(-1366, 0, 1366, 728) << QPoint(-642, 133);
    QTest::newRow("second screen on the right, too narrow")
        << QRect(1500, 133, 642, 494) << QRect(1280, 0, 600, 800) << QPoint(1280, 133);
    QTest::newRow("screen below the primary") << mainFrame << QRect(0, 1024, 800, 600) << QPoint(158, 1024);
    QTest::newRow("dialog, 800x600") << dialogFrame << QRect(0, 0, 800, 600) << QPoint(209, 150);
    QTest::newRow("dialog, 1920x1080 at 200%") << dialogFrame << QRect(0, 0, 960, 540) << QPoint(217, 147);
    QTest::newRow("no screen") << mainFrame << QRect() << QPoint(206, 133);
}

void TestAppearance::fitOnScreen()
{
    QFETCH(QRect, frame);
    QFETCH(QRect, available);
    QFETCH(QPoint, expected);
    QCOMPARE(FitOnScreen(frame, available), expected);
}

void TestAppearance::windowsOpenWhollyOnScreen()
{
    Harness h;
    const QRect available = h.window.screen()->availableGeometry();
    // `asked` is where the window's inside was placed; its frame goes round it.
    auto check = [&](QWidget *w, QPoint asked) {
        const QRect frame = w->frameGeometry();
        const QPoint border = w->geometry().topLeft() - frame.topLeft();
        QCOMPARE(frame.topLeft(), FitOnScreen(QRect(asked - border, frame.size()), available));
        if (frame.width() <= available.width() && frame.height() <= available.height())
            QVERIFY2(available.contains(frame), qPrintable(w->objectName()));
        else
            QVERIFY(available.contains(frame.topLeft()));
    };
    check(&h.window, {206, 133});

    bool seen = false;
    WhenShown(h.window.TaskDialog(), [&](TfrmTask &dialog) {
        seen = true;
        check(&dialog, {217, 150});
        dialog.reject();
    });
    h.window.MnuTasksClick();
    QVERIFY(seen);
}

void TestAppearance::textContrast_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("text");
    QTest::addColumn<int>("background");
    const int active = QPalette::Active, disabled = QPalette::Disabled;
    const int windowText = QPalette::WindowText, window = QPalette::Window;
    for (const char *name : {"EditV1", "EditV3", "EditVW2", "EdRes"}) {
        QTest::addRow("%s", name) << QString::fromLatin1(name) << active << int(QPalette::Text) << int(QPalette::Base);
        QTest::addRow("%s disabled", name)
            << QString::fromLatin1(name) << disabled << int(QPalette::Text) << int(QPalette::Base);
    }
    for (const char *name : {"Label1", "Label5", "Label2", "Label3", "Label4", "GrBoxN", "GrBoxV", "GrBoxVW",
                             "GrBoxRes", "StatusPanel0", "StatusPanel1", "MainMenu1", "frmMain"})
        QTest::addRow("%s", name) << QString::fromLatin1(name) << active << windowText << window;
    for (const char *name : {"BtnUndo", "BtnBegin", "BtnXml", "BtnExit", "BtnOk", "BtnCancel"})
        QTest::addRow("%s", name) << QString::fromLatin1(name) << active << int(QPalette::ButtonText)
                                  << int(QPalette::Button);
    QTest::newRow("ListView") << QStringLiteral("ListView") << active << int(QPalette::Text) << int(QPalette::Base);
    QTest::newRow("ListView header") << QStringLiteral("ListView header") << active << int(QPalette::ButtonText)
                                     << int(QPalette::Button);
    QTest::newRow("MnuData menu") << QStringLiteral("MnuData") << active << int(QPalette::Text)
                                  << int(QPalette::Base);
    QTest::newRow("pages") << QStringLiteral("pages") << active << windowText << window;
}

void TestAppearance::textContrast()
{
    QFETCH(QString, name);
    QFETCH(int, group);
    QFETCH(int, text);
    QFETCH(int, background);
    Harness h;
    QWidget *w = nullptr;
    if (name == QLatin1String("frmMain"))
        w = &h.window;
    else if (name == QLatin1String("ListView header"))
        w = h.Find<QTableView>(QStringLiteral("ListView"))->horizontalHeader();
    else if (name == QLatin1String("BtnOk") || name == QLatin1String("BtnCancel") || name == QLatin1String("pages"))
        w = h.window.TaskDialog().findChild<QWidget *>(name);
    else
        w = h.Find(name);
    QVERIFY(w);
    const auto g = QPalette::ColorGroup(group);
    const QColor fg = w->palette().color(g, QPalette::ColorRole(text));
    const QColor bg = w->palette().color(g, QPalette::ColorRole(background));
    const double ratio = Contrast(fg, bg);
    qInfo("%s: %s on %s %.2f : 1", qPrintable(name), qPrintable(fg.name()), qPrintable(bg.name()), ratio);
    QVERIFY2(ratio >= 4.5, qPrintable(QString::number(ratio)));
    // The game's fixed light look, not the desktop's dark one.
    QVERIFY2(Luminance(bg) > 0.5, qPrintable(bg.name()));
}

void TestAppearance::shownTextContrast_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("area"); // empty: the whole widget inside its frame
    QTest::newRow("heading, blue") << QStringLiteral("Label5") << QRect();
    QTest::newRow("Ход переливаний") << QStringLiteral("Label1") << QRect();
    QTest::newRow("1 on cream") << QStringLiteral("Label2") << QRect();
    QTest::newRow("3 on cream") << QStringLiteral("Label4") << QRect();
    QTest::newRow("Получить уровень, blue caption") << QStringLiteral("GrBoxRes") << QRect(8, 0, 120, 14);
    QTest::newRow("Объем сосудов caption") << QStringLiteral("GrBoxV") << QRect(8, 0, 100, 14);
    QTest::newRow("status hint") << QStringLiteral("StatusPanel1") << QRect();
    QTest::newRow("disabled field digits") << QStringLiteral("EditV1") << QRect();
    QTest::newRow("disabled field digits, target") << QStringLiteral("EdRes") << QRect();
}

void TestAppearance::shownTextContrast()
{
    QFETCH(QString, name);
    QFETCH(QRect, area);
    Harness h;
    // The milk task in play: the fields are disabled and show its numbers.
    h.window.Puzzle().LoadTask(TaskPresets[0]);
    h.window.BtnBeginClick();
    QWidget *w = h.Find(name);
    QVERIFY(!w->isEnabled() || !qobject_cast<QLineEdit *>(w));
    if (area.isEmpty())
        area = w->rect().adjusted(3, 3, -3, -3);
    if (auto *label = qobject_cast<QLabel *>(w); label && label->frameWidth() == 0)
        area = w->rect();
    const double ratio = GrabbedContrast(w, area);
    qInfo("%s shown: %.2f : 1", qPrintable(name), ratio);
    QVERIFY2(ratio >= 4.5, qPrintable(QString::number(ratio)));
}

void TestAppearance::shelfStaysBlackOnLight()
{
    Harness h;
    QWidget *shelf = h.Find(QStringLiteral("Shape1"));
    QWidget *form = h.window.centralWidget();
    const QImage image = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal r = form->devicePixelRatioF();
    const QPoint inShelf = (shelf->geometry().center() * r);
    const QPoint above = (QPoint(shelf->geometry().center().x(), shelf->y() - 3) * r);
    QCOMPARE(QColor(image.pixel(inShelf)), QColor(Qt::black));
    const double ratio = Contrast(QColor(image.pixel(inShelf)), QColor(image.pixel(above)));
    qInfo("shelf on the form: %.2f : 1", ratio);
    QVERIFY(ratio >= 4.5);
}

// The desktop turns dark while the game runs: the window keeps its colours.
void TestAppearance::darkDesktopWhileRunning()
{
    QApplication::setPalette(QPalette(QColor(0xEF, 0xEF, 0xEF)));
    {
        Harness h;
        h.window.StartTaskCode("12,7,5/12,0,0/6");
        const QImage before = h.window.grab().toImage();
        QApplication::setPalette(DarkPalette());
        QCoreApplication::processEvents();
        const QImage after = h.window.grab().toImage();
        QCOMPARE(after, before);
        QCOMPARE(h.Find("Label5")->palette().color(QPalette::Window), QColor(0xEF, 0xEF, 0xEF));
    }
    QApplication::setPalette(DarkPalette());
}

void TestAppearance::messageBoxIsLight()
{
    double textRatio = 0, buttonRatio = 0;
    QColor background;
    QtMessageBoxes boxes;
    WithBox([&] { boxes.Show(kGoalText, "Внимание", 64); },
            [&](QMessageBox *box) {
                auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
                QAbstractButton *ok = box->button(QMessageBox::Ok);
                background = label->palette().color(QPalette::Window);
                textRatio = Contrast(label->palette().color(QPalette::WindowText), background);
                buttonRatio = Contrast(ok->palette().color(QPalette::ButtonText), ok->palette().color(QPalette::Button));
            });
    qInfo("message box text %.2f : 1, button %.2f : 1", textRatio, buttonRatio);
    QVERIFY(textRatio >= 4.5);
    QVERIFY(buttonRatio >= 4.5);
    QVERIFY(Luminance(background) > 0.5);
}

void TestAppearance::solutionDialogIsLight()
{
    Harness h;
    SolutionDialog dialog(Solve(TaskPresets[0]), QString(), &h.window);
    auto *table = dialog.findChild<QWidget *>(QStringLiteral("SolutionTable"));
    QVERIFY(table);
    const QPalette window = dialog.palette();
    const QPalette cells = table->palette();
    QVERIFY(Contrast(window.color(QPalette::WindowText), window.color(QPalette::Window)) >= 4.5);
    QVERIFY(Contrast(cells.color(QPalette::Text), cells.color(QPalette::Base)) >= 4.5);
    QVERIFY(Luminance(window.color(QPalette::Window)) > 0.5);
    QVERIFY(Luminance(cells.color(QPalette::Base)) > 0.5);
}

void TestAppearance::qtTextsAreRussian()
{
    static const QRegularExpression cyrillic(QStringLiteral("[А-Яа-яЁё]"));
    Harness h;
    h.window.MnuNewClick();
    QLineEdit *edit = h.Edit(QStringLiteral("EditV1"));
    std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
    int texts = 0;
    for (QAction *action : menu->actions()) {
        if (action->isSeparator())
            continue;
        ++texts;
        QVERIFY2(action->text().contains(cyrillic), qPrintable(action->text()));
    }
    QVERIFY(texts >= 7); // undo, redo, cut, copy, paste, delete, select all

    // Russian Qt keeps "OK" as it is; the other standard buttons show it is on.
    QMessageBox box(QMessageBox::Question, QStringLiteral("?"), QStringLiteral("?"),
                    QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Close);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("OK"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QString::fromUtf8("Отмена"));
    QCOMPARE(box.button(QMessageBox::Close)->text(), QString::fromUtf8("Закрыть"));

    // The task dialog's tab bar scroll buttons are named for screen readers.
    auto *pages = h.window.TaskDialog().findChild<QTabWidget *>(QStringLiteral("pages"));
    int named = 0;
    for (QWidget *button : pages->findChildren<QWidget *>()) {
        if (button->accessibleName().isEmpty())
            continue;
        ++named;
        QVERIFY2(button->accessibleName().contains(cyrillic), qPrintable(button->accessibleName()));
    }
    QVERIFY(named >= 2);
}

void TestAppearance::goalMessageBreaksTheLine_data()
{
    QTest::addColumn<QString>("style");
    QTest::newRow("Fusion") << QStringLiteral("Fusion");
    QTest::newRow("Windows") << QStringLiteral("Windows");
}

void TestAppearance::goalMessageBreaksTheLine()
{
    QFETCH(QString, style);
    const QString before = QApplication::style()->name();
    QApplication::setStyle(style);
    const QString first = QString::fromUtf8("Необходимый уровень достигнут!");
    const QString second = QString::fromUtf8("Ходы можно записать в файл.");
    QString text;
    int unbounded = 0, shown = 0, shownWidth = 0, lineSpacing = 0, widest = 0;
    QtMessageBoxes boxes;
    WithBox([&] { boxes.Show(kGoalText, "Внимание", 64); },
            [&](QMessageBox *box) {
                auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
                text = box->text();
                const QMargins m = label->contentsMargins();
                // Room for any line: only a line break makes a second one.
                unbounded = label->heightForWidth(4000) - m.top() - m.bottom();
                shown = label->height() - m.top() - m.bottom();
                shownWidth = label->contentsRect().width();
                const QFontMetrics fm(label->font());
                lineSpacing = fm.lineSpacing();
                widest = std::max(fm.horizontalAdvance(first), fm.horizontalAdvance(second));
            });
    QApplication::setStyle(before);

    QCOMPARE(text, QString::fromUtf8(kGoalText)); // the box keeps the text as given
    auto lines = [&](int height) { return QStringLiteral("%1 px for lines of %2").arg(height).arg(lineSpacing); };
    QVERIFY2(unbounded >= 2 * lineSpacing && unbounded < 3 * lineSpacing, qPrintable(lines(unbounded)));
    // Where the screen leaves room for the longer half, the box shows just the two lines.
    if (shownWidth >= widest)
        QVERIFY2(shown < 3 * lineSpacing, qPrintable(lines(shown)));
}

void TestAppearance::vesselAtScale_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<int>("level");
    const struct {
        const char *Name;
        QSize Size;
        int Capacity, Level;
    } vessels[] = {{"12 6", {105, 145}, 12, 6}, {"7 7", {81, 105}, 7, 7}, {"5 0", {65, 73}, 5, 0},
                   {"8 3", {81, 105}, 8, 3}, {"999 1", {65, 73}, 999, 1}, {"3 1", {65, 73}, 3, 1}};
    for (qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 3.0})
        for (const auto &v : vessels)
            QTest::addRow("%s at %g", v.Name, ratio) << ratio << v.Size << v.Capacity << v.Level;
}

void TestAppearance::vesselAtScale()
{
    QFETCH(qreal, ratio);
    QFETCH(QSize, size);
    QFETCH(int, capacity);
    QFETCH(int, level);
    const QImage image = VesselImage(size, ratio, capacity, level).convertToFormat(QImage::Format_RGB32);
    const int w = qRound(size.width() * ratio), h = qRound(size.height() * ratio);
    QCOMPARE(image.size(), QSize(w, h));
    QCOMPARE(image.devicePixelRatio(), ratio);

    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255), blue = qRgb(0, 0, 255);
    const int line = std::max(1, qRound(ratio));
    const int top = size.height() - (level * size.height()) / capacity; // in form pixels
    const bool liquid = level > 0 && top < size.height();
    const int levelRow = liquid ? qRound(top * ratio) : h;
    if (liquid) // where the unscaled row falls, to half a device pixel
        QVERIFY(std::abs(levelRow - top * ratio) <= 0.5);

    for (int y = 0; y < h; ++y) {
        const bool edgeRow = y < line || y >= h - line || (y >= levelRow && y < levelRow + line);
        for (int x = 0; x < w; ++x) {
            const bool edge = edgeRow || x < line || x >= w - line;
            const QRgb expected = edge ? black : (y >= levelRow + line ? blue : white);
            if (image.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3, not %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(QColor(image.pixel(x, y)).name(), QColor(expected).name())));
        }
    }
}

void TestAppearance::vesselOnThisScreen()
{
    Harness h;
    h.TypeAndStart({"12", "7", "5", "6", "7", "0", "6"});
    for (int n = 1; n <= 3; ++n) {
        VesselPicture *picture = h.Image(n);
        const QPixmap shown = picture->grab();
        const qreal ratio = shown.devicePixelRatio();
        QCOMPARE(ratio, picture->devicePixelRatioF());
        const QImage expected = VesselImage(picture->size(), ratio, h.window.Puzzle().State().Capacity(n),
                                            h.window.Puzzle().State().Level(n));
        QCOMPARE(shown.toImage().convertToFormat(QImage::Format_RGB32), expected.convertToFormat(QImage::Format_RGB32));
    }
}

void TestAppearance::taskPictureAtScale_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qreal>("ratio");
    for (qreal ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
        QTest::addRow("milk at %g", ratio) << QStringLiteral(":/task_milk") << QSize(520, 228) << ratio;
        QTest::addRow("kvass at %g", ratio) << QStringLiteral(":/task_kvass") << QSize(565, 302) << ratio;
    }
}

void TestAppearance::taskPictureAtScale()
{
    QFETCH(QString, base);
    QFETCH(QSize, size);
    QFETCH(qreal, ratio);
    const QPixmap picture = TfrmTask::TaskPicture(base, ratio);
    // Laid out as before, drawn in the screen's own pixels, one to one.
    QCOMPARE(picture.size(), size * ratio);
    QVERIFY(std::abs(picture.deviceIndependentSize().width() - size.width()) < 1);
    QVERIFY(std::abs(picture.deviceIndependentSize().height() - size.height()) < 1);
    QCOMPARE(picture.devicePixelRatio(), ratio);
    if (ratio == 1.0)
        QCOMPARE(picture.toImage(), QImage(base + QStringLiteral(".bmp")).convertToFormat(picture.toImage().format()));
    if (ratio == 2.0)
        QCOMPARE(picture.toImage(), QImage(base + QStringLiteral("@2x.png")).convertToFormat(picture.toImage().format()));
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
