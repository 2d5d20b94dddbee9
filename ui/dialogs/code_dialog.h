// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QInputDialog>

#include <functional>
#include <string>

class QLabel;

// «Ввести код задачи»: a code typed or pasted in. A code that is no task
// keeps the dialog open with the reason under the field and the text as
// typed, to be mended.
class CodeDialog final : public QInputDialog {
    Q_OBJECT

public:
    // Why a code is no task, as a sentence; empty for a good one.
    using Check = std::function<std::string(const std::string &code)>;

    CodeDialog(QWidget *parent, Check check);

    // The code as typed, without the spaces and line breaks a paste brings.
    std::string Code() const;
    // The reason shown under the field; empty while there is none.
    QString Problem() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    Check m_check;
    QLabel *m_problem = nullptr;
};
