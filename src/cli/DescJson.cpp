// The device descriptions in the JSON of `velkinctl config`, under the configuration's
// section and key names. Colours are [R, G, B], rectangles [left, top, right, bottom],
// points [x, y].
#include <cstdio>

#include "cli/CliContext.h"
#include "cli/JsonValues.h"
#include "cli/KeyAssignJson.h"
#include "config/GlobalVar.h"
#include "config/SensorTable.h"

namespace {

using json = nlohmann::json;

template <typename T> json Array(const T* p, int n) {
    json j = json::array();
    for (int i = 0; i < n; ++i) {
        j.push_back(p[i]);
    }
    return j;
}
json RgbArray(const uint32_t* p, int n) {
    json j = json::array();
    for (int i = 0; i < n; ++i) {
        j.push_back(RgbJson(p[i]));
    }
    return j;
}

json SensorTableJson(const MouseDesc& ms) {
    json j = json::array();
    for (const SensorEntry& e : ms.SensorTable) {
        const int n = e.nCount < 0 ? 0 : (e.nCount > SENSOR_DPI_MAX ? SENSOR_DPI_MAX : e.nCount);
        j.push_back({{"nSensor", e.nSensor},
                     {"nCount", e.nCount},
                     {"Dpi", Array(e.Dpi, n)},
                     {"HwCode", Array(e.HwCode, n)},
                     {"LockCode", Array(e.LockCode, n)}});
    }
    return j;
}

json SensorCfgJson(const SensorCfg& c) {
    json jKeys = json::array();
    for (const auto& mode : c.Keys) {
        jKeys.push_back(KeyAssignArrayJson(mode, MS_KEY_MAX));
    }
    json jMarks = json::array();
    for (const RECT& rc : c.Mark) {
        jMarks.push_back(RectJson(rc));
    }
    return {{"Sensor", c.Sensor},
            {"DM", c.DM},
            {"DEFLEVEL", c.DEFLEVEL},
            {"DPI", Array(c.DPI, DPI_LEVEL_MAX)},
            {"DC", RgbArray(c.DC, DPI_LEVEL_MAX)},
            {"DPIH", c.DPIH},
            {"MDNUM", c.MDNUM},
            {"KM", c.KM},
            {"Keys", jKeys},
            {"KEYY", c.KEYY},
            {"KEYH", c.KEYH},
            {"MOUSEX", c.MOUSEX},
            {"MOUSEY", c.MOUSEY},
            {"DR", c.DR},
            {"DR_2", c.DR_2},
            {"DR_3", c.DR_3},
            {"RATE1", c.RATE1},
            {"RATE2", c.RATE2},
            {"RATE3", c.RATE3},
            {"RATE4", c.RATE4},
            {"KeyMask", c.KeyMask},
            {"Mark", jMarks}};
}

json MsEffectsJson(const MouseDesc& ms) {
    json j = json::array();
    for (const MsEffectCfg& e : ms.Effects) {
        j.push_back({{"bPresent", e.bPresent},
                     {"p0", e.p0},
                     {"p1", e.p1},
                     {"p2", e.p2},
                     {"p3", e.p3},
                     {"p4", e.p4},
                     {"Colors", RgbArray(e.Colors, MS_EFFECT_COLORS)}});
    }
    return j;
}

json MsJson(const MouseDesc& ms) {
    json j;
    j["VID"] = ms.VID;
    j["PID"] = ms.PID;
    j["USBString"] = ms.USBString;
    j["Pop"] = ms.Pop;
    j["LedMask"] = ms.LedMask;
    j["ShowEffect"] = ms.ShowEffect;
    j["DpiRGB"] = ms.DpiRGB;
    j["ShowDpiColor"] = ms.ShowDpiColor;
    j["ShowDpiCheck"] = ms.ShowDpiCheck;
    j["ShowUsbRate"] = ms.ShowUsbRate;
    j["AlwaysHideUsbRate"] = ms.AlwaysHideUsbRate;
    j["ShowXY"] = ms.ShowXY;
    j["LedOffVal"] = ms.LedOffVal;
    j["RgbSW"] = ms.RgbSW;
    j["HideDpiSw"] = ms.HideDpiSw;
    j["ShowLOD"] = ms.ShowLOD;
    j["ShowReportSw"] = ms.ShowReportSw;
    j["ShowReaction"] = ms.ShowReaction;
    j["ShowOneStream"] = ms.ShowOneStream;
    j["ShowPUBGMenu"] = ms.ShowPUBGMenu;
    j["ShowLED"] = Array(ms.ShowLED, 2);
    j["AutoSw"] = ms.AutoSw;
    j["PopByte1"] = ms.PopByte1;
    j["ShowOnlyModeString"] = ms.ShowOnlyModeString;
    j["SyncModeAfterApply"] = ms.SyncModeAfterApply;
    j["DpiJump"] = ms.DpiJump;
    j["ShowKeySnip"] = ms.ShowKeySnip;
    j["ShowMv"] = ms.ShowMv;
    j["ShowDpiMin"] = ms.ShowDpiMin;
    j["MsMoveSpeed"] = ms.MsMoveSpeed;
    j["EnhancePrecision"] = ms.EnhancePrecision;
    j["LOD"] = ms.LOD;
    j["LODVal"] = ms.LODVal;
    j["RGBIndex"] = Array(ms.RGBIndex, 3);
    j["DPIRGBIndex"] = Array(ms.DPIRGBIndex, 3);
    j["ShootSpeed"] = ms.ShootSpeed;
    j["ShootFudu"] = ms.ShootFudu;
    j["clrEffectTail"] = RgbArray(ms.clrEffectTail, 7);
    j["KeySwVk"] = Array(ms.KeySwVk, 3);
    j["KeySwVkMatrix"] = Array(ms.KeySwVkMatrix, 3);
    j["KbIC"] = ms.KbIC;
    j["clrChijiBkg"] = RgbJson(ms.clrChijiBkg);
    j["clrDpiMark"] = RgbJson(ms.clrDpiMark);
    j["ShowEx"] = ms.ShowEx;
    for (int n = 1; n <= 6; ++n) {
        char szKey[16];
        snprintf(szKey, sizeof(szKey), "ExKey%d", n);
        j[szKey] = ms.ExKey[n - 1];
    }
    j["ScrollKey"] = ms.ScrollKey;
    j["LedOpt"] = MsEffectsJson(ms);
    j["LedParam"] = Array(ms.LedParam, 20);
    j["LedParam2"] = Array(ms.LedParam2, 20);
    j["DpiSW"] = Array(ms.DpiSW, 3);
    j["DpiSW2"] = Array(ms.DpiSW2, 3);
    j["SnipMenu"] = Array(ms.SnipMenu, 28);
    j["PSD"] = Array(ms.PSD, 4);
    json jPick = json::array();
    for (int i = 0; i < ms.nPickColorNum && i < PICK_COLOR_MAX; ++i) {
        jPick.push_back(
            {{"clr", RgbJson(ms.PickColor[i].clr)}, {"nIndex", ms.PickColor[i].nIndex}});
    }
    j["PickColor"] = jPick;
    j["GunColor"] = RgbArray(ms.GunColor, GUN_COLOR_NUM);
    j["GunValue"] = Array(ms.GunValue, GUN_VALUE_NUM);
    const int nRates = ms.nShowUsbRateForPUBGNum < 0 ? 0 : ms.nShowUsbRateForPUBGNum;
    j["ShowUsbRateForPUBG"] = Array(ms.ShowUsbRateForPUBG, nRates > 4 ? 4 : nRates);
    j["Sensor"] = ms.Sensor;
    return j;
}

json KbEffectsJson(const KbDesc& kb) {
    json j = json::array();
    for (const KbEffectCfg& e : kb.Effects) {
        j.push_back({{"nCode", e.nCode},
                     {"f1", e.f1},
                     {"f2", e.f2},
                     {"f3", e.f3},
                     {"f4", e.f4},
                     {"f5", e.f5},
                     {"Colors", RgbArray(e.Colors, KB_EFFECT_COLORS)}});
    }
    return j;
}

json KbJson(const KbDesc& kb) {
    json j;
    j["VID"] = kb.VID;
    j["PID"] = kb.PID;
    j["USBString"] = kb.USBString;
    j["LedMask"] = kb.LedMask;
    j["ShowGest"] = kb.ShowGest;
    j["ShowEffect"] = kb.ShowEffect;
    j["ClrKeyOv"] = RgbJson(kb.ClrKeyOv);
    j["ClrKeyDn"] = RgbJson(kb.ClrKeyDn);
    j["ClrKeyHasFunc"] = RgbJson(kb.ClrKeyHasFunc);
    j["SpeedNum"] = kb.SpeedNum;
    j["BriNum"] = kb.BriNum;
    j["FrameKey"] = kb.FrameKey;
    j["RespireType"] = kb.RespireType;
    j["PaomaType"] = kb.PaomaType;
    j["MinLightEffectOFF"] = kb.MinLightEffectOFF;
    j["KbLayout"] = kb.KbLayout;
    j["KbDrawType"] = kb.KbDrawType;
    j["ColorfulEffect"] = Array(kb.ColorfulEffect, 4);
    j["NeonSpeed"] = Array(kb.NeonSpeed, 5);
    for (int n = 1; n <= 3; ++n) {
        char szKey[16];
        snprintf(szKey, sizeof(szKey), "Direct%d", n);
        j[szKey] = Array(kb.Direct[n - 1], 3);
    }
    j["EftKeyEx"] = Array(kb.EftKeyEx, 4);
    j["PSD"] = Array(kb.PSD, 6);
    j["rcKB"] = RectJson(kb.rcKB);
    j["DefLed"] = Array(kb.DefLed, 20);
    json jPts = json::array();
    for (int i = 0; i < kb.nUnRectPtNum && i < KB_UNRECT_PT_MAX; ++i) {
        jPts.push_back(PointJson(kb.UnRectPt[i]));
    }
    j["UnRectKey"] = {{"nKey", kb.nUnRectKey}, {"Points", jPts}};
    j["LedModeSelectOffset"] = kb.LedModeSelectOffset;
    j["EffectBase"] = kb.EffectBase;
    j["EffectOffset"] = kb.EffectOffset;
    j["EffectNum"] = kb.EffectNum;
    j["RGBIndex"] = Array(kb.RGBIndex, 3);
    json jPairs = json::array();
    for (int i = 0; i < kb.nLEDParamNum && i < KB_LEDPARAM_MAX; ++i) {
        jPairs.push_back({kb.LEDParam[i][0], kb.LEDParam[i][1]});
    }
    j["LEDParam"] = jPairs;
    j["DefCfg"] = kb.DefCfg;
    j["OurCfg"] = kb.OurCfg;
    j["ColorIndex"] = kb.ColorIndex;
    j["GaoshouIndex"] = kb.GaoshouIndex;
    j["NoColorKey"] = kb.NoColorKey;
    j["StartGp"] = kb.StartGp;
    j["GaoshouAddr"] = kb.GaoshouAddr;
    j["GaoshouGroupNum"] = kb.GaoshouGroupNum;
    j["CustomGp"] = Array(kb.CustomGp, 2);
    j["clrGaoshou"] = RgbJson(kb.clrGaoshou);
    for (int g = 0; g < kb.nGaoshouGroupRead && g < KB_GAOSHOU_GROUP_MAX; ++g) {
        char szKey[24];
        snprintf(szKey, sizeof(szKey), "GaoshouKey%d", g + 1);
        const int n = kb.nGaoshouKeyNum[g];
        j[szKey] =
            Array(kb.GaoshouKey[g], n < 0 ? 0 : (n > KB_GAOSHOU_KEY_MAX ? KB_GAOSHOU_KEY_MAX : n));
    }
    j["SyncKB"] = kb.SyncKB;
    j["LedOpt"] = KbEffectsJson(kb);
    j["MaxEftKeyIndex"] = kb.MaxEftKeyIndex;
    return j;
}

json PadJson(const PadDesc& pad) {
    return {{"VID", pad.VID},
            {"PID", pad.PID},
            {"ShowEffect", pad.ShowEffect},
            {"LedMask", pad.LedMask},
            {"PSD", Array(pad.PSD, 2)},
            {"ptPadDlg", PointJson(pad.ptPadDlg)},
            {"LedParam", Array(pad.LedParam, 20)},
            {"ptEft1", PointJson(pad.ptEft1)},
            {"ptEft2", PointJson(pad.ptEft2)},
            {"EftGridW", pad.EftGridW}};
}

} // namespace

void AddDescriptionJson(nlohmann::json& j) {
    const MouseDesc& ms = gVar.Dev.Ms;
    j["SensorTable"] = SensorTableJson(ms);
    j["MS"] = MsJson(ms);
    for (int n = 1; n <= SENSOR_CFG_NUM; ++n) {
        char szSec[16];
        snprintf(szSec, sizeof(szSec), "SENSOR_%d", n);
        j[szSec] = SensorCfgJson(ms.SensorCfgs[n - 1]);
    }
    j["CurSensor"] = ms.nCurSensor;
    j["pSensorCfg"] = ms.pSensorCfg() ? json(ms.nSensorCfgIndex) : json(nullptr);
    j["KB"] = KbJson(gVar.Dev.Kb);
    j["PAD"] = PadJson(gVar.Dev.Pad);
    // The key tables (KBKEY, FN, GEST, presets, default mouse keys) follow from
    // AddKeyTablesJson, called after this by the config command.
}
