#include "device/models/ApplyThread.h"

#include <chrono>
#include <memory>

#include "config/Log.h"
#include "device/hid/HidHandle.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"

namespace {
constexpr int kFindTries = 20;
constexpr uint32_t kFindPauseMs = 50;
constexpr uint32_t kClosePauseMs = 20;
} // namespace

CApplyThread::CApplyThread(CGlobalVar& var, IProfileSource& source, IProgressFinder* pFinder)
    : m_var(var), m_source(source), m_pFinder(pFinder) {}

CApplyThread::~CApplyThread() {
    Stop();
}

bool CApplyThread::Start(CHidDev* pDev) {
    if (!pDev || m_thread.joinable())
        return false;
    m_req.pDev = pDev;
    m_req.szTitle = APPLY_PROGRESS_TITLE;
    m_req.nMsg = APPLY_PROGRESS_MSG;
    m_req.nFlag = 0;
    m_req.bBusy = 0;
    m_thread = std::thread(&CApplyThread::Run, this);
    return true;
}

void CApplyThread::Stop() {
    if (!m_thread.joinable())
        return;
    m_req.Signal.SetExit();
    m_thread.join();
}

bool CApplyThread::Request(int nFlag) {
    m_req.nFlag.store(nFlag);
    return m_req.Signal.Release();
}

int CApplyThread::Handled() const {
    std::lock_guard<std::mutex> lock(m_mtxDone);
    return m_nHandled;
}

bool CApplyThread::WaitHandled(int nCount, int nTimeoutMs) {
    std::unique_lock<std::mutex> lock(m_mtxDone);
    return m_cvDone.wait_for(lock, std::chrono::milliseconds(nTimeoutMs),
                             [&] { return m_nHandled >= nCount; });
}

void CApplyThread::Run() {
    LogPrint("ApplyThread Start");
    while (m_req.Signal.Wait() == CApplySignal::EWake::Request)
        HandleRequest();
    LogPrint("thread exit");
}

IProgressSink* CApplyThread::FindProgress(int nFlag) {
    if (!(nFlag & APPLY_FLAG_PROGRESS) || !m_pFinder)
        return nullptr;
    for (int i = 0; i < kFindTries; ++i) {
        SleepMs(kFindPauseMs);
        if (IProgressSink* p = m_pFinder->Find(m_req.szTitle.c_str()))
            return p;
    }
    return nullptr;
}

void CApplyThread::HandleRequest() {
    CHidDev* pDev = m_req.pDev;
    HidHandle hDev = pDev->GetHandle();
    const int nFlag = m_req.nFlag.load();
    IProgressSink* pWnd = FindProgress(nFlag);
    LogPrint("Start Apply: hDevice=0x%x, nFlag=0x%x, hWnd=0x%x, bGoNoDev=%x", HandleId(hDev),
             unsigned(nFlag), unsigned(uintptr_t(pWnd)), unsigned(m_var.GoWithNoDev));
    if (!hDev && m_var.GoWithNoDev == 0) {
        if (pWnd)
            pWnd->Close();
        Finish(nullptr, 0);
        return;
    }
    hDev.reset(); // the driver keeps its own reference while operations run

    m_req.bBusy = 1;
    auto pSnap = std::make_unique<Profile>();
    int nResult = 0;
    if (m_source.Snapshot(*pSnap))
        nResult = pDev->ApplySetting(*pSnap, pWnd, m_req.nMsg, nFlag);
    else
        LogPrint("Start Apply: no current profile");
    pDev->SetReset(0);
    if (!nResult)
        PlatformMessageBox("Error", "   Update settings failed!      ");
    Finish(pWnd, nResult);
}

void CApplyThread::Finish(IProgressSink* pWnd, int nResult) {
    if (pWnd) {
        pWnd->Close();
        SleepMs(kClosePauseMs);
        pWnd->Close();
    }
    if (m_req.bBusy.exchange(0))
        LogPrint("Apply Over");
    m_nLastResult = nResult;
    {
        std::lock_guard<std::mutex> lock(m_mtxDone);
        ++m_nHandled;
    }
    m_cvDone.notify_all();
}
