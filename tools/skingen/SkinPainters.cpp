#include "SkinPainters.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "SkinPalette.h"

#define PAL CurrentPalette()

namespace {
QImage Blank(QSize sz) {
    QImage img(sz, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void Smooth(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
}

// A rounded plate with a faint top highlight: the shape of every push control.
void Plate(QPainter& p, const QRectF& rc, double dRadius, const QColor& clrFill,
           const QColor& clrEdge) {
    QLinearGradient grad(rc.topLeft(), rc.bottomLeft());
    grad.setColorAt(0.0, clrFill.lighter(112));
    grad.setColorAt(1.0, clrFill);
    p.setBrush(grad);
    p.setPen(QPen(clrEdge, 1.0));
    p.drawRoundedRect(rc.adjusted(0.5, 0.5, -0.5, -0.5), dRadius, dRadius);
}

void StatePlate(QPainter& p, const QRectF& rc, double dRadius, int nState) {
    switch (nState) {
    case 1:
        Plate(p, rc, dRadius, PAL.kRaisedHi, PAL.kAccent);
        break;
    case 2:
        Plate(p, rc, dRadius, PAL.kAccentDeep, PAL.kAccent.lighter(115));
        break;
    default:
        Plate(p, rc, dRadius, PAL.kRaised, PAL.kEdge);
        break;
    }
}
} // namespace

namespace SkinPainters {
QImage Button(QSize sz, int nState) {
    QImage img = Blank(sz);
    QPainter p(&img);
    Smooth(p);
    StatePlate(p, QRectF(0, 0, sz.width(), sz.height()), 5, nState);
    return img;
}

QImage Combo(QSize sz, int nState) {
    QImage img = Button(sz, nState);
    QPainter p(&img);
    Smooth(p);
    // The chevron shows this button opens a list.
    const double cx = sz.width() - 14, cy = sz.height() / 2.0;
    QPen pen(nState == 0 ? PAL.kText : nState == 1 ? PAL.kAccent : QColor(Qt::white), 1.8);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    const QPointF pts[3] = {{cx - 4, cy - 2}, {cx, cy + 2}, {cx + 4, cy - 2}};
    p.drawPolyline(pts, 3);
    p.setPen(QPen(PAL.kEdge, 1));
    p.drawLine(QPointF(sz.width() - 27.5, 6), QPointF(sz.width() - 27.5, sz.height() - 6));
    return img;
}

QImage Check(int nSize, int nState) {
    QImage img = Blank(QSize(nSize, nSize));
    QPainter p(&img);
    Smooth(p);
    const QRectF rc(1, 1, nSize - 2, nSize - 2);
    if (nState == 2) {
        Plate(p, rc, 3, PAL.kAccent, PAL.kAccent.lighter(120));
        QPen pen(PAL.kInk, 2.0);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        const QPointF pts[3] = {{nSize * 0.26, nSize * 0.52},
                                {nSize * 0.43, nSize * 0.70},
                                {nSize * 0.75, nSize * 0.32}};
        p.drawPolyline(pts, 3);
    } else {
        Plate(p, rc, 3, nState == 1 ? PAL.kRaisedHi : PAL.kRaised,
              nState == 1 ? PAL.kAccent : PAL.kEdge.lighter(120));
    }
    return img;
}

QImage Radio(int nSize, int nState) {
    QImage img = Blank(QSize(nSize, nSize));
    QPainter p(&img);
    Smooth(p);
    const QRectF rc(1, 1, nSize - 2, nSize - 2);
    p.setBrush(nState == 1 ? PAL.kRaisedHi : PAL.kRaised);
    p.setPen(QPen(nState == 0 ? PAL.kEdge.lighter(120) : PAL.kAccent, 1.2));
    p.drawEllipse(rc);
    if (nState == 2) {
        p.setBrush(PAL.kAccent);
        p.setPen(Qt::NoPen);
        p.drawEllipse(rc.center(), nSize * 0.24, nSize * 0.24);
    }
    return img;
}

QImage Track(QSize sz, bool bFilled) {
    QImage img = Blank(sz);
    QPainter p(&img);
    Smooth(p);
    const double h = 4.0;
    const QRectF rc(0, (sz.height() - h) / 2.0, sz.width(), h);
    p.setPen(Qt::NoPen);
    if (bFilled) {
        QLinearGradient grad(rc.topLeft(), rc.topRight());
        grad.setColorAt(0.0, PAL.kAccentDeep.lighter(130));
        grad.setColorAt(1.0, PAL.kAccent);
        p.setBrush(grad);
    } else {
        p.setBrush(PAL.kTrack);
    }
    p.drawRoundedRect(rc, h / 2, h / 2);
    return img;
}

QImage Thumb(int nSize, int nState) {
    QImage img = Blank(QSize(nSize, nSize));
    QPainter p(&img);
    Smooth(p);
    const QRectF rc(1.5, 1.5, nSize - 3, nSize - 3);
    p.setBrush(nState == 2 ? PAL.kAccent : QColor(0xF4, 0xF6, 0xF9));
    p.setPen(QPen(nState == 0 ? PAL.kAccentDeep.lighter(140) : PAL.kAccent, 2.0));
    p.drawEllipse(rc);
    return img;
}

QImage Mark(QSize sz) {
    QImage img = Blank(sz);
    QPainter p(&img);
    p.fillRect(QRect((sz.width() - 2) / 2, 0, 2, sz.height()), PAL.kEdge.lighter(140));
    return img;
}

QImage Glyph(int nSize, int nState, char cGlyph) {
    QImage img = Blank(QSize(nSize, nSize));
    QPainter p(&img);
    Smooth(p);
    if (nState != 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(cGlyph == 'x' ? QColor(0xC8, 0x3C, 0x3C) : PAL.kRaisedHi);
        p.drawRoundedRect(QRectF(0, 0, nSize, nSize), 4, 4);
    }
    QPen pen(nState != 0 && cGlyph == 'x' ? QColor(Qt::white) : PAL.kText, 1.8);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    const double a = nSize * 0.33, b = nSize * 0.67;
    if (cGlyph == 'x') {
        p.drawLine(QPointF(a, a), QPointF(b, b));
        p.drawLine(QPointF(b, a), QPointF(a, b));
    } else {
        p.drawLine(QPointF(a, nSize * 0.55), QPointF(b, nSize * 0.55));
    }
    return img;
}

QImage Tab(QSize sz, int nState) {
    QImage img = Blank(sz);
    QPainter p(&img);
    Smooth(p);
    p.setPen(Qt::NoPen);
    p.setBrush(nState == 1 ? PAL.kRaisedHi : nState == 2 ? PAL.kPanel.lighter(120) : PAL.kPanel);
    p.drawRoundedRect(QRectF(0, 0, sz.width(), sz.height() + 6), 6, 6);
    if (nState == 2)
        p.fillRect(QRectF(8, sz.height() - 3, sz.width() - 16, 3), PAL.kAccent);
    return img;
}

QImage MenuItem(QSize sz, bool bHover, bool bSub) {
    QImage img(sz, QImage::Format_RGB32); // menus take bitmaps without alpha
    img.fill(bSub ? PAL.kMenuSub : PAL.kMenu);
    QPainter p(&img);
    if (bHover) {
        p.fillRect(QRect(0, 0, sz.width(), sz.height()), PAL.kAccentDeep);
        p.fillRect(QRect(0, 0, 3, sz.height()), PAL.kAccent);
    }
    return img;
}

QImage MessageBox(QSize sz) {
    QImage img = Blank(sz);
    QPainter p(&img);
    Smooth(p);
    const QRectF rc(0, 0, sz.width(), sz.height());
    p.setBrush(PAL.kPanel);
    p.setPen(QPen(PAL.kEdge, 1.0));
    p.drawRoundedRect(rc.adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    // Title strip with the accent line under it.
    QPainterPath path;
    path.addRoundedRect(rc.adjusted(1, 1, -1, 0), 9, 9);
    QPainterPath strip;
    strip.addRect(QRectF(1, 1, sz.width() - 2, 44));
    p.setPen(Qt::NoPen);
    p.setBrush(PAL.kBase);
    p.drawPath(path.intersected(strip));
    p.fillRect(QRectF(1, 45, sz.width() - 2, 1), PAL.kAccent);
    p.fillRect(QRectF(1, sz.height() - 56, sz.width() - 2, 1), PAL.kEdge);
    return img;
}

QImage MessageIcon(int nSize) {
    QImage img = Blank(QSize(nSize, nSize));
    QPainter p(&img);
    Smooth(p);
    p.setPen(Qt::NoPen);
    p.setBrush(PAL.kAccent);
    p.drawEllipse(QRectF(1, 1, nSize - 2, nSize - 2));
    p.setBrush(PAL.kInk);
    const double c = nSize / 2.0;
    p.drawEllipse(QPointF(c, nSize * 0.28), nSize * 0.07, nSize * 0.07);
    p.drawRoundedRect(QRectF(c - nSize * 0.065, nSize * 0.40, nSize * 0.13, nSize * 0.36), 2, 2);
    return img;
}

QImage Folder(int nSize, bool bOpen) {
    QImage img = Blank(QSize(nSize, nSize));
    QPainter p(&img);
    Smooth(p);
    const double s = nSize;
    p.setPen(Qt::NoPen);
    p.setBrush(PAL.kAccentDeep.lighter(120));
    QPainterPath back;
    back.moveTo(s * 0.08, s * 0.22);
    back.lineTo(s * 0.40, s * 0.22);
    back.lineTo(s * 0.50, s * 0.32);
    back.lineTo(s * 0.92, s * 0.32);
    back.lineTo(s * 0.92, s * 0.84);
    back.lineTo(s * 0.08, s * 0.84);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(PAL.kAccent);
    QPainterPath front;
    if (bOpen) {
        front.moveTo(s * 0.20, s * 0.45);
        front.lineTo(s * 1.00, s * 0.45);
        front.lineTo(s * 0.86, s * 0.84);
        front.lineTo(s * 0.06, s * 0.84);
    } else {
        front.moveTo(s * 0.08, s * 0.40);
        front.lineTo(s * 0.92, s * 0.40);
        front.lineTo(s * 0.92, s * 0.84);
        front.lineTo(s * 0.08, s * 0.84);
    }
    front.closeSubpath();
    p.drawPath(front);
    return img;
}

QImage TreeItem(int nSize) {
    QImage img = Blank(QSize(nSize, nSize));
    QPainter p(&img);
    Smooth(p);
    const double s = nSize;
    p.setPen(QPen(PAL.kText, 1.2));
    p.setBrush(PAL.kRaised);
    p.drawRoundedRect(QRectF(s * 0.18, s * 0.10, s * 0.64, s * 0.80), 2, 2);
    p.setPen(QPen(PAL.kAccent, 1.2));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(s * 0.32, s * (0.32 + 0.18 * i)),
                   QPointF(s * 0.68, s * (0.32 + 0.18 * i)));
    return img;
}

QImage MainWindow(QSize sz) {
    QImage img(sz, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    Smooth(p);
    QLinearGradient grad(0, 0, 0, sz.height());
    grad.setColorAt(0.0, PAL.kBase.lighter(108));
    grad.setColorAt(1.0, PAL.kBase);
    p.fillRect(img.rect(), grad);
    // A soft glow of the accent behind the device picture.
    QRadialGradient glow(QPointF(sz.width() * 0.53, sz.height() * 0.36), sz.width() * 0.32);
    QColor clrGlow = PAL.kAccent;
    clrGlow.setAlpha(34);
    glow.setColorAt(0.0, clrGlow);
    glow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(img.rect(), glow);
    // Title bar and the accent rule under it.
    p.fillRect(QRect(0, 0, sz.width(), 36), PAL.kBar);
    p.fillRect(QRect(0, 36, sz.width(), 1), PAL.kAccent);
    // Panels: keys on the left, resolution on the right, profiles and devices below.
    auto panel = [&p](const QRectF& rc) {
        QColor clr = PAL.kPanel;
        clr.setAlpha(230);
        p.setBrush(clr);
        p.setPen(QPen(PAL.kEdge, 1.0));
        p.drawRoundedRect(rc.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    };
    const double w = sz.width(), h = sz.height();
    panel(QRectF(w * 0.02, 48, w * 0.30, h * 0.58));
    panel(QRectF(w * 0.735, 48, w * 0.245, h * 0.58));
    panel(QRectF(w * 0.02, h * 0.66, w * 0.96, h * 0.31));
    return img;
}
namespace {
// The outline of the demo mouse seen from above, in a 360x380 picture.
QPainterPath MouseBody() {
    QPainterPath path;
    path.moveTo(190, 36);
    path.cubicTo(250, 36, 286, 80, 288, 150);
    path.cubicTo(292, 250, 270, 350, 190, 356);
    path.cubicTo(110, 350, 88, 250, 92, 150);
    path.cubicTo(94, 80, 130, 36, 190, 36);
    return path;
}
} // namespace

QImage MousePicture(QSize sz, bool bPressed, bool bSecondView) {
    QImage img(sz, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    Smooth(p);
    const QPainterPath body = MouseBody();
    QLinearGradient grad(0, 36, 0, 356);
    grad.setColorAt(0.0, PAL.kRaisedHi);
    grad.setColorAt(1.0, PAL.kPanel);
    p.setPen(QPen(PAL.kEdge, 2.0));
    p.setBrush(grad);
    p.drawPath(body);
    // Buttons: the two main keys, the wheel, the resolution key and the side keys, placed
    // where the demo's key marks expect them.
    const QRectF rcLeft(120, 60, 60, 90), rcRight(200, 60, 60, 90), rcWheel(182, 80, 16, 40),
        rcDpi(182, 130, 16, 20);
    const QRectF rcSide[4] = {QRectF(100, 170, 20, 30), QRectF(100, 205, 20, 30),
                              QRectF(97, 120, 16, 20), QRectF(97, 145, 16, 20)};
    QColor clrKey = bPressed ? PAL.kAccent : PAL.kRaised;
    QColor clrKeyEdge = bPressed ? PAL.kAccent.lighter(130) : PAL.kEdge;
    p.setPen(QPen(clrKeyEdge, 1.2));
    p.setBrush(clrKey);
    if (!bSecondView) {
        p.drawRoundedRect(rcLeft, 10, 10);
        p.drawRoundedRect(rcRight, 10, 10);
        p.drawRoundedRect(rcDpi, 4, 4);
        for (const QRectF& rc : rcSide)
            p.drawRoundedRect(rc, 4, 4);
    } else {
        // The second view shows the lower side of the mouse: the sensor window.
        p.drawEllipse(QRectF(170, 200, 40, 40));
    }
    p.setBrush(bPressed ? PAL.kAccentDeep : PAL.kBase);
    p.drawRoundedRect(rcWheel, 7, 7);
    // The lit logo ring that the light preview tints.
    p.setPen(QPen(PAL.kAccent, bPressed ? 4.0 : 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(165, 260, 50, 50));
    return img;
}

QImage MouseLightMask(QSize sz) {
    // Only the alpha channel counts: the logo ring and a strip around the lower edge.
    QImage img(sz, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    Smooth(p);
    p.setPen(QPen(QColor(255, 255, 255, 255), 6.0));
    p.drawEllipse(QRectF(165, 260, 50, 50));
    p.setPen(QPen(QColor(255, 255, 255, 160), 4.0));
    p.drawArc(QRectF(96, 200, 188, 150), 200 * 16, 140 * 16);
    return img;
}
} // namespace SkinPainters
