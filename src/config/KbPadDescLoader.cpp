#include "config/KbPadDescLoader.h"

#include <cstdio>
#include <cstring>

#include "config/DescValueReader.h"
#include "config/KeyTablesLoader.h"
#include "platform/MessageBox.h"

namespace {

const char* const kKb = "KB";
const char* const kPad = "PAD";

std::string KeyName(const char* pszFormat, int n) {
    char szKey[32];
    snprintf(szKey, sizeof(szKey), pszFormat, n);
    return szKey;
}

int32_t LowByte(int32_t n) {
    return n & 0xFF;
}

struct BuiltInKbEffect {
    int32_t nCode, f1, f2, f3, f4, f5;
};

const BuiltInKbEffect g_KbEffects[13] = {
    {5, 1, 1, 0, 1, 1},  {7, 1, 0, 0, 0, 0},  {17, 1, 1, 0, 1, 1}, {12, 1, 1, 0, 1, 1},
    {1, 0, 1, 0, 1, 1},  {3, 1, 0, 0, 1, 1},  {2, 1, 0, 0, 0, 0},  {19, 1, 1, 0, 1, 1},
    {15, 1, 1, 0, 1, 1}, {13, 1, 0, 0, 0, 0}, {20, 1, 1, 0, 1, 1}, {16, 1, 1, 0, 0, 0},
    {18, 1, 1, 0, 1, 1}};

// 255,0,0; 0,0,255; 0,255,0; 255,255,0; 255,0,255; 0,255,255; 255,255,255 as 0x00BBGGRR.
const uint32_t g_KbEffectColors[KB_EFFECT_COLORS] = {0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF,
                                                     0xFF00FF, 0xFFFF00, 0xFFFFFF};

void ReadIdentityAndLook(const CIniFile& ini, KbDesc& kb) {
    kb.VID = ini.GetInt(kKb, "VID", 0) & 0xFFFF;
    kb.PID = ini.GetInt(kKb, "PID", 0) & 0xFFFF;
    kb.USBString = ini.GetString(kKb, "USBString", "", 30);
    kb.LedMask = ini.GetInt(kKb, "LedMask", 0);
    kb.ShowGest = ini.GetInt(kKb, "ShowGest", 0);
    kb.ShowEffect = ini.GetInt(kKb, "ShowEffect", 0xFFFF);
    kb.ClrKeyOv = ini.GetColor(kKb, "ClrKeyOv", 0);
    kb.ClrKeyDn = ini.GetColor(kKb, "ClrKeyDn", 0);
    kb.ClrKeyHasFunc = ini.GetColor(kKb, "ClrKeyHasFunc", 0);
    kb.SpeedNum = ini.GetInt(kKb, "SpeedNum", 4);
    kb.BriNum = ini.GetInt(kKb, "BriNum", 4);
    kb.FrameKey = ini.GetInt(kKb, "FrameKey", 1);
    kb.RespireType = LowByte(ini.GetInt(kKb, "RespireType", 0));
    kb.PaomaType = LowByte(ini.GetInt(kKb, "PaomaType", 0));
    kb.MinLightEffectOFF = LowByte(ini.GetInt(kKb, "MinLightEffectOFF", 0));
    kb.KbLayout = LowByte(ini.GetInt(kKb, "KbLayout", 0));
    kb.KbDrawType = ini.GetInt(kKb, "KbDrawType", 0);

    std::memset(kb.ColorfulEffect, 0, sizeof(kb.ColorfulEffect));
    GetByteList(ini, kKb, "ColorfulEffect", 10, kb.ColorfulEffect, 4);
    // Speeds not given keep their defaults.
    const uint8_t aNeon[5] = {50, 40, 30, 20, 15};
    std::memcpy(kb.NeonSpeed, aNeon, sizeof(kb.NeonSpeed));
    GetByteList(ini, kKb, "NeonSpeed", 10, kb.NeonSpeed, 5);
    for (int n = 1; n <= 3; ++n) {
        std::memset(kb.Direct[n - 1], 0, sizeof(kb.Direct[n - 1]));
        GetByteList(ini, kKb, KeyName("Direct%d", n), 10, kb.Direct[n - 1], 3);
    }
    std::memset(kb.EftKeyEx, 0, sizeof(kb.EftKeyEx));
    GetByteList(ini, kKb, "EftKeyEx", 16, kb.EftKeyEx, 4);
    std::memset(kb.PSD, 0, sizeof(kb.PSD));
    GetByteList(ini, kKb, "PSD", 16, kb.PSD, 6);

    // Given as x, y, width, height.
    kb.rcKB = RECT{280, 180, 954, 365};
    RECT rc{};
    if (ini.GetRect(kKb, "rcKB", rc)) {
        kb.rcKB =
            RECT{rc.left, rc.top, AddWrapped(rc.left, rc.right), AddWrapped(rc.top, rc.bottom)};
    }
    std::memset(kb.DefLed, 0, sizeof(kb.DefLed));
    ini.GetList(kKb, "DefLed", 16, kb.DefLed, 20);
}

void ReadUnRectKey(const CIniFile& ini, KbDesc& kb) {
    kb.nUnRectKey = 0;
    kb.nUnRectPtNum = 0;
    std::memset(kb.UnRectPt, 0, sizeof(kb.UnRectPt));
    int32_t aNum[50];
    const int nCount = ini.GetList(kKb, "UnRectKey", 10, aNum, 50);
    if (nCount < 9) {
        return;
    }
    kb.nUnRectKey = aNum[0];
    for (int i = 1; i + 1 < nCount && kb.nUnRectPtNum < KB_UNRECT_PT_MAX; i += 2) {
        if (aNum[i] == 0) {
            break;
        }
        kb.UnRectPt[kb.nUnRectPtNum++] = POINT{aNum[i], aNum[i + 1]};
    }
    if (kb.nUnRectPtNum > 0 && !(kb.UnRectPt[0] == kb.UnRectPt[kb.nUnRectPtNum - 1])) {
        ErrorBox("EnterPt[0]!=EnterPt[Last] ");
    }
}

void ReadEffectLayout(const CIniFile& ini, KbDesc& kb) {
    kb.LedModeSelectOffset = LowByte(ini.GetInt(kKb, "LedModeSelectOffset", 4));
    kb.EffectBase = LowByte(ini.GetInt(kKb, "EffectBase", 1));
    kb.EffectOffset = LowByte(ini.GetInt(kKb, "EffectOffset", 18));
    if (kb.EffectOffset > 60) {
        PlatformMessageBox("Warning", "Invalid nEffectOffset");
    }
    kb.EffectNum = LowByte(ini.GetInt(kKb, "EffectNum", 13));
    if (kb.EffectNum >= KB_EFFECT_NUM) {
        PlatformMessageBox("Warning", "Invalid nEffectNum");
    }
    // Channels not given keep their defaults.
    kb.RGBIndex[0] = 2;
    kb.RGBIndex[1] = 1;
    kb.RGBIndex[2] = 0;
    GetByteList(ini, kKb, "RGBIndex", 10, kb.RGBIndex, 3);
    if (kb.RGBIndex[0] + kb.RGBIndex[1] + kb.RGBIndex[2] != 3) {
        PlatformMessageBox("Warning", "R G B Index Error");
    }

    std::memset(kb.LEDParam, 0, sizeof(kb.LEDParam));
    uint8_t aBytes[2 * KB_LEDPARAM_MAX] = {};
    const int nPairs = GetByteList(ini, kKb, "LEDParam", 16, aBytes, 2 * KB_LEDPARAM_MAX) / 2;
    if (nPairs == 0) {
        kb.nLEDParamNum = BuiltInKbLedParams(kb.LEDParam);
    } else {
        std::memcpy(kb.LEDParam, aBytes, 2 * static_cast<size_t>(nPairs));
        kb.nLEDParamNum = nPairs;
        if (nPairs < kb.EffectNum) {
            PlatformMessageBox("Warning", "Invalid LEDParam");
        }
    }
}

void ReadColorGroups(const CIniFile& ini, KbDesc& kb) {
    kb.DefCfg = LowByte(ini.GetInt(kKb, "DefCfg", 0));
    kb.OurCfg = LowByte(ini.GetInt(kKb, "OurCfg", 0));
    kb.ColorIndex = LowByte(ini.GetInt(kKb, "ColorIndex", 0));
    if (kb.ColorIndex > 6) {
        PlatformMessageBox("Warning", "Invalid gVar.nColorIndex");
    }
    kb.GaoshouIndex = LowByte(ini.GetInt(kKb, "GaoshouIndex", 13));
    kb.NoColorKey = ini.GetInt(kKb, "NoColorKey", -1);
    kb.StartGp = LowByte(ini.GetInt(kKb, "StartGp", 32));
    kb.GaoshouAddr = LowByte(ini.GetInt(kKb, "GaoshouAddr", 172));
    const int32_t nGroups = ini.GetInt(kKb, "GaoshouGroupNum", 5);
    // The editable range defaults to every group as configured, before the cap.
    kb.CustomGp[0] = 0;
    kb.CustomGp[1] = static_cast<uint8_t>(static_cast<uint32_t>(nGroups) - 1u);
    kb.GaoshouGroupNum = nGroups > KB_GAOSHOU_GROUP_MAX ? KB_GAOSHOU_GROUP_MAX : nGroups;
    GetByteList(ini, kKb, "CustomGp", 10, kb.CustomGp, 2);
    kb.clrGaoshou = ini.GetColor(kKb, "clrGaoshou", 0xFFFFFF);

    std::memset(kb.GaoshouKey, 0, sizeof(kb.GaoshouKey));
    std::memset(kb.nGaoshouKeyNum, 0, sizeof(kb.nGaoshouKeyNum));
    kb.nGaoshouGroupRead = 0;
    for (int n = 1; n <= kb.GaoshouGroupNum; ++n) {
        const std::string strKey = KeyName("GaoshouKey%d", n);
        if (!IsKeyGiven(ini, kKb, strKey)) {
            break;
        }
        kb.nGaoshouKeyNum[n - 1] =
            GetByteList(ini, kKb, strKey, 16, kb.GaoshouKey[n - 1], KB_GAOSHOU_KEY_MAX);
        kb.nGaoshouGroupRead = n;
    }
    kb.SyncKB = ini.GetInt(kKb, "SyncKB", 1);
}

void ReadEffects(const CIniFile& ini, KbDesc& kb) {
    BuildKbEffectTable(kb.Effects);
    for (int n = 1; n <= KB_EFFECT_NUM; ++n) {
        const std::string strKey = KeyName("LedOpt%d", n);
        if (!IsKeyGiven(ini, kKb, strKey)) {
            continue;
        }
        int32_t aNum[26] = {};
        const int nCount = GetListBuffered(ini, kKb, strKey, 10, aNum, 26, 260);
        uint8_t by[26];
        for (int i = 0; i < 26; ++i) {
            by[i] = static_cast<uint8_t>(aNum[i]);
        }
        KbEffectCfg& e = kb.Effects[n - 1];
        e.nCode = by[0];
        e.f1 = by[1];
        e.f2 = by[2];
        e.f3 = by[3];
        e.f4 = by[4];
        e.f5 = by[5];
        if (nCount > 5) {
            // The colours start at byte 5, which is also f5.
            for (int c = 0; c < KB_EFFECT_COLORS; ++c) {
                e.Colors[c] = MakeRgb(by[5 + 3 * c], by[6 + 3 * c], by[7 + 3 * c]);
            }
        }
    }
}

} // namespace

