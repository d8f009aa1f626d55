#pragma once
// A clock whose sleeps return at once and are counted; time moves only when slept or set.
#include <atomic>
#include <mutex>
#include <vector>

#include "platform/Clock.h"

class CFakeClock : public IClock {
public:
    CFakeClock() { SetClock(this); }
    ~CFakeClock() override { SetClock(nullptr); }
    uint64_t NowMs() override { return m_nNow.load(); }
    LocalTime Now() override {
        std::lock_guard<std::mutex> lock(m_mtx);
        return m_tLocal;
    }
    void SleepMs(uint32_t nMs) override {
        m_nNow += nMs;
        std::lock_guard<std::mutex> lock(m_mtx);
        m_vSleeps.push_back(nMs);
    }
    void SetLocal(const LocalTime& t) {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_tLocal = t;
    }
    std::vector<uint32_t> Sleeps() {
        std::lock_guard<std::mutex> lock(m_mtx);
        return m_vSleeps;
    }
    std::atomic<uint64_t> m_nNow{1000};

private:
    std::mutex m_mtx;
    LocalTime m_tLocal{2026, 12, 10, 12, 34, 56, 789};
    std::vector<uint32_t> m_vSleeps;
};
