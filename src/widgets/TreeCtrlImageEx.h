#pragma once
// CTreeCtrlImageEx: a tree whose rows are pictures (a picture list), with a second picture
// for the selected or hot row and an optional caption.
#include "widgets/TreeCtrlEx.h"

class CTreeCtrlImageEx : public CTreeCtrlEx {
    Q_OBJECT
public:
    CTreeCtrlImageEx(QWidget* pParent, int nId);

    // A leaf under the root or a folder, last; the images stay the caller's.
    HTREEITEM AddPictureItem(HTREEITEM hParent, const QImage* pImage, const QImage* pImage2,
                             const std::string& strText, uint32_t dwValue);

    int m_nImageAlign = 0; // 0 centred, 1 ten pixels from the left, other values at the left
    QRect m_rcCaption;     // left, right absolute; top, bottom relative to the row's top

protected:
    void PaintTree(QPainter& p) override;
};
