// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "replay_window.h"

#include "appearance.h"
#include "background_work.h"
#include "game_palette.h"
#include "map_view.h"
#include "placement.h"
#include "replay_rows_model.h"
#include "result_file_chooser.h"
#include "task_code.h"
#include "vessel_picture.h"
#include "wording.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <stdexcept>

namespace {

// The pictures where the main form has them, on a shelf of their own: the
// same sizes, so a level sits where it would in the game.
const QRect kPictures[] = {{16, 8, 105, 145}, {160, 48, 81, 105}, {280, 80, 65, 73}};
const QRect kShelf{0, 153, 377, 2};
const QSize kStage{377, 160};

const QColor kProblem(176, 0, 0);

QString Text(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// "решено, 10 переливаний. Наименьшее число переливаний."
QString VerdictText(const RecordCheck &check)
{
    QString text = QString::fromUtf8(VerdictWord(check.Result));
    if (check.Pours)
        text += QStringLiteral(", ") + Text(PourCount(*check.Pours));
    return text + QStringLiteral(". ") + Text(check.Detail);
}

QLabel *Line(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void Colour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

} // namespace

ReplayWindow::ReplayWindow(const TaskPreset &task, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint)
    , m_task(task)
{
    setObjectName(QStringLiteral("ReplayWindow"));
    setWindowTitle(QString::fromUtf8(kCaptionReplay));
    setWindowIcon(AppIcon());
    setFont(UiFont(8));

    auto *layout = new QVBoxLayout(this);
    BuildTop();

    auto *middle = new QSplitter(this);
    middle->setChildrenCollapsible(false);
    m_saves = new QListWidget(middle);
    m_saves->setObjectName(QStringLiteral("Saves"));
    m_saves->setAccessibleName(QStringLiteral("Сохранения"));
    m_rows = new QTableView(middle);
    m_rows->setObjectName(QStringLiteral("Rows"));
    m_rows->setAccessibleName(QStringLiteral("Строки сохранения"));
    m_model = new ReplayRowsModel(m_rows);
    m_rows->setModel(m_model);
    m_rows->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_rows->setSelectionMode(QAbstractItemView::SingleSelection);
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rows->verticalHeader()->hide();
    m_rows->verticalHeader()->setDefaultSectionSize(m_rows->fontMetrics().height() + 4);
    m_rows->horizontalHeader()->setStretchLastSection(true);
    m_rows->setWordWrap(false);
    m_rows->installEventFilter(this);
    middle->addWidget(m_saves);
    middle->addWidget(m_rows);
    middle->addWidget(BuildStage());
    m_map = new MapView(middle);
    m_map->setObjectName(QStringLiteral("ReplayMap"));
    m_map->setAccessibleName(QStringLiteral("Карта переливаний"));
    m_map->setMinimumWidth(QFontMetrics(font()).averageCharWidth() * 40);
    middle->addWidget(m_map);
    middle->setStretchFactor(0, 0);
    middle->setStretchFactor(1, 1);
    middle->setStretchFactor(2, 0);
    middle->setStretchFactor(3, 1);
    layout->addWidget(middle, 1);
    BuildButtons();

    connect(m_saves, &QListWidget::currentRowChanged, this, [this](int index) { ShowSave(index); });
    connect(m_rows->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex &current) { ShowRow(current.row()); });

    ShowTaskCode();
    m_scaled.AddFont(this);
    const QFontMetrics metrics(font());
    // Room for the map beside the rows, within the screen.
    resize(std::min(metrics.averageCharWidth() * 220, screen()->availableGeometry().width() * 9 / 10),
        metrics.height() * 34);
    // The rows with their checker's words before the list of saves; the map
    // what is left.
    middle->setSizes({width() / 6, width() * 2 / 5, kStage.width(), width() / 4});
    UseGamePalette(this);
    KeepOnScreen(this);
}

void ReplayWindow::BuildTop()
{
    auto *layout = static_cast<QVBoxLayout *>(this->layout());
    m_file = Line(this, "FileLine");
    layout->addWidget(m_file);

    auto *taskRow = new QHBoxLayout;
    auto *label = new QLabel(QStringLiteral("&Задача:"), this);
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("TaskCode"));
    m_code->setAccessibleName(QStringLiteral("Код задачи"));
    label->setBuddy(m_code);
    auto *apply = new QPushButton(QStringLiteral("&Проверить по этой задаче"), this);
    apply->setObjectName(QStringLiteral("BtnTask"));
    apply->setAutoDefault(false);
    connect(apply, &QPushButton::clicked, this, [this] { ApplyTypedTask(); });
    connect(m_code, &QLineEdit::returnPressed, this, [this] { ApplyTypedTask(); });
    taskRow->addWidget(label);
    taskRow->addWidget(m_code, 1);
    taskRow->addWidget(apply);
    layout->addLayout(taskRow);

