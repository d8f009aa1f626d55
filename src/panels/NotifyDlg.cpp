#include "panels/NotifyDlg.h"

#include <QPainter>

#include "config/GlobalVar.h"
#include "widgets/SkinImage.h"

CNotifyDlg::CNotifyDlg(QWidget* pOwner, int nOffsetX, int nOffsetY)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      m_pOwner(pOwner), m_nOffsetX(nOffsetX), m_nOffsetY(nOffsetY) {
    setObjectName("CNotifyDlg");
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(180, 70);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &QWidget::hide);
}

void CNotifyDlg::ShowTexts(const std::string& strLevel, const std::string& strValue,
                           const std::string& strValue2, const std::string& strMode) {
    QStringList v;
    for (const std::string* p : {&strMode, &strLevel, &strValue, &strValue2})
        if (!p->empty())
            v << QString::fromStdString(*p);
    m_strText = v.join('\n');
    ++m_nShown;
    if (m_pOwner)
        move(m_pOwner->mapToGlobal(QPoint(m_nOffsetX, m_nOffsetY)));
    setWindowOpacity(gVar.PopWndTrans / 255.0);
    show();
    update();
    m_timer.start(kShowMs);
}

void CNotifyDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), ColorFromRef(gVar.ClrPopWndBkg));
    p.setPen(ColorFromRef(gVar.ClrPopWndFrame));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(ColorFromRef(gVar.Txt_clr));
    p.drawText(rect().adjusted(8, 4, -8, -4), Qt::AlignCenter, m_strText);
}
