#pragma once
// The macro folders as a tree of folder and macro items, as the editors' tree controls show
// them. An item carries its text, its value (a macro's id), its icon and its children.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

inline constexpr int MACRO_TREE_MAX_DEPTH = 5; // a folder goes only under fewer ancestors
inline constexpr int MACRO_TREE_TEXT_OFFSET = 5;

struct CMacroTreeItem {
    bool bFolder = false;
    std::string strText;
    uint32_t dwValue = 0;
    std::string strIcon; // folder icon path, empty when none
    int nTextOffset = 0;
    CMacroTreeItem* pParent = nullptr; // nullptr for the root
    std::vector<std::unique_ptr<CMacroTreeItem>> vChildren;
};

class CMacroTree {
public:
    CMacroTree() { m_Root.bFolder = true; }
    CMacroTreeItem* Root() { return &m_Root; }
    const CMacroTreeItem* Root() const { return &m_Root; }
    // Adds an item last under pParent (nullptr = the root). Refused (nullptr) under a macro
    // item, and for a folder whose parent has MACRO_TREE_MAX_DEPTH ancestors or more.
    CMacroTreeItem* AddChild(bool bFolder, CMacroTreeItem* pParent, const std::string& strText,
                             uint32_t dwValue, const std::string& strIcon = std::string(),
                             int nTextOffset = 0);
    // Removes the item with its subtree.
    void Remove(CMacroTreeItem* pItem);
    void RemoveChildren(CMacroTreeItem* pItem);
    // 0 for the root and top-level items, else the number of parents above the item.
    static int AncestorCount(const CMacroTreeItem* pItem);
    // The first item of the whole tree (depth first) with this value in its low 24 bits.
    CMacroTreeItem* FindMacroByValue(uint32_t dwValue);
    // Number of macro items in the tree.
    size_t MacroCount() const;

private:
    CMacroTreeItem m_Root;
};

// Path of an item: the base folder, then "/" and the text of each folder from the top down,
// and "/" text + "." + ext for a macro item. Empty when the item is not in a tree, lies
// deeper than 20 levels or the path would be longer than 259 characters.
std::string TreeItemToFilePath(const std::string& strBase, const CMacroTreeItem* pItem,
                               const char* pszExt);
