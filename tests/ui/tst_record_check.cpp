// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// "Провери&ть записи…" in the real window: the entry and when it is
// available, the file chooser, the table of verdicts with its sorting and
// copy, and a game that stays exactly as it was.
#include "window_harness.h"

#include "appearance.h"
#include "form_scale.h"
#include "game_palette.h"
#include "modal_helpers.h"
#include "record_check_command.h"
#include "record_check_dialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QProgressBar>
#include <QTableWidget>
#include <QTest>

#include <sys/stat.h>

namespace {

const QString kMilk = QStringLiteral("12,7,5/12,0,0/6");

QByteArray ResultFile(const QList<QByteArray> &rows)
{
    QByteArray text = "<?xml version=\"1.0\" encoding=\"windows-1251\" standalone=\"yes\"?>\r\n<ListStore><Columns/><Data>";
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const QList<QByteArray> levels = rows[r].split(' ');
        text += "<Record Column0=\"" + QByteArray::number(r) + "\" Column1=\"" + levels[0] + "\" Column2=\""
            + levels[1] + "\" Column3=\"" + levels[2] + "\"/>";
    }
    return text + "</Data></ListStore>\r\n";
}

const QList<QByteArray> kMilkSolution = {"12 0 0", "5 7 0", "5 2 5", "10 2 0", "10 0 2", "3 7 2",
                                         "3 4 5",  "8 4 0", "8 0 4", "1 7 4",  "1 6 5"};

// A class's files in the current folder, in the order they are handed in.
QStringList WriteClass(const TemporaryWorkDir &dir)
{
    const QList<std::pair<QString, QByteArray>> files = {
        {QStringLiteral("petrov.xml"), ResultFile({"12 0 0", "5 7 0", "5 2 5"})},
        {QStringLiteral("ivanova.xml"), ResultFile(kMilkSolution)},
        {QStringLiteral("sidorov.xml"), ResultFile({"12 0 0", "9 3 0"})},
        {QStringLiteral("kvass.xml"), ResultFile({"8 0 0", "3 5 0"})},
        {QStringLiteral("notes.xml"), QByteArrayLiteral("12 0 0, 5 7 0")},
    };
    QStringList paths;
    for (const auto &[name, bytes] : files) {
        QFile file(dir.FilePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
        paths << file.fileName();
    }
    return paths;
}

// What the verdict dialog showed, read while it was up.
struct Shown {
    bool Up = false;
    QString Title;
    QString Task;
    QString Summary;
    QStringList Rows; // cells joined by " | "
    QStringList SortedByVerdict;
    QStringList SortedByVerdictDown;
    QStringList SortedByPours;
    QString Copied;
    QString TableText;
    bool GamePalette = false;
    QString Family;
};

QStringList Rows(QTableWidget *table)
{
    QStringList rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells << table->item(r, c)->text();
        rows << cells.join(QStringLiteral(" | "));
    }
    return rows;
}

void ClickHeading(QTableWidget *table, int column)
{
    QHeaderView *header = table->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// The verdicts come as the files are read, away from the window's thread.
void WaitForTheCheck(RecordCheckDialog *dialog)
{
    if (!QTest::qWaitFor([dialog] { return dialog->Finished(); }, kModalWaitMs))
        qFatal("the check did not finish within %d s", kModalWaitMs / 1000);
}

// Reads the dialog once every file is checked, sorts by clicking headings,
// presses "Копировать" and closes it.
Shown Read(RecordCheckDialog *dialog)
{
    WaitForTheCheck(dialog);
    Shown shown;
    shown.Up = true;
    shown.Title = dialog->windowTitle();
    shown.Task = dialog->findChild<QLabel *>(QStringLiteral("TaskLine"))->text();
    shown.Summary = dialog->findChild<QLabel *>(QStringLiteral("Summary"))->text();
    shown.GamePalette = dialog->palette() == GamePalette();
    shown.Family = dialog->font().family();
    auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("RecordTable"));
    shown.Rows = Rows(table);
    ClickHeading(table, 1);
    shown.SortedByVerdict = Rows(table);
    ClickHeading(table, 1);
    shown.SortedByVerdictDown = Rows(table);
    ClickHeading(table, 2);
    shown.SortedByPours = Rows(table);
    QApplication::clipboard()->clear();
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("BtnCopy")), Qt::LeftButton);
    shown.Copied = QApplication::clipboard()->text();
    shown.TableText = dialog->TableText();
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("BtnClose")), Qt::LeftButton);
    return shown;
}

