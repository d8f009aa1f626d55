#pragma once
// The mouse's panels as the main window holds them. Each still shows only its name (and the
// mouse picture its skin image); the panels themselves come later and take these places.
#include "panels/PanelBase.h"

// Mouse picture with the key marks, at [OPT] ptMsMarkDlg.
class CKeyMarkDlg : public CPanelBase {
public:
    static constexpr const char* kPicture = "mouse/mouse_nr.png";
    explicit CKeyMarkDlg(QWidget* pParent) : CPanelBase(pParent, "CKeyMarkDlg", QSize(360, 380)) {
        SetPicture(kPicture);
    }
    // 0 first view, 1 second view of the keys.
    void SetView(int nView) { m_nView = nView; }
    int View() const { return m_nView; }

private:
    int m_nView = 0;
};

// Mouse key panel; the window gives it the key-panel region's size.
class CKeyMsDlg : public CPanelBase {
public:
    explicit CKeyMsDlg(QWidget* pParent) : CPanelBase(pParent, "CKeyMsDlg", QSize(240, 290)) {}
    void SetView(int nView) { m_nView = nView; }
    int View() const { return m_nView; }
    void ShowKeySet(int nKeySet) { m_nKeySet = nKeySet; }
    int KeySet() const { return m_nKeySet; }

private:
    int m_nView = 0;
    int m_nKeySet = 0;
};

// Resolution levels (tab 0).
class CDpiDlg : public CPanelBase {
public:
    explicit CDpiDlg(QWidget* pParent) : CPanelBase(pParent, "CDpiDlg", QSize(245, 190)) {}
    void SelectLevel(int nLevel) { m_nLevel = nLevel; }
    int SelectedLevel() const { return m_nLevel; }

private:
    int m_nLevel = -1;
};

// Mouse lighting (tab 1), one of three layouts chosen by the mouse description.
class CLedMsDlg_8948Std : public CPanelBase {
public:
    explicit CLedMsDlg_8948Std(QWidget* pParent)
        : CPanelBase(pParent, "CLedMsDlg_8948Std", QSize(245, 220)) {}
};
class CLedMsDlg_8948Sig : public CPanelBase {
public:
    explicit CLedMsDlg_8948Sig(QWidget* pParent)
        : CPanelBase(pParent, "CLedMsDlg_8948Sig", QSize(245, 260)) {}
};
class CLedMsDlg_2Light : public CPanelBase {
public:
    explicit CLedMsDlg_2Light(QWidget* pParent)
        : CPanelBase(pParent, "CLedMsDlg_2Light", QSize(245, 300)) {}
};

// The system's pointer settings (tab 2).
class CSysDlg : public CPanelBase {
public:
    explicit CSysDlg(QWidget* pParent) : CPanelBase(pParent, "CSysDlg", QSize(245, 170)) {}
};

// Report rate (tab 3).
class CRateDlg : public CPanelBase {
public:
    explicit CRateDlg(QWidget* pParent) : CPanelBase(pParent, "CRateDlg", QSize(245, 80)) {}
    // The device's rate code 1..4 after its own button changed it.
    void SetRateCode(int nCode) { m_nCode = nCode; }
    int RateCode() const { return m_nCode; }

private:
    int m_nCode = 0;
};

// Lift-off distance (tab 4).
class CLODDlg : public CPanelBase {
public:
    explicit CLODDlg(QWidget* pParent) : CPanelBase(pParent, "CLODDlg", QSize(245, 80)) {}
};

// The light panel variant of a mouse: [OPT] MsFw below 256 the standard one, MsFw >> 8 of 3
// the two-light one, any other the single-light one with its extra list.
CPanelBase* CreateMouseLightPanel(QWidget* pParent, int nMsFw);
