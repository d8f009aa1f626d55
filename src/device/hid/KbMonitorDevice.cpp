#include "device/hid/KbMonitorDevice.h"

#include "device/hid/HidDrv.h"

HidHandle OpenKbMonitorDevice(CHidLib& lib) {
    for (uint16_t wPid : {KBMON_PID, KBMON_PID_ALT}) {
        std::string strPattern = MakeDevPattern(KBMON_VID, wPid, false);
        HidHandle h = lib.OpenHidDevice(0x0C, 1, strPattern.c_str(), InputLenFilter(KBMON_REPORT),
                                        0, 0, 0, kHidAccessReadWrite, kHidFlagOverlapped, nullptr);
        if (h)
            return h;
    }
    return nullptr;
}
