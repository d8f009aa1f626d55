#include "widgets/TreeCtrlEx.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "config/GlobalVar.h"
#include "config/Log.h"
#include "widgets/SkinImage.h"
#include "widgets/UiFont.h"
#include "widgets/WndMessage.h"

namespace {
constexpr int kTextLimit = 1024; // characters read for the walk callback
} // namespace

CTreeCtrlEx::CTreeCtrlEx(QWidget* pParent, int nId) : QAbstractScrollArea(pParent), m_nId(nId) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_fontSel = m_fontNormal = ShellDlgFont(15, 600);
    m_nIconH = std::min(m_nRowHeight, 18);
}

CTreeCtrlEx::~CTreeCtrlEx() = default;

void CTreeCtrlEx::Create(const QRect& rc, const QImage* pBkg, const QRect& rcBkgCut,
                         const std::string& strFolderOpen, const std::string& strFolderClosed,
                         const QFont* pFont) {
    setGeometry(rc);
    SetRowHeight(20);
    m_imgBkg = (pBkg && !pBkg->isNull()) ? CutImagePiece(*pBkg, rcBkgCut) : QImage();
    m_nIconW = 18;
    m_nIconH = std::min(m_nRowHeight, 18);
    m_bReserveIcon = false;
    const std::string strDir = GetSkinDir(gVar);
    m_imgFolderOpen = LoadSkinImage(strDir, strFolderOpen);
    m_imgFolderClosed = LoadSkinImage(strDir, strFolderClosed);
    if (pFont)
        m_fontSel = m_fontNormal = *pFont;
    show();
}

void CTreeCtrlEx::SetRowHeight(int n) {
    m_nRowHeight = std::max(1, n);
    Rebuild();
}

CTreeNode* CTreeCtrlEx::NodeOf(HTREEITEM h) const {
    if (!h || IsSpecialTreeHandle(h) || !m_setNodes.count(h))
        return nullptr;
    return h;
}

bool CTreeCtrlEx::HasNode(const CTreeNode* p) const {
    return p && m_setNodes.count(p);
}

std::vector<std::unique_ptr<CTreeNode>>& CTreeCtrlEx::ChildrenOf(HTREEITEM hParent) {
    CTreeNode* p = NodeOf(hParent);
    return p ? p->vChildren : m_vTop;
}

const std::vector<std::unique_ptr<CTreeNode>>& CTreeCtrlEx::ChildrenOf(HTREEITEM hParent) const {
    CTreeNode* p = NodeOf(hParent);
    return p ? p->vChildren : m_vTop;
}

CTreeItemRecord* CTreeCtrlEx::AddRecord(CTreeNode* pNode) {
    auto pRec = std::make_unique<CTreeItemRecord>();
    pRec->hItem = pNode;
    pNode->pRecord = pRec.get();
    m_vRecords.push_back(std::move(pRec));
    return m_vRecords.back().get();
}

HTREEITEM CTreeCtrlEx::AddChild(bool bFolder, HTREEITEM hParent, bool bSelect, const QImage* pImage,
                                bool bOwnsImage, const std::string& strText, uint32_t dwValue,
                                uint32_t dwValue2, int nTextOffset) {
    CTreeNode* pParent = NodeOf(hParent);
    if (hParent != TVI_ROOT) {
        if (!pParent || !pParent->pRecord || pParent->pRecord->nKind != TREE_KIND_FOLDER)
            return nullptr; // only folders take children
    }
    // The depth rule counts the parent's own ancestors: a top-level parent has 0.
    if (bFolder && pParent && AncestorCount(hParent) >= m_nMaxFolderDepth)
        return nullptr;

    auto pNode = std::make_unique<CTreeNode>();
    pNode->strText = QString::fromStdString(strText);
    pNode->pParent = pParent;
    CTreeNode* pNew = pNode.get();
    m_setNodes.insert(pNew);
    ChildrenOf(hParent).push_back(std::move(pNode));
    CTreeItemRecord* pRec = AddRecord(pNew);
    pRec->pImage = pImage;
    pRec->bOwnsImage = bOwnsImage;
    pRec->dwValue = dwValue;
    pRec->dwValue2 = dwValue2;
    pRec->nKind = bFolder ? TREE_KIND_FOLDER : TREE_KIND_LEAF;
    pRec->nTextOffset = nTextOffset;
    if (bSelect) {
        if (pParent) {
            pParent->bExpanded = true;
            if (pParent->pRecord)
                pParent->pRecord->bOpen = true;
        }
        m_hSel = pNew;
    }
    Rebuild();
    return pNew;
}

