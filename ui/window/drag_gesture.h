// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <array>
#include <functional>
#include <vector>

class QWidget;
class VesselPicture;

// Automatic dragging of the vessel pictures, run on mouse events and a grab
// rather than on the platform's drag-and-drop, so the picture itself can
// follow the pointer. It only finds targets and delivers the four events;
// what they do is the form's business.
class DragGesture final : public QObject {
    Q_OBJECT

public:
    struct Handlers {
        // Whether a press on a picture starts a drag now (play).
        std::function<bool()> MayStart;
        std::function<void(VesselPicture *source)> StartDrag;
        // sender is a picture or the form; pos is in the sender's coordinates.
        std::function<bool(QWidget *sender, VesselPicture *source, QPoint pos)> DragOver;
        std::function<void(VesselPicture *target, VesselPicture *source)> DragDrop;
        std::function<void(VesselPicture *source)> EndDrag;
    };

    // form: the surface the pictures lie on. formLayer: what counts as the
    // form itself when found under the pointer (the form, labels, the shelf
    // line, the menu bar, the window); any other widget is a control that
    // owns a window and runs no code.
    DragGesture(QWidget *form, std::array<VesselPicture *, 3> pictures, std::vector<QWidget *> formLayer,
                Handlers handlers);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Target {
        QWidget *Sender = nullptr; // nullptr: outside the program's windows
        bool RunsCode = false;
    };

    Target TargetAt(QPoint global) const;
    bool Deliver(const Target &target, QPoint global);
    void Begin(VesselPicture *source, QPoint global);
    void Move(QPoint global);
    void Finish(bool drop);

    QWidget *m_form;
    std::array<VesselPicture *, 3> m_pictures;
    std::vector<QWidget *> m_formLayer;
    Handlers m_handlers;

    VesselPicture *m_source = nullptr;
    Target m_target;
    QPoint m_last;
    bool m_accept = false;
};
