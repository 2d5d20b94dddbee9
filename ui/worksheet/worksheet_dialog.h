// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "worksheet_job.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;

inline constexpr const char *kCaptionWorksheet = "Листок с задачами";

// "Листок с задачами": which tasks (book numbers, codes, or random tasks of
// a level in variants), whether the key goes in a file of its own, and
// "Сохранить…", which asks where and makes the PDF while the window goes on:
// a progress bar, "Остановить", and what was written.
class WorksheetDialog final : public QDialog {
    Q_OBJECT

public:
    // Where a file goes: the caption, a name to start from; empty when the
    // teacher chose none.
    using ChooseFile = std::function<QString(const QString &caption, const QString &suggested)>;

    // taskCode: the task in play, offered as the codes; may be empty.
    explicit WorksheetDialog(const QString &taskCode, QWidget *parent = nullptr);
    ~WorksheetDialog() override;

    // Instead of Qt's file chooser (the tests choose for themselves).
    void SetChooser(ChooseFile choose) { m_choose = std::move(choose); }

    // The request the fields make, or the reason they make none (shown).
    std::optional<WorksheetRequest> Request();
    // "Сохранить…": asks for the files and starts making them.
    void Make();
    bool Making() const { return m_job != nullptr; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildSources();
    void BuildActions();
    void Start(const WorksheetRequest &request, const WorksheetPaths &paths);
    void ShowProgress();
    void Done();
    void ShowStatus(const QString &text, bool problem);
    void SetMaking(bool on);

    QRadioButton *m_fromBook = nullptr;
    QRadioButton *m_fromCodes = nullptr;
    QRadioButton *m_random = nullptr;
    QLineEdit *m_bookNumbers = nullptr;
    QLineEdit *m_codes = nullptr;
    QComboBox *m_level = nullptr;
    QSpinBox *m_count = nullptr;
    QSpinBox *m_variants = nullptr;
    QLineEdit *m_seed = nullptr;
    QCheckBox *m_keyApart = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_make = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_close = nullptr;
    QTimer *m_poll = nullptr;
    QWidget *m_sources = nullptr;
    ChooseFile m_choose;
    QString m_folder; // where the last file went
    QPointer<WorksheetJob> m_job;
    WorksheetPaths m_paths;
    WorksheetRequest m_request;
};