QString FirstCells(const QStringList &rows)
{
    QStringList first;
    for (const QString &row : rows)
        first << row.section(QStringLiteral(" | "), 0, 1);
    return first.join(QStringLiteral("; "));
}

} // namespace

class TestRecordCheck : public QObject {
    Q_OBJECT

private slots:
    void entryAndWhenItIsAvailable();
    void aClassOfFilesInATable();
    void theTaskTypedInIsTheOneChecked();
    void chosenInTheFileChooser();
    void nothingChosenNothingShown();
    void followsTheScale();
    void aFolderWithWhatIsNoFile();
    void theWholeFolderAndItsVariants();
    void aWrongVariantIsNamed();
    void progressAndStop();
    void saveTheTable_data();
    void saveTheTable();
};

void TestRecordCheck::entryAndWhenItIsAvailable()
{
    Harness h;
    auto *game = h.window.findChild<QMenu *>(QStringLiteral("MnuGame"));
    QAction *entry = h.Action("MnuCheckRecords");
    const QList<QAction *> actions = game->actions();
    QCOMPARE(actions.indexOf(entry), actions.indexOf(h.Action("MnuCheck")) + 1);
    QCOMPARE(entry->text(), QString::fromUtf8("Провери&ть записи…"));
    QVERIFY(entry->shortcut().isEmpty());
    QVERIFY(!entry->isEnabled());
    h.window.MnuNewClick();
    QVERIFY(entry->isEnabled());
    h.window.StartTaskCode(kMilk.toStdString());
    QVERIFY(entry->isEnabled());
    QVERIFY(GameCommands::EnabledIn(GameCommands::Command::CheckRecords, GameMode::Play));
}

// The files as handed in; a click on a heading sorts by it, a second the
// other way; the copy is the table as shown. The game is untouched.
void TestRecordCheck::aClassOfFilesInATable()
{
    const TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    const QStringList files = WriteClass(dir);
    Harness h;
    h.window.StartTaskCode(kMilk.toStdString());
    h.window.Puzzle().Pour(1, 3);
    const GameSnapshot before = TakeSnapshot(h);

    auto *command = h.window.findChild<RecordCheckCommand *>();
    QVERIFY(command);
    Shown shown;
    WithModal<RecordCheckDialog>([&] { command->ShowVerdicts(files); },
                                 [&](RecordCheckDialog *dialog) { shown = Read(dialog); });
    QVERIFY(shown.Up);
    QCOMPARE(shown.Title, QString::fromUtf8("Проверить записи"));
    QCOMPARE(shown.Task, QString::fromUtf8("Задача 12,7,5/12,0,0/6. Наименьшее число переливаний — 10."));
    QCOMPARE(shown.Summary, QString::fromUtf8("Решено: 1 из 5."));
    const QStringList rows = {
        QString::fromUtf8("petrov.xml | не решено | 2 | 10 | Цель не достигнута за 2 переливания."),
        QString::fromUtf8("ivanova.xml | решено | 10 | 10 | Наименьшее число переливаний."),
        QString::fromUtf8("sidorov.xml | неверный ход |  | 10 | Ход 1 (9 3 0) не получить из хода 0 (12 0 0) одним "
                          "переливанием."),
        QString::fromUtf8("kvass.xml | другая задача |  | 10 | Сохранения в файле начинаются с «8 0 0», а не с "
                          "уровней задачи 12 0 0."),
        QString::fromUtf8("notes.xml | не читается |  | 10 | Это не XML: в файле не найден ни один элемент (строка "
                          "1)."),
    };
    QCOMPARE(shown.Rows, rows);
    QCOMPARE(FirstCells(shown.SortedByVerdict),
             QString::fromUtf8("ivanova.xml | решено; petrov.xml | не решено; sidorov.xml | неверный ход; kvass.xml | "
                               "другая задача; notes.xml | не читается"));
    QCOMPARE(FirstCells(shown.SortedByVerdictDown),
             QString::fromUtf8("notes.xml | не читается; kvass.xml | другая задача; sidorov.xml | неверный ход; "
                               "petrov.xml | не решено; ivanova.xml | решено"));
    // Counts as numbers, the empty ones first: 2 before 10.
    QVERIFY2(shown.SortedByPours.last().startsWith(QStringLiteral("ivanova.xml")), qPrintable(shown.SortedByPours.last()));
    QVERIFY(shown.SortedByPours[3].startsWith(QStringLiteral("petrov.xml")));
    QVERIFY(shown.TableText.startsWith(QString::fromUtf8("Файл\tИтог\tХоды\tНаименьшее\tПодробности\n")));
    QCOMPARE(shown.TableText.count(QLatin1Char('\n')), 6);
    QVERIFY(shown.TableText.endsWith(QString::fromUtf8("ivanova.xml\tрешено\t10\t10\tНаименьшее число переливаний.\n")));
    QCOMPARE(shown.Copied, shown.TableText);
    QVERIFY(shown.GamePalette);
    QCOMPARE(shown.Family, UiFont(8).family());
    QVERIFY(h.boxes.Boxes.empty());
    QVERIFY(TakeSnapshot(h) == before);
}

