// Hardware key codes of the 8948 family: one 32-bit code per matrix position, byte 0 the
// kind of code.
#include "config/KeyLayouts.h"
#include "config/Log.h"
#include "config/SensorTable.h"
#include "device/models/Dev8948.h"
#include "device/models/VkToHid.h"
#include "storage/MacroStore.h"

namespace {

struct CCodePair {
    uint32_t nCode, dwHw;
};

constexpr CCodePair kMouseCodes[] = {
    {17, 0x111},     {18, 0x411}, {19, 0x211},  {20, 0x1011}, {21, 0x811}, {22, 0x2320131},
    {23, 0x3320131}, {24, 0x112}, {25, 0xFF12}, {26, 0xFF13}, {27, 0x113},
};

// Multimedia function code to its bit in the 24-bit consumer mask.
constexpr CCodePair kMediaBits[] = {
    {33, 8},  {34, 3}, {35, 2},  {36, 1},  {37, 0},  {38, 6},  {39, 7},  {40, 4},  {48, 12},
    {49, 13}, {50, 9}, {51, 16}, {52, 17}, {53, 18}, {54, 19}, {55, 20}, {56, 21}, {57, 22},
};

constexpr CCodePair kSpecialCodes[] = {
    {162, 0x150},   {167, 0x250},   {168, 0x141}, {169, 0x241}, {170, 0x41},
    {171, 0x650},   {172, 0x450},   {174, 0x750}, {175, 0x950}, {194, 0x850},
    {208, 0x10450}, {209, 0x20450}, {210, 0x143}, {211, 0x243},
};

constexpr uint32_t kCodeAutoFire = 164;
constexpr uint32_t kCodeDpiLock = 166;
constexpr uint32_t kCodeRaw = 173;
constexpr uint32_t kCodeGun = 192;

uint32_t Lookup(const CCodePair* p, size_t n, uint32_t nCode) {
    for (size_t i = 0; i < n; ++i)
        if (p[i].nCode == nCode)
            return p[i].dwHw;
    return HW_CODE_NONE;
}

uint32_t GunCode(uint32_t p) {
    uint32_t by1 = (p & 15) + 1;
    switch ((p >> 4) & 15) {
    case 1:
        by1 |= 0x10;
        break;
    case 2:
        by1 |= 0x20;
        break;
    default: // level 0, and levels the dialog never makes, add nothing
        break;
    }
    return 0x60 | by1 << 8 | (p >> 24) << 16 | ((p >> 16) & 0xFF) << 24;
}

uint32_t AutoFireCode(uint32_t dwParam) {
    static const uint8_t kModVk[8] = {162, 160, 164, 91, 163, 161, 165, 92};
    static const uint8_t kButtonBits[5] = {1, 2, 4, 0x10, 8}; // 240..244
    const uint8_t k = uint8_t(dwParam >> 16);
    uint32_t dwKind = 0x32, dwValue = VkToHid(k);
    for (int i = 0; i < 8; ++i)
        if (kModVk[i] == k) {
            dwKind = 0x33;
            dwValue = 1u << i;
        }
    if (k >= 240 && k <= 244) {
        dwKind = 0x31;
        dwValue = kButtonBits[k - 240];
    }
    return dwKind | dwValue << 8 | ((dwParam >> 8) & 0xFF) << 16 | (dwParam & 0xFF) << 24;
}

} // namespace

uint32_t CDev8948::MacroCode(const StMacro* pMac, uint32_t dwKind) const {
    uint32_t dwPlay = 0;
    switch (pMac->nLoopMode) {
    case 0:
        dwPlay = 1;
        break;
    case 1:
        dwPlay = 2;
        break;
    case 2:
        dwPlay = 4;
        break;
    default:
        break;
    }
    // A repeat count of 0 would play nothing; 256, 512 ... have a 0 low byte as well.
    uint32_t dwCount = pMac->wLoopCount & 0xFF;
    if (dwCount == 0)
        dwCount = 1;
    return dwKind | dwPlay << 16 | dwCount << 24;
}

uint32_t CDev8948::keyinfo_to_hardware_code(const KeyFun& key) {
    return HardwareCode(key, OwnStores());
}

uint32_t CDev8948::HardwareCode(const KeyFun& key, const CApplyStores& stores) {
    const uint32_t nClass = FunClass(key.dwFun);
    const uint32_t nCode = FunCode(key.dwFun);
    const int nIme = m_var.InputMethod;
    switch (nClass) {
    case 1:
        return Lookup(kMouseCodes, std::size(kMouseCodes), nCode);
    case 2:
        return 0x21 | uint32_t(key.byMod) << 8 |
               uint32_t(VkToHid(DeviceKeyConvert(nIme, key.byVk))) << 16 |
               uint32_t(VkToHid(DeviceKeyConvert(nIme, key.byVk2))) << 24;
    case 3:
    case 4: {
        const uint32_t nBit = Lookup(kMediaBits, std::size(kMediaBits), nCode);
        if (nBit == HW_CODE_NONE)
            return HW_CODE_NONE;
        return 0x22 | (1u << nBit) << 8;
    }
    case 5: {
        const StMacro* pMac = stores.Macros.Find(key.dwMacroId);
        if (!pMac) {
            LogPrint("keyinfo_to_hardware_code can't find macro id 0x%x", key.dwMacroId);
            return HW_CODE_NONE;
        }
        return MacroCode(pMac, 0x70);
    }
    case 12: {
        const StMacro* pMac = stores.Bullets.Find(key.dwMacroId);
        if (!pMac) {
            LogPrint("get_macro_by_id_mcb can't find macro id 0x%x", key.dwMacroId);
            return HW_CODE_NONE;
        }
        return MacroCode(pMac, 0x60);
    }
    case 9:
    case 11:
        LogPrint("FUN_HW dwHdCode=0x%x", key.dwParam);
        return key.dwParam;
    case 8:
        switch (nCode) {
        case kCodeRaw:
            return key.dwParam;
        case kCodeGun:
            return GunCode(key.dwParam);
        case kCodeAutoFire:
            return AutoFireCode(key.dwParam);
        case kCodeDpiLock: {
            // Entry dwParam, counted from 1, of the current sensor's lock codes; a position
            // outside the list has no code rather than one read past it.
            const MouseDesc& ms = m_var.Dev.Ms;
            const SensorEntry* pEntry = FindSensorEntry(ms, ms.nCurSensor);
            if (!pEntry || key.dwParam < 1 || key.dwParam > uint32_t(pEntry->nCount))
                return HW_CODE_NONE;
            return 0x42 | uint32_t(pEntry->LockCode[key.dwParam - 1]) << 8;
        }
        default:
            return Lookup(kSpecialCodes, std::size(kSpecialCodes), nCode);
        }
    default:
        return HW_CODE_NONE;
    }
}
