#include "config/Options.h"

#include <cstdio>

#include "config/TextEncoding.h"
#include "platform/MessageBox.h"

namespace {
constexpr const char* kOpt = "OPT";

uint32_t Rgb(int r, int g, int b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) |
           (static_cast<uint32_t>(b) << 16);
}

// Reads Skins%d or Lang%d; returns false when an entry was malformed (the message is shown).
bool ReadList(const CIniFile& cfg, const char* pszKey, std::vector<SkinEntry>& vList) {
    vList.clear();
    for (int n = 1; vList.size() < 10; ++n) {
        char szKey[32];
        snprintf(szKey, sizeof(szKey), "%s%d", pszKey, n);
        std::string strValue = cfg.GetString(kOpt, szKey, "", 260);
        if (strValue.empty())
            break;
        size_t nComma = strValue.find(',');
        if (nComma == std::string::npos || nComma + 1 >= strValue.size()) {
            // Entries read before the bad one stay; nothing after it is read.
            ErrorBox("%s%d is invalidate", pszKey, n);
            return false;
        }
        SkinEntry entry;
        entry.szName = TextEncoding::CutToUtf16Units(strValue.substr(0, nComma), 29);
        entry.szFolder = TextEncoding::CutToUtf16Units(strValue.substr(nComma + 1), 29);
        vList.push_back(entry);
    }
    return true;
}
} // namespace

void LoadLogOptions(const CIniFile& cfg, CGlobalVar& var) {
    var.Debug = cfg.GetInt(kOpt, "Debug", 0);
    var.szTitle = cfg.GetString(kOpt, "Title", "", 100);
    var.szVer = cfg.GetString(kOpt, "Ver", "", 10);
}

