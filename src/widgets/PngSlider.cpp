#include "widgets/PngSlider.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "platform/MessageBox.h"
#include "widgets/SliderGeometry.h"
#include "widgets/WndMessage.h"

CPngSlider::CPngSlider(CPngSliderBar* pBar, const QImage& imgThumb, int nId, bool bVertical,
                       int nMin, int nMax)
    : QWidget(pBar ? pBar->parentWidget() : nullptr), m_pBar(pBar), m_imgThumb(imgThumb),
      m_nId(nId), m_bVertical(bVertical), m_nMin(nMin), m_nMax(std::max(nMin, nMax)), m_nPos(nMin) {
    resize(imgThumb.size());
    if (pBar)
        pBar->AttachSlider(this);
    Reposition();
}

void CPngSlider::SetRange(int nMin, int nMax) {
    m_nMin = nMin;
    m_nMax = std::max(nMin, nMax);
    m_nPos = std::clamp(m_nPos, m_nMin, m_nMax);
    Reposition();
}

int CPngSlider::TrackLength() const {
    if (!m_pBar)
        return 0;
    return m_bVertical ? m_pBar->height() : m_pBar->width();
}

int CPngSlider::StepPos(int nStep) const {
    return SliderStepPos(TrackLength(), m_nMax - m_nMin, nStep, m_vScale);
}

int CPngSlider::StepAt(int nPixel) const {
    return SliderStepAt(TrackLength(), m_nMax - m_nMin, nPixel, m_vScale);
}

int CPngSlider::CenterPixel() const {
    if (!m_pBar)
        return 0;
    return m_bVertical ? y() + height() / 2 - m_pBar->y() : x() + width() / 2 - m_pBar->x();
}

void CPngSlider::PlaceAt(int nPixel) {
    if (!m_pBar)
        return;
    nPixel = std::clamp(nPixel, 0, TrackLength());
    const QRect rcBar = m_pBar->geometry();
    if (m_bVertical)
        move(rcBar.left() + (rcBar.width() - width()) / 2, rcBar.top() + nPixel - height() / 2);
    else
        move(rcBar.left() + nPixel - width() / 2, rcBar.top() + (rcBar.height() - height()) / 2);
    m_pBar->SetFillPos(nPixel);
}

void CPngSlider::Reposition() {
    PlaceAt(StepPos(m_nPos - m_nMin));
}

int CPngSlider::ReportedValue(int nPos) const {
    if (!m_vList.empty()) {
        if (nPos < 0 || nPos >= static_cast<int>(m_vList.size()))
            return 0;
        return m_vList[static_cast<size_t>(nPos)];
    }
    return nPos;
}

int CPngSlider::Value() const {
    if (m_nPos < m_nMin || m_nPos > m_nMax)
        return 0;
    return ReportedValue(m_nPos);
}

void CPngSlider::Post(uint32_t nMsg, int nValue) {
    QWidget* pTarget = m_pBar ? m_pBar->parentWidget() : parentWidget();
    PostWndMessage(pTarget, nMsg, static_cast<uintptr_t>(static_cast<uint32_t>(nValue)), m_nId);
}

void CPngSlider::SetPos(int nPos, bool bNotify) {
    m_nPos = std::clamp(nPos, m_nMin, m_nMax);
    Reposition();
    if (bNotify)
        Post(WM_SLIDER_FINAL, Value());
}

void CPngSlider::SetValue(int nValue, bool bNotify) {
    int nPos = nValue;
    if (!m_vList.empty()) {
        const auto it = std::find(m_vList.begin(), m_vList.end(), nValue);
        if (it == m_vList.end())
            return;
        nPos = static_cast<int>(it - m_vList.begin());
    }
    SetPos(nPos, bNotify);
}

void CPngSlider::SetValueList(const std::vector<int>& vValues) {
    m_vList.assign(vValues.begin(), vValues.begin() + std::min<size_t>(vValues.size(), kMaxList));
}

void CPngSlider::SetScalePositions(const std::vector<int>& vScale) {
    if (static_cast<int>(vScale.size()) != m_nMax - m_nMin + 1)
        PlatformMessageBox("Warning", "CPngSlider::SetScalePos  dwScale and Range unmatch!");
    m_vScale.assign(vScale.begin(), vScale.begin() + std::min<size_t>(vScale.size(), kMaxList));
    Reposition();
    if (m_pBar)
        m_pBar->update();
}

void CPngSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, m_imgThumb);
}

void CPngSlider::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton || !m_bDrag)
        return;
    m_bDragging = true;
    m_ptLast = pEvent->globalPosition().toPoint();
    m_nLastPosted = Value();
    grabMouse();
}

