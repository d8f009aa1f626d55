// Profiles and key configurations to and from files.
#include "session/Session.h"
#include "session/UnlockedUi.h"
#include "storage/KeyCfgFile.h"
#include "storage/ProfileFile.h"

bool CSession::ExportProfile(uint32_t dwId, const std::string& strPath, ISessionUi& ui) {
    Profile* p = proList.FindById(dwId);
    if (!p)
        return false;
    // The export writes the store's current profile; another one is made current for the
    // write only.
    Profile* pCur = proList.Current();
    auto lock = LockProfile();
    proList.SetCurrent(p);
    CUnlockedUi unlocked(ui, lock);
    const bool bOk = ::ExportProfile(proList, var, macros, bullets, strPath, unlocked);
    proList.SetCurrent(pCur); // an export adds and removes nothing
    return bOk;
}

Profile* CSession::ImportProfile(const std::string& strPath, ISessionUi& ui) {
    // A profile past the store file's twelve slots would be lost at the next save.
    if (proList.Count() >= size_t(PROFILE_FILE_SLOTS)) {
        ui.Message("The number of profile has reached it's maximum");
        return nullptr;
    }
    Profile* pNew = nullptr;
    {
        auto lock = LockProfile();
        CUnlockedUi unlocked(ui, lock);
        pNew = ::ImportProfile(proList, var, macros, bullets, strPath, unlocked);
    }
    if (!pNew)
        return nullptr;
    Notify(ESessionChange::ProfileList);
    Notify(ESessionChange::CurrentProfile);
    return pNew;
}

bool CSession::ExportKeyCfg(const std::string& strPath, ISessionUi& ui) {
    if (!Current())
        return false;
    auto lock = LockProfile();
    CUnlockedUi unlocked(ui, lock);
    return ::ExportKeyCfg(proList, macros, bullets, strPath, unlocked);
}

bool CSession::ImportKeyCfg(const std::string& strPath, ISessionUi& ui) {
    if (!Current())
        return false;
    bool bOk = false;
    {
        auto lock = LockProfile();
        CUnlockedUi unlocked(ui, lock);
        bOk = ::ImportKeyCfg(proList, var, macros, bullets, strPath, unlocked);
    }
    if (bOk)
        Notify(ESessionChange::CurrentProfile);
    return bOk;
}
