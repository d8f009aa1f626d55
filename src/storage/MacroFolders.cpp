#include "storage/MacroFolders.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include "config/Log.h"
#include "platform/FileLookup.h"
#include "storage/MacroFile.h"
#include "storage/ProfileId.h"
#include "storage/WideField.h"

namespace {

constexpr int kStoreOnlyMaxDepth = 20;

bool HasExtension(const char* pszName, const char* pszExt) {
    const char* pDot = std::strrchr(pszName, '.');
    return pDot && std::strcmp(pDot + 1, pszExt) == 0;
}

bool IsHiddenFolderName(const char* pszName) {
    return pszName[0] == '.' || pszName[0] == '$';
}

std::string ParentFolder(const std::string& strPath) {
    size_t n = strPath.find_last_of('/');
    return n == std::string::npos ? std::string() : strPath.substr(0, n);
}

int ReadFolderLevel(const std::string& strFolder, CMacroTree* pTree, CMacroTreeItem* pParent,
                    const MacroFolderFlags& flags, CMacroStore& store, const char* pszExt,
                    int nMask, int nDepth) {
    DIR* pDir = opendir(strFolder.c_str());
    if (!pDir)
        return 0;
    int nTaken = 0;
    bool bStoreFullLogged = false;
    while (dirent* pEnt = readdir(pDir)) {
        const char* pszName = pEnt->d_name;
        if (std::strcmp(pszName, ".") == 0 || std::strcmp(pszName, "..") == 0)
            continue;
        std::string strPath = strFolder + "/" + pszName;
        struct stat st;
        // Folder links are not followed: a link to a parent would never end.
        if (lstat(strPath.c_str(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            if (!flags.bSubFolders || IsHiddenFolderName(pszName))
                continue;
            if (pTree) {
                std::string strIcon = strPath + "/" + pszName + ".png";
                if (!FileLookup::Exists(strIcon))
                    strIcon.clear();
                CMacroTreeItem* pFolder =
                    pTree->AddChild(true, pParent, pszName, 0, strIcon, MACRO_TREE_TEXT_OFFSET);
                if (pFolder)
                    nTaken += ReadFolderLevel(strPath, pTree, pFolder, flags, store, pszExt, nMask,
                                              nDepth + 1);
            } else if (nDepth < kStoreOnlyMaxDepth) {
                nTaken += ReadFolderLevel(strPath, nullptr, nullptr, flags, store, pszExt, nMask,
                                          nDepth + 1);
            }
            continue;
        }
        if (!HasExtension(pszName, pszExt))
            continue;
        StMacro rec;
        if (ReadMacroFile(strPath, EMacroForm::PlainAllowed, nMask, rec) != EMacroRead::Ok)
            continue;
        if (flags.bNewIds) {
            rec.dwId = NewMacroId();
            rec.dwDirty |= MACRO_DIRTY_OPTIONS;
        }
        std::string strItem = TextEncoding::CutToUtf16Units(FileTitle(pszName), MACRO_NAME_LEN - 1);
        if (flags.bNameFromFile && strcasecmp(strItem.c_str(), MacroName(rec).c_str()) != 0)
            SetMacroName(rec, strItem);
        if (flags.bAddToStore && !store.Add(rec)) {
            if (!bStoreFullLogged)
                LogPrint("Macro store full (%zu), %s not added", store.Max(), strPath.c_str());
            bStoreFullLogged = true;
            continue;
        }
        if (pTree)
            pTree->AddChild(false, pParent, FileTitle(pszName), rec.dwId, std::string(),
                            MACRO_TREE_TEXT_OFFSET);
        ++nTaken;
    }
    closedir(pDir);
    return nTaken;
}

bool FlushDirty(CMacroTreeItem* pItem, CMacroTree* pTree, CMacroStore& store,
                const std::string& strBase, const char* pszExt) {
    if (!pItem || !pTree) {
        LogPrint("Flush_Dirty_Macro: pItem=0x%0lx(%s) error",
                 static_cast<unsigned long>(reinterpret_cast<uintptr_t>(pItem)),
                 pItem ? pItem->strText.c_str() : "");
        return false;
    }
    if (pItem->bFolder)
        return true;
    StMacro* pRec = store.FindByItemValue(pItem->dwValue);
    if (!pRec || (pRec->dwDirty & MACRO_DIRTY_BITS) == 0)
        return true;
    std::string strPath = TreeItemToFilePath(strBase, pItem, pszExt);
    if (strPath.empty()) {
        LogPrint("Flush_Dirty_Macro: TreeItem_To_FilePath failed");
        return false;
    }
    if (!save_macro_to_file_mcb(strPath, *pRec, false)) {
        LogPrint("Flush_Dirty_Macro: WriteFile err=0x%x, %s", static_cast<unsigned>(errno),
                 strPath.c_str());
        return false;
    }
    pRec->dwDirty &= ~MACRO_DIRTY_BITS;
    return true;
}

} // namespace

MacroFolderPaths GetMacroFolders(const CGlobalVar& var) {
    std::string strBase = var.LoadCurDir == 1 ? var.szProgramDir : var.szUserDataDir;
    return MacroFolderPaths{strBase + "Mac", strBase + "BMac", var.szUserDataDir + "OrgMac"};
}

int ReadMacroFolder(const std::string& strFolder, CMacroTree* pTree, CMacroTreeItem* pParent,
                    const MacroFolderFlags& flags, CMacroStore& store, const char* pszExt,
                    int nMacroHasMsKey) {
    return ReadFolderLevel(strFolder, pTree, pParent, flags, store, pszExt, nMacroHasMsKey, 0);
}

int LoadOrgMac(const std::string& strOrgMac, CMacroStore& macros, CMacroStore& bullets) {
    DIR* pDir = opendir(strOrgMac.c_str());
    if (!pDir)
        return 0;
    int nTaken = 0;
    while (dirent* pEnt = readdir(pDir)) {
        bool bMcf = HasExtension(pEnt->d_name, "mcf");
        bool bMcb = HasExtension(pEnt->d_name, "mcb");
        if (!bMcf && !bMcb)
            continue;
        StMacro rec;
        // Presets are never plain; the mouse codes are not checked (all bits allowed).
        EMacroRead res =
            ReadMacroFile(strOrgMac + "/" + pEnt->d_name, EMacroForm::Enciphered, 0x7F, rec);
        if (res != EMacroRead::Ok)
            continue;
        if ((bMcf ? macros : bullets).Add(rec))
            ++nTaken;
    }
    closedir(pDir);
    return nTaken;
}

void LoadMacroStores(const CGlobalVar& var, CMacroStore& macros, CMacroStore& bullets) {
    MacroFolderPaths paths = GetMacroFolders(var);
    LoadOrgMac(paths.strOrgMac, macros, bullets);
    MacroFolderFlags flags;
    flags.bSubFolders = var.MacroDir != 0;
    flags.bAddToStore = true;
    ReadMacroFolder(paths.strMac, nullptr, nullptr, flags, macros, "mcf", var.MacroHasMsKey);
    ReadMacroFolder(paths.strBMac, nullptr, nullptr, flags, bullets, "mcb", var.MacroHasMsKey);
    if (&macros == &MacroStore && &bullets == &BulletStore)
        InstallMacroNameSource();
}

bool Flush_Dirty_Macro(CMacroTreeItem* pItem, CMacroTree* pTree, CMacroStore& store,
                       const std::string& strMacBase) {
    return FlushDirty(pItem, pTree, store, strMacBase, "mcf");
}

bool Flush_Dirty_Macro_MCB(CMacroTreeItem* pItem, CMacroTree* pTree, CMacroStore& store,
                           const std::string& strBMacBase) {
    return FlushDirty(pItem, pTree, store, strBMacBase, "mcb");
}

bool DeleteMacroFile(const std::string& strPath, uint32_t dwId, CMacroStore& store,
                     std::string& strMessage) {
    store.Remove(dwId);
    if (unlink(strPath.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR)
        return true;
    int nErr = errno;
    LogPrint("DeleteFile %s, err=%d", strPath.c_str(), nErr);
    char sz[96];
    snprintf(sz, sizeof(sz), "Delete File failed, err = %d.", nErr);
    strMessage = sz;
    return false;
}

static bool DeleteFolderTree(const std::string& strPath, int& nErr) {
    DIR* pDir = opendir(strPath.c_str());
    if (!pDir) {
        nErr = errno;
        return nErr == ENOENT;
    }
    bool bOk = true;
    while (dirent* pEnt = readdir(pDir)) {
        const char* pszName = pEnt->d_name;
        if (std::strcmp(pszName, ".") == 0 || std::strcmp(pszName, "..") == 0)
            continue;
        std::string strChild = strPath + "/" + pszName;
        struct stat st;
        if (lstat(strChild.c_str(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            if (IsHiddenFolderName(pszName))
                continue;
            if (!DeleteFolderTree(strChild, nErr)) {
                bOk = false;
                break;
            }
            continue;
        }
        if (!S_ISLNK(st.st_mode))
            chmod(strChild.c_str(), st.st_mode | S_IWUSR);
        if (unlink(strChild.c_str()) != 0) {
            nErr = errno;
            LogPrint("DeleteFile %s, err=%d", strChild.c_str(), nErr);
            bOk = false;
            break;
        }
    }
    closedir(pDir);
    if (!bOk)
        return false;
    if (rmdir(strPath.c_str()) != 0 && errno != ENOENT) {
        nErr = errno;
        return false;
    }
    return true;
}

bool DeleteMacroFolder(const std::string& strPath, std::string& strMessage) {
    int nErr = 0;
    if (DeleteFolderTree(strPath, nErr))
        return true;
    char sz[96];
    snprintf(sz, sizeof(sz), "Remove Directory failed, err = %d.", nErr);
    strMessage = sz;
    return false;
}

bool RenameMacro(CMacroTreeItem* pItem, CMacroTree* pTree, CMacroStore& store,
                 const std::string& strBase, const char* pszExt, const std::string& strName,
                 std::string& strMessage) {
    std::string strNewName = strName;
    if (!CheckMacroName(strNewName)) {
        strMessage = "Invalid name.";
        return false;
    }
    std::string strOld = TreeItemToFilePath(strBase, pItem, pszExt);
    StMacro* pRec = pItem ? store.FindByItemValue(pItem->dwValue) : nullptr;
    if (strOld.empty() || !pRec) {
        strMessage = "Rename failed.";
        return false;
    }
    SetMacroName(*pRec, strNewName);
    pRec->dwDirty |= MACRO_DIRTY_OPTIONS;
    FlushDirty(pItem, pTree, store, strBase, pszExt);
    std::string strNew = ParentFolder(strOld) + "/" + strNewName + "." + pszExt;
    if (rename(strOld.c_str(), strNew.c_str()) != 0) {
        char sz[64];
        snprintf(sz, sizeof(sz), "Rename failed. err=0x%x", static_cast<unsigned>(errno));
        strMessage = sz;
        return false;
    }
    pItem->strText = strNewName;
    return true;
}

bool RenameMacroFolder(CMacroTreeItem* pItem, CMacroTree* pTree, CMacroStore& store,
                       const std::string& strBase, const char* pszExt,
                       const std::string& strNewName, int nMacroHasMsKey, std::string& strMessage) {
    std::string strOld = TreeItemToFilePath(strBase, pItem, pszExt);
    if (strOld.empty() || !pItem->bFolder) {
        strMessage = "Rename failed.";
        return false;
    }
    std::string strNew = ParentFolder(strOld) + "/" + strNewName;
    std::string strIcon = strOld + "/" + pItem->strText + ".png";
    if (FileLookup::Exists(strIcon))
        rename(strIcon.c_str(), (strOld + "/" + strNewName + ".png").c_str());
    if (rename(strOld.c_str(), strNew.c_str()) != 0) {
        int nErr = errno;
        // A folder item that has no folder on disk yet only changes its text.
        if (nErr == ENOENT && pItem->vChildren.empty()) {
            pItem->strText = strNewName;
            return true;
        }
        char sz[64];
        snprintf(sz, sizeof(sz), "Rename failed. err=0x%x", static_cast<unsigned>(nErr));
        strMessage = sz;
        return false;
    }
    pItem->strText = strNewName;
    std::string strNewIcon = strNew + "/" + strNewName + ".png";
    pItem->strIcon = FileLookup::Exists(strNewIcon) ? strNewIcon : std::string();
    if (!pItem->vChildren.empty()) {
        pTree->RemoveChildren(pItem);
        MacroFolderFlags flags;
        flags.bSubFolders = true;
        ReadMacroFolder(strNew, pTree, pItem, flags, store, pszExt, nMacroHasMsKey);
    }
    return true;
}
