#include "device/hid/DrvPad.h"

#include <cstdio>
#include <cstring>

#include "config/Log.h"
#include "platform/MessageBox.h"

namespace {
constexpr uint8_t kGeneralId = 0x30;
}

CDrvPad::~CDrvPad() {
    ClearHandle();
}

void CDrvPad::ClearHandle() {
    LogPrint("CDrvPad::ClearHandle");
    Close(m_hGeneral);
}

int CDrvPad::FindDev() {
    ClearHandle();
    const PadDesc& pad = m_var.Dev.Pad;
    std::string strPattern = MakeDevPattern(uint16_t(pad.VID), uint16_t(pad.PID), false);
    LogPrint("CDrvPad  FindDev: looking for %s", strPattern.c_str());
    HidHandle h =
        m_pLib->OpenHidDevice(0xFF00, 1, strPattern.c_str(), FeatureLenFilter(PAD_REPORT), 0, 0,
                              m_var.Debug, kHidAccessNone, kHidFlagOverlapped, nullptr);
    Store(m_hGeneral, h);
    LogPrint("m_hGeneral=0x%x", HandleId(h));
    if (!h) {
        ClearHandle();
        return 0;
    }
    uint8_t byGeneral[PAD_GENERAL_LEN];
    if (!GetCommand(byGeneral)) {
        LogPrint("FindDev: Get general data error, err=0x%x", HidLastError());
        ClearHandle();
        return 0;
    }
    if (pad.PSD[0] != 0 && pad.PSD[1] != 0 &&
        (pad.PSD[0] != byGeneral[0] || pad.PSD[1] != byGeneral[1])) {
        char sz[64];
        std::snprintf(sz, sizeof sz, "Pad Pd Error: %02x%02x, %02x%02x", byGeneral[0], byGeneral[1],
                      pad.PSD[0], pad.PSD[1]);
        LogPrint("%s", sz);
        PlatformMessageBox("Warning", sz);
        ClearHandle();
        return 0;
    }
    return 1;
}

int CDrvPad::GetCommand(uint8_t byGeneral[PAD_GENERAL_LEN]) {
    HidHandle h = Load(m_hGeneral);
    if (!h)
        return 0;
    uint8_t byReport[PAD_REPORT] = {kGeneralId};
    if (!GetFeatureRetry(h, byReport, sizeof byReport)) {
        LogPrint("GetCommand err=%d", HidLastError());
        return 0;
    }
    std::memcpy(byGeneral, byReport + 1, PAD_GENERAL_LEN);
    return 1;
}

int CDrvPad::SendCommand(const uint8_t byGeneral[PAD_GENERAL_LEN]) {
    HidHandle h = Load(m_hGeneral);
    if (!h)
        return 0;
    uint8_t byReport[PAD_REPORT] = {kGeneralId};
    std::memcpy(byReport + 1, byGeneral, PAD_GENERAL_LEN);
    if (!SetFeatureRetry(h, byReport, sizeof byReport)) {
        LogPrint("SendCommand err=%d", HidLastError());
        return 0;
    }
    return 1;
}
