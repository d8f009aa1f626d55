// Menu items 3..6: profiles and key configurations to and from files, chosen in the file
// dialogs; the session reads and writes them.
#include "app/profiles/ProfileOps.h"
#include "app/profiles/ProfileOpsInternal.h"

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
    const Profile* p = m_session.Current();
    if (!p)
        return;
    const uint32_t dwId = p->dwId;
    CBusy busy(m_view);
    const std::string strPath = Chooser().SaveFile(ProfileName(*p) + ".bkm", kBkmFilter, "bkm");
    if (strPath.empty())
        return;
    m_session.ExportProfile(dwId, strPath, *m_pUi);
}

void CProfileOps::ImportProfile() {
    // Refused before the file dialog: there would be no room for the profile.
    if (m_session.proList.Count() >= size_t(PROFILE_FILE_SLOTS)) {
        m_view.Message("The number of profile has reached it's maximum");
        return;
    }
    CBusy busy(m_view);
    const std::string strPath = Chooser().OpenFile("*.bkm", kBkmFilter, "bkm");
    if (strPath.empty())
        return;
    m_session.ImportProfile(strPath, *m_pUi);
}

void CProfileOps::ExportKeyCfg() {
    if (!m_session.Current())
        return;
    CBusy busy(m_view);
    const std::string strPath = Chooser().SaveFile("keycfg.kyg", kKygFilter, "kyg");
    if (strPath.empty())
        return;
    m_session.ExportKeyCfg(strPath, *m_pUi);
}

void CProfileOps::ImportKeyCfg() {
    if (!m_session.Current() || m_view.SelectedFamily() != FAMILY_MOUSE)
        return;
    CBusy busy(m_view);
    const std::string strPath = Chooser().OpenFile("*.kyg", kKygFilter, "kyg");
    if (strPath.empty())
        return;
    m_session.ImportKeyCfg(strPath, *m_pUi);
}
