#include "device/hid/KbMonitorThread.h"

#include <chrono>

#include "config/Log.h"
#include "device/hid/KbMonitorDevice.h"
#include "platform/WndTarget.h"

int KeySetFromUsage(const CGlobalVar& var, uint32_t v) {
    if (v < 0x3000 || v > 0x30FF)
        return -1;
    const uint8_t byLow = uint8_t(v & 0xFF);
    for (int i = 0; i < 3; ++i) {
        // A zero entry names no key, so it never matches.
        if (var.Dev.Ms.KeySwVk[i] != 0 && var.Dev.Ms.KeySwVk[i] == byLow)
            return i;
    }
    return -1;
}

CKbMonitorThread::CKbMonitorThread(const CGlobalVar& var, CHidLib& lib, CWndTarget& wnd)
    : m_var(var), m_lib(lib), m_wnd(wnd) {}

CKbMonitorThread::~CKbMonitorThread() {
    Stop();
}

bool CKbMonitorThread::Start() {
    if (m_thread.joinable())
        return false;
    {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_bStop = false;
    }
    m_thread = std::thread([this] { Run(); });
    return true;
}

void CKbMonitorThread::Stop() {
    HidHandle h;
    {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_bStop = true;
        h = m_h;
        m_cv.notify_all();
    }
    // The thread reads with its own reference; cancelling makes that read and every later
    // one on this handle return at once.
    if (h)
        h->CancelRead();
    if (m_thread.joinable())
        m_thread.join();
}

void CKbMonitorThread::SetHandle(HidHandle h) {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_h = std::move(h);
    if (m_bStop && m_h)
        m_h->CancelRead();
    m_cv.notify_all();
}

HidHandle CKbMonitorThread::Handle() const {
    std::lock_guard<std::mutex> lock(m_mtx);
    return m_h;
}

void CKbMonitorThread::IdleWait() {
    std::unique_lock<std::mutex> lock(m_mtx);
    m_cv.wait_for(lock, std::chrono::milliseconds(kIdleMs), [this] { return m_bStop || m_h; });
}

void CKbMonitorThread::Run() {
    LogPrint("KbMonitor Thread Start...");
    for (;;) {
        HidHandle h;
        {
            std::unique_lock<std::mutex> lock(m_mtx);
            if (m_bStop)
                break;
            h = m_h;
        }
        if (!h) {
            IdleWait();
            continue;
        }
        uint8_t byBuf[KBMON_REPORT] = {2, 0, 0};
        ++m_nReads;
        int n = m_lib.ReadInputReport(h, byBuf, KBMON_REPORT);
        if (n < 0)
            continue; // cancelled: the stop flag ends the loop
        if (n == 0) {
            // The receiver is gone: its handle fails every read at once. Drop it and wait as
            // while none is open, until an arrival opens the device again.
            LogPrint("KbMonitor read failed, err=%d", HidLastError());
            {
                std::lock_guard<std::mutex> lock(m_mtx);
                if (m_h == h)
                    m_h.reset();
            }
            IdleWait();
            continue;
        }
        LogPrint("Buffer= %x %x, NumberOfBytesRead=%d", byBuf[1], byBuf[2], n);
        const uint32_t v = uint32_t(byBuf[1]) | uint32_t(byBuf[2]) << 8;
        const int nKeySet = KeySetFromUsage(m_var, v);
        if (nKeySet >= 0)
            m_wnd.PostMessage(WM_KEYSET_SWITCH, uintptr_t(nKeySet), 0);
    }
    LogPrint("Thread exit!\n");
}
