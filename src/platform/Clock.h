#pragma once
// The clock and sleeps go through this seam so tests and benchmarks run without real waits
// and can count them.
#include <cstdint>

struct LocalTime {
    int nYear, nMonth, nDay, nHour, nMinute, nSecond, nMilli;
};

class IClock {
public:
    virtual ~IClock() = default;
    virtual uint64_t NowMs() = 0; // monotonic milliseconds
    virtual LocalTime Now() = 0;  // local wall time
    virtual void SleepMs(uint32_t nMs) = 0;
};

IClock& GetClock();
// Installs a clock (nullptr restores the real one). The caller keeps ownership.
void SetClock(IClock* pClock);
inline void SleepMs(uint32_t nMs) {
    GetClock().SleepMs(nMs);
}
