// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "window_zoom.h"

#include "move_log_model.h"
#include "placement.h"
#include "vessel_picture.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

#include <cmath>

namespace {

// The least step of form pixels that is a whole number of the screen's own
// (4 at 125 %, 2 at 150 %), or 1 when there is none worth keeping to.
int WholePixelStep(qreal ratio)
{
    for (int step = 1; step <= 4; ++step) {
        if (std::abs(step * ratio - std::round(step * ratio)) < 1e-6)
            return step;
    }
    return 1;
}

int Snapped(int value, int step)
{
    return std::max(step, static_cast<int>(std::lround(double(value) / step)) * step);
}

} // namespace

WindowZoom::WindowZoom(QMainWindow *window, const MainForm &form, QWidget *captionPanel, const QWidget *sourceMark)
    : QObject(window)
    , m_window(window)
    , m_form(form)
    , m_captionPanel(captionPanel)
{
    m_widgets.AddFont(window);
    for (QWidget *w : form.Form->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (w != sourceMark)
            m_widgets.Add(w);
        if (qobject_cast<QGroupBox *>(w)) {
            for (QWidget *inside : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                m_widgets.Add(inside);
        }
    }
    QStatusBar *status = window->statusBar();
    m_widgets.AddFont(status);
    for (QMenu *menu : window->findChildren<QMenu *>())
        m_widgets.AddFont(menu);
    for (int c = 0; c < form.ListView->model()->columnCount(); ++c)
        m_columnWidths << form.ListView->columnWidth(c);
    m_iconSize = form.BtnUndo->iconSize();
    m_menuHeight = window->menuBar()->sizeHint().height();
    m_statusHeight = status->height();
    m_panelWidth = captionPanel->width();
}

qreal WindowZoom::Fitting() const
{
    const QScreen *screen = WindowScreen(m_window);
    if (!screen)
        return FormScale();
    const QSizeF atOne(kFormWidth, m_menuHeight + kFormHeight + m_statusHeight);
    return ScaleThatFits(atOne, FrameMargins(m_window), screen->availableGeometry());
}

void WindowZoom::FitAtStart(std::optional<qreal> kept)
{
    const qreal scale = std::min(kept.value_or(1.0), Fitting());
    if (scale != 1.0)
        Apply(scale);
}

void WindowZoom::Framed()
{
    if (!m_chosenAtStart)
        return;
    const qreal fits = Fitting();
    if (fits < FormScale())
        Apply(fits);
}

void WindowZoom::Larger()
{
    m_chosenAtStart = false;
    const qreal limit = std::max(Fitting(), 1.0);
    const qreal next = std::min(LargerScale(FormScale()), limit);
    if (next > FormScale())
        Apply(next);
}

void WindowZoom::Smaller()
{
    m_chosenAtStart = false;
    Apply(SmallerScale(FormScale()));
}

void WindowZoom::Normal()
{
    m_chosenAtStart = false;
    Apply(1.0);
}

void WindowZoom::FillScreen()
{
    m_chosenAtStart = false;
    Apply(Fitting());
}

void WindowZoom::Apply(qreal scale)
{
    SetFormScale(scale);
    const qreal s = FormScale();
    m_widgets.Apply(s);

    MoveLogView *list = m_form.ListView;
    for (int c = 0; c < m_columnWidths.size(); ++c)
        list->setColumnWidth(c, ScaledRect(QRect(0, 0, m_columnWidths[c], 1), s).width());
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
    for (QPushButton *button : {m_form.BtnUndo, m_form.BtnExit})
        button->setIconSize(ScaledRect(QRect(QPoint(), m_iconSize), s).size());

    // On a screen of 125 % a picture placed at a fraction of a screen pixel
    // loses its outline's last column: the designed places are whole ones,
    // and scaled places are moved to the nearest.
    if (const int step = WholePixelStep(m_window->devicePixelRatioF()); step > 1 && s != 1.0) {
        for (QWidget *picture : m_form.Images) {
            const QRect g = picture->geometry();
            picture->setGeometry(Snapped(g.x(), step), Snapped(g.y(), step), Snapped(g.width(), step),
                                 Snapped(g.height(), step));
        }
    }

    QStatusBar *status = m_window->statusBar();
    const QSize form = ScaledRect(QRect(0, 0, kFormWidth, kFormHeight), s).size();
    const int statusHeight = ScaledRect(QRect(0, 0, 1, m_statusHeight), s).height();
    status->setFixedHeight(statusHeight);
    m_captionPanel->setFixedWidth(ScaledRect(QRect(0, 0, m_panelWidth, 1), s).width());
    m_form.Form->setFixedSize(form);
    m_window->setFixedSize(form.width(), m_window->menuBar()->sizeHint().height() + form.height() + statusHeight);
    if (m_window->isVisible())
        FitWindowOnScreen(m_window);
}
