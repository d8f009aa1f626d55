#include "platform/Clock.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

namespace {
class CRealClock : public IClock {
public:
    uint64_t NowMs() override {
        using namespace std::chrono;
        return static_cast<uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    LocalTime Now() override {
        timespec ts;
        clock_gettime(CLOCK_REALTIME, &ts);
        tm t;
        localtime_r(&ts.tv_sec, &t);
        return LocalTime{t.tm_year + 1900,
                         t.tm_mon + 1,
                         t.tm_mday,
                         t.tm_hour,
                         t.tm_min,
                         t.tm_sec,
                         static_cast<int>(ts.tv_nsec / 1000000)};
    }
    void SleepMs(uint32_t nMs) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(nMs));
    }
};
CRealClock g_realClock;
std::atomic<IClock*> g_pClock{&g_realClock};
} // namespace

IClock& GetClock() {
    return *g_pClock.load();
}
void SetClock(IClock* pClock) {
    g_pClock.store(pClock ? pClock : &g_realClock);
}
