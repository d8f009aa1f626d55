#include "storage/MacroTree.h"

#include "storage/MacroRecord.h"

CMacroTreeItem* CMacroTree::AddChild(bool bFolder, CMacroTreeItem* pParent,
                                     const std::string& strText, uint32_t dwValue,
                                     const std::string& strIcon, int nTextOffset) {
    if (!pParent)
        pParent = &m_Root;
    if (!pParent->bFolder)
        return nullptr;
    if (bFolder && AncestorCount(pParent) >= MACRO_TREE_MAX_DEPTH)
        return nullptr;
    auto pItem = std::make_unique<CMacroTreeItem>();
    pItem->bFolder = bFolder;
    pItem->strText = strText;
    pItem->dwValue = dwValue;
    pItem->strIcon = strIcon;
    pItem->nTextOffset = nTextOffset;
    pItem->pParent = pParent;
    pParent->vChildren.push_back(std::move(pItem));
    return pParent->vChildren.back().get();
}

void CMacroTree::Remove(CMacroTreeItem* pItem) {
    if (!pItem || !pItem->pParent)
        return;
    auto& v = pItem->pParent->vChildren;
    for (auto it = v.begin(); it != v.end(); ++it) {
        if (it->get() == pItem) {
            v.erase(it);
            return;
        }
    }
}

void CMacroTree::RemoveChildren(CMacroTreeItem* pItem) {
    if (pItem)
        pItem->vChildren.clear();
}

int CMacroTree::AncestorCount(const CMacroTreeItem* pItem) {
    int n = 0;
    // The root's children are top-level items: the root itself is not counted.
    for (const CMacroTreeItem* p = pItem ? pItem->pParent : nullptr; p && p->pParent;
         p = p->pParent)
        ++n;
    return n;
}

static CMacroTreeItem* FindIn(CMacroTreeItem& item, uint32_t dwValue) {
    for (auto& pChild : item.vChildren) {
        if (!pChild->bFolder && (pChild->dwValue & MACRO_ID_MASK) == (dwValue & MACRO_ID_MASK))
            return pChild.get();
        if (CMacroTreeItem* p = FindIn(*pChild, dwValue))
            return p;
    }
    return nullptr;
}

CMacroTreeItem* CMacroTree::FindMacroByValue(uint32_t dwValue) {
    return FindIn(m_Root, dwValue);
}

static size_t CountIn(const CMacroTreeItem& item) {
    size_t n = 0;
    for (auto& pChild : item.vChildren)
        n += pChild->bFolder ? CountIn(*pChild) : 1;
    return n;
}

size_t CMacroTree::MacroCount() const {
    return CountIn(m_Root);
}

std::string TreeItemToFilePath(const std::string& strBase, const CMacroTreeItem* pItem,
                               const char* pszExt) {
    if (!pItem || !pItem->pParent)
        return std::string();
    std::vector<const CMacroTreeItem*> vChain;
    for (const CMacroTreeItem* p = pItem; p && p->pParent; p = p->pParent) {
        if (vChain.size() >= 20)
            return std::string();
        vChain.push_back(p);
    }
    std::string strPath = strBase;
    for (auto it = vChain.rbegin(); it != vChain.rend(); ++it) {
        strPath += '/';
        strPath += (*it)->strText;
        if (!(*it)->bFolder) {
            strPath += '.';
            strPath += pszExt;
        }
    }
    if (strPath.size() > 259)
        return std::string();
    return strPath;
}
