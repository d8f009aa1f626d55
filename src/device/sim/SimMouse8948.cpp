#include "device/sim/SimMouse8948.h"

#include <cstring>

#include "device/sim/SimDescriptors.h"

namespace {
int FindCol(const std::vector<CHidCollection>& v, int nFeature, int nInput) {
    for (size_t i = 0; i < v.size(); ++i)
        if (v[i].wUsagePage == 0xFF00 && v[i].nFeatureLen == nFeature && v[i].nInputLen == nInput)
            return int(i);
    return -1;
}
} // namespace

CSimMouse8948::CSimMouse8948(std::string strName, uint16_t wVid, uint16_t wPid,
                             const uint8_t byCode[4], int nSensorCode, bool bWithNotify,
                             std::string strProduct)
    : CSimDevice(std::move(strName), wVid, wPid, std::move(strProduct),
                 SimMouse8948Descriptor(bWithNotify)) {
    m_nCmdCol = FindCol(Collections(), 6, 0);
    m_nDataCol = FindCol(Collections(), 520, 0);
    m_nNotifyCol = FindCol(Collections(), 0, 8);
    std::memcpy(m_st.byCode, byCode, 4);
    for (auto& gd : m_st.byGeneral) {
        gd[1] = uint8_t(nSensorCode & 0x3F);
        gd[3] = 0x10;   // first switched-on resolution level
        gd[4] = 0;      // every level on
        gd[122] = 0x10; // first lift-off level
        gd[123] = 0;
    }
}

CSimMouse8948::CState CSimMouse8948::State() const {
    std::lock_guard<std::mutex> lock(m_mtx);
    return m_st;
}

void CSimMouse8948::SetState(const CState& st) {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_st = st;
}

void CSimMouse8948::SetSensorCode(int nCode) {
    std::lock_guard<std::mutex> lock(m_mtx);
    for (auto& gd : m_st.byGeneral)
        gd[1] = uint8_t((gd[1] & 0xC0) | (nCode & 0x3F));
}

void CSimMouse8948::NotifyLocked(uint8_t by1, uint8_t by2, uint8_t by4, uint8_t by5) {
    if (m_nNotifyCol < 0)
        return;
    EmitLocked(m_nNotifyCol, {7, by1, by2, 0, by4, by5, 0, 0});
}

void CSimMouse8948::Notify(uint8_t by1, uint8_t by2, uint8_t by4, uint8_t by5) {
    std::lock_guard<std::mutex> lock(m_mtx);
    NotifyLocked(by1, by2, by4, by5);
}

void CSimMouse8948::PressModeButton(int nMode) {
    std::lock_guard<std::mutex> lock(m_mtx);
    if (nMode < 1 || nMode > 3)
        return;
    m_st.nMode = nMode;
    NotifyLocked(uint8_t(nMode), uint8_t(m_st.byGeneral[size_t(nMode - 1)][3] >> 4), 0, 0);
}

void CSimMouse8948::PressDpiButton(int nOrdinal) {
    std::lock_guard<std::mutex> lock(m_mtx);
    auto& gd = m_st.byGeneral[size_t(m_st.nMode - 1)];
    gd[3] = uint8_t((gd[3] & 0x0F) | ((nOrdinal & 0x0F) << 4));
    NotifyLocked(uint8_t(m_st.nMode), uint8_t(nOrdinal & 0x0F), 0, 0);
}

bool CSimMouse8948::OnSetFeature(int nCol, const uint8_t* pBuf, size_t nLen) {
    if (nCol == m_nCmdCol && nLen >= 6) {
        const uint8_t* c = pBuf + 1;
        std::memset(m_byReply, 0, sizeof m_byReply);
        m_byReply[0] = c[0];
        switch (c[0]) {
        case 0x01:
            std::memcpy(m_byReply + 1, m_st.byCode, 4);
            break;
        case 0x02:
            if (c[1] >= 1 && c[1] <= 3)
                m_st.nMode = c[1];
            m_byReply[1] = uint8_t(m_st.nMode);
            break;
        case 0x11:
        case 0x21:
        case 0x31:
            m_nProfileMode = c[0] >> 4;
            break;
        default:
            ++m_st.nUnknownCommands;
            break;
        }
        return true;
    }
    if (nCol == m_nDataCol && nLen >= 520) {
        const uint8_t* p = pBuf + 1; // payload
        int nMode = p[0] >> 4;
        int nKind = p[0] & 0x0F;
        if (nMode >= 1 && nMode <= 3 && nKind == 1 && p[2] == 0x7B) {
            std::memcpy(m_st.byGeneral[size_t(nMode - 1)].data(), p + 7, 140);
        } else if (p[0] == 0x30 && p[1] == 0x02) {
            std::array<uint8_t, 510> m{};
            std::memcpy(m.data(), p + 8, 510);
            m_st.mapMacros[p[7]] = m;
        } else if (p[0] == 0x32 && p[2] == 0x25) {
            std::memcpy(m_st.byGun.data(), p + 7, 63);
            m_st.bGunWritten = true;
        } else if (nMode >= 1 && nMode <= 3 && nKind == 2 && p[2] == 0x50) {
            for (int i = 0; i < 20; ++i)
                m_st.dwMatrix[size_t(nMode - 1)][size_t(i)] =
                    uint32_t(p[7 + 4 * i]) | uint32_t(p[8 + 4 * i]) << 8 |
                    uint32_t(p[9 + 4 * i]) << 16 | uint32_t(p[10 + 4 * i]) << 24;
        } else {
            ++m_st.nUnknownCommands;
        }
        return true;
    }
    return false;
}

bool CSimMouse8948::OnGetFeature(int nCol, uint8_t* pBuf, size_t nLen) {
    if (nCol == m_nCmdCol && nLen >= 6) {
        std::memcpy(pBuf + 1, m_byReply, 5);
        return true;
    }
    if (nCol == m_nDataCol && nLen >= 520) {
        pBuf[1] = uint8_t(0x01 + 0x10 * m_nProfileMode);
        std::memcpy(pBuf + 8, m_st.byGeneral[size_t(m_nProfileMode - 1)].data(), 500);
        return true;
    }
    return false;
}
