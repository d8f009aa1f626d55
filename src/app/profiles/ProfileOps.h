#pragma once
// Profiles and modes as the main window does them: loading the store once, selecting,
// creating, renaming and deleting profiles, the two profile menus, the mouse modes, the
// key-set switch, apply and reset, and the profile sound.
//
// The current profile is written only under the shell's profile lock, which is never held
// while a box, a menu or the progress window is up (the apply threads snapshot under it).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/ShellState.h"
#include "app/profiles/FileChooser.h"
#include "app/profiles/ProfileView.h"
#include "widgets/menuex/MenuEntry.h"

class CMacroStore;

inline constexpr int PROFILE_CREATE_MAX = 12; // profiles the new-profile button allows
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

inline constexpr uint32_t WM_KEYSET_SWITCH = 1435;

class CProfileOps {
public:
    // The stores are the ones exported and imported profiles take their macros from and
    // put them into (MacroStore and BulletStore in the program).
    CProfileOps(CShellState& state, IProfileView& view, CMacroStore& macros,
                CMacroStore& bullets);
    ~CProfileOps();
    CProfileOps(const CProfileOps&) = delete;
    CProfileOps& operator=(const CProfileOps&) = delete;

    // QFileDialog by default; tests put their own chooser in. The caller keeps ownership.
    void SetFileChooser(IFileChooser* pChooser);

    // Loading: once per run. Load empties the list, reads pro.dct and curid.dct, appends
    // ProfileNum defaults when either gave nothing, and makes the stored id current.
    void LoadProfiles();
    bool Loaded() const { return m_bLoaded; }
    // Command "show": loads when nothing is loaded, selects the current profile and plays
    // its sound (or tells that its file is missing).
    void OnShow();

    // The selector shows the profile, it becomes current and the window is refreshed.
    bool SelectProfile(uint32_t dwId);
    // "Init UI Layout", mode refresh, all panels, family switch.
    void RefreshWindow();
    void RefreshModes();
    // Key set 0 of every mode from the ProCfg.ini preset of the profile's list position.
    void ResetKeys(Profile& profile);

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

private:
    struct CBusy;
    void Select(Profile* p);
    IFileChooser& Chooser();
    bool GunFw() const;
    bool GunCheckFails(const Profile& profile) const;
    void ShowMenu(int nKind, int nWidth, const std::vector<MenuEntry>& vEntries);
    void SaveStore();
    std::string SoundPath() const;

    CShellState& m_state;
    IProfileView& m_view;
    CMacroStore& m_macros;
    CMacroStore& m_bullets;
    std::unique_ptr<IFileChooser> m_pOwnChooser;
    IFileChooser* m_pChooser = nullptr;
    bool m_bLoaded = false;
};
