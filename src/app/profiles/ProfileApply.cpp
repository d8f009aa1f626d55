// Apply and reset: the current profile to the selected family's device through its apply
// thread, with the progress window up meanwhile.
#include <algorithm>
#include <cstring>

#include "app/profiles/ProfileOps.h"
#include "app/profiles/ProfileOpsInternal.h"
#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "device/hid/CurLevels.h"
#include "device/hid/Drv8948.h"

namespace {
constexpr uint8_t kGunClass = 8;
constexpr uint32_t kGunCode = 0xC0;
constexpr uint32_t kGunSwitchCode = 0xC2;
// How long apply waits for its worker to end the request once the progress window closed.
constexpr int kSettleMs = 500;

int FullFlags(int nFamily) {
    switch (nFamily) {
    case FAMILY_MOUSE: return APPLY_FULL_MOUSE;
    case FAMILY_KEYBOARD: return APPLY_FULL_KEYBOARD;
    default: return APPLY_FULL_PAD;
    }
}

// Wakes the family's worker with its full request; false when nothing was woken (no worker,
// the pad worker still busy, or the request queue full).
bool WakeFull(const CShellState& state, int nFamily) {
    CApplyThread* pThread = state.Apply(nFamily);
    if (!pThread || !pThread->Running())
        return false;
    if (nFamily == FAMILY_PAD && pThread->Busy())
        return false;
    return pThread->Request(FullFlags(nFamily));
}
} // namespace

// Gun keys in mode 1 need the preset-switch key beside them while the gun option is on.
bool CProfileOps::GunCheckFails(const Profile& profile) const {
    const MsMode& mode = profile.Ms.Mode[1];
    uint32_t dwGunOpt = 0;
    std::memcpy(&dwGunOpt, &mode.byGunOpt, sizeof dwGunOpt);
    if (dwGunOpt == 0)
        return false;
    const int nSet = mode.nKeySet;
    if (nSet < 0 || nSet >= MS_KEY_SETS)
        return false;
    bool bGun = false, bSwitch = false;
    for (const KeyAssign& k : mode.Keys[nSet]) {
        const uint32_t dwFun = k.Main.dwFun;
        if ((dwFun >> 24) != kGunClass)
            continue;
        bGun = bGun || (dwFun & 0xFFFFFF) == kGunCode;
        bSwitch = bSwitch || (dwFun & 0xFFFFFF) == kGunSwitchCode;
    }
    return bGun && !bSwitch;
}

void CProfileOps::Apply() {
    const Profile* pCur = m_state.Current();
    if (GunFw() && pCur && GunCheckFails(*pCur)) {
        m_view.Message(Txt("tc_chiji7"));
        return;
    }
    CBusy busy(m_view);
    const int nFamily = m_view.SelectedFamily();
    CHidDev* pDev = m_state.Dev(nFamily);
    if (pDev && !pDev->GetHandle() && m_state.var.GoWithNoDev == 0) {
        m_view.Message(Txt("tc_msg13"));
        return;
    }
    {
        auto lock = m_state.LockProfile();
        m_view.StorePanels(nFamily);
    }
    CApplyThread* pThread = m_state.Apply(nFamily);
    const int nHandled = pThread ? pThread->Handled() : 0;
    if (WakeFull(m_state, nFamily)) {
        m_view.RunProgress();
        // The worker closes the progress window and then ends the request a moment later;
        // give it that moment so the mode read below comes after the apply's own SetMode.
        pThread->WaitHandled(nHandled + 1, kSettleMs);
    }
    busy.End();

    auto* pDrv = nFamily == FAMILY_MOUSE && m_state.pMs
                     ? dynamic_cast<CDrv8948*>(m_state.pMs->Drv())
                     : nullptr;
    Profile* p = m_state.Current();
    if (m_state.var.Dev.Ms.SyncModeAfterApply && pDrv && p) {
        if (pThread && pThread->Busy()) {
            // The progress window was closed early: the apply still talks to the mouse.
            LogPrint("SyncModeAfterApply: apply still running");
        } else {
            const int nMode = (pDrv->GetMode() & 0xFF) - 1;
            if (nMode >= 0 && nMode < MS_MODE_NUM) {
                LogPrint("SwitchMode to %d", nMode);
                if (nMode != p->Ms.nMode) {
                    {
                        auto lock = m_state.LockProfile();
                        p->Ms.nMode = nMode;
                    }
                    RefreshModes();
                    m_view.ReloadPanels(RELOAD_ALL);
                }
            }
        }
    }
    SaveStore();
}

void CProfileOps::Reset() {
    CBusy busy(m_view);
    if (!m_view.Confirm(Txt("tc_msg7")))
        return;
    const int nFamily = m_view.SelectedFamily();
    CHidDev* pDev = m_state.Dev(nFamily);
    Profile* p = m_state.Current();
    if (!p || !pDev)
        return;
    const CGlobalVar& var = m_state.var;
    {
        auto lock = m_state.LockProfile();
        SetWideField(p->szSound, PROFILE_SOUND_LEN, SoundPath());
        pDev->FillDefault(*p);
        pDev->SetReset(1);
    }
    const bool bWant = pDev->GetHandle() != nullptr || var.ApplyNow != 0;
    RefreshModes();

    bool bWoken = false;
    switch (nFamily) {
    case FAMILY_MOUSE: {
        {
            auto lock = m_state.LockProfile();
            ResetKeys(*p);
        }
        m_view.ReloadPanels(RELOAD_ALL);
        if (bWant)
            bWoken = WakeFull(m_state, nFamily);
        const SensorCfg* pCfg = var.Dev.Ms.pSensorCfg();
        const int nLevel = pCfg ? std::max(pCfg->DEFLEVEL, 0) : 0;
        m_view.SetResolutionLevel(nLevel);
        for (int& n : g_nCurDpiLevel)
            n = nLevel;
        break;
    }
    case FAMILY_KEYBOARD:
        m_view.ReloadPanels(RELOAD_KEYBOARD);
        if (bWant)
            bWoken = WakeFull(m_state, nFamily);
        break;
    case FAMILY_PAD:
        m_view.ReloadPanels(RELOAD_PAD);
        if (bWant)
            bWoken = WakeFull(m_state, nFamily);
        break;
    default: break;
    }

    const int nFamilies = (m_state.pMs ? 1 : 0) + (m_state.pKb ? 1 : 0) + (m_state.pPad ? 1 : 0);
    if (nFamilies > 1 && nFamily != FAMILY_MOUSE)
        m_view.SwitchFamily(nFamily);
    if (bWoken) {
        m_view.RunProgress();
        SaveStore();
    }
}
