#pragma once
// Profiles and modes as the main window shows them: the profile controls and their two
// menus, the mode buttons, the key-set switch, apply and reset with the progress window, and
// the profile sound. What each operation does to the profiles and its rules are the
// session's; this class asks the session, shows the boxes, keeps the picture's busy flag
// and refreshes the window when the session tells it something changed.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/profiles/FileChooser.h"
#include "app/profiles/ProfileView.h"
#include "platform/WndMessageIds.h"
#include "session/Session.h"
#include "widgets/menuex/MenuEntry.h"

inline constexpr int PROFILE_LIST_MENU_WIDTH = 187;
inline constexpr int PROFILE_MENU_WIDTH = 160;

// Item ids of the profile menu.
enum EProfileMenuItem : uint32_t {
    PROMENU_EXPORT_PROFILE = 3,
    PROMENU_IMPORT_PROFILE = 4,
    PROMENU_EXPORT_KEYCFG = 5,
    PROMENU_IMPORT_KEYCFG = 6,
    PROMENU_RENAME = 7,
};

class CProfileOps : public ISessionListener {
public:
    CProfileOps(CSession& session, IProfileView& view);
    ~CProfileOps();
    CProfileOps(const CProfileOps&) = delete;
    CProfileOps& operator=(const CProfileOps&) = delete;

    // QFileDialog by default; tests put their own chooser in. The caller keeps ownership.
    void SetFileChooser(IFileChooser* pChooser);

    // Loading: once per run (the session's first-start loading).
    void LoadProfiles();
    bool Loaded() const { return m_session.Loaded(); }
    // Command "show": loads when nothing is loaded, selects the current profile and plays
    // its sound (or tells that its file is missing).
    void OnShow();

    // The selector shows the profile, it becomes current and the window is refreshed.
    bool SelectProfile(uint32_t dwId);
    // "Init UI Layout", mode refresh, all panels, family switch.
    void RefreshWindow();
    void RefreshModes();

    // Buttons.
    void OnSelectorButton();
    void OnMenuButton();
    void OnNewProfile();
    void OnDeleteProfile();
    void OnRename();
    // Mode button 1..3.
    void OnModeButton(int nButton);
    void Apply();
    void Reset();

    // Message 1143 (wParam item id, lParam menu kind) and 1435 (wParam key set).
    void OnMenu(uintptr_t wParam, intptr_t lParam);
    void OnKeySetSwitch(uintptr_t wParam);

    void SwitchMode(int nMode, bool bWrite);
    void SyncMode();

    // Menu items 3..6.
    void ExportProfile();
    void ImportProfile();
    void ExportKeyCfg();
    void ImportKeyCfg();

    // The profile sound after the options dialog (bOk: closed with OK) and at the close
    // button.
    void OnOptionsClosed(bool bOk);
    void OnCloseButton();

    // The menus' entries, as shown.
    std::vector<MenuEntry> ProfileListEntries() const;
    std::vector<MenuEntry> ProfileMenuEntries() const;

    // ISessionListener: the window follows what the session changed.
    void OnSessionChange(const CSessionChange& change) override;

private:
    struct CBusy;
    class CViewUi;
    IFileChooser& Chooser();
    void ShowMenu(int nKind, int nWidth, const std::vector<MenuEntry>& vEntries);

    CSession& m_session;
    IProfileView& m_view;
    std::unique_ptr<CViewUi> m_pUi;
    std::unique_ptr<IFileChooser> m_pOwnChooser;
    IFileChooser* m_pChooser = nullptr;
};