    m_verdict = Line(this, "Verdict");
    layout->addWidget(m_verdict);
}

QWidget *ReplayWindow::BuildStage()
{
    auto *panel = new QWidget(this);
    // As wide as the vessels: the table takes what the window has to spare.
    panel->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto *layout = new QVBoxLayout(panel);
    auto *stage = new QWidget(panel);
    stage->setObjectName(QStringLiteral("Stage"));
    stage->setFixedSize(kStage);
    for (int n = 1; n <= 3; ++n) {
        auto *picture = new VesselPicture(QStringLiteral("ReplayImage%1").arg(n), n, kPictures[n - 1], stage);
        m_vessels[static_cast<std::size_t>(n - 1)] = picture;
        m_scaled.Add(picture);
    }
    auto *shelf = new QWidget(stage);
    shelf->setGeometry(kShelf);
    shelf->setAutoFillBackground(true);
    QPalette palette = shelf->palette();
    palette.setColor(QPalette::Window, Qt::black);
    shelf->setPalette(palette);
    m_scaled.Add(shelf);
    m_scaled.Add(stage);
    layout->addWidget(stage, 0, Qt::AlignHCenter);

    m_caption = Line(panel, "RowCaption");
    m_note = Line(panel, "RowNote");
    m_saveVerdict = Line(panel, "SaveVerdict");
    layout->addWidget(m_caption);
    layout->addWidget(m_note);
    layout->addWidget(m_saveVerdict);
    layout->addStretch(1);
    return panel;
}

