// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
//
// Draws the task pictures, the application icon and the button glyphs into resources/.
// The outputs are committed; rerun through the regenerate_art target after
// changing this file. Everything uses pixel sizes, so the result does not
// depend on the screen's DPI.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

// Book palette: warm paper and brown ink, like an old puzzle collection.
const QColor kPaper(0xF6, 0xEC, 0xD4);
const QColor kPaperEdge(0xE8, 0xD5, 0xAE);
const QColor kInk(0x3B, 0x2A, 0x1A);
const QColor kFrame(0x9C, 0x7A, 0x4E);
const QColor kLabel(0xFC, 0xF6, 0xE6);
const QColor kMilk(0xFF, 0xFC, 0xF2);
const QColor kMilkShade(0xEE, 0xE4, 0xCB);
const QColor kKvass(0x9A, 0x55, 0x16);
const QColor kKvassLight(0xCF, 0x8E, 0x3C);
const QColor kWoodLight(0xD9, 0xAE, 0x72);
const QColor kWood(0xBE, 0x8B, 0x4F);
const QColor kWoodDark(0x8A, 0x5E, 0x2F);
const QColor kHoop(0x55, 0x4C, 0x45);
const QColor kHoopLight(0x8D, 0x85, 0x7D);

QFont bookFont(int pixelSize, bool bold)
{
    QFont f;
    // DejaVu is the usual Debian fallback if Liberation is missing.
    f.setFamilies({QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    f.setStyleHint(QFont::Serif, QFont::PreferAntialias);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// The paper is shared by both pictures so they sit well side by side in the game.
void drawPaper(QPainter &p, const QSize &size)
{
    const QRectF all(QPointF(0, 0), QSizeF(size));
    QRadialGradient g(all.center(), std::hypot(all.width(), all.height()) / 2.0);
    g.setColorAt(0.0, kPaper);
    g.setColorAt(0.65, kPaper);
    g.setColorAt(1.0, kPaperEdge);
    p.fillRect(all, g);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kFrame, 1.6));
    p.drawRoundedRect(all.adjusted(4.5, 4.5, -4.5, -4.5), 6, 6);
    p.setPen(QPen(kFrame, 0.8));
    p.drawRoundedRect(all.adjusted(8.5, 8.5, -8.5, -8.5), 4, 4);
}

void drawHeading(QPainter &p, const QRectF &box, const QString &text)
{
    p.setFont(bookFont(24, true));
    p.setPen(kInk);
    const QRectF used = p.boundingRect(box, Qt::AlignHCenter | Qt::AlignTop, text);
    p.drawText(box, Qt::AlignHCenter | Qt::AlignTop, text);

    // A thin rule with a diamond, as under a chapter title.
    const qreal y = used.bottom() + 4.5;
    const qreal cx = box.center().x();
    const qreal half = used.width() / 2 + 18;
    p.setPen(QPen(kFrame, 1.0));
    p.drawLine(QPointF(cx - half, y), QPointF(cx - 6, y));
    p.drawLine(QPointF(cx + 6, y), QPointF(cx + half, y));
    p.setBrush(kFrame);
    p.drawPolygon(QPolygonF({QPointF(cx - 4, y), QPointF(cx, y - 3), QPointF(cx + 4, y), QPointF(cx, y + 3)}));
}

// Shrinks the type until the wrapped statement fits: smaller text beats clipped text.
bool drawStatement(QPainter &p, const QRect &box, const QString &text, int pixelSize)
{
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
    for (int px = pixelSize; px >= 10; --px) {
        p.setFont(bookFont(px, false));
        p.setPen(kInk);
        const QRect need = p.boundingRect(box, flags, text);
        if (need.width() <= box.width() && need.height() <= box.height()) {
            p.drawText(box, flags, text);
            if (px != pixelSize)
                std::fprintf(stderr, "artgen: statement set at %d px instead of %d px\n", px, pixelSize);
            return true;
        }
    }
    std::fprintf(stderr, "artgen: statement does not fit into %dx%d\n", box.width(), box.height());
    return false;
}

void drawShadow(QPainter &p, QPointF base, qreal width)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6B, 0x4A, 0x22, 45));
    p.drawEllipse(QRectF(base.x() - width * 0.62, base.y() - width * 0.09, width * 1.24, width * 0.24));
}

// A painted tag with the capacity, so the numbers read well on metal and wood alike.
void drawTag(QPainter &p, QPointF centre, const QString &text, int pixelSize)
{
    p.setFont(bookFont(pixelSize, true));
    p.setPen(kInk); // boundingRect() measures nothing with a null pen
    const QRectF t = p.boundingRect(QRectF(centre.x() - 60, centre.y() - 30, 120, 60), Qt::AlignCenter, text);
    const QRectF plate = t.adjusted(-6, -1, 6, 1);
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(kLabel);
    p.drawRoundedRect(plate, 4, 4);
    p.setPen(kInk);
    p.drawText(plate, Qt::AlignCenter, text);
}

