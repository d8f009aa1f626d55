// New, delete and rename, and the two menus of the profile controls.
#include <QString>
#include <memory>

#include "app/profiles/ProfileOps.h"
#include "app/profiles/ProfileOpsInternal.h"
#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "widgets/menuex/MenuEx.h"

namespace {
// A name as the record would store it (cut to 19 characters).
std::string StoredName(const std::string& strName) {
    char16_t sz[PROFILE_NAME_LEN];
    SetWideField(sz, PROFILE_NAME_LEN, strName);
    return GetWideField(sz, PROFILE_NAME_LEN);
}

bool SameName(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}
} // namespace

void CProfileOps::OnNewProfile() {
    CProList& list = m_state.proList;
    if (list.Count() >= size_t(PROFILE_CREATE_MAX)) {
        m_view.Message("The number of profile has reached it's maximum");
        return;
    }
    CBusy busy(m_view);
    std::string strName;
    if (!m_view.Input(Txt("tc_msg3"), strName))
        return;
    // Compared as stored, so a longer name cannot make a second profile of the same name.
    const std::string strStored = StoredName(strName);
    for (const Profile& p : list.List()) {
        if (SameName(strStored, ProfileName(p))) {
            m_view.Message(Txt("tc_msg20"));
            return;
        }
    }
    auto pNew = std::make_unique<Profile>();
    list.CreateDefault(*pNew, strName);
    Profile* pAdded = nullptr;
    {
        auto lock = m_state.LockProfile();
        pAdded = list.AddCopy(*pNew);
    }
    if (!pAdded) {
        LogPrint("New profile: out of memory");
        return;
    }
    Select(pAdded);
    SaveStore();
}

void CProfileOps::OnDeleteProfile() {
    CBusy busy(m_view);
    CProList& list = m_state.proList;
    if (list.Count() <= 1) {
        m_view.Message(Txt("tc_msg8"));
        return;
    }
    if (!m_view.Confirm(Txt("tc_msg6")))
        return;
    Profile* pCur = m_state.Current();
    if (!pCur)
        return;
    {
        auto lock = m_state.LockProfile();
        list.Remove(list.FindById(pCur->dwId));
        list.SetCurrent(list.List().Head());
    }
    Select(list.List().Head());
    SaveStore();
}

void CProfileOps::OnRename() {
    if (!m_state.Current())
        return;
    CBusy busy(m_view);
    std::string strName;
    if (!m_view.Input(Txt("tc_msg3"), strName))
        return;
    Profile* p = m_state.Current(); // the box ran its own event loop
    if (!p)
        return;
    {
        auto lock = m_state.LockProfile();
        SetWideField(p->szName, PROFILE_NAME_LEN, strName);
    }
    m_view.SetSelector(ProfileName(*p), p->dwId);
}

std::vector<MenuEntry> CProfileOps::ProfileListEntries() const {
    std::vector<MenuEntry> v;
    for (const Profile& p : m_state.proList.List()) {
        if (v.size() >= size_t(kMenuMaxEntries))
            break;
        v.push_back(MakeMenuEntry(kMenuTopLevel, p.dwId, ProfileName(p)));
    }
    return v;
}

std::vector<MenuEntry> CProfileOps::ProfileMenuEntries() const {
    std::vector<MenuEntry> v;
    v.push_back(MakeMenuEntry(kMenuTopLevel, PROMENU_EXPORT_PROFILE, Txt("tc_msg4")));
    v.push_back(MakeMenuEntry(kMenuTopLevel, PROMENU_IMPORT_PROFILE, Txt("tc_msg5")));
    if (GunFw()) {
        if (!Txt("tc_ms19").empty())
            v.push_back(MakeMenuEntry(kMenuTopLevel, PROMENU_EXPORT_KEYCFG, Txt("tc_ms19")));
        if (!Txt("tc_ms20").empty())
            v.push_back(MakeMenuEntry(kMenuTopLevel, PROMENU_IMPORT_KEYCFG, Txt("tc_ms20")));
    }
    v.push_back(MakeMenuEntry(kMenuTopLevel, PROMENU_RENAME, Txt("tc_macro_msg20")));
    return v;
}

void CProfileOps::ShowMenu(int nKind, int nWidth, const std::vector<MenuEntry>& vEntries) {
    const CGlobalVar& var = m_state.var;
    MenuExRequest req;
    req.pOwner = m_view.Window();
    req.nWidth = nWidth;
    req.ptAnchor = m_view.MenuAnchor(nKind).bottomLeft();
    req.clrTextNr = var.Menu_txt_clr_nr;
    req.clrTextOv = var.Menu_txt_clr_ov;
    req.clrTextDn = var.Menu_txt_clr_dn;
    req.images = MenuExImagesIn(GetSkinDir(var));
    req.nKind = nKind;
    CreateMenuEx(req, vEntries.data(), int(vEntries.size()));
}

void CProfileOps::OnSelectorButton() {
    ShowMenu(PROFILE_MENU_LIST, PROFILE_LIST_MENU_WIDTH, ProfileListEntries());
}

void CProfileOps::OnMenuButton() {
    ShowMenu(PROFILE_MENU_ACTIONS, PROFILE_MENU_WIDTH, ProfileMenuEntries());
}

void CProfileOps::OnMenu(uintptr_t wParam, intptr_t lParam) {
    if (lParam == PROFILE_MENU_LIST) {
        const Profile* p = m_state.Current();
        if (!p || p->dwId != wParam)
            SelectProfile(uint32_t(wParam));
        return;
    }
    if (lParam != PROFILE_MENU_ACTIONS)
        return;
    switch (wParam) {
    case PROMENU_EXPORT_PROFILE: ExportProfile(); break;
    case PROMENU_IMPORT_PROFILE: ImportProfile(); break;
    case PROMENU_EXPORT_KEYCFG: ExportKeyCfg(); break;
    case PROMENU_IMPORT_KEYCFG: ImportKeyCfg(); break;
    case PROMENU_RENAME: OnRename(); break;
    default: break;
    }
}
