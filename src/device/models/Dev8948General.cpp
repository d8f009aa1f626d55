// General data of a mode: report rate, resolution levels with their colours, lift-off and
// the gun data that follows it.
#include <cstring>

#include "config/Log.h"
#include "config/SensorTable.h"
#include "device/hid/CurLevels.h"
#include "device/models/Dev8948.h"

namespace {

constexpr int kLevels = 8; // resolution levels the block holds

uint8_t RateCode(int32_t nRate) {
    switch (nRate) {
    case 0x125:
        return 1;
    case 0x250:
        return 2;
    case 0x500:
        return 3;
    case 0x1000:
        return 4;
    default:
        return 3;
    }
}

} // namespace

// Colour bytes in the order a configured index list asks for; a list with an index outside
// 0..2 would place bytes in the neighbouring colour, so it falls back to red, green, blue.
void PutMsColor(uint8_t* p, const uint8_t byRgb[3], const int32_t (&aIndex)[3]) {
    bool bValid = true;
    for (int32_t n : aIndex)
        bValid = bValid && n >= 0 && n <= 2;
    for (int k = 0; k < 3; ++k)
        p[bValid ? aIndex[k] : k] = byRgb[k];
}

void CDev8948::BuildGeneral(const MsMode& mode, int nModeIndex, uint8_t* g) {
    const int nLevel = nModeIndex >= 0 && nModeIndex < 3 ? g_nCurDpiLevel[nModeIndex] : -1;
    BuildGeneral(mode, nModeIndex, nLevel, g);
}

void CDev8948::BuildGeneral(const MsMode& mode, int nModeIndex, int nCurLevel, uint8_t* g) {
    const MouseDesc& ms = m_var.Dev.Ms;
    const int nSensor = ms.nCurSensor;
    g[0] = 0x64;
    if (Reset())
        g[(m_var.MsFw & 0xF) == 3 ? 114 : 122] = 0;
    const bool bXY = mode.bDpiXY != 0;
    g[2] = uint8_t((g[2] & 0x70) | RateCode(mode.nRate) | (bXY ? 0x80 : 0));

    int n = nCurLevel;
    if (n < 0) {
        const SensorCfg* pCfg = ms.pSensorCfg();
        n = pCfg ? pCfg->DEFLEVEL : -1;
    }
    if (n < 0) // no default level either: the first level
        n = 0;
    int nOn = 0, nOrdinal = 0;
    uint8_t byOff = 0;
    for (int j = 0; j < kLevels; ++j) {
        const DpiLevel lv = mode.Dpi[j];
        if (lv.bOff) {
            byOff |= uint8_t(1u << j);
            continue;
        }
        ++nOn;
        if (j <= n)
            ++nOrdinal;
    }
    if (n >= kLevels || mode.Dpi[n].bOff)
        nOrdinal = nOn;
    g[3] = uint8_t((nOrdinal & 15) << 4 | (nOn & 15));
    g[4] = byOff;
    for (int j = 0; j < kLevels; ++j) {
        const DpiLevel lv = mode.Dpi[j];
        const uint8_t byX = uint8_t(GetSensorDpiCode(ms, nSensor, lv.nX));
        if (bXY) {
            g[5 + 2 * j] = byX;
            g[6 + 2 * j] = uint8_t(GetSensorDpiCode(ms, nSensor, lv.nY));
        } else {
            g[5 + j] = byX;
        }
        PutMsColor(g + 21 + 3 * j, lv.rgb, ms.DPIRGBIndex);
    }

    switch (m_var.MsFw & 0xF) {
    case 3:
        LightVariantA(mode, g, true);
        break;
    default:
        switch ((m_var.MsFw >> 8) & 0xFF) {
        case 3:
            LightVariantD(mode, g);
            break;
        case 0:
            LightVariantA(mode, g, false);
            break;
        case 2:
            LightVariantB(mode, g, true);
            break;
        default:
            LightVariantB(mode, g, false);
            break;
        }
        break;
    }

    if (ms.ShowLOD) {
        g[122] = uint8_t((g[122] & 0xF0) | (ms.LOD & 15));
        g[123] = mode.byLodMask;
        for (int k = 0; k < mode.byLodNum && k < MS_LOD_CODES; ++k)
            g[124 + k] = uint8_t(mode.byLod[k] + 1);
    }
    if ((m_var.MsFw & 0xF0) != 0 && nModeIndex == 1 && ms.ShowUsbRateForPUBG[0] == 0)
        g[2] = uint8_t((g[2] & 0xF2) | 2);
}

bool CDev8948::BuildGunData(const MsMode& mode, int nModeIndex, const MsMatrix& mx,
                            uint8_t byGun[MS_GUN_LEN]) {
    std::memset(byGun, 0, MS_GUN_LEN);
    const int nSet = mode.nKeySet;
    if (nSet < 0 || nSet >= MS_KEY_SETS)
        return false;
    const KeyAssign* pKeys = mode.Keys[nSet];
    bool bFound = false;
    if ((m_var.MsFw & 0xF0) != 0 && nModeIndex == 1) {
        for (int i = 0; i < MS_PROFILE_KEYS; ++i) {
            const uint32_t dwFun = pKeys[i].Main.dwFun;
            if (dwFun != MakeFun(8, 192) && FunClass(dwFun) != 12)
                continue;
            const int nPos = MatrixPosition(i);
            if (nPos < 1 || nPos > MS_MATRIX_KEYS)
                continue;
            const int n = int(mx[size_t(nPos - 1)] & 15);
            if (n == 0) // not numbered
                continue;
            const uint32_t dwGun = pKeys[i].dwGun;
            uint8_t* p = byGun + 3 * (n - 1);
            p[0] = uint8_t(dwGun);
            p[1] = uint8_t(dwGun >> 8);
            p[2] = uint8_t(dwGun >> 16);
            bFound = true;
        }
    }
    for (int i = 0; i < MS_PROFILE_KEYS; ++i) {
        if (pKeys[i].Main.dwFun != MakeFun(8, 175))
            continue;
        const uint32_t dwParam = pKeys[i].Main.dwParam;
        byGun[33] = uint8_t(dwParam);
        byGun[34] = uint8_t(dwParam >> 8);
        byGun[35] = uint8_t(dwParam >> 16);
        bFound = true;
    }
    return bFound;
}