HTREEITEM CTreeCtrlEx::AddChildFile(bool bFolder, HTREEITEM hParent, bool bSelect,
                                    const std::string& strImageFile, const std::string& strText,
                                    uint32_t dwValue, uint32_t dwValue2, int nTextOffset) {
    QImage* pImage = nullptr;
    if (!strImageFile.empty()) {
        QImage img = LoadSkinImage(GetSkinDir(gVar), strImageFile);
        if (!img.isNull())
            pImage = new QImage(std::move(img));
    }
    HTREEITEM h =
        AddChild(bFolder, hParent, bSelect, pImage, true, strText, dwValue, dwValue2, nTextOffset);
    if (!h)
        delete pImage;
    return h;
}

HTREEITEM CTreeCtrlEx::AddBeside(HTREEITEM hItem, bool bSelect, bool bBefore, const QImage* pImage,
                                 const std::string& strText, uint32_t dwValue, uint32_t dwValue2) {
    CTreeNode* pItem = NodeOf(hItem);
    if (!pItem)
        return nullptr;
    auto& vSiblings = pItem->pParent ? pItem->pParent->vChildren : m_vTop;
    auto it = std::find_if(vSiblings.begin(), vSiblings.end(),
                           [pItem](const auto& p) { return p.get() == pItem; });
    if (!bBefore)
        ++it;
    auto pNode = std::make_unique<CTreeNode>();
    pNode->strText = QString::fromStdString(strText);
    pNode->pParent = pItem->pParent;
    CTreeNode* pNew = pNode.get();
    m_setNodes.insert(pNew);
    vSiblings.insert(it, std::move(pNode));
    CTreeItemRecord* pRec = AddRecord(pNew);
    pRec->pImage = pImage;
    pRec->dwValue = dwValue;
    pRec->dwValue2 = dwValue2;
    if (bSelect)
        m_hSel = pNew;
    Rebuild();
    return pNew;
}

void CTreeCtrlEx::DropRecords(CTreeNode* pNode) {
    for (auto& pChild : pNode->vChildren)
        DropRecords(pChild.get());
    if (m_hSel == pNode)
        m_hSel = nullptr;
    if (m_hHot == pNode)
        m_hHot = nullptr;
    m_setNodes.erase(pNode);
    if (pNode->pRecord) {
        CTreeItemRecord* pRec = pNode->pRecord;
        pNode->pRecord = nullptr;
        std::erase_if(m_vRecords, [pRec](const auto& p) { return p.get() == pRec; });
    }
}

void CTreeCtrlEx::RemoveItem(HTREEITEM hItem) {
    CTreeNode* pNode = NodeOf(hItem);
    if (!pNode)
        return;
    // The descendants' records go with their items: a record must never name a freed item.
    DropRecords(pNode);
    auto& vSiblings = pNode->pParent ? pNode->pParent->vChildren : m_vTop;
    std::erase_if(vSiblings, [pNode](const auto& p) { return p.get() == pNode; });
    Rebuild();
}

void CTreeCtrlEx::RemoveAll() {
    m_vRecords.clear();
    m_vTop.clear();
    m_setNodes.clear();
    m_hSel = m_hHot = nullptr;
    Rebuild();
}

bool CTreeCtrlEx::SetItem(HTREEITEM hItem, const std::optional<std::string>& strText,
                          const std::optional<uint32_t>& dwValue) {
    CTreeNode* pNode = NodeOf(hItem);
    if (!pNode)
        return false;
    if (strText)
        pNode->strText = QString::fromStdString(*strText);
    if (dwValue && pNode->pRecord)
        pNode->pRecord->dwValue = *dwValue;
    viewport()->update();
    return true;
}

