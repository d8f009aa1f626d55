// Hardware codes of key functions on the 816 keyboard.
#include <iterator>

#include "config/KeyLayouts.h"
#include "config/Log.h"
#include "device/models/Dev816.h"
#include "device/models/VkToHid.h"
#include "storage/MacroStore.h"

namespace {

struct CCodePair {
    uint32_t nCode, dwHw;
};

constexpr CCodePair kMouseCodes[] = {
    {17, 0x70000F0}, {18, 0x70000F2}, {19, 0x70000F1},
    {20, 0x70000F3}, {21, 0x70000F4}, {23, 0x130},
};

// Multimedia function code to consumer usage.
constexpr CCodePair kConsumer[] = {
    {33, 0x183}, {34, 0xCD},  {35, 0xB7},  {36, 0xB6},  {37, 0xB5},  {38, 0xE9},
    {39, 0xEA},  {40, 0xE2},  {48, 0x18A}, {49, 0x192}, {50, 0x194}, {51, 0x221},
    {52, 0x223}, {53, 0x224}, {54, 0x225}, {55, 0x226}, {56, 0x227}, {57, 0x22A},
};

// Browser and media virtual keys 166..181 send consumer usages too.
constexpr uint16_t kVkConsumer[] = {0x224, 0x225, 0x227, 0x226, 0x221, 0x22A, 0x223, 0xE2,
                                    0xEA,  0xE9,  0xB5,  0xB6,  0xB7,  0xCD,  0x18A, 0x183};
constexpr uint8_t kVkConsumerFirst = 166;
constexpr uint8_t kVkConsumerLast = 183; // 182 and 183 have no usage

constexpr CCodePair kSpecial[] = {
    {23, 0x130},      {162, 0},          {166, 0x8140},    {167, 0x250},
    {168, 0x2040},    {169, 0x4040},     {170, 0x40},      {171, 0x650},
    {176, 0xB000300}, {177, 0x12000300}, {178, 0xD000100}, {179, 0xD000200},
    {180, 0xD000300}, {181, 0xC000100},  {182, 0xC000200}, {183, 0xC000300},
};

constexpr uint32_t kConsumerKind = 0x4000000;
constexpr uint32_t kModifierKind = 0x6000000;
constexpr uint8_t kVkFn = 250;
constexpr uint8_t kVkEnter = 13;
constexpr uint8_t kUsageKeypadEnter = 0x58;
constexpr uint32_t kAutoFire = 164;

uint32_t Lookup(const CCodePair* pFirst, const CCodePair* pLast, uint32_t nCode) {
    for (const CCodePair* p = pFirst; p != pLast; ++p)
        if (p->nCode == nCode)
            return p->dwHw;
    return HW_CODE_NONE;
}

template <size_t N> uint32_t Lookup(const CCodePair (&a)[N], uint32_t nCode) {
    return Lookup(a, a + N, nCode);
}

// A modifier alone: one bit of byMod names it. Right Win has no code of its own and sends
// the left one; two or more modifiers have no usage.
uint32_t ModifierAlone(uint8_t byMod) {
    static constexpr uint8_t kUsage[8] = {0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE3};
    for (int i = 0; i < 8; ++i)
        if (byMod == (1u << i))
            return kModifierKind | kUsage[i];
    return kModifierKind;
}

uint32_t AutoFireCode(uint32_t dwParam) {
    // The repeated key is not translated by the input method: it names a key position.
    const uint8_t byKey = uint8_t(dwParam >> 16);
    const uint8_t byUsage = byKey >= 240 && byKey <= 246 ? byKey : VkToHid(byKey);
    return (dwParam & 0xFF) << 24 | ((dwParam >> 8) & 0xFF) << 16 | uint32_t(byUsage) << 8 | 0x20;
}

} // namespace

uint32_t CDev816::keyinfo_to_hardware_code(const KeyFun& key) {
    return HardwareCodeAt(key, key.nMatrixInx);
}

uint32_t CDev816::HardwareCodeAt(const KeyFun& key, int nPos) {
    return HardwareCodeAt(key, nPos, OwnStores());
}

uint32_t CDev816::HardwareCodeAt(const KeyFun& key, int nPos, const CApplyStores& stores) {
    const uint32_t nClass = FunClass(key.dwFun);
    const uint32_t nCode = FunCode(key.dwFun);
    switch (nClass) {
    case 1:
        return Lookup(kMouseCodes, nCode);
    case 2: {
        if (key.byVk == kVkFn && key.byMod == 0)
            return 0x20000000;
        if (key.byVk == 0 && key.byMod != 0)
            return ModifierAlone(key.byMod);
        const uint8_t byVk = DeviceKeyConvert(m_var.InputMethod, key.byVk);
        if (byVk >= kVkConsumerFirst && byVk <= kVkConsumerLast) {
            const size_t n = size_t(byVk - kVkConsumerFirst);
            return n < std::size(kVkConsumer) ? kConsumerKind | kVkConsumer[n] : HW_CODE_NONE;
        }
        // The main Enter and the keypad Enter share a virtual-key code; the keypad one sits
        // at the keypad Enter's matrix position.
        const uint8_t byUsage =
            byVk == kVkEnter && nPos == GetEnterInx() ? kUsageKeypadEnter : VkToHid(byVk);
        return uint32_t(key.byMod) << 8 | byUsage;
    }
    case 3:
    case 4: {
        const uint32_t dwUsage = Lookup(kConsumer, nCode);
        return dwUsage == HW_CODE_NONE ? HW_CODE_NONE : kConsumerKind | dwUsage;
    }
    case 5: {
        const StMacro* pMac = stores.Macros.Find(key.dwMacroId);
        if (!pMac) {
            LogPrint("keyinfo_to_hardware_code can't find macro id 0x%x", key.dwMacroId);
            return HW_CODE_NONE;
        }
        uint32_t dwMode = 0;
        switch (pMac->nLoopMode) {
        case 0:
            dwMode = 1;
            break;
        case 1:
            dwMode = 5;
            break;
        case 2:
            dwMode = 4;
            break;
        default:
            break;
        }
        // The number is handed out while the matrix is filled; until then the low byte is 0.
        const uint32_t nNumber = pMac->byBufferId;
        const uint32_t dwBuffer = nNumber ? (nNumber - 1) & 0xFF : 0;
        return KB816_CODE_MACRO | dwMode << 8 | dwBuffer;
    }
    case 8:
        if (nCode == kAutoFire)
            return AutoFireCode(key.dwParam);
        return Lookup(kSpecial, nCode);
    case 9:
        return key.dwParam;
    default:
        return HW_CODE_NONE;
    }
}