void TestRecordCheck::theTaskTypedInIsTheOneChecked()
{
    const TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    const QStringList files = WriteClass(dir);
    Harness h;
    h.window.MnuNewClick();
    const char *names[] = {"EditV1", "EditV2", "EditV3", "EditVW1", "EditVW2", "EditVW3", "EdRes"};
    const char *values[] = {"8", "5", "3", "8", "0", "0", "4"};
    for (int i = 0; i < 7; ++i)
        h.Type(QString::fromLatin1(names[i]), QString::fromLatin1(values[i]));
    const GameSnapshot before = TakeSnapshot(h);

    Shown shown;
    WithModal<RecordCheckDialog>(
        [&] { h.window.findChild<RecordCheckCommand *>()->ShowVerdicts({files[3], files[1]}); },
        [&](RecordCheckDialog *dialog) { shown = Read(dialog); });
    QCOMPARE(shown.Task, QString::fromUtf8("Задача 8,5,3/8,0,0/4. Наименьшее число переливаний — 6."));
    QCOMPARE(FirstCells(shown.Rows), QString::fromUtf8("kvass.xml | не решено; ivanova.xml | другая задача"));
    QCOMPARE(shown.Summary, QString::fromUtf8("Решено: 0 из 2."));
    QVERIFY(TakeSnapshot(h) == before);
}

// The menu entry opens Qt's own chooser in the current folder; the files
// named there are the ones checked.
void TestRecordCheck::chosenInTheFileChooser()
{
    const TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    WriteClass(dir);
    Harness h;
    h.window.StartTaskCode(kMilk.toStdString());
    const GameSnapshot before = TakeSnapshot(h);

    QObject context;
    QString folder;
    QString acceptLabel;
    bool gameColours = false;
    Shown shown;
    WithModal<QFileDialog>([&] { h.Action("MnuCheckRecords")->trigger(); },
                           [&](QFileDialog *chooser) {
                               folder = chooser->directory().absolutePath();
                               acceptLabel = chooser->labelText(QFileDialog::Accept);
                               gameColours = chooser->palette() == GamePalette();
                               // The verdicts come up once the chooser is gone.
                               modal_detail::Poll(
                                   &context, "the verdicts",
                                   [] {
                                       auto *d = qobject_cast<RecordCheckDialog *>(QApplication::activeModalWidget());
                                       return d && d->isVisible();
                                   },
                                   [&] {
                                       shown = Read(qobject_cast<RecordCheckDialog *>(QApplication::activeModalWidget()));
                                   });
                               auto *name = chooser->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                               auto *buttons = chooser->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
                               QVERIFY(name && buttons);
                               // Two names, as the chooser writes a choice of several.
                               name->setText(QStringLiteral("\"ivanova.xml\" \"petrov.xml\""));
                               QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
                           });
    QCOMPARE(folder, QDir::current().absolutePath());
    QCOMPARE(acceptLabel, QString::fromUtf8("Проверить"));
    QVERIFY(gameColours);
    QVERIFY(shown.Up);
    QCOMPARE(FirstCells(shown.Rows), QString::fromUtf8("ivanova.xml | решено; petrov.xml | не решено"));
    QVERIFY(TakeSnapshot(h) == before);
}

