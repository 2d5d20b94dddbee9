// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "record_check_dialog.h"

#include "appearance.h"
#include "check_report.h"
#include "form_scale.h"
#include "game_palette.h"
#include "placement.h"
#include "record_check.h"
#include "table_text.h"
#include "task_code.h"

#include <QCollator>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

enum Column { kFile, kVerdict, kPours, kFewest, kDetail, kColumnCount };

constexpr int kSortKey = Qt::UserRole;

// A cell that sorts by its key: counts as numbers (an empty one first),
// verdicts from "решено" to "не читается", texts as a person reads them
// ("ученик 2" before "ученик 10").
class SortItem final : public QTableWidgetItem {
public:
    SortItem(const QString &text, const QVariant &key)
        : QTableWidgetItem(text)
    {
        setData(kSortKey, key);
        setFlags(flags() & ~Qt::ItemIsEditable);
    }

    bool operator<(const QTableWidgetItem &other) const override
    {
        const QVariant mine = data(kSortKey);
        const QVariant theirs = other.data(kSortKey);
        if (mine.typeId() == QMetaType::QString)
            return Collator().compare(mine.toString(), theirs.toString()) < 0;
        return mine.toInt() < theirs.toInt();
    }

private:
    static const QCollator &Collator()
    {
        static const QCollator collator = [] {
            QCollator c{QLocale(QLocale::Russian, QLocale::Russia)};
            c.setNumericMode(true);
            c.setCaseSensitivity(Qt::CaseInsensitive);
            return c;
        }();
        return collator;
    }
};

struct WaitCursor {
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

QString FromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

QString Count(const std::optional<int> &n)
{
    return n ? QString::number(*n) : QString();
}

QLabel *MakeLine(const char *name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    return label;
}

QString TaskLine(const RecordChecker &checker)
{
    const QString task = QString::fromUtf8("Задача ") + FromUtf8(TaskCode(checker.Task()));
    if (const std::optional<int> fewest = checker.Fewest())
        return task + QString::fromUtf8(". Наименьшее число переливаний — %1.").arg(*fewest);
    return task + QString::fromUtf8(": решить ее нельзя.");
}

} // namespace

RecordCheckDialog::RecordCheckDialog(const TaskPreset &task, const QStringList &files, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("RecordCheckDialog"));
    setWindowTitle(QString::fromUtf8(kCaptionCheckRecords));
    setWindowIcon(AppIcon());
    setFont(UiFont(8));
    // Before anything is laid out: the table's rows and the window's size
    // are measured in this font.
    FollowFormScale(this);

    const RecordChecker checker(task);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(MakeLine("TaskLine", TaskLine(checker), this));

    m_table = new QTableWidget(static_cast<int>(files.size()), kColumnCount, this);
    m_table->setObjectName(QStringLiteral("RecordTable"));
    SetUpReadOnlyTable(*m_table, {"Файл", "Итог", "Ходы", "Наименьшее", "Подробности"});
    m_table->setWordWrap(false);

    int solved = 0;
    {
        // Reading a class's files takes a moment.
        const WaitCursor wait;
        for (int row = 0; row < files.size(); ++row) {
            const QString &path = files[static_cast<qsizetype>(row)];
            const RecordCheck check = checker.CheckFile(QFile::encodeName(path).toStdString());
            solved += check.Result == Verdict::Solved ? 1 : 0;
            const QString name = QFileInfo(path).fileName();
            auto *file = new SortItem(FromUtf8(TabField(QFile::encodeName(name).toStdString())), name);
            file->setToolTip(QDir::toNativeSeparators(path));
            m_table->setItem(row, kFile, file);
            const QString verdict = QString::fromUtf8(VerdictWord(check.Result));
            m_table->setItem(row, kVerdict, new SortItem(verdict, static_cast<int>(check.Result)));
            m_table->setItem(row, kPours, new SortItem(Count(check.Pours), check.Pours.value_or(-1)));
            m_table->setItem(row, kFewest, new SortItem(Count(check.Fewest), check.Fewest.value_or(-1)));
            auto *detail = new SortItem(FromUtf8(TabField(check.Detail)), FromUtf8(check.Detail));
            detail->setToolTip(FromUtf8(check.Detail));
            m_table->setItem(row, kDetail, detail);
            for (const int column : {kPours, kFewest})
                m_table->item(row, column)->setTextAlignment(Qt::AlignCenter);
        }
    }

    QHeaderView *header = m_table->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    connect(header, &QHeaderView::sectionClicked, this, [this](int column) { SortBy(column); });
    m_table->resizeColumnsToContents();
    header->setStretchLastSection(true);
    layout->addWidget(m_table, 1);

    layout->addWidget(MakeLine("Summary",
                               QString::fromUtf8("Решено: %1 из %2.").arg(solved).arg(files.size()), this));

    layout->addWidget(CopyAndCloseButtons(this, *m_table));

    // As wide as the table wants and as high as its rows, between five and
    // twenty of them, up to most of the screen: all in the font's own units,
    // so a larger font gets a larger window.
    const int frame = m_table->frameWidth() * 2;
    int width = frame + layout->contentsMargins().left() + layout->contentsMargins().right();
    for (int column = 0; column < kColumnCount; ++column)
        width += m_table->columnWidth(column);
    const int rows = std::clamp(static_cast<int>(files.size()), 5, 20);
    const int tableHeight = frame + header->sizeHint().height() + rows * m_table->verticalHeader()->defaultSectionSize();
    const int height = sizeHint().height() - m_table->sizeHint().height() + tableHeight;
    const QRect available = screen()->availableGeometry();
    resize(std::min(std::max(width, fontMetrics().averageCharWidth() * 60), available.width() * 9 / 10),
           std::min(height, available.height() * 9 / 10));
    UseGamePalette(this);
    KeepOnScreen(this);
}

void RecordCheckDialog::SortBy(int column)
{
    m_sortOrder = column == m_sortColumn && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                              : Qt::AscendingOrder;
    m_sortColumn = column;
    QHeaderView *header = m_table->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, m_sortOrder);
    m_table->sortItems(column, m_sortOrder);
}

QString RecordCheckDialog::TableText() const
{
    return TableAsText(*m_table);
}
