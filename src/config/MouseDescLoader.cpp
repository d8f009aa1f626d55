#include "config/MouseDescLoader.h"

#include <cstdio>
#include <cstring>

#include "config/DescValueReader.h"
#include "config/KeyEntry.h"
#include "config/KeyTablesLoader.h"
#include "config/MsEffectTable.h"
#include "config/SensorTable.h"
#include "platform/MessageBox.h"

namespace {

const char* const kMs = "MS";

const uint32_t g_clrEffectTailDefault[7] = {0x0000FF, 0xFF0000, 0xFFFFFF, 0x00FF00,
                                            0xFF0080, 0x6A03FA, 0x03C6FA};
const uint32_t g_GunColorDefault[7] = {0x0000FF, 0xFF0000, 0x00FF00, 0xFFFF00,
                                       0xFF00FF, 0x00FFFF, 0xFFFFFF};
const uint8_t g_GunValueDefault[GUN_VALUE_NUM] = {13, 40, 10, 11, 45, 10, 11, 41, 10, 11, 0,
                                                  10, 12, 44, 10, 12, 0,  10, 8,  0,  8};
const PickColorEntry g_PickColorDefault[7] = {{0x0000FF, 1}, {0x00FF00, 2}, {0xFF0000, 3},
                                              {0xFFFF00, 4}, {0x00FFFF, 5}, {0xFF00FF, 6},
                                              {0xFFFFFF, 7}};

std::string KeyName(const char* pszFormat, int n) {
    char szKey[32];
    snprintf(szKey, sizeof(szKey), pszFormat, n);
    return szKey;
}

// RGBIndex, DPIRGBIndex: fewer than three numbers keep the order 0,1,2.
void ReadRgbIndex(const CIniFile& ini, const char* pszKey, int32_t (&aIndex)[3],
                  const char* pszMessage) {
    aIndex[0] = 0;
    aIndex[1] = 1;
    aIndex[2] = 2;
    int32_t aRead[3];
    if (ini.GetList(kMs, pszKey, 16, aRead, 3) < 3) {
        return;
    }
    std::memcpy(aIndex, aRead, sizeof(aIndex));
    for (int32_t n : aIndex) {
        if (n < 0 || n > 2) {
            PlatformMessageBox("Warning", pszMessage);
            break;
        }
    }
}

void ReadIdentityAndSwitches(const CIniFile& ini, CGlobalVar& var) {
    MouseDesc& ms = var.Dev.Ms;
    ms.VID = ini.GetInt(kMs, "VID", 0x258A) & 0xFFFF;
    ms.PID = ini.GetInt(kMs, "PID", 0) & 0xFFFF;
    if (ms.PID == 0) {
        ms.PID = (var.MsFw & 0xF) == 1 ? 0x1007 : 0x0028;
    }
    ms.USBString = ini.GetString(kMs, "USBString", "", 30);
    ms.Pop = ini.GetInt(kMs, "Pop", 0) & 0xFFFF;
    ms.LedMask = ini.GetInt(kMs, "LedMask", 0);
    ms.ShowEffect = ini.GetInt(kMs, "ShowEffect", 0);
    ms.DpiRGB = ini.GetInt(kMs, "DpiRGB", 1);
    ms.ShowDpiColor = ini.GetInt(kMs, "ShowDpiColor", 1);
    ms.ShowDpiCheck = ini.GetInt(kMs, "ShowDpiCheck", 1);
    ms.ShowUsbRate = ini.GetInt(kMs, "ShowUsbRate", 1);
    ms.AlwaysHideUsbRate = ini.GetInt(kMs, "AlwaysHideUsbRate", 0);
    ms.ShowXY = ini.GetInt(kMs, "ShowXY", 1);
    ms.LedOffVal = ini.GetInt(kMs, "LedOffVal", 3);
    ms.RgbSW = ini.GetInt(kMs, "RgbSW", 0);
    ms.HideDpiSw = ini.GetInt(kMs, "HideDpiSw", 0);
    ms.ShowLOD = ini.GetInt(kMs, "ShowLOD", 0);
    ms.ShowReportSw = ini.GetInt(kMs, "ShowReportSw", 0);
    ms.ShowReaction = ini.GetInt(kMs, "ShowReaction", 0);
    ms.ShowOneStream = ini.GetInt(kMs, "ShowOneStream", 0);
    ms.ShowPUBGMenu = ini.GetInt(kMs, "ShowPUBGMenu", 1);
    const int32_t nShowLed = ini.GetInt(kMs, "ShowLED", 255);
    if (nShowLed == 255) {
        ms.ShowLED[0] = 1;
        ms.ShowLED[1] = 0;
    } else {
        ms.ShowLED[0] = static_cast<uint8_t>(nShowLed);
        ms.ShowLED[1] = static_cast<uint8_t>(nShowLed >> 8);
    }
    ms.AutoSw = ini.GetInt(kMs, "AutoSw", 0);
    ms.PopByte1 = ini.GetInt(kMs, "PopByte1", 0);
    ms.ShowOnlyModeString = ini.GetInt(kMs, "ShowOnlyModeString", 0);
    ms.SyncModeAfterApply = ini.GetInt(kMs, "SyncModeAfterApply", 0);
    ms.DpiJump = ini.GetInt(kMs, "DpiJump", 0);
    ms.ShowKeySnip = ini.GetInt(kMs, "ShowKeySnip", 0);
    ms.ShowMv = ini.GetInt(kMs, "ShowMv", 0);
    ms.ShowDpiMin = ini.GetInt(kMs, "ShowDpiMin", 0);
    ms.MsMoveSpeed = ini.GetInt(kMs, "MsMoveSpeed", 0);
    ms.EnhancePrecision = ini.GetInt(kMs, "EnhancePrecision", -1);
    ms.LOD = ini.GetInt(kMs, "LOD", 0xA0206);
    ms.LODVal = static_cast<uint32_t>(ini.GetInt(kMs, "LODVal", static_cast<int32_t>(0xECA86420u)));
    ReadRgbIndex(ini, "RGBIndex", ms.RGBIndex, "Wrong RGBIndex value");
    ReadRgbIndex(ini, "DPIRGBIndex", ms.DPIRGBIndex, "Wrong DPIRGBIndex value");
    ms.ShootSpeed = ini.GetInt(kMs, "ShootSpeed", 1);
    ms.ShootFudu = ini.GetInt(kMs, "ShootFudu", 1);
    std::memset(ms.clrEffectTail, 0, sizeof(ms.clrEffectTail));
    if (ms.ShowEffect != 0) {
        GetColorList(ini, kMs, "clrEffectTail", ms.clrEffectTail, 7, g_clrEffectTailDefault, 7);
    }
    std::memset(ms.KeySwVk, 0, sizeof(ms.KeySwVk));
    GetByteList(ini, kMs, "KeySwVk", 16, ms.KeySwVk, 3);
    std::memset(ms.KeySwVkMatrix, 0, sizeof(ms.KeySwVkMatrix));
    GetByteList(ini, kMs, "KeySwVkMatrix", 10, ms.KeySwVkMatrix, 3);
    ms.KbIC = ini.GetInt(kMs, "KbIC", 2070);
    if (ms.KeySwVk[0] != 0) {
        // The keyboard part carried by the mouse is found by the ids of section KB.
        var.Dev.Kb.VID = ini.GetInt("KB", "VID", 0) & 0xFFFF;
        var.Dev.Kb.PID = ini.GetInt("KB", "PID", 0) & 0xFFFF;
        if (var.Dev.Kb.PID == 0) {
            ErrorBox("KB PID is Null");
        }
    }
}

void ReadColorsAndExtraKeys(const CIniFile& ini, MouseDesc& ms) {
    ms.clrChijiBkg = ini.GetColor(kMs, "clrChijiBkg", MakeRgb(4, 106, 157));
    ms.clrDpiMark = ini.GetColor(kMs, "clrDpiMark", MakeRgb(255, 0, 0));
    ms.ShowEx = ini.GetInt(kMs, "ShowEx", 0x10101);
    for (int n = 1; n <= 6; ++n) {
        ms.ExKey[n - 1] = ini.GetInt(kMs, KeyName("ExKey%d", n), 0);
    }
    ms.ScrollKey = ini.GetInt(kMs, "ScrollKey", 0);
    if (ms.ScrollKey == 0) {
        ms.ScrollKey = -1;
    }
}

void ReadLightEffects(const CIniFile& ini, const CGlobalVar& var, MouseDesc& ms) {
    BuildMsEffectTable(ms.Effects, var.MsFw, ms.ShowReaction);
    for (int n = 1; n <= MS_EFFECT_NUM; ++n) {
        const std::string strKey = KeyName("LedOpt%d", n);
        if (!IsKeyGiven(ini, kMs, strKey)) {
            continue;
        }
        int32_t aNum[29] = {};
        const int nCount = ini.GetList(kMs, strKey, 10, aNum, 29);
        MsEffectCfg& e = ms.Effects[n - 1];
        e.bPresent = 1;
        e.p0 = aNum[0];
        e.p1 = aNum[1];
        e.p2 = aNum[2];
        e.p3 = aNum[3];
        e.p4 = aNum[4];
        if (nCount > 5) {
            for (int c = 0; c < MS_EFFECT_COLORS; ++c) {
                e.Colors[c] = MakeRgb(aNum[5 + 3 * c], aNum[6 + 3 * c], aNum[7 + 3 * c]);
            }
        }
    }
}

void ReadLightParams(const CIniFile& ini, const CGlobalVar& var, MouseDesc& ms) {
    std::memset(ms.LedParam, 0, sizeof(ms.LedParam));
    ini.GetList(kMs, "LedParam", 16, ms.LedParam, 20);
    std::memset(ms.LedParam2, 0, sizeof(ms.LedParam2));
    if (ini.GetList(kMs, "LedParam2", 16, ms.LedParam2, 20) == 0) {
        std::memcpy(ms.LedParam2, ms.LedParam, sizeof(ms.LedParam2));
    }
    if (var.MsFw > 255) {
        std::memset(ms.DpiSW, 0, sizeof(ms.DpiSW));
        if (GetByteList(ini, kMs, "DpiSW", 16, ms.DpiSW, 3) == 0) {
            ms.DpiSW[0] = 1;
            ms.DpiSW[1] = 2;
            ms.DpiSW[2] = 0;
        }
        std::memset(ms.DpiSW2, 0, sizeof(ms.DpiSW2));
        if (GetByteList(ini, kMs, "DpiSW2", 16, ms.DpiSW2, 3) == 0) {
            std::memcpy(ms.DpiSW2, ms.DpiSW, sizeof(ms.DpiSW2));
        }
    }
}

void ReadSnipPsdPalette(const CIniFile& ini, MouseDesc& ms) {
    std::memset(ms.SnipMenu, 0, sizeof(ms.SnipMenu));
    GetByteList(ini, kMs, "SnipMenu", 10, ms.SnipMenu, 28);
    if (ms.SnipMenu[1] > 15) {
        ErrorBox("Dpi lock menus > 15");
    }

    std::memset(ms.PSD, 0, sizeof(ms.PSD));
    if (IsKeyGiven(ini, kMs, "PSD")) {
        uint8_t aPsd[6] = {};
        if (GetByteList(ini, kMs, "PSD", 16, aPsd, 6) == 4) {
            std::memcpy(ms.PSD, aPsd, sizeof(ms.PSD));
        } else {
            ErrorBox("Psd value error");
        }
    }

    for (PickColorEntry& e : ms.PickColor) {
        e = PickColorEntry{};
    }
    ms.nPickColorNum = 0;
    int32_t aNum[128] = {};
    const int nCount = ini.GetList(kMs, "PickColor", 10, aNum, 128);
    if (nCount == 0) {
        std::memcpy(ms.PickColor, g_PickColorDefault, sizeof(g_PickColorDefault));
        ms.nPickColorNum = 7;
        return;
    }
    for (int g = 0; g < PICK_COLOR_MAX && 4 * g < nCount; ++g) {
        const uint32_t clr = MakeRgb(aNum[4 * g], aNum[4 * g + 1], aNum[4 * g + 2]);
        if (clr == 0) {
            break;
        }
        ms.PickColor[g] = PickColorEntry{clr, aNum[4 * g + 3]};
        ms.nPickColorNum = g + 1;
    }
}

void ReadGunPresets(const CIniFile& ini, const CGlobalVar& var, MouseDesc& ms) {
    std::memset(ms.GunColor, 0, sizeof(ms.GunColor));
    std::memset(ms.GunValue, 0, sizeof(ms.GunValue));
    if ((var.MsFw & 0xFF) <= 15) {
        return; // no gun keys on this controller
    }
    GetColorList(ini, kMs, "GunColor", ms.GunColor, GUN_COLOR_NUM, g_GunColorDefault, 7);
    std::memcpy(ms.GunValue, g_GunValueDefault, sizeof(ms.GunValue));
    if (IsKeyGiven(ini, kMs, "GunValue")) {
        if (GetByteList(ini, kMs, "GunValue", 10, ms.GunValue, GUN_VALUE_NUM) != GUN_VALUE_NUM) {
            ErrorBox("GunValue number!=21");
        }
    }
}

} // namespace

