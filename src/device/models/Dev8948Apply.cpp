// The 8948 apply: macros, bullet macros and matrices, then per mode the pointer settings
// (recorded for the receiver of the outcome), the general data and the gun data, finally
// the current mode.
#include <cstdio>
#include <cstring>

#include "config/Log.h"
#include "config/SensorTable.h"
#include "device/hid/HidHandle.h"
#include "device/models/Dev8948.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"

namespace {

constexpr uint32_t kDataPauseMs = 22;    // after SetMacro and SetMatrix
constexpr uint32_t kGeneralPauseMs = 20; // after SetProfile and SetGunData

// Clears the reset flag and every buffer number however the apply ends.
class CApplyEnd {
public:
    CApplyEnd(CDev8948& dev, const CApplyStores& stores) : m_dev(dev), m_stores(stores) {}
    ~CApplyEnd() {
        m_dev.SetReset(0);
        CDev8948::ClearBufferIds(m_stores);
    }

private:
    CDev8948& m_dev;
    CApplyStores m_stores;
};

} // namespace

int CDev8948::ApplySetting(CApplySnapshot& snap, IProgressSink* pWnd, uint32_t nMsg, int nFlag) {
    if (!GetHandle() && m_var.GoWithNoDev == 0)
        return 0;
    CApplyEnd end(*this, snap.Stores());
    LogPrint("Apply_M_STD_8948_1");
    if (!m_pDrv || snap.Pro().dwId == 0)
        return 0;
    if (!pWnd)
        LogPrint("hWnd=0");
    return ApplyModes(snap, pWnd, nMsg, nFlag);
}