void CTreeCtrlEx::Expand(HTREEITEM hItem, TreeExpand action) {
    CTreeNode* pNode = NodeOf(hItem);
    if (!pNode)
        return;
    const bool bOpen = action == TreeExpand::Toggle ? !pNode->bExpanded : true;
    if (pNode->pRecord)
        pNode->pRecord->bOpen = action == TreeExpand::Toggle ? !pNode->pRecord->bOpen : true;
    // Drawing stays off while the rows change, so the owner-painted rows never flicker.
    viewport()->setUpdatesEnabled(false);
    pNode->bExpanded = bOpen;
    Rebuild();
    viewport()->setUpdatesEnabled(true);
    viewport()->update();
}

HTREEITEM CTreeCtrlEx::FindTopLevelByValue(uint32_t dwValue) const {
    for (const auto& p : m_vTop)
        if (p->pRecord && p->pRecord->dwValue == dwValue)
            return p.get();
    return nullptr;
}

int CTreeCtrlEx::WalkFrom(const std::vector<std::unique_ptr<CTreeNode>>& vSiblings,
                          const WalkFn& fn, void* pOwner, bool bRecursive) {
    CTreeNode* pChild = vSiblings.empty() ? nullptr : vSiblings.front().get();
    while (pChild) {
        if (bRecursive && !pChild->vChildren.empty())
            if (WalkFrom(pChild->vChildren, fn, pOwner, true))
                return 1;
        // Fetched first: the callback may remove the item it is given.
        CTreeNode* pNext = GetNextSiblingItem(pChild);
        const std::string strText = pChild->strText.left(kTextLimit).toStdString();
        if (fn(pChild, pChild->pRecord, strText, pOwner) != 0)
            return 1;
        pChild = HasNode(pNext) ? pNext : nullptr;
    }
    return 0;
}

int CTreeCtrlEx::Walk(HTREEITEM hStart, const WalkFn& fn, void* pOwner, bool bRecursive) {
    if (hStart != TVI_ROOT && !NodeOf(hStart))
        return 0;
    const int n = WalkFrom(ChildrenOf(hStart), fn, pOwner, bRecursive);
    Rebuild();
    return n;
}

int CTreeCtrlEx::AncestorCount(HTREEITEM hItem) const {
    const CTreeNode* p = NodeOf(hItem);
    int n = 0;
    while (p && p->pParent) {
        ++n;
        p = p->pParent;
    }
    return n;
}

CTreeItemRecord* CTreeCtrlEx::RecordOf(HTREEITEM hItem) const {
    const CTreeNode* p = NodeOf(hItem);
    return p ? p->pRecord : nullptr;
}

CTreeItemRecord* CTreeCtrlEx::SelectByValue(uint32_t dwValue) {
    CTreeItemRecord* pFound = nullptr;
    Walk(
        TVI_ROOT,
        [&pFound, dwValue](HTREEITEM, CTreeItemRecord* pRec, const std::string&, void*) {
            if (pRec && pRec->dwValue == dwValue) {
                pFound = pRec;
                return 1;
            }
            return 0;
        },
        nullptr, true);
    if (!pFound)
        return nullptr;
    if (CTreeNode* pParent = pFound->hItem->pParent)
        Expand(pParent, TreeExpand::Expand);
    SelectItem(pFound->hItem);
    return pFound;
}

void CTreeCtrlEx::SelectItem(HTREEITEM hItem) {
    m_hSel = NodeOf(hItem);
    viewport()->update();
}

std::string CTreeCtrlEx::GetItemText(HTREEITEM hItem) const {
    const CTreeNode* p = NodeOf(hItem);
    return p ? p->strText.toStdString() : std::string();
}

HTREEITEM CTreeCtrlEx::GetParentItem(HTREEITEM hItem) const {
    const CTreeNode* p = NodeOf(hItem);
    return p ? p->pParent : nullptr;
}

HTREEITEM CTreeCtrlEx::GetChildItem(HTREEITEM hItem) const {
    const auto& v = ChildrenOf(hItem);
    if (hItem != TVI_ROOT && !NodeOf(hItem))
        return nullptr;
    return v.empty() ? nullptr : v.front().get();
}

HTREEITEM CTreeCtrlEx::GetNextSiblingItem(HTREEITEM hItem) const {
    const CTreeNode* p = NodeOf(hItem);
    if (!p)
        return nullptr;
    const auto& v = p->pParent ? p->pParent->vChildren : m_vTop;
    for (size_t i = 0; i + 1 < v.size(); ++i)
        if (v[i].get() == p)
            return v[i + 1].get();
    return nullptr;
}

