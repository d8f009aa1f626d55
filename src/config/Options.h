#pragma once
// Section OPT of cfg.ini, the skin and language lists and the macro limits.
#include "config/GlobalVar.h"
#include "config/IniFile.h"

// Reads Debug, Title and Ver: the keys needed before the log can be set up.
void LoadLogOptions(const CIniFile& cfg, CGlobalVar& var);
// Reads every other [OPT] key in its order: behaviour, layout points and rectangles, the
// three controller codes, colours, macro editor keys, MacProtocol. Problems are reported
// through message boxes and loading goes on with the default.
void LoadOptions(const CIniFile& cfg, CGlobalVar& var);
// Skins%d, SkinsIndex, Lang%d and LangIndex; called only when HideDrvOpt is even.
void LoadSkinAndLangLists(const CIniFile& cfg, const CIniFile& lang, CGlobalVar& var);
// Sets the six limits from the device combination.
void SetMacroLimits(const CGlobalVar& var, CMacroLimits& limits);
