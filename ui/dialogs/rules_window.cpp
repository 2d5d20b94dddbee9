// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "rules_window.h"

#include "answer_rule.h"
#include "appearance.h"
#include "game_palette.h"
#include "placement.h"
#include "scores_file.h"
#include "task_book.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// The rules in parts: a lesson leaves out what would give answers away
// (the solver's commands, the levels' bands and the stars, the command
// line) and says where the pupil's work goes instead.
const char *const kRulesGame = R"(
<h2>Как играть</h2>
<p>Есть три сосуда, в каждом указан объем, и в них налито сколько-то жидкости. Жидкость переливают из
одного сосуда в другой. Переливание идет, пока первый сосуд не опустеет или второй не наполнится:
отмерить «на глаз» нельзя. Задача решена, когда после переливания нужный уровень окажется в сосуде,
из которого льют, или в сосуде, в который льют. Третий сосуд и начальное положение не считаются.</p>

<h3>Мышью</h3>
<p>Во время игры перетащите картинку сосуда, из которого переливаете, на картинку сосуда, в который
переливаете, и отпустите кнопку мыши.</p>

<h3>С клавиатуры</h3>
<p>Нажмите цифру сосуда, из которого переливать (1, 2 или 3, в верхнем ряду или на цифровой
клавиатуре): его картинка обводится рамкой. Затем нажмите цифру сосуда, в который переливать. Та же
цифра еще раз или Esc снимает выбор. Enter нажимает кнопку, на которой стоит фокус; Tab переходит
между полями и кнопками. F10 открывает первое меню; буквы меню действуют и при латинской раскладке
(Alt+B открывает меню «Игра»).</p>

<h3>Меню</h3>
<ul>
<li><b>Данные → Новые</b> — ввести свою задачу: объемы сосудов, уровни и нужный уровень (целые числа
от 0 до 999), затем нажать «Начать переливание».</li>
<li><b>Задачи</b> — две задачи с картинками: о молоке и о квасе.</li>
<li><b>Игра → Назад</b> (Ctrl+Z) — отменить последнее переливание; <b>Вперед</b> (Ctrl+Shift+Z или
Ctrl+Y) — вернуть отмененное; <b>Начать заново</b> — вернуться к началу задачи, отмененное можно
вернуть по одному переливанию.</li>
)";

const char *const kRulesSave = R"(
<li><b>Игра → Запись результата</b> (Ctrl+S) — записать таблицу ходов в файл sosudnik.xml в текущем
каталоге; <b>Записать как…</b> (Ctrl+Shift+S) — записать то же в файл, который вы выберете;
<b>Перелить</b> — все шесть переливаний списком.</li>
<li><b>Игра → Подсказка</b> (Ctrl+H), <b>Решение</b> (Ctrl+R), <b>Проверить задачу</b> (Ctrl+T) — что
говорит о задаче решатель: следующее переливание, кратчайшее решение, можно ли решить задачу.</li>
<li><b>Игра → Карта переливаний</b> (Ctrl+M) — все положения задачи на одной картинке и ваш путь по ним;
окно можно держать открытым рядом с игрой.</li>
<li><b>Игра → Сборник задач</b> — задачи по уровням; <b>Случайная задача</b> — новая задача выбранного
уровня; <b>Копировать код задачи</b> и <b>Ввести код задачи</b> — поделиться задачей или сыграть чужую;
<b>Листок с задачами</b> — листок для печати (PDF) с рисунками сосудов, таблицами переливаний и ключом.</li>
<li><b>Игра → Проверить записи</b> — итоги сохраненных файлов учеников по задаче; <b>Просмотр записи</b> —
файл ученика сохранение за сохранением и ход за ходом.</li>
<li><b>Игра → Рекорды</b> — все решенные задачи: лучший результат, звезды и дата; кнопка «Сыграть»
начинает выбранную.</li>
<li><b>Игра → Анимация переливания</b> — жидкость переливается плавно, за пятую долю секунды.</li>
)";

const char *const kRulesLessonSave = R"(
<li><b>Игра → Запись результата</b> (Ctrl+S) — записать таблицу ходов в ваш файл: он назван вашими
фамилией и именем и лежит в папке урока. Ходы записываются туда и сами: когда задача решена, перед
новой задачей и при закрытии окна. <b>Перелить</b> — все шесть переливаний списком.</li>
<li><b>Игра → Подсказка</b>, <b>Решение</b>, <b>Проверить задачу</b>, <b>Проверить записи</b>,
<b>Просмотр записи</b> и <b>Листок с задачами</b> на этом уроке отключены.</li>
<li><b>Игра → Сборник задач</b> — задачи сборника, решенные отмечены; <b>Случайная задача</b> — новая
задача выбранного уровня; <b>Копировать код задачи</b> и <b>Ввести код задачи</b> — поделиться задачей
или сыграть чужую.</li>
<li><b>Игра → Рекорды</b> — все решенные задачи: лучший результат и дата; кнопка «Сыграть» начинает
выбранную.</li>
<li><b>Игра → Анимация переливания</b> — жидкость переливается плавно, за пятую долю секунды.</li>
)";

