// Apply and reset requests: what is checked before a profile goes to a device, and what a
// reset does to the current profile.
#include <algorithm>
#include <cstring>

#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "session/Session.h"
#include "storage/WideField.h"

namespace {
constexpr uint8_t kGunClass = 8;
constexpr uint32_t kGunCode = 0xC0;
constexpr uint32_t kGunSwitchCode = 0xC2;
} // namespace

bool CSession::GunCheckFails(const Profile& profile) const {
    if (!GunFw())
        return false;
    const MsMode& mode = profile.Ms.Mode[1];
    uint32_t dwGunOpt = 0; // the option byte read with the three after it, as stored
    std::memcpy(&dwGunOpt, &mode.byGunOpt, sizeof dwGunOpt);
    const int nSet = mode.nKeySet;
    if (dwGunOpt == 0 || nSet < 0 || nSet >= MS_KEY_SETS)
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

EApplyRefusal CSession::CheckGunKeys(ISessionUi& ui) const {
    // The gun keys are checked whichever family is written: the window asks before it even
    // looks at the device list's selection.
    const Profile* pCur = Current();
    if (pCur && GunCheckFails(*pCur)) {
        ui.Message(Txt("tc_chiji7"));
        return EApplyRefusal::GunKeys;
    }
    return EApplyRefusal::None;
}

EApplyRefusal CSession::CheckConnected(int nFamily, ISessionUi& ui) const {
    CHidDev* pDev = Dev(nFamily);
    if (!pDev)
        return EApplyRefusal::NoFamily;
    if (!pDev->GetHandle() && var.GoWithNoDev == 0) {
        ui.Message(Txt("tc_msg13"));
        return EApplyRefusal::NotConnected;
    }
    return EApplyRefusal::None;
}

EApplyRefusal CSession::CheckApply(int nFamily, ISessionUi& ui) const {
    const EApplyRefusal e = CheckGunKeys(ui);
    return e != EApplyRefusal::None ? e : CheckConnected(nFamily, ui);
}

bool CSession::RequestApply(int nFamily, int nFlag) {
    CApplyThread* pThread = Apply(nFamily);
    if (!pThread || !pThread->Running())
        return false;
    return pThread->Request(nFlag);
}

bool CSession::RequestFullApply(int nFamily) {
    const CFamilyInfo* pInfo = FamilyInfo(nFamily);
    CApplyThread* pThread = Apply(nFamily);
    if (!pInfo || !pThread)
        return false;
    // The pad's full request is skipped while its thread still writes the last one.
    if (nFamily == FAMILY_PAD && pThread->Busy())
        return false;
    return RequestApply(nFamily, pInfo->nFullFlags);
}

bool CSession::ResetFamily(int nFamily, ISessionUi& ui, bool& bDone) {
    bDone = false;
    if (!ui.AskYesNo(Txt("tc_msg7")))
        return false;
    CHidDev* pDev = Dev(nFamily);
    Profile* p = Current();
    if (!p || !pDev)
        return false;
    {
        auto lock = LockProfile();
        SetWideField(p->szSound, PROFILE_SOUND_LEN, DefaultSoundPath());
        pDev->FillDefault(*p);
        if (nFamily == FAMILY_MOUSE)
            ResetKeys(*p);
    }
    pDev->SetReset(1);
    if (nFamily == FAMILY_MOUSE) {
        // The apply writes the description's default level as the active one.
        const SensorCfg* pCfg = var.Dev.Ms.pSensorCfg();
        const int nLevel = pCfg ? std::max(pCfg->DEFLEVEL, 0) : 0;
        for (int m = 0; m < MS_MODE_NUM; ++m)
            SetDpiLevel(m, nLevel);
    }
    bDone = true;
    return pDev->GetHandle() != nullptr || var.ApplyNow != 0;
}
