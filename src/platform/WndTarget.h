#pragma once
// Core code posts window messages (progress, device notifications) through this seam so it
// needs no Qt; the GUI implements it with QCoreApplication::postEvent.
#include <cstdint>

class CWndTarget {
public:
    virtual ~CWndTarget() = default;
    virtual void PostMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam) = 0;
};
