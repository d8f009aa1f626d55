#include "storage/ProfileDefaults.h"

#include <cstring>

#include "config/KeyLookup.h"
#include "config/Log.h"
#include "config/SensorTable.h"

namespace {

const uint32_t kKbEffectColors[7] = {0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF,
                                     0xFF00FF, 0xFFFF00, 0xFFFFFF};
const uint32_t kPadEffectColors[7] = {0x0000FF, 0xFF0000, 0x00FF00, 0xFF0080,
                                      0x03C6FA, 0x6A03FA, 0xFFFFFF};

// The configured default effects name their effect by index; an index outside the
// region's table would write past it, so such a default is left out and logged.
bool EffectIndexOk(int32_t nIndex, int nCount, const char* pszWhat) {
    if (nIndex >= 0 && nIndex < nCount)
        return true;
    LogPrint("%s: effect index %d outside 0..%d, default effect not applied", pszWhat, nIndex,
             nCount - 1);
    return false;
}

// Three configuration bytes in a 32-bit field: the first byte is the low byte.
uint32_t PackBytes3(const uint8_t by[3]) {
    return static_cast<uint32_t>(by[0]) | static_cast<uint32_t>(by[1]) << 8 |
           static_cast<uint32_t>(by[2]) << 16;
}

uint32_t ColorMask(int32_t nColors) {
    if (nColors <= 0)
        return 0;
    if (nColors >= 32)
        return 0xFFFFFFFF;
    return (1u << nColors) - 1;
}

void ApplyMsLedParam(MsMode& mode, const int32_t* pParam, const uint8_t bySw[3], bool bExtra) {
    if (pParam[0] + pParam[1] + pParam[2] + pParam[3] == 0)
        return;
    if (!EffectIndexOk(pParam[0], MS_LED_EFFECTS, "MS LedParam"))
        return;
    mode.nLedEffect = pParam[0];
    MsLedEffect& e = mode.Led[pParam[0]];
    e.nLevel1 = pParam[1];
    e.nLevel2 = pParam[2];
    e.nDir = pParam[3];
    e.nFlag = pParam[4];
    e.dwColorMask = static_cast<uint32_t>(pParam[5]);
    if (bExtra)
        e.dwExtra = static_cast<uint32_t>(pParam[6]);
    if (bySw[1] != 0)
        e.dwExtra2 = PackBytes3(bySw);
}

} // namespace

void FillKbDefault(KbSettings& kb, const CGlobalVar& var) {
    const KbDesc& desc = var.Dev.Kb;
    std::memset(&kb, 0, sizeof(kb));
    kb.nLayer = 0;
    std::memcpy(kb.KbKeys, var.Dev.Keys.g_defKEY, sizeof(KeyAssign) * KB_MATRIX_KEYS);

    int nEffects = desc.EffectNum;
    if (nEffects > KB_LED_EFFECTS)
        nEffects = KB_LED_EFFECTS;
    if (nEffects > KB_LEDPARAM_MAX)
        nEffects = KB_LEDPARAM_MAX;
    for (int i = 0; i < nEffects; ++i) {
        uint8_t b0 = desc.LEDParam[i][0], b1 = desc.LEDParam[i][1];
        KbLedEffect& e = kb.Led[i];
        e.nLevel1 = (b1 >> 4) + 1;
        e.nLevel2 = (b1 & 15) + 1;
        e.nDir = (b0 >> 4) == 8 ? 2 : 1;
        e.nFlag = (b0 & 15) == 7 ? 1 : 0;
        std::memcpy(e.Colors, kKbEffectColors, sizeof(e.Colors));
        e.nColorChoice = 0;
    }

    const int32_t* pDef = desc.DefLed;
    if (pDef[0] + pDef[1] + pDef[2] + pDef[3] != 0 &&
        EffectIndexOk(pDef[0], KB_LED_EFFECTS, "KB DefLed")) {
        kb.nKbLedEffect = pDef[0];
        KbLedEffect& e = kb.Led[pDef[0]];
        e.nLevel1 = pDef[1];
        e.nLevel2 = pDef[2];
        e.nDir = pDef[3] == 0 ? 1 : pDef[3];
        e.nFlag = pDef[4];
    }

    kb.wColorGroup = 0;
    int nGroups = desc.GaoshouGroupNum;
    if (nGroups > KB_GAOSHOU_GROUP_MAX)
        nGroups = KB_GAOSHOU_GROUP_MAX;
    for (int g = 0; g < nGroups; ++g)
        kb.byGroupOn[g] = 1;
    for (int g = 0; g < nGroups; ++g) {
        bool bFirst = true;
        int nKeys = desc.nGaoshouKeyNum[g];
        if (nKeys > KB_MATRIX_KEYS)
            nKeys = KB_MATRIX_KEYS;
        for (int j = 0; j < nKeys; ++j) {
            uint8_t byCode = desc.GaoshouKey[g][j];
            if (byCode == 0)
                continue;
            if (bFirst) {
                std::memset(kb.GroupColor[g], 0, sizeof(kb.GroupColor[g]));
                bFirst = false;
            }
            int nPos = FindKeyMatrixInx(var.Dev.Keys, byCode);
            if (nPos < 0 || nPos >= KB_PROFILE_KEYS) {
                LogPrint("Error Value: GaoshouKey[%d][%d]=0x%x", g, j, byCode);
                continue;
            }
            kb.GroupColor[g][nPos] = desc.clrGaoshou;
        }
    }

    std::memcpy(kb.Gest, var.Dev.Keys.Gest, sizeof(kb.Gest));
}

