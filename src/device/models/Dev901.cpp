#include "device/models/Dev901.h"

#include <cstring>

#include "config/Log.h"
#include "device/models/VkToHid.h"
#include "platform/Clock.h"
#include "storage/MacroStore.h"

namespace {

struct CCodePair {
    uint32_t nCode, dwHw;
};

constexpr CCodePair kMouseCodes[] = {
    {17, 0xF010}, {18, 0xF210}, {19, 0xF110}, {20, 0xF410}, {21, 0xF310}, {23, 0x130},
};

// Multimedia function code to consumer usage.
constexpr CCodePair kConsumer[] = {
    {33, 0x183}, {34, 0xCD},  {35, 0xB7},  {36, 0xB6},  {37, 0xB5},  {38, 0xE9},
    {39, 0xEA},  {48, 0x18A}, {49, 0x192}, {50, 0x194}, {51, 0x221}, {52, 0x223},
    {53, 0x224}, {54, 0x225}, {55, 0x226}, {56, 0x227}, {57, 0x22A},
};

constexpr uint32_t kMuteCode = 40;
constexpr uint32_t kMuteHw = 0x56340001; // the firmware's own mute code

uint32_t ReadCode(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void WriteCode(uint8_t* p, uint32_t dw) {
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(dw >> (8 * i));
}

} // namespace

CDev901::CDev901(CGlobalVar& var, CHidLib* pLib, CMacroStore* pMacros)
    : CHidDev(var, var.KbFw, std::make_unique<CDrv901>(var, pLib), pMacros) {}

uint32_t CDev901::keyinfo_to_hardware_code(const KeyFun& key) {
    const uint32_t nClass = FunClass(key.dwFun);
    const uint32_t nCode = FunCode(key.dwFun);
    switch (nClass) {
    case 1:
        for (const CCodePair& c : kMouseCodes)
            if (c.nCode == nCode)
                return c.dwHw;
        return HW_CODE_NONE;
    case 2:
        if (key.byVk == 250 && key.byMod == 0)
            return 0xB00000;
        return uint32_t(key.byMod) << 8 | uint32_t(VkToHid(key.byVk)) << 16 |
               uint32_t(VkToHid(key.byVk2)) << 24;
    case 3:
    case 4:
        if (nCode == kMuteCode)
            return kMuteHw;
        for (const CCodePair& c : kConsumer)
            if (c.nCode == nCode)
                return 1 | ((c.dwHw >> 8) & 0xFF) << 16 | (c.dwHw & 0xFF) << 24;
        return HW_CODE_NONE;
    case 5: {
        const StMacro* pMac = Macros().Find(key.dwMacroId);
        if (!pMac) {
            LogPrint("keyinfo_to_hardware_code can't find macro id 0x%x", key.dwMacroId);
            return HW_CODE_NONE;
        }
        switch (pMac->nLoopMode) {
        case 0:
            return 0x10002;
        case 1:
            return 0x20002;
        default:
            return 0x40002;
        }
    }
    default:
        return HW_CODE_NONE;
    }
}

int CDev901::UpdateMatrix(int nOn) {
    uint8_t byMatrix[KB901_MATRIX_LEN];
    if (!Drv901().GetMatrix(byMatrix)) {
        LogPrint("UpdateMatrix GetCommand Err.");
        return 0;
    }
    const MouseDesc& ms = m_var.Dev.Ms;
    bool bChanged = false;
    for (int i = 0; i < 3; ++i) {
        const uint8_t byVk = ms.KeySwVk[i];
        if (byVk == 0)
            continue;
        const int n = ms.KeySwVkMatrix[i];
        // A position past the block would write beyond the matrix.
        if (n >= KB901_MATRIX_CODES) {
            LogPrint("UpdateMatrix: matrix position %d of key 0x%x out of range", n, byVk);
            continue;
        }
        const uint32_t dwNew =
            nOn == 1 ? (uint32_t(byVk) << 24 | 0x300001) : uint32_t(VkToHid(byVk)) << 16;
        uint8_t* p = byMatrix + 4 * n;
        if (ReadCode(p) != dwNew) {
            WriteCode(p, dwNew);
            bChanged = true;
        }
    }
    if (!bChanged)
        return 1;
    LogPrint("UpdateMatrix SendCommand.");
    SleepMs(15);
    if (!Drv901().SetMatrix(byMatrix)) {
        LogPrint("UpdateMatrix SendCommand Err.");
        return 0;
    }
    return 1;
}
