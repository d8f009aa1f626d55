// Loading, selecting, creating, deleting and renaming profiles, and saving the store.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "config/KeyLookup.h"
#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "platform/FileLookup.h"
#include "session/ProfileNames.h"
#include "session/Session.h"
#include "storage/WideField.h"

namespace {
constexpr const char* kLimitText = "The number of profile has reached it's maximum";

std::string NameOf(const Profile& p) {
    return GetWideField(p.szName, PROFILE_NAME_LEN);
}

// A profile id as typed: decimal or 0x hexadecimal, nothing else around it.
bool ParseProfileId(const std::string& str, uint32_t& dwOut) {
    if (str.empty() || str[0] == '-' || str[0] == '+' || str[0] == ' ')
        return false;
    errno = 0;
    char* pEnd = nullptr;
    const unsigned long long qw = std::strtoull(str.c_str(), &pEnd, 0);
    if (*pEnd != '\0' || errno != 0 || qw > 0xFFFFFFFFull || qw == 0)
        return false;
    dwOut = uint32_t(qw);
    return true;
}
} // namespace

void CSession::LoadProfiles(bool bKeepAside) {
    m_nDefaultsMade = 0;
    {
        auto lock = LockProfile();
        proList.SetCurrent(nullptr);
        const int nLoaded = proList.Load(bKeepAside);
        m_nLoadedFromStore = nLoaded;
        const uint32_t dwCurId = proList.ReadCurrentId();
        if (nLoaded == 0 || dwCurId == 0) {
            // More defaults than the store file holds would only be dropped at the next save.
            const int nNum = std::clamp(var.ProfileNum, 0, PROFILE_FILE_SLOTS);
            const std::string strSound = DefaultSoundPath();
            const bool bSound = FileLookup::Exists(strSound);
            auto pNew = std::make_unique<Profile>();
            for (int i = 1; i <= nNum; ++i) {
                proList.CreateDefault(*pNew, Txt("tc_proname") + std::to_string(i));
                if (bSound)
                    SetWideField(pNew->szSound, PROFILE_SOUND_LEN, strSound);
                if (Profile* pAdded = proList.AddCopy(*pNew)) {
                    ResetKeys(*pAdded);
                    ++m_nDefaultsMade;
                }
            }
        }
        proList.SelectById(dwCurId);
        m_bLoaded = true;
    }
    Notify(ESessionChange::ProfileList);
}

void CSession::ResetKeys(Profile& profile) {
    int nPos = -1;
    int i = 0;
    for (Profile& p : proList.List()) {
        if (&p == &profile) {
            nPos = i;
            break;
        }
        ++i;
    }
    const MsModeTables* pPreset = GetResetPreset(var.Dev.Keys, nPos);
    if (!pPreset)
        return; // no presets, or a position without one (logged)
    for (int m = 0; m < MS_MODE_NUM; ++m)
        std::memcpy(profile.Ms.Mode[m].Keys[0], (*pPreset)[m], sizeof(KeyAssign) * MS_KEY_MAX);
}

bool CSession::Select(uint32_t dwId) {
    Profile* p = proList.FindById(dwId);
    if (!p)
        return false;
    {
        auto lock = LockProfile();
        proList.SetCurrent(p);
    }
    Notify(ESessionChange::CurrentProfile);
    return true;
}

Profile* CSession::FindProfile(const std::string& strIdOrName) const {
    uint32_t dwId = 0;
    if (ParseProfileId(strIdOrName, dwId))
        if (Profile* p = proList.FindById(dwId))
            return p;
    for (Profile& p : proList.List())
        if (SameProfileName(strIdOrName, NameOf(p)))
            return &p;
    return nullptr;
}

bool CSession::CheckProfileLimit(ISessionUi& ui) const {
    if (proList.Count() < size_t(PROFILE_CREATE_MAX))
        return true;
    ui.Message(kLimitText);
    return false;
}

Profile* CSession::NewProfile(ISessionUi& ui) {
    if (!CheckProfileLimit(ui))
        return nullptr;
    std::string strName;
    if (!ui.Input(Txt("tc_msg3"), strName))
        return nullptr;
    // Compared as stored, so a longer name cannot make a second profile of the same name.
    for (const Profile& p : proList.List()) {
        if (SameProfileName(strName, NameOf(p))) {
            ui.Message(Txt("tc_msg20"));
            return nullptr;
        }
    }
    auto pNew = std::make_unique<Profile>();
    proList.CreateDefault(*pNew, strName);
    const std::string strSound = DefaultSoundPath();
    if (FileLookup::Exists(strSound))
        SetWideField(pNew->szSound, PROFILE_SOUND_LEN, strSound);
    Profile* pAdded = nullptr;
    {
        auto lock = LockProfile();
        pAdded = proList.AddCopy(*pNew);
        if (pAdded)
            proList.SetCurrent(pAdded);
    }
    if (!pAdded) {
        LogPrint("New profile: out of memory");
        return nullptr;
    }
    Notify(ESessionChange::ProfileList);
    Notify(ESessionChange::CurrentProfile);
    Save();
    return pAdded;
}

bool CSession::DeleteProfile(uint32_t dwId, ISessionUi& ui) {
    if (proList.Count() <= 1) {
        ui.Message(Txt("tc_msg8"));
        return false;
    }
    if (!ui.AskYesNo(Txt("tc_msg6")))
        return false;
    Profile* p = proList.FindById(dwId); // looked up again: the box ran an event loop
    if (!p)
        return false;
    const bool bWasCurrent = p == proList.Current();
    {
        auto lock = LockProfile();
        proList.Remove(p);
        if (bWasCurrent || !proList.Current())
            proList.SetCurrent(proList.List().Head());
    }
    Notify(ESessionChange::ProfileList);
    if (bWasCurrent)
        Notify(ESessionChange::CurrentProfile);
    Save();
    return true;
}

bool CSession::RenameProfile(uint32_t dwId, ISessionUi& ui) {
    if (!proList.FindById(dwId))
        return false;
    std::string strName;
    if (!ui.Input(Txt("tc_msg3"), strName))
        return false;
    Profile* p = proList.FindById(dwId); // the box ran its own event loop
    if (!p)
        return false;
    {
        auto lock = LockProfile();
        SetWideField(p->szName, PROFILE_NAME_LEN, strName);
    }
    if (p == proList.Current())
        Notify(ESessionChange::ProfileName);
    return true;
}

bool CSession::Save() {
    // The list is read here; the apply threads only ever read it too.
    const bool bPro = proList.Save();
    const bool bCur = !proList.Current() || proList.WriteCurrentId();
    return bPro && bCur;
}
