#include "device/hid/Drv901.h"

#include <cstring>

#include "config/Log.h"

namespace {
constexpr uint8_t kMatrixId = 9;
}

CDrv901::~CDrv901() {
    ClearHandle();
}

void CDrv901::ClearHandle() {
    LogPrint("CDrv901::ClearHandle");
    Close(m_hMatrix);
    Close(m_hLed);
    Close(m_hColor);
    Close(m_hMacro);
}

int CDrv901::IsPresent() {
    const KbDesc& kb = m_var.Dev.Kb;
    std::string strPattern = MakeDevPattern(uint16_t(kb.VID), uint16_t(kb.PID), true);
    int nFound = 0;
    m_pLib->OpenHidDevice(0xFF00, 1, strPattern.c_str(), FeatureLenFilter(KB901_REPORT), 0, 0, 0,
                          kHidAccessNone, kHidFlagOverlapped, &nFound);
    return nFound;
}

int CDrv901::FindDev() {
    ClearHandle();
    const KbDesc& kb = m_var.Dev.Kb;
    std::string strPattern = MakeDevPattern(uint16_t(kb.VID), uint16_t(kb.PID), true);
    LogPrint("FindDev: looking for %s", strPattern.c_str());
    HidHandle h =
        m_pLib->OpenHidDevice(0xFF00, 1, strPattern.c_str(), FeatureLenFilter(KB901_REPORT), 0, 0,
                              m_var.Debug, kHidAccessNone, kHidFlagOverlapped, nullptr);
    Store(m_hMatrix, h);
    LogPrint("m_hMatrix=0x%x, m_hLed=0x%x, m_hColor=0x%x, m_hMacro=0x%x", HandleId(h), 0u, 0u, 0u);
    if (h)
        return 1;
    ClearHandle();
    return 0;
}

int CDrv901::GetMatrix(uint8_t byMatrix[KB901_MATRIX_LEN]) {
    HidHandle h = Load(m_hMatrix);
    if (!h)
        return 0;
    uint8_t byReport[KB901_REPORT] = {kMatrixId};
    if (!GetFeatureRetry(h, byReport, sizeof byReport))
        return 0;
    std::memcpy(byMatrix, byReport + 1, KB901_MATRIX_LEN);
    return 1;
}

int CDrv901::SetMatrix(const uint8_t byMatrix[KB901_MATRIX_LEN]) {
    HidHandle h = Load(m_hMatrix);
    if (!h)
        return 0;
    uint8_t byReport[KB901_REPORT] = {kMatrixId};
    std::memcpy(byReport + 1, byMatrix, KB901_MATRIX_LEN);
    return SetFeatureRetry(h, byReport, sizeof byReport);
}
