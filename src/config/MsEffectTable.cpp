#include "config/MsEffectTable.h"

#include <cstring>

namespace {

struct EffectParams {
    int p0, p1, p2, p3, p4;
};

const EffectParams g_VariantA[] = {{1, 0, 1, 0, 0}, {0, 1, 0, 0, 1}, {1, 0, 0, 0, 7},
                                   {1, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 0, 0, 0, 8},
                                   {0, 0, 0, 0, 2}, {1, 0, 0, 0, 0}, {1, 0, 0, 0, 0},
                                   {1, 0, 0, 0, 0}, {0, 0, 0, 0, 0}};
const EffectParams g_VariantB[] = {{1, 0, 1, 0, 0}, {0, 1, 0, 0, 1}, {1, 0, 0, 0, 7},
                                   {1, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 0, 0, 0, 8},
                                   {0, 0, 0, 0, 2}, {1, 0, 0, 0, 0}, {1, 0, 0, 0, 0},
                                   {1, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 0, 0, 0, 0}};
const EffectParams g_VariantC[] = {
    {0, 1, 0, 0, 1}, {1, 0, 0, 0, 1}, {1, 0, 0, 0, 0}, {0, 0, 0, 0, 0}};
const EffectParams g_VariantD[] = {
    {0, 1, 0, 1, 1}, {1, 0, 0, 0, 7}, {1, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 0, 0, 0, 0}};

// 0x00BBGGRR
const uint32_t g_ColorsAB[MS_EFFECT_COLORS] = {0x0000FF, 0xFF0000, 0x00FF00, 0xFF0080,
                                               0x03C6FA, 0x6A03FA, 0xFA00FA, 0xFFFFFF};
const uint32_t g_ColorsCD[MS_EFFECT_COLORS] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00,
                                               0x00FFFF, 0xFF00FF, 0xFFFFFF, 0x0080FF};

template <size_t N>
void Fill(MsEffectCfg (&Effects)[MS_EFFECT_NUM], const EffectParams (&params)[N],
          const uint32_t (&colors)[MS_EFFECT_COLORS]) {
    static_assert(N <= MS_EFFECT_NUM);
    for (size_t i = 0; i < N; ++i) {
        MsEffectCfg& e = Effects[i];
        e.bPresent = 1;
        e.p0 = params[i].p0;
        e.p1 = params[i].p1;
        e.p2 = params[i].p2;
        e.p3 = params[i].p3;
        e.p4 = params[i].p4;
        std::memcpy(e.Colors, colors, sizeof(e.Colors));
    }
}

} // namespace

EMsEffectVariant MsEffectVariant(int nMsFw) {
    const int nLow = nMsFw & 0xF;
    if (nLow == 2 && nMsFw <= 255) {
        return EMsEffectVariant::A;
    }
    if (nLow == 3) {
        return EMsEffectVariant::B;
    }
    if (nMsFw >= 0x300 && nMsFw <= 0x3FF) {
        return EMsEffectVariant::D;
    }
    return EMsEffectVariant::C;
}

void BuildMsEffectTable(MsEffectCfg (&Effects)[MS_EFFECT_NUM], int nMsFw, int nShowReaction) {
    for (MsEffectCfg& e : Effects) {
        e = MsEffectCfg{};
    }
    switch (MsEffectVariant(nMsFw)) {
    case EMsEffectVariant::A:
        Fill(Effects, g_VariantA, g_ColorsAB);
        break;
    case EMsEffectVariant::B:
        Fill(Effects, g_VariantB, g_ColorsAB);
        if (nShowReaction == 2) {
            Effects[9].p3 = 1;
            Effects[9].p4 = 7;
        }
        break;
    case EMsEffectVariant::C:
        Fill(Effects, g_VariantC, g_ColorsCD);
        break;
    case EMsEffectVariant::D:
        Fill(Effects, g_VariantD, g_ColorsCD);
        break;
    }
}
