#include "config/Startup.h"

#include <cstdio>
#include <filesystem>

#include "config/KbPadDescLoader.h"
#include "config/KeyTablesLoader.h"
#include "config/Log.h"
#include "config/MouseDescLoader.h"
#include "config/Options.h"
#include "config/TextCatalogue.h"
#include "config/TextEncoding.h"
#include "platform/Clock.h"
#include "platform/FileLookup.h"
#include "platform/Paths.h"
#include "storage/KeyCfgStartup.h"

StartupDirs DefaultStartupDirs() {
    return StartupDirs{Paths::ProgramDir(), Paths::LocalAppDataDir(), Paths::DesktopDir()};
}

std::string TextCataloguePath(const CGlobalVar& var) {
    if (!var.Langs.empty())
        return FileLookup::Resolve(var.szProgramDir, "Text/" + GetLangFolder(var) + "/text.xml");
    return FileLookup::Resolve(var.szProgramDir, "text.xml");
}

std::string MutexName() {
    const std::string& strName = Txt("tc_mutex");
    return strName.empty() ? std::string("MUTEX_QV_COMBO8948") : strName;
}

// A product line may ship its first choices of skin, language and sound as lang.ini in the
// program directory; a user who has none yet starts from those.
static void CopyDefaultLangIni(const CGlobalVar& var) {
    std::string strUser = var.szUserDataDir + "lang.ini";
    if (FileLookup::Exists(strUser))
        return;
    std::string strDefault = FileLookup::Resolve(var.szProgramDir, "lang.ini");
    if (auto data = FileLookup::ReadAll(strDefault))
        FileLookup::WriteAtomic(strUser, data->data(), data->size());
}

bool LoadConfiguration(const StartupDirs& dirs, CGlobalVar& var, CMacroLimits& limits) {
    // Program directory: without it nothing of the installation can be found.
    if (dirs.strProgramDir.empty() || dirs.strProgramDir.find('/') == std::string::npos)
        return false;
    std::string strProgramDir = Paths::WithSlash(dirs.strProgramDir);

    // Built-in sensor resolution tables are part of the mouse description.

    // Options and descriptions from cfg.ini. The record starts cleared.
    var = CGlobalVar{};
    var.szProgramDir = strProgramDir;
    CIniFile cfg(FileLookup::Resolve(strProgramDir, "cfg.ini"));
    LoadLogOptions(cfg, var);
    LogSetup(var.Debug, dirs.strDesktop);
    LoadOptions(cfg, var);
    // Description sections: [MS], [KB], [PAD] in that order.
    if (var.MsFw != 0)
        LoadMsSection(cfg, var);
    if (var.KbFw != 0)
        LoadKbSection(cfg, var);
    if (var.PadFw != 0)
        LoadPadSection(cfg, var);

    // Key presets of ProCfg.ini.
    LoadKeyPresets(var);

    // User data directory: created when missing. A fresh account may not have
    // ~/.local/share yet either; without it nothing the user makes could be saved.
    var.szUserDataDir = Paths::WithSlash(dirs.strLocalAppData);
    std::error_code ec;
    std::filesystem::create_directories(var.szUserDataDir, ec);
    if (!var.appdir.empty()) {
        var.szUserDataDir += var.appdir + "/";
        FileLookup::MakeDir(var.szUserDataDir);
    }
    CopyDefaultLangIni(var);

    // Key tables and macro limits.
    // The user's keycfg.kyg, when valid, supplies the default mouse keys.
    KeyAssign kygKeys[MS_MODE_NUM][MS_KEY_MAX];
    bool bKyg = var.MsFw != 0 && ReadStartupKeycfg(var.szUserDataDir, kygKeys);
    LoadKeyTables(cfg, var, bKyg ? &kygKeys : nullptr);
    SetMacroLimits(var, limits);

    // Skins and languages.
    CIniFile lang(var.szUserDataDir + "lang.ini");
    var.nPlaySound = lang.GetInt("OPT", "PlaySound", 0);
    var.HideDrvOpt = cfg.GetInt("OPT", "HideDrvOpt", 1);
    if (var.HideDrvOpt % 2 == 0)
        LoadSkinAndLangLists(cfg, lang, var);

    // Every list and key entry of cfg.ini has been read by now.
    const auto& vCfgNotes = cfg.HexPrefixNotes();
    var.vHexPrefixNotes.insert(var.vHexPrefixNotes.begin(), vCfgNotes.begin(), vCfgNotes.end());

    // Texts.
    g_Text.Load(TextCataloguePath(var));

    var.pszTitle = !var.szTitle.empty() ? var.szTitle : Txt("tc_title");

    LogPrint("--------------------------------------------------");
    LocalTime t = GetClock().Now();
    LogPrint("Launch %04d-%d-%d:%dH, Ver=%s, Title=%s", t.nYear, t.nMonth, t.nDay, t.nHour,
             var.szVer.c_str(), var.pszTitle.c_str());

    if (!var.szVer.empty()) {
        char szBuf[256];
        snprintf(szBuf, sizeof(szBuf), "%s %s", Txt("tc_version").c_str(), var.szVer.c_str());
        var.szVersionText = TextEncoding::CutToUtf16Units(szBuf, 49);
    }
    return true;
}
