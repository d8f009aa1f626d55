#include "device/hid/UdevRules.h"

#include <algorithm>
#include <cstdio>

#include "device/hid/KbMonitorDevice.h"

std::vector<UsbId> ConfiguredUsbIds(const CGlobalVar& var) {
    std::vector<UsbId> v;
    auto add = [&](int nVid, int nPid) {
        UsbId id{uint16_t(nVid), uint16_t(nPid)};
        if (id.second != 0 && std::find(v.begin(), v.end(), id) == v.end())
            v.push_back(id);
    };
    const MouseDesc& ms = var.Dev.Ms;
    if (var.MsFw != 0) {
        add(ms.VID, ms.PID);
        add(ms.VID, 0x1007);
        add(ms.VID, 0x0028);
        if (ms.KeySwVk[0] != 0) {
            add(var.Dev.Kb.VID, var.Dev.Kb.PID);
            add(KBMON_VID, KBMON_PID);
            add(KBMON_VID, KBMON_PID_ALT);
        }
    }
    if (var.KbFw == 20)
        add(var.Dev.Kb.VID, var.Dev.Kb.PID);
    if (var.PadFw == 40)
        add(var.Dev.Pad.VID, var.Dev.Pad.PID);
    return v;
}

std::string MakeUdevRules(const std::vector<UsbId>& vIds) {
    std::string s = "# Lets the user at the seat open the HID interfaces of these devices.\n"
                    "# The file must sort before 73-seat-late.rules, which applies uaccess.\n";
    for (const UsbId& id : vIds) {
        char sz[160];
        std::snprintf(sz, sizeof sz,
                      "ACTION==\"add|change\", SUBSYSTEM==\"hidraw\", ATTRS{idVendor}==\"%04x\", "
                      "ATTRS{idProduct}==\"%04x\", TAG+=\"uaccess\"\n",
                      id.first, id.second);
        s += sz;
    }
    return s;
}
