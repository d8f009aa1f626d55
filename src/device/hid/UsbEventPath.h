#pragma once
// Device paths for USB arrival and removal events. The program matches paths of the
// Windows form "\\?\USB#VID_xxxx&PID_xxxx#..." against its device patterns; a udev event
// on a hidraw node becomes such a path, built from the ids of the USB device it belongs to.
#include <cstdint>
#include <map>
#include <string>

// What a udev event says about a hidraw node; empty fields were not available (a removed
// node has no parent devices left in sysfs).
struct CUdevRecord {
    std::string strAction;  // "add", "remove", ...
    std::string strSysName; // hidraw3
    std::string strDevPath; // DEVPATH: /devices/.../0003:258A:1007.0005/hidraw/hidraw3
    std::string strUsbVid;  // idVendor of the parent USB device ("258a")
    std::string strUsbPid;  // idProduct
    std::string strHidId;   // HID_ID of the parent HID device ("0003:0000258A:00001007")
};

struct CUsbIds {
    uint16_t wVid = 0;
    uint16_t wPid = 0;
};

// The ids from the USB device, else HID_ID, else the HID device's name in DEVPATH
// ("bus:vid:pid.n"). Only USB devices (bus 3) count; false for others or without ids.
bool UsbIdsOfRecord(const CUdevRecord& rec, CUsbIds& ids);
// "\\?\USB#VID_%04X&PID_%04X#<node>#{a5dcbf10-6530-11d2-901f-00c04fb951ed}".
std::string MakeUsbEventPath(uint16_t wVid, uint16_t wPid, const std::string& strNode);

// Remembers the path of every node seen arriving, so that a removal whose ids cannot be read
// any more still gets the path its arrival had.
class CUsbPathCache {
public:
    // The path for the event, empty when it is none of ours (not USB, no ids, another
    // action). Arrivals are remembered, removals forgotten.
    std::string PathFor(const CUdevRecord& rec);

private:
    std::map<std::string, std::string> m_mapNodes;
};
