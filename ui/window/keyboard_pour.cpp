// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "keyboard_pour.h"

#include "accessibility.h"
#include "vessel_picture.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int kRing = 3;

// The mark: a ring in the focus colour just outside the picture's outline,
// so the picture's own pixels stay as they are. The pointer passes through
// it to whatever lies below.
class SourceFrame final : public QWidget {
    Q_OBJECT

public:
    explicit SourceFrame(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName(QStringLiteral("SourceMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QColor colour = palette().color(QPalette::Active, QPalette::Highlight);
        const int w = width();
        const int h = height();
        p.fillRect(0, 0, w, kRing, colour);
        p.fillRect(0, h - kRing, w, kRing, colour);
        p.fillRect(0, kRing, kRing, h - 2 * kRing, colour);
        p.fillRect(w - kRing, kRing, kRing, h - 2 * kRing, colour);
    }
};

} // namespace

KeyboardPour::KeyboardPour(QWidget *window, std::array<VesselPicture *, 3> pictures, std::function<bool()> mayPour,
                           PourHandler pour)
    : QObject(window)
    , m_pictures(pictures)
    , m_mayPour(std::move(mayPour))
    , m_pour(std::move(pour))
    , m_frame(new SourceFrame(pictures[0]->parentWidget()))
{
    HideFromScreenReaders(m_frame);
    window->installEventFilter(this);
    for (VesselPicture *p : m_pictures)
        p->installEventFilter(this);
}

void KeyboardPour::Watch(QWidget *control)
{
    control->installEventFilter(this);
}

void KeyboardPour::Mark(int n)
{
    if (m_source)
        m_pictures[static_cast<std::size_t>(m_source - 1)]->SetMarked(false);
    m_source = n;
    if (!m_frame)
        return;
    if (!n) {
        m_frame->hide();
        return;
    }
    VesselPicture *picture = m_pictures[static_cast<std::size_t>(n - 1)];
    m_frame->setGeometry(picture->geometry().adjusted(-kRing, -kRing, kRing, kRing));
    m_frame->stackUnder(picture);
    m_frame->show();
    picture->SetMarked(true);
}

void KeyboardPour::Press(int n)
{
    if (!m_source) {
        Mark(n);
        return;
    }
    const int source = m_source;
    if (source == n)
        Mark(0);
    else
        Pour(source, n);
}

void KeyboardPour::Pour(int source, int receiver)
{
    // Gone before the pour: its message box must not show a stale mark.
    Mark(0);
    m_pour(source, receiver);
}

bool KeyboardPour::IsPicture(const QObject *o) const
{
    return std::find(m_pictures.begin(), m_pictures.end(), o) != m_pictures.end();
}

bool KeyboardPour::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (IsPicture(watched)) {
        // The mouse took over. A dragged picture's keys are the drag's.
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
            Mark(0);
        return false;
    }
    if (type != QEvent::KeyPress || !m_mayPour())
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    if (key->key() == Qt::Key_Escape) {
        if (!m_source)
            return false;
        Mark(0);
        return true;
    }
    const int n = key->key() - Qt::Key_0;
    if (n < 1 || n > 3)
        return false;
    if (!key->isAutoRepeat())
        Press(n);
    return true;
}

#include "keyboard_pour.moc"
