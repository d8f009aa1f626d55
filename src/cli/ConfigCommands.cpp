#include "cli/CliContext.h"
#include "cli/JsonValues.h"
#include "config/GlobalVar.h"

namespace {
nlohmann::json ListJson(const std::vector<SkinEntry>& v) {
    nlohmann::json j = nlohmann::json::array();
    for (const auto& e : v)
        j.push_back({{"name", e.szName}, {"folder", e.szFolder}});
    return j;
}
} // namespace

nlohmann::json OptionsJson(const CGlobalVar& v) {
    nlohmann::json j;
    j["ProgramDir"] = v.szProgramDir;
    j["UserDataDir"] = v.szUserDataDir;
    j["SkinDir"] = GetSkinDir(v);
    j["Skins"] = ListJson(v.Skins);
    j["SkinsIndex"] = v.nSkinsIndex;
    j["Lang"] = ListJson(v.Langs);
    j["LangIndex"] = v.nLangIndex;
    j["PlaySound"] = v.nPlaySound;
    j["Title"] = v.szTitle;
    j["Ver"] = v.szVer;
    j["VersionText"] = v.szVersionText;
    j["pszTitle"] = v.pszTitle;
    j["Debug"] = v.Debug;
    j["Suwnd"] = v.Suwnd;
    j["BtnTips"] = v.BtnTips;
    j["ApplyNow"] = v.ApplyNow;
    j["FontName"] = v.FontName;
    j["appdir"] = v.appdir;
    j["TrayIcon"] = v.TrayIcon;
    j["GoWithNoDev"] = v.GoWithNoDev;
    j["FrameDebug"] = v.FrameDebug;
    j["ExitOnPlugOut"] = v.ExitOnPlugOut;
    j["ShowDevList"] = v.ShowDevList;
    j["ComboRec"] = v.ComboRec;
    j["ProfileNum"] = v.ProfileNum;
    j["FontSize"] = v.FontSize;
    j["ViewKeyNum"] = v.ViewKeyNum;
    j["KbType"] = v.KbType;
    j["InputMethod"] = v.InputMethod;
    j["LoadCurDir"] = v.LoadCurDir;
    j["MsFw"] = v.MsFw;
    j["KbFw"] = v.KbFw;
    j["PadFw"] = v.PadFw;
    j["HideDrvOpt"] = v.HideDrvOpt;
    j["MacProtocol"] = v.MacProtocol;
    j["ProfileGpY"] = v.ProfileGpY;
    j["DevListGpY"] = v.DevListGpY;
    j["DrvGpY"] = v.DrvGpY;
    j["ptKeyMsDlg"] = PointJson(v.ptKeyMsDlg);
    j["ptMsMarkDlg"] = PointJson(v.ptMsMarkDlg);
    j["ptMinBtn"] = PointJson(v.ptMinBtn);
    j["ptDpiDlg"] = PointJson(v.ptDpiDlg);
    j["ptResetBtn"] = PointJson(v.ptResetBtn);
    j["ptViewBtn"] = PointJson(v.ptViewBtn);
    j["rcHomePageBtn"] = RectJson(v.rcHomePageBtn);
    j["rcWebFacebook"] = RectJson(v.rcWebFacebook);
    j["rcWebTwitter"] = RectJson(v.rcWebTwitter);
    j["rcDevStatusBtn"] = RectJson(v.rcDevStatusBtn);
    j["PopWndTrans"] = v.PopWndTrans;
    j["ClrPopWndBkg"] = RgbJson(v.ClrPopWndBkg);
    j["ClrPopWndFrame"] = RgbJson(v.ClrPopWndFrame);
    j["Txt_clr"] = RgbJson(v.Txt_clr);
    j["Btn_txt_clr_nr"] = RgbJson(v.Btn_txt_clr_nr);
    j["Btn_txt_clr_ov"] = RgbJson(v.Btn_txt_clr_ov);
    j["Btn_txt_clr_dn"] = RgbJson(v.Btn_txt_clr_dn);
    j["Menu_txt_clr_nr"] = RgbJson(v.Menu_txt_clr_nr);
    j["Menu_txt_clr_ov"] = RgbJson(v.Menu_txt_clr_ov);
    j["Menu_txt_clr_dn"] = RgbJson(v.Menu_txt_clr_dn);
    j["LstBox_txt_clr_nr"] = RgbJson(v.LstBox_txt_clr_nr);
    j["LstBox_txt_clr_dn"] = RgbJson(v.LstBox_txt_clr_dn);
    j["LstBox_bkg_clr"] = RgbJson(v.LstBox_bkg_clr);
    j["LstBox_item_clr"] = RgbJson(v.LstBox_item_clr);
    j["clrMask"] = RgbJson(v.clrMask);
    j["MacroDir"] = v.MacroDir;
    j["MacroHasMsKey"] = v.MacroHasMsKey;
    j["ListTrans"] = v.ListTrans;
    j["MacOperBtn"] = v.MacOperBtn;
    j["rcMacroList"] = RectJson(v.rcMacroList);
    j["rcKeyList"] = RectJson(v.rcKeyList);
    j["Macro_Opt_X"] = v.Macro_Opt_X;
    j["ShowMovingItem"] = v.ShowMovingItem;
    j["AutoSaveMacro"] = v.AutoSaveMacro;
    return j;
}

nlohmann::json MacroLimitsJson(const CMacroLimits& m) {
    return {{"nMinDelay", m.nMinDelay}, {"nMaxUnits", m.nMaxUnits}, {"nMaxMacros", m.nMaxMacros},
            {"nMaxLoop", m.nMaxLoop},   {"nMaxDelay", m.nMaxDelay}, {"nMaxEvents", m.nMaxEvents}};
}

void RegisterConfigCommands(CLI::App& app, CCliContext& ctx) {
    CLI::App* pCmd = app.add_subcommand("config", "print the loaded configuration as JSON");
    pCmd->callback([&ctx] {
        ctx.LoadInstallation();
        nlohmann::json j;
        j["OPT"] = OptionsJson(gVar);
        j["MacroLimits"] = MacroLimitsJson(MacroLimits);
        AddDescriptionJson(j);
        AddKeyTablesJson(j);
        j["messages"] = ctx.MessagesJson();
        PrintJson(j);
    });
}
