#include "device/hid/HidTrace.h"

#include <atomic>

namespace {
std::atomic<IHidTraceSink*> s_pSink{nullptr};
}

void SetHidTraceSink(IHidTraceSink* pSink) {
    s_pSink.store(pSink);
}
IHidTraceSink* GetHidTraceSink() {
    return s_pSink.load();
}

std::string HexBytes(const uint8_t* p, size_t n) {
    static const char kHex[] = "0123456789abcdef";
    std::string s;
    s.reserve(n * 2);
    for (size_t i = 0; i < n; ++i) {
        s += kHex[p[i] >> 4];
        s += kHex[p[i] & 15];
    }
    return s;
}