void ReplayWindow::BuildButtons()
{
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *open = buttons->addButton(QStringLiteral("&Открыть…"), QDialogButtonBox::ActionRole);
    open->setObjectName(QStringLiteral("BtnOpen"));
    open->setAutoDefault(false);
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("BtnClose"));
    close->setText(QStringLiteral("Закрыть"));
    // Enter belongs to the task's code and the rows, never to closing.
    close->setAutoDefault(false);
    connect(open, &QPushButton::clicked, this, [this] { ChooseFile(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout()->addWidget(buttons);
}

void ReplayWindow::showEvent(QShowEvent *event)
{
    m_scaled.FollowFormScale();
    QDialog::showEvent(event);
}

void ReplayWindow::ShowTaskCode()
{
    m_code->setText(Text(TaskCode(m_task)));
}

void ReplayWindow::Open(const QString &path)
{
    m_path = path;
    m_file->setText(QStringLiteral("Файл: %1").arg(QDir::toNativeSeparators(path)));
    Load();
}

void ReplayWindow::Open(const QString &path, const TaskPreset &task)
{
    m_task = task;
    ShowTaskCode();
    Open(path);
}

void ReplayWindow::SetTask(const TaskPreset &task)
{
    m_task = task;
    ShowTaskCode();
    if (!m_path.isEmpty())
        Load();
}

void ReplayWindow::ApplyTypedTask()
{
    try {
        SetTask(ParseTaskCode(m_code->text().toStdString()));
    } catch (const std::invalid_argument &e) {
        m_verdict->setText(Text(e.what()) + QLatin1Char('.'));
        Colour(m_verdict, kProblem);
    }
}

void ReplayWindow::ChooseFile()
{
    QString folder = m_path.isEmpty() ? QString() : QFileInfo(m_path).absolutePath();
    const QStringList chosen
        = ChooseResultFiles(this, QString::fromUtf8(kCaptionReplay), QStringLiteral("Открыть"), folder, false);
    if (!chosen.isEmpty())
        Open(chosen.front());
}

void ReplayWindow::Load()
{
    if (m_loading) {
        m_loadAgain = true;
        return;
    }
    m_verdict->setText(QStringLiteral("Файл читается…"));
    Colour(m_verdict, GamePalette().color(QPalette::WindowText));
    auto replay = std::make_shared<Replay>();
    auto map = std::make_shared<std::shared_ptr<const PourMap>>();
    const std::string path = QFile::encodeName(m_path).toStdString();
    const TaskPreset task = m_task;
    m_loading = new BackgroundWork(
        [replay, map, path, task] {
            try {
                // A large task's map takes a moment too: made here, beside the file.
                *map = std::make_shared<const PourMap>(task);
                *replay = ReplayFile(path, task);
            } catch (const std::exception &e) {
                // The reader's own part of the game missing, or memory: said
                // as why the file cannot be read.
                *replay = Replay{};
                replay->Task = task;
                replay->Problem = e.what();
                replay->Verdict.Detail = e.what();
            }
        },
        this);
    connect(m_loading, &BackgroundWork::Finished, this, [this, replay, map] {
        m_loading->deleteLater();
        m_loading = nullptr;
        if (m_loadAgain) {
            m_loadAgain = false;
            Load();
            return;
        }
        Loaded(replay, *map);
    });
    m_loading->Start();
}

void ReplayWindow::Loaded(std::shared_ptr<Replay> replay, std::shared_ptr<const PourMap> map)
{
    m_model->Show(nullptr);
    m_replay = std::move(replay);
    m_pourMap = std::move(map);
    m_save = -1;
    m_row = -1;
    const Replay &r = *m_replay;
    if (!r.Problem.empty()) {
        m_verdict->setText(QStringLiteral("Файл не читается: ") + Text(r.Problem));
        Colour(m_verdict, kProblem);
    } else {
        m_verdict->setText(QStringLiteral("Итог файла: ") + VerdictText(r.Verdict));
        Colour(m_verdict, GamePalette().color(QPalette::WindowText));
    }
    const QSignalBlocker quiet(m_saves);
    m_saves->clear();
    for (std::size_t s = 0; s < r.Saves.size(); ++s) {
        const ReplaySave &save = r.Saves[s];
        QString item = Text(save.Name) + QStringLiteral(" — ") + QString::fromUtf8(VerdictWord(save.Check.Result));
        if (save.Check.Pours)
            item += QStringLiteral(", ") + Text(PourCount(*save.Check.Pours));
        if (r.Graded && *r.Graded == s)
            item += QStringLiteral(" (итог файла)");
        m_saves->addItem(item);
    }
    // Room for the longest name, up to a fifth of the window.
    const int wanted = m_saves->sizeHintForColumn(0) + 2 * m_saves->frameWidth()
        + m_saves->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_saves->setMinimumWidth(std::min(wanted, width() / 5));
    if (!r.Saves.empty()) {
        const int first = r.Graded ? static_cast<int>(*r.Graded) : 0;
        m_saves->setCurrentRow(first);
        ShowSave(first);
        m_rows->setFocus();
    } else {
        m_caption->clear();
        m_note->clear();
        m_saveVerdict->clear();
        for (VesselPicture *vessel : m_vessels)
            vessel->Draw(0, 0);
        ShowPath(-1);
    }
}

void ReplayWindow::ShowPath(int row)
{
    if (!m_pourMap) {
        m_map->Show(nullptr, {});
        m_map->setAccessibleDescription(QString());
        return;
    }
    std::vector<std::optional<MapLevels>> rows;
    if (m_replay && m_save >= 0) {
        const ReplaySave &save = m_replay->Saves[static_cast<std::size_t>(m_save)];
        for (int r = 0; r <= row; ++r)
            rows.push_back(save.Rows[static_cast<std::size_t>(r)].Step.Levels);
    }
    MapScene scene;
    scene.Player = MapPath(*m_pourMap, rows);
    m_map->Show(m_pourMap, std::move(scene));
    m_map->setAccessibleDescription(
        QString::fromStdString(MapDescription(*m_pourMap, rows, false, false)));
}

void ReplayWindow::ShowSave(int index)
{
    if (!m_replay || index < 0 || index >= static_cast<int>(m_replay->Saves.size()) || index == m_save)
        return;
    m_save = index;
    m_row = -1;
    const ReplaySave &save = m_replay->Saves[static_cast<std::size_t>(index)];
    m_model->Show(&save);
    m_rows->resizeColumnsToContents();
    m_saveVerdict->setText(Text(save.Name) + QStringLiteral(": ") + VerdictText(save.Check));
    if (m_saves->currentRow() != index) {
        const QSignalBlocker quiet(m_saves);
        m_saves->setCurrentRow(index);
    }
    if (!save.Rows.empty())
        ShowRow(0);
    else {
        m_caption->setText(QStringLiteral("В сохранении нет ни одной строки."));
        m_note->clear();
        ShowPath(-1);
    }
}

void ReplayWindow::ShowRow(int row)
{
    if (!m_replay || m_save < 0)
        return;
    const ReplaySave &save = m_replay->Saves[static_cast<std::size_t>(m_save)];
    if (row < 0 || row >= static_cast<int>(save.Rows.size()))
        return;
    if (m_rows->currentIndex().row() != row) {
        const QSignalBlocker quiet(m_rows->selectionModel());
        const QModelIndex index = m_model->index(row, 0);
        m_rows->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_rows->scrollTo(index);
    }
    if (row == m_row)
        return;
    m_row = row;
    const auto r = static_cast<std::size_t>(row);
    const ReplayRow &shown = save.Rows[r];
    const std::array<int, 3> levels = ShownLevels(shown);
    for (std::size_t n = 0; n < 3; ++n)
        m_vessels[n]->Draw(m_task.Capacity[n], levels[n]);

    QString caption = QStringLiteral("Ход %1 из %2, подпись «%3»")
                          .arg(row)
                          .arg(save.Rows.size() - 1)
                          .arg(Text(Shortened(shown.Caption)));
    if (shown.Step.Pour)
        caption
            += QStringLiteral(": из сосуда %1 в сосуд %2").arg(shown.Step.Pour->Source).arg(shown.Step.Pour->Receiver);
    m_caption->setText(caption + QLatin1Char('.'));
    m_note->setText(ReplayRowsModel::Note(save, r));
    Colour(m_note, ReplayRowsModel::Wrong(save, r) ? kProblem : GamePalette().color(QPalette::WindowText));

    ShowPath(row);
}

bool ReplayWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Home and End go to the first and the last row; Left and Right step,
    // where a table would move between its columns, and so do Page Up and
    // Page Down, the keys a presenter's remote sends, where a table would
    // turn a page.
    if (watched == m_rows && event->type() == QEvent::KeyPress && m_replay && m_save >= 0) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const int last = static_cast<int>(m_replay->Saves[static_cast<std::size_t>(m_save)].Rows.size()) - 1;
        switch (key->key()) {
        case Qt::Key_Home:
            ShowRow(0);
            return true;
        case Qt::Key_End:
            ShowRow(last);
            return true;
        case Qt::Key_Left:
        case Qt::Key_PageUp:
            ShowRow(std::max(0, m_row - 1));
            return true;
        case Qt::Key_Right:
        case Qt::Key_PageDown:
            ShowRow(std::min(last, m_row + 1));
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
