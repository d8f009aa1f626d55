#include "ShellPainters.h"

#include <QPainter>

#include "SkinPainters.h"
#include "SkinPalette.h"

namespace SkinPainters {
QImage GlyphButton(QSize sz, int nState, char cGlyph) {
    QImage img = Button(sz, nState);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(CurrentPalette().kText, 1.8);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    const QPointF c(sz.width() / 2.0, sz.height() / 2.0);
    const double r = sz.height() * 0.25;
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
    if (cGlyph == '+')
        p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
    return img;
}

QImage DeviceIcon(int nSize, char cKind) {
    QImage img(nSize, nSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(CurrentPalette().kAccent, 1.5));
    p.setBrush(Qt::NoBrush);
    const double s = nSize;
    switch (cKind) {
    case 'm': // a mouse seen from above: body and the wheel line
        p.drawRoundedRect(QRectF(s * 0.3, s * 0.1, s * 0.4, s * 0.8), s * 0.2, s * 0.2);
        p.drawLine(QPointF(s * 0.5, s * 0.18), QPointF(s * 0.5, s * 0.4));
        break;
    case 'k': // a keyboard: frame and two rows of keys
        p.drawRoundedRect(QRectF(s * 0.08, s * 0.28, s * 0.84, s * 0.44), 2, 2);
        for (int i = 0; i < 4; ++i) {
            p.drawPoint(QPointF(s * (0.22 + 0.19 * i), s * 0.42));
            p.drawPoint(QPointF(s * (0.22 + 0.19 * i), s * 0.58));
        }
        break;
    default: // a pad: a flat rounded sheet
        p.drawRoundedRect(QRectF(s * 0.1, s * 0.3, s * 0.8, s * 0.4), 4, 4);
        break;
    }
    return img;
}

QImage PadPicture(QSize sz) {
    QImage img(sz, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF rc(10, sz.height() * 0.2, sz.width() - 20, sz.height() * 0.6);
    p.setPen(QPen(CurrentPalette().kAccent, 2.0));
    p.setBrush(CurrentPalette().kPanel);
    p.drawRoundedRect(rc, 18, 18);
    p.setPen(QPen(CurrentPalette().kEdge, 1.0));
    p.drawRoundedRect(rc.adjusted(8, 8, -8, -8), 12, 12);
    return img;
}
} // namespace SkinPainters
