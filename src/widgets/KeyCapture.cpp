#include "widgets/KeyCapture.h"

#include "config/KeyLayouts.h"
#include "platform/Clock.h"
#include "widgets/QtKeyToVk.h"

namespace {
constexpr uint64_t kComboWindowMs = 1000;

struct CaptureMemory {
    int nLastVk = -1;
    bool bLastUp = false;
    bool bHasPress = false;
    uint64_t nLastPressMs = 0;
};
CaptureMemory g_Memory;
} // namespace

uint8_t ModifierBitOfVk(int nVk) {
    switch (nVk) {
    case 16:
    case 160:
        return MOD_LSHIFT;
    case 17:
    case 162:
        return MOD_LCTRL;
    case 18:
    case 164:
        return MOD_LALT;
    case 91:
        return MOD_LWIN;
    case 161:
        return MOD_RSHIFT;
    case 163:
        return MOD_RCTRL;
    case 165:
        return MOD_RALT;
    case 92:
        return MOD_RWIN;
    default:
        return 0;
    }
}

uint8_t ModifierPairOfVk(int nVk) {
    const uint8_t by = ModifierBitOfVk(nVk);
    if (by & (MOD_LCTRL | MOD_RCTRL))
        return MOD_LCTRL | MOD_RCTRL;
    if (by & (MOD_LSHIFT | MOD_RSHIFT))
        return MOD_LSHIFT | MOD_RSHIFT;
    if (by & (MOD_LALT | MOD_RALT))
        return MOD_LALT | MOD_RALT;
    if (by & (MOD_LWIN | MOD_RWIN))
        return MOD_LWIN | MOD_RWIN;
    return 0;
}

void CKeyCapture::ResetMemory() {
    g_Memory = CaptureMemory();
}

bool CKeyCapture::OnKey(int nVk, bool bUp) {
    if (nVk == g_Memory.nLastVk && bUp == g_Memory.bLastUp)
        return false; // a held key repeats nothing
    const bool bModifier = IsModifierVk(nVk);
    if (bModifier && m_bTickBox)
        return false; // modifiers come from the tick boxes; not remembered either
    bool bChanged = false;
    if (!bUp) {
        auto clear = [this] { m_byMod = m_byKey1 = m_byKey2 = 0; };
        // Pressing a modifier a second time (either side) starts the combination anew.
        if (bModifier && (m_byMod & ModifierPairOfVk(nVk)))
            clear();
        const uint64_t nNow = GetClock().NowMs();
        if (!g_Memory.bHasPress || nNow - g_Memory.nLastPressMs >= kComboWindowMs)
            clear();
        g_Memory.bHasPress = true;
        g_Memory.nLastPressMs = nNow;
        if (m_bSingleKey)
            clear();
        if (bModifier)
            m_byMod |= ModifierBitOfVk(nVk);
        else
            m_byKey1 = CaptureKeyConvert(m_nLayout, static_cast<uint8_t>(nVk));
        bChanged = true;
    }
    g_Memory.nLastVk = nVk;
    g_Memory.bLastUp = bUp;
    return bChanged;
}
