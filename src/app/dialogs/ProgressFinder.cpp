#include "app/dialogs/ProgressFinder.h"

#include <cstring>

#include "app/dialogs/ProgressDlg.h"

CProgressFinder::CProgressFinder() : m_sink(*this) {}

CProgressFinder::~CProgressFinder() = default;

IProgressSink* CProgressFinder::Find(const char* pszTitle) {
    if (!pszTitle || std::strcmp(pszTitle, CProgressDlg::kWindowTitle) != 0)
        return nullptr;
    std::lock_guard<std::mutex> lock(m_mtx);
    const std::thread::id id = std::this_thread::get_id();
    if (!m_pShown) {
        // Whatever this thread found before is over: its later calls must not reach it.
        m_mapBound.erase(id);
        return nullptr;
    }
    m_mapBound[id] = m_pShown;
    return &m_sink;
}

void CProgressFinder::Publish(const std::shared_ptr<CProgressLink>& pLink) {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_pShown = pLink;
}

void CProgressFinder::Withdraw(const std::shared_ptr<CProgressLink>& pLink) {
    std::lock_guard<std::mutex> lock(m_mtx);
    if (m_pShown == pLink)
        m_pShown.reset();
}

bool CProgressFinder::HasShown() const {
    std::lock_guard<std::mutex> lock(m_mtx);
    return m_pShown != nullptr;
}

std::shared_ptr<CProgressLink> CProgressFinder::BoundLink() {
    std::lock_guard<std::mutex> lock(m_mtx);
    auto it = m_mapBound.find(std::this_thread::get_id());
    return it == m_mapBound.end() ? nullptr : it->second;
}

void CProgressFinder::CSink::PostMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam) {
    std::shared_ptr<CProgressLink> pLink = m_owner.BoundLink();
    if (!pLink)
        return;
    QMetaObject::invokeMethod(
        &m_owner.m_context,
        [pLink, nMsg, wParam, lParam] {
            if (CProgressDlg* pDlg = pLink->pDlg.data())
                pDlg->OnProgressMessage(nMsg, wParam, lParam);
        },
        Qt::QueuedConnection);
}

void CProgressFinder::CSink::Close() {
    std::shared_ptr<CProgressLink> pLink = m_owner.BoundLink();
    if (!pLink)
        return;
    QMetaObject::invokeMethod(
        &m_owner.m_context,
        [pLink] {
            if (CProgressDlg* pDlg = pLink->pDlg.data())
                pDlg->OnCloseRequest();
        },
        Qt::QueuedConnection);
}
