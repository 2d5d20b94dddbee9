// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "record_check_command.h"

#include "atomic_file.h"
#include "check_run.h"
#include "check_table.h"
#include "game_commands.h"
#include "message_boxes.h"
#include "puzzle.h"
#include "record_check_dialog.h"
#include "result_file_chooser.h"
#include "settings_file.h"
#include "save_failure.h"
#include "task_code.h"
#include "task_in_play.h"
#include "wording.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <stdexcept>

namespace {

const char *const kCaptionSaveTable = "Сохранить таблицу";
const char *const kSpreadsheetFilter = "Таблица Excel (*.xlsx)";
const char *const kCsvFilter = "Таблица CSV (*.csv)";

std::vector<std::string> NativePaths(const QStringList &paths)
{
    std::vector<std::string> native;
    for (const QString &path : paths)
        native.push_back(QFile::encodeName(path).toStdString());
    return native;
}

} // namespace

RecordCheckCommand::RecordCheckCommand(const Puzzle &puzzle, const GameCommands &commands, MessageBoxes &boxes,
                                       SettingsFile &settings, QWidget *window)
    : QObject(window)
    , m_puzzle(puzzle)
    , m_commands(commands)
    , m_boxes(boxes)
    , m_settings(settings)
    , m_window(window)
{
}

QString RecordCheckCommand::LastFolder() const
{
    // Where the last choice was made, in this run or an earlier one.
    return m_settings.StartFolder(QStringLiteral("check"));
}

TaskPreset RecordCheckCommand::Task() const
{
    return TaskInPlay(m_puzzle, m_commands);
}

void RecordCheckCommand::Run()
{
    if (const std::optional<Choice> choice = Choose())
        ShowVerdicts(choice->Paths, choice->Tasks);
}

void RecordCheckCommand::ShowVerdicts(const QStringList &paths)
{
    ShowVerdicts(paths, {Task()});
}

void RecordCheckCommand::ShowVerdicts(const QStringList &paths, const std::vector<TaskPreset> &tasks)
{
    // The check outlives the window's last look at it: destroyed after the
    // dialog, it stops and waits for its thread.
    CheckRun run(tasks, NativePaths(paths));
    RecordCheckDialog dialog(run.Checker(), m_window);
    connect(&run, &CheckRun::Listed, &dialog, &RecordCheckDialog::SetTotal);
    connect(&run, &CheckRun::Checked, &dialog, &RecordCheckDialog::AddFiles);
    connect(&run, &CheckRun::Finished, &dialog, &RecordCheckDialog::Finish);
    connect(&dialog, &RecordCheckDialog::StopAsked, &run, &CheckRun::Stop);
    connect(&dialog, &RecordCheckDialog::SaveAsked, &dialog, [&] { SaveTable(dialog, run.Checker()); });
    run.Start();
    dialog.exec();
}

std::optional<RecordCheckCommand::Choice> RecordCheckCommand::Choose()
{
    QFileDialog dialog(m_window, QString::fromUtf8(kCaptionCheckRecords), LastFolder());
    AskForResultFiles(dialog, QString::fromUtf8("Проверить"), true);

    // The folder in view, for a whole class at once.
    bool wholeFolder = false;
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))) {
        QPushButton *folder =
            buttons->addButton(QString::fromUtf8("Проверить всю папку"), QDialogButtonBox::ActionRole);
        folder->setObjectName(QStringLiteral("BtnWholeFolder"));
        connect(folder, &QPushButton::clicked, &dialog, [&] {
            wholeFolder = true;
            static_cast<QDialog &>(dialog).done(QDialog::Accepted);
        });
    }
    // The task, or the variants a class was given, joined by "+".
    auto *codes = new QLineEdit(QString::fromStdString(TaskCode(Task())), &dialog);
    codes->setObjectName(QStringLiteral("VariantCodes"));
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout())) {
        auto *label = new QLabel(QString::fromUtf8("&Задача (варианты — через «+»):"), &dialog);
        label->setBuddy(codes);
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(codes, row, 1, 1, grid->columnCount() - 1);
    }
    LookLikeTheGame(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString folder = dialog.directory().absolutePath();
    m_settings.SetFolder(QStringLiteral("check"), folder);

    Choice choice;
    try {
        choice.Tasks = ParseTaskCodes(codes->text().trimmed().toStdString());
    } catch (const std::invalid_argument &e) {
        m_boxes.Show(e.what(), kCaptionCheckRecords, kIconWarning);
        return std::nullopt;
    }
    choice.Paths = wholeFolder ? QStringList{folder} : dialog.selectedFiles();
    return choice;
}

void RecordCheckCommand::SaveTable(RecordCheckDialog &dialog, const RecordChecker &checker)
{
    QFileDialog chooser(&dialog, QString::fromUtf8(kCaptionSaveTable), LastFolder());
    chooser.setObjectName(QStringLiteral("TableFileDialog"));
    chooser.setFileMode(QFileDialog::AnyFile);
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setNameFilters({QString::fromUtf8(kSpreadsheetFilter), QString::fromUtf8(kCsvFilter)});
    chooser.setDefaultSuffix(QStringLiteral("xlsx"));
    chooser.selectFile(QString::fromUtf8("проверка.xlsx"));
    connect(&chooser, &QFileDialog::filterSelected, &chooser, [&chooser](const QString &filter) {
        chooser.setDefaultSuffix(filter == QString::fromUtf8(kCsvFilter) ? QStringLiteral("csv") : QStringLiteral("xlsx"));
    });
    LookLikeTheGame(chooser);
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
        return;
    const QString path = chooser.selectedFiles().constFirst();
    const std::string native = QFile::encodeName(path).toStdString();

    std::vector<std::string> codes;
    for (std::size_t n = 0; n < checker.TaskCount(); ++n)
        codes.push_back(TaskCode(checker.Task(n)));
    const std::vector<CheckedFile> files = dialog.FilesAsShown();
    std::string problem;
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
        const std::string text = CheckCsv(files, codes);
        const std::string_view pieces[] = {text};
        try {
            WriteFileAtomically(native, pieces, InPlace::Never);
        } catch (const SaveFailure &failure) {
            problem = EscapeControls(failure.what());
        }
    } else {
        problem = WriteXlsxFile(MakeCheckTable(files, codes, Today()), native);
    }
    if (!problem.empty()) {
        m_boxes.Show(problem, kCaptionSaveTable, kIconWarning);
        return;
    }
    dialog.SayTableSaved(QString::fromStdString(EscapeControls(native)));
}
