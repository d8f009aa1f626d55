// Apply and reset requests: what is checked before a profile goes to a device, and what a
// reset does to the current profile.
#include <algorithm>
#include <cstring>

#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "device/models/ApplyOutcome.h"
#include "platform/PointerSettings.h"
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

bool CSession::RequestApply(int nFamily, int nFlag, IProgressSink* pSink) {
    CApplyThread* pThread = Apply(nFamily);
    if (!pThread || !pThread->Running())
        return false;
    std::unique_ptr<CApplySnapshot> pSnap;
    {
        // The copy is the apply's own: the user may edit, delete and rename profiles and
        // macros while it is written.
        auto lock = LockProfile();
        if (const Profile* p = Current())
            pSnap = MakeApplySnapshot(*p, macros, bullets);
    }
    if (!pSnap)
        LogPrint("Apply request: no current profile");
    return pThread->Request(nFlag, std::move(pSnap), pSink);
}

bool CSession::RequestFullApply(int nFamily, IProgressSink* pSink) {
    const CFamilyInfo* pInfo = FamilyInfo(nFamily);
    CApplyThread* pThread = Apply(nFamily);
    if (!pInfo || !pThread)
        return false;
    // The pad's full request is skipped while its thread still writes the last one.
    if (nFamily == FAMILY_PAD && pThread->Busy())
        return false;
    return RequestApply(nFamily, pInfo->nFullFlags, pSink);
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

bool CSession::CompanionKeySet(int nKeySet) {
    Profile* p = Current();
    if (nKeySet < 0 || nKeySet > 2 || !p)
        return false;
    if (p->Ms.nMode == 1 && p->Ms.Mode[1].nKeySet == nKeySet)
        return false;
    {
        auto lock = LockProfile();
        p->Ms.Mode[1].nKeySet = nKeySet;
    }
    // The keys and the gun data of the new set go to the mouse at once.
    RequestApply(FAMILY_MOUSE, 3);
    return true;
}

void CSession::StartApplyThreads(IProgressFinder* pFinder) {
    for (const CFamilyInfo& f : Families()) {
        CHidDev* pDev = Dev(f.eFamily);
        std::unique_ptr<CApplyThread>& pThread = f.eFamily == FAMILY_MOUSE      ? pApplyMs
                                                 : f.eFamily == FAMILY_KEYBOARD ? pApplyKb
                                                                                : pApplyPad;
        if (!pDev || pThread)
            continue;
        pThread = std::make_unique<CApplyThread>(var, pFinder);
        pThread->SetListener(&m_aListeners[f.eFamily - FAMILY_MOUSE]);
        pThread->Start(pDev);
    }
}

void CSession::CFamilyListener::OnApplyDone(CApplyOutcome outcome) {
    std::function<void(std::function<void()>)> fnPost;
    {
        std::lock_guard<std::mutex> lock(m_session.m_mtxOutcomes);
        m_session.m_dqOutcomes.emplace_back(m_nFamily, std::move(outcome));
        fnPost = m_session.m_fnPost;
    }
    if (fnPost)
        fnPost([pSession = &m_session] { pSession->DeliverApplyOutcomes(); });
}

void CSession::SetPoster(std::function<void(std::function<void()>)> fnPost) {
    std::lock_guard<std::mutex> lock(m_mtxOutcomes);
    m_fnPost = std::move(fnPost);
}

size_t CSession::PendingOutcomes() {
    std::lock_guard<std::mutex> lock(m_mtxOutcomes);
    return m_dqOutcomes.size();
}

void CSession::DeliverApplyOutcomes() {
    for (;;) {
        std::pair<int, CApplyOutcome> item;
        {
            std::lock_guard<std::mutex> lock(m_mtxOutcomes);
            if (m_dqOutcomes.empty())
                return;
            item = std::move(m_dqOutcomes.front());
            m_dqOutcomes.pop_front();
        }
        // A box may run an event loop that delivers the next outcome meanwhile; each is
        // taken off the queue before it is shown, so none is shown twice.
        PresentApplyOutcome(item.second, GetPointerSettings());
        Notify(ESessionChange::ApplyDone, item.first);
    }
}
