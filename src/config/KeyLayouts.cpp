#include "config/KeyLayouts.h"

#include <cstddef>

namespace {

struct KeyPair {
    uint8_t byFrom, byTo;
};

// Layout 1 and 3 share the punctuation keys; layout 1 also swaps Y and Z.
constexpr KeyPair g_aCapture1[] = {{89, 90},   {90, 89},   {186, 219}, {189, 191}, {191, 220},
                                   {192, 186}, {219, 189}, {220, 192}, {187, 221}, {221, 187}};
constexpr KeyPair g_aCapture2[] = {{65, 81},   {81, 65},   {87, 90},   {90, 87},   {77, 186},
                                   {186, 221}, {188, 77},  {190, 188}, {191, 190}, {192, 222},
                                   {219, 189}, {221, 219}, {222, 192}, {223, 191}};
constexpr KeyPair g_aCapture3[] = {{186, 219}, {189, 191}, {191, 220}, {192, 186},
                                   {219, 189}, {220, 192}, {187, 221}, {221, 187}};

constexpr KeyPair g_aDisplay1[] = {{89, 90},   {90, 89},   {186, 192}, {189, 219}, {191, 189},
                                   {192, 220}, {219, 186}, {220, 191}, {187, 221}, {221, 187}};
constexpr KeyPair g_aDisplay2[] = {{65, 81},   {81, 65},   {87, 90},   {90, 87},   {77, 188},
                                   {186, 77},  {188, 190}, {189, 219}, {190, 191}, {191, 223},
                                   {192, 222}, {219, 221}, {221, 186}, {222, 192}};
constexpr KeyPair g_aDisplay3[] = {{186, 192}, {189, 219}, {191, 189}, {192, 220},
                                   {219, 186}, {220, 191}, {187, 221}, {221, 187}};

template <size_t N> uint8_t Convert(const KeyPair (&aPairs)[N], uint8_t byVk) {
    for (const KeyPair& p : aPairs)
        if (p.byFrom == byVk)
            return p.byTo;
    return byVk;
}

} // namespace

uint8_t CaptureKeyConvert(int nLayout, uint8_t byVk) {
    switch (nLayout) {
    case 1:
        return Convert(g_aCapture1, byVk);
    case 2:
        return Convert(g_aCapture2, byVk);
    case 3:
        return Convert(g_aCapture3, byVk);
    default:
        return byVk;
    }
}

uint8_t DisplayKeyConvert(int nLayout, uint8_t byVk) {
    switch (nLayout) {
    case 1:
        return Convert(g_aDisplay1, byVk);
    case 2:
        return Convert(g_aDisplay2, byVk);
    case 3:
        return Convert(g_aDisplay3, byVk);
    default:
        return byVk;
    }
}

uint8_t DeviceKeyConvert(int nInputMethod, uint8_t byVk) {
    return nInputMethod == 1 ? DisplayKeyConvert(2, byVk) : byVk;
}
