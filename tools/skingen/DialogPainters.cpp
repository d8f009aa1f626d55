#include "DialogPainters.h"

#include <QLinearGradient>
#include <QPainter>

#include "SkinPainters.h"
#include "SkinPalette.h"

namespace SkinPainters {
QImage ProgressWindow(QSize sz, bool bFilled) {
    QImage img = MessageBox(sz);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    // The bar the window fills: (45, 101) to (486, 123).
    const QRectF rcBar(45, 101, 441, 22);
    p.setPen(QPen(CurrentPalette().kEdge, 1.0));
    if (bFilled) {
        QLinearGradient grad(rcBar.topLeft(), rcBar.topRight());
        grad.setColorAt(0.0, CurrentPalette().kAccentDeep.lighter(130));
        grad.setColorAt(1.0, CurrentPalette().kAccent);
        p.setBrush(grad);
    } else {
        p.setBrush(CurrentPalette().kTrack);
    }
    p.drawRoundedRect(rcBar.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    return img;
}

QImage OptionsDialog(QSize sz) {
    QImage img = MessageBox(sz);
    QPainter p(&img);
    // Rules between the sound, language and skin groups.
    p.fillRect(QRectF(40, 128, sz.width() - 80, 1), CurrentPalette().kEdge);
    p.fillRect(QRectF(40, 203, sz.width() - 80, 1), CurrentPalette().kEdge);
    return img;
}

QImage Dots(int nSize, int nState) {
    QImage img = Button(QSize(nSize, 20), nState);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(nState == 1 ? CurrentPalette().kAccent : CurrentPalette().kText);
    for (int i = -1; i <= 1; ++i)
        p.drawEllipse(QPointF(nSize / 2.0 + i * 6, 10), 1.6, 1.6);
    return img;
}
} // namespace SkinPainters
