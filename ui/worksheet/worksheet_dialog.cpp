// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "worksheet_dialog.h"

#include "appearance.h"
#include "form_scale.h"
#include "game_palette.h"
#include "placement.h"
#include "task_book.h"
#include "wording.h"
#include "worksheet_job.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <random>
#include <stdexcept>

namespace {

// The window shows how far the painting is this often; the painting itself
// never waits for the window.
constexpr int kPollMs = 50;

QString Pages(int n)
{
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(RussianPlural(n, "страница", "страницы", "страниц")));
}

QString Shown(const std::string &path)
{
    return QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(path)));
}

template <class Widget> Widget *Named(Widget *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

WorksheetDialog::WorksheetDialog(const QString &taskCode, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("WorksheetDialog"));
    setWindowTitle(QString::fromUtf8(kCaptionWorksheet));
    setWindowIcon(AppIcon());
    setFont(UiFont(8));
    FollowFormScale(this);

    BuildSources();
    BuildActions();
    if (!taskCode.isEmpty()) {
        m_codes->setText(taskCode);
        m_fromCodes->setChecked(true);
    } else {
        m_random->setChecked(true);
    }
    m_poll = new QTimer(this);
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, [this] { ShowProgress(); });

    resize(std::max(sizeHint().width(), fontMetrics().averageCharWidth() * 80), sizeHint().height());
    UseGamePalette(this);
    KeepOnScreen(this);
}

WorksheetDialog::~WorksheetDialog() = default;

