#pragma once
// HID devices through Linux hidraw nodes. Each node is one USB interface; its report
// descriptor is split into top-level collections, and a handle opened on a collection
// reads only that collection's input reports.
#include "device/hid/HidBackend.h"
#include "device/hid/SysCalls.h"

class CHidrawBackend : public IHidBackend {
public:
    explicit CHidrawBackend(ISysCalls& sys) : m_sys(sys) {}
    const char* Name() const override { return "hidraw"; }
    std::vector<CHidDeviceEntry> Enumerate() override;
    HidHandle Open(const CHidDeviceEntry& dev, size_t nCollection, uint32_t dwAccess) override;

    // A node that refuses with EACCES is tried this often, kOpenRetryMs apart: the access
    // rule of a just-plugged device may be applied a moment after the node appears.
    static constexpr int kOpenTries = 10;
    static constexpr int kOpenRetryMs = 100;

private:
    bool ReadDescriptor(const CHidrawNodeInfo& info, std::vector<uint8_t>& vDesc);
    ISysCalls& m_sys;
};
