// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "record_check_dialog.h"

#include "appearance.h"
#include "check_report.h"
#include "class_files.h"
#include "form_scale.h"
#include "game_palette.h"
#include "placement.h"
#include "record_check.h"
#include "replay_window.h"
#include "table_text.h"
#include "task_code.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace {

constexpr int kResortMs = 300;
constexpr int kFileIndex = Qt::UserRole + 1;

// The game's Russian order of names, for the window's thread only.
const QCollator &Collator()
{
    static const QCollator collator = NameCollator();
    return collator;
}

// A cell that sorts by its key: counts as numbers (an empty one first),
// verdicts from "решено" to "не читается", texts as a person reads them
// ("ученик 2" before "ученик 10"). A text's key is made at its first sort,
// and once: rows come faster than keys are made.
class SortItem final : public QTableWidgetItem {
public:
    SortItem(const QString &text, int key)
        : QTableWidgetItem(text)
        , m_number(key)
    {
        setFlags(flags() & ~Qt::ItemIsEditable);
    }
    SortItem(const QString &text, const QString &key)
        : QTableWidgetItem(text)
        , m_byText(true)
        , m_key(key)
    {
        setFlags(flags() & ~Qt::ItemIsEditable);
    }

    bool operator<(const QTableWidgetItem &other) const override
    {
        const auto &theirs = static_cast<const SortItem &>(other);
        if (m_byText && theirs.m_byText)
            return TextKey().compare(theirs.TextKey()) < 0;
        return m_number < theirs.m_number;
    }

private:
    const QCollatorSortKey &TextKey() const
    {
        if (!m_sortKey)
            m_sortKey = Collator().sortKey(m_key);
        return *m_sortKey;
    }

    int m_number = 0;
    bool m_byText = false;
    QString m_key;
    mutable std::optional<QCollatorSortKey> m_sortKey;
};

QString FromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

QString Count(const std::optional<int> &n)
{
    return n ? QString::number(*n) : QString();
}

// A tooltip shows exactly the text: as rich text with everything escaped,
// so that a name like "<img src=...>" stays a name.
QString Tip(const QString &text)
{
    return QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped());
}

// The last part of a path as given, "7а/ivanova.xml" -> "ivanova.xml".
std::string FileName(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos || path.size() == 1 ? path : path.substr(slash + 1);
}

QLabel *MakeLine(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString TaskLine(const RecordChecker &checker)
{
    const auto fewest = [&](std::size_t n) {
        const std::optional<int> pours = checker.Fewest(n);
        return pours ? QString::fromUtf8("наименьшее число переливаний — %1").arg(*pours)
                     : QString::fromUtf8("решить ее нельзя");
    };
    if (checker.TaskCount() == 1) {
        const QString task = QString::fromUtf8("Задача ") + FromUtf8(TaskCode(checker.Task()));
        if (const std::optional<int> pours = checker.Fewest())
            return task + QString::fromUtf8(". Наименьшее число переливаний — %1.").arg(*pours);
        return task + QString::fromUtf8(": решить ее нельзя.");
    }
    QStringList tasks;
    for (std::size_t n = 0; n < checker.TaskCount(); ++n)
        tasks << FromUtf8(TaskCode(checker.Task(n))) + QStringLiteral(" (") + fewest(n) + QLatin1Char(')');
    return QString::fromUtf8("Варианты: ") + tasks.join(QStringLiteral("; ")) + QLatin1Char('.');
}

} // namespace

RecordCheckDialog::RecordCheckDialog(const RecordChecker &checker, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("RecordCheckDialog"));
    setWindowTitle(QString::fromUtf8(kCaptionCheckRecords));
    setWindowIcon(AppIcon());
    setFont(UiFont(8));
    // Before anything is laid out: the table's rows and the window's size
    // are measured in this font.
    FollowFormScale(this);
    if (checker.TaskCount() > 1) {
        for (std::size_t n = 0; n < checker.TaskCount(); ++n)
            m_codes.push_back(TaskCode(checker.Task(n)));
    }
    for (std::size_t n = 0; n < checker.TaskCount(); ++n)
        m_tasks.push_back(checker.Task(n));

    new QVBoxLayout(this);
    AddTaskLine(checker);
    AddTable();
    AddProgress();
    AddButtons();
    FitToScreen();
    UseGamePalette(this);
    KeepOnScreen(this);
}

