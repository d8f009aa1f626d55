// The mouse's modes: the mode buttons, following the device, the companion keyboard's key-set
// switch and the mode read back after an apply.
#include "config/Log.h"
#include "device/hid/Drv8948.h"
#include "device/hid/HidHandle.h"
#include "session/Session.h"

void CSession::SetModeLocked(Profile& profile, int nMode) {
    {
        auto lock = LockProfile();
        profile.Ms.nMode = nMode;
    }
    Notify(ESessionChange::Mode, nMode);
}

void CSession::SwitchMode(int nMode, bool bWrite) {
    LogPrint("SwitchMode to %d", nMode);
    Profile* p = Current();
    if (!p || nMode < 0 || nMode >= MS_MODE_NUM || nMode == p->Ms.nMode)
        return;
    SetModeLocked(*p, nMode);
    if (!bWrite)
        return;
    CHidDrv* pDrv = pMs ? pMs->Drv() : nullptr;
    if (!pDrv || !pDrv->SetMode(nMode))
        LogPrint("SetMode err=0x%x", unsigned(HidLastError()));
}

void CSession::SyncMode() {
    const int nDevMode = DevMode();
    LogPrint("SyncMode: g_nCurMode=0x%x", unsigned(nDevMode));
    Profile* p = Current();
    if (nDevMode < 1 || nDevMode > MS_MODE_NUM || !p)
        return;
    LogPrint("SyncMode: Ms.nMode=%x", unsigned(p->Ms.nMode));
    if (nDevMode == p->Ms.nMode + 1)
        return;
    SetModeLocked(*p, nDevMode - 1);
}

void CSession::SwitchKeySet(int nKeySet) {
    if (!Current())
        return;
    if (Current()->Ms.nMode != 1)
        SwitchMode(1, true);
    if (nKeySet >= 0 && nKeySet <= 2) {
        LogPrint("SwitchKeyMode to 0x%x", unsigned(nKeySet));
        Notify(ESessionChange::KeySet, nKeySet);
    }
}

void CSession::ReadBackMode() {
    auto* pDrv = pMs ? dynamic_cast<CDrv8948*>(pMs->Drv()) : nullptr;
    Profile* p = Current();
    if (!var.Dev.Ms.SyncModeAfterApply || !pDrv || !p)
        return;
    if (pApplyMs && pApplyMs->Busy()) {
        // The progress window was closed early: the apply still talks to the mouse.
        LogPrint("SyncModeAfterApply: apply still running");
        return;
    }
    const int nMode = (pDrv->GetMode() & 0xFF) - 1;
    if (nMode < 0 || nMode >= MS_MODE_NUM)
        return;
    LogPrint("SwitchMode to %d", nMode);
    if (nMode != p->Ms.nMode)
        SetModeLocked(*p, nMode);
}
