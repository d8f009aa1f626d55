#include "device/models/ModelFactory.h"

#include "device/models/Dev816.h"
#include "device/models/Dev8948.h"
#include "device/models/Dev901.h"
#include "device/models/DevPad.h"
#include "device/models/DeviceFamily.h"

namespace {
constexpr int kKbIC816 = 2070;
constexpr int kKbIC901 = 2305;
} // namespace

CDevModels CreateDevModels(CGlobalVar& var, CHidLib* pLib, CMacroStore* pMacros) {
    CDevModels m;
    for (const CFamilyInfo& f : Families()) {
        if (!f.pfnConfigured(var))
            continue;
        std::unique_ptr<CHidDev>& pSlot = f.eFamily == FAMILY_MOUSE      ? m.pMs
                                          : f.eFamily == FAMILY_KEYBOARD ? m.pKb
                                                                         : m.pPad;
        pSlot = f.pfnCreate(var, pLib, pMacros);
    }
    return m;
}

// The first switch key decides: the configuration, the udev rule and the simulated devices
// all take a zero there as "no companion keyboard".
bool HasKeySwVk(const CGlobalVar& var) {
    return var.Dev.Ms.KeySwVk[0] != 0;
}

std::unique_ptr<CHidDev> CreateCompanionKb(CGlobalVar& var, CHidLib* pLib, CMacroStore* pMacros) {
    if (!HasKeySwVk(var))
        return nullptr;
    if (var.Dev.Ms.KbIC == kKbIC816)
        return std::make_unique<CDev816>(var, pLib, pMacros);
    if (var.Dev.Ms.KbIC == kKbIC901)
        return std::make_unique<CDev901>(var, pLib, pMacros);
    return nullptr;
}