void WorksheetDialog::BuildSources()
{
    auto *layout = new QVBoxLayout(this);
    auto *box = Named(new QGroupBox(QStringLiteral("Задачи"), this), "Sources");
    m_sources = box;
    auto *grid = new QGridLayout(box);

    m_fromBook = Named(new QRadioButton(QStringLiteral("Из &сборника, номера:"), box), "FromBook");
    m_bookNumbers = Named(new QLineEdit(box), "BookNumbers");
    m_bookNumbers->setPlaceholderText(QStringLiteral("1, 5, 23"));
    m_bookNumbers->setAccessibleName(QStringLiteral("Номера задач сборника"));
    grid->addWidget(m_fromBook, 0, 0);
    grid->addWidget(m_bookNumbers, 0, 1, 1, 6);

    m_fromCodes = Named(new QRadioButton(QStringLiteral("По &кодам:"), box), "FromCodes");
    m_codes = Named(new QLineEdit(box), "Codes");
    m_codes->setPlaceholderText(QStringLiteral("12,7,5/12,0,0/6+8,5,3/8,0,0/4"));
    m_codes->setAccessibleName(QStringLiteral("Коды задач через плюс"));
    grid->addWidget(m_fromCodes, 1, 0);
    grid->addWidget(m_codes, 1, 1, 1, 6);

    m_random = Named(new QRadioButton(QStringLiteral("&Случайные, уровень:"), box), "Random");
    m_level = Named(new QComboBox(box), "Level");
    for (int level = 1; level <= kLevelCount; ++level)
        m_level->addItem(QString::fromUtf8(Band(level).Name));
    m_level->setCurrentIndex(1);
    m_level->setAccessibleName(QStringLiteral("Уровень"));
    m_count = Named(new QSpinBox(box), "Count");
    m_count->setRange(1, kMaxSheetTasks);
    m_count->setValue(kDefaultSheetTasks);
    m_variants = Named(new QSpinBox(box), "Variants");
    m_variants->setRange(1, kMaxVariants);
    m_seed = Named(new QLineEdit(box), "Seed");
    m_seed->setPlaceholderText(QStringLiteral("случайное"));
    const auto label = [box](const char *text, QWidget *buddy) {
        auto *l = new QLabel(QString::fromUtf8(text), box);
        l->setBuddy(buddy);
        buddy->setAccessibleName(QString::fromUtf8(text).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
        return l;
    };
    grid->addWidget(m_random, 2, 0);
    grid->addWidget(m_level, 2, 1);
    grid->addWidget(label("&задач:", m_count), 2, 2);
    grid->addWidget(m_count, 2, 3);
    grid->addWidget(label("&вариантов:", m_variants), 2, 4);
    grid->addWidget(m_variants, 2, 5);
    grid->addWidget(label("&число:", m_seed), 3, 2);
    grid->addWidget(m_seed, 3, 3, 1, 3);
    grid->setColumnStretch(1, 1);
    layout->addWidget(box);

    // Only the chosen kind's fields can be typed in.
    const auto follow = [this] {
        m_bookNumbers->setEnabled(m_fromBook->isChecked());
        m_codes->setEnabled(m_fromCodes->isChecked());
        for (QWidget *w : {static_cast<QWidget *>(m_level), static_cast<QWidget *>(m_count),
                 static_cast<QWidget *>(m_variants), static_cast<QWidget *>(m_seed)})
            w->setEnabled(m_random->isChecked());
    };
    for (QRadioButton *radio : {m_fromBook, m_fromCodes, m_random})
        connect(radio, &QRadioButton::toggled, this, follow);
}

void WorksheetDialog::BuildActions()
{
    auto *layout = static_cast<QVBoxLayout *>(this->layout());
    m_keyApart = Named(new QCheckBox(QStringLiteral("Ключ — &отдельным файлом"), this), "KeyApart");
    layout->addWidget(m_keyApart);
    m_progress = Named(new QProgressBar(this), "Progress");
    m_progress->setAccessibleName(QStringLiteral("Готово страниц"));
    m_progress->hide();
    layout->addWidget(m_progress);
    m_status = Named(new QLabel(this), "Status");
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_status);

    auto *buttons = new QDialogButtonBox(this);
    m_make = Named(buttons->addButton(QStringLiteral("Со&хранить…"), QDialogButtonBox::AcceptRole), "BtnMake");
    m_stop = Named(buttons->addButton(QStringLiteral("&Остановить"), QDialogButtonBox::ActionRole), "BtnStop");
    m_close = Named(buttons->addButton(QDialogButtonBox::Close), "BtnClose");
    m_close->setText(QStringLiteral("&Закрыть"));
    m_stop->hide();
    m_make->setDefault(true);
    connect(m_make, &QPushButton::clicked, this, [this] { Make(); });
    connect(m_stop, &QPushButton::clicked, this, [this] {
        if (m_job)
            m_job->Stop();
    });
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    layout->addWidget(buttons);
}

std::optional<WorksheetRequest> WorksheetDialog::Request()
{
    WorksheetArguments arguments;
    if (m_fromBook->isChecked()) {
        arguments.What = "book=" + m_bookNumbers->text().toStdString();
    } else if (m_fromCodes->isChecked()) {
        arguments.What = "code=" + m_codes->text().toStdString();
    } else {
        arguments.What = "level=" + std::to_string(m_level->currentIndex() + 1);
        arguments.Count = std::to_string(m_count->value());
        arguments.Variants = std::to_string(m_variants->value());
        if (!m_seed->text().trimmed().isEmpty())
            arguments.Seed = m_seed->text().trimmed().toStdString();
    }
    try {
        return ReadWorksheetRequest(arguments, std::random_device{}());
    } catch (const std::invalid_argument &e) {
        ShowStatus(QString::fromStdString(e.what()) + QLatin1Char('.'), true);
        return std::nullopt;
    }
}

