// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
// Worksheets as the teacher gets them: `sosudnik --worksheet` read back with
// poppler (every task whole on its page, its words and an empty table of the
// sheet's length; the key's answers against the solver, legal and shortest),
// what it refuses, and how it writes its files.
#include "console_run.h"
#include "pdf_text.h"
#include "window_harness.h"

#include "display_start.h"
#include "worksheet_command.h"
#include "worksheet_dialog.h"

#include "pour_map.h"
#include "solver.h"
#include "task_book.h"
#include "worksheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList Arguments(const QString &line)
{
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString FromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

// The headings of the tasks drawn on a page ("Задача 2. Компот"), without
// the note of a book task's number beside them.
QStringList Headings(const QString &page)
{
    QStringList headings;
    static const QRegularExpression heading(
        QStringLiteral("^(Задача \\d+\\. .*?)( задача \\d+ сборника)?$"), QRegularExpression::MultilineOption);
    for (auto it = heading.globalMatch(page); it.hasNext();)
        headings << it.next().captured(1);
    return headings;
}

// The row numbers of each table drawn on a page: the numbers after each "№".
std::vector<std::vector<int>> RowNumbers(const QString &page)
{
    std::vector<std::vector<int>> tables;
    bool inNumbers = false;
    for (const QString &word : page.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        bool number = false;
        const int n = word.toInt(&number);
        if (word == QStringLiteral("№")) {
            tables.emplace_back();
            inNumbers = true;
        } else if (inNumbers && number) {
            tables.back().push_back(n);
        } else {
            inNumbers = false;
        }
    }
    return tables;
}

ino_t Inode(const QString &path)
{
    struct stat st { };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

class TestWorksheet : public QObject {
    Q_OBJECT

private slots:
    void bookSheetReadsBack();
    void variantsAndTheirKey();
    void longAnswersGoOnInTheNextColumns();
    void keyDrawsEachTasksMap();
    void sameArgumentsSameText();
    void drawnSeedIsTold();
    void refused_data();
    void refused();
    void unwritable_data();
    void unwritable();
    void replacesOnlyByRename();
    void windowMakesTheSheet();
    void windowKeyApartAndVariants();
    void windowRefusesBadLists();
    void windowStopLeavesTheFile();
    void offInALesson();

private:
    // Opens the dialog from the menu of a window with the milk task in play.
    WorksheetDialog *Open(Harness &h);
    QTemporaryDir m_dir;
    QString Path(const QString &name) const { return m_dir.filePath(name); }
};

// Four book tasks, one a study without a story and one of the master
// level: every pupil's table has the 30 rows of that level, each task is
// whole on one page with its words, and the key after them answers each
// with the solver's count and a legal shortest solution.
void TestWorksheet::bookSheetReadsBack()
{
    const QString pdf = Path(QStringLiteral("book.pdf"));
    const Ran ran
        = RunCommand({QStringLiteral("--worksheet"), QStringLiteral("book=1,6,23,50"), QStringLiteral("-o"), pdf});
    QCOMPARE(ran.Status, 0);
    QCOMPARE(ran.Err, QString());
    QCOMPARE(ran.Out, QString());

    const Worksheet plan = PlanWorksheet(ReadWorksheetRequest({"book=1,6,23,50", {}, {}, {}}, 0));
    QCOMPARE(plan.Rows, 30);
    const QStringList pages = PdfPagesText(pdf);
    QVERIFY(pages.size() >= 3);

    int keyFrom = -1;
    QStringList seen;
    for (int p = 0; p < pages.size() && keyFrom < 0; ++p) {
        if (pages[p].contains(QStringLiteral("Ключ к листку"))) {
            keyFrom = p;
            break;
        }
        QVERIFY2(pages[p].contains(QStringLiteral("страница %1 из ").arg(p + 1)), qPrintable(pages[p]));
        const QStringList headings = Headings(pages[p]);
        const auto tables = RowNumbers(pages[p]);
        // Two halves of one table per task, never a heading without its
        // table or a table without its heading.
        QCOMPARE(static_cast<int>(tables.size()), 2 * headings.size());
        for (std::size_t t = 0; t < tables.size(); t += 2) {
            std::vector<int> rows = tables[t];
            rows.insert(rows.end(), tables[t + 1].begin(), tables[t + 1].end());
            QCOMPARE(static_cast<int>(rows.size()), plan.Rows);
            QCOMPARE(rows.front(), 1);
            QCOMPARE(rows.back(), plan.Rows);
        }
        for (const QString &heading : headings) {
            const int index = heading.section(QLatin1Char(' '), 1, 1).chopped(1).toInt();
            const SheetTask &task = plan.Variants[0].Tasks[static_cast<std::size_t>(index - 1)];
            QCOMPARE(heading, QStringLiteral("Задача %1. %2").arg(index).arg(FromUtf8(task.Title)));
            QVERIFY2(Flat(pages[p]).contains(FromUtf8(task.Statement)), qPrintable(FromUtf8(task.Statement)));
            seen << heading;
        }
    }
    QCOMPARE(seen.size(), 4);
    QVERIFY(keyFrom > 0);
    QVERIFY(Flat(pages[keyFrom]).contains(QStringLiteral("sosudnik --worksheet book=1,6,23,50 -o ФАЙЛ.pdf")));

    const std::vector<KeyAnswer> answers = KeyAnswers(pages.mid(keyFrom).join(QLatin1Char('\n')));
    QCOMPARE(answers.size(), std::size_t{4});
    for (std::size_t i = 0; i < answers.size(); ++i) {
        const SheetTask &task = plan.Variants[0].Tasks[i];
        QCOMPARE(FromUtf8(TaskCode(answers[i].Task)), FromUtf8(TaskCode(task.Task)));
        QCOMPARE(answers[i].Fewest, Solve(task.Task).Pours());
        QCOMPARE(answers[i].Fewest, TaskBook()[static_cast<std::size_t>(task.BookNumber - 1)].Fewest);
        QCOMPARE(static_cast<int>(answers[i].Pours.size()), answers[i].Fewest);
        QVERIFY2(SolvesTask(answers[i]), qPrintable(FromUtf8(TaskCode(task.Task))));
    }
}

// Variants of random tasks with the key in a file of its own: every page
// names its variant, each variant starts on a page of its own, the key
// lists each task's codes for --check and answers them all.
void TestWorksheet::variantsAndTheirKey()
{
    const QString sheetPdf = Path(QStringLiteral("variants.pdf"));
    const QString keyPdf = Path(QStringLiteral("variants-key.pdf"));
    const Ran ran = RunCommand(Arguments(QStringLiteral("--worksheet level=4 --count 3 --seed 11 --variants 5 -o ")
        + sheetPdf + QStringLiteral(" --key ") + keyPdf));
    QCOMPARE(ran.Status, 0);
    QCOMPARE(ran.Err, QString());
    const Worksheet plan = PlanWorksheet(ReadWorksheetRequest({"level=4", "3", "11", "5"}, 0));
    QCOMPARE(plan.Rows, 16);

    const QStringList pages = PdfPagesText(sheetPdf);
    int variant = 0;
    for (const QString &page : pages) {
        QVERIFY(!page.contains(QStringLiteral("Ключ к листку")));
        if (page.contains(QStringLiteral("Листок с задачами. Вариант %1").arg(variant + 1)))
            ++variant;
        QVERIFY2(page.contains(QStringLiteral("Вариант %1, страница ").arg(variant)), qPrintable(page));
        for (const QString &heading : Headings(page)) {
            const int index = heading.section(QLatin1Char(' '), 1, 1).chopped(1).toInt();
            const SheetTask &task
                = plan.Variants[static_cast<std::size_t>(variant - 1)].Tasks[static_cast<std::size_t>(index - 1)];
            QVERIFY2(Flat(page).contains(FromUtf8(task.Statement)), qPrintable(FromUtf8(task.Statement)));
        }
    }
    QCOMPARE(variant, 5);

    const QString key = PdfPagesText(keyPdf).join(QLatin1Char('\n'));
    QVERIFY(Flat(key).contains(QStringLiteral("--worksheet level=4 --count 3 --seed 11 --variants 5")));
    for (int t = 0; t < 3; ++t) {
        QStringList codes;
        for (const SheetVariant &v : plan.Variants)
            codes << FromUtf8(TaskCode(v.Tasks[static_cast<std::size_t>(t)].Task));
        // The codes of task t+1 for --check, in the order of the variants,
        // broken only after a "+".
        QVERIFY2(QString(key)
                     .remove(QLatin1Char('\n'))
                     .contains(QStringLiteral("Задача %1: ").arg(t + 1) + codes.join(QLatin1Char('+'))),
            qPrintable(codes.join(QLatin1Char('+'))));
    }
    const std::vector<KeyAnswer> answers = KeyAnswers(key);
    QCOMPARE(answers.size(), std::size_t{15});
    std::size_t i = 0;
    for (const SheetVariant &v : plan.Variants) {
        for (const SheetTask &task : v.Tasks) {
            const KeyAnswer &answer = answers[i++];
            QCOMPARE(FromUtf8(TaskCode(answer.Task)), FromUtf8(TaskCode(task.Task)));
            QCOMPARE(answer.Fewest, Solve(task.Task).Pours());
            QCOMPARE(LevelOf(answer.Fewest), 4);
            QVERIFY2(SolvesTask(answer), qPrintable(FromUtf8(TaskCode(task.Task))));
        }
    }
}

// A task of 997 pours: its key answer runs on over columns and pages, every
// pour once and in order, and nothing is drawn into the bottom margin.
void TestWorksheet::longAnswersGoOnInTheNextColumns()
{
    const QString pdf = Path(QStringLiteral("long.pdf"));
    QCOMPARE(RunCommand({QStringLiteral("--worksheet"), QStringLiteral("code=999,500,499/999,0,0/749+8,5,3/8,0,0/4"),
                            QStringLiteral("-o"), pdf})
                 .Status,
        0);
    const std::vector<PdfWord> words = PdfWords(pdf);
    QVERIFY(!words.empty());
    for (const PdfWord &word : words) {
        // 14 mm: the bottom margin.
        QVERIFY2(word.Bottom < word.PageHeight - 14 * 72 / 25.4,
            qPrintable(QStringLiteral("page %1: «%2» at %3").arg(word.Page).arg(word.Text).arg(word.Bottom)));
    }
    // The key's tables in the order they are drawn: the pour numbers under
    // each "№" after the key's title.
    const QStringList pages = PdfPagesText(pdf);
    int keyFrom = 0;
    while (keyFrom < pages.size() && !pages[keyFrom].contains(QStringLiteral("Ключ к листку")))
        ++keyFrom;
    std::vector<int> pours;
    for (int p = keyFrom; p < pages.size(); ++p) {
        for (const std::vector<int> &numbers : RowNumbers(pages[p]))
            pours.insert(pours.end(), numbers.begin(), numbers.end());
    }
    QCOMPARE(static_cast<int>(pours.size()), 997 + 6);
    for (int i = 0; i < 997; ++i)
        QCOMPARE(pours[static_cast<std::size_t>(i)], i + 1);
    QVERIFY(Flat(pages.mid(keyFrom).join(QLatin1Char(' ')))
                .contains(QStringLiteral("Задача 1. Сосуды 999, 500 и 499 (продолжение)")));
}

// Each answer in the key is followed by its task's map: the corners of that
// task's polygon named by their levels, as «Карта переливаний» names them.
void TestWorksheet::keyDrawsEachTasksMap()
{
    const QString pdf = Path(QStringLiteral("maps.pdf"));
    const QString codes = QStringLiteral("12,7,5/12,0,0/6+8,5,3/8,0,0/4+10,7,3/10,0,0/5");
    QCOMPARE(RunCommand({QStringLiteral("--worksheet"), QStringLiteral("code=") + codes, QStringLiteral("-o"), pdf})
                 .Status,
        0);
    const QString key = Flat(PdfPagesText(pdf).join(QLatin1Char(' ')));
    const QStringList tasks = codes.split(QLatin1Char('+'));
    for (qsizetype t = 0; t < tasks.size(); ++t) {
        const qsizetype from = key.indexOf(QStringLiteral("Код ") + tasks[t] + QLatin1Char('.'));
        QVERIFY2(from >= 0, qPrintable(tasks[t]));
        const qsizetype to = t + 1 < tasks.size() ? key.indexOf(QStringLiteral("Код ") + tasks[t + 1]) : key.size();
        const QString entry = key.mid(from, to - from);
        const PourMap map(ParseTaskCode(tasks[t].toStdString()));
        for (const MapLevels &corner : map.Corners()) {
            const QString label = QStringLiteral("%1, %2, %3").arg(corner[0]).arg(corner[1]).arg(corner[2]);
            QVERIFY2(entry.contains(label), qPrintable(tasks[t] + QStringLiteral(": ") + label));
        }
    }
}

void TestWorksheet::sameArgumentsSameText()
{
    const QStringList made = {Path(QStringLiteral("once.pdf")), Path(QStringLiteral("again.pdf"))};
    for (const QString &pdf : made) {
        QCOMPARE(RunCommand(Arguments(QStringLiteral("--worksheet level=2 --count 5 --seed 42 --variants 3 -o ") + pdf))
                     .Status,
            0);
    }
    const QStringList once = PdfPagesText(made[0]);
    QVERIFY(!once.isEmpty());
    QCOMPARE(PdfPagesText(made[1]), once);
}

// Without --seed a seed is drawn, told on stderr and printed in the key, so
// that a lost key can be made again.
void TestWorksheet::drawnSeedIsTold()
{
    const QString pdf = Path(QStringLiteral("drawn.pdf"));
    const Ran ran = RunCommand(Arguments(QStringLiteral("--worksheet level=1 -o ") + pdf));
    QCOMPARE(ran.Status, 0);
    CheckMessages(ran.Err);
    const QRegularExpressionMatch told
        = QRegularExpression(QStringLiteral("^sosudnik: задачи выбраны по числу --seed (\\d+): с этим числом "
                                            "получится тот же листок\\n$"))
              .match(ran.Err);
    QVERIFY2(told.hasMatch(), qPrintable(ran.Err));
    const QString key = Flat(PdfPagesText(pdf).join(QLatin1Char('\n')));
    QVERIFY(key.contains(QStringLiteral("--worksheet level=1 --count 4 --seed %1 -o ФАЙЛ.pdf").arg(told.captured(1))));

    // The same seed given makes the same tasks.
    const QString again = Path(QStringLiteral("again-drawn.pdf"));
    QCOMPARE(RunCommand(Arguments(QStringLiteral("--worksheet level=1 --seed ") + told.captured(1)
                            + QStringLiteral(" -o ") + again))
                 .Status,
        0);
    QCOMPARE(PdfPagesText(again), PdfPagesText(pdf));
}

void TestWorksheet::refused_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("err");

    QString twoHundred = QStringLiteral("book=1");
    for (int n = 1; n < 200; ++n)
        twoHundred += QStringLiteral(",%1").arg(1 + n % 50);
    QTest::newRow("200 tasks by count") << QStringLiteral("--worksheet level=3 --count 200 -o x.pdf")
                                        << QStringLiteral("число «200» для --count не годится: нужно целое от 1 до 20 "
                                                          "включительно");
    QTest::newRow("200 tasks in a list") << QStringLiteral("--worksheet %1 -o x.pdf").arg(twoHundred)
                                         << QStringLiteral(
                                                "в списке 200 задач, а на листке помещается не больше 20 задач");
    QTest::newRow("--variants 0") << QStringLiteral("--worksheet level=3 --variants 0 -o x.pdf")
                                  << QStringLiteral("число «0» для --variants не годится: нужно целое от 1 до 200 "
                                                    "включительно");
    QTest::newRow("--variants 10000") << QStringLiteral("--worksheet level=3 --variants 10000 -o x.pdf")
                                      << QStringLiteral("число «10000» для --variants не годится: нужно целое от 1 до "
                                                        "200 включительно");
    QTest::newRow("--variants with book=")
        << QStringLiteral("--worksheet book=1,2 --variants 3 -o x.pdf")
        << QStringLiteral("параметр --variants работает только с level=: варианты составляются из случайных задач");
    QTest::newRow("--variants with code=")
        << QStringLiteral("--worksheet code=8,5,3/8,0,0/4 --variants 3 -o x.pdf")
        << QStringLiteral("параметр --variants работает только с level=: варианты составляются из случайных задач");
    QTest::newRow("level 0") << QStringLiteral("--worksheet level=0 -o x.pdf")
                             << QStringLiteral("уровень «0» не годится: нужно число от 1 до 5 включительно");
    QTest::newRow("level 9") << QStringLiteral("--worksheet level=9 -o x.pdf")
                             << QStringLiteral("уровень «9» не годится: нужно число от 1 до 5 включительно");
    QTest::newRow("book list with a letter")
        << QStringLiteral("--worksheet book=1,a -o x.pdf")
        << QStringLiteral("в списке сборника «a» — не номер задачи: нужны номера от 1 до 50 через запятую");
    QTest::newRow("book number out of the book") << QStringLiteral(
        "--worksheet book=77 -o x.pdf") << QStringLiteral("задачи «77» в сборнике нет: номера от 1 до 50 включительно");
    QTest::newRow("code list with a gap") << QStringLiteral("--worksheet code=8,5,3/8,0,0/4+ -o x.pdf")
                                          << QStringLiteral("в списке кодов пустое место: коды пишутся через плюс");
    QTest::newRow("malformed code")
        << QStringLiteral("--worksheet code=8,5/8,0,0/4 -o x.pdf")
        << QStringLiteral("код задачи «8,5/8,0,0/4» не разобрать: нужен вид C1,C2,C3/L1,L2,L3/T, например "
                          "12,7,5/12,0,0/6 — задача о молоке");
    QTest::newRow("what unknown") << QStringLiteral("--worksheet levels=3 -o x.pdf")
                                  << QStringLiteral("листок «levels=3» не разобрать: пишется book=номера через "
                                                    "запятую, code=коды через плюс или level=уровень");
    QTest::newRow("no what") << QStringLiteral("--worksheet")
                             << QStringLiteral("после --worksheet нужно, из каких задач составить листок");
    QTest::newRow("no -o") << QStringLiteral("--worksheet book=1")
                           << QStringLiteral("листок записывается в файл: нужен параметр -o с именем файла");
    QTest::newRow("key is the sheet") << QStringLiteral("--worksheet book=1 -o x.pdf --key ./x.pdf")
                                      << QStringLiteral("листок и ключ нельзя записать в один и тот же файл");
    QTest::newRow("-o alone") << QStringLiteral("-o x.pdf")
                              << QStringLiteral("параметр --output работает только с --map или --worksheet");
    QTest::newRow("--variants alone") << QStringLiteral("--variants 3")
                                      << QStringLiteral("параметр --variants работает только с --worksheet");
    QTest::newRow("with --solve") << QStringLiteral("--worksheet book=1 -o x.pdf --solve 8,5,3/8,0,0/4")
                                  << QStringLiteral("параметры --solve и --worksheet вместе не работают");
    QTest::newRow("extra operand") << QStringLiteral("--worksheet book=1 -o x.pdf 8,5,3/8,0,0/4")
                                   << QStringLiteral("аргумент «8,5,3/8,0,0/4» лишний");
}

// Status 2, the reason in Russian on stderr, and no file.
void TestWorksheet::refused()
{
    QFETCH(QString, line);
    QFETCH(QString, err);
    const QString before = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    const Ran ran = RunCommand(Arguments(line));
    QDir::setCurrent(before);
    QCOMPARE(ran.Status, kExitBadTask);
    QCOMPARE(ran.Err.section(QLatin1Char('\n'), 0, 0), QStringLiteral("sosudnik: ") + err);
    CheckMessages(ran.Err);
    QVERIFY(!QFile::exists(Path(QStringLiteral("x.pdf"))));
}

void TestWorksheet::unwritable_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("err");
    QTest::newRow("no such folder") << QStringLiteral("nowhere/x.pdf") << QString()
                                    << QStringLiteral("файл \"%1/nowhere/x.pdf\" не записан: папки, в которой он "
                                                      "должен быть, нет");
    QTest::newRow("a folder by that name") << QStringLiteral("folder") << QString()
                                           << QStringLiteral("файл \"%1/folder\" не записан: под этим именем папка");
    QTest::newRow("the key's folder missing")
        << QStringLiteral("fine.pdf") << QStringLiteral("nowhere/key.pdf")
        << QStringLiteral("файл \"%1/nowhere/key.pdf\" не записан: папки, в которой он должен быть, нет");
}

