#pragma once
// Which device models exist for the installation's configuration. The main window makes
// them once at start-up; the companion keyboard of a mouse when it looks for devices.
#include <memory>

#include "device/models/HidDev.h"

class CHidLib;

struct CDevModels {
    std::unique_ptr<CHidDev> pMs;  // [OPT] MsFw not 0: 8948
    std::unique_ptr<CHidDev> pKb;  // [OPT] KbFw 20: 816
    std::unique_ptr<CHidDev> pPad; // [OPT] PadFw 40: pad
};

CDevModels CreateDevModels(CGlobalVar& var, CHidLib* pLib = nullptr,
                           CMacroStore* pMacros = nullptr);
// With [MS] KeySwVk configured: an 816 for [MS] KbIC 2070, a 901 for 2305, else null.
std::unique_ptr<CHidDev> CreateCompanionKb(CGlobalVar& var, CHidLib* pLib = nullptr,
                                           CMacroStore* pMacros = nullptr);
bool HasKeySwVk(const CGlobalVar& var);