void WorksheetDialog::Make()
{
    if (m_job)
        return;
    const std::optional<WorksheetRequest> request = Request();
    if (!request)
        return;
    const ChooseFile choose = m_choose ? m_choose : [this](const QString &caption, const QString &suggested) {
        // Qt's own chooser, as for the result files: the game's look everywhere.
        QFileDialog dialog(this, caption, m_folder.isEmpty() ? QDir::currentPath() : m_folder);
        dialog.setObjectName(QStringLiteral("WorksheetFileDialog"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        dialog.selectFile(suggested);
        UseGamePalette(&dialog);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        m_folder = dialog.directory().absolutePath();
        return dialog.selectedFiles().front();
    };
    WorksheetPaths paths;
    const QString sheet = choose(QStringLiteral("Куда записать листок"), QStringLiteral("листок.pdf"));
    if (sheet.isEmpty())
        return;
    paths.Sheet = QFile::encodeName(sheet).toStdString();
    if (m_keyApart->isChecked()) {
        const QString key = choose(QStringLiteral("Куда записать ключ"), QStringLiteral("ключ.pdf"));
        if (key.isEmpty())
            return;
        if (QFileInfo(key).absoluteFilePath() == QFileInfo(sheet).absoluteFilePath()) {
            ShowStatus(QStringLiteral("Листок и ключ нельзя записать в один и тот же файл."), true);
            return;
        }
        paths.Key = QFile::encodeName(key).toStdString();
    }
    Start(*request, paths);
}

void WorksheetDialog::Start(const WorksheetRequest &request, const WorksheetPaths &paths)
{
    m_request = request;
    m_paths = paths;
    m_job = new WorksheetJob(request, paths, this);
    connect(m_job, &WorksheetJob::Finished, this, [this] { Done(); });
    SetMaking(true);
    ShowStatus(QStringLiteral("Листок составляется…"), false);
    m_job->Start();
}

void WorksheetDialog::ShowProgress()
{
    if (!m_job)
        return;
    const int total = m_job->PagesTotal();
    m_progress->setMaximum(std::max(total, 1));
    m_progress->setValue(m_job->PagesDone());
    if (total > 0)
        m_progress->setFormat(QStringLiteral("%v из %m"));
}

void WorksheetDialog::Done()
{
    const WorksheetJob::Outcome outcome = m_job->Result();
    m_job->deleteLater();
    m_job = nullptr;
    SetMaking(false);
    if (outcome.Stopped) {
        ShowStatus(QStringLiteral("Остановлено: файлы не изменились."), false);
        return;
    }
    if (!outcome.Written) {
        ShowStatus(QString::fromStdString(outcome.Failure) + QLatin1Char('.'), true);
        return;
    }
    const WorksheetPdfs &pdfs = *outcome.Written;
    QString text = QStringLiteral("Листок записан: «%1», %2").arg(Shown(m_paths.Sheet), Pages(pdfs.SheetPages));
    if (m_paths.Key.empty())
        text += QStringLiteral(", и ключ в конце: %1.").arg(Pages(pdfs.KeyPages));
    else
        text += QStringLiteral("; ключ: «%1», %2.").arg(Shown(m_paths.Key), Pages(pdfs.KeyPages));
    if (m_request.Source == SheetSource::Level)
        text += QStringLiteral(" Задачи выбраны по числу %1.").arg(m_request.Seed);
    ShowStatus(text, false);
}

void WorksheetDialog::ShowStatus(const QString &text, bool problem)
{
    m_status->setText(text);
    QPalette palette = m_status->palette();
    palette.setColor(QPalette::WindowText, problem ? QColor(176, 0, 0) : GamePalette().color(QPalette::WindowText));
    m_status->setPalette(palette);
}

void WorksheetDialog::SetMaking(bool on)
{
    m_sources->setEnabled(!on);
    m_keyApart->setEnabled(!on);
    m_make->setEnabled(!on);
    m_stop->setVisible(on);
    m_progress->setVisible(on);
    m_progress->setValue(0);
    m_progress->setFormat(QString());
    if (on)
        m_poll->start();
    else
        m_poll->stop();
}

void WorksheetDialog::closeEvent(QCloseEvent *event)
{
    // Closed while making: the job stops within a page, and says so when
    // the dialog is shown again.
    if (m_job)
        m_job->Stop();
    QDialog::closeEvent(event);
}