void TestRecordCheck::nothingChosenNothingShown()
{
    const TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    Harness h;
    h.window.StartTaskCode(kMilk.toStdString());
    const GameSnapshot before = TakeSnapshot(h);
    bool chooserUp = false;
    WithModal<QFileDialog>([&] { h.Action("MnuCheckRecords")->trigger(); },
                           [&](QFileDialog *chooser) {
                               chooserUp = true;
                               QTest::keyClick(chooser, Qt::Key_Escape);
                           });
    QVERIFY(chooserUp);
    QVERIFY(!h.window.findChild<RecordCheckDialog *>());
    QVERIFY(h.boxes.Boxes.empty());
    QVERIFY(TakeSnapshot(h) == before);
}

// At the game's scale: the font, and with it the rows and the window.
void TestRecordCheck::followsTheScale()
{
    const TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    const QStringList files = WriteClass(dir);
    Harness h;
    h.window.StartTaskCode(kMilk.toStdString());
    const auto measure = [&](qreal scale) {
        SetFormScale(scale);
        QSize size;
        int row = 0;
        qreal points = 0;
        WithModal<RecordCheckDialog>([&] { h.window.findChild<RecordCheckCommand *>()->ShowVerdicts(files); },
                                     [&](RecordCheckDialog *dialog) {
                                         WaitForTheCheck(dialog);
                                         size = dialog->size();
                                         points = dialog->font().pointSizeF();
                                         row = dialog->findChild<QTableWidget *>()->rowHeight(0);
                                         dialog->reject();
                                     });
        SetFormScale(1.0);
        return std::tuple{size, row, points};
    };
    const auto [size1, row1, points1] = measure(1.0);
    const auto [size2, row2, points2] = measure(2.0);
    QCOMPARE(points1, 8.0);
    QCOMPARE(points2, 16.0);
    QVERIFY2(row2 > row1 * 3 / 2, qPrintable(QStringLiteral("%1 -> %2").arg(row1).arg(row2)));
    QVERIFY(size2.width() > size1.width() && size2.height() > size1.height());
}

namespace {

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QTableWidget *Table(RecordCheckDialog *dialog)
{
    return dialog->findChild<QTableWidget *>(QStringLiteral("RecordTable"));
}

// Runs the menu entry, and in the chooser: the codes typed, then either
// the whole folder or these names.
void ChooseInTheChooser(Harness &h, const QString &codes, const QString &names,
                        const std::function<void(RecordCheckDialog *)> &read)
{
    QObject context;
    WithModal<QFileDialog>([&] { h.Action("MnuCheckRecords")->trigger(); },
                           [&](QFileDialog *chooser) {
                               modal_detail::Poll(
                                   &context, "the verdicts",
                                   [] {
                                       auto *d = qobject_cast<RecordCheckDialog *>(QApplication::activeModalWidget());
                                       return d && d->isVisible();
                                   },
                                   [&] {
                                       auto *d = qobject_cast<RecordCheckDialog *>(QApplication::activeModalWidget());
                                       WaitForTheCheck(d);
                                       read(d);
                                       d->reject();
                                   });
                               if (!codes.isEmpty())
                                   chooser->findChild<QLineEdit *>(QStringLiteral("VariantCodes"))->setText(codes);
                               if (names.isEmpty()) {
                                   QTest::mouseClick(chooser->findChild<QPushButton *>(QStringLiteral("BtnWholeFolder")),
                                                     Qt::LeftButton);
                                   return;
                               }
                               chooser->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(names);
                               auto *buttons = chooser->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
                               QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
                           });
}

} // namespace

