// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "main_form.h"

#include "appearance.h"
#include "classic_widgets.h"
#include "move_log_model.h"
#include "value_edit.h"
#include "vessel_picture.h"

#include <QHeaderView>
#include <QLineEdit>

#include <algorithm>

namespace {

void BuildBackLayer(MainForm &f)
{
    auto *label1 = MakeLabel(f.Form, "Label1", {416, 16, 104, 13}, "Ход переливаний", UiFont(9, true));
    // A label sizes itself to its text; in this font the heading needs a
    // pixel or two more than 104 x 13.
    label1->adjustSize();
    auto *label5 = MakeLabel(f.Form, "Label5", {72, 8, 253, 16}, "Прежде, чем перелить - подумай !", UiFont(10, true));
    SetColor(label5, QPalette::WindowText, QColor(0, 0, 255));
    auto *shape1 = Make<QWidget>(f.Form, "Shape1", {16, 200, 377, 2});
    shape1->setAutoFillBackground(true);
    SetColor(shape1, QPalette::Window, Qt::black);
    f.BackLayer = {label1, label5, shape1};

    const QRect pictures[] = {{32, 48, 105, 145}, {176, 88, 81, 105}, {296, 120, 65, 73}};
    for (int n = 1; n <= 3; ++n)
        f.Images[static_cast<std::size_t>(n - 1)] =
            new VesselPicture(QStringLiteral("Image%1").arg(n), n, pictures[n - 1], f.Form);
}

void BuildValueFields(MainForm &f)
{
    auto *grBoxN = Make<GroupFrame>(f.Form, "GrBoxN", {32, 216, 329, 41}, QString::fromUtf8("Номера сосудов"));
    f.FrontLayer = grBoxN;
    const int numberX[] = {56, 176, 288};
    for (int n = 1; n <= 3; ++n) {
        auto *label = Make<QLabel>(grBoxN, QStringLiteral("Label%1").arg(n + 1).toLatin1().constData(), {},
                                   QString::number(n));
        label->setFont(UiFont(8, true));
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        SetColor(label, QPalette::Window, QColor(255, 251, 240));
        label->adjustSize();
        label->move(numberX[n - 1], 16);
    }

    struct Frame {
        const char *Name;
        QRect Geometry;
        const char *Title;
        const char *Base; // value fields inside, or the target field alone
    };
    const Frame frames[] = {{"GrBoxV", {32, 264, 329, 49}, "Объем сосудов", "EditV"},
                            {"GrBoxVW", {32, 328, 329, 49}, "Текущий уровень -V", "EditVW"},
                            {"GrBoxRes", {32, 392, 153, 49}, "Получить уровень", nullptr}};
    const int fieldX[] = {40, 168, 280};
    std::size_t field = 0;
    for (const Frame &frame : frames) {
        auto *box = Make<GroupFrame>(f.Form, frame.Name, frame.Geometry, QString::fromUtf8(frame.Title));
        box->setFont(UiFont(10));
        if (!frame.Base) {
            SetColor(box, QPalette::WindowText, QColor(0, 0, 255));
            f.Fields[field++] = Make<ValueEdit>(box, "EdRes", {40, 18, 30, 24});
            continue;
        }
        for (int n = 1; n <= 3; ++n) {
            const QByteArray name = QByteArray(frame.Base) + QByteArray::number(n);
            f.Fields[field++] = Make<ValueEdit>(box, name.constData(), {fieldX[n - 1], 18, 30, 24});
        }
    }
    for (QLineEdit *edit : f.Fields)
        KeepDisabledTextReadable(edit); // in play they still show the puzzle
}

void BuildMoveLog(MainForm &f, MoveLog &log)
{
    f.ListView = Make<MoveLogView>(f.Form, "ListView", {408, 40, 209, 289});
    f.ListView->setModel(new MoveLogModel(log, f.ListView));
    const int widths[] = {50, 50, 50, 55};
    for (int c = 0; c < 4; ++c)
        f.ListView->setColumnWidth(c, widths[c]);
    f.ListView->verticalHeader()->setDefaultSectionSize(f.ListView->fontMetrics().height() + 4);
}

void BuildButtons(MainForm &f)
{
    f.BtnUndo = Make<QPushButton>(f.Form, "BtnUndo", {536, 8, 75, 25}, QString::fromUtf8("Назад"));
    f.BtnUndo->setIcon(RetryGlyph());
    f.BtnBegin = Make<WrapButton>(f.Form, "BtnBegin", {416, 344, 89, 33}, QString::fromUtf8("Начать переливание"));
    f.BtnXml = Make<WrapButton>(f.Form, "BtnXml", {536, 344, 81, 33}, QString::fromUtf8("Запись результата"));
    f.BtnExit = Make<QPushButton>(f.Form, "BtnExit", {480, 392, 81, 30}, QString::fromUtf8("Выход"));
    f.BtnExit->setIcon(CloseGlyph());
}

} // namespace

QList<QWidget *> MainForm::TabOrder() const
{
    QList<QWidget *> order;
    for (QLineEdit *edit : Fields)
        order << edit;
    order << BtnBegin << BtnXml << BtnExit << BtnUndo << ListView;
    return order;
}

MainForm BuildMainForm(QWidget *parent, MoveLog &log)
{
    MainForm f;
    f.Form = new QWidget(parent);
    f.Form->setObjectName(QStringLiteral("form"));
    f.Form->setFixedSize(kFormWidth, kFormHeight);
    BuildBackLayer(f);
    BuildValueFields(f);
    BuildMoveLog(f, log);
    BuildButtons(f);

    // Controls that own a window hide a picture dragged behind them.
    for (QWidget *w : f.Form->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const bool back = std::find(f.BackLayer.begin(), f.BackLayer.end(), w) != f.BackLayer.end();
        if (!back && !qobject_cast<VesselPicture *>(w))
            w->setAutoFillBackground(true);
    }
    return f;
}