int CDev8948::ApplyModes(CApplySnapshot& snap, IProgressSink* pWnd, uint32_t nMsg, int nFlag) {
    const MsSettings& ms = snap.Pro().Ms;
    const CApplyStores stores = snap.Stores();
    const bool bGoNoDev = m_var.GoWithNoDev != 0;
    const int nCur = ms.nMode;
    if (nCur < 0 || nCur >= MS_PROFILE_MODES) {
        LogPrint("Apply: current mode %d out of range", nCur);
        return 0;
    }
    const int nCount = ModeCount();
    int nFirst = nCur, nLast = nCur;
    if (Reset()) {
        LogPrint("Apply Reset...");
        nFirst = 0;
        nLast = nCount - 1;
    }
    CDrv8948& drv = Drv8948();

    if (nFlag & MS_APPLY_KEYS) {
        MsMacroAreas& a = m_areas;
        AssignBuffers(ms, nCount, a, stores);
        const int nMacroMax = (m_var.MsFw & 0xF) == 2 ? 10 : MS_MACRO_BUFFERS;
        const int nBulletMax = (m_var.MsFw & 0xF) == 2 ? 10 : 8;
        const bool bOwnBulletNumbers = (m_var.MsFw & 0xF) == 2;
        if (a.nRefused > 0 || a.nMacros > nMacroMax || a.nBullets > nBulletMax ||
            (!bOwnBulletNumbers && a.nMacros + a.nBullets > MS_MACRO_BUFFERS))
            LogPrint("Macro number error!!!, nMacroNum=%d, nBulletNum=%d", a.nMacros, a.nBullets);
        for (int m = 0; m < nCount; ++m) {
            LogPrint("-------KeyMode%d-------", m);
            for (int i = 0; i < MS_MATRIX_KEYS; ++i)
                LogPrint("Matrix[%d][%d] = 0x%08x", m, i, a.Matrix[m][size_t(i)]);
        }
        Progress(pWnd, nMsg, 10);
        for (int k = 0; k < a.nMacros; ++k) {
            if (!drv.SetMacro(k + 1, a.byMacro[k])) {
                LogPrint("SetMacro, err=0x%x", unsigned(HidLastError()));
                if (!bGoNoDev)
                    return 0;
            }
            SleepMs(kDataPauseMs);
        }
        Progress(pWnd, nMsg, 20);
        const int nBulletBase = bOwnBulletNumbers ? 10 : a.nMacros;
        for (int k = 0; k < a.nBullets; ++k) {
            if (!drv.SetMacro(nBulletBase + k + 1, a.byBullet[k])) {
                LogPrint("SetMacro, err=0x%x", unsigned(HidLastError()));
                if (!bGoNoDev)
                    return 0;
            }
            SleepMs(kDataPauseMs);
        }
        Progress(pWnd, nMsg, 30);
        for (int m = 0; m < nCount; ++m) {
            if (!drv.SetMatrix(m + 1, a.Matrix[m].data())) {
                LogPrint("SetMatrix, err=0x%x", unsigned(HidLastError()));
                if (!bGoNoDev)
                    return 0;
            }
            SleepMs(kDataPauseMs);
        }
    }

    Progress(pWnd, nMsg, 40);
    const int nStep = 50 / nCount;
    int nDone = 0;
    for (int m = nFirst; m <= nLast; ++m) {
        const MsMode& mode = ms.Mode[m];
        LogPrint("Writing Mode %x -----------", m + 1);
        if (nFlag & MS_APPLY_POINTER) {
            // The desktop belongs to the window thread: the setting goes with the outcome.
            snap.Pointer().push_back({m, mode.Sys});
            if (nFlag == MS_APPLY_POINTER) {
                ProgressDone(pWnd, nMsg);
                return 1;
            }
        }
        uint8_t byGeneral[MS_GENERAL_LEN] = {};
        if (!drv.GetProfile(m + 1, byGeneral)) {
            LogPrint("Get general data error, err=0x%x", unsigned(HidLastError()));
            if (!bGoNoDev)
                return 0;
        }
        LogPrint("General(Load):-------------");
        LogDump(byGeneral, MS_PROFILE_LEN, 16, "");
        const int nDevSensor = GetSenosr(byGeneral[1] & 0x3F);
        const int nCfgSensor = m_var.Dev.Ms.nCurSensor;
        if (nDevSensor != nCfgSensor && !bGoNoDev) {
            char sz[80];
            std::snprintf(sz, sizeof sz, "Sensor unmatch: dev=0x%04x, cfg=0x%04x", nDevSensor,
                          nCfgSensor);
            LogPrint("%s", sz);
            PlatformMessageBox("Error", sz);
            return 0;
        }
        if (nFlag & MS_APPLY_GENERAL) {
            BuildGeneral(mode, m, snap.CurDpiLevel(m), byGeneral);
            LogPrint("General(Save):-------------");
            LogDump(byGeneral, MS_PROFILE_LEN, 16, "");
            if (!drv.SetProfile(m + 1, byGeneral)) {
                LogPrint("SetProfile, err=0x%x", unsigned(HidLastError()));
                if (!bGoNoDev)
                    return 0;
            }
            SleepMs(kGeneralPauseMs);
        }
        if (nFlag & MS_APPLY_KEYS) {
            uint8_t byGun[MS_GUN_LEN];
            const MsMatrix& mx = m < nCount ? m_areas.Matrix[m] : FillMatrix(mode, stores);
            if (BuildGunData(mode, m, mx, byGun)) {
                LogPrint("SetGunData------");
                LogDump(byGun, MS_GUN_LEN, 16, "");
                if (!drv.SetGunData(byGun, mode.byGunOpt)) {
                    LogPrint("SetGunData, err=0x%x", unsigned(HidLastError()));
                    if (!bGoNoDev)
                        return 0;
                }
                SleepMs(kGeneralPauseMs);
            }
        }
        ++nDone;
        Progress(pWnd, nMsg, 40 + nStep * nDone);
    }

    LogPrint("SetMode nCurMd=0x%x", unsigned(nCur));
    if (!drv.SetMode(nCur)) {
        LogPrint("SetMode, err=0x%x", unsigned(HidLastError()));
        if (!bGoNoDev)
            return 0;
    }
    ProgressDone(pWnd, nMsg);
    return 1;
}
