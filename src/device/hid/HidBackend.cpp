#include "device/hid/HidBackend.h"

#include <atomic>
#include <cstdio>

#include "device/hid/HidrawBackend.h"

namespace {
std::atomic<IHidBackend*> s_pBackend{nullptr};
}

IHidBackend& GetHidBackend() {
    IHidBackend* p = s_pBackend.load();
    if (p)
        return *p;
    static CHidrawBackend s_hidraw(LinuxSysCalls());
    return s_hidraw;
}

void SetHidBackend(IHidBackend* pBackend) {
    s_pBackend.store(pBackend);
}

std::string MakeHidPath(uint16_t wVid, uint16_t wPid, const std::string& strNode) {
    char sz[40];
    std::snprintf(sz, sizeof sz, "HID#VID_%04X&PID_%04X#", wVid, wPid);
    return sz + strNode;
}
