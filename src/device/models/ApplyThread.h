#pragma once
// One apply thread per device kind (keyboard, mouse, pad). It sleeps until a request
// arrives, then writes a copy of the current profile with the kind's model and drives the
// progress window. Requests store the flags and release the semaphore once; a later
// request before the thread has woken overwrites the flags, so both wake-ups apply with
// the later ones. An apply in progress cannot be cancelled; Stop waits for it.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "config/GlobalVar.h"
#include "device/models/ApplySignal.h"
#include "device/models/HidDev.h"
#include "device/models/ProfileSource.h"
#include "device/models/ProgressSink.h"

// Flags of the full requests of the main window's Apply and Reset buttons.
inline constexpr int APPLY_FULL_MOUSE = 0x800F;
inline constexpr int APPLY_FULL_KEYBOARD = 0x8007;
inline constexpr int APPLY_FULL_PAD = 0x8007;

struct ApplyRequest {
    std::string szTitle; // title of the progress window the thread looks for
    CHidDev* pDev = nullptr;
    CApplySignal Signal; // request semaphore (maximum 100) and exit event
    std::atomic<int> nFlag{0};
    uint32_t nMsg = 0; // progress message number
    std::atomic<int> bBusy{0};
};

class CApplyThread {
public:
    // pFinder may be null (no progress window ever). The sources must outlive the thread.
    CApplyThread(CGlobalVar& var, IProfileSource& source, IProgressFinder* pFinder);
    ~CApplyThread(); // stops and joins
    CApplyThread(const CApplyThread&) = delete;
    CApplyThread& operator=(const CApplyThread&) = delete;

    // Starts the thread for the model; false when it already runs or pDev is null.
    bool Start(CHidDev* pDev);
    // Signals the exit event and joins; an apply in progress ends first.
    void Stop();
    bool Running() const { return m_thread.joinable(); }

    // Stores the flags and wakes the thread. False when 100 requests are already pending.
    bool Request(int nFlag);
    bool Busy() const { return m_req.bBusy.load() != 0; }

    // Wake-ups handled so far (applied or dropped) and the result of the last apply
    // (-1 before any, 0 failed or dropped, 1 success). For the CLI and tests.
    int Handled() const;
    int LastResult() const { return m_nLastResult.load(); }
    // Waits in real time until at least nCount wake-ups are handled; false on timeout.
    bool WaitHandled(int nCount, int nTimeoutMs);

    const ApplyRequest& Req() const { return m_req; }

private:
    void Run();
    void HandleRequest();
    IProgressSink* FindProgress(int nFlag);
    void Finish(IProgressSink* pWnd, int nResult);

    CGlobalVar& m_var;
    IProfileSource& m_source;
    IProgressFinder* m_pFinder;
    ApplyRequest m_req;
    std::thread m_thread;
    std::atomic<int> m_nLastResult{-1};
    mutable std::mutex m_mtxDone;
    std::condition_variable m_cvDone;
    int m_nHandled = 0;
};
