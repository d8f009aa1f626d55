#pragma once
// The main window's panels from one table of (family, slot, factory): the host creates the
// panels of the configured families, places them, shows the pictures, reloads them from the
// current profile, has them store their edits through the session before an apply, re-texts
// and re-skins them, and passes on what the session publishes (profile, mode and device
// changes). A new panel is a row of the table; the window does not change.
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <array>
#include <vector>

#include "panels/PanelBase.h"
#include "session/Session.h"

// Where a panel sits.
enum class EPanelSlot : int {
    MsPicture, // mouse picture at [OPT] ptMsMarkDlg
    MsDpi,     // tab 0
    MsSys,     // tab 2
    MsLight,   // tab 1
    MsRate,    // tab 3
    MsKeys,    // key panel in its region
    MsLod,     // tab 4
    KbPicture, // keyboard picture in the mouse picture's place
    KbLight,   // keyboard light panel at the tab origin
    PadPicture,
    PadLight,
    Count
};
inline constexpr size_t PANEL_SLOT_COUNT = size_t(EPanelSlot::Count);

// Which panels a reload reaches (the profile controls ask for these groups).
enum EPanelReload : int {
    RELOAD_ALL = 0,      // every panel that shows the profile (pictures excepted)
    RELOAD_KEYBOARD = 1, // the keyboard light panel
    RELOAD_PAD = 2,      // the pad light panel
};

// The places the window's geometry gives.
struct CPanelPlaces {
    QPoint ptPicture; // the pictures
    QRect rcKeys;     // the key panel
    QPoint ptTab;     // the tab origin (keyboard and pad light panels)
};

struct CPanelSlotInfo {
    int nFamily; // EFamily
    EPanelSlot eSlot;
    int nTab;        // the mouse tab that opens it, -1 when it is no tab
    bool bPicture;   // a device picture: shown with its family, made busy during operations
    bool bReloadAll; // reloaded with RELOAD_ALL
    bool bStores;    // stores its edits before its family's apply
    // The panel for this installation, or null when the installation has none there.
    CPanelBase* (*pfnCreate)(QWidget* pParent, const CGlobalVar& var);
};

// The rows in reload and store order.
const std::vector<CPanelSlotInfo>& PanelTable();

class CPanelHost : public ISessionListener {
public:
    CPanelHost(CSession& session, QWidget* pParent);
    ~CPanelHost() override;
    CPanelHost(const CPanelHost&) = delete;
    CPanelHost& operator=(const CPanelHost&) = delete;

    // Makes the panels of the configured families, placed and hidden, pictures shown.
    void Create(const CPanelPlaces& places);
    // Deletes the panels (those the window has not deleted already).
    void Destroy();

    CPanelBase* Panel(EPanelSlot eSlot) const;
    template <typename T> T* As(EPanelSlot eSlot) const { return dynamic_cast<T*>(Panel(eSlot)); }
    // The panel of mouse tab nTab, null when none.
    CPanelBase* TabPanel(int nTab) const;
    // The device picture of the family.
    CPanelBase* Picture(int nFamily) const;
    // The panels of a family (in table order).
    std::vector<CPanelBase*> PanelsOf(int nFamily) const;

    void Reload(int nWhich);
    // The family's panels store their edits through the session; the caller holds the
    // profile lock.
    void Store(int nFamily);
    void Retext();
    void ReloadSkin();
    void SetBusy(int nFamily, bool bBusy);

    void OnSessionChange(const CSessionChange& change) override;

private:
    CSession& m_session;
    QWidget* m_pParent;
    std::array<QPointer<CPanelBase>, PANEL_SLOT_COUNT> m_aPanels{};
};