// A folder is its *.xml files in Russian order; what is no file is named
// as such without a wait, and a name shows what it holds, in the cell and
// in its tooltip.
void TestRecordCheck::aFolderWithWhatIsNoFile()
{
    const TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    QVERIFY(QDir().mkdir(QStringLiteral("class")));
    const QByteArray solved = ResultFile(kMilkSolution);
    Write(QString::fromUtf8("class/ученик 10.xml"), solved);
    Write(QString::fromUtf8("class/ученик 2.xml"), solved);
    Write(QString::fromUtf8("class/<b>two\nlines<i>.xml"), solved);
    Write(QString::fromUtf8("class/bidi\u202Egpj.xml"), solved);
    QCOMPARE(::mkfifo("class/pipe.xml", 0600), 0);
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), QStringLiteral("class/zero.xml")));
    QVERIFY(QFile::link(QStringLiteral("loop.xml"), QStringLiteral("class/loop.xml")));
    Harness h;
    h.window.StartTaskCode(kMilk.toStdString());

    Shown shown;
    QString tipOfTwoLines;
    WithModal<RecordCheckDialog>(
        [&] { h.window.findChild<RecordCheckCommand *>()->ShowVerdicts({QStringLiteral("class")}); },
        [&](RecordCheckDialog *dialog) {
            WaitForTheCheck(dialog);
            QTableWidget *table = Table(dialog);
            for (int r = 0; r < table->rowCount(); ++r) {
                if (table->item(r, 0)->text().contains(QStringLiteral("two")))
                    tipOfTwoLines = table->item(r, 0)->toolTip();
            }
            shown = Read(dialog);
        });
    QCOMPARE(FirstCells(shown.Rows),
             QString::fromUtf8("<b>two\\nlines<i>.xml | решено; ученик 2.xml | решено; ученик 10.xml | решено; "
                               "bidi\\u202Egpj.xml | решено; loop.xml | не читается; pipe.xml | не читается; "
                               "zero.xml | не читается"));
    QVERIFY2(shown.Rows[4].endsWith(QString::fromUtf8("Ссылки на файл ведут по кругу.")), qPrintable(shown.Rows[4]));
    QVERIFY2(shown.Rows[5].endsWith(QString::fromUtf8("Это не обычный файл.")), qPrintable(shown.Rows[5]));
    QCOMPARE(shown.Summary, QString::fromUtf8("Решено: 4 из 7."));
    // The tooltip: the path as given, escaped, as text.
    QCOMPARE(tipOfTwoLines, QString::fromUtf8("<p>class/&lt;b&gt;two\\nlines&lt;i&gt;.xml</p>"));
    QVERIFY(!tipOfTwoLines.contains(QLatin1Char('\n')));
}

// The chooser's «Проверить всю папку», against two variants: a column
// names the task each file was graded against.
void TestRecordCheck::theWholeFolderAndItsVariants()
{
    const TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    WriteClass(dir);
    Harness h;
    h.window.StartTaskCode(kMilk.toStdString());
    const GameSnapshot before = TakeSnapshot(h);
    QStringList rows;
    QString task;
    ChooseInTheChooser(h, kMilk + QStringLiteral("+8,5,3/8,0,0/4"), QString(), [&](RecordCheckDialog *dialog) {
        rows = Rows(Table(dialog));
        task = dialog->findChild<QLabel *>(QStringLiteral("TaskLine"))->text();
    });
    QCOMPARE(task, QString::fromUtf8("Варианты: 12,7,5/12,0,0/6 (наименьшее число переливаний — 10); 8,5,3/8,0,0/4 "
                                     "(наименьшее число переливаний — 6)."));
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows[0], QString::fromUtf8("ivanova.xml | 12,7,5/12,0,0/6 | решено | 10 | 10 | Наименьшее число переливаний."));
    QCOMPARE(rows[1], QString::fromUtf8("kvass.xml | 8,5,3/8,0,0/4 | не решено | 1 | 6 | Цель не достигнута за 1 "
                                        "переливание."));
    QVERIFY2(rows[2].startsWith(QString::fromUtf8("notes.xml |  | не читается |  |  | ")), qPrintable(rows[2]));
    QVERIFY(TakeSnapshot(h) == before);
    QVERIFY(h.boxes.Boxes.empty());
}

