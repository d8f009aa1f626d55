#include "device/sim/SimSmallDevices.h"

#include <cstring>

#include "device/sim/SimDescriptors.h"

CSimKb901::CSimKb901(std::string strName, uint16_t wVid, uint16_t wPid, std::string strProduct)
    : CSimDevice(std::move(strName), wVid, wPid, std::move(strProduct), SimKb901Descriptor()) {}

std::array<uint8_t, 504> CSimKb901::Matrix() const {
    std::lock_guard<std::mutex> lock(m_mtx);
    return m_byMatrix;
}

void CSimKb901::SetMatrix(const std::array<uint8_t, 504>& a) {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_byMatrix = a;
}

int CSimKb901::Writes() const {
    std::lock_guard<std::mutex> lock(m_mtx);
    return m_nWrites;
}

bool CSimKb901::OnSetFeature(int, const uint8_t* pBuf, size_t nLen) {
    if (nLen < 505)
        return false;
    std::memcpy(m_byMatrix.data(), pBuf + 1, 504);
    ++m_nWrites;
    return true;
}

bool CSimKb901::OnGetFeature(int, uint8_t* pBuf, size_t nLen) {
    if (nLen < 505)
        return false;
    std::memcpy(pBuf + 1, m_byMatrix.data(), 504);
    return true;
}

CSimPad::CSimPad(std::string strName, uint16_t wVid, uint16_t wPid, const uint8_t byCode[2],
                 std::string strProduct)
    : CSimDevice(std::move(strName), wVid, wPid, std::move(strProduct), SimPadDescriptor()) {
    m_byGeneral[0] = byCode[0];
    m_byGeneral[1] = byCode[1];
}

std::array<uint8_t, 26> CSimPad::General() const {
    std::lock_guard<std::mutex> lock(m_mtx);
    return m_byGeneral;
}

void CSimPad::SetGeneral(const std::array<uint8_t, 26>& a) {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_byGeneral = a;
}

bool CSimPad::OnSetFeature(int, const uint8_t* pBuf, size_t nLen) {
    if (nLen < 27)
        return false;
    std::memcpy(m_byGeneral.data() + 2, pBuf + 3, 24);
    return true;
}

bool CSimPad::OnGetFeature(int, uint8_t* pBuf, size_t nLen) {
    if (nLen < 27)
        return false;
    std::memcpy(pBuf + 1, m_byGeneral.data(), 26);
    return true;
}

CSimReceiver::CSimReceiver(std::string strName, uint16_t wVid, uint16_t wPid,
                           std::string strProduct)
    : CSimDevice(std::move(strName), wVid, wPid, std::move(strProduct), SimReceiverDescriptor()) {}

void CSimReceiver::PressKeySwitch(uint8_t byVk) {
    Emit(0, {2, byVk, 0x30});
}
