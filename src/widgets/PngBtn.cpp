#include "widgets/PngBtn.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

CPngBtn::CPngBtn(QWidget* pParent, int nId) : QWidget(pParent), m_nId(nId) {
    setMouseTracking(true);
    // The button paints every pixel itself, over its background piece.
    setAttribute(Qt::WA_TranslucentBackground, false);
}

void CPngBtn::SetImages(const QImage& imgNormal, const QImage& imgHover, const QImage& imgPressed) {
    m_imgNormal = imgNormal;
    m_imgHover = imgHover;
    m_imgPressed = imgPressed;
    m_imgDisabled = imgNormal;
    update();
}

void CPngBtn::SetImagePieces(const QImage& imgNormal, const QImage& imgHover,
                             const QImage& imgPressed, const QRect& rcPiece) {
    SetImages(imgNormal.copy(rcPiece), imgHover.copy(rcPiece), imgPressed.copy(rcPiece));
}

void CPngBtn::SetIcon(const QImage& imgIcon, int nIconX) {
    m_imgIcon = imgIcon;
    m_nIconX = nIconX;
    update();
}

void CPngBtn::SetCaption(const std::string& strCaption, int nTextX, int nFormat) {
    m_strCaption = QString::fromStdString(strCaption);
    m_nTextX = nTextX;
    m_nFormat = nFormat;
    update();
}

void CPngBtn::SetColors(const QColor& clrNr, const QColor& clrOv, const QColor& clrDn) {
    m_clrNr = clrNr;
    m_clrOv = clrOv;
    m_clrDn = clrDn;
    update();
}

void CPngBtn::SetCheckable(bool bCheckable, bool bAutoToggle) {
    m_bCheckable = bCheckable;
    m_bAutoToggle = bCheckable && bAutoToggle;
    update();
}

void CPngBtn::SetTicked(bool bTicked) {
    m_bTicked = bTicked;
    update();
}

void CPngBtn::SetToolTipText(const std::string& str) {
    setToolTip(QString::fromStdString(str));
}

CPngBtn::DrawState CPngBtn::CurrentDrawState() const {
    const bool bDisabled = !isEnabled();
    if (m_bCheckable) {
        // A ticked box that is disabled must not look pressed: the user could not untick it.
        if (m_bTicked && bDisabled)
            return {3, m_clrNr, false};
        if (m_bTicked)
            return {2, m_clrDn, m_bPressOffset};
        if (m_bHovered && !bDisabled)
            return {1, m_clrOv, false};
        if (bDisabled)
            return {3, m_clrNr, false};
        return {0, m_clrNr, false};
    }
    if (m_bTicked)
        return {2, m_clrDn, false};
    if (m_bPressed && !bDisabled)
        return {2, m_clrDn, m_bPressOffset};
    if (m_bHovered && !bDisabled)
        return {1, m_clrOv, false};
    if (bDisabled)
        return {3, m_clrNr, false};
    return {0, m_clrNr, false};
}

void CPngBtn::DrawInto(QPainter& p) {
    if (!m_imgBkg.isNull())
        p.drawImage(0, 0, m_imgBkg);
    const DrawState st = CurrentDrawState();
    const QImage* pImg = &m_imgNormal;
    switch (st.nImage) {
    case 1:
        pImg = &m_imgHover;
        break;
    case 2:
        pImg = &m_imgPressed;
        break;
    case 3:
        pImg = &m_imgDisabled;
        break;
    default:
        break;
    }
    const int dx = st.bMoved ? -1 : 0, dy = st.bMoved ? 1 : 0;
    if (!pImg->isNull())
        p.drawImage(dx, dy, *pImg);
    if (!m_imgIcon.isNull())
        p.drawImage(m_nIconX + dx, (height() - m_imgIcon.height()) / 2, m_imgIcon);
    if (!m_strCaption.isEmpty()) {
        QRect rc = m_rcText.isNull() ? rect() : m_rcText;
        rc.setLeft(rc.left() + m_nTextX);
        rc.translate(dx, dy);
        int nFlags = m_nFormat;
        QString str = m_strCaption;
        if (nFlags == 0) {
            nFlags = Qt::AlignVCenter | Qt::TextSingleLine |
                     (m_nTextX < 1 ? Qt::AlignHCenter : Qt::AlignLeft);
            str = p.fontMetrics().elidedText(str, Qt::ElideRight, rc.width());
        }
        p.setFont(font());
        p.setPen(st.clrText);
        p.drawText(rc, nFlags, str);
    }
}

void CPngBtn::paintEvent(QPaintEvent*) {
    // Off-screen first, then one copy, so a redraw never shows half a button.
    QImage img(size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter pm(&img);
        DrawInto(pm);
    }
    QPainter p(this);
    if (!m_rgnClip.isEmpty())
        p.setClipRegion(m_rgnClip);
    p.drawImage(0, 0, img);
    if (m_bFrame) {
        p.setClipping(false);
        p.setPen(QColor(0xFF, 0x00, 0x0A)); // 0xFF000A as red, green, blue
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CPngBtn::mouseMoveEvent(QMouseEvent* pEvent) {
    if (!m_bHovered) {
        m_bHovered = true;
        update();
    }
    QWidget::mouseMoveEvent(pEvent);
}

void CPngBtn::leaveEvent(QEvent* pEvent) {
    if (m_bHovered) {
        m_bHovered = false;
        update();
    }
    QWidget::leaveEvent(pEvent);
}

void CPngBtn::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton)
        return;
    m_bPressed = true;
    if (m_bCheckable && m_bAutoToggle)
        m_bTicked = !m_bTicked;
    update();
}

void CPngBtn::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton || !m_bPressed)
        return;
    m_bPressed = false;
    update();
    if (rect().contains(pEvent->position().toPoint()))
        OnClicked();
}

void CPngBtn::changeEvent(QEvent* pEvent) {
    if (pEvent->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            m_bPressed = false;
        update();
    }
    QWidget::changeEvent(pEvent);
}

void CPngBtn::OnClicked() {
    // The signal is the only report of a click: an owner that also took a command message
    // for it would run every command twice.
    emit clicked(m_nId);
}
