#include "device/models/DeviceFamily.h"

#include "device/models/ApplyThread.h"
#include "device/models/Dev816.h"
#include "device/models/Dev8948.h"
#include "device/models/DevPad.h"

namespace {
constexpr int kKbFw816 = 20;
constexpr int kPadFw = 40;

const std::array<CFamilyInfo, FAMILY_COUNT> kFamilies = {{
    // Bit 2 has no meaning for the mouse, but the full request carries it.
    {FAMILY_MOUSE, "mouse", "tc_msg24", "ms.png", APPLY_FULL_MOUSE, 0x800F, 0x000B,
     "0x1 keys, macros, matrices and gun data; 0x2 general data; 0x4 (no effect, part of the "
     "full request); 0x8 pointer settings",
     "MsFw is 0", [](const CGlobalVar& v) { return v.MsFw != 0; },
     [](CGlobalVar& v, CHidLib* pLib, CMacroStore* pMacros) -> std::unique_ptr<CHidDev> {
         return std::make_unique<CDev8948>(v, pLib, pMacros);
     }},
    {FAMILY_KEYBOARD, "keyboard", "tc_msg25", "kb.png", APPLY_FULL_KEYBOARD, 0x8017, 0x0017,
     "0x1 keys, macros and key matrix; 0x2 configuration block and colour table; 0x4 per-key "
     "colours of all groups; 0x10 per-key colours of the current group",
     "KbFw is not 20", [](const CGlobalVar& v) { return v.KbFw == kKbFw816; },
     [](CGlobalVar& v, CHidLib* pLib, CMacroStore* pMacros) -> std::unique_ptr<CHidDev> {
         return std::make_unique<CDev816>(v, pLib, pMacros);
     }},
    // The pad always writes its whole lighting block; any of the full request's bits asks
    // for it.
    {FAMILY_PAD, "pad", "tc_msg1", "pad.png", APPLY_FULL_PAD, 0x8007, 0x0007,
     "0x1, 0x2 or 0x4: the whole lighting block", "PadFw is not 40",
     [](const CGlobalVar& v) { return v.PadFw == kPadFw; },
     [](CGlobalVar& v, CHidLib* pLib, CMacroStore* pMacros) -> std::unique_ptr<CHidDev> {
         return std::make_unique<CDevPad>(v, pLib, pMacros);
     }},
}};
} // namespace

const std::array<CFamilyInfo, FAMILY_COUNT>& Families() {
    return kFamilies;
}

const CFamilyInfo* FamilyInfo(int nFamily) {
    for (const CFamilyInfo& f : kFamilies)
        if (f.eFamily == nFamily)
            return &f;
    return nullptr;
}

const CFamilyInfo* FamilyByName(const std::string& strName) {
    for (const CFamilyInfo& f : kFamilies)
        if (strName == f.pszName)
            return &f;
    return nullptr;
}
