#pragma once
// What the model tests share beyond the driver fixture: a progress sink that records what
// it is told, in order, and a listener that keeps the apply outcomes.
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/hid/DrvFixture.h"
#include "device/models/ApplyOutcome.h"
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

// Keeps every outcome with the thread it arrived on.
class CRecordingListener : public IApplyListener {
public:
    void OnApplyDone(CApplyOutcome outcome) override {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_vOutcomes.push_back(std::move(outcome));
        m_vThreads.push_back(std::this_thread::get_id());
    }
    std::vector<CApplyOutcome> Outcomes() {
        std::lock_guard<std::mutex> lock(m_mtx);
        return m_vOutcomes;
    }
    std::vector<std::thread::id> Threads() {
        std::lock_guard<std::mutex> lock(m_mtx);
        return m_vThreads;
    }

private:
    std::mutex m_mtx;
    std::vector<CApplyOutcome> m_vOutcomes;
    std::vector<std::thread::id> m_vThreads;
};

// "Title: text" of each collected box, as the driver fixture's BoxTexts shows them.
inline std::vector<std::string> MessageTexts(const CApplyOutcome& outcome) {
    std::vector<std::string> v;
    for (const auto& e : outcome.vMessages)
        v.push_back(e.strTitle + ": " + e.strText);
    return v;
}

using Bytes = std::vector<uint8_t>;

// A report of nLen bytes from its leading bytes, the rest zero.
inline Bytes Padded(size_t nLen, std::initializer_list<uint8_t> il) {
    Bytes v(il);
    v.resize(nLen, 0);
    return v;
}
