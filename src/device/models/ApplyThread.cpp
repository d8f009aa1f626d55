#include "device/models/ApplyThread.h"

#include <algorithm>
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

CApplyThread::CApplyThread(CGlobalVar& var, IProgressFinder* pFinder)
    : m_var(var), m_pFinder(pFinder) {}

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

bool CApplyThread::Request(int nFlag, std::unique_ptr<CApplySnapshot> pSnap, IProgressSink* pSink) {
    std::lock_guard<std::mutex> lock(m_mtxPending);
    // The thread reads the request only under this lock, so it never sees the wake-up
    // without the request that goes with it.
    if (!m_req.Signal.Release())
        return false;
    // A request no wake-up has applied yet is overwritten unseen: its progress window
    // would wait for ever, so its sink is closed when the next request ends.
    std::vector<IProgressSink*>& vOld = m_pending.vSuperseded;
    IProgressSink* pOld = m_pending.pSink;
    if (!m_pending.bTaken && pOld && pOld != pSink &&
        std::find(vOld.begin(), vOld.end(), pOld) == vOld.end())
        vOld.push_back(pOld);
    std::erase(vOld, pSink);
    m_pending.nFlag = nFlag;
    m_pending.pSnap = std::move(pSnap);
    m_pending.pSink = pSink;
    m_pending.bTaken = false;
    m_req.nFlag.store(nFlag);
    return true;
}

int CApplyThread::Handled() const {
    std::lock_guard<std::mutex> lock(m_mtxDone);
    return m_nHandled;
}

std::optional<CApplyOutcome> CApplyThread::LastOutcome() const {
    std::lock_guard<std::mutex> lock(m_mtxDone);
    return m_lastOutcome;
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
    CPending req;
    {
        std::lock_guard<std::mutex> lock(m_mtxPending);
        req.nFlag = m_pending.nFlag;
        req.pSnap = m_pending.pSnap; // a wake-up still to come applies the same request
        req.pSink = m_pending.pSink;
        req.vSuperseded.swap(m_pending.vSuperseded);
        m_pending.bTaken = true;
    }
    std::erase(req.vSuperseded, req.pSink);

    CHidDev* pDev = m_req.pDev;
    HidHandle hDev = pDev->GetHandle();
    const int nFlag = req.nFlag;
    IProgressSink* pWnd = req.pSink ? req.pSink : FindProgress(nFlag);
    LogPrint("Start Apply: hDevice=0x%x, nFlag=0x%x, hWnd=0x%x, bGoNoDev=%x", HandleId(hDev),
             unsigned(nFlag), unsigned(uintptr_t(pWnd)), unsigned(m_var.GoWithNoDev));
    CApplyOutcome outcome;
    outcome.nFlag = nFlag;
    if (!hDev && m_var.GoWithNoDev == 0) {
        if (pWnd)
            pWnd->Close();
        for (IProgressSink* p : req.vSuperseded)
            p->Close();
        outcome.bDropped = true;
        m_nLastResult = 0;
        Deliver(std::move(outcome));
        return;
    }
    hDev.reset(); // the driver keeps its own reference while operations run

    m_req.bBusy = 1;
    int nResult = 0;
    CCollectingMessageSink boxes;
    {
        // Boxes raised on this thread from here on belong to the outcome.
        CThreadMessageBoxScope scope(boxes);
        if (req.pSnap) {
            req.pSnap->Pointer().clear();
            nResult = pDev->ApplySetting(*req.pSnap, pWnd, m_req.nMsg, nFlag);
            outcome.vPointer = req.pSnap->Pointer();
        } else {
            LogPrint("Start Apply: no current profile");
        }
        pDev->SetReset(0);
        if (!nResult)
            PlatformMessageBox("Error", APPLY_FAILED_TEXT);
    }
    outcome.nResult = nResult;
    outcome.vMessages = std::move(boxes.m_vEntries);
    CloseSinks(pWnd, req.vSuperseded);
    if (m_req.bBusy.exchange(0))
        LogPrint("Apply Over");
    m_nLastResult = nResult;
    Deliver(std::move(outcome));
}

void CApplyThread::CloseSinks(IProgressSink* pWnd, const std::vector<IProgressSink*>& vOther) {
    if (!pWnd && vOther.empty())
        return;
    for (int nRound = 0; nRound < 2; ++nRound) {
        if (nRound == 1)
            SleepMs(kClosePauseMs);
        if (pWnd)
            pWnd->Close();
        for (IProgressSink* p : vOther)
            p->Close();
    }
}

void CApplyThread::Deliver(CApplyOutcome outcome) {
    {
        std::lock_guard<std::mutex> lock(m_mtxDone);
        m_lastOutcome = outcome;
    }
    if (m_pListener) {
        m_pListener->OnApplyDone(std::move(outcome));
    } else {
        // Nobody shows them: the log keeps what the user would have been told.
        for (const CCollectingMessageSink::Entry& e : outcome.vMessages)
            LogPrint("Apply box not shown (no listener): %s: %s", e.strTitle.c_str(),
                     e.strText.c_str());
    }
    {
        std::lock_guard<std::mutex> lock(m_mtxDone);
        ++m_nHandled;
    }
    m_cvDone.notify_all();
}
