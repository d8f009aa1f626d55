#pragma once
// CTreeCtrlEx: the program's owner-painted tree. It draws its rows over a piece of the
// dialog's skin, keeps one record per item (value, kind, icon, open state), takes over all
// mouse and keyboard input and reports clicks to its parent as posted messages:
// 1425 double click, 1426 right button released, 1428 left button pressed (lParam = the item
// or 0) and 1429 Delete released; wParam is always the control's id.
#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QImage>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>

#include "widgets/TreeItem.h"

enum class TreeExpand { Expand, Toggle };

class CTreeCtrlEx : public QAbstractScrollArea {
    Q_OBJECT
public:
    using WalkFn = std::function<int(HTREEITEM, CTreeItemRecord*, const std::string&, void*)>;

    CTreeCtrlEx(QWidget* pParent, int nId);
    ~CTreeCtrlEx() override;

    // The dialog's creation step: geometry, background piece cut from the parent's
    // background, folder images (each that fails to load is left out) and the font.
    void Create(const QRect& rc, const QImage* pBkg, const QRect& rcBkgCut,
                const std::string& strFolderOpen, const std::string& strFolderClosed,
                const QFont* pFont);
    int Id() const { return m_nId; }

    // Items.
    HTREEITEM AddChild(bool bFolder, HTREEITEM hParent, bool bSelect, const QImage* pImage,
                       bool bOwnsImage, const std::string& strText, uint32_t dwValue,
                       uint32_t dwValue2 = 0, int nTextOffset = 0);
    HTREEITEM AddChildFile(bool bFolder, HTREEITEM hParent, bool bSelect,
                           const std::string& strImageFile, const std::string& strText,
                           uint32_t dwValue, uint32_t dwValue2 = 0, int nTextOffset = 0);
    HTREEITEM AddBeside(HTREEITEM hItem, bool bSelect, bool bBefore, const QImage* pImage,
                        const std::string& strText, uint32_t dwValue, uint32_t dwValue2 = 0);
    // Removes the item, its subtree and their records.
    void RemoveItem(HTREEITEM hItem);
    void RemoveAll();
    bool SetItem(HTREEITEM hItem, const std::optional<std::string>& strText,
                 const std::optional<uint32_t>& dwValue);
    void Expand(HTREEITEM hItem, TreeExpand action);
    HTREEITEM FindTopLevelByValue(uint32_t dwValue) const;
    // Calls fn for the children of hStart (TVI_ROOT: the top level), children of a child
    // first when recursive. The next sibling is fetched before fn runs, so fn may remove the
    // item it is given. Returns 1 when fn stopped the walk with a non-zero answer.
    int Walk(HTREEITEM hStart, const WalkFn& fn, void* pOwner, bool bRecursive);
    int AncestorCount(HTREEITEM hItem) const;
    CTreeItemRecord* RecordOf(HTREEITEM hItem) const;
    CTreeItemRecord* SelectByValue(uint32_t dwValue);

    // The platform side.
    HTREEITEM GetSelectedItem() const { return m_hSel; }
    void SelectItem(HTREEITEM hItem);
    std::string GetItemText(HTREEITEM hItem) const;
    HTREEITEM GetParentItem(HTREEITEM hItem) const;
    HTREEITEM GetChildItem(HTREEITEM hItem) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const;
    HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const;
    bool IsExpanded(HTREEITEM hItem) const;
    int GetCount() const { return static_cast<int>(m_vRecords.size()); }
    // Item under a point of the viewport, or null.
    HTREEITEM HitTest(const QPoint& pt) const;
    // The platform's text rectangle of a visible row (viewport coordinates); null when the
    // row is not shown.
    QRect TextRect(HTREEITEM hItem) const;
    HTREEITEM HotItem() const { return m_hHot; }
    QString ToolTipText() const { return m_strTip; }
    int VisibleRowCount() const { return static_cast<int>(m_vRows.size()); }

    // Properties (defaults as constructed).
    bool m_bMouseEnabled = true;
    QImage m_imgBkg;
    uint32_t m_clrBkg = 0xFF000000;     // ARGB
    uint32_t m_clrSelFill = 0x96FFFFFF; // ARGB
    uint32_t m_clrHotFill = 0xFF000000; // ARGB
    uint32_t m_clrSelText = 0xFFFFFF;   // 0x00BBGGRR
    uint32_t m_clrText = 0xC8C8C8;      // 0x00BBGGRR
    bool m_bReserveIcon = false;
    int m_nIconW = 18, m_nIconH = 18;
    bool m_bHoverHighlight = false;
    int m_nMaxFolderDepth = 5;
    QImage m_imgFolderOpen, m_imgFolderClosed;
    bool m_bDebugFrames = false;
    bool m_bIgnoreReclick = true;
    int m_nSpacing = 2;
    uint32_t m_clrFrame = 0x646464;
    bool m_bEmptyClicks = true;
    QFont m_fontSel, m_fontNormal;
    int m_nDimAlpha = 0;
    int m_nTipLength = 20;

    void SetRowHeight(int n);
    int RowHeight() const { return m_nRowHeight; }
    static constexpr int kIndent = 19;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void leaveEvent(QEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    void contextMenuEvent(QContextMenuEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent*) override;

    // Painting hooks: the background and each visible row.
    virtual void PaintTree(QPainter& p);
    void PaintBackground(QPainter& p, bool bDim);
    void PlaceImage(QPainter& p, const QImage& img, const QRect& rcBox) const;

    struct Row {
        CTreeNode* pNode;
        int nDepth;
    };
    const std::vector<Row>& Rows() const { return m_vRows; }
    int RowTop(int nRow) const;
    int FirstVisibleRow() const;
    bool IsSelected(const CTreeNode* p) const { return p == m_hSel; }
    bool IsHot(const CTreeNode* p) const { return p == m_hHot; }
    void Post(uint32_t nMsg, HTREEITEM hItem);

private:
    CTreeNode* NodeOf(HTREEITEM h) const; // null for special handles and unknown items
    std::vector<std::unique_ptr<CTreeNode>>& ChildrenOf(HTREEITEM hParent);
    const std::vector<std::unique_ptr<CTreeNode>>& ChildrenOf(HTREEITEM hParent) const;
    CTreeItemRecord* AddRecord(CTreeNode* pNode);
    void DropRecords(CTreeNode* pNode);
    int WalkFrom(const std::vector<std::unique_ptr<CTreeNode>>& vSiblings, const WalkFn& fn,
                 void* pOwner, bool bRecursive);
    void Rebuild();
    void HandleLeftPress(const QPoint& pt);
    void UpdateHot(const QPoint& pt);
    bool HasNode(const CTreeNode* p) const;

    int m_nId;
    int m_nRowHeight = 20;
    std::vector<std::unique_ptr<CTreeNode>> m_vTop;
    std::vector<std::unique_ptr<CTreeItemRecord>> m_vRecords;
    std::vector<Row> m_vRows;                        // visible rows, top to bottom
    std::unordered_set<const CTreeNode*> m_setNodes; // every live item, to reject stale handles
    HTREEITEM m_hSel = nullptr;
    HTREEITEM m_hHot = nullptr;
    bool m_bLeaveTracking = false;
    QString m_strTip;
};