void LoadMsSection(const CIniFile& ini, CGlobalVar& var) {
    MouseDesc& ms = var.Dev.Ms;
    ReadIdentityAndSwitches(ini, var);
    ReadColorsAndExtraKeys(ini, ms);
    ReadLightEffects(ini, var, ms);
    ReadLightParams(ini, var, ms);
    ReadSnipPsdPalette(ini, ms);
    ReadGunPresets(ini, var, ms);

    std::memset(ms.ShowUsbRateForPUBG, 0, sizeof(ms.ShowUsbRateForPUBG));
    ms.nShowUsbRateForPUBGNum =
        ini.GetList(kMs, "ShowUsbRateForPUBG", 16, ms.ShowUsbRateForPUBG, 4);
    ms.Sensor = ini.GetInt(kMs, "Sensor", 0x3050);

    for (int n = 1; n <= SENSOR_CFG_NUM; ++n) {
        LoadSensorSection(ini, var, n);
    }
    set_cur_sensor(ms, ms.Sensor);
}

namespace {

// DPISET, DPIHW and DPILK replace the sensor's resolutions and codes in the table.
void ReadSensorResolutions(const CIniFile& ini, const std::string& strSec, const MouseDesc& ms,
                           SensorEntry& e) {
    int32_t aNum[SENSOR_DPI_MAX];
    // A list that yields no number would leave the sensor without resolutions; it is
    // treated as not given.
    const int nSet = GetListBuffered(ini, strSec, "DPISET", 10, aNum, SENSOR_DPI_MAX, 1040);
    const bool bSetGiven = nSet > 0;
    if (bSetGiven) {
        std::memset(e.Dpi, 0, sizeof(e.Dpi));
        std::memcpy(e.Dpi, aNum, sizeof(int32_t) * nSet);
        e.nCount = nSet;
    }

    const int nHw = GetListBuffered(ini, strSec, "DPIHW", 10, aNum, SENSOR_DPI_MAX, 780);
    if (nHw > 0) {
        std::memset(e.HwCode, 0, sizeof(e.HwCode));
        for (int i = 0; i < nHw; ++i) {
            e.HwCode[i] = static_cast<uint8_t>(aNum[i]);
        }
        if (nHw != e.nCount) {
            PlatformMessageBox("Warning", "DPISET Num != DPIHW Num");
        }
    } else if (bSetGiven) {
        std::memset(e.HwCode, 0, sizeof(e.HwCode));
        for (int i = 0; i < e.nCount; ++i) {
            e.HwCode[i] = static_cast<uint8_t>(i + 1);
        }
    }

    if (ms.SnipMenu[0] == 0) {
        return;
    }
    const int nLk = GetListBuffered(ini, strSec, "DPILK", 10, aNum, SENSOR_DPI_MAX, 780);
    if (nLk > 0) {
        std::memset(e.LockCode, 0, sizeof(e.LockCode));
        for (int i = 0; i < nLk; ++i) {
            e.LockCode[i] = static_cast<uint8_t>(aNum[i]);
        }
        if (nLk != e.nCount) {
            PlatformMessageBox("Warning", "DPISET Num != DPILK Num");
        }
    } else if (bSetGiven) {
        std::memcpy(e.LockCode, e.HwCode, sizeof(e.LockCode));
    }
}

void ReadLevels(const CIniFile& ini, const std::string& strSec, const MouseDesc& ms,
                SensorCfg& cfg) {
    int32_t aDpi[DPI_LEVEL_MAX] = {};
    const int nDpi = ini.GetList(strSec, "DPI", 10, aDpi, DPI_LEVEL_MAX);
    std::memset(cfg.DPI, 0, sizeof(cfg.DPI));
    if (nDpi != cfg.DM) {
        if (nDpi > 0) {
            PlatformMessageBox("Warning", "DPI != DM.");
        }
        if (const int32_t* pDefault = DefaultDpiLevels(cfg.Sensor)) {
            std::memcpy(cfg.DPI, pDefault, sizeof(cfg.DPI));
        }
    } else {
        std::memcpy(cfg.DPI, aDpi, sizeof(cfg.DPI));
    }
    for (int i = 0; i < cfg.DM && i < DPI_LEVEL_MAX; ++i) {
        if (!SensorHasDpi(ms, cfg.Sensor, cfg.DPI[i])) {
            char szText[64];
            snprintf(szText, sizeof(szText), "Wrong default dpi value: %d", cfg.DPI[i]);
            PlatformMessageBox("Warning", szText);
        }
    }

    std::memcpy(cfg.DC, g_DefaultDpiColors, sizeof(cfg.DC));
    int32_t aRgb[3 * DPI_LEVEL_MAX] = {};
    const int nRgb = ini.GetList(strSec, "DC", 10, aRgb, 3 * DPI_LEVEL_MAX);
    if (cfg.DM >= 1 && cfg.DM <= DPI_LEVEL_MAX && nRgb == 3 * cfg.DM) {
        for (int i = 0; i < cfg.DM; ++i) {
            cfg.DC[i] = MakeRgb(aRgb[3 * i], aRgb[3 * i + 1], aRgb[3 * i + 2]);
        }
    }
}

void ReadMarks(const CIniFile& ini, const std::string& strSec, SensorCfg& cfg) {
    for (int n = 1; n <= MS_KEY_MAX; ++n) {
        const std::string strKey = KeyName("Mark%d", n);
        if (!IsKeyGiven(ini, strSec, strKey)) {
            break;
        }
        int32_t a[4];
        if (ini.GetList(strSec, strKey, 10, a, 4) != 4) {
            ErrorBox("Mark value error");
            continue;
        }
        cfg.Mark[n - 1] = RECT{a[0], a[1], AddWrapped(a[0], a[2]), AddWrapped(a[1], a[3])};
    }
}

} // namespace