HTREEITEM CTreeCtrlEx::GetPrevSiblingItem(HTREEITEM hItem) const {
    const CTreeNode* p = NodeOf(hItem);
    if (!p)
        return nullptr;
    const auto& v = p->pParent ? p->pParent->vChildren : m_vTop;
    for (size_t i = 1; i < v.size(); ++i)
        if (v[i].get() == p)
            return v[i - 1].get();
    return nullptr;
}

bool CTreeCtrlEx::IsExpanded(HTREEITEM hItem) const {
    const CTreeNode* p = NodeOf(hItem);
    return p && p->bExpanded;
}

void CTreeCtrlEx::Rebuild() {
    m_vRows.clear();
    std::function<void(const std::vector<std::unique_ptr<CTreeNode>>&, int)> add =
        [&](const std::vector<std::unique_ptr<CTreeNode>>& v, int nDepth) {
            for (const auto& p : v) {
                m_vRows.push_back({p.get(), nDepth});
                if (p->bExpanded)
                    add(p->vChildren, nDepth + 1);
            }
        };
    add(m_vTop, 0);
    const int nTotal = static_cast<int>(m_vRows.size()) * m_nRowHeight;
    verticalScrollBar()->setRange(0, std::max(0, nTotal - viewport()->height()));
    verticalScrollBar()->setSingleStep(m_nRowHeight);
    verticalScrollBar()->setPageStep(std::max(1, viewport()->height()));
    viewport()->update();
}

int CTreeCtrlEx::RowTop(int nRow) const {
    return nRow * m_nRowHeight - verticalScrollBar()->value();
}

int CTreeCtrlEx::FirstVisibleRow() const {
    return verticalScrollBar()->value() / m_nRowHeight;
}

HTREEITEM CTreeCtrlEx::HitTest(const QPoint& pt) const {
    if (pt.y() < 0 || pt.x() < 0 || pt.x() >= viewport()->width())
        return nullptr;
    const int nRow = (pt.y() + verticalScrollBar()->value()) / m_nRowHeight;
    if (nRow < 0 || nRow >= static_cast<int>(m_vRows.size()))
        return nullptr;
    return m_vRows[static_cast<size_t>(nRow)].pNode;
}

QRect CTreeCtrlEx::TextRect(HTREEITEM hItem) const {
    for (size_t i = 0; i < m_vRows.size(); ++i) {
        if (m_vRows[i].pNode != hItem)
            continue;
        const QFontMetrics fm(m_vRows[i].pNode == m_hSel ? m_fontSel : m_fontNormal);
        const int nLeft = (m_vRows[i].nDepth + 1) * kIndent;
        return QRect(nLeft, RowTop(static_cast<int>(i)), fm.horizontalAdvance(hItem->strText) + 6,
                     m_nRowHeight);
    }
    return QRect();
}

void CTreeCtrlEx::Post(uint32_t nMsg, HTREEITEM hItem) {
    PostWndMessage(parentWidget(), nMsg, static_cast<uintptr_t>(m_nId),
                   reinterpret_cast<intptr_t>(hItem));
}

void CTreeCtrlEx::HandleLeftPress(const QPoint& pt) {
    HTREEITEM hHit = HitTest(pt);
    const HTREEITEM hBefore = m_hSel;
    if (!m_bEmptyClicks && !hHit)
        return;
    SelectItem(hHit);
    if (hHit) {
        setFocus(Qt::MouseFocusReason);
        const QRect rcText = TextRect(hHit);
        if (pt.x() < rcText.left())
            Expand(hHit, TreeExpand::Toggle);
    }
    if (m_bIgnoreReclick && hHit == hBefore)
        return;
    Post(WM_TREE_LBUTTONDOWN, hHit);
}

void CTreeCtrlEx::mousePressEvent(QMouseEvent* pEvent) {
    if (!m_bMouseEnabled)
        return;
    if (pEvent->button() == Qt::LeftButton)
        HandleLeftPress(pEvent->position().toPoint());
    // A right press is swallowed; its release reports.
}