QLinearGradient metalGradient(qreal left, qreal right, QColor tint)
{
    QLinearGradient g(left, 0, right, 0);
    g.setColorAt(0.0, tint.darker(150));
    g.setColorAt(0.28, tint.lighter(118));
    g.setColorAt(0.42, tint.lighter(108));
    g.setColorAt(0.75, tint.darker(112));
    g.setColorAt(1.0, tint.darker(160));
    return g;
}

// Front half of a horizontal ring on a round vessel.
void drawRing(QPainter &p, qreal cx, qreal y, qreal halfWidth, qreal ry, const QPen &pen)
{
    QPainterPath ring;
    const QRectF r(cx - halfWidth, y - ry, halfWidth * 2, ry * 2);
    ring.arcMoveTo(r, 180);
    ring.arcTo(r, 180, 180);
    p.strokePath(ring, pen);
}

void drawPail(QPainter &p, QPointF base, qreal height, qreal topWidth, qreal bottomWidth, const QString &tag)
{
    const qreal cx = base.x();
    const qreal bottom = base.y();
    const qreal top = bottom - height;
    const qreal rt = topWidth / 2;
    const qreal rb = bottomWidth / 2;
    const qreal eyT = topWidth * 0.15;
    const qreal eyB = bottomWidth * 0.15;
    const QPen outline(kInk, 1.5);
    const QColor zinc(0xB4, 0xBC, 0xC3);

    drawShadow(p, base, bottomWidth);

    QPainterPath body;
    body.moveTo(cx - rt, top);
    body.lineTo(cx - rb, bottom);
    body.arcTo(QRectF(cx - rb, bottom - eyB, bottomWidth, eyB * 2), 180, 180);
    body.lineTo(cx + rt, top);
    body.closeSubpath();
    p.setPen(outline);
    p.setBrush(metalGradient(cx - rt, cx + rt, zinc));
    p.drawPath(body);

    // Pressed ribs of a tin pail.
    for (qreal t : {0.3, 0.72}) {
        const qreal y = top + height * t;
        const qreal hw = rt + (rb - rt) * t;
        const qreal ey = eyT + (eyB - eyT) * t;
        drawRing(p, cx, y, hw, ey, QPen(zinc.darker(150), 1.2));
        drawRing(p, cx, y + 1.6, hw, ey, QPen(zinc.lighter(125), 1.0));
    }

    // Rim, then the milk standing a little below it.
    const QRectF rim(cx - rt, top - eyT, topWidth, eyT * 2);
    p.setPen(outline);
    p.setBrush(zinc.darker(118));
    p.drawEllipse(rim);
    const QRectF milk = rim.adjusted(3.5, 2.5, -3.5, -1.2);
    QRadialGradient mg(milk.center() + QPointF(-milk.width() * 0.15, -milk.height() * 0.2), milk.width() * 0.6);
    mg.setColorAt(0.0, kMilk);
    mg.setColorAt(0.7, kMilk);
    mg.setColorAt(1.0, kMilkShade);
    p.setPen(QPen(kMilkShade.darker(125), 0.9));
    p.setBrush(mg);
    p.drawEllipse(milk);

    // Ears and a wire bail with a wooden grip.
    const QPointF leftEar(cx - rt + 1, top + 3);
    const QPointF rightEar(cx + rt - 1, top + 3);
    QPainterPath bail;
    bail.moveTo(leftEar);
    bail.cubicTo(leftEar + QPointF(-4, -height * 0.52), rightEar + QPointF(4, -height * 0.52), rightEar);
    p.setBrush(Qt::NoBrush);
    p.strokePath(bail, QPen(kInk, 3.4, Qt::SolidLine, Qt::RoundCap));
    p.strokePath(bail, QPen(QColor(0x9A, 0xA2, 0xA9), 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF gripCentre = bail.pointAtPercent(0.5);
    p.setPen(QPen(kInk, 1.1));
    p.setBrush(kWood);
    p.drawRoundedRect(QRectF(gripCentre.x() - 12, gripCentre.y() - 3.2, 24, 6.4), 3, 3);
    for (const QPointF &ear : {leftEar, rightEar}) {
        p.setBrush(zinc.darker(130));
        p.drawEllipse(ear, 3.0, 3.0);
    }

    drawTag(p, QPointF(cx, top + height * 0.52), tag, 17);
}

// A milk can: straight body, rounded shoulder, narrow neck with a cap and two handles.
void drawCan(QPainter &p, QPointF base, qreal height, qreal width, const QString &tag)
{
    const qreal cx = base.x();
    const qreal bottom = base.y();
    const qreal r = width / 2;
    const qreal neck = width * 0.27;
    const qreal shoulder = bottom - height * 0.62;
    const qreal neckBottom = bottom - height * 0.80;
    const qreal neckTop = bottom - height * 0.89;
    const qreal ey = width * 0.13;
    const QPen outline(kInk, 1.5);
    const QColor tin(0xC4, 0xCA, 0xCF);

    drawShadow(p, base, width);

    // Handles first: the body hides their inner ends.
    for (int side : {-1, 1}) {
        const QRectF loop(side < 0 ? cx - r - width * 0.16 : cx + r - width * 0.10, shoulder - height * 0.10,
                          width * 0.26, height * 0.15);
        QPainterPath h;
        h.arcMoveTo(loop, side < 0 ? 60 : 120);
        h.arcTo(loop, side < 0 ? 60 : 120, side < 0 ? 220 : -220);
        p.strokePath(h, QPen(kInk, 3.6, Qt::SolidLine, Qt::RoundCap));
        p.strokePath(h, QPen(tin.darker(115), 1.8, Qt::SolidLine, Qt::RoundCap));
    }

    QPainterPath body;
    body.moveTo(cx - neck, neckTop);
    body.lineTo(cx - neck, neckBottom);
    body.cubicTo(cx - neck, neckBottom + height * 0.06, cx - r, shoulder - height * 0.09, cx - r, shoulder);
    body.lineTo(cx - r, bottom);
    body.arcTo(QRectF(cx - r, bottom - ey, width, ey * 2), 180, 180);
    body.lineTo(cx + r, shoulder);
    body.cubicTo(cx + r, shoulder - height * 0.09, cx + neck, neckBottom + height * 0.06, cx + neck, neckBottom);
    body.lineTo(cx + neck, neckTop);
    body.closeSubpath();
    p.setPen(outline);
    p.setBrush(metalGradient(cx - r, cx + r, tin));
    p.drawPath(body);

    // Rolled seams at the foot and at the shoulder.
    drawRing(p, cx, bottom - height * 0.08, r, ey, QPen(tin.darker(150), 1.2));
    drawRing(p, cx, shoulder + 1, r, ey, QPen(tin.darker(150), 1.2));
    drawRing(p, cx, shoulder + 2.6, r, ey, QPen(tin.lighter(125), 1.0));

    // Neck collar and the cap.
    const qreal capW = width * 0.66;
    const qreal capH = height * 0.075;
    p.setPen(outline);
    p.setBrush(metalGradient(cx - neck, cx + neck, tin.darker(108)));
    p.drawRect(QRectF(cx - neck - 2, neckTop - 2, (neck + 2) * 2, 5));
    QPainterPath cap;
    cap.moveTo(cx - capW / 2, neckTop - 1);
    cap.cubicTo(cx - capW / 2, neckTop - capH - 2, cx + capW / 2, neckTop - capH - 2, cx + capW / 2, neckTop - 1);
    cap.closeSubpath();
    p.setBrush(metalGradient(cx - capW / 2, cx + capW / 2, tin));
    p.drawPath(cap);
    p.setBrush(tin.darker(125));
    p.drawEllipse(QPointF(cx, neckTop - capH - 1.5), 3.2, 2.4);

    drawTag(p, QPointF(cx, bottom - height * 0.33), tag, 17);
}

// Half-width of a barrel at fraction t of its height: staves bulge in the middle.
qreal barrelHalf(qreal halfBelly, qreal t)
{
    const qreal u = 2 * t - 1;
    return halfBelly * (1.0 - 0.18 * u * u);
}

void drawBarrel(QPainter &p, QPointF base, qreal height, qreal belly, bool full, const QString &number)
{
    const qreal cx = base.x();
    const qreal bottom = base.y();
    const qreal top = bottom - height;
    const qreal hb = belly / 2;
    const qreal rEnd = barrelHalf(hb, 0);
    const qreal ey = rEnd * 0.28;
    const QPen outline(kInk, 1.5);
    constexpr int kSteps = 24;

    drawShadow(p, base, belly);

    QPainterPath body;
    for (int i = 0; i <= kSteps; ++i) {
        const qreal t = qreal(i) / kSteps;
        const QPointF pt(cx - barrelHalf(hb, t), top + height * t);
        if (i == 0)
            body.moveTo(pt);
        else
            body.lineTo(pt);
    }
    body.arcTo(QRectF(cx - rEnd, bottom - ey, rEnd * 2, ey * 2), 180, 180);
    for (int i = kSteps; i >= 0; --i) {
        const qreal t = qreal(i) / kSteps;
        body.lineTo(cx + barrelHalf(hb, t), top + height * t);
    }
    body.closeSubpath();

    QLinearGradient wood(cx - hb, 0, cx + hb, 0);
    wood.setColorAt(0.0, kWoodDark);
    wood.setColorAt(0.3, kWoodLight);
    wood.setColorAt(0.5, kWood.lighter(108));
    wood.setColorAt(1.0, kWoodDark.darker(115));
    p.setPen(Qt::NoPen);
    p.setBrush(wood);
    p.drawPath(body);

    // Staves follow the bulge; spacing by sine gives the roundness.
    p.save();
    p.setClipPath(body);
    p.setPen(QPen(kWoodDark.darker(115), 0.9));
    for (int k = -3; k <= 3; ++k) {
        const qreal s = std::sin(k * 0.42);
        QPainterPath stave;
        for (int i = 0; i <= kSteps; ++i) {
            const qreal t = qreal(i) / kSteps;
            const qreal half = barrelHalf(hb, t);
            // The lower end curves with the bottom rim.
            const qreal sag = ey * std::sqrt(std::max(0.0, 1 - s * s)) * t;
            const QPointF pt(cx + s * half, top + height * t + sag);
            if (i == 0)
                stave.moveTo(pt);
            else
                stave.lineTo(pt);
        }
        p.drawPath(stave);
    }
    p.restore();

    p.setPen(outline);
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);

    // Iron hoops.
    for (qreal t : {0.07, 0.24, 0.76, 0.93}) {
        const qreal y = top + height * t;
        const qreal half = barrelHalf(hb, t) + 0.6;
        const qreal hey = ey * half / rEnd;
        drawRing(p, cx, y, half, hey, QPen(kInk, 5.2, Qt::SolidLine, Qt::FlatCap));
        drawRing(p, cx, y, half - 0.4, hey, QPen(kHoop, 3.4, Qt::SolidLine, Qt::FlatCap));
        drawRing(p, cx, y - 0.9, half - 0.8, hey, QPen(kHoopLight, 0.9, Qt::SolidLine, Qt::FlatCap));
    }

    // Open top: the chime, then kvass or the dark empty inside.
    const QRectF chime(cx - rEnd, top - ey, rEnd * 2, ey * 2);
    p.setPen(outline);
    p.setBrush(kWood);
    p.drawEllipse(chime);
    const QRectF inside = chime.adjusted(4, 2.6, -4, -2.6);
    if (full) {
        QRadialGradient kg(inside.center() + QPointF(-inside.width() * 0.18, -inside.height() * 0.15),
                           inside.width() * 0.6);
        kg.setColorAt(0.0, kKvassLight);
        kg.setColorAt(0.55, kKvass);
        kg.setColorAt(1.0, kKvass.darker(130));
        p.setPen(QPen(kKvass.darker(160), 1.0));
        p.setBrush(kg);
        p.drawEllipse(inside);
        // Light from the upper left catches the surface.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xF6, 0xD6, 0x98, 150));
        p.drawEllipse(QRectF(inside.left() + inside.width() * 0.18, inside.top() + inside.height() * 0.22,
                             inside.width() * 0.30, inside.height() * 0.26));
    } else {
        QLinearGradient dark(0, inside.top(), 0, inside.bottom());
        dark.setColorAt(0.0, kWoodDark.darker(220));
        dark.setColorAt(1.0, kWoodDark.darker(140));
        p.setPen(QPen(kWoodDark.darker(160), 1.0));
        p.setBrush(dark);
        p.drawEllipse(inside);
    }

    drawTag(p, QPointF(cx, top + height * 0.5), number, int(std::lround(std::min(26.0, height * 0.2))));
}

void drawCaption(QPainter &p, QPointF topCentre, const QString &text)
{
    p.setFont(bookFont(15, false));
    p.setPen(kInk);
    p.drawText(QRectF(topCentre.x() - 60, topCentre.y(), 120, 20), Qt::AlignHCenter | Qt::AlignTop, text);
}

QImage newPicture(int w, int h)
{
    // RGB888 is what the BMP writer turns into a 24-bit file.
    QImage img(w, h, QImage::Format_RGB888);
    img.fill(kPaper);
    return img;
}

bool milkPicture(const QString &path, int scale = 1)
{
    QImage img = newPicture(520 * scale, 228 * scale);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    p.scale(scale, scale);
    drawPaper(p, img.size() / scale);
    drawHeading(p, QRectF(12, 11, 496, 32), QStringLiteral("Задача о молоке"));

    const qreal ground = 206;
    drawPail(p, QPointF(72, ground), 86, 96, 72, QStringLiteral("12 л"));
    drawCan(p, QPointF(172, ground), 126, 62, QStringLiteral("7 л"));
    drawCan(p, QPointF(253, ground), 108, 54, QStringLiteral("5 л"));

    const bool ok = drawStatement(
        p, QRect(300, 52, 202, 158),
        QStringLiteral("Как, имея два бидона по 5 и 7 литров, отлить из ведра, в котором 12 литров молока, "
                       "ровно 6 литров?"),
        17);
    p.end();
    return ok && img.save(path); // the format from the name
}

bool kvassPicture(const QString &path, int scale = 1)
{
    QImage img = newPicture(565 * scale, 302 * scale);
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    p.scale(scale, scale);
    drawPaper(p, img.size() / scale);
    drawHeading(p, QRectF(12, 11, 541, 32), QStringLiteral("Разделите квас поровну"));

    const qreal ground = 256;
    drawBarrel(p, QPointF(84, ground), 160, 118, true, QStringLiteral("8"));
    drawBarrel(p, QPointF(200, ground), 122, 92, false, QStringLiteral("5"));
    drawBarrel(p, QPointF(290, ground), 92, 70, false, QStringLiteral("3"));
    drawCaption(p, QPointF(84, ground + 12), QStringLiteral("8 вёдер"));
    drawCaption(p, QPointF(200, ground + 12), QStringLiteral("5 вёдер"));
    drawCaption(p, QPointF(290, ground + 12), QStringLiteral("3 ведра"));

    const bool ok = drawStatement(
        p, QRect(348, 56, 196, 226),
        QStringLiteral("Бочка вместимостью 8 вёдер наполнена квасом. Как разделить квас на две равные части, "
                       "пользуясь только двумя пустыми бочонками вместимостью 5 и 3 ведра?"),
        17);
    p.end();
    return ok && img.save(path); // the format from the name
}

// The icon is drawn on a 32-unit grid; callers scale the painter.
void drawIcon(QPainter &p)
{
    const QColor outline(0x4A, 0x26, 0x16);
    const QColor clay(0xC8, 0x65, 0x2F);
    const QColor clayLight(0xE8, 0x93, 0x58);
    const QColor band(0xF3, 0xD9, 0xA8);
    const QColor glassLine(0x3E, 0x5C, 0x78);
    const QColor glass(0xDC, 0xEF, 0xFA);
    const QColor water(0x2F, 0x80, 0xDA);
    const QColor waterLight(0x8C, 0xC8, 0xF5);

    // Glass.
    const QPolygonF glassShape({QPointF(17.5, 15.5), QPointF(30.5, 15.5), QPointF(29, 30.5), QPointF(19, 30.5)});
    p.setPen(QPen(glassLine, 1.0));
    p.setBrush(glass);
    p.drawPolygon(glassShape);
    QPainterPath inGlass;
    inGlass.addPolygon(glassShape);
    p.save();
    p.setClipPath(inGlass);
    p.setPen(Qt::NoPen);
    p.setBrush(water);
    p.drawRect(QRectF(16, 22.5, 16, 10));
    p.setBrush(waterLight);
    p.drawRect(QRectF(16, 22.5, 16, 1.5));
    p.restore();
    p.setPen(QPen(glassLine, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(glassShape);
    p.setPen(QPen(Qt::white, 1.0));
    p.drawLine(QPointF(20, 17.5), QPointF(21, 28.5));

    // Stream from the spout into the glass.
    QPainterPath stream;
    stream.moveTo(19.6, 9.2);
    stream.cubicTo(22.6, 10.0, 23.6, 14.0, 23.6, 23.0);
    p.strokePath(stream, QPen(water, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.strokePath(stream, QPen(waterLight, 0.7, Qt::SolidLine, Qt::RoundCap));

    // Jug, tipped towards the glass; the handle keeps a hole so it reads at 32 px.
    p.save();
    p.translate(8.85, 12.0);
    p.rotate(45);
    QPainterPath handle;
    handle.moveTo(-2.8, -6.6);
    handle.cubicTo(-9.6, -7.6, -9.6, 1.0, -5.6, 3.0);
    p.strokePath(handle, QPen(outline, 3.0, Qt::SolidLine, Qt::RoundCap));
    p.strokePath(handle, QPen(clay, 1.2, Qt::SolidLine, Qt::RoundCap));

    QPainterPath jug;
    jug.moveTo(-3.8, -9);
    jug.cubicTo(-2.6, -7.5, -2.4, -6.0, -2.6, -5.0);
    jug.cubicTo(-5.5, -3.0, -6.8, -0.5, -6.6, 3.0);
    jug.cubicTo(-6.4, 6.5, -4.5, 9.5, 0, 9.5);
    jug.cubicTo(4.5, 9.5, 6.4, 6.5, 6.6, 3.0);
    jug.cubicTo(6.8, -0.5, 5.5, -3.0, 2.6, -5.0);
    jug.cubicTo(2.4, -6.0, 3.0, -7.5, 5.6, -9.6);
    jug.closeSubpath();
    p.setPen(QPen(outline, 1.0));
    p.setBrush(clay);
    p.drawPath(jug);
    p.save();
    p.setClipPath(jug);
    p.setPen(Qt::NoPen);
    // Shade on the side away from the light gives the belly its roundness.
    p.setBrush(QColor(0x8A, 0x45, 0x22));
    p.drawRect(QRectF(-8, -11, 16, 21));
    p.setBrush(clay);
    p.drawEllipse(QRectF(-9.5, -7.5, 14.3, 17.5));
    p.setBrush(band);
    p.drawRect(QRectF(-8, 0.6, 16, 1.8));
    p.setBrush(clayLight);
    p.drawEllipse(QRectF(-5.2, -2.8, 3.0, 3.0));
    p.restore();
    p.setPen(QPen(outline, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(jug);

    // The open mouth shows the water on its way out.
    p.setBrush(water);
    p.drawEllipse(QRectF(-3.9, -10.2, 8.4, 2.4));
    p.restore();
}

// Nearest colour from the fixed icon palette; index 0 is transparent.
int nearestIndex(const QList<QRgb> &palette, QRgb c)
{
    int best = 1;
    long bestDist = -1;
    for (int i = 1; i < palette.size(); ++i) {
        const long dr = qRed(c) - qRed(palette[i]);
        const long dg = qGreen(c) - qGreen(palette[i]);
        const long db = qBlue(c) - qBlue(palette[i]);
        const long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (bestDist < 0 || d < bestDist) {
            bestDist = d;
            best = i;
        }
    }
    return best;
}

QImage renderIcon(int size)
{
    // Drawn large and reduced: edges come out softer than drawing at size.
    constexpr int kBig = 256;
    QImage big(kBig, kBig, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    QPainter p(&big);
    p.setRenderHints(QPainter::Antialiasing);
    p.scale(kBig / 32.0, kBig / 32.0);
    drawIcon(p);
    p.end();
    return big.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

// The classic small icon: 32 x 32, at most 16 colours.
QImage smallIcon()
{
    const QList<QRgb> palette = {
        qRgba(0, 0, 0, 0),
        qRgb(0x4A, 0x26, 0x16), // outline
        qRgb(0x8A, 0x45, 0x22), // clay shadow / soft outline
        qRgb(0xC8, 0x65, 0x2F), // clay
        qRgb(0xE8, 0x93, 0x58), // clay highlight
        qRgb(0xF3, 0xD9, 0xA8), // painted band
        qRgb(0x3E, 0x5C, 0x78), // glass edge
        qRgb(0x8F, 0xA9, 0xBF), // glass edge, soft
        qRgb(0xDC, 0xEF, 0xFA), // glass
        qRgb(0xFF, 0xFF, 0xFF), // glint
        qRgb(0x2F, 0x80, 0xDA), // water
        qRgb(0x1E, 0x56, 0x9E), // deep water
        qRgb(0x8C, 0xC8, 0xF5), // light water
        qRgb(0x5C, 0xA2, 0xE8), // water, mid
        qRgb(0x6E, 0x3E, 0x3A), // clay over glass edge
        qRgb(0xB8, 0xD4, 0xEA), // water over glass
    };
    const QImage rgba = renderIcon(32);
    QImage out(32, 32, QImage::Format_Indexed8);
    out.setColorTable(palette);
    for (int y = 0; y < 32; ++y) {
        const QRgb *src = reinterpret_cast<const QRgb *>(rgba.constScanLine(y));
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < 32; ++x)
            dst[x] = qAlpha(src[x]) < 110 ? 0 : uchar(nearestIndex(palette, src[x]));
    }
    return out;
}

// The task pictures drawn anew at twice the size for high-density screens,
// as PNG: the format is free here, and a 24-bit BMP would be four times larger.
bool doubleSizePictures(const QDir &out)
{
    const QString milk = out.filePath(QStringLiteral("task_milk@2x.png"));
    const QString kvass = out.filePath(QStringLiteral("task_kvass@2x.png"));
    const bool ok = milkPicture(milk, 2);
    return kvassPicture(kvass, 2) && ok;
}

// The button glyphs: "Назад" takes a move back (a round arrow), "Выход"
// closes the window (a cross). Drawn on a 16-unit grid at the size asked for,
// so the 16-pixel glyph stays crisp and the 32-pixel one serves HiDPI screens.
QImage newGlyph(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage retryGlyph(int size)
{
    const QColor edge(0x1C, 0x4E, 0x8C);
    const QColor body(0x3C, 0x8D, 0xE0);
    const QColor light(0xA6, 0xD2, 0xF7);
    QImage img = newGlyph(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);

    // Three quarters of a ring, open at the upper right, then the head.
    const QRectF ring(2.6, 3.0, 10.8, 10.8);
    QPainterPath arc;
    arc.arcMoveTo(ring, 70);
    arc.arcTo(ring, 70, 255);
    p.strokePath(arc, QPen(edge, 3.4, Qt::SolidLine, Qt::FlatCap));
    p.strokePath(arc, QPen(body, 1.8, Qt::SolidLine, Qt::FlatCap));
    p.strokePath(arc, QPen(light, 0.6, Qt::SolidLine, Qt::FlatCap));

    const QPolygonF head({QPointF(8.4, 1.0), QPointF(14.0, 4.0), QPointF(9.0, 8.0)});
    p.setPen(QPen(edge, 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(body);
    p.drawPolygon(head);
    p.end();
    return img;
}

QImage closeGlyph(int size)
{
    const QColor ink(0x22, 0x22, 0x22);
    const QColor shine(0x6A, 0x6A, 0x6A);
    QImage img = newGlyph(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    for (const QLineF &line : {QLineF(3.5, 3.5, 12.5, 12.5), QLineF(12.5, 3.5, 3.5, 12.5)}) {
        p.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(line);
        p.setPen(QPen(shine, 0.7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(line.translated(-0.35, -0.35));
    }
    p.end();
    return img;
}

bool save(const QImage &img, const QString &path, const char *format)
{
    if (img.save(path, format))
        return true;
    std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(path));
    return false;
}

// The drawIcon() picture as SVG, for the hicolor scalable folder. Same 32-unit
// grid, shapes and colours; Qt's default pen has square caps and bevel joins.
// The art test renders it and compares it with the 256 px bitmap, so the two
// cannot drift apart unnoticed.
const char kScalableIcon[] = R"svg(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="128" height="128" viewBox="0 0 32 32">
  <title>Сосудник</title>
  <defs>
    <clipPath id="in-glass">
      <polygon points="17.5,15.5 30.5,15.5 29,30.5 19,30.5"/>
    </clipPath>
    <path id="jug" d="M-3.8,-9 C-2.6,-7.5 -2.4,-6 -2.6,-5 C-5.5,-3 -6.8,-0.5 -6.6,3 C-6.4,6.5 -4.5,9.5 0,9.5
      C4.5,9.5 6.4,6.5 6.6,3 C6.8,-0.5 5.5,-3 2.6,-5 C2.4,-6 3,-7.5 5.6,-9.6 Z"/>
    <clipPath id="in-jug">
      <use href="#jug"/>
    </clipPath>
  </defs>
  <g stroke-linejoin="bevel" stroke-linecap="square">
    <polygon points="17.5,15.5 30.5,15.5 29,30.5 19,30.5" fill="#dceffa" stroke="#3e5c78"/>
    <g clip-path="url(#in-glass)">
      <rect x="16" y="22.5" width="16" height="10" fill="#2f80da"/>
      <rect x="16" y="22.5" width="16" height="1.5" fill="#8cc8f5"/>
    </g>
    <polygon points="17.5,15.5 30.5,15.5 29,30.5 19,30.5" fill="none" stroke="#3e5c78"/>
    <line x1="20" y1="17.5" x2="21" y2="28.5" stroke="#ffffff"/>
    <g fill="none" stroke-linecap="round">
      <path d="M19.6,9.2 C22.6,10 23.6,14 23.6,23" stroke="#2f80da" stroke-width="2.2"/>
      <path d="M19.6,9.2 C22.6,10 23.6,14 23.6,23" stroke="#8cc8f5" stroke-width="0.7"/>
    </g>
    <g transform="translate(8.85 12) rotate(45)">
      <g fill="none" stroke-linecap="round">
        <path d="M-2.8,-6.6 C-9.6,-7.6 -9.6,1 -5.6,3" stroke="#4a2616" stroke-width="3"/>
        <path d="M-2.8,-6.6 C-9.6,-7.6 -9.6,1 -5.6,3" stroke="#c8652f" stroke-width="1.2"/>
      </g>
      <use href="#jug" fill="#c8652f" stroke="#4a2616"/>
      <g clip-path="url(#in-jug)">
        <rect x="-8" y="-11" width="16" height="21" fill="#8a4522"/>
        <ellipse cx="-2.35" cy="1.25" rx="7.15" ry="8.75" fill="#c8652f"/>
        <rect x="-8" y="0.6" width="16" height="1.8" fill="#f3d9a8"/>
        <circle cx="-3.7" cy="-1.3" r="1.5" fill="#e89358"/>
      </g>
      <use href="#jug" fill="none" stroke="#4a2616"/>
      <ellipse cx="0.3" cy="-9" rx="4.2" ry="1.2" fill="#2f80da" stroke="#4a2616"/>
    </g>
  </g>
</svg>
)svg";

// The launcher's icons in the hicolor layout they are installed in, named by
// the application id: full colour at every size a desktop asks for.
bool desktopIcons(const QDir &out)
{
    bool ok = true;
    const QString name = QStringLiteral(SOSUDNIK_APP_ID);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("icons/hicolor/%1x%1/apps").arg(size);
        ok = out.mkpath(dir) && save(renderIcon(size), out.filePath(dir + '/' + name + ".png"), "PNG") && ok;
    }
    const QString scalable = QStringLiteral("icons/hicolor/scalable/apps");
    QFile svg(out.filePath(scalable + '/' + name + ".svg"));
    if (!out.mkpath(scalable) || !svg.open(QIODevice::WriteOnly) || svg.write(kScalableIcon) < 0) {
        std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(svg.fileName()));
        return false;
    }
    return ok;
}

// Each glyph at 16 pixels and, as NAME@2x.png, at 32.
bool saveGlyphs(const QDir &out)
{
    bool ok = true;
    for (int size : {16, 32}) {
        const QString suffix = size == 16 ? QStringLiteral(".png") : QStringLiteral("@2x.png");
        const QImage retry = retryGlyph(size).convertToFormat(QImage::Format_ARGB32);
        const QImage close = closeGlyph(size).convertToFormat(QImage::Format_ARGB32);
        ok = save(retry, out.filePath(QStringLiteral("glyph_retry") + suffix), "PNG") && ok;
        ok = save(close, out.filePath(QStringLiteral("glyph_close") + suffix), "PNG") && ok;
    }
    return ok;
}

// Beside each picture the game shows in its first frame, its pixels as they
// are (premultiplied RGBA, one byte each, row by row): the game takes them
// without a PNG decoder (EmbeddedPicture in ui/look/appearance.h). Read back
// from the PNGs just written, so both hold the same pixels.
bool saveRawTwins(const QDir &out)
{
    bool ok = true;
    for (const char *name : {"sosudnik", "glyph_retry", "glyph_retry@2x", "glyph_close", "glyph_close@2x"}) {
        const QImage png(out.filePath(QString::fromLatin1(name) + ".png"), "PNG");
        const QImage raw = png.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
        QFile file(out.filePath(QString::fromLatin1(name) + ".rgba"));
        const qsizetype bytes = raw.sizeInBytes();
        if (png.isNull() || raw.bytesPerLine() != raw.width() * 4 || !file.open(QIODevice::WriteOnly)
            || file.write(reinterpret_cast<const char *>(raw.constBits()), bytes) != bytes) {
            std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(file.fileName()));
            ok = false;
        }
    }
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    // Fonts need a platform plugin; offscreen works without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QGuiApplication::arguments();
    if (args.size() > 2) {
        std::fprintf(stderr, "usage: sosudnik_artgen [output-directory]\n");
        return 2;
    }
    const QDir out(args.size() == 2 ? args.at(1) : QDir::currentPath());
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "artgen: cannot create %s\n", qPrintable(out.path()));
        return 1;
    }

    const QFontInfo used(bookFont(16, false));
    if (!used.family().startsWith(QLatin1String("Liberation")))
        std::fprintf(stderr, "artgen: Liberation Serif not found, using %s\n", qPrintable(used.family()));

    bool ok = milkPicture(out.filePath(QStringLiteral("task_milk.bmp")));
    ok = kvassPicture(out.filePath(QStringLiteral("task_kvass.bmp"))) && ok;
    ok = doubleSizePictures(out) && ok;
    const QImage icon = smallIcon();
    ok = save(icon, out.filePath(QStringLiteral("sosudnik.png")), "PNG") && ok;
    ok = save(icon.convertToFormat(QImage::Format_ARGB32), out.filePath(QStringLiteral("sosudnik.ico")), "ICO") && ok;
    ok = desktopIcons(out) && ok;
    ok = saveGlyphs(out) && ok;
    ok = saveRawTwins(out) && ok;
    return ok ? 0 : 1;
}