void LoadSensorSection(const CIniFile& ini, CGlobalVar& var, int n) {
    if (n < 1 || n > SENSOR_CFG_NUM) {
        return;
    }
    MouseDesc& ms = var.Dev.Ms;
    SensorCfg& cfg = ms.SensorCfgs[n - 1];
    cfg = SensorCfg{};
    const std::string strSec = KeyName("SENSOR_%d", n);

    cfg.Sensor = ini.GetInt(strSec, "Sensor", 0);
    if (cfg.Sensor == 0) {
        return;
    }
    SensorEntry* pEntry = FindSensorEntry(ms, cfg.Sensor);
    if (pEntry == nullptr || pEntry->nCount <= 0) {
        ErrorBox("Error, Sensor vaulue of %s section is 0x%x", strSec.c_str(),
                 static_cast<unsigned>(cfg.Sensor));
        return;
    }

    cfg.RATE1 = ini.GetInt(strSec, "RATE1", 0x125);
    cfg.RATE2 = ini.GetInt(strSec, "RATE2", 0x250);
    cfg.RATE3 = ini.GetInt(strSec, "RATE3", 0x500);
    cfg.RATE4 = ini.GetInt(strSec, "RATE4", 0x1000);
    cfg.DR = ini.GetInt(strSec, "DR", 0x500);
    cfg.DR_2 = ini.GetInt(strSec, "DR_2", cfg.DR);
    cfg.DR_3 = ini.GetInt(strSec, "DR_3", cfg.DR);
    cfg.DM = ini.GetInt(strSec, "DM", 6);
    cfg.DPIH = ini.GetInt(strSec, "DPIH", 10);
    cfg.DEFLEVEL = ini.GetInt(strSec, "DEFLEVEL", -1);

    ReadSensorResolutions(ini, strSec, ms, *pEntry);
    ReadLevels(ini, strSec, ms, cfg);

    cfg.KEYH = ini.GetInt(strSec, "KEYH", 6);
    cfg.MOUSEX = ini.GetInt(strSec, "MOUSEX", 360);
    cfg.MOUSEY = ini.GetInt(strSec, "MOUSEY", 50);
    cfg.KeyMask = ini.GetInt(strSec, "KeyMask", 0);
    // An unknown mode or button count ends the section: nothing after it can be laid out.
    const int32_t nMdNum = ini.GetInt(strSec, "MDNUM", 9);
    if (nMdNum != 3 && nMdNum != 6 && nMdNum != 9) {
        return;
    }
    cfg.MDNUM = nMdNum / 3;
    cfg.KEYY = ini.GetInt(strSec, "KEYY", cfg.MDNUM == 1 ? 10 : 35);
    const int32_t nKm = ini.GetInt(strSec, "KM", 14);
    if (nKm < 2 || nKm > 2 * MS_KEY_MAX || nKm % 2 != 0) {
        return;
    }
    cfg.KM = nKm / 2;

    const MouseKeyEntryParams params = MouseKeyParamsFrom(var);
    for (int m = 0; m < MS_MODE_NUM; ++m) {
        MsKeyTable aTable;
        const int nRead =
            ReadMouseKeyEntries(ini, strSec, m, params, aTable, &var.Dev.Keys.nCustomKeyParam);
        if (nRead > 0) {
            if (nRead < cfg.KM) {
                ErrorBox("Key num to small");
            }
            std::memcpy(cfg.Keys[m], aTable, sizeof(aTable));
        } else if (m > 0) {
            std::memcpy(cfg.Keys[m], cfg.Keys[0], sizeof(cfg.Keys[m]));
        }
    }

    ReadMarks(ini, strSec, cfg);
}
