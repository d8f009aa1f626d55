#pragma once
// CVelkinDlg: the program's only top-level window. It owns the device objects (through
// CSession), builds the skinned layout for the configured families, hosts the feature
// panels, the profile controls, the device list and the tray icon, and routes the messages
// other threads, panels and the tray send to the user interface. Profiles and modes are
// CProfileOps, device presence CDevicePresence; both talk back through the views below.
#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <array>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "app/MainGeometry.h"
#include "app/dialogs/MainWindowSkin.h"
#include "app/presence/PresenceView.h"
#include "app/profiles/ProfileView.h"
#include "platform/WndMessageIds.h"
#include "session/Session.h"

class QEventLoop;
class QMenu;
class QSystemTrayIcon;
class CDevicePresence;
class CDpiDlg;
class CKBColorDlg;
class CKeyMarkDlg;
class CKeyMsDlg;
class CLedKbDlg_816Std;
class CLedPadDlg_Std;
class CNotifyDlg;
class CPadMarkDlg;
class CPanelBase;
class CPanelHost;
class CPngBtn;
class CProfileOps;
class CProgressChannel;
class CQtWndTarget;
class CRateDlg;
class CSimSession;
class CTreeCtrlEx;

// The main window's own messages and commands.
// (The message numbers it shares with other parts are in platform/WndMessageIds.h.)
enum : uint32_t {
    CMD_CONFIG = 0x6000,
    CMD_EXIT = 0x6001,
};