void TestRecordCheck::aWrongVariantIsNamed()
{
    const TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    WriteClass(dir);
    Harness h;
    h.window.StartTaskCode(kMilk.toStdString());
    WithModal<QFileDialog>([&] { h.Action("MnuCheckRecords")->trigger(); },
                           [&](QFileDialog *chooser) {
                               chooser->findChild<QLineEdit *>(QStringLiteral("VariantCodes"))
                                   ->setText(kMilk + QStringLiteral("+8,5,3/9,0,0/4"));
                               QTest::mouseClick(chooser->findChild<QPushButton *>(QStringLiteral("BtnWholeFolder")),
                                                 Qt::LeftButton);
                           });
    QVERIFY(!h.window.findChild<RecordCheckDialog *>());
    QCOMPARE(h.boxes.Boxes.size(), std::size_t{1});
    QVERIFY2(QString::fromStdString(h.boxes.Boxes[0].Text)
                 .startsWith(QString::fromUtf8("Код задачи номер 2 в списке через «+», «8,5,3/9,0,0/4», не годится.")),
             h.boxes.Boxes[0].Text.c_str());
    QCOMPARE(QString::fromStdString(h.boxes.Boxes[0].Caption), QString::fromUtf8("Проверить записи"));
}

// A large class: the bar counts the files as their rows come in, and
// «Остановить» ends the check with what was checked by then.
void TestRecordCheck::progressAndStop()
{
    const TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    QVERIFY(QDir().mkdir(QStringLiteral("class")));
    QList<QByteArray> rows{"12 0 0"};
    for (int i = 0; i < 100; ++i)
        rows << (i % 2 ? "12 0 0" : "5 7 0");
    const QByteArray file = ResultFile(rows);
    constexpr int kFiles = 3000;
    for (int i = 0; i < kFiles; ++i)
        Write(QStringLiteral("class/pupil%1.xml").arg(i), file);
    Harness h;
    h.window.StartTaskCode(kMilk.toStdString());

    QString barText;
    int rowsThen = -1;
    QString summary;
    int rowsAtEnd = -1;
    bool barGone = false;
    WithModal<RecordCheckDialog>(
        [&] { h.window.findChild<RecordCheckCommand *>()->ShowVerdicts({QStringLiteral("class")}); },
        [&](RecordCheckDialog *dialog) {
            auto *bar = dialog->findChild<QProgressBar *>(QStringLiteral("CheckProgress"));
            QVERIFY(QTest::qWaitFor([&] { return Table(dialog)->rowCount() > 0 || dialog->Finished(); }, kModalWaitMs));
            if (!dialog->Finished()) {
                barText = bar->text();
                rowsThen = Table(dialog)->rowCount();
                QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("BtnStop")), Qt::LeftButton);
            }
            WaitForTheCheck(dialog);
            summary = dialog->findChild<QLabel *>(QStringLiteral("Summary"))->text();
            rowsAtEnd = Table(dialog)->rowCount();
            barGone = !bar->isVisible();
            dialog->reject();
        });
    if (rowsThen >= 0)
        QCOMPARE(barText, QString::fromUtf8("Проверено %1 из %2").arg(rowsThen).arg(kFiles));
    QVERIFY(barGone);
    // Stopped midway unless the files were all read before the click.
    if (rowsAtEnd < kFiles)
        QCOMPARE(summary, QString::fromUtf8("Решено: 0 из %1. Проверка остановлена: проверено %1 из %2.")
                              .arg(rowsAtEnd)
                              .arg(kFiles));
    else
        QCOMPARE(summary, QString::fromUtf8("Решено: 0 из %1.").arg(kFiles));
}

void TestRecordCheck::saveTheTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("written");

    QTest::newRow("xlsx") << QStringLiteral("class.xlsx") << QString::fromUtf8("Таблица Excel (*.xlsx)") << true;
    QTest::newRow("xlsx, the suffix added") << QStringLiteral("class") << QString::fromUtf8("Таблица Excel (*.xlsx)")
                                            << true;
    QTest::newRow("csv") << QStringLiteral("class.csv") << QString::fromUtf8("Таблица CSV (*.csv)") << true;
    QTest::newRow("a folder that is not there") << QStringLiteral("nowhere/class.xlsx")
                                                << QString::fromUtf8("Таблица Excel (*.xlsx)") << false;
}

