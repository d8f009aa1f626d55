// Lighting bytes 45..122 of the general data, by the mouse's light layout.
#include <cstring>

#include "config/Log.h"
#include "device/models/Dev8948.h"

namespace {

// The effect's colours in use (mask bits 0..7), in order of the bit.
struct CColorList {
    uint8_t byRgb[8][3];
    int n = 0;
};

CColorList ColorList(const MsLedEffect& r) {
    CColorList l;
    const uint32_t dwMask = r.dwColorMask;
    for (int i = 0; i < 8; ++i) {
        if (!(dwMask & (1u << i)))
            continue;
        const uint32_t clr = r.Colors[i];
        l.byRgb[l.n][0] = uint8_t(clr);
        l.byRgb[l.n][1] = uint8_t(clr >> 8);
        l.byRgb[l.n][2] = uint8_t(clr >> 16);
        ++l.n;
    }
    return l;
}

// Colour slots from p: the list's first nSlots colours, empty slots zero.
void PutColors(uint8_t* p, const CColorList& l, int nSlots, const int32_t (&aIndex)[3]) {
    std::memset(p, 0, size_t(3 * nSlots));
    for (int i = 0; i < l.n && i < nSlots; ++i)
        PutMsColor(p + 3 * i, l.byRgb[i], aIndex);
}

void PutColor0(uint8_t* p, const MsLedEffect& r, const int32_t (&aIndex)[3]) {
    const uint32_t clr = r.Colors[0];
    const uint8_t by[3] = {uint8_t(clr), uint8_t(clr >> 8), uint8_t(clr >> 16)};
    PutMsColor(p, by, aIndex);
}

uint8_t SpeedByte(const MsLedEffect& r) {
    return uint8_t(r.nLevel2 << 4 | (r.nLevel1 & 15));
}

void SetHigh(uint8_t& by, int n) {
    by = uint8_t((by & 0x0F) | (n & 15) << 4);
}

void SetLow(uint8_t& by, int n) {
    by = uint8_t((by & 0xF0) | (n & 15));
}

// Effects the mouse offers: the leading present ones; the last of them switches the
// lights off.
int EffectCount(const MouseDesc& ms) {
    int n = 0;
    while (n < MS_EFFECT_NUM && ms.Effects[n].bPresent)
        ++n;
    return n;
}

} // namespace

void CDev8948::LightVariantA(const MsMode& mode, uint8_t* g, bool bC) {
    const MouseDesc& ms = m_var.Dev.Ms;
    const int e = mode.nLedEffect;
    if (e < 0 || e >= MS_LED_EFFECTS) {
        LogPrint("General: light effect %d out of range, lighting left as read", e);
        return;
    }
    const MsLedEffect& r = mode.Led[e];
    const CColorList l = ColorList(r);
    const int c = e == EffectCount(ms) - 1 ? 0 : e + 1;
    g[45] = uint8_t(c);
    if (!(bC && c == 0))
        g[122] = 0;
    switch (c) {
    case 0:
        if (!bC)
            g[122] = uint8_t(ms.LedOffVal);
        break;
    case 1:
        g[46] = SpeedByte(r);
        // The direction goes both ways: down clears what up set.
        g[47] = r.nDir == 3 ? 1 : 0;
        break;
    case 2:
        SetHigh(g[48], r.nLevel2);
        PutColors(g + 49, l, 1, ms.RGBIndex);
        break;
    case 3:
        g[52] = SpeedByte(r);
        g[53] = uint8_t(l.n < 7 ? l.n : 7);
        PutColors(g + 54, l, 7, ms.RGBIndex);
        break;
    case 4:
        g[75] = SpeedByte(r);
        break;
    case 5:
        g[76] = SpeedByte(r);
        break;
    case 6:
        SetHigh(g[77], r.nLevel2);
        PutColors(g + 78, l, 8, ms.RGBIndex);
        break;
    case 7:
        g[bC ? 102 : 108] = SpeedByte(r);
        PutColors(g + (bC ? 103 : 109), l, 2, ms.RGBIndex);
        break;
    case 8:
        g[bC ? 109 : 115] = SpeedByte(r);
        break;
    case 9:
        g[bC ? 110 : 116] = SpeedByte(r);
        break;
    case 10:
        if (!bC) {
            SetLow(g[117], r.nLevel1);
            break;
        }
        SetLow(g[111], r.nLevel1);
        if (ms.ShowReaction == 2) {
            g[112] = uint8_t(l.n | (r.nFlag != 0 ? 0x80 : 0));
            PutColors(g + 113, l, 8, ms.RGBIndex);
        }
        break;
    case 11:
        if (bC)
            SetLow(g[112], r.nLevel1);
        break;
    default:
        break;
    }
}

