#pragma once
// The simulated back-end: the devices attached to it appear in enumeration as long as
// they are present, with the collections of their report descriptors.
#include <mutex>
#include <vector>

#include "device/hid/HidBackend.h"
#include "device/sim/SimDevice.h"

class CSimBackend : public IHidBackend {
public:
    const char* Name() const override { return "sim"; }
    std::vector<CHidDeviceEntry> Enumerate() override;
    HidHandle Open(const CHidDeviceEntry& dev, size_t nCollection, uint32_t dwAccess) override;

    void Attach(SimDevicePtr pDev);
    void DetachAll();
    std::vector<SimDevicePtr> Devices() const;
    // The first attached device of that name, or null.
    SimDevicePtr Find(const std::string& strName) const;

private:
    mutable std::mutex m_mtx;
    std::vector<SimDevicePtr> m_vDevices;
};