void LoadOptions(const CIniFile& cfg, CGlobalVar& var) {
    // Behaviour.
    var.Suwnd = cfg.GetInt(kOpt, "Suwnd", 0);
    var.BtnTips = cfg.GetInt(kOpt, "BtnTips", 0);
    var.ApplyNow = cfg.GetInt(kOpt, "ApplyNow", 0);
    var.FontName = cfg.GetString(kOpt, "FontName", "", 30);
    var.appdir = cfg.GetString(kOpt, "appdir", "", 30);
    if (var.appdir.empty())
        ErrorBox("APPDATA=NULL");
    var.TrayIcon = cfg.GetInt(kOpt, "TrayIcon", 2);
    var.GoWithNoDev = cfg.GetInt(kOpt, "GoWithNoDev", 0);
    var.FrameDebug = cfg.GetInt(kOpt, "FrameDebug", 0);
    var.ExitOnPlugOut = cfg.GetInt(kOpt, "ExitOnPlugOut", 0);
    var.ShowDevList = cfg.GetInt(kOpt, "ShowDevList", 1);
    var.ComboRec = cfg.GetInt(kOpt, "ComboRec", 1);
    var.ProfileNum = cfg.GetInt(kOpt, "ProfileNum", 3);
    var.FontSize = cfg.GetInt(kOpt, "FontSize", 14);
    var.ViewKeyNum = cfg.GetInt(kOpt, "ViewKeyNum", 0);
    var.KbType = cfg.GetInt(kOpt, "KbType", 0);
    var.InputMethod = cfg.GetInt(kOpt, "InputMethod", 0);
    var.LoadCurDir = cfg.GetInt(kOpt, "LoadCurDir", 0);

    // Layout.
    var.ProfileGpY = cfg.GetInt(kOpt, "ProfileGpY", 430);
    var.DevListGpY = cfg.GetInt(kOpt, "DevListGpY", 525);
    var.DrvGpY = cfg.GetInt(kOpt, "DrvGpY", 0);
    var.ptKeyMsDlg = cfg.GetPoint(kOpt, "ptKeyMsDlg", POINT{30, 40});
    var.ptMsMarkDlg = cfg.GetPoint(kOpt, "ptMsMarkDlg", POINT{340, 63});
    var.ptMinBtn = cfg.GetPoint(kOpt, "ptMinBtn", POINT{960, 12});
    var.ptDpiDlg = cfg.GetPoint(kOpt, "ptDpiDlg", POINT{743, 41});
    var.ptResetBtn = cfg.GetPoint(kOpt, "ptResetBtn", POINT{795, 600});
    var.ptViewBtn = cfg.GetPoint(kOpt, "ptViewBtn", POINT{0, 0});
    var.rcHomePageBtn = RECT{0, 0, 0, 0};
    var.rcWebFacebook = RECT{0, 0, 0, 0};
    var.rcWebTwitter = RECT{0, 0, 0, 0};
    var.rcDevStatusBtn = RECT{0, 0, 0, 0};
    cfg.GetRect(kOpt, "rcHomePageBtn", var.rcHomePageBtn);
    cfg.GetRect(kOpt, "rcWebFacebook", var.rcWebFacebook);
    cfg.GetRect(kOpt, "rcWebTwitter", var.rcWebTwitter);
    cfg.GetRect(kOpt, "rcDevStatusBtn", var.rcDevStatusBtn);
    var.PopWndTrans = cfg.GetInt(kOpt, "PopWndTrans", 255);

    // Controller codes.
    var.MsFw = cfg.GetInt(kOpt, "MsFw", 0);
    var.KbFw = cfg.GetInt(kOpt, "KbFw", 0);
    var.PadFw = cfg.GetInt(kOpt, "PadFw", 0);

    // Colours.
    var.ClrPopWndBkg = cfg.GetColor(kOpt, "ClrPopWndBkg", Rgb(6, 6, 7));
    var.ClrPopWndFrame = cfg.GetColor(kOpt, "ClrPopWndFrame", Rgb(35, 35, 35));
    var.Txt_clr = cfg.GetColor(kOpt, "Txt_clr", Rgb(200, 200, 200));
    var.Btn_txt_clr_nr = cfg.GetColor(kOpt, "Btn_txt_clr_nr", Rgb(200, 200, 200));
    var.Btn_txt_clr_ov = cfg.GetColor(kOpt, "Btn_txt_clr_ov", Rgb(255, 255, 255));
    var.Btn_txt_clr_dn = cfg.GetColor(kOpt, "Btn_txt_clr_dn", Rgb(67, 156, 200));
    var.Menu_txt_clr_nr = cfg.GetColor(kOpt, "Menu_txt_clr_nr", Rgb(200, 200, 200));
    var.Menu_txt_clr_ov = cfg.GetColor(kOpt, "Menu_txt_clr_ov", Rgb(255, 255, 255));
    var.Menu_txt_clr_dn = cfg.GetColor(kOpt, "Menu_txt_clr_dn", Rgb(67, 156, 200));
    var.LstBox_txt_clr_nr = cfg.GetColor(kOpt, "LstBox_txt_clr_nr", Rgb(200, 200, 200));
    var.LstBox_txt_clr_dn = cfg.GetColor(kOpt, "LstBox_txt_clr_dn", Rgb(0, 0, 0));
    var.LstBox_bkg_clr = cfg.GetColor(kOpt, "LstBox_bkg_clr", Rgb(0, 0, 0));
    var.LstBox_item_clr = cfg.GetColor(kOpt, "LstBox_item_clr", Rgb(0, 0, 0));
    var.clrMask = cfg.GetColor(kOpt, "clrMask", Rgb(0, 0, 0));

    // Macro editor.
    var.MacroDir = cfg.GetInt(kOpt, "MacroDir", 0);
    var.MacroHasMsKey = cfg.GetInt(kOpt, "MacroHasMsKey", 0);
    var.ListTrans = cfg.GetInt(kOpt, "ListTrans", 0) & 0xFFFF;
    var.MacOperBtn = cfg.GetInt(kOpt, "MacOperBtn", 0);
    var.rcMacroList = RECT{40, 46, 230, 356};
    cfg.GetRect(kOpt, "rcMacroList", var.rcMacroList);
    if (!cfg.GetRect(kOpt, "rcKeyList", var.rcKeyList))
        var.rcKeyList = RECT{var.rcMacroList.right + 20, var.rcMacroList.top,
                             var.rcMacroList.right + 210, var.rcMacroList.bottom};
    var.Macro_Opt_X = cfg.GetInt(kOpt, "Macro_Opt_X", var.rcKeyList.right + 50);
    var.ShowMovingItem = cfg.GetInt(kOpt, "ShowMovingItem", 0);
    var.AutoSaveMacro = cfg.GetInt(kOpt, "AutoSaveMacro", 1);

    var.MacProtocol = cfg.GetInt(kOpt, "MacProtocol", 0);
    if (var.MacProtocol != 1 && var.MacProtocol != 2)
        ErrorBox("Macro Protocol is unknown");
}

void LoadSkinAndLangLists(const CIniFile& cfg, const CIniFile& lang, CGlobalVar& var) {
    var.Skins.clear();
    var.Langs.clear();
    if (!ReadList(cfg, "Skins", var.Skins))
        return;
    var.nSkinsIndex = lang.GetInt(kOpt, "SkinsIndex", 0);
    if (!var.Skins.empty() &&
        (var.nSkinsIndex < 0 || static_cast<size_t>(var.nSkinsIndex) >= var.Skins.size()))
        ErrorBox("SkinsIndex is invalidate");
    if (!ReadList(cfg, "Lang", var.Langs))
        return;
    var.nLangIndex = lang.GetInt(kOpt, "LangIndex", 0);
    if (!var.Langs.empty() &&
        (var.nLangIndex < 0 || static_cast<size_t>(var.nLangIndex) >= var.Langs.size()))
        ErrorBox("LangIndex is invalidate");
}

void SetMacroLimits(const CGlobalVar& var, CMacroLimits& limits) {
    bool bMouse = var.MsFw != 0, bKeyboard = var.KbFw != 0;
    limits = CMacroLimits{};
    limits.nMinDelay = 1;
    if (bMouse && bKeyboard)
        limits = CMacroLimits{1, 128, 64, 255, 25627, 32};
    else if (bMouse)
        limits = CMacroLimits{1, 506, 20, 255, 4095, 168};
    else if (bKeyboard)
        limits = CMacroLimits{1, 128, 32, 65535, 65280, 60};
    else
        limits = CMacroLimits{1, 128, 0, 65535, 0, 0};
}
