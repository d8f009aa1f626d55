#pragma once
// KbMonitor thread: reads the receiver's 3-byte consumer reports (id 2), through which a
// companion keyboard reports its key-set switch keys, and posts the chosen key set to the
// window as message 1435. It only reads configuration ([MS] KeySwVk); the profile is
// changed by the window when the message arrives, so no profile is touched off the
// user-interface thread.
//
// The monitor handle is set by the window thread (SetHandle) and read by the thread under
// one lock. A receiver that is unplugged fails every read at once: the thread then drops
// the handle and waits as while none is open, until the window opens it again on the next
// arrival. Stop wakes a pending read (CancelRead) or the idle wait and joins.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "config/GlobalVar.h"
#include "device/hid/HidLib.h"
#include "platform/WndMessageIds.h"

class CWndTarget;


// The key set that a consumer usage v selects: v in 0x3000..0x30FF whose low byte is the
// first, second or third [MS] KeySwVk value gives 0, 1 or 2; -1 otherwise.
int KeySetFromUsage(const CGlobalVar& var, uint32_t v);

class CKbMonitorThread {
public:
    // Reads through lib (the mouse driver's library); posts to pWnd. Both outlive Stop.
    CKbMonitorThread(const CGlobalVar& var, CHidLib& lib, CWndTarget& wnd);
    ~CKbMonitorThread(); // Stop
    CKbMonitorThread(const CKbMonitorThread&) = delete;
    CKbMonitorThread& operator=(const CKbMonitorThread&) = delete;

    bool Start(); // false when it already runs
    void Stop();
    bool Running() const { return m_thread.joinable(); }

    void SetHandle(HidHandle h);
    HidHandle Handle() const;

    // Reads started so far (tests check that a dead handle does not make it spin).
    int Reads() const { return m_nReads.load(); }

    // Pause while no handle is open.
    static constexpr int kIdleMs = 100;

private:
    void Run();
    void IdleWait();

    const CGlobalVar& m_var;
    CHidLib& m_lib;
    CWndTarget& m_wnd;
    mutable std::mutex m_mtx;
    std::condition_variable m_cv;
    HidHandle m_h;
    bool m_bStop = false;
    std::atomic<int> m_nReads{0};
    std::thread m_thread;
};
