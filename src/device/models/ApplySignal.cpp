#include "device/models/ApplySignal.h"

bool CApplySignal::Release() {
    {
        std::lock_guard<std::mutex> lock(m_mtx);
        if (m_nCount >= kMaxCount)
            return false;
        ++m_nCount;
    }
    m_cv.notify_one();
    return true;
}

void CApplySignal::SetExit() {
    {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_bExit = true;
    }
    m_cv.notify_one();
}

CApplySignal::EWake CApplySignal::Wait() {
    std::unique_lock<std::mutex> lock(m_mtx);
    m_cv.wait(lock, [this] { return m_bExit || m_nCount > 0; });
    if (m_bExit) {
        m_bExit = false;
        return EWake::Exit;
    }
    --m_nCount;
    return EWake::Request;
}

int CApplySignal::Count() const {
    std::lock_guard<std::mutex> lock(m_mtx);
    return m_nCount;
}