void RecordCheckDialog::AddTaskLine(const RecordChecker &checker)
{
    layout()->addWidget(MakeLine("TaskLine", TaskLine(checker), this));
}

void RecordCheckDialog::AddTable()
{
    QStringList headings{QString::fromUtf8("Файл")};
    if (!m_codes.empty())
        headings << QString::fromUtf8("Задача");
    headings << QString::fromUtf8("Итог") << QString::fromUtf8("Ходы") << QString::fromUtf8("Наименьшее")
             << QString::fromUtf8("Подробности");
    m_table = new QTableWidget(0, static_cast<int>(headings.size()), this);
    m_table->setObjectName(QStringLiteral("RecordTable"));
    SetUpReadOnlyTable(*m_table, headings);
    m_table->setWordWrap(false);
    QHeaderView *header = m_table->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) { SortBy(column); });
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { ReplayRow(row); });
    m_table->resizeColumnsToContents();
    header->setStretchLastSection(true);
    static_cast<QVBoxLayout *>(layout())->addWidget(m_table, 1);
    m_summary = MakeLine("Summary", QString(), this);
    layout()->addWidget(m_summary);
    m_saved = MakeLine("SavedLine", QString(), this);
    m_saved->hide();
    layout()->addWidget(m_saved);
}

void RecordCheckDialog::AddProgress()
{
    auto *row = new QHBoxLayout;
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("CheckProgress"));
    m_progress->setRange(0, 0); // until the files are counted
    m_progress->setFormat(QString::fromUtf8("Проверено %v из %m"));
    m_progress->setTextVisible(true);
    m_stop = new QPushButton(QString::fromUtf8("Остановить"), this);
    m_stop->setObjectName(QStringLiteral("BtnStop"));
    connect(m_stop, &QPushButton::clicked, this, [this] {
        m_stop->setEnabled(false);
        emit StopAsked();
    });
    row->addWidget(m_progress, 1);
    row->addWidget(m_stop);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
}

void RecordCheckDialog::AddButtons()
{
    QDialogButtonBox *buttons = CopyAndCloseButtons(this, *m_table);
    m_save = buttons->addButton(QString::fromUtf8("Сохранить таблицу…"), QDialogButtonBox::ActionRole);
    m_save->setObjectName(QStringLiteral("BtnSaveTable"));
    m_save->setEnabled(false);
    connect(m_save, &QPushButton::clicked, this, &RecordCheckDialog::SaveAsked);
    layout()->addWidget(buttons);
}

// As wide as the table wants and as high as its rows, between five and
// twenty of them, up to most of the screen: all in the font's own units, so
// a larger font gets a larger window.
void RecordCheckDialog::FitToScreen()
{
    const int frame = m_table->frameWidth() * 2;
    const QMargins margins = layout()->contentsMargins();
    int width = frame + margins.left() + margins.right();
    for (int column = 0; column < m_table->columnCount(); ++column)
        width += m_table->columnWidth(column);
    const int known = std::max(m_progress->maximum(), m_table->rowCount());
    const int rows = std::clamp(known, 5, 20);
    const int tableHeight = frame + m_table->horizontalHeader()->sizeHint().height()
        + rows * m_table->verticalHeader()->defaultSectionSize();
    const int height = sizeHint().height() - m_table->sizeHint().height() + tableHeight;
    const QRect available = screen()->availableGeometry();
    resize(std::min(std::max(width, fontMetrics().averageCharWidth() * 60), available.width() * 9 / 10),
           std::min(height, available.height() * 9 / 10));
}

void RecordCheckDialog::SetTotal(int files)
{
    m_progress->setRange(0, files);
    m_progress->setValue(0);
    FitToScreen();
    KeepOnScreen(this);
}

