#pragma once
// What the profile and mode operations need from the main window. The window implements it;
// the tests use a recording fake that answers the boxes. Every call comes on the
// user-interface thread. Only StorePanels is called with the profile lock held; the boxes,
// menus and the progress window never are.
#include <QRect>
#include <cstdint>
#include <string>

#include "device/models/ProgressSink.h"
#include "panels/PanelHost.h" // which panels reload (EPanelReload)

class QWidget;
class ISoundPlayer;

// Menus the profile controls open (handed back as lParam of message 1143).
enum EProfileMenu : int { PROFILE_MENU_LIST = 1, PROFILE_MENU_ACTIONS = 2 };

class IProfileView {
public:
    virtual ~IProfileView() = default;

    // The profile selector shows the name and remembers the id.
    virtual void SetSelector(const std::string& strName, uint32_t dwId) = 0;
    // Exactly the button of nMode (0..2) shows pressed.
    virtual void SetModeButtons(int nMode) = 0;
    // The keyboard picture marks keys that differ from the default table and shows the
    // per-key colours of the current colour group; nothing without a keyboard.
    virtual void RefreshKeyboardMarks() = 0;
    virtual void ReloadPanels(int nWhich) = 0;
    // The key panel shows key set nSet of the current mode.
    virtual void ShowKeySet(int nSet) = 0;
    // The resolution panel selects level nLevel.
    virtual void SetResolutionLevel(int nLevel) = 0;
    // The family's panels store their widgets into the current profile (mouse: resolution,
    // pointer, mouse light, report rate, lift-off; keyboard: keyboard light; pad: pad light).
    // Called with the profile lock held: it must not take the lock itself.
    virtual void StorePanels(int nFamily) = 0;

    // The family selected in the device list (EFamily), FAMILY_NONE when none is configured.
    virtual int SelectedFamily() const = 0;
    // The window's family switch: pictures, panels, tab bar, mode and macro buttons.
    virtual void SwitchFamily(int nFamily) = 0;
    // Busy flag of the picture of the selected family.
    virtual void SetBusy(bool bBusy) = 0;

    // Report-rate panel: the alternative rate list on or off.
    virtual void SetRateAlternative(bool bOn) = 0;
    // Report-rate tab (tab 3) shown or hidden.
    virtual void ShowRateTab(bool bShow) = 0;
    // The open tab, -1 when none; laying the tab bar out again with nOpen open.
    virtual int OpenTab() const = 0;
    virtual void LayoutTabs(int nOpen) = 0;

    // Skinned message box: telling, asking yes/no (true for yes), asking for a name (true
    // with a non-empty name in strOut).
    virtual void Message(const std::string& strText) = 0;
    virtual bool Confirm(const std::string& strText) = 0;
    virtual bool Input(const std::string& strPrompt, std::string& strOut) = 0;

    // A progress sink for the next apply request; the same sink goes to RunProgress.
    virtual IProgressSink* NewProgressSink() = 0;
    // Shows the progress window of the request that reports to pSink ("MyProgressDlg":
    // skins/progress_nr.png and progress_ov.png of the program directory, bar 45,101,486,123,
    // text tc_msg12 in 15,12,455,32, range 0..100 at 0) and runs it modally until the apply
    // thread closes it (at once when it closed it already).
    virtual void RunProgress(IProgressSink* pSink) = 0;

    // The profile sound player.
    virtual ISoundPlayer& Sound() = 0;

    // The window that owns the menus (receives message 1143) and parents the boxes.
    virtual QWidget* Window() = 0;
    // Screen rectangle of the button that opens the menu of that kind.
    virtual QRect MenuAnchor(int nKind) const = 0;
};