const char *const kRulesHelp = R"(
<li><b>Игра → Как играть</b> (F1) — это окно.</li>
</ul>
)";

const char *const kRulesLevels = R"(
<h3>Уровни и звезды</h3>
<p>Трудность задачи — наименьшее число переливаний, за которое ее можно решить: %1.</p>
<p>Каждая победа записывается: код задачи, ваше число переливаний и дата. В сборнике видно лучшее по
каждой задаче. Три звезды — за наименьшее число переливаний, две — если вышло не больше чем на два
больше, одна — за любую победу. Если в этой игре вы открывали «Подсказку» или «Решение», звезд нет, и
сборник это показывает. После победы окно «Задача решена» предлагает следующую задачу или еще
одну попытку; «Начать заново» — тоже новая попытка, в которой снова можно получить звезды. Записи
хранятся в файле %2.</p>
)";

const char *const kRulesCode = R"(
<h3>Код задачи</h3>
<p>Задача записывается как C1,C2,C3/L1,L2,L3/T: объемы трех сосудов, уровни в них и нужный уровень,
например 12,7,5/12,0,0/6 — задача о молоке.</p>
)";

const char *const kRulesCommandLine = R"(
<h3>Командная строка</h3>
<ul>
<li><code>sosudnik 12,7,5/12,0,0/6</code> — игра сразу с этой задачей.</li>
<li><code>sosudnik --solve КОД</code> — кратчайшее решение без окна.</li>
<li><code>sosudnik --book</code> — сборник задач, по задаче в строке.</li>
<li><code>sosudnik --generate УРОВЕНЬ [--seed N]</code> — новая задача уровня от 1 до 5; с одним и тем
же N она та же самая.</li>
<li><code>sosudnik --worksheet level=3 --count 6 -o листок.pdf</code> — листок с задачами и ключ к нему.</li>
<li><code>sosudnik --help</code> — все параметры.</li>
</ul>
)";

QString Bands()
{
    QStringList bands;
    for (int level = 1; level <= kLevelCount; ++level)
        bands << QString::fromUtf8("«%1» — %2")
                     .arg(QString::fromUtf8(Band(level).Name), QString::fromStdString(BandText(level)));
    return bands.join(QStringLiteral(", "));
}

} // namespace

void RulesWindow::FitToText()
{
    const QFontMetrics metrics(m_text->font());
    resize(metrics.horizontalAdvance(QLatin1Char('x')) * 90, metrics.lineSpacing() * 36);
}

void RulesWindow::setVisible(bool visible)
{
    if (visible) {
        ShowText();
        if (m_scaled.FollowFormScale())
            FitToText();
    }
    QDialog::setVisible(visible);
}

QString RulesWindow::Text(bool answers)
{
    if (!answers)
        return QString::fromUtf8(kRulesGame) + QString::fromUtf8(kRulesLessonSave) + QString::fromUtf8(kRulesHelp)
            + QString::fromUtf8(kRulesCode);
    return QString::fromUtf8(kRulesGame) + QString::fromUtf8(kRulesSave) + QString::fromUtf8(kRulesHelp)
        + QString::fromUtf8(kRulesLevels).arg(Bands(), ScoresFile::Path().toHtmlEscaped())
        + QString::fromUtf8(kRulesCode) + QString::fromUtf8(kRulesCommandLine);
}

void RulesWindow::ShowText()
{
    const bool answers = m_answers.ShowsAnswers();
    if (m_shownWith == answers)
        return;
    m_shownWith = answers;
    m_text->setHtml(Text(answers));
}

RulesWindow::RulesWindow(const AnswerRule &answers, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_answers(answers)
{
    setObjectName(QStringLiteral("RulesWindow"));
    setWindowTitle(QString::fromUtf8("Как играть"));
    setWindowIcon(AppIcon());
    setFont(UiFont(8));

    m_text = new QTextBrowser(this);
    m_text->setObjectName(QStringLiteral("RulesText"));
    m_text->setAccessibleName(QString::fromUtf8("Как играть"));
    m_text->setOpenLinks(false);
    m_text->setFont(UiFont(9));
    ShowText();
    connect(&m_answers, &AnswerRule::Changed, this, &RulesWindow::ShowText);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *close = buttons->button(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("BtnClose"));
    close->setText(QString::fromUtf8("Закрыть"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addWidget(buttons);

    m_scaled.AddFont(this);
    m_scaled.AddFont(m_text);
    FitToText();
    UseGamePalette(this);
    KeepOnScreen(this);
    m_text->setFocus();
}
