// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "book_dialog.h"

#include "appearance.h"
#include "enter_key.h"
#include "form_scale.h"
#include "game_palette.h"
#include "placement.h"
#include "task_book.h"
#include "task_code.h"
#include "wording.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { ColNumber, ColTitle, ColVessels, ColPoured, ColTarget, ColFewest, ColBest, ColStars, ColumnCount };

const char *const kHeadings[ColumnCount] = {"№", "Задача", "Сосуды", "Налито", "Цель", "Минимум", "Лучший", "Звезды"};
// Without answers the last column says only whether a task is solved.
const char *const kSolvedHeading = "Итог";
const char *const kSolved = "решена";
const char *const kUnsolved = "не решена";
// What a screen reader says for a heading that is short on screen.
const char *const kSpokenHeadings[ColumnCount] = {"Номер",  "Задача", "Объемы сосудов", "Налито",
                                                  "Цель",   "Наименьшее число переливаний",
                                                  "Ваш лучший результат", "Звезды"};

constexpr int kIndexRole = Qt::UserRole;

bool IsHeading(const QTreeWidgetItem *item)
{
    return item->data(0, kIndexRole).toInt() < 0;
}

QString Three(const std::array<std::int32_t, 3> &values)
{
    return QStringLiteral("%1, %2, %3").arg(values[0]).arg(values[1]).arg(values[2]);
}

QString HelpWith(const HelpUsed &help)
{
    if (help.Hint && help.Solution)
        return QString::fromUtf8("подсказка, решение");
    return QString::fromUtf8(help.Hint ? "подсказка" : "решение");
}

} // namespace

BookDialog::BookDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("BookDialog"));
    setWindowTitle(QString::fromUtf8("Сборник задач"));
    setWindowIcon(AppIcon());
    setFont(UiFont(8));

    BuildList();
    AddTasks();
    BuildDetails();
    QDialogButtonBox *buttons = BuildButtons();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_statement);
    layout->addWidget(m_score);
    layout->addWidget(buttons);

    m_scaled.AddFont(this);
    FitToText();
    UseGamePalette(this);
    KeepOnScreen(this);
    Select(0);
}

void BookDialog::BuildList()
{
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("BookList"));
    m_list->setAccessibleName(QString::fromUtf8("Задачи сборника"));
    m_list->setColumnCount(ColumnCount);
    auto *heading = new QTreeWidgetItem;
    for (int c = 0; c < ColumnCount; ++c) {
        heading->setText(c, QString::fromUtf8(kHeadings[c]));
        heading->setData(c, Qt::AccessibleTextRole, QString::fromUtf8(kSpokenHeadings[c]));
    }
    m_list->setHeaderItem(heading);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(ColTitle, QHeaderView::Stretch);
    m_list->setColumnHidden(ColFewest, !m_answers);
    m_list->setColumnHidden(ColBest, !m_answers);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this] { ShowStatement(); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (item->data(0, kIndexRole).toInt() >= 0)
            accept();
    });
}

