// Menu items 3..6: profiles and key configurations to and from files.
#include "app/profiles/ProfileOps.h"
#include "app/profiles/ProfileOpsInternal.h"
#include "app/profiles/SkinnedStorageUi.h"
#include "storage/KeyCfgFile.h"
#include "storage/ProfileFile.h"

namespace {
constexpr const char* kBkmFilter = "bkm (*.bkm)";
constexpr const char* kKygFilter = "kyg (*.kyg)";
} // namespace

IFileChooser& CProfileOps::Chooser() {
    if (m_pChooser)
        return *m_pChooser;
    if (!m_pOwnChooser)
        m_pOwnChooser = std::make_unique<CQtFileChooser>(m_view.Window());
    return *m_pOwnChooser;
}

void CProfileOps::ExportProfile() {
    const Profile* p = m_state.Current();
    if (!p)
        return;
    CBusy busy(m_view);
    const std::string strPath = Chooser().SaveFile(ProfileName(*p) + ".bkm", kBkmFilter, "bkm");
    if (strPath.empty())
        return;
    CSkinnedStorageUi ui(m_view, nullptr);
    ::ExportProfile(m_state.proList, m_state.var, m_macros, m_bullets, strPath, ui);
}

void CProfileOps::ImportProfile() {
    // A profile past the store file's twelve slots would be lost at the next save.
    if (m_state.proList.Count() >= size_t(PROFILE_FILE_SLOTS)) {
        m_view.Message("The number of profile has reached it's maximum");
        return;
    }
    CBusy busy(m_view);
    const std::string strPath = Chooser().OpenFile("*.bkm", kBkmFilter, "bkm");
    if (strPath.empty())
        return;
    Profile* pNew = nullptr;
    {
        auto lock = m_state.LockProfile();
        CSkinnedStorageUi ui(m_view, &lock);
        pNew = ::ImportProfile(m_state.proList, m_state.var, m_macros, m_bullets, strPath, ui);
    }
    if (pNew)
        Select(pNew);
}

void CProfileOps::ExportKeyCfg() {
    if (!m_state.Current())
        return;
    CBusy busy(m_view);
    const std::string strPath = Chooser().SaveFile("keycfg.kyg", kKygFilter, "kyg");
    if (strPath.empty())
        return;
    CSkinnedStorageUi ui(m_view, nullptr);
    ::ExportKeyCfg(m_state.proList, m_macros, m_bullets, strPath, ui);
}

void CProfileOps::ImportKeyCfg() {
    if (!m_state.Current() || m_view.SelectedFamily() != FAMILY_MOUSE)
        return;
    CBusy busy(m_view);
    const std::string strPath = Chooser().OpenFile("*.kyg", kKygFilter, "kyg");
    if (strPath.empty())
        return;
    bool bOk = false;
    {
        auto lock = m_state.LockProfile();
        CSkinnedStorageUi ui(m_view, &lock);
        bOk = ::ImportKeyCfg(m_state.proList, m_state.var, m_macros, m_bullets, strPath, ui);
    }
    if (bOk)
        Select(m_state.Current());
}
