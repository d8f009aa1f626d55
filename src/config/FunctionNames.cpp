#include "config/FunctionNames.h"

#include <climits>
#include <cstdarg>
#include <cstdio>

#include "config/KeyNames.h"
#include "config/SensorTable.h"
#include "config/TextCatalogue.h"

namespace {

const IMacroNameSource* g_pMacroNames = nullptr;

std::string Format(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* pszFormat, ...) {
    char szBuf[512];
    va_list args;
    va_start(args, pszFormat);
    vsnprintf(szBuf, sizeof(szBuf), pszFormat, args);
    va_end(args);
    return szBuf;
}

// The text of a numbered id such as tc_chiji%d.
const std::string& TxtN(const char* pszFormat, int n) {
    char szId[64];
    snprintf(szId, sizeof(szId), pszFormat, n);
    return Txt(szId);
}

std::string JoinDash(const std::string& strA, const std::string& strB) {
    return Format("%s - %s", strA.c_str(), strB.c_str());
}

// Media and application keys of classes 3 and 4.
const char* MediaTextId(uint32_t dwCode) {
    static const char* const aMedia[] = {"tc_kbmedia_msel", "tc_PL",         "tc_stop",
                                         "tc_pre_media",    "tc_next_media", "tc_vol_up",
                                         "tc_vol_dw",       "tc_mute"};
    static const char* const aApp[] = {"tc_kbmedia_mail",   "tc_kbmedia_cal",  "tc_kbmedia_explore",
                                       "tc_kbmedia_search", "tc_kbmedia_main", "tc_back",
                                       "tc_forward",        "tc_kbmedia_stop", "tc_kbmedia_refresh",
                                       "tc_kbmedia_favor"};
    if (dwCode >= 0x21 && dwCode <= 0x28)
        return aMedia[dwCode - 0x21];
    if (dwCode >= 0x30 && dwCode <= 0x39)
        return aApp[dwCode - 0x30];
    return nullptr;
}

const char* MouseTextId(uint32_t dwCode) {
    static const char* const aIds[] = {"tc_click",      "tc_middle", "tc_menu",  "tc_forward",
                                       "tc_back",       "tc_dclick", "tc_three", "tc_scrollup",
                                       "tc_scrolldown", "tc_mvl",    "tc_mvr"};
    if (dwCode >= 0x11 && dwCode <= 0x1B)
        return aIds[dwCode - 0x11];
    return nullptr;
}

std::string RapidFireName(const KeyFun& kf, int nLayout) {
    return JoinDash(Txt("tc_fire"),
                    GetFireKeyName(static_cast<uint8_t>(kf.dwParam >> 16), nLayout));
}

std::string SnipeName(const KeyFun& kf, const CGlobalVar& var) {
    int32_t nDpi = 0;
    if (kf.dwParam >= 1 && kf.dwParam <= static_cast<uint32_t>(INT_MAX))
        nDpi = GetSensorDpiAt(var.Dev.Ms, var.Dev.Ms.nCurSensor, static_cast<int>(kf.dwParam) - 1);
    return Format("%s - %d", Txt("tc_snipe").c_str(), nDpi);
}

std::string Class8Name(const KeyFun& kf, const CGlobalVar& var) {
    const std::string strReport = Txt("tc_reportsw");
    switch (FunCode(kf.dwFun)) {
    case 0xA2:
        return Txt("tc_key_off");
    case 0xA3:
        return "Shift";
    case 0xA4:
        return RapidFireName(kf, var.KbType);
    case 0xA6:
        return SnipeName(kf, var);
    case 0xA7:
        return Txt("tc_rgb");
    case 0xA8:
        return Txt("tc_dpiadd");
    case 0xA9:
        return Txt("tc_dpisub");
    case 0xAA:
        return Txt("tc_dpiloop");
    case 0xAB:
        return Txt("tc_mdsw");
    case 0xAC:
        return strReport;
    case 0xAD:
        return Txt("tc_customkey");
    case 0xAE:
        return Txt("tc_rgbsw");
    case 0xAF:
        return Txt("tc_keysnipe");
    case 0xB0:
        return TxtN("tc_msg%d", 16);
    case 0xB1:
        return TxtN("tc_msg%d", 17);
    case 0xB2:
        return Txt("tc_speed") + " +";
    case 0xB3:
        return Txt("tc_speed") + " -";
    case 0xB4:
    case 0xB7:
        return TxtN("tc_msg%d", 20);
    case 0xB5:
        return Txt("tc_brightness") + " +";
    case 0xB6:
        return Txt("tc_brightness") + " -";
    case 0xC0:
        return GetGunName(kf.dwParam);
    case 0xC2:
        return TxtN("tc_chiji%d", 3);
    case 0xD0:
        return Format("%s +", strReport.c_str());
    case 0xD1:
        return Format("%s -", strReport.c_str());
    case 0xD2:
        return Txt("tc_dpiaddmin");
    case 0xD3:
        return Txt("tc_dpisubmin");
    default:
        return "";
    }
}

} // namespace

