// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class QLineEdit;
class QPushButton;

// "Фамилия и имя": the pupil's name, asked when a lesson starts without
// one. OK stays off while the field holds nothing but blank space.
class PupilDialog final : public QDialog {
    Q_OBJECT

public:
    explicit PupilDialog(QWidget *parent = nullptr);

    // The name as typed, tidied (TidyPupilName).
    QString Name() const;

private:
    QLineEdit *m_name = nullptr;
    QPushButton *m_ok = nullptr;
};

// Asks for the name; nothing when the pupil closed the dialog instead.
std::optional<QString> AskPupilName(QWidget *parent);
