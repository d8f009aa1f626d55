// Lighting of the 816 keyboard: the lighting bytes of the configuration block, the colour
// table of the effects and the per-key colour pages of the colour groups.
#include <algorithm>
#include <cstring>

#include "config/FunctionNames.h"
#include "config/Log.h"
#include "device/models/Dev816Blocks.h"

namespace {

constexpr uint8_t kDirectionDefault[2] = {0, 8}; // effect not listed in Direct1..Direct3
constexpr int kColorBytes = 3 * KB_EFFECT_COLORS;
// These three LED positions light one key (a large key with three LEDs).
constexpr int kJoinedLeds[3] = {35, 57, 100};

int EffectCount(const KbDesc& kb) {
    return std::clamp(int(kb.EffectNum), 0, KB_LED_EFFECTS);
}

// The channel order of the keyboard; a configuration that is no permutation of 0, 1, 2
// (already reported at start-up) falls back to blue, green, red.
void ChannelOrder(const KbDesc& kb, int nIndex[3]) {
    bool bSeen[3] = {};
    bool bOk = true;
    for (int c = 0; c < 3; ++c) {
        const int n = kb.RGBIndex[c];
        if (n > 2 || bSeen[n]) {
            bOk = false;
            break;
        }
        bSeen[n] = true;
    }
    for (int c = 0; c < 3; ++c)
        nIndex[c] = bOk ? kb.RGBIndex[c] : 2 - c;
}

bool IsJoinedLed(int nLed) {
    return std::find(std::begin(kJoinedLeds), std::end(kJoinedLeds), nLed) != std::end(kJoinedLeds);
}

void PutLed(uint8_t* pGroup, int nLed, uint32_t clr) {
    pGroup[nLed] = uint8_t(clr >> 16);
    pGroup[KB816_PLANE + nLed] = uint8_t(clr >> 8);
    pGroup[2 * KB816_PLANE + nLed] = uint8_t(clr);
}

void FillGroup(const KeyTables& keys, const KbSettings& set, int nGroup, uint8_t* pGroup) {
    const int nKeys = std::clamp(keys.nKbKeyNum, 0, KB_KEY_MAX);
    for (int k = 0; k < nKeys; ++k) {
        const KeyFun& def = keys.g_defKEY[k].Main;
        if (def.dwFun == 0)
            continue;
        const int nPos = def.nMatrixInx;
        if (nPos < 0 || nPos >= KB_PROFILE_KEYS)
            continue;
        const uint32_t clr = set.GroupColor[nGroup][nPos];
        const int nLed = set.KbKeys[k].Fn.nLink;
        if (nLed < 0 || nLed >= KB816_PLANE) {
            KeyFun kf = def;
            LogPrint("ERROR: GET Key(Func=%s, MatrixInx=%d)", GetFunName(kf).c_str(), nPos);
            continue;
        }
        if (IsJoinedLed(nLed)) {
            // A coloured part lights the whole key; a dark part must not put out the others.
            if (clr != 0)
                for (int n : kJoinedLeds)
                    PutLed(pGroup, n, clr);
        } else {
            PutLed(pGroup, nLed, clr);
        }
        if (clr != 0 && nPos == 0)
            LogPrint("Led[%d][0~2][%03d] = RGB(%d, %d, %d), dwMatrixInx=%d", nGroup, nLed,
                     int(clr & 0xFF), int((clr >> 8) & 0xFF), int((clr >> 16) & 0xFF), nPos);
    }
}

} // namespace

uint8_t Kb816DirectionValue(const KbDesc& kb, int nEffectCode, int nDir) {
    const int nSel = nDir == 2 ? 1 : 0;
    for (const auto& d : kb.Direct) {
        // An entry left empty in the configuration lists no effect.
        if (d[0] == 0 && d[1] == 0 && d[2] == 0)
            continue;
        if (d[0] == nEffectCode)
            return d[1 + nSel];
    }
    return kDirectionDefault[nSel];
}

void Kb816SetLighting(const KbDesc& kb, const KbSettings& set, bool bReset, uint8_t* pCfg) {
    pCfg[0] = uint8_t(bReset ? kb.DefCfg : kb.OurCfg);
    uint8_t* pPro1 = pCfg + KB816_CFG_PRO1;
    const int e = set.nKbLedEffect;
    // Offsets come from the configuration; bytes that would fall on the signature or past
    // the lighting part are left out rather than written over other settings.
    const int nSel = kb.LedModeSelectOffset;
    if (nSel >= 0 && nSel + 3 <= KB816_CFG_SIGNATURE) {
        pPro1[nSel] = e == kb.GaoshouIndex ? 1 : 0;
        pPro1[nSel + 1] = uint8_t(e + kb.EffectBase);
        pPro1[nSel + 2] = uint8_t((set.wColorGroup & 0xFF) + kb.StartGp);
    } else {
        LogPrint("Kb816SetLighting: LedModeSelectOffset %d outside the lighting block", nSel);
    }
    const int nEffects = EffectCount(kb);
    for (int i = 0; i < nEffects; ++i) {
        const int nOff = kb.EffectOffset + 2 * i;
        if (nOff < 0 || nOff + 2 > KB816_CFG_SIGNATURE) {
            LogPrint("Kb816SetLighting: effect %d does not fit at offset %d", i, nOff);
            break;
        }
        const KbLedEffect& r = set.Led[i];
        const uint8_t byLow = r.nFlag ? 7 : uint8_t(r.nColorChoice & 15);
        const uint8_t byDir = Kb816DirectionValue(kb, kb.Effects[i].nCode, r.nDir) & 15;
        pPro1[nOff] = uint8_t(byDir << 4 | byLow);
        pPro1[nOff + 1] = uint8_t(((r.nLevel1 - 1) << 4 & 0xF0) | ((r.nLevel2 - 1) & 15));
    }
    pPro1[KB816_CFG_SIGNATURE] = 0x5A;
    pPro1[KB816_CFG_SIGNATURE + 1] = 0xA5;
}

int Kb816ColorTable(const KbDesc& kb, const KbSettings& set, uint8_t* pOut, size_t nCap) {
    const int nEffects = EffectCount(kb);
    const size_t nLen = size_t(nEffects) * kColorBytes;
    if (nLen > nCap)
        return 0;
    int nIndex[3];
    ChannelOrder(kb, nIndex);
    for (int i = 0; i < nEffects; ++i) {
        for (int c = 0; c < KB_EFFECT_COLORS; ++c) {
            const uint32_t clr = set.Led[i].Colors[c];
            uint8_t* p = pOut + i * kColorBytes + 3 * c;
            for (int ch = 0; ch < 3; ++ch)
                p[nIndex[ch]] = uint8_t(clr >> (8 * ch));
        }
    }
    return int(nLen);
}

int Kb816GroupCount(const KbDesc& kb) {
    return std::clamp(int(kb.GaoshouGroupNum), 0, KB_GAOSHOU_GROUP_MAX);
}

void Kb816LedPage(const KeyTables& keys, const KbSettings& set, int nPair,
                  uint8_t byPage[2 * KB816_GROUP_PAGE]) {
    std::memset(byPage, 0, 2 * KB816_GROUP_PAGE);
    for (int j = 0; j < 2; ++j) {
        const int nGroup = 2 * nPair + j;
        if (nGroup < 0 || nGroup >= KB_COLOR_GROUPS)
            continue;
        FillGroup(keys, set, nGroup, byPage + j * KB816_GROUP_PAGE);
    }
}
