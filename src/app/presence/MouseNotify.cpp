// The mouse's own notifications (message 2027): its buttons changed the mode or the active
// resolution level, or the device reports a new rate. And message 2030, only logged.
#include <cstdio>

#include "app/presence/DevicePresence.h"
#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "device/hid/CurLevels.h"
#include "device/models/Dev8948.h"

namespace {

std::string Format(const char* pszFormat, int n) {
    char sz[64];
    std::snprintf(sz, sizeof sz, pszFormat, n);
    return sz;
}

bool SensorShowsXY(int nSensor) {
    return nSensor == 0x3360 || nSensor == 0x3389 || nSensor == 0x9800;
}

} // namespace

void CDevicePresence::OnMouseNotify(uintptr_t w) {
    const CGlobalVar& var = m_state.var;
    const MouseDesc& ms = var.Dev.Ms;
    const int nByte0 = int(w & 0xFF), nByte1 = int((w >> 8) & 0xFF);
    const int nByte2 = int((w >> 16) & 0xFF), nByte3 = int((w >> 24) & 0xFF);
    LogPrint("OnDeviceBehavior  Buffer= %x %x %x %x, nPopByte1=%d", unsigned(nByte0),
             unsigned(nByte1), unsigned(nByte2), unsigned(nByte3), ms.PopByte1);
    if (nByte1 == 0)
        return; // no resolution information
    Profile* pCur = m_state.Current();
    const SensorCfg* pSensorCfg = ms.pSensorCfg();
    CHidDev* pDevMs = m_state.pMs.get();
    if (!pCur || !pSensorCfg || !pDevMs) {
        LogPrint("pFile=0x%x, pSensorCfg=0x%x, pDevMs=0x%x", unsigned(uintptr_t(pCur)),
                 unsigned(uintptr_t(pSensorCfg)), unsigned(uintptr_t(pDevMs)));
        return;
    }
    if (!pDevMs->GetHandle()) {
        LogPrint("589");
        return;
    }
    const int nMode = nByte0;
    const int nOrdinal = nByte1 & 0x0F;
    // The device sends only modes 1..3; anything else must not index the mode tables.
    if (nMode < 1 || nMode > MS_MODE_NUM) {
        LogPrint("OnDeviceBehavior: mode %d dropped", nMode);
        return;
    }
    if (nOrdinal == 0)
        return;

    int nCount = pSensorCfg->DM;
    if (nCount > MS_DPI_LEVELS)
        nCount = MS_DPI_LEVELS;
    const MsMode& mode = pCur->Ms.Mode[nMode - 1];
    int nLevel = -1;
    for (int i = 0, nOn = 0; i < nCount; ++i) {
        if (mode.Dpi[i].bOff == 0 && ++nOn == nOrdinal) {
            nLevel = i;
            break;
        }
    }
    if (nLevel < 0)
        return;

    CNotifyTexts texts;
    texts.strLevel = Format("DPI-%d", nLevel + 1);
    auto* pMs8948 = dynamic_cast<CDev8948*>(pDevMs);
    int nSensor = pMs8948 ? pMs8948->Drv8948().ConnectedSensor() : 0;
    if (nSensor == 0)
        nSensor = ms.nCurSensor;
    const DpiLevel& lv = mode.Dpi[nLevel];
    if (ms.ShowXY && SensorShowsXY(nSensor)) {
        texts.strValue = Format("X %d", lv.nX);
        texts.strValue2 = Format("Y %d", lv.nY);
    } else {
        texts.strValue = Format("%d", lv.nX);
    }
    if (ms.PopByte1 == 1) {
        if ((var.MsFw & 0xFF) <= 15) {
            char sz[128];
            std::snprintf(sz, sizeof sz, "%s %d", Txt("tc_ms7").c_str(), nMode);
            texts.strMode = sz;
        } else if (nMode == 1) {
            texts.strMode = Txt("tc_chiji17");
        } else if (nMode == 2) {
            texts.strMode = Txt("tc_chiji19");
        }
    }

    m_state.SetDpiLevel(nMode - 1, nLevel);
    if (m_view.HasNotifyPopup() && ms.Pop != 0)
        m_view.ShowNotify(texts);
    m_view.SelectDpiLevel(nLevel);

    // The device has switched already; the window only follows.
    // (The session tells the window, which refreshes the mode buttons and panels.)
    if (nMode - 1 != pCur->Ms.nMode)
        m_state.SwitchMode(nMode - 1, false);
    if (nByte3 != 0)
        m_view.SetRateCode(nByte3);
}

void CDevicePresence::OnMonitorNotify(uintptr_t w) {
    LogPrint("OnMonitorNotify  nMajor=%x, nMinor=%x", unsigned(w & 0xFF),
             unsigned((w >> 8) & 0xFF));
}
