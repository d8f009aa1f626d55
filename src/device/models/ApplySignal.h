#pragma once
// What an apply thread waits on: a counting semaphore released once per request (at most
// 100 pending) and an auto-reset exit event. Both live under one lock so a single wait can
// take whichever comes; the exit event wins when both are signalled, so shutdown never
// waits behind queued applies.
#include <condition_variable>
#include <mutex>

class CApplySignal {
public:
    static constexpr int kMaxCount = 100;
    enum class EWake { Request, Exit };

    // False when the count is already at its maximum (the request is not counted).
    bool Release();
    void SetExit();
    // Waits without time limit; takes one count or resets the exit event.
    EWake Wait();
    int Count() const;

private:
    mutable std::mutex m_mtx;
    std::condition_variable m_cv;
    int m_nCount = 0;
    bool m_bExit = false;
};
