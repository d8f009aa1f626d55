#include "config/GlobalVar.h"

#include "platform/FileLookup.h"

CGlobalVar gVar;
CMacroLimits MacroLimits;

std::string GetSkinDir(const CGlobalVar& var) {
    if (var.Skins.empty())
        return var.szProgramDir + "skins/";
    // An index that was reported out of range is kept as read; the first skin stands in.
    size_t nIndex = var.nSkinsIndex >= 0 && static_cast<size_t>(var.nSkinsIndex) < var.Skins.size()
                        ? static_cast<size_t>(var.nSkinsIndex)
                        : 0;
    return FileLookup::Resolve(var.szProgramDir, var.Skins[nIndex].szFolder) + "/";
}

std::string GetLangFolder(const CGlobalVar& var) {
    if (var.Langs.empty())
        return std::string();
    size_t nIndex = var.nLangIndex >= 0 && static_cast<size_t>(var.nLangIndex) < var.Langs.size()
                        ? static_cast<size_t>(var.nLangIndex)
                        : 0;
    return var.Langs[nIndex].szFolder;
}
