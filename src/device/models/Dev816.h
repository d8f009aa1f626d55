#pragma once
// Model of the 816 keyboard family. The defaults are here; the encoder of the key matrix,
// macros and lighting is not written yet, so ApplySetting and UpdateMatrix refuse and say
// so.
#include "device/hid/Drv816.h"
#include "device/models/HidDev.h"

class CDev816 : public CHidDev {
public:
    CDev816(CGlobalVar& var, CHidLib* pLib = nullptr, CMacroStore* pMacros = nullptr);

    int GetFamilyCode() const override { return 130; }
    int GetEnterInx() const override { return 130; }
    void FillDefault(Profile& pro) override;
    int ApplySetting(const Profile& pro, IProgressSink* pWnd, uint32_t nMsg, int nFlag) override;
    int UpdateMatrix(int nOn) override;

    CDrv816& Drv816() const { return static_cast<CDrv816&>(*m_pDrv); }
};
