// New, delete and rename, and the two menus of the profile controls.
#include <memory>

#include "app/profiles/ProfileOps.h"
#include "app/profiles/ProfileOpsInternal.h"
#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "widgets/menuex/MenuEx.h"

void CProfileOps::OnNewProfile() {
    // The limit is told before the picture is made busy, as the name box would be.
    if (!m_session.CheckProfileLimit(*m_pUi))
        return;
    CBusy busy(m_view);
    m_session.NewProfile(*m_pUi);
}

void CProfileOps::OnDeleteProfile() {
    CBusy busy(m_view);
    const Profile* pCur = m_session.Current();
    if (m_session.proList.Count() > 1 && !pCur)
        return;
    m_session.DeleteProfile(pCur ? pCur->dwId : 0, *m_pUi);
}

void CProfileOps::OnRename() {
    const Profile* pCur = m_session.Current();
    if (!pCur)
        return;
    CBusy busy(m_view);
    m_session.RenameProfile(pCur->dwId, *m_pUi);
}

std::vector<MenuEntry> CProfileOps::ProfileListEntries() const {
    std::vector<MenuEntry> v;
    for (const Profile& p : m_session.proList.List()) {
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
    if (m_session.GunFw()) {
        if (!Txt("tc_ms19").empty())
            v.push_back(MakeMenuEntry(kMenuTopLevel, PROMENU_EXPORT_KEYCFG, Txt("tc_ms19")));
        if (!Txt("tc_ms20").empty())
            v.push_back(MakeMenuEntry(kMenuTopLevel, PROMENU_IMPORT_KEYCFG, Txt("tc_ms20")));
    }
    v.push_back(MakeMenuEntry(kMenuTopLevel, PROMENU_RENAME, Txt("tc_macro_msg20")));
    return v;
}

void CProfileOps::ShowMenu(int nKind, int nWidth, const std::vector<MenuEntry>& vEntries) {
    const CGlobalVar& var = m_session.var;
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
        const Profile* p = m_session.Current();
        if (!p || p->dwId != wParam)
            SelectProfile(uint32_t(wParam));
        return;
    }
    if (lParam != PROFILE_MENU_ACTIONS)
        return;
    switch (wParam) {
    case PROMENU_EXPORT_PROFILE:
        ExportProfile();
        break;
    case PROMENU_IMPORT_PROFILE:
        ImportProfile();
        break;
    case PROMENU_EXPORT_KEYCFG:
        ExportKeyCfg();
        break;
    case PROMENU_IMPORT_KEYCFG:
        ImportKeyCfg();
        break;
    case PROMENU_RENAME:
        OnRename();
        break;
    default:
        break;
    }
}
