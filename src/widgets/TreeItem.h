#pragma once
// Items of the skinned tree controls: the item handle, the node behind it and the owner's
// record per item.
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

struct CTreeNode;
using HTREEITEM = CTreeNode*;

// Special handles, as the owners pass them: the invisible top of the tree and the insertion
// places. They never name a real item.
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFE));
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFD));
inline bool IsSpecialTreeHandle(HTREEITEM h) {
    return h == TVI_ROOT || h == TVI_FIRST || h == TVI_LAST || h == TVI_SORT;
}

enum : int { TREE_KIND_LEAF = 1, TREE_KIND_FOLDER = 2 };

struct CTreeItemRecord {
    CTreeItemRecord() = default;
    CTreeItemRecord(const CTreeItemRecord&) = delete;
    CTreeItemRecord& operator=(const CTreeItemRecord&) = delete;
    ~CTreeItemRecord() {
        if (bOwnsImage) {
            delete pImage;
            delete pImage2;
        }
    }

    HTREEITEM hItem = nullptr;
    const QImage* pImage = nullptr;
    const QImage* pImage2 = nullptr; // picture rows: shown while selected or hot
    bool bOwnsImage = false;
    uint32_t dwValue = 0;
    uint32_t dwValue2 = 0;
    int nKind = TREE_KIND_LEAF;
    int nTextOffset = 0;
    bool bOpen = false;
};

// The item itself: its text, its place in the tree and whether it shows its children.
struct CTreeNode {
    QString strText;
    CTreeNode* pParent = nullptr; // null for top-level items
    std::vector<std::unique_ptr<CTreeNode>> vChildren;
    bool bExpanded = false;
    CTreeItemRecord* pRecord = nullptr;
};