// Status 4 and the reason, as with a full disk for standard output.
void TestWorksheet::unwritable()
{
    QFETCH(QString, sheet);
    QFETCH(QString, key);
    QFETCH(QString, err);
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder")));
    QStringList arguments
        = {QStringLiteral("--worksheet"), QStringLiteral("book=2"), QStringLiteral("-o"), Path(sheet)};
    if (!key.isEmpty())
        arguments << QStringLiteral("--key") << Path(key);
    const Ran ran = RunCommand(arguments);
    QCOMPARE(ran.Status, kExitOutputFailed);
    QCOMPARE(ran.Err, QStringLiteral("sosudnik: ") + err.arg(m_dir.path()) + QLatin1Char('\n'));
    QVERIFY(QFileInfo(Path(QStringLiteral("folder"))).isDir());
}

// An existing file is replaced whole by a rename: another name for the old
// file keeps the old bytes, and no temporary file is left behind.
void TestWorksheet::replacesOnlyByRename()
{
    const QString pdf = Path(QStringLiteral("replaced.pdf"));
    const QString other = Path(QStringLiteral("other-name.pdf"));
    QFile old(pdf);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("the old sheet");
    old.close();
    QVERIFY(::link(QFile::encodeName(pdf).constData(), QFile::encodeName(other).constData()) == 0);
    const ino_t before = Inode(pdf);

    QCOMPARE(
        RunCommand({QStringLiteral("--worksheet"), QStringLiteral("book=3"), QStringLiteral("-o"), pdf}).Status, 0);
    QVERIFY(Inode(pdf) != before);
    QCOMPARE(PdfPages(pdf), 2);
    QFile kept(other);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("the old sheet"));
    const QStringList left
        = QDir(m_dir.path()).entryList({QStringLiteral("replaced.pdf.*")}, QDir::Files | QDir::Hidden);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
}

