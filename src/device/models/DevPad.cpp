#include "device/models/DevPad.h"

#include <cstdio>
#include <cstring>

#include "config/Log.h"
#include "device/hid/HidHandle.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "storage/ProfileDefaults.h"

namespace {

constexpr int kPadFw = 40;
constexpr int kLightsOff = 10; // effect index whose record turns the lights off
constexpr int kColorSlots = 7;

int LevelCode(int32_t nLevel2) {
    switch (nLevel2) {
    case 32:
        return 1;
    case 80:
        return 2;
    case 112:
        return 3;
    default:
        return 4;
    }
}

} // namespace

CDevPad::CDevPad(CGlobalVar& var, CHidLib* pLib, CMacroStore* pMacros)
    : CHidDev(var, var.PadFw, std::make_unique<CDrvPad>(var, pLib), pMacros) {}

void CDevPad::FillDefault(Profile& pro) {
    FillPadDefault(pro.Pad, m_var);
}

int BuildPadGeneral(const PadSettings& pad, uint8_t byGeneral[PAD_GENERAL_LEN]) {
    const int e = pad.nPadLedEffect;
    if (e < 0 || e >= PAD_LED_EFFECTS)
        return 0;
    const PadLedEffect& r = pad.Led[e];
    const uint8_t byEffect = e == kLightsOff ? 0 : uint8_t(e + 1);
    byGeneral[2] = byEffect;
    byGeneral[3] = uint8_t((r.nLevel1 & 15) | (LevelCode(r.nLevel2) << 4));
    std::memset(byGeneral + 5, 0, PAD_GENERAL_LEN - 5);
    int nColors = 0;
    for (int i = 0; i < kColorSlots; ++i) {
        if (!(r.dwColorMask & (1u << i)))
            continue;
        uint8_t* p = byGeneral + 5 + 3 * nColors++;
        p[0] = uint8_t(r.Colors[i]);
        p[1] = uint8_t(r.Colors[i] >> 8);
        p[2] = uint8_t(r.Colors[i] >> 16);
    }
    byGeneral[4] = 0;
    if ((byEffect == 1 || byEffect == 3) && r.nDir == 6)
        byGeneral[4] = 0x80;
    else if (byEffect == 4)
        byGeneral[4] = uint8_t(nColors);
    return 1;
}

int CDevPad::ApplySetting(CApplySnapshot& snap, IProgressSink* pWnd, uint32_t nMsg, int) {
    const Profile& pro = snap.Pro();
    if (m_var.PadFw != kPadFw)
        return 0;
    LogPrint("Apply_PAD_STD");
    if (!m_pDrv || pro.dwId == 0)
        return 0;
    if (!pWnd)
        LogPrint("hWnd=0");
    Progress(pWnd, nMsg, 20);

    const bool bGoNoDev = m_var.GoWithNoDev != 0;
    uint8_t byGeneral[PAD_GENERAL_LEN] = {};
    if (!DrvPad().GetCommand(byGeneral)) {
        LogPrint("Get general data error, err=0x%x", unsigned(HidLastError()));
        if (!bGoNoDev)
            return 0;
    }
    LogPrint("General(Load): ");
    LogDump(byGeneral, sizeof byGeneral, PAD_GENERAL_LEN, "");

    const uint8_t* pPsd = m_var.Dev.Pad.PSD;
    if (pPsd[0] != 0 && pPsd[1] != 0 && (pPsd[0] != byGeneral[0] || pPsd[1] != byGeneral[1]) &&
        !bGoNoDev) {
        char sz[64];
        std::snprintf(sz, sizeof sz, "Pad Psd unmatch: dev=%02x%02x, cfg=%02x%02x", byGeneral[0],
                      byGeneral[1], pPsd[0], pPsd[1]);
        LogPrint("%s", sz);
        PlatformMessageBox("Error", sz);
        return 0;
    }

    // An effect index past the records is a damaged profile: nothing is sent.
    if (!BuildPadGeneral(pro.Pad, byGeneral)) {
        LogPrint("Apply_PAD_STD: effect index %d out of range", pro.Pad.nPadLedEffect);
        return 0;
    }
    LogPrint("General(Save):-------------");
    LogDump(byGeneral, sizeof byGeneral, PAD_GENERAL_LEN, "");
    SleepMs(20);
    if (!DrvPad().SendCommand(byGeneral)) {
        LogPrint("Set general data error, err=0x%x", unsigned(HidLastError()));
        if (!bGoNoDev)
            return 0;
    }
    Progress(pWnd, nMsg, 80);
    ProgressDone(pWnd, nMsg);
    return 1;
}
