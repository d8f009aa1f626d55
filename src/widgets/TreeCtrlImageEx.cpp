#include "widgets/TreeCtrlImageEx.h"

#include <QPainter>

#include "widgets/SkinImage.h"

CTreeCtrlImageEx::CTreeCtrlImageEx(QWidget* pParent, int nId) : CTreeCtrlEx(pParent, nId) {}

HTREEITEM CTreeCtrlImageEx::AddPictureItem(HTREEITEM hParent, const QImage* pImage,
                                           const QImage* pImage2, const std::string& strText,
                                           uint32_t dwValue) {
    HTREEITEM h = AddChild(false, hParent, false, pImage, false, strText, dwValue);
    if (CTreeItemRecord* pRec = RecordOf(h))
        pRec->pImage2 = pImage2;
    return h;
}

void CTreeCtrlImageEx::PaintTree(QPainter& p) {
    PaintBackground(p, false);
    const int nWidth = viewport()->width();
    const int nHeight = viewport()->height();
    const auto& vRows = Rows();
    for (int nRow = FirstVisibleRow(); nRow < static_cast<int>(vRows.size()); ++nRow) {
        CTreeNode* pNode = vRows[static_cast<size_t>(nRow)].pNode;
        const QRect rcRow(0, RowTop(nRow), nWidth, RowHeight());
        if (rcRow.top() >= nHeight)
            break;
        const CTreeItemRecord* pRec = pNode->pRecord;
        if (!pRec)
            continue;
        const bool bSel = IsSelected(pNode);
        const bool bHot = IsHot(pNode) && m_bHoverHighlight;
        const QImage* pImg = ((bSel || bHot) && pRec->pImage2) ? pRec->pImage2 : pRec->pImage;
        if (pImg && !pImg->isNull()) {
            int x = rcRow.left();
            if (m_nImageAlign == 0 && pImg->width() < rcRow.width())
                x = rcRow.left() + (rcRow.width() - pImg->width()) / 2;
            else if (m_nImageAlign == 1)
                x = rcRow.left() + 10;
            int y = rcRow.top();
            if (pImg->height() < rcRow.height())
                y += (rcRow.height() - pImg->height()) / 2;
            p.drawImage(x, y, *pImg);
            if (m_bDebugFrames) {
                p.setPen(Qt::red);
                p.setBrush(Qt::NoBrush);
                p.drawRect(QRect(QPoint(x, y), pImg->size()));
            }
        }
        auto outline = [&](uint32_t argb) {
            if ((argb & 0x00FFFFFF) == 0)
                return; // a black outline colour means none
            p.setPen(ColorFromArgb(argb));
            p.setBrush(Qt::NoBrush);
            p.drawRect(
                QRect(1, rcRow.top() + 1, nWidth - 3, rcRow.height() - 2).adjusted(0, 0, -1, -1));
        };
        if (bSel)
            outline(m_clrSelFill);
        else if (bHot)
            outline(m_clrHotFill);
        if (!pNode->strText.isEmpty() && !m_rcCaption.isNull()) {
            const QRect rcText(QPoint(m_rcCaption.left(), rcRow.top() + m_rcCaption.top()),
                               QPoint(m_rcCaption.right(), rcRow.top() + m_rcCaption.bottom()));
            p.setFont(bSel ? m_fontSel : m_fontNormal);
            p.setPen(ColorFromRef(bSel ? m_clrSelText : m_clrText));
            const QFontMetrics fm = p.fontMetrics();
            // Word-wrapped; a text taller than the box loses its end to an ellipsis.
            QString str = pNode->strText;
            while (str.size() > 1 &&
                   fm.boundingRect(rcText, Qt::TextWordWrap, str).height() > rcText.height())
                str = str.left(str.size() - 2) + QChar(0x2026);
            p.drawText(rcText, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, str);
        }
    }
}