void FillSensorLevels(MsSettings& ms, const SensorCfg* pCfg) {
    int nLevels = pCfg ? pCfg->DM : 0;
    if (nLevels > MS_DPI_LEVELS)
        nLevels = MS_DPI_LEVELS;
    for (MsMode& mode : ms.Mode) {
        mode.bDpiXY = 0;
        for (DpiLevel& lv : mode.Dpi)
            lv.bOff = DPI_LEVEL_OFF;
        for (int i = 0; i < nLevels; ++i) {
            DpiLevel& lv = mode.Dpi[i];
            lv.nX = lv.nY = pCfg->DPI[i];
            uint32_t clr = pCfg->DC[i];
            lv.rgb[0] = static_cast<uint8_t>(clr);
            lv.rgb[1] = static_cast<uint8_t>(clr >> 8);
            lv.rgb[2] = static_cast<uint8_t>(clr >> 16);
            lv.rgb[3] = 0;
            lv.bOff = 0;
        }
    }
}

void FillMsDefault(MsSettings& ms, const CGlobalVar& var) {
    const MouseDesc& desc = var.Dev.Ms;
    int32_t nOldMode = ms.nMode;
    std::memset(&ms, 0, sizeof(ms));
    for (int m = 0; m < MS_PROFILE_MODES; ++m)
        for (int s = 0; s < MS_KEY_SETS; ++s)
            std::memcpy(ms.Mode[m].Keys[s], var.Dev.Keys.MsDefKey[m],
                        sizeof(KeyAssign) * MS_PROFILE_KEYS);
    if (desc.ShowOnlyModeString != 0)
        ms.nMode = nOldMode;

    const SensorCfg* pCfg = desc.pSensorCfg();
    int32_t nSensor = desc.nCurSensor;
    if (nSensor != 0 && FindSensorEntry(desc, nSensor) != nullptr) {
        FillSensorLevels(ms, pCfg);
        ms.nSensor = nSensor;
    }

    const int32_t nRates[MS_PROFILE_MODES] = {pCfg ? pCfg->DR : 0, pCfg ? pCfg->DR_2 : 0,
                                              pCfg ? pCfg->DR_3 : 0};
    uint8_t byLodNum = static_cast<uint8_t>(desc.LOD & 0xFF);
    uint8_t byLodDef = static_cast<uint8_t>((desc.LOD >> 8) & 0xFF);
    for (int m = 0; m < MS_PROFILE_MODES; ++m) {
        MsMode& mode = ms.Mode[m];
        mode.nRate = nRates[m];
        mode.Sys.nWheelLines = 3;
        mode.Sys.nDblClickMs = 550;
        mode.Sys.nSpeed = desc.MsMoveSpeed != 0 ? desc.MsMoveSpeed : 10;
        mode.Sys.bEnhance = desc.EnhancePrecision != -1 ? desc.EnhancePrecision : 1;
        mode.Sys.nTrails = 0;
        mode.byGunOpt = 0;
        mode.byLodNum = byLodNum;
        mode.byLodDef = byLodDef;
        // LODVal has eight nibbles; levels past them have code 0.
        for (int j = 0; j < byLodNum && j < MS_LOD_CODES && j < 8; ++j)
            mode.byLod[j] = static_cast<uint8_t>((desc.LODVal >> (4 * j)) & 0xF);
    }

    int nLayout = (var.MsFw >> 8) & 0xFF;
    for (MsMode& mode : ms.Mode) {
        for (int e = 0; e < MS_LED_EFFECTS; ++e) {
            MsLedEffect& led = mode.Led[e];
            const MsEffectCfg& cfg = desc.Effects[e];
            led.nLevel1 = 2;
            led.nLevel2 = 4;
            led.nDir = 0;
            led.nFlag = 0;
            std::memcpy(led.Colors, cfg.Colors, sizeof(led.Colors));
            led.dwColorMask = ColorMask(cfg.p4);
        }
        if (nLayout == 1 || nLayout == 2) {
            static const int32_t kLevel1[5] = {0, 1, 1, 2, 0};
            static const uint32_t kExtra2[5] = {1, 1, 0x30403, 0x30403, 0};
            for (int e = 0; e < 5; ++e) {
                MsLedEffect& led = mode.Led[e];
                led.nLevel2 = 3;
                led.nLevel1 = kLevel1[e];
                led.dwExtra2 = kExtra2[e];
                led.Colors[0] = 0x0000FF;
            }
        }
    }

    ApplyMsLedParam(ms.Mode[0], desc.LedParam, desc.DpiSW, false);
    ApplyMsLedParam(ms.Mode[1], desc.LedParam2, desc.DpiSW2, true);

    std::memcpy(reinterpret_cast<uint8_t*>(&ms.Mode[2]) + MS_MODE_LIGHT_BEGIN,
                reinterpret_cast<const uint8_t*>(&ms.Mode[0]) + MS_MODE_LIGHT_BEGIN,
                MS_MODE_LIGHT_SIZE);
}

void FillPadDefault(PadSettings& pad, const CGlobalVar& var) {
    std::memset(&pad, 0, sizeof(pad));
    for (PadLedEffect& e : pad.Led) {
        e.nLevel1 = 2;
        e.nLevel2 = 256;
        e.nDir = 5;
        e.nFlag = 0;
        std::memcpy(e.Colors, kPadEffectColors, sizeof(e.Colors));
        e.dwColorMask = 0xFFFF;
    }
    const int32_t* p = var.Dev.Pad.LedParam;
    if (p[0] + p[1] + p[2] + p[3] != 0 && EffectIndexOk(p[0], PAD_LED_EFFECTS, "PAD LedParam")) {
        pad.nPadLedEffect = p[0];
        PadLedEffect& e = pad.Led[p[0]];
        e.nLevel1 = p[1];
        e.nLevel2 = p[2];
        e.nDir = p[3];
        e.nFlag = p[4];
    }
}