void CPngSlider::mouseMoveEvent(QMouseEvent* pEvent) {
    if (!m_bDragging)
        return;
    const QPoint pt = pEvent->globalPosition().toPoint();
    const int nDelta = m_bVertical ? pt.y() - m_ptLast.y() : pt.x() - m_ptLast.x();
    m_ptLast = pt;
    PlaceAt(CenterPixel() + nDelta);
    const int nValue = ReportedValue(m_nMin + StepAt(CenterPixel()));
    if (nValue != m_nLastPosted) {
        m_nLastPosted = nValue;
        Post(WM_SLIDER_DRAG, nValue);
    }
}

void CPngSlider::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton || !m_bDragging)
        return;
    m_bDragging = false;
    releaseMouse();
    const int nPos = m_nMin + StepAt(CenterPixel());
    // The thumb always snaps back onto a step; only a changed value is reported.
    SetPos(nPos, nPos != m_nPos);
}

CPngSliderBar::CPngSliderBar(QWidget* pParent, int nId) : QWidget(pParent), m_nId(nId) {}

void CPngSliderBar::SetTrackImages(const QImage& imgTrack, const QImage& imgFill) {
    m_imgTrack = imgTrack;
    m_imgFill = imgFill;
    update();
}

void CPngSliderBar::SetMarkImage(const QImage& img, int nMarkOffset) {
    m_imgMark = img;
    m_nMarkOffset = nMarkOffset;
    update();
}

void CPngSliderBar::SetFillPos(int nPixel) {
    if (nPixel != m_nFill) {
        m_nFill = nPixel;
        update();
    }
}

bool CPngSliderBar::SpreadMarks() {
    CPngSlider* pSlider = m_pSlider.data();
    if (!pSlider)
        return false;
    const bool bVert = pSlider->IsVertical();
    const QSize szMark = m_imgMark.isNull() ? pSlider->size() : m_imgMark.size();
    const int nLen = bVert ? height() : width();
    const int nMark = bVert ? szMark.height() : szMark.width();
    const int nCount = pSlider->Max() - pSlider->Min() + 1;
    std::vector<int> v = EvenMarkPositions(nLen, nMark, nCount);
    if (v.empty()) {
        PlatformMessageBox("Warning", "Scale num too much");
        return false;
    }
    pSlider->SetScalePositions(v);
    return true;
}

void CPngSliderBar::paintEvent(QPaintEvent*) {
    QImage img(size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        if (!m_imgBkg.isNull())
            p.drawImage(rect(), m_imgBkg);
        else if (m_clrBkg.isValid())
            p.fillRect(rect(), m_clrBkg);
        const bool bVert = m_pSlider && m_pSlider->IsVertical();
        if (!m_imgTrack.isNull())
            p.drawImage(0, 0, m_imgTrack);
        if (!m_imgFill.isNull() && m_nFill > 0) {
            const QRect rcFill = bVert ? QRect(0, 0, m_imgFill.width(), m_nFill)
                                       : QRect(0, 0, m_nFill, m_imgFill.height());
            p.drawImage(rcFill.topLeft(), m_imgFill, rcFill);
        }
        if (!m_imgMark.isNull() && m_pSlider) {
            for (int nPos : m_pSlider->ScalePositions()) {
                const int c = nPos + m_nMarkOffset;
                if (bVert)
                    p.drawImage((width() - m_imgMark.width()) / 2, c - m_imgMark.height() / 2,
                                m_imgMark);
                else
                    p.drawImage(c - m_imgMark.width() / 2, (height() - m_imgMark.height()) / 2,
                                m_imgMark);
            }
        }
    }
    QPainter p(this);
    p.drawImage(0, 0, img);
    if (m_bFrame) {
        p.setPen(Qt::red);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CPngSliderBar::mouseReleaseEvent(QMouseEvent* pEvent) {
    CPngSlider* pSlider = m_pSlider.data();
    if (pEvent->button() != Qt::LeftButton || !pSlider || !pSlider->IsDragEnabled())
        return;
    const QPoint pt = pEvent->position().toPoint();
    const int nPixel = pSlider->IsVertical() ? pt.y() : pt.x();
    pSlider->SetPos(pSlider->Min() + pSlider->StepAt(nPixel), !m_bNoClickMsg);
}

void CPngSliderBar::moveEvent(QMoveEvent*) {
    if (m_pSlider)
        m_pSlider->Reposition();
}

void CPngSliderBar::resizeEvent(QResizeEvent*) {
    if (m_pSlider)
        m_pSlider->Reposition();
}