// Each level a heading, its tasks below it; without answers no headings,
// for a level is a band of fewest counts.
void BookDialog::AddTasks()
{
    m_list->clear();
    m_items.clear();
    m_levels.clear();
    QTreeWidgetItem *heading = m_list->headerItem();
    const char *last = m_answers ? kHeadings[ColStars] : kSolvedHeading;
    heading->setText(ColStars, QString::fromUtf8(last));
    heading->setData(ColStars, Qt::AccessibleTextRole, QString::fromUtf8(m_answers ? kSpokenHeadings[ColStars] : last));

    const auto book = TaskBook();
    QTreeWidgetItem *level = nullptr;
    int levelNumber = 0;
    for (std::size_t i = 0; i < book.size(); ++i) {
        const BookTask &task = book[i];
        if (m_answers && LevelOf(task.Fewest) != levelNumber) {
            levelNumber = LevelOf(task.Fewest);
            level = new QTreeWidgetItem(m_list);
            level->setText(0, QString::fromUtf8(Band(levelNumber).Name) + QString::fromUtf8(" — ")
                                  + QString::fromStdString(BandText(levelNumber)));
            level->setData(0, kIndexRole, -1);
            m_levels.push_back(level);
            level->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
        auto *item = level ? new QTreeWidgetItem(level) : new QTreeWidgetItem(m_list);
        item->setData(0, kIndexRole, static_cast<int>(i));
        item->setText(ColNumber, QString::number(i + 1));
        item->setText(ColTitle, QString::fromUtf8(task.Title));
        item->setText(ColVessels, Three(task.Task.Capacity));
        item->setText(ColPoured, Three(task.Task.Level));
        item->setText(ColTarget, QString::number(task.Task.Target));
        if (m_answers)
            item->setText(ColFewest, QString::number(task.Fewest));
        for (const int c : {ColNumber, ColVessels, ColPoured, ColTarget, ColFewest, ColBest, ColStars})
            item->setTextAlignment(c, Qt::AlignCenter);
        m_items.push_back(item);
    }
    m_list->expandAll();
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        QTreeWidgetItem *top = m_list->topLevelItem(row);
        if (IsHeading(top))
            top->setFirstColumnSpanned(true);
    }
}

// The statement of the selected task and the player's best in it.
void BookDialog::BuildDetails()
{
    m_statement = new QLabel(this);
    m_statement->setObjectName(QStringLiteral("BookStatement"));
    m_statement->setWordWrap(true);
    m_statement->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_score = new QLabel(this);
    m_score->setObjectName(QStringLiteral("BookScore"));
    m_score->setWordWrap(true);
    // Reachable by Tab, so that a screen reader reads them.
    for (QLabel *label : {m_statement, m_score}) {
        label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        label->setFocusPolicy(Qt::StrongFocus);
    }
}

