#include "device/sim/SimKb816.h"

#include <cstring>

#include "device/sim/SimDescriptors.h"

CSimKb816::CSimKb816(std::string strName, uint16_t wVid, uint16_t wPid, std::string strProduct)
    : CSimDevice(std::move(strName), wVid, wPid, std::move(strProduct), SimKb816Descriptor()) {
    for (size_t i = 0; i < Collections().size(); ++i) {
        if (Collections()[i].nFeatureLen == 1032)
            m_nDataCol = int(i);
        if (Collections()[i].nFeatureLen == 6)
            m_nCmdCol = int(i);
    }
}

CSimKb816::CState CSimKb816::State() const {
    std::lock_guard<std::mutex> lock(m_mtx);
    return m_st;
}

void CSimKb816::SetState(const CState& st) {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_st = st;
}

void CSimKb816::SetWrongEcho(uint8_t byEcho) {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_byWrongEcho = byEcho;
}

bool CSimKb816::OnSetFeature(int nCol, const uint8_t* pBuf, size_t nLen) {
    if (nCol == m_nCmdCol && nLen >= 6) {
        const uint8_t* c = pBuf + 1;
        if (c[0] == 0x01) {
            std::memcpy(m_st.byPassword.data(), c + 1, 4);
            ++m_st.nPasswordWrites;
        } else if (c[0] == 0x83 || (c[0] == 0x84 && c[1] == 0xC8)) {
            m_byPending = c[0];
        } else {
            ++m_st.nUnknown;
        }
        return true;
    }
    if (nCol == m_nDataCol && nLen >= 1032) {
        const uint8_t* p = pBuf + 1;
        const uint8_t* pData = p + 7;
        switch (p[0]) {
        case 3:
            std::memcpy(m_st.byCfg.data(), pData, 136);
            break;
        case 4:
            if (p[1] != 0xC8)
                return false;
            std::memcpy(m_st.byMatrix.data(), pData, 1024);
            break;
        case 5: {
            int nPart = p[1] == 0xCC   ? 0
                        : p[1] == 0xD0 ? 1
                        : p[1] == 0xD4 ? 2
                        : p[1] == 0xD8 ? 3
                                       : -1;
            if (nPart < 0)
                return false;
            std::memcpy(m_st.byMacros[size_t(nPart)].data(), pData, 1024);
            break;
        }
        case 8:
            m_st.vColorTable.assign(pData, pData + 1024);
            break;
        case 9: {
            std::array<uint8_t, 792> a{};
            std::memcpy(a.data(), pData, 792);
            m_st.mapLed[p[1]] = a;
            break;
        }
        default:
            ++m_st.nUnknown;
            break;
        }
        return true;
    }
    return false;
}

bool CSimKb816::OnGetFeature(int nCol, uint8_t* pBuf, size_t nLen) {
    if (nCol == m_nDataCol && nLen >= 1032) {
        uint8_t* p = pBuf + 1;
        p[0] = m_byWrongEcho ? m_byWrongEcho : m_byPending;
        if (m_byPending == 0x83)
            std::memcpy(p + 7, m_st.byCfg.data(), 136);
        else if (m_byPending == 0x84)
            std::memcpy(p + 7, m_st.byMatrix.data(), 1024);
        m_byWrongEcho = 0;
        return true;
    }
    if (nCol == m_nCmdCol)
        return true; // nothing to report on the command collection
    return false;
}
