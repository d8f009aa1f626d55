#pragma once
// The macro folders on disk and what the program does with them: reading a folder into a
// store and/or tree, the presets of OrgMac, the start-up loading, and writing, deleting and
// renaming through tree items.
#include <string>

#include "config/GlobalVar.h"
#include "storage/MacroStore.h"
#include "storage/MacroTree.h"

struct MacroFolderPaths {
    std::string strMac;    // ordinary macros (.mcf)
    std::string strBMac;   // bullet macros (.mcb)
    std::string strOrgMac; // presets, always in the user data folder
};
// With LoadCurDir the folders lie in the program folder, else in the user data folder.
// The paths carry no trailing '/'.
MacroFolderPaths GetMacroFolders(const CGlobalVar& var);

struct MacroFolderFlags {
    bool bNewIds = false;       // each macro gets a new id and is marked to be written again
    bool bSubFolders = false;   // follow sub-folders ([OPT] MacroDir)
    bool bAddToStore = false;   // copy each macro into the store
    bool bNameFromFile = false; // the file name becomes the macro's name
};

// Reads the macro files of a folder (extension pszExt, "mcf" or "mcb") in directory order.
// With a tree, folders become folder items under pParent (down to the tree's depth limit;
// deeper folders and their macros are left out) and macros macro items. Without a tree,
// sub-folders are followed down to 20 levels. Invalid and unsupported files are skipped.
// Returns the number of macros taken.
int ReadMacroFolder(const std::string& strFolder, CMacroTree* pTree, CMacroTreeItem* pParent,
                    const MacroFolderFlags& flags, CMacroStore& store, const char* pszExt,
                    int nMacroHasMsKey);

// The presets of OrgMac: ".mcf" files into macros, ".mcb" into bullets (enciphered or legacy
// form only, no mouse-code check). Returns the number taken.
int LoadOrgMac(const std::string& strOrgMac, CMacroStore& macros, CMacroStore& bullets);

// Start-up: OrgMac into both stores, then Mac into macros and BMac into bullets; installs
// the stores as the key catalogue's source of macro names.
void LoadMacroStores(const CGlobalVar& var, CMacroStore& macros, CMacroStore& bullets);

// Writes the macro of a tree item when it is dirty. The dirty bits are cleared only when the
// write succeeded, so a failed write is tried again at the next flush. True when nothing
// had to be written or the write succeeded.
bool Flush_Dirty_Macro(CMacroTreeItem* pItem, CMacroTree* pTree, CMacroStore& store,
                       const std::string& strMacBase);
bool Flush_Dirty_Macro_MCB(CMacroTreeItem* pItem, CMacroTree* pTree, CMacroStore& store,
                           const std::string& strBMacBase);

// Deletes a macro file after removing the entry with dwId from the store. A missing file
// counts as deleted. On failure strMessage gets the text for the user.
bool DeleteMacroFile(const std::string& strPath, uint32_t dwId, CMacroStore& store,
                     std::string& strMessage);
// Deletes a folder with its files and sub-folders (not those named ".*" or "$*"). A missing
// folder counts as deleted.
bool DeleteMacroFolder(const std::string& strPath, std::string& strMessage);

// Renames a macro item: the record takes the new name, is written under its old path and
// the file is moved to the new name. A name CheckMacroName refuses gives "Invalid name.".
bool RenameMacro(CMacroTreeItem* pItem, CMacroTree* pTree, CMacroStore& store,
                 const std::string& strBase, const char* pszExt, const std::string& strNewName,
                 std::string& strMessage);
// Renames a folder item: its icon first, then the folder; the subtree is read again from
// the moved folder.
bool RenameMacroFolder(CMacroTreeItem* pItem, CMacroTree* pTree, CMacroStore& store,
                       const std::string& strBase, const char* pszExt,
                       const std::string& strNewName, int nMacroHasMsKey, std::string& strMessage);