WorksheetDialog *TestWorksheet::Open(Harness &h)
{
    h.window.StartTaskCode("12,7,5/12,0,0/6");
    h.Action("MnuWorksheet")->trigger();
    WorksheetDialog *dialog = h.window.Worksheet().Dialog();
    return dialog && QTest::qWaitForWindowExposed(dialog) ? dialog : nullptr;
}

template <class W> W *Child(QWidget *dialog, const char *name)
{
    W *w = dialog->findChild<W *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no %s in the dialog", name);
    return w;
}

QString Status(QWidget *dialog)
{
    return Child<QLabel>(dialog, "Status")->text();
}

// The menu entry offers the task in play; "Сохранить…" asks where, makes the
// sheet beside the running game, and says what it wrote. The game is left
// as it was.
void TestWorksheet::windowMakesTheSheet()
{
    Harness h;
    WorksheetDialog *dialog = Open(h);
    QVERIFY(dialog);
    QCOMPARE(Child<QLineEdit>(dialog, "Codes")->text(), QStringLiteral("12,7,5/12,0,0/6"));
    QVERIFY(Child<QRadioButton>(dialog, "FromCodes")->isChecked());
    const GameSnapshot before = TakeSnapshot(h);

    const QString pdf = Path(QStringLiteral("window.pdf"));
    QStringList asked;
    dialog->SetChooser([&](const QString &caption, const QString &) {
        asked << caption;
        return pdf;
    });
    QTest::mouseClick(Child<QPushButton>(dialog, "BtnMake"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->Making(), 30000);
    QCOMPARE(asked, QStringList{QStringLiteral("Куда записать листок")});
    QCOMPARE(Status(dialog), QStringLiteral("Листок записан: «%1», 1 страница, и ключ в конце: 1 страница.").arg(pdf));
    QCOMPARE(PdfPages(pdf), 2);
    const QString text = Flat(PdfPagesText(pdf).join(QLatin1Char(' ')));
    QVERIFY(text.contains(QStringLiteral("Задача 1. Задача о молоке")));
    QVERIFY(text.contains(QStringLiteral("Код 12,7,5/12,0,0/6. Наименьшее число переливаний: 10.")));
    QVERIFY(TakeSnapshot(h) == before);
}

void TestWorksheet::windowKeyApartAndVariants()
{
    Harness h;
    WorksheetDialog *dialog = Open(h);
    QVERIFY(dialog);
    QTest::mouseClick(Child<QRadioButton>(dialog, "Random"), Qt::LeftButton);
    Child<QComboBox>(dialog, "Level")->setCurrentIndex(0);
    Child<QSpinBox>(dialog, "Count")->setValue(2);
    Child<QSpinBox>(dialog, "Variants")->setValue(3);
    Child<QLineEdit>(dialog, "Seed")->setText(QStringLiteral("5"));
    Child<QCheckBox>(dialog, "KeyApart")->setChecked(true);
    QStringList files = {Path(QStringLiteral("sheet-apart.pdf")), Path(QStringLiteral("key-apart.pdf"))};
    dialog->SetChooser([&](const QString &, const QString &) { return files.takeFirst(); });
    QTest::mouseClick(Child<QPushButton>(dialog, "BtnMake"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->Making(), 30000);
    QVERIFY(files.isEmpty());
    QVERIFY2(Status(dialog).endsWith(QStringLiteral("Задачи выбраны по числу 5.")), qPrintable(Status(dialog)));
    QVERIFY(Status(dialog).contains(QStringLiteral("; ключ: «%1», ").arg(Path(QStringLiteral("key-apart.pdf")))));

    // The same as the command line makes from the same numbers.
    const QString line = Path(QStringLiteral("line.pdf"));
    const QString lineKey = Path(QStringLiteral("line-key.pdf"));
    QCOMPARE(RunCommand(Arguments(QStringLiteral("--worksheet level=1 --count 2 --variants 3 --seed 5 -o ") + line
                            + QStringLiteral(" --key ") + lineKey))
                 .Status,
        0);
    QCOMPARE(PdfPagesText(Path(QStringLiteral("sheet-apart.pdf"))), PdfPagesText(line));
    QCOMPARE(PdfPagesText(Path(QStringLiteral("key-apart.pdf"))), PdfPagesText(lineKey));
}

// A list that cannot be read says why in the dialog, and no file is asked for.
void TestWorksheet::windowRefusesBadLists()
{
    Harness h;
    WorksheetDialog *dialog = Open(h);
    QVERIFY(dialog);
    bool asked = false;
    dialog->SetChooser([&](const QString &, const QString &) {
        asked = true;
        return QString();
    });
    QTest::mouseClick(Child<QRadioButton>(dialog, "FromBook"), Qt::LeftButton);
    QTest::keyClicks(Child<QLineEdit>(dialog, "BookNumbers"), QStringLiteral("1,,2"));
    QTest::mouseClick(Child<QPushButton>(dialog, "BtnMake"), Qt::LeftButton);
    QCOMPARE(Status(dialog), QStringLiteral("В списке номеров сборника пустое место: номера пишутся через запятую."));
    QTest::mouseClick(Child<QRadioButton>(dialog, "FromCodes"), Qt::LeftButton);
    Child<QLineEdit>(dialog, "Codes")->setText(QStringLiteral("12,7,5/12,0,0"));
    QTest::mouseClick(Child<QPushButton>(dialog, "BtnMake"), Qt::LeftButton);
    QVERIFY2(Status(dialog).startsWith(QStringLiteral("Код задачи «12,7,5/12,0,0» не разобрать")),
        qPrintable(Status(dialog)));
    QVERIFY(!asked);
    QVERIFY(!dialog->Making());
}

// "Остановить" while a large sheet is made: the file asked for keeps its bytes.
void TestWorksheet::windowStopLeavesTheFile()
{
    Harness h;
    WorksheetDialog *dialog = Open(h);
    QVERIFY(dialog);
    const QString pdf = Path(QStringLiteral("stopped.pdf"));
    QFile old(pdf);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("kept");
    old.close();
    QTest::mouseClick(Child<QRadioButton>(dialog, "Random"), Qt::LeftButton);
    Child<QComboBox>(dialog, "Level")->setCurrentIndex(4);
    Child<QSpinBox>(dialog, "Count")->setValue(kMaxSheetTasks);
    Child<QSpinBox>(dialog, "Variants")->setValue(kMaxVariants);
    dialog->SetChooser([&](const QString &, const QString &) { return pdf; });
    QTest::mouseClick(Child<QPushButton>(dialog, "BtnMake"), Qt::LeftButton);
    QVERIFY(dialog->Making());
    QVERIFY(!Child<QPushButton>(dialog, "BtnMake")->isEnabled());
    QTest::mouseClick(Child<QPushButton>(dialog, "BtnStop"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->Making(), 30000);
    QCOMPARE(Status(dialog), QStringLiteral("Остановлено: файлы не изменились."));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("kept"));
    QVERIFY(Child<QPushButton>(dialog, "BtnMake")->isEnabled());
}

// A key answers every task: in a lesson the entry is off, and says so.
void TestWorksheet::offInALesson()
{
    Harness h;
    Argv argv({QStringLiteral("--lesson"), QStringLiteral("12,7,5/12,0,0/6")});
    StartFromArguments(h.window, ReadCommandLine(argv.Count(), argv.Values()));
    QAction *entry = h.Action("MnuWorksheet");
    QVERIFY(!entry->isEnabled());
    QCOMPARE(entry->toolTip(), QStringLiteral("На этом уроке отключено"));
    entry->trigger();
    QVERIFY(!h.window.Worksheet().Dialog());
}

QTEST_MAIN(TestWorksheet)
#include "tst_worksheet.moc"
