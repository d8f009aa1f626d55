#include "device/hid/Drv816.h"

#include <cstring>

#include "config/Log.h"
#include "platform/Clock.h"

namespace {
constexpr uint8_t kCmdId = 5;
constexpr uint8_t kDataId = 6;
constexpr size_t kPayloadData = 7; // data start within the payload
} // namespace

CDrv816::~CDrv816() {
    ClearHandle();
}

void CDrv816::ClearHandle() {
    LogPrint("CDrv816::ClearHandle");
    Close(m_hDevice);
    Close(m_hCmd);
}

int CDrv816::IsPresent() {
    const KbDesc& kb = m_var.Dev.Kb;
    std::string strPattern = MakeDevPattern(uint16_t(kb.VID), uint16_t(kb.PID), true);
    int nFound = 0;
    m_pLib->OpenHidDevice(0xFF00, 1, strPattern.c_str(), FeatureLenFilter(KB_DATA_REPORT), 0, 0, 0,
                          kHidAccessNone, kHidFlagOverlapped, &nFound);
    return nFound;
}

int CDrv816::FindDev() {
    ClearHandle();
    const KbDesc& kb = m_var.Dev.Kb;
    std::string strPattern = MakeDevPattern(uint16_t(kb.VID), uint16_t(kb.PID), true);
    LogPrint("FindDev: looking for %s", strPattern.c_str());
    HidHandle hDevice =
        m_pLib->OpenHidDevice(0xFF00, 1, strPattern.c_str(), FeatureLenFilter(KB_DATA_REPORT), 0, 0,
                              m_var.Debug, kHidAccessNone, kHidFlagOverlapped, nullptr);
    HidHandle hCmd =
        m_pLib->OpenHidDevice(0xFF00, 1, strPattern.c_str(), FeatureLenFilter(KB_CMD_REPORT), 0, 0,
                              0, kHidAccessNone, kHidFlagOverlapped, nullptr);
    Store(m_hDevice, hDevice);
    Store(m_hCmd, hCmd);
    LogPrint("m_hDevice=0x%x, m_hCmd=0x%x", HandleId(hDevice), HandleId(hCmd));
    if (hDevice && hCmd)
        return 1;
    ClearHandle();
    return 0;
}

int CDrv816::SetPassword(const uint8_t byCode[4]) {
    HidHandle h = Load(m_hCmd);
    if (!h)
        return 0;
    uint8_t byReport[9] = {kCmdId, 0x01, byCode[0], byCode[1], byCode[2], byCode[3], 0, 0, 0};
    return SetFeatureRetry(h, byReport, sizeof byReport);
}

int CDrv816::ReadAnswer(const uint8_t* pCmd, size_t nCmdLen, uint8_t* pData, size_t nLen,
                        int nEcho) {
    HidHandle hCmd = Load(m_hCmd);
    HidHandle hDevice = Load(m_hDevice);
    if (!hCmd || !hDevice)
        return 0;
    if (!SetFeatureRetry(hCmd, pCmd, nCmdLen))
        return 0;
    SleepMs(kAnswerDelayMs);
    uint8_t byReport[KB_DATA_REPORT] = {kDataId};
    if (!GetFeatureRetry(hDevice, byReport, sizeof byReport))
        return 0;
    if (nEcho >= 0 && byReport[1] != nEcho) {
        LogPrint("816 answer echoes 0x%02x instead of 0x%02x", byReport[1], nEcho);
        return 0;
    }
    std::memcpy(pData, byReport + 1 + kPayloadData, nLen);
    return 1;
}

int CDrv816::GetProfile(uint8_t byCfg[KB_CFG_LEN]) {
    static const uint8_t kCmd[7] = {kCmdId, 0x83, 0, 0, 0, 0, 0};
    return ReadAnswer(kCmd, sizeof kCmd, byCfg, KB_CFG_LEN, 0x83);
}

int CDrv816::GetCommand(uint8_t byMatrix[KB_MATRIX_LEN]) {
    static const uint8_t kCmd[7] = {kCmdId, 0x84, 0xC8, 0, 0, 0, 0};
    return ReadAnswer(kCmd, sizeof kCmd, byMatrix, KB_MATRIX_LEN, -1);
}

int CDrv816::SendBlock(uint8_t byCmd, uint8_t byAddr, uint8_t byB3, const uint8_t* pData,
                       size_t nLen) {
    HidHandle h = Load(m_hDevice);
    if (!h || nLen > KB_DATA_REPORT - 1 - kPayloadData)
        return 0;
    uint8_t byReport[KB_DATA_REPORT] = {kDataId};
    uint8_t* pPayload = byReport + 1;
    pPayload[0] = byCmd;
    pPayload[1] = byAddr;
    pPayload[3] = byB3;
    std::memcpy(pPayload + kPayloadData, pData, nLen);
    return SetFeatureRetry(h, byReport, sizeof byReport);
}

int CDrv816::SetProfile(const uint8_t byCfg[KB_CFG_LEN]) {
    return SendBlock(3, 0, 0, byCfg, KB_CFG_LEN);
}

int CDrv816::SetKeyMatrix(const uint8_t byMatrix[KB_MATRIX_LEN]) {
    return SendBlock(4, 0xC8, 0x40, byMatrix, KB_MATRIX_LEN);
}

int CDrv816::SetMacroData(uint8_t byAddr, const uint8_t byMacros[KB_MACRO_LEN]) {
    return SendBlock(5, byAddr, 0x40, byMacros, KB_MACRO_LEN);
}

int CDrv816::SetColorTable(const uint8_t* pTable, int nLen) {
    if (pTable == nullptr || nLen < 0 || nLen > KB_COLOR_TABLE_MAX)
        return 0;
    return SendBlock(8, 0xA8, 0x40, pTable, size_t(nLen));
}

int CDrv816::SetLedMatrix(uint8_t byAddr, const uint8_t byColors[KB_LED_MATRIX_LEN]) {
    return SendBlock(9, byAddr, 0x40, byColors, KB_LED_MATRIX_LEN);
}