void CTreeCtrlEx::mouseReleaseEvent(QMouseEvent* pEvent) {
    if (!m_bMouseEnabled || pEvent->button() != Qt::RightButton)
        return;
    HTREEITEM hHit = HitTest(pEvent->position().toPoint());
    if (!m_bEmptyClicks && !hHit)
        return;
    SelectItem(hHit);
    Post(WM_TREE_RBUTTONUP, hHit);
}

void CTreeCtrlEx::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    if (!m_bMouseEnabled || pEvent->button() != Qt::LeftButton)
        return;
    HTREEITEM hHit = HitTest(pEvent->position().toPoint());
    if (!m_bEmptyClicks && !hHit)
        return;
    SelectItem(hHit);
    if (!hHit)
        return;
    Expand(hHit, TreeExpand::Toggle);
    Post(WM_TREE_DBLCLK, hHit);
}

void CTreeCtrlEx::UpdateHot(const QPoint& pt) {
    HTREEITEM hHit = HitTest(pt);
    if (!hHit) {
        if (m_hHot) {
            m_hHot = nullptr;
            if (m_bHoverHighlight)
                viewport()->update();
        }
        return;
    }
    if (hHit == m_hHot)
        return;
    m_strTip.clear();
    if (hHit->strText.size() > m_nTipLength)
        m_strTip = hHit->strText;
    viewport()->setToolTip(m_strTip);
    m_hHot = hHit;
    if (m_bHoverHighlight)
        viewport()->update();
}

void CTreeCtrlEx::mouseMoveEvent(QMouseEvent* pEvent) {
    m_bLeaveTracking = true;
    UpdateHot(pEvent->position().toPoint());
}

void CTreeCtrlEx::leaveEvent(QEvent* pEvent) {
    m_bLeaveTracking = false;
    m_hHot = nullptr;
    if (m_bHoverHighlight)
        viewport()->update();
    QAbstractScrollArea::leaveEvent(pEvent);
}

bool CTreeCtrlEx::viewportEvent(QEvent* pEvent) {
    if (pEvent->type() == QEvent::Leave) {
        leaveEvent(pEvent);
        return true;
    }
    return QAbstractScrollArea::viewportEvent(pEvent);
}

void CTreeCtrlEx::keyPressEvent(QKeyEvent* pEvent) {
    // Every key is swallowed: the platform's arrow keys and type-ahead would change the
    // selection behind the owner's back.
    pEvent->accept();
}

void CTreeCtrlEx::keyReleaseEvent(QKeyEvent* pEvent) {
    pEvent->accept();
    if (pEvent->key() == Qt::Key_Delete && !pEvent->isAutoRepeat())
        Post(WM_TREE_DELETE, nullptr);
}

void CTreeCtrlEx::wheelEvent(QWheelEvent* pEvent) {
    QAbstractScrollArea::wheelEvent(pEvent);
    viewport()->update();
}

void CTreeCtrlEx::contextMenuEvent(QContextMenuEvent* pEvent) {
    pEvent->accept();
}

void CTreeCtrlEx::resizeEvent(QResizeEvent* pEvent) {
    QAbstractScrollArea::resizeEvent(pEvent);
    Rebuild();
}

void CTreeCtrlEx::scrollContentsBy(int, int) {
    viewport()->update();
}

void CTreeCtrlEx::PaintBackground(QPainter& p, bool bDim) {
    const QRect rc = viewport()->rect();
    if (!m_imgBkg.isNull()) {
        p.drawImage(0, 0, m_imgBkg);
        if (bDim && m_nDimAlpha != 0)
            p.fillRect(rc, QColor(0x1E, 0x1E, 0x1E, std::clamp(m_nDimAlpha, 0, 255)));
    } else {
        p.fillRect(rc, ColorFromArgb(m_clrBkg));
    }
}

void CTreeCtrlEx::PlaceImage(QPainter& p, const QImage& img, const QRect& rcBox) const {
    if (img.isNull() || rcBox.isEmpty())
        return;
    QRect rc = rcBox;
    if (img.width() < rcBox.width()) {
        rc.setLeft(rcBox.left() + (rcBox.width() - img.width()) / 2);
        rc.setWidth(img.width());
    }
    if (img.height() < rcBox.height()) {
        rc.setTop(rcBox.top() + (rcBox.height() - img.height()) / 2);
        rc.setHeight(img.height());
    }
    p.drawImage(rc, img);
}