void BuildKbEffectTable(KbEffectCfg (&Effects)[KB_EFFECT_NUM]) {
    for (KbEffectCfg& e : Effects) {
        e = KbEffectCfg{};
    }
    for (int i = 0; i < 13; ++i) {
        KbEffectCfg& e = Effects[i];
        e.nCode = g_KbEffects[i].nCode;
        e.f1 = g_KbEffects[i].f1;
        e.f2 = g_KbEffects[i].f2;
        e.f3 = g_KbEffects[i].f3;
        e.f4 = g_KbEffects[i].f4;
        e.f5 = g_KbEffects[i].f5;
        std::memcpy(e.Colors, g_KbEffectColors, sizeof(e.Colors));
    }
}

int BuiltInKbLedParams(uint8_t (&aPairs)[KB_LEDPARAM_MAX][2]) {
    std::memset(aPairs, 0, sizeof(aPairs));
    for (int i = 0; i < 14; ++i) {
        aPairs[i][0] = (i == 5 || i == 7 || i == 12) ? 0 : 7;
        aPairs[i][1] = 0x23;
    }
    return 14;
}

void LoadKbSection(const CIniFile& ini, CGlobalVar& var) {
    KbDesc& kb = var.Dev.Kb;
    ReadIdentityAndLook(ini, kb);
    ReadUnRectKey(ini, kb);
    ReadEffectLayout(ini, kb);
    ReadColorGroups(ini, kb);
    ReadEffects(ini, kb);
    LoadKbKeyTable(ini, var);
    kb.MaxEftKeyIndex = ini.GetInt(kKb, "MaxEftKeyIndex", var.Dev.Keys.nKbKeyNum);
}

void LoadPadSection(const CIniFile& ini, CGlobalVar& var) {
    PadDesc& pad = var.Dev.Pad;
    pad.VID = ini.GetInt(kPad, "VID", 0);
    pad.PID = ini.GetInt(kPad, "PID", 0);
    pad.ShowEffect = ini.GetInt(kPad, "ShowEffect", 0);
    pad.LedMask = ini.GetInt(kPad, "LedMask", 0);
    std::memset(pad.PSD, 0, sizeof(pad.PSD));
    GetByteList(ini, kPad, "PSD", 16, pad.PSD, 2);
    pad.ptPadDlg = ini.GetPoint(kPad, "ptPadDlg", POINT{360, 100});
    std::memset(pad.LedParam, 0, sizeof(pad.LedParam));
    ini.GetList(kPad, "LedParam", 16, pad.LedParam, 20);
    pad.ptEft1 = ini.GetPoint(kPad, "ptEft1", POINT{23, 47});
    pad.ptEft2 = ini.GetPoint(kPad, "ptEft2", POINT{484, 372});
    pad.EftGridW = ini.GetInt(kPad, "EftGridW", 16);
}
