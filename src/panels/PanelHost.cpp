#include "panels/PanelHost.h"

#include "panels/KeyboardPanels.h"
#include "panels/MousePanels.h"
#include "panels/PadPanels.h"

namespace {
template <typename T> CPanelBase* Make(QWidget* pParent, const CGlobalVar&) {
    return new T(pParent);
}

const std::vector<CPanelSlotInfo> kTable = {
    {FAMILY_MOUSE, EPanelSlot::MsPicture, -1, true, false, false, &Make<CKeyMarkDlg>},
    {FAMILY_MOUSE, EPanelSlot::MsDpi, 0, false, true, true, &Make<CDpiDlg>},
    {FAMILY_MOUSE, EPanelSlot::MsSys, 2, false, true, true, &Make<CSysDlg>},
    {FAMILY_MOUSE, EPanelSlot::MsLight, 1, false, true, true,
     [](QWidget* pParent, const CGlobalVar& var) {
         return CreateMouseLightPanel(pParent, var.MsFw);
     }},
    {FAMILY_MOUSE, EPanelSlot::MsRate, 3, false, true, true, &Make<CRateDlg>},
    {FAMILY_MOUSE, EPanelSlot::MsKeys, -1, false, true, false, &Make<CKeyMsDlg>},
    {FAMILY_MOUSE, EPanelSlot::MsLod, 4, false, true, true,
     [](QWidget* pParent, const CGlobalVar& var) -> CPanelBase* {
         return var.Dev.Ms.ShowLOD ? new CLODDlg(pParent) : nullptr;
     }},
    {FAMILY_KEYBOARD, EPanelSlot::KbPicture, -1, true, false, false, &Make<CKBColorDlg>},
    {FAMILY_KEYBOARD, EPanelSlot::KbLight, -1, false, true, true, &Make<CLedKbDlg_816Std>},
    {FAMILY_PAD, EPanelSlot::PadPicture, -1, true, false, false, &Make<CPadMarkDlg>},
    {FAMILY_PAD, EPanelSlot::PadLight, -1, false, true, true, &Make<CLedPadDlg_Std>},
};
} // namespace

const std::vector<CPanelSlotInfo>& PanelTable() {
    return kTable;
}

CPanelHost::CPanelHost(CSession& session, QWidget* pParent)
    : m_session(session), m_pParent(pParent) {
    m_session.AddListener(this);
}

CPanelHost::~CPanelHost() {
    m_session.RemoveListener(this);
}

void CPanelHost::Create(const CPanelPlaces& places) {
    for (const CPanelSlotInfo& row : kTable) {
        if (!m_session.Dev(row.nFamily))
            continue;
        CPanelBase* p = row.pfnCreate(m_pParent, m_session.var);
        if (!p)
            continue;
        p->SetSession(&m_session);
        m_aPanels[size_t(row.eSlot)] = p;
        if (row.eSlot == EPanelSlot::MsKeys)
            p->setGeometry(places.rcKeys);
        else if (row.bPicture)
            p->move(places.ptPicture);
        else if (row.nTab < 0)
            p->move(places.ptTab); // the tab bar lays the mouse's tab panels out itself
        // Only the pictures start shown (and only the first family's, by the family switch).
        p->setVisible(row.bPicture);
    }
}

void CPanelHost::Destroy() {
    for (QPointer<CPanelBase>& p : m_aPanels) {
        delete p.data();
        p = nullptr;
    }
}

CPanelBase* CPanelHost::Panel(EPanelSlot eSlot) const {
    const size_t n = size_t(eSlot);
    return n < m_aPanels.size() ? m_aPanels[n].data() : nullptr;
}

CPanelBase* CPanelHost::TabPanel(int nTab) const {
    for (const CPanelSlotInfo& row : kTable)
        if (row.nFamily == FAMILY_MOUSE && row.nTab == nTab && nTab >= 0)
            return Panel(row.eSlot);
    return nullptr;
}

CPanelBase* CPanelHost::Picture(int nFamily) const {
    for (const CPanelSlotInfo& row : kTable)
        if (row.nFamily == nFamily && row.bPicture)
            return Panel(row.eSlot);
    return nullptr;
}

std::vector<CPanelBase*> CPanelHost::PanelsOf(int nFamily) const {
    std::vector<CPanelBase*> v;
    for (const CPanelSlotInfo& row : kTable)
        if (row.nFamily == nFamily)
            if (CPanelBase* p = Panel(row.eSlot))
                v.push_back(p);
    return v;
}

void CPanelHost::Reload(int nWhich) {
    const Profile* pPro = m_session.Current();
    if (!pPro)
        return;
    for (const CPanelSlotInfo& row : kTable) {
        const bool bWanted = nWhich == RELOAD_ALL        ? row.bReloadAll
                             : nWhich == RELOAD_KEYBOARD ? row.eSlot == EPanelSlot::KbLight
                             : nWhich == RELOAD_PAD      ? row.eSlot == EPanelSlot::PadLight
                                                         : false;
        if (CPanelBase* p = bWanted ? Panel(row.eSlot) : nullptr)
            p->Reload(*pPro);
    }
}

void CPanelHost::Store(int nFamily) {
    if (!m_session.Current())
        return;
    for (const CPanelSlotInfo& row : kTable)
        if (row.nFamily == nFamily && row.bStores)
            if (CPanelBase* p = Panel(row.eSlot))
                p->Store(m_session);
}

void CPanelHost::Retext() {
    for (QPointer<CPanelBase>& p : m_aPanels)
        if (p)
            p->Retext();
}

void CPanelHost::ReloadSkin() {
    for (QPointer<CPanelBase>& p : m_aPanels)
        if (p)
            p->ReloadSkin();
}

void CPanelHost::SetBusy(int nFamily, bool bBusy) {
    if (CPanelBase* p = Picture(nFamily))
        p->SetBusy(bBusy);
}

void CPanelHost::OnSessionChange(const CSessionChange& change) {
    for (QPointer<CPanelBase>& p : m_aPanels)
        if (p)
            p->OnSessionChange(change);
}
