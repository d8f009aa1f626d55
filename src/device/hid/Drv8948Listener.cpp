// ServiceThread: reads the mouse's 8-byte notification reports and forwards them to the
// window as message 2027. The thread lives from Init to Shutdown and idles while no
// notification collection is open, so the mouse may come and go while it runs.
#include <chrono>

#include "config/Log.h"
#include "device/hid/Drv8948.h"
#include "platform/WndTarget.h"

int CDrv8948::Init(CWndTarget* pWnd) {
    CHidDrv::Init(pWnd);
    {
        std::lock_guard<std::mutex> lock(m_mtxWnd);
        m_pWnd = pWnd;
    }
    if (!m_thread.joinable()) {
        m_nStop = 0;
        m_thread = std::thread([this] { ServiceThread(); });
    }
    return 1;
}

int CDrv8948::Shutdown() {
    m_nStop = 1;
    {
        std::lock_guard<std::mutex> lock(m_mtxIdle);
        m_cvIdle.notify_all();
    }
    // A read in progress holds its own reference to the handle; cancelling wakes it.
    if (HidHandle h = Load(m_hNotify))
        h->CancelRead();
    if (m_thread.joinable())
        m_thread.join();
    return 1;
}

void CDrv8948::DetachWindow() {
    std::lock_guard<std::mutex> lock(m_mtxWnd);
    m_pWnd = nullptr;
}

void CDrv8948::IdleWait(int nMs) {
    std::unique_lock<std::mutex> lock(m_mtxIdle);
    m_cvIdle.wait_for(lock, std::chrono::milliseconds(nMs), [this] { return m_nStop != 0; });
}

void CDrv8948::ServiceThread() {
    LogPrint("ServiceThread Start");
    while (m_nStop == 0) {
        IdleWait(20);
        if (m_nStop != 0)
            break;
        HidHandle h = Load(m_hNotify);
        if (!h) {
            IdleWait(100);
            continue;
        }
        uint8_t byBuf[10] = {7};
        int n = m_pLib->ReadInputReport(h, byBuf, MS_NOTIFY_REPORT);
        if (n < 0) {
            LogPrint("hObject[1] is signal");
            continue;
        }
        if (n == 0) {
            // A vanished device fails every read at once; the 20 ms wait above paces it.
            LogPrint("GetLastError=%d\n", HidLastError());
            continue;
        }
        LogPrint("Buffer= %x %x %x %x, NumberOfBytesRead=%d", byBuf[1], byBuf[2], byBuf[4],
                 byBuf[5], n);
        uintptr_t w = uintptr_t(byBuf[1]) | uintptr_t(byBuf[2]) << 8 | uintptr_t(byBuf[4]) << 16 |
                      uintptr_t(byBuf[5]) << 24;
        std::lock_guard<std::mutex> lock(m_mtxWnd);
        if (m_pWnd)
            m_pWnd->PostMessage(WM_MOUSE_NOTIFY, w, 0);
    }
    LogPrint("Thread exit!\n");
}
