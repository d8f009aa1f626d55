// The session's parts, listeners and device state.
#include "session/Session.h"

#include <algorithm>

#include "device/hid/CurLevels.h"
#include "platform/FileLookup.h"

CSession::CSession(CGlobalVar& v, CMacroStore& macroStore, CMacroStore& bulletStore)
    : var(v), macros(macroStore), bullets(bulletStore), proList(v) {}

CSession::~CSession() {
    // The threads read the models and the stores; they end before either goes.
    StopApplyThreads();
}

CHidDev* CSession::Dev(int nFamily) const {
    switch (nFamily) {
    case FAMILY_MOUSE:
        return pMs.get();
    case FAMILY_KEYBOARD:
        return pKb.get();
    case FAMILY_PAD:
        return pPad.get();
    default:
        return nullptr;
    }
}

CApplyThread* CSession::Apply(int nFamily) const {
    switch (nFamily) {
    case FAMILY_MOUSE:
        return pApplyMs.get();
    case FAMILY_KEYBOARD:
        return pApplyKb.get();
    case FAMILY_PAD:
        return pApplyPad.get();
    default:
        return nullptr;
    }
}

std::vector<int> CSession::ConfiguredFamilies() const {
    std::vector<int> v;
    for (const CFamilyInfo& f : Families())
        if (Dev(f.eFamily))
            v.push_back(f.eFamily);
    return v;
}

bool CSession::Connected(int nFamily) const {
    CHidDev* p = Dev(nFamily);
    return p && p->GetHandle();
}

bool CSession::GunFw() const {
    // From the configuration (a low byte of 16 or more is a configured mouse), so it holds
    // before or without the models being made.
    return (var.MsFw & 0xFF) >= 16;
}

void CSession::StopApplyThreads() {
    for (CApplyThread* p : {pApplyMs.get(), pApplyKb.get(), pApplyPad.get()})
        if (p)
            p->Stop();
}

void CSession::ShutdownDrivers() {
    for (CHidDev* p : {pMs.get(), pKb.get(), pPad.get(), pCompanion.get()})
        if (p && p->Drv())
            p->Drv()->Shutdown();
}

void CSession::AddListener(ISessionListener* pListener) {
    if (pListener &&
        std::find(m_vListeners.begin(), m_vListeners.end(), pListener) == m_vListeners.end())
        m_vListeners.push_back(pListener);
}

void CSession::RemoveListener(ISessionListener* pListener) {
    m_vListeners.erase(std::remove(m_vListeners.begin(), m_vListeners.end(), pListener),
                       m_vListeners.end());
}

void CSession::Notify(ESessionChange eWhat, int nValue) {
    // A listener may remove itself (a panel closing); walk a copy.
    const std::vector<ISessionListener*> v = m_vListeners;
    for (ISessionListener* p : v)
        if (std::find(m_vListeners.begin(), m_vListeners.end(), p) != m_vListeners.end())
            p->OnSessionChange({eWhat, nValue});
}

// The device state lives in the process-wide values the mouse's driver and encoder read
// (discovery sets the mode, the apply writes the active level); the session is the only
// place the front ends change them, so its listeners hear of every change.
namespace {
int LevelOf(const int* aLevels, int nModeIndex) {
    return nModeIndex >= 0 && nModeIndex < MS_MODE_NUM ? aLevels[nModeIndex] : -1;
}
} // namespace

bool CSession::SetValue(int& nTarget, int nValue) {
    if (nTarget == nValue)
        return false;
    nTarget = nValue;
    Notify(ESessionChange::DeviceState);
    return true;
}

int CSession::DevMode() const {
    return g_nCurMode;
}

void CSession::SetDevMode(int nMode) {
    SetValue(g_nCurMode, nMode);
}

int CSession::DpiLevel(int nModeIndex) const {
    return LevelOf(g_nCurDpiLevel, nModeIndex);
}

void CSession::SetDpiLevel(int nModeIndex, int nLevel) {
    if (nModeIndex >= 0 && nModeIndex < MS_MODE_NUM)
        SetValue(g_nCurDpiLevel[nModeIndex], nLevel);
}

int CSession::LodLevel(int nModeIndex) const {
    return LevelOf(g_nCurLODLevel, nModeIndex);
}

void CSession::SetLodLevel(int nModeIndex, int nLevel) {
    if (nModeIndex >= 0 && nModeIndex < MS_MODE_NUM)
        SetValue(g_nCurLODLevel[nModeIndex], nLevel);
}

std::string CSession::DefaultSoundPath() const {
    // Spelt as on disk when the installation came with another letter case.
    return FileLookup::Resolve(var.szProgramDir, "DrvSound.wav");
}