// «Сохранить таблицу…»: the table as shown, sorted, as a spreadsheet or as
// CSV; a file that cannot be written is said so in a box.
void TestRecordCheck::saveTheTable()
{
    QFETCH(QString, name);
    QFETCH(QString, filter);
    QFETCH(bool, written);
    const TemporaryWorkDir dir;
    QVERIFY(dir.IsValid());
    const QStringList files = WriteClass(dir);
    Harness h;
    h.window.StartTaskCode(kMilk.toStdString());

    QObject context;
    QString savedLine;
    bool savedShown = false;
    bool enabledWhileRunning = true;
    WithModal<RecordCheckDialog>(
        [&] { h.window.findChild<RecordCheckCommand *>()->ShowVerdicts(files); },
        [&](RecordCheckDialog *dialog) {
            auto *save = dialog->findChild<QPushButton *>(QStringLiteral("BtnSaveTable"));
            enabledWhileRunning = dialog->Finished() || !save->isEnabled();
            WaitForTheCheck(dialog);
            QVERIFY(save->isEnabled());
            dialog->SortBy(1);
            modal_detail::Poll(
                &context, "the table's chooser",
                [] {
                    auto *chooser = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                    return chooser && chooser->isVisible();
                },
                [&] {
                    auto *chooser = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
                    chooser->selectNameFilter(filter);
                    emit chooser->filterSelected(filter);
                    chooser->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(name);
                    auto *buttons = chooser->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
                    QTest::mouseClick(buttons->button(QDialogButtonBox::Save), Qt::LeftButton);
                    // A folder that is not there: the chooser says so; closed here.
                    if (chooser->isVisible())
                        static_cast<QDialog *>(chooser)->done(QDialog::Accepted);
                });
            QTest::mouseClick(save, Qt::LeftButton);
            auto *line = dialog->findChild<QLabel *>(QStringLiteral("SavedLine"));
            savedShown = line->isVisible();
            savedLine = line->text();
            dialog->reject();
        });
    QVERIFY(enabledWhileRunning);
    if (!written) {
        QVERIFY(!savedShown);
        QCOMPARE(h.boxes.Boxes.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(h.boxes.Boxes[0].Caption), QString::fromUtf8("Сохранить таблицу"));
        QVERIFY2(QString::fromStdString(h.boxes.Boxes[0].Text).contains(QString::fromUtf8("не записан")),
                 h.boxes.Boxes[0].Text.c_str());
        return;
    }
    QVERIFY2(h.boxes.Boxes.empty(), h.boxes.Boxes.empty() ? "" : h.boxes.Boxes[0].Text.c_str());
    const QString path = QDir::current().filePath(name.contains(QLatin1Char('.')) ? name : name + ".xlsx");
    QVERIFY2(savedShown && savedLine.contains(path), qPrintable(savedLine));
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    if (path.endsWith(QStringLiteral(".csv"))) {
        // Sorted by the verdict, as shown; the paths as they were given.
        const QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[0], QString::fromUtf8("файл,итог,ходы,наименьшее,подробности"));
        QCOMPARE(lines[1], files[1] + QString::fromUtf8(",решено,10,10,Наименьшее число переливаний."));
        QVERIFY2(lines[5].startsWith(files[4] + QString::fromUtf8(",не читается,")), qPrintable(lines[5]));
        return;
    }
    QCOMPARE(bytes.left(2), QByteArray("PK"));
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, QStringLiteral("xl/sharedStrings.xml")});
    QVERIFY(unzip.waitForFinished(kModalWaitMs));
    const QString strings = QString::fromUtf8(unzip.readAllStandardOutput());
    QVERIFY2(strings.contains(QString::fromUtf8("Проверка записей: задача 12,7,5/12,0,0/6; ")), qPrintable(strings));
    QVERIFY(strings.contains(files[1]));
}

QTEST_MAIN(TestRecordCheck)
#include "tst_record_check.moc"
