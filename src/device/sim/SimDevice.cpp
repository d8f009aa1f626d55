#include "device/sim/SimDevice.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "config/Log.h"

namespace {

bool FeatureIdOwned(const CHidCollection& col, uint8_t byId) {
    if (!col.bUsesIds)
        return byId == 0;
    return std::binary_search(col.vReportIds.begin(), col.vReportIds.end(), byId);
}

} // namespace

CSimDevice::CSimDevice(std::string strName, uint16_t wVid, uint16_t wPid, std::string strProduct,
                       std::vector<uint8_t> vDescriptor)
    : m_strName(std::move(strName)), m_wVid(wVid), m_wPid(wPid),
      m_strProduct(std::move(strProduct)), m_vDescriptor(std::move(vDescriptor)) {
    CReportDescriptor rd = ParseReportDescriptor(m_vDescriptor.data(), m_vDescriptor.size());
    if (!rd.bOk)
        throw std::logic_error("simulated device with a bad descriptor: " + rd.strError);
    m_vCollections = std::move(rd.vCollections);
}

void CSimDevice::FailNext(int nTransfers, int nSkip) {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_nFailNext = std::max(0, nTransfers);
    m_nFailSkip = std::max(0, nSkip);
}

void CSimDevice::Vanish() {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_bPresent = false;
    m_cv.notify_all();
}

void CSimDevice::Return() {
    std::lock_guard<std::mutex> lock(m_mtx);
    if (!m_bPresent) {
        m_bPresent = true;
        ++m_nGen;
    }
}

bool CSimDevice::IsPresent() const {
    std::lock_guard<std::mutex> lock(m_mtx);
    return m_bPresent;
}

uint32_t CSimDevice::Generation() const {
    std::lock_guard<std::mutex> lock(m_mtx);
    return m_nGen;
}

std::vector<CSimTraceEntry> CSimDevice::Trace() const {
    std::lock_guard<std::mutex> lock(m_mtx);
    return m_vTrace;
}

void CSimDevice::ClearTrace() {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_vTrace.clear();
}

void CSimDevice::TraceLocked(int nCol, const char* pszDir, const char* pszOp, const uint8_t* p,
                             size_t n, int nResult) {
    // Long sessions (demos) must not grow without bound.
    if (m_vTrace.size() >= 20000)
        m_vTrace.erase(m_vTrace.begin(), m_vTrace.begin() + 10000);
    CSimTraceEntry e;
    e.nCollection = nCol;
    e.strDirection = pszDir;
    e.strOperation = pszOp;
    if (p)
        e.vBytes.assign(p, p + n);
    e.nResult = nResult;
    m_vTrace.push_back(std::move(e));
}

bool CSimDevice::CheckTransfer(int nCol, uint32_t nGen, const uint8_t* pBuf, size_t nLen, bool bSet,
                               int* pErr) {
    const char* pszOp = bSet ? "SetFeature" : "GetFeature";
    const char* pszDir = bSet ? "out" : "in";
    if (!m_bPresent || nGen != m_nGen) {
        *pErr = ENODEV;
        TraceLocked(nCol, pszDir, pszOp, bSet ? pBuf : nullptr, bSet ? nLen : 0, 0);
        return false;
    }
    const CHidCollection& col = m_vCollections[size_t(nCol)];
    if (col.nFeatureLen == 0 || nLen == 0 || !FeatureIdOwned(col, pBuf[0])) {
        *pErr = EINVAL;
        TraceLocked(nCol, pszDir, pszOp, bSet ? pBuf : nullptr, bSet ? nLen : 0, 0);
        return false;
    }
    if (m_nFailSkip > 0) {
        --m_nFailSkip;
    } else if (m_nFailNext > 0) {
        --m_nFailNext;
        *pErr = EIO;
        TraceLocked(nCol, pszDir, pszOp, bSet ? pBuf : nullptr, bSet ? nLen : 0, 0);
        return false;
    }
    return true;
}

int CSimDevice::SetFeature(int nCol, uint32_t nGen, const uint8_t* pBuf, size_t nLen, int* pErr) {
    std::lock_guard<std::mutex> lock(m_mtx);
    if (!CheckTransfer(nCol, nGen, pBuf, nLen, true, pErr))
        return 0;
    bool bOk = OnSetFeature(nCol, pBuf, nLen);
    TraceLocked(nCol, "out", "SetFeature", pBuf, nLen, bOk ? 1 : 0);
    if (!bOk)
        *pErr = EPIPE;
    return bOk ? 1 : 0;
}

int CSimDevice::GetFeature(int nCol, uint32_t nGen, uint8_t* pBuf, size_t nLen, int* pErr) {
    std::lock_guard<std::mutex> lock(m_mtx);
    if (!CheckTransfer(nCol, nGen, pBuf, nLen, false, pErr))
        return 0;
    uint8_t byId = pBuf[0];
    std::memset(pBuf, 0, nLen);
    pBuf[0] = byId;
    bool bOk = OnGetFeature(nCol, pBuf, nLen);
    TraceLocked(nCol, "in", "GetFeature", pBuf, nLen, bOk ? 1 : 0);
    if (!bOk)
        *pErr = EPIPE;
    return bOk ? 1 : 0;
}

std::shared_ptr<CSimDevice::CReader> CSimDevice::AddReader(int nCol, uint32_t nGen) {
    auto p = std::make_shared<CReader>();
    p->nCol = nCol;
    p->nGen = nGen;
    std::lock_guard<std::mutex> lock(m_mtx);
    m_lReaders.push_back(p);
    return p;
}

void CSimDevice::RemoveReader(const std::shared_ptr<CReader>& pReader) {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_lReaders.remove(pReader);
}

int CSimDevice::Read(CReader& reader, uint8_t* pBuf, size_t nLen, int* pErr) {
    std::unique_lock<std::mutex> lock(m_mtx);
    m_cv.wait(lock, [&] {
        return reader.bCancelled || !reader.q.empty() || !m_bPresent || reader.nGen != m_nGen;
    });
    if (reader.bCancelled)
        return -1;
    if (!reader.q.empty()) {
        std::vector<uint8_t> v = std::move(reader.q.front());
        reader.q.pop_front();
        size_t n = std::min(nLen, v.size());
        std::memcpy(pBuf, v.data(), n);
        return int(n);
    }
    *pErr = ENODEV;
    return 0;
}

void CSimDevice::Cancel(CReader& reader) {
    std::lock_guard<std::mutex> lock(m_mtx);
    reader.bCancelled = true;
    m_cv.notify_all();
}

void CSimDevice::EmitLocked(int nCol, std::vector<uint8_t> vReport) {
    if (!m_bPresent)
        return;
    TraceLocked(nCol, "in", "Input", vReport.data(), vReport.size(), 1);
    for (auto& p : m_lReaders)
        if (p->nCol == nCol && p->nGen == m_nGen && p->q.size() < 256)
            p->q.push_back(vReport);
    m_cv.notify_all();
}

void CSimDevice::Emit(int nCol, std::vector<uint8_t> vReport) {
    std::lock_guard<std::mutex> lock(m_mtx);
    EmitLocked(nCol, std::move(vReport));
}