void CDev8948::LightVariantB(const MsMode& mode, uint8_t* g, bool bB2) {
    const MouseDesc& ms = m_var.Dev.Ms;
    const int e = mode.nLedEffect;
    static const int kCode[5] = {0, 1, 2, 2, 3};
    if (e < 0 || e >= 5) {
        LogPrint("General: light effect %d has no code on this mouse, lighting left as read", e);
        return;
    }
    const MsLedEffect& r = mode.Led[e];
    const int c = kCode[e];
    SetHigh(g[45], c);
    if (c == 0) {
        g[122] = 1;
        return;
    }
    g[122] = 0;
    g[46] = 2;
    const uint32_t dwExtra = r.dwExtra2;
    switch (c) {
    case 1:
        g[48] = uint8_t(r.nLevel2);
        SetLow(g[45], 1);
        if (bB2) {
            PutColor0(g + 49, r, ms.RGBIndex);
            g[46] = 1;
        }
        break;
    case 2:
    case 3:
        if (c == 2) {
            g[52] = uint8_t(r.nLevel1);
            if (e == 3) {
                g[46] = 3;
            } else if (bB2) {
                PutColor0(g + 49, r, ms.RGBIndex);
                g[46] = 1;
            }
        } else {
            g[76] = uint8_t(r.nLevel1);
        }
        SetLow(g[45], int(dwExtra & 0xFF));
        if ((dwExtra & 0xFF) == 2 || (dwExtra & 0xFF) == 3)
            g[77] = uint8_t(dwExtra >> 8);
        if ((dwExtra & 0xFF) == 3)
            g[78] = uint8_t(dwExtra >> 16);
        break;
    default:
        break;
    }
    if (bB2 && ms.ShowDpiColor == 0)
        SetLow(g[45], 0);
}

void CDev8948::LightVariantD(const MsMode& mode, uint8_t* g) {
    const MouseDesc& ms = m_var.Dev.Ms;
    struct CLight {
        int nEffect;
        const MsLedEffect& r;
        int nCode, nMode, nColor0, nBright, nCount, nList, nSpeed[3];
    };
    const uint32_t dwEffects = uint32_t(mode.nLedEffect);
    const CLight lights[2] = {
        {int(dwEffects & 0xFF), mode.Led[0], 79, 80, 82, 81, 86, 87, {85, 108, 109}},
        {int((dwEffects >> 16) & 0xFF), mode.Led[1], 45, 46, 49, 48, 53, 54, {52, 75, 76}},
    };
    for (const CLight& lt : lights) {
        const MsLedEffect& r = lt.r;
        const CColorList l = ColorList(r);
        SetHigh(g[lt.nCode], lt.nEffect == 4 ? 0 : lt.nEffect + 1);
        g[lt.nMode] = lt.nEffect <= 1 ? 1 : 2;
        if (lt.nEffect == 0)
            PutColor0(g + lt.nColor0, r, ms.RGBIndex);
        g[lt.nBright] = uint8_t(r.nLevel2);
        for (int nAt : lt.nSpeed)
            g[nAt] = uint8_t(r.nLevel1);
        g[lt.nCount] = uint8_t(l.n < 7 ? l.n : 7);
        PutColors(g + lt.nList, l, 7, ms.RGBIndex);
    }
}
