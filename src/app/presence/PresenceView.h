#pragma once
// What device presence needs from the main window. The window implements it; the tests use
// a recording fake. Every call comes on the user-interface thread.
#include <string>

// Texts of the resolution pop-up after the mouse's own buttons changed the level or mode.
struct CNotifyTexts {
    std::string strLevel;  // "DPI-%d"
    std::string strValue;  // "X %d" with ShowXY on an X/Y sensor, else "%d"
    std::string strValue2; // "Y %d", or empty
    std::string strMode;   // empty unless PopByte1 asks for it
};

class IPresenceView {
public:
    virtual ~IPresenceView() = default;

    // Device status button; does nothing when the layout has none.
    virtual void SetDevStatus(const std::string& strCaption, bool bChecked) = 0;
    // Reload the mouse key panel / the resolution panel from the current profile.
    virtual void ReloadKeyPanel() = 0;
    virtual void ReloadDpiPanel() = 0;
    // The resolution panel selects level nLevel (index into the mode's levels).
    virtual void SelectDpiLevel(int nLevel) = 0;
    // Whether the resolution pop-up exists (it does only with a mouse), and showing it.
    virtual bool HasNotifyPopup() const = 0;
    virtual void ShowNotify(const CNotifyTexts& texts) = 0;
    // The report-rate panel takes the device's new rate code 1..4.
    virtual void SetRateCode(int nCode) = 0;
    // The profiles code: follow the mode the device reported (g_nCurMode), and the key-set
    // switch that message 1435 asks for.
    virtual void SyncMode() = 0;
    virtual void SwitchKeySet(int nKeySet) = 0;

    virtual void HideWindow() = 0;
    virtual void CloseWindow() = 0;
    // The skinned message box with the text of an id; returns when it is closed.
    virtual void ShowMessage(const char* pszTextId) = 0;
    virtual bool IsWindowShown() const = 0;
};
