#include "app/PlainMainWindow.h"

#include <QImage>
#include <QPainter>

#include "config/GlobalVar.h"
#include "config/Log.h"
#include "platform/FileLookup.h"

CPlainMainWindow::CPlainMainWindow(const QString& strTitle, QWidget* pParent) : QWidget(pParent) {
    setWindowTitle(strTitle);
    resize(1000, 650);
}

void CPlainMainWindow::OnTrayMessage(intptr_t lParam) {
    if (lParam != 515)
        return;
    LogPrint("Show window (message 1132, lParam=%d)", static_cast<int>(lParam));
    showNormal();
    raise();
    activateWindow();
}

void CPlainMainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QImage img(QString::fromStdString(FileLookup::Resolve(GetSkinDir(gVar), "main_nr.png")));
    if (!img.isNull())
        painter.drawImage(0, 0, img);
    else
        painter.fillRect(rect(), QColor(24, 26, 31));
    painter.setPen(QColor(220, 220, 220));
    painter.drawText(rect(), Qt::AlignCenter, windowTitle());
}