QDialogButtonBox *BookDialog::BuildButtons()
{
    auto *buttons = new QDialogButtonBox(this);
    m_start = buttons->addButton(QString::fromUtf8("Начать"), QDialogButtonBox::AcceptRole);
    m_start->setObjectName(QStringLiteral("BtnStart"));
    m_start->setDefault(true);
    QPushButton *next = buttons->addButton(QString::fromUtf8("Следующая нерешенная"), QDialogButtonBox::ActionRole);
    next->setObjectName(QStringLiteral("BtnNextUnsolved"));
    next->setAutoDefault(false);
    connect(next, &QPushButton::clicked, this, &BookDialog::SelectNextUnsolved);
    QPushButton *close = buttons->addButton(QString::fromUtf8("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("BtnClose"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Chosen() >= 0)
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

// Sized from the text, so that a larger font makes a larger window.
void BookDialog::FitToText()
{
    QFont bold = font();
    bold.setBold(true);
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        QTreeWidgetItem *top = m_list->topLevelItem(row);
        if (IsHeading(top))
            top->setFont(0, bold);
    }
    for (int c = 0; c < ColumnCount; ++c)
        m_list->resizeColumnToContents(c);
    const QFontMetrics metrics(font());
    const int x = metrics.horizontalAdvance(QLatin1Char('x'));
    m_statement->setMinimumHeight(metrics.lineSpacing() * 3);
    resize(x * 120, metrics.lineSpacing() * 44);
}

void BookDialog::setVisible(bool visible)
{
    if (visible) {
        if (m_scaled.FollowFormScale())
            FitToText();
    }
    QDialog::setVisible(visible);
}

void BookDialog::ShowScores(const BestOf &best)
{
    m_best = best;
    const auto book = TaskBook();
    for (std::size_t i = 0; i < book.size(); ++i) {
        QTreeWidgetItem *item = m_items[i];
        const std::optional<Score> score = best(TaskCode(book[i].Task));
        if (!m_answers) {
            const QString solved = QString::fromUtf8(score ? kSolved : kUnsolved);
            item->setText(ColStars, solved);
            item->setData(ColStars, Qt::AccessibleTextRole, solved);
            continue;
        }
        if (!score) {
            item->setText(ColBest, QString());
            item->setText(ColStars, QString());
            item->setData(ColStars, Qt::AccessibleTextRole, QString::fromUtf8(kUnsolved));
            continue;
        }
        item->setText(ColBest, QString::number(score->Pours));
        if (score->Help.Any()) {
            item->setText(ColStars, HelpWith(score->Help));
            item->setData(ColStars, Qt::AccessibleTextRole, QString::fromUtf8("без звезд: ") + HelpWith(score->Help));
        } else {
            const int stars = ::Stars(*score, book[i].Fewest);
            item->setText(ColStars, QString::fromStdString(StarGlyphs(stars)));
            item->setData(ColStars, Qt::AccessibleTextRole, QString::fromStdString(StarWords(stars)));
        }
    }
    m_list->resizeColumnToContents(ColStars);
    ShowProgress();
    ShowStatement();
}

// Each level's heading: its band, and how much of it the player has won.
void BookDialog::ShowProgress()
{
    for (std::size_t i = 0; i < m_levels.size(); ++i) {
        const int level = static_cast<int>(i) + 1;
        QString text = QString::fromUtf8(Band(level).Name) + QString::fromUtf8(" — ")
            + QString::fromStdString(BandText(level));
        if (m_best)
            text += QString::fromUtf8(": ") + QString::fromStdString(ProgressText(ProgressOf(level, m_best), !m_answers));
        m_levels[i]->setText(0, text);
    }
}

void BookDialog::SelectNextUnsolved()
{
    if (!m_best)
        return;
    const int next = NextUnsolved(Chosen(), m_best);
    if (next >= 0)
        Select(next);
}

int BookDialog::Chosen() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    return item ? item->data(0, kIndexRole).toInt() : -1;
}

void BookDialog::Select(int index)
{
    QTreeWidgetItem *item = m_items[static_cast<std::size_t>(index)];
    m_list->setCurrentItem(item);
    m_list->scrollToItem(item);
    // The first of a level with its level's heading in view.
    if (item->parent() && item->parent()->indexOfChild(item) == 0)
        m_list->scrollToItem(item->parent());
    m_list->setFocus();
}

void BookDialog::ShowAnswers(bool answers)
{
    if (answers == m_answers)
        return;
    const int chosen = Chosen();
    m_answers = answers;
    m_list->setColumnHidden(ColFewest, !answers);
    m_list->setColumnHidden(ColBest, !answers);
    AddTasks();
    FitToText();
    Select(chosen >= 0 ? chosen : 0);
    if (m_best)
        ShowScores(m_best);
}

void BookDialog::ShowStatement()
{
    const int index = Chosen();
    m_start->setEnabled(index >= 0);
    if (index < 0) {
        m_statement->setText(QString::fromUtf8("Выберите задачу из списка."));
        m_score->clear();
        return;
    }
    const BookTask &task = TaskBook()[static_cast<std::size_t>(index)];
    QString code = QString::fromUtf8("Код задачи: %1.").arg(QString::fromStdString(TaskCode(task.Task)));
    if (m_answers)
        code += QString::fromUtf8(" Наименьшее число переливаний — %1.").arg(task.Fewest);
    m_statement->setText(QStringLiteral("<b>%1.</b> %2<br>%3")
                             .arg(QString::fromUtf8(task.Title).toHtmlEscaped(),
                                  QString::fromStdString(StatementOf(task)).toHtmlEscaped(), code));
    const std::optional<Score> score = m_best ? m_best(TaskCode(task.Task)) : std::nullopt;
    if (!score)
        m_score->setText(QString::fromUtf8("Эту задачу вы еще не решали."));
    else if (m_answers)
        m_score->setText(QString::fromStdString(BestText(*score, task.Fewest)));
    else
        m_score->setText(QString::fromUtf8("Эта задача решена."));
}

void BookDialog::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the focused button; elsewhere (the list, say) "Начать".
    if (QPushButton *button = ButtonForEnter(this, event)) {
        button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
