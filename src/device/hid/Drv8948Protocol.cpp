// The 8948 command set: 5-byte commands with their replies on the command collection and
// 518-byte data payloads on the data collection. No report carries a checksum.
#include <cstring>

#include "config/Log.h"
#include "device/hid/Drv8948.h"
#include "platform/Clock.h"

namespace {
constexpr uint8_t kCmdId = 5;
constexpr uint8_t kDataId = 4;
constexpr int kDataReadOffset = 8; // general data in the report read back
} // namespace

int CDrv8948::SendCmd(const uint8_t byCmd[5]) {
    LogPrint("SendCmd: %02x,%02x,%02x,%02x,%02x", byCmd[0], byCmd[1], byCmd[2], byCmd[3], byCmd[4]);
    HidHandle h = Load(m_hCmd);
    if (!h)
        return 0;
    uint8_t byReport[MS_CMD_REPORT] = {kCmdId};
    std::memcpy(byReport + 1, byCmd, 5);
    if (!SetFeatureRetry(h, byReport, sizeof byReport)) {
        LogPrint("SendCmd err=%d", HidLastError());
        return 0;
    }
    return 1;
}

int CDrv8948::GetCmd(uint8_t byReply[5]) {
    HidHandle h = Load(m_hCmd);
    if (!h)
        return 0;
    uint8_t byReport[MS_CMD_REPORT] = {kCmdId};
    if (!GetFeatureRetry(h, byReport, sizeof byReport)) {
        LogPrint("GetCmd err=%d", HidLastError());
        return 0;
    }
    LogPrint("GetCmd %x %x %x %x %x", byReport[0], byReport[1], byReport[2], byReport[3],
             byReport[4]);
    std::memcpy(byReply, byReport + 1, 5);
    return 1;
}

int CDrv8948::SendData(const uint8_t byPayload[MS_DATA_PAYLOAD]) {
    HidHandle h = Load(m_hData);
    if (!h)
        return 0;
    uint8_t byReport[MS_DATA_REPORT] = {kDataId};
    std::memcpy(byReport + 1, byPayload, MS_DATA_PAYLOAD);
    if (!SetFeatureRetry(h, byReport, sizeof byReport)) {
        LogPrint("SendData err=%d", HidLastError());
        return 0;
    }
    return 1;
}

int CDrv8948::GetData(uint8_t byData[MS_GENERAL_LEN]) {
    HidHandle h = Load(m_hData);
    if (!h)
        return 0;
    uint8_t byReport[MS_DATA_REPORT] = {kDataId};
    if (!GetFeatureRetry(h, byReport, sizeof byReport)) {
        LogPrint("GetData err=%d", HidLastError());
        return 0;
    }
    std::memcpy(byData, byReport + kDataReadOffset, MS_GENERAL_LEN);
    return 1;
}

int CDrv8948::GetPsd(uint8_t byCode[4]) {
    static const uint8_t kCmd[5] = {0x01, 0, 0, 0, 0};
    uint8_t byReply[5];
    if (!SendCmd(kCmd))
        return 0;
    SleepMs(uint32_t(m_nCmdDelay));
    if (!GetCmd(byReply))
        return 0;
    // Report bytes 2..5 are the code; GetCmd hands out report bytes 1..5.
    std::memcpy(byCode, byReply + 1, 4);
    return 1;
}

int CDrv8948::GetMode() {
    static const uint8_t kCmd[5] = {0x02, 0, 0, 0, 0};
    uint8_t byReply[5];
    if (!SendCmd(kCmd))
        return 0xFF;
    SleepMs(uint32_t(m_nCmdDelay));
    if (!GetCmd(byReply))
        return 0xFF;
    int nMode = byReply[1];
    return nMode >= 1 && nMode <= 3 ? nMode : 0xFF;
}

int CDrv8948::GetProfile(int nMode, uint8_t byData[MS_GENERAL_LEN]) {
    if (nMode < 1 || nMode > 3)
        return 0;
    const uint8_t byCmd[5] = {uint8_t(0x01 + 0x10 * nMode), 0, 0, 0, 0};
    if (!SendCmd(byCmd))
        return 0;
    SleepMs(uint32_t(m_nCmdDelay));
    return GetData(byData);
}

int CDrv8948::SetProfile(int nMode, const uint8_t byData[MS_PROFILE_LEN]) {
    if (nMode < 1 || nMode > 3)
        return 0;
    uint8_t byPayload[MS_DATA_PAYLOAD] = {};
    byPayload[0] = uint8_t(0x01 + 0x10 * nMode);
    byPayload[2] = 0x7B;
    std::memcpy(byPayload + 7, byData, MS_PROFILE_LEN);
    return SendData(byPayload);
}

int CDrv8948::SetMatrix(int nMode, const uint32_t dwCodes[MS_MATRIX_KEYS]) {
    if (nMode < 1 || nMode > 3)
        return 0;
    LogPrint("SetMatrix[Pro%d]:", nMode);
    LogDumpGrouped("", dwCodes, MS_MATRIX_KEYS * 4, 16, 4);
    uint8_t byPayload[MS_DATA_PAYLOAD] = {};
    byPayload[0] = uint8_t(0x02 + 0x10 * nMode);
    byPayload[2] = 0x50;
    for (int i = 0; i < MS_MATRIX_KEYS; ++i)
        for (int b = 0; b < 4; ++b)
            byPayload[7 + 4 * i + b] = uint8_t(dwCodes[i] >> (8 * b));
    return SendData(byPayload);
}

int CDrv8948::SetMacro(int nBuffer, const uint8_t byMacro[MS_MACRO_LEN]) {
    if (nBuffer < 1 || nBuffer > 255) {
        LogPrint("SetMacro: parameter err");
        return 0;
    }
    LogPrint("SetMacro Buffer[%d]:", nBuffer);
    LogDump(byMacro, 64, 16, "");
    uint8_t byPayload[MS_DATA_PAYLOAD] = {};
    byPayload[0] = 0x30;
    byPayload[1] = 0x02;
    byPayload[7] = uint8_t(nBuffer);
    std::memcpy(byPayload + 8, byMacro, MS_MACRO_LEN);
    return SendData(byPayload);
}

int CDrv8948::SetGunData(const uint8_t byGun[MS_GUN_LEN], uint8_t byGunOpt) {
    uint8_t byPayload[MS_DATA_PAYLOAD] = {};
    byPayload[0] = 0x32;
    byPayload[2] = 0x25;
    std::memcpy(byPayload + 7, byGun, MS_GUN_LEN);
    byPayload[43] = byGunOpt;
    return SendData(byPayload);
}

int CDrv8948::SetMode(int nMode) {
    // Only indices 0..2 name a mode; 02 00 would be read as the GetMode command.
    if (nMode < 0 || nMode > 2)
        return 0;
    const uint8_t byCmd[5] = {0x02, uint8_t(nMode + 1), 0, 0, 0};
    return SendCmd(byCmd);
}