void RecordCheckDialog::SetRow(int row, const CheckedFile &file)
{
    const RecordCheck &check = file.Check;
    int column = 0;
    const std::string name = FileName(file.Path);
    auto *item = new SortItem(FromUtf8(TabField(name)), QFile::decodeName(name.c_str()));
    item->setToolTip(Tip(FromUtf8(TabField(file.Path))));
    item->setData(kFileIndex, static_cast<int>(m_files.size() - 1));
    m_table->setItem(row, column++, item);
    if (!m_codes.empty()) {
        const QString code = check.Task ? FromUtf8(m_codes[*check.Task]) : QString();
        m_table->setItem(row, column++, new SortItem(code, code));
    }
    m_table->setItem(row, column++,
                     new SortItem(QString::fromUtf8(VerdictWord(check.Result)), static_cast<int>(check.Result)));
    for (const std::optional<int> &count : {check.Pours, check.Fewest}) {
        auto *cell = new SortItem(Count(count), count.value_or(-1));
        cell->setTextAlignment(Qt::AlignCenter);
        m_table->setItem(row, column++, cell);
    }
    const QString detail = FromUtf8(TabField(check.Detail));
    auto *cell = new SortItem(detail, detail);
    cell->setToolTip(Tip(detail));
    m_table->setItem(row, column, cell);
}

void RecordCheckDialog::AddFiles(const std::vector<CheckedFile> &files)
{
    m_table->setUpdatesEnabled(false);
    int row = m_table->rowCount();
    m_table->setRowCount(row + static_cast<int>(files.size()));
    for (const CheckedFile &file : files) {
        m_files.push_back(file);
        m_solved += file.Check.Result == Verdict::Solved ? 1 : 0;
        SetRow(row++, m_files.back());
    }
    // Sorted again now and then while rows come: a sort of thousands of
    // rows for every few of them would keep the window busy.
    if (m_sortColumn >= 0 && !m_resortDue) {
        m_resortDue = true;
        QTimer::singleShot(kResortMs, this, [this] {
            m_resortDue = false;
            Resort();
        });
    }
    m_table->setUpdatesEnabled(true);
    m_progress->setValue(static_cast<int>(m_files.size()));
    m_summary->setText(QString::fromUtf8("Решено: %1 из %2.").arg(m_solved).arg(m_files.size()));
    if (!m_fitted) {
        // Measured on the first rows only: later ones would cost a look at
        // every row, and the window would jump as they come.
        m_fitted = true;
        m_table->resizeColumnsToContents();
        FitToScreen();
        KeepOnScreen(this);
    }
}

void RecordCheckDialog::Finish(bool stopped)
{
    m_finished = true;
    m_summary->setText(QString::fromUtf8("Решено: %1 из %2.").arg(m_solved).arg(m_files.size()));
    if (stopped) {
        m_summary->setText(m_summary->text()
                           + QString::fromUtf8(" Проверка остановлена: проверено %1 из %2.")
                                 .arg(m_files.size())
                                 .arg(std::max<qsizetype>(m_progress->maximum(), m_files.size())));
    }
    m_progress->hide();
    m_stop->hide();
    m_save->setEnabled(true);
    Resort();
}

void RecordCheckDialog::Resort()
{
    if (m_sortColumn >= 0)
        m_table->sortItems(m_sortColumn, m_sortOrder);
}

void RecordCheckDialog::SortBy(int column)
{
    m_sortOrder = column == m_sortColumn && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                              : Qt::AscendingOrder;
    m_sortColumn = column;
    QHeaderView *header = m_table->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, m_sortOrder);
    Resort();
}

QString RecordCheckDialog::TableText() const
{
    return TableAsText(*m_table);
}

std::vector<CheckedFile> RecordCheckDialog::FilesAsShown() const
{
    std::vector<CheckedFile> files;
    files.reserve(m_files.size());
    for (int row = 0; row < m_table->rowCount(); ++row)
        files.push_back(m_files[static_cast<std::size_t>(m_table->item(row, 0)->data(kFileIndex).toInt())]);
    return files;
}

void RecordCheckDialog::ReplayRow(int row)
{
    const QTableWidgetItem *item = m_table->item(row, 0);
    if (!item)
        return;
    const CheckedFile &file = m_files[static_cast<std::size_t>(item->data(kFileIndex).toInt())];
    const TaskPreset &task = m_tasks[file.Check.Task.value_or(0)];
    // A window of this one's: the check is modal, and its own windows are
    // the ones that can be used beside it.
    if (!m_replay)
        m_replay = new ReplayWindow(task, this);
    m_replay->Open(QFile::decodeName(file.Path.c_str()), task);
    m_replay->show();
    m_replay->raise();
    m_replay->activateWindow();
}

ReplayWindow *RecordCheckDialog::Replay() const
{
    return m_replay;
}

void RecordCheckDialog::SayTableSaved(const QString &path)
{
    m_saved->setText(QString::fromUtf8("Таблица записана в файл %1.").arg(path));
    m_saved->show();
}
