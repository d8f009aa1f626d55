#pragma once
// What the model tests share beyond the driver fixture: a progress sink that records what
// it is told, in order.
#include <mutex>
#include <string>
#include <vector>

#include "device/hid/DrvFixture.h"
#include "device/models/ProgressSink.h"

class CRecordingSink : public IProgressSink {
public:
    void PostMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam) override {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_vEvents.push_back(std::to_string(nMsg) + ":" + std::to_string(wParam) + ":" +
                            std::to_string(lParam));
    }
    void Close() override {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_vEvents.push_back("close");
    }
    std::vector<std::string> Events() {
        std::lock_guard<std::mutex> lock(m_mtx);
        return m_vEvents;
    }

private:
    std::mutex m_mtx;
    std::vector<std::string> m_vEvents;
};

using Bytes = std::vector<uint8_t>;

// A report of nLen bytes from its leading bytes, the rest zero.
inline Bytes Padded(size_t nLen, std::initializer_list<uint8_t> il) {
    Bytes v(il);
    v.resize(nLen, 0);
    return v;
}
