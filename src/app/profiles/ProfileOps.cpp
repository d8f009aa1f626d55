#include "app/profiles/ProfileOps.h"

#include <cstdio>
#include <memory>

#include "app/dialogs/SoundPlayer.h"
#include "app/profiles/ProfileOpsInternal.h"
#include "config/Log.h"
#include "device/hid/Drv8948.h"
#include "platform/FileLookup.h"

namespace {
int ConnectedSensor(const CSession& session) {
    auto* pDrv = session.pMs ? dynamic_cast<CDrv8948*>(session.pMs->Drv()) : nullptr;
    return pDrv ? pDrv->ConnectedSensor() : 0;
}
} // namespace

CProfileOps::CProfileOps(CSession& session, IProfileView& view)
    : m_session(session), m_view(view), m_pUi(std::make_unique<CViewUi>(view)) {
    m_session.AddListener(this);
}

CProfileOps::~CProfileOps() {
    m_session.RemoveListener(this);
}

void CProfileOps::SetFileChooser(IFileChooser* pChooser) {
    m_pChooser = pChooser;
}

void CProfileOps::OnSessionChange(const CSessionChange& change) {
    const Profile* p = m_session.Current();
    switch (change.eWhat) {
    case ESessionChange::CurrentProfile:
        if (!p)
            return;
        m_view.SetSelector(ProfileName(*p), p->dwId);
        RefreshWindow();
        break;
    case ESessionChange::ProfileName:
        if (p)
            m_view.SetSelector(ProfileName(*p), p->dwId);
        break;
    case ESessionChange::Mode:
        RefreshModes();
        m_view.ReloadPanels(RELOAD_ALL);
        break;
    case ESessionChange::KeySet:
        m_view.ShowKeySet(change.nValue);
        break;
    case ESessionChange::ProfileList:
    case ESessionChange::DeviceState:
    case ESessionChange::ApplyDone:
        break;
    }
}

void CProfileOps::LoadProfiles() {
    m_session.LoadProfiles();
}

void CProfileOps::OnShow() {
    if (!m_session.Loaded() || m_session.proList.Count() == 0)
        LoadProfiles();
    Profile* p = m_session.Current();
    if (!p)
        return;
    SelectProfile(p->dwId);
    p = m_session.Current();
    const std::string strSound = p ? ProfileSound(*p) : std::string();
    if (!m_session.var.nPlaySound || strSound.empty())
        return;
    if (FileLookup::Exists(strSound)) {
        m_view.Sound().PlayLooping(strSound);
    } else {
        char sz[600];
        std::snprintf(sz, sizeof sz, "Open file failed, %s", strSound.c_str());
        m_view.Message(sz);
    }
}

void CProfileOps::OnOptionsClosed(bool bOk) {
    if (!bOk)
        return;
    if (!m_session.var.nPlaySound) {
        m_view.Sound().Stop();
        return;
    }
    Profile* p = m_session.Current();
    const std::string strSound = p ? ProfileSound(*p) : std::string();
    if (!strSound.empty() && FileLookup::Exists(strSound))
        m_view.Sound().PlayLooping(strSound);
}

void CProfileOps::OnCloseButton() {
    Profile* p = m_session.Current();
    if (p && !ProfileSound(*p).empty() && m_session.var.nPlaySound)
        m_view.Sound().Stop();
}

bool CProfileOps::SelectProfile(uint32_t dwId) {
    return m_session.Select(dwId);
}

void CProfileOps::RefreshWindow() {
    LogPrint("Init UI Layout for 0x%x", unsigned(ConnectedSensor(m_session)));
    RefreshModes();
    m_view.ReloadPanels(RELOAD_ALL);
    const int nFamily = m_view.SelectedFamily();
    if (nFamily != FAMILY_NONE)
        m_view.SwitchFamily(nFamily);
}

void CProfileOps::RefreshModes() {
    m_view.RefreshKeyboardMarks();
    Profile* p = m_session.Current();
    if (!p)
        return;
    const int nMode = p->Ms.nMode;
    m_view.SetModeButtons(nMode);
    if (!m_session.GunFw())
        return;
    const MouseDesc& ms = m_session.var.Dev.Ms;
    if (ms.nShowUsbRateForPUBGNum > 0 && nMode == 1) {
        m_view.SetRateAlternative(true);
        return;
    }
    m_view.SetRateAlternative(false);
    m_view.ShowRateTab(nMode == 0 && ms.ShowUsbRate != 0 && ms.AlwaysHideUsbRate == 0);
    int nOpen = m_view.OpenTab();
    if (nOpen == 1 || nOpen == 3)
        nOpen = 0;
    m_view.LayoutTabs(nOpen);
}

void CProfileOps::OnModeButton(int nButton) {
    if (m_session.var.Dev.Ms.ShowOnlyModeString)
        return;
    if (nButton >= 1 && nButton <= MS_MODE_NUM)
        SwitchMode(nButton - 1, true);
}

void CProfileOps::SwitchMode(int nMode, bool bWrite) {
    m_session.SwitchMode(nMode, bWrite);
}

void CProfileOps::SyncMode() {
    m_session.SyncMode();
}

void CProfileOps::OnKeySetSwitch(uintptr_t wParam) {
    m_session.SwitchKeySet(wParam <= 2 ? int(wParam) : -1);
}