void SetMacroNameSource(const IMacroNameSource* pSource) {
    g_pMacroNames = pSource;
}
const IMacroNameSource* GetMacroNameSource() {
    return g_pMacroNames;
}

std::string GetFireKeyName(uint8_t byKey, int nLayout) {
    static const char* const aButtons[] = {"tc_click", "tc_menu",   "tc_middle", "tc_forward",
                                           "tc_back",  "tc_titlt1", "tc_titlt2"};
    if (byKey >= 0xF0 && byKey <= 0xF6)
        return Txt(aButtons[byKey - 0xF0]);
    return GetKeyName(byKey, nLayout);
}

std::string GetGunName(uint32_t dwParam) {
    int nGun = static_cast<int>(dwParam & 0xF);
    std::string strGun = TxtN("tc_gunname%d", nGun + 1);
    if (strGun.empty()) {
        const char* pszBuiltIn = BuiltInGunName(nGun);
        strGun = pszBuiltIn ? pszBuiltIn : "";
    }
    std::string strScope;
    switch ((dwParam >> 4) & 0xF) {
    case 0:
        strScope = TxtN("tc_chiji%d", 15);
        break;
    case 1:
        strScope = "4X";
        break;
    case 2:
        strScope = TxtN("tc_chiji%d", 6);
        break;
    default:
        break;
    }
    return Format("%s %s + %s", TxtN("tc_chiji%d", 14).c_str(), strGun.c_str(), strScope.c_str());
}

std::string GetFunName(const KeyFun& kf, const CGlobalVar& var) {
    const uint32_t nClass = FunClass(kf.dwFun);
    const uint32_t dwCode = FunCode(kf.dwFun);
    switch (nClass) {
    case 2:
        if (kf.byMod == 0 && kf.byVk == 250)
            return "Fn";
        return GetShortComboName(kf.byMod, kf.byVk, kf.byVk2, var.KbType);
    case 5: {
        std::optional<std::string> name;
        if (g_pMacroNames)
            name = g_pMacroNames->MacroName(kf.dwMacroId);
        return name ? JoinDash(Txt("tc_mac_def"), *name) : std::string();
    }
    case 12: {
        std::optional<std::string> name;
        if (g_pMacroNames)
            name = g_pMacroNames->BulletName(kf.dwMacroId);
        return name ? JoinDash(TxtN("tc_bullet%d", 14), *name) : std::string();
    }
    default:
        break;
    }
    // A rapid-fire code names rapid fire in every class without codes of its own.
    if (dwCode == 0xA4)
        return RapidFireName(kf, var.KbType);
    switch (nClass) {
    case 1:
        if (const char* pszId = MouseTextId(dwCode))
            return Txt(pszId);
        return "";
    case 3:
    case 4:
        if (const char* pszId = MediaTextId(dwCode))
            return Txt(pszId);
        return "";
    case 8:
        return Class8Name(kf, var);
    case 9:
        if (dwCode <= 3)
            return TxtN("tc_hw%d", static_cast<int>(dwCode) + 1);
        return "";
    case 11:
        if (dwCode <= 5)
            return TxtN("tc_ex%d", static_cast<int>(dwCode) + 1);
        return "";
    default:
        return ""; // class 0, the never stored menu commands of class 10, unknown classes
    }
}

std::string GetFunName(const KeyFun& kf) {
    return GetFunName(kf, gVar);
}
