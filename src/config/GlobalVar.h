#pragma once
// gVar: every value loaded at start-up. Cleared and filled once by the start-up sequence;
// afterwards only the options dialog changes the skin, language and sound choices.
// Loaders take the record they fill as a parameter, so tests build their own.
#include <cstdint>
#include <string>
#include <vector>

#include "config/DeviceDesc.h"
#include "config/IniFile.h"

struct SkinEntry {
    std::string szName;   // display name offered in the options dialog (at most 29 characters)
    std::string szFolder; // folder name used in paths (at most 29 characters)
};

struct CGlobalVar {
    // Paths and identity. Directories end in '/'.
    std::string szProgramDir;
    std::string szUserDataDir;
    std::vector<SkinEntry> Skins; // at most 10
    int nSkinsIndex = 0;
    std::vector<SkinEntry> Langs; // at most 10
    int nLangIndex = 0;
    std::string szTitle;       // [OPT] Title, 100
    std::string szVer;         // [OPT] Ver, 10
    std::string szVersionText; // tc_version, a blank, Ver (49 characters)
    std::string pszTitle;      // Title when not empty, else tc_title
    int nPlaySound = 0;        // lang.ini PlaySound

    // [OPT] behaviour
    int Debug = 0;
    int Suwnd = 0;
    int BtnTips = 0;
    int ApplyNow = 0;
    std::string FontName; // 30
    std::string appdir;   // 30
    int TrayIcon = 2;
    int GoWithNoDev = 0;
    int FrameDebug = 0;
    int ExitOnPlugOut = 0;
    int ShowDevList = 1;
    int ComboRec = 1;
    int ProfileNum = 3;
    int FontSize = 14;
    int ViewKeyNum = 0;
    int KbType = 0;
    int InputMethod = 0;
    int LoadCurDir = 0;
    int MsFw = 0;
    int KbFw = 0;
    int PadFw = 0;
    int HideDrvOpt = 1;
    int MacProtocol = 0;

    // [OPT] window layout
    int ProfileGpY = 430;
    int DevListGpY = 525;
    int DrvGpY = 0;
    POINT ptKeyMsDlg{30, 40};
    POINT ptMsMarkDlg{340, 63};
    POINT ptMinBtn{960, 12};
    POINT ptDpiDlg{743, 41};
    POINT ptResetBtn{795, 600};
    POINT ptViewBtn{0, 0};
    RECT rcHomePageBtn{0, 0, 0, 0};
    RECT rcWebFacebook{0, 0, 0, 0};
    RECT rcWebTwitter{0, 0, 0, 0};
    RECT rcDevStatusBtn{0, 0, 0, 0};
    int PopWndTrans = 255;
    uint32_t ClrPopWndBkg = 0;
    uint32_t ClrPopWndFrame = 0;
    uint32_t Txt_clr = 0;
    uint32_t Btn_txt_clr_nr = 0;
    uint32_t Btn_txt_clr_ov = 0;
    uint32_t Btn_txt_clr_dn = 0;
    uint32_t Menu_txt_clr_nr = 0;
    uint32_t Menu_txt_clr_ov = 0;
    uint32_t Menu_txt_clr_dn = 0;
    uint32_t LstBox_txt_clr_nr = 0;
    uint32_t LstBox_txt_clr_dn = 0;
    uint32_t LstBox_bkg_clr = 0;
    uint32_t LstBox_item_clr = 0;
    uint32_t clrMask = 0;

    // [OPT] macro editor
    int MacroDir = 0;
    int MacroHasMsKey = 0;
    int ListTrans = 0; // low 16 bits kept
    int MacOperBtn = 0;
    RECT rcMacroList{40, 46, 230, 356};
    RECT rcKeyList{0, 0, 0, 0};
    int Macro_Opt_X = 0;
    int ShowMovingItem = 0;
    int AutoSaveMacro = 1;

    // Device descriptions and key tables, loaded by their own Parts of the configuration.
    DeviceDesc Dev;

    // Numbers of cfg.ini and ProCfg.ini written with 0x where bare hexadecimal digits belong;
    // each ended its list or entry (velkinctl check lists them).
    std::vector<CIniHexPrefixNote> vHexPrefixNotes;
};

struct CMacroLimits {
    int nMinDelay = 0;
    int nMaxUnits = 0;
    int nMaxMacros = 0;
    int nMaxLoop = 0;
    int nMaxDelay = 0;
    int nMaxEvents = 0;
};

// The program's one settings record and macro limits.
extern CGlobalVar gVar;
extern CMacroLimits MacroLimits;

// Skin directory: program directory + folder of the chosen skin + '/', or + "skins/" when
// the skin list is empty. An index out of range uses the first entry.
std::string GetSkinDir(const CGlobalVar& var);
// Folder name of the chosen language, empty when the list is empty.
std::string GetLangFolder(const CGlobalVar& var);
