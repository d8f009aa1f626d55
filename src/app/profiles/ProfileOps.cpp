#include "app/profiles/ProfileOps.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "app/dialogs/SoundPlayer.h"
#include "app/profiles/ProfileOpsInternal.h"
#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "device/hid/CurLevels.h"
#include "device/hid/Drv8948.h"
#include "device/hid/HidHandle.h"
#include "platform/FileLookup.h"

namespace {
constexpr const char* kSoundFile = "DrvSound.wav";

int ConnectedSensor(const CShellState& state) {
    auto* pDrv = state.pMs ? dynamic_cast<CDrv8948*>(state.pMs->Drv()) : nullptr;
    return pDrv ? pDrv->ConnectedSensor() : 0;
}
} // namespace

CProfileOps::CProfileOps(CShellState& state, IProfileView& view, CMacroStore& macros,
                         CMacroStore& bullets)
    : m_state(state), m_view(view), m_macros(macros), m_bullets(bullets) {}

CProfileOps::~CProfileOps() = default;

void CProfileOps::SetFileChooser(IFileChooser* pChooser) {
    m_pChooser = pChooser;
}

bool CProfileOps::GunFw() const {
    return m_state.pMs && (m_state.var.MsFw & 0xFF) >= 16;
}

std::string CProfileOps::SoundPath() const {
    return m_state.var.szProgramDir + kSoundFile;
}

void CProfileOps::SaveStore() {
    m_state.proList.Save();
    m_state.proList.WriteCurrentId();
}

void CProfileOps::LoadProfiles() {
    CGlobalVar& var = m_state.var;
    CProList& list = m_state.proList;
    auto lock = m_state.LockProfile();
    list.SetCurrent(nullptr);
    const int nLoaded = list.Load();
    const uint32_t dwCurId = list.ReadCurrentId();
    if (nLoaded == 0 || dwCurId == 0) {
        // More defaults than the store file holds would only be dropped at the next save.
        const int nNum = std::clamp(var.ProfileNum, 0, PROFILE_FILE_SLOTS);
        const bool bSound = FileLookup::Exists(SoundPath());
        auto pNew = std::make_unique<Profile>();
        for (int i = 1; i <= nNum; ++i) {
            list.CreateDefault(*pNew, Txt("tc_proname") + std::to_string(i));
            if (bSound)
                SetWideField(pNew->szSound, PROFILE_SOUND_LEN, SoundPath());
            if (Profile* pAdded = list.AddCopy(*pNew))
                ResetKeys(*pAdded);
        }
    }
    list.SelectById(dwCurId);
    m_bLoaded = true;
}

void CProfileOps::ResetKeys(Profile& profile) {
    const KeyTables& keys = m_state.var.Dev.Keys;
    uint32_t dwFirst = 0;
    std::memcpy(&dwFirst, &keys.ProPreset[0][0][0], sizeof dwFirst);
    if (dwFirst == 0)
        return; // ProCfg.ini gave no presets
    int nIndex = -1;
    int i = 0;
    for (Profile& p : m_state.proList.List()) {
        if (&p == &profile) {
            nIndex = i;
            break;
        }
        ++i;
    }
    if (nIndex < 0 || nIndex >= PRESET_NUM) {
        LogPrint("ResetKey2: nIndex=%d", nIndex);
        return;
    }
    for (int m = 0; m < MS_MODE_NUM; ++m)
        std::memcpy(profile.Ms.Mode[m].Keys[0], keys.ProPreset[nIndex][m],
                    sizeof(KeyAssign) * MS_KEY_MAX);
}

void CProfileOps::OnShow() {
    if (!m_bLoaded || m_state.proList.Count() == 0)
        LoadProfiles();
    Profile* p = m_state.Current();
    if (!p)
        return;
    SelectProfile(p->dwId);
    p = m_state.Current();
    const std::string strSound = p ? ProfileSound(*p) : std::string();
    if (!m_state.var.nPlaySound || strSound.empty())
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
    if (!m_state.var.nPlaySound) {
        m_view.Sound().Stop();
        return;
    }
    Profile* p = m_state.Current();
    const std::string strSound = p ? ProfileSound(*p) : std::string();
    if (!strSound.empty() && FileLookup::Exists(strSound))
        m_view.Sound().PlayLooping(strSound);
}

void CProfileOps::OnCloseButton() {
    Profile* p = m_state.Current();
    if (p && !ProfileSound(*p).empty() && m_state.var.nPlaySound)
        m_view.Sound().Stop();
}

bool CProfileOps::SelectProfile(uint32_t dwId) {
    Profile* p = m_state.proList.FindById(dwId);
    if (!p)
        return false;
    Select(p);
    return true;
}

void CProfileOps::Select(Profile* p) {
    if (!p)
        return;
    {
        auto lock = m_state.LockProfile();
        m_state.proList.SetCurrent(p);
    }
    m_view.SetSelector(ProfileName(*p), p->dwId);
    RefreshWindow();
}

void CProfileOps::RefreshWindow() {
    LogPrint("Init UI Layout for 0x%x", unsigned(ConnectedSensor(m_state)));
    RefreshModes();
    m_view.ReloadPanels(RELOAD_ALL);
    const int nFamily = m_view.SelectedFamily();
    if (nFamily != FAMILY_NONE)
        m_view.SwitchFamily(nFamily);
}

void CProfileOps::RefreshModes() {
    m_view.RefreshKeyboardMarks();
    Profile* p = m_state.Current();
    if (!p)
        return;
    const int nMode = p->Ms.nMode;
    m_view.SetModeButtons(nMode);
    if (!GunFw())
        return;
    const MouseDesc& ms = m_state.var.Dev.Ms;
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
    if (m_state.var.Dev.Ms.ShowOnlyModeString)
        return;
    if (nButton >= 1 && nButton <= MS_MODE_NUM)
        SwitchMode(nButton - 1, true);
}

void CProfileOps::SwitchMode(int nMode, bool bWrite) {
    LogPrint("SwitchMode to %d", nMode);
    Profile* p = m_state.Current();
    if (!p || nMode < 0 || nMode >= MS_MODE_NUM || nMode == p->Ms.nMode)
        return;
    {
        auto lock = m_state.LockProfile();
        p->Ms.nMode = nMode;
    }
    RefreshModes();
    m_view.ReloadPanels(RELOAD_ALL);
    if (!bWrite)
        return;
    CHidDrv* pDrv = m_state.pMs ? m_state.pMs->Drv() : nullptr;
    if (!pDrv || !pDrv->SetMode(nMode))
        LogPrint("SetMode err=0x%x", unsigned(HidLastError()));
}

void CProfileOps::SyncMode() {
    LogPrint("SyncMode: g_nCurMode=0x%x", unsigned(g_nCurMode));
    Profile* p = m_state.Current();
    if (g_nCurMode < 1 || g_nCurMode > MS_MODE_NUM || !p)
        return;
    LogPrint("SyncMode: Ms.nMode=%x", unsigned(p->Ms.nMode));
    if (g_nCurMode == p->Ms.nMode + 1)
        return;
    {
        auto lock = m_state.LockProfile();
        p->Ms.nMode = g_nCurMode - 1;
    }
    RefreshModes();
    m_view.ReloadPanels(RELOAD_ALL);
}

void CProfileOps::OnKeySetSwitch(uintptr_t wParam) {
    Profile* p = m_state.Current();
    if (!p)
        return;
    if (p->Ms.nMode != 1)
        SwitchMode(1, true);
    if (wParam <= 2) {
        LogPrint("SwitchKeyMode to 0x%x", unsigned(wParam));
        m_view.ShowKeySet(int(wParam));
    }
}
