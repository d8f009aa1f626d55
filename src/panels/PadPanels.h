#pragma once
// The pad's panels as the main window holds them; each still shows only its name and the
// pad picture its skin image.
#include "panels/PanelBase.h"

class CPadMarkDlg : public CPanelBase {
public:
    static constexpr const char* kPicture = "pad_nr.png";
    explicit CPadMarkDlg(QWidget* pParent) : CPanelBase(pParent, "CPadMarkDlg", QSize(380, 300)) {
        SetPicture(kPicture);
    }
};

class CLedPadDlg_Std : public CPanelBase {
public:
    explicit CLedPadDlg_Std(QWidget* pParent)
        : CPanelBase(pParent, "CLedPadDlg_Std", QSize(245, 220)) {}
};
