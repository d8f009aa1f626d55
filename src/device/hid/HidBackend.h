#pragma once
// A source of HID devices: hidraw on real systems, the simulated devices for tests, demos
// and --simulate. The program chooses one at start; every driver reaches devices only
// through the HID access library (HidLib.h), which sits on the chosen back-end.
#include <cstdint>
#include <string>
#include <vector>

#include "device/hid/HidHandle.h"

struct CHidDeviceEntry {
    // "HID#VID_258A&PID_1007#<node>": the Windows-like form that device patterns are
    // matched against (case-insensitively).
    std::string strPath;
    std::string strNode; // back-end's own name (hidraw node, simulated device name)
    uint16_t wVid = 0;
    uint16_t wPid = 0;
    std::string strProduct;
    std::vector<CHidCollection> vCollections;
};

class IHidBackend {
public:
    virtual ~IHidBackend() = default;
    virtual const char* Name() const = 0;
    virtual std::vector<CHidDeviceEntry> Enumerate() = 0;
    // Opens collection nCollection of the device; null with HidLastError on failure.
    virtual HidHandle Open(const CHidDeviceEntry& dev, size_t nCollection, uint32_t dwAccess) = 0;
};

// The back-end in use; the hidraw back-end unless one was installed. The caller of
// SetHidBackend keeps ownership; nullptr restores hidraw.
IHidBackend& GetHidBackend();
void SetHidBackend(IHidBackend* pBackend);

// "HID#VID_%04X&PID_%04X#node" for an entry.
std::string MakeHidPath(uint16_t wVid, uint16_t wPid, const std::string& strNode);