class CVelkinDlg : public QWidget,
                   public IMainWindowSkin,
                   public IPresenceView,
                   public IProfileView {
    Q_OBJECT
public:
    enum : int {
        ID_MIN = 2001,
        ID_CLOSE,
        ID_RESET,
        ID_APPLY,
        ID_MACRO,
        ID_BULLET,
        ID_PROFILE_SEL,
        ID_NEW_PRO,
        ID_DEL_PRO,
        ID_PRO_MENU,
        ID_OPTIONS,
        ID_HOME,
        ID_WEB1,
        ID_WEB2,
        ID_DEV_STATUS,
        ID_MODE0, // three mode buttons
        ID_VIEW0 = ID_MODE0 + 3,
        ID_TAB0 = ID_VIEW0 + 2, // five tab headers
        ID_LAST = ID_TAB0 + 5,
    };
    static constexpr int kDevListId = 256;
    // The skin images of the window's own buttons and tab headers (each with _nr.png and
    // _ov.png), which start-up decodes ahead.
    static constexpr const char* kButtonImages[] = {"min", "exit", "button3", "btn",   "combo",
                                                    "add", "del",  "dot",     "header"};
    static constexpr int kTabCount = 5;

    explicit CVelkinDlg(QWidget* pParent = nullptr);
    ~CVelkinDlg() override; // the closing order

    // Before InitDialog: the simulation session (null: real devices), the profile sound
    // player (null: the window's own) and the start-up benchmark's switch.
    void SetSimSession(CSimSession* pSim) { m_pSim = pSim; }
    void SetSoundPlayer(ISoundPlayer* pSound) { m_pSoundOverride = pSound; }
    void SetQuitAfterFirstPaint(bool b) { m_bQuitAfterFirstPaint = b; }

    // Window initialisation, steps 1..16. False when start-up stopped (the reason was
    // shown); the window is then ended.
    bool InitDialog();
    // InitDialog, then the modal loop until the window ends; returns the end code.
    int DoModal();
    void EndDialog(int nResult);
    bool IsEnded() const { return m_bEnded; }

    // Commands and buttons as their controls start them.
    void OnCommand(int nId);
    void OnConfig();
    void OnExit();
    void OnQueryEndSession();
    void OpenTab(int nTab);
    void SwitchFamily(int nFamily) override;

    // The parts, for the helpers and tests.
    CSession& State() { return m_state; }
    CProfileOps* ProfileOps() const { return m_pProfiles.get(); }
    CDevicePresence* Presence() const { return m_pPresence.get(); }
    CPngBtn* Button(int nId) const;
    CPngBtn* Selector() const { return m_pSelector; }
    uint32_t SelectorId() const { return m_dwSelectorId; }
    CTreeCtrlEx* DevList() const { return m_pDevList; }
    QSystemTrayIcon* TrayIcon() const { return m_pTray; }
    QMenu* TrayMenu() const { return m_pTrayMenu.get(); }
    bool WindowShown() const { return m_bWindowShown; }
    const CMainGeometry& Geometry() const { return m_geo; }
    CPanelBase* TabPanel(int nTab) const;
    CPanelHost* Panels() const { return m_pPanels.get(); }
    // The panels the window itself talks to (views, key sets, levels, the keyboard picture's
    // messages); null when the installation has none.
    CKeyMarkDlg* MousePicture() const;
    CKeyMsDlg* KeyPanel() const;
    CDpiDlg* DpiPanel() const;
    CRateDlg* RatePanel() const;
    CKBColorDlg* KeyboardPicture() const;
    CLedKbDlg_816Std* KeyboardLight() const;
    CPadMarkDlg* PadPicture() const;
    CLedPadDlg_Std* PadLight() const;
    CNotifyDlg* NotifyPopup() const { return m_pNotify; }
    bool TabVisible(int nTab) const;
    const QImage& Background() const { return m_imgBkg; }
    // What is drawn on the background now, in drawing order: "tc_protitle", "version",
    // "tc_msg22".
    std::vector<std::string> DrawnTexts() const;

    // IMainWindowSkin
    void RetextAll() override;
    void ReloadSkin() override;

    // IPresenceView
    void SetDevStatus(const std::string& strCaption, bool bChecked) override;
    void ReloadKeyPanel() override;
    void ReloadDpiPanel() override;
    void SelectDpiLevel(int nLevel) override;
    bool HasNotifyPopup() const override;
    void ShowNotify(const CNotifyTexts& texts) override;
    void SetRateCode(int nCode) override;
    void SyncMode() override;
    void SwitchKeySet(int nKeySet) override;
    void HideWindow() override;
    void CloseWindow() override;
    void ShowMessage(const char* pszTextId) override;
    bool IsWindowShown() const override;

    // IProfileView
    void SetSelector(const std::string& strName, uint32_t dwId) override;
    void SetModeButtons(int nMode) override;
    void RefreshKeyboardMarks() override;
    void ReloadPanels(int nWhich) override;
    void ShowKeySet(int nSet) override;
    void SetResolutionLevel(int nLevel) override;
    void StorePanels(int nFamily) override;
    int SelectedFamily() const override { return m_nFamily; }
    void SetBusy(bool bBusy) override;
    void SetRateAlternative(bool bOn) override;
    void ShowRateTab(bool bShow) override;
    int OpenTab() const override { return m_nOpenTab; }
    void LayoutTabs(int nOpen) override;
    void Message(const std::string& strText) override;
    bool Confirm(const std::string& strText) override;
    bool Input(const std::string& strPrompt, std::string& strOut) override;
    IProgressSink* NewProgressSink() override;
    void RunProgress(IProgressSink* pSink) override;
    ISoundPlayer& Sound() override;
    QWidget* Window() override { return this; }
    QRect MenuAnchor(int nKind) const override;

protected:
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void closeEvent(QCloseEvent*) override;

public:
    void setVisible(bool bVisible) override;
    // The key filter for every control of the window (installed on the application).
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // Start-up parts.
    // appico.ico of the program directory, else the built-in icon (logged when bLog).
    void LoadAppIcon(bool bLog);
    bool CreateDevices();
    bool FindDevices();
    bool BuildLayout();
    // The window shape from the background and clrMask: started on another core, set by
    // Finish (no mask colour: no shape, and Finish does nothing).
    std::future<QRegion> StartWindowShape();
    void FinishWindowShape(std::future<QRegion> futShape);
    void CreateButtons();
    void CreatePanels();
    void CreateDevList();
    void StartApplyThreads();
    void StartPresence();
    void CreateTray();
    // Messages.
    bool OnWndMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam);
    void OnTrayNotify(intptr_t lParam);
    void OnKbKeyClicked(uintptr_t wParam, intptr_t lParam);
    void OnDevListClick(uintptr_t wParam, intptr_t lParam);
    bool FilterKey(QKeyEvent* pEvent);
    // Buttons.
    void OnCloseButton();
    void OnOptions();
    void OnView(int nView);
    void OpenUrlText(const char* pszTextId);
    void UpdateModeButtons();
    void PlaceMacroButtons(int nFamily);
    void UpdateCursor(const QPoint& pt);
    QRect HomeRect() const;
    // Closing.
    void DestroyWindow();
    void RunExitCommand();
    // Shows the skinned box; its text is also the box's accessible description, which is
    // how the tests read what the user was told.
    int SkinnedBox(int nMode, const std::string& strText, std::string* pstrOut = nullptr);
    CPanelBase* PictureOf(int nFamily) const;
    // The host's panel in that slot as the type the window talks to; null when none.
    template <typename T> T* PanelAt(EPanelSlot eSlot) const;

    // Declared first so it is destroyed last: the apply threads of m_state use it.
    std::unique_ptr<CProgressChannel> m_pProgress;
    CSession m_state;
    std::unique_ptr<CQtWndTarget> m_pWndTarget;
    std::unique_ptr<CProfileOps> m_pProfiles;
    std::unique_ptr<CDevicePresence> m_pPresence;
    std::unique_ptr<ISoundPlayer> m_pOwnSound;
    ISoundPlayer* m_pSoundOverride = nullptr;
    CSimSession* m_pSim = nullptr;

    bool m_bWindowShown = true;
    bool m_bInitDone = false;
    bool m_bEnded = false;
    bool m_bDestroyed = false;
    bool m_bQuitAfterFirstPaint = false;
    bool m_bPainted = false;
    int m_nEndCode = 0;
    QEventLoop* m_pLoop = nullptr;
    bool m_bMouseFound = false;

    QImage m_imgBkg;
    CMainGeometry m_geo;
    std::array<QPointer<CPngBtn>, ID_LAST - ID_MIN> m_aButtons{};
    CPngBtn* m_pSelector = nullptr;
    uint32_t m_dwSelectorId = 0;
    CTreeCtrlEx* m_pDevList = nullptr;
    QSystemTrayIcon* m_pTray = nullptr;
    std::unique_ptr<QMenu> m_pTrayMenu;

    std::unique_ptr<CPanelHost> m_pPanels;
    CNotifyDlg* m_pNotify = nullptr;

    int m_nFamily = FAMILY_NONE;
    int m_nOpenTab = -1;
    bool m_bRateTabShown = true;
    bool m_bDragging = false;
    QPoint m_ptDrag;
};
