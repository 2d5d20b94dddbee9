// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include "form_scale.h"

#include <QDialog>
#include <QPixmap>

#include <memory>

namespace Ui {
class TfrmTask;
}

// "Выбор задачи": one page per built-in task, each showing its statement as a
// picture. Made once and reused; it keeps its page between showings.
class TfrmTask final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;

    explicit TfrmTask(QWidget *parent = nullptr);
    ~TfrmTask() override;

    // Index of the active page, which is the index of its task.
    int ActivePage() const;

    // A task's picture (":/task_milk" and the like) for a screen of `ratio`
    // device pixels per form pixel: the classic bitmap at 1, else drawn from
    // the double-size picture to the screen's own pixels (larger or smaller).
    static QPixmap TaskPicture(const QString &base, qreal ratio);

    // Every way out that is not "Принять" (the button, Escape, the close box)
    // answers kResultCancel; Qt's own reject() would answer 0.
    void reject() override;
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void LoadPictures();

    std::unique_ptr<Ui::TfrmTask> m_ui;
    // The game's scale, taken up each time the dialog is shown.
    ScaledWidgets m_scaled;
    qreal m_pictureRatio = 0;
};