void CTreeCtrlEx::PaintTree(QPainter& p) {
    PaintBackground(p, true);
    const int R = viewport()->width();
    const int nHeight = viewport()->height();
    for (int nRow = FirstVisibleRow(); nRow < static_cast<int>(m_vRows.size()); ++nRow) {
        CTreeNode* pNode = m_vRows[static_cast<size_t>(nRow)].pNode;
        const QRect T = TextRect(pNode);
        if (T.top() >= nHeight)
            break;
        const CTreeItemRecord* pRec = pNode->pRecord;
        if (!pRec)
            continue;
        const int I = kIndent;
        QRect rcFolder, rcIcon, rcTextBox;
        const bool bHasIcon = pRec->pImage != nullptr || m_bReserveIcon;
        if (pRec->nKind == TREE_KIND_FOLDER) {
            rcFolder = QRect(QPoint(T.left() - I, T.top()), QPoint(T.left() - 1, T.bottom()));
            int nIconSpace = 0;
            if (bHasIcon) {
                rcIcon = QRect(T.left() + m_nSpacing, T.top(), m_nIconW, T.height());
                nIconSpace = m_nIconW;
            }
            rcTextBox =
                QRect(QPoint(T.left() + pRec->nTextOffset + 2 * m_nSpacing + nIconSpace, T.top()),
                      QPoint(R - 5 - 1, T.bottom()));
        } else if (bHasIcon) {
            rcIcon = QRect(QPoint(T.left() - I, T.top()), QPoint(T.left() - 1, T.bottom()));
            rcTextBox =
                QRect(QPoint(T.left() + pRec->nTextOffset, T.top()), QPoint(R - 5 - 1, T.bottom()));
        } else {
            rcTextBox = QRect(QPoint(T.left() - I, T.top()), QPoint(R - 5 - 1, T.bottom()));
        }
        const QRect rcRow(0, T.top(), R, T.height());
        const bool bSel = IsSelected(pNode);
        if (bSel)
            p.fillRect(rcRow, ColorFromArgb(m_clrSelFill));
        else if (IsHot(pNode) && m_bHoverHighlight)
            p.fillRect(rcRow, ColorFromArgb(m_clrHotFill));
        if (pRec->nKind == TREE_KIND_FOLDER) {
            const QImage& img = pRec->bOpen ? m_imgFolderOpen : m_imgFolderClosed;
            if (!img.isNull()) {
                // Both folder images are placed at the open image's size.
                const QSize sz = m_imgFolderOpen.isNull() ? img.size() : m_imgFolderOpen.size();
                PlaceImage(p, img.size() == sz ? img : img.scaled(sz), rcFolder);
            }
        }
        if (pRec->pImage && !rcIcon.isNull()) {
            QRect rcBox = rcIcon;
            if (m_nIconW == 0)
                rcBox.setSize(pRec->pImage->size());
            else
                rcBox = QRect(rcIcon.left(), rcIcon.top() + (rcIcon.height() - m_nIconH) / 2,
                              rcIcon.width(), m_nIconH);
            PlaceImage(p, *pRec->pImage, rcBox);
        }
        p.setFont(bSel ? m_fontSel : m_fontNormal);
        p.setPen(ColorFromRef(bSel ? m_clrSelText : m_clrText));
        p.drawText(rcTextBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   p.fontMetrics().elidedText(pNode->strText, Qt::ElideRight, rcTextBox.width()));
        if (m_bDebugFrames) {
            p.setBrush(Qt::NoBrush);
            p.setPen(Qt::green);
            p.drawRect(rcTextBox);
            p.setPen(Qt::red);
            p.drawRect(T);
            if (!rcIcon.isNull()) {
                p.setPen(Qt::blue);
                p.drawRect(rcIcon);
            }
        }
    }
}

void CTreeCtrlEx::paintEvent(QPaintEvent*) {
    QImage img(viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::black);
    {
        QPainter pm(&img);
        PaintTree(pm);
    }
    QPainter p(viewport());
    p.drawImage(0, 0, img);
    if (m_clrFrame != 0) {
        p.setPen(ColorFromRef(m_clrFrame));
        p.setBrush(Qt::NoBrush);
        p.drawRect(viewport()->rect().adjusted(0, 0, -1, -1));
    }
}
