#pragma once
// Every report exchanged through the HID access library can be handed to a trace sink
// (velkinctl --trace writes them as JSON lines).
#include <cstdint>
#include <string>
#include <vector>

struct CHidTraceRecord {
    std::string strDevice;    // device path
    int nCollection = 0;      // index of the top-level collection on the device
    const char* pszDirection; // "out" (to the device) or "in"
    const char* pszOperation; // "SetFeature", "GetFeature", "ReadInput"
    std::vector<uint8_t> vBytes;
    int nResult = 0;
};

class IHidTraceSink {
public:
    virtual ~IHidTraceSink() = default;
    virtual void OnReport(const CHidTraceRecord& rec) = 0;
};

// nullptr switches tracing off. The caller keeps ownership; the sink may be called from
// any thread that uses a device.
void SetHidTraceSink(IHidTraceSink* pSink);
IHidTraceSink* GetHidTraceSink();
std::string HexBytes(const uint8_t* p, size_t n);
