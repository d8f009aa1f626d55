#pragma once
// Model of the 8948 mouse family. The defaults, the key-set lookup and the entry checks are
// here; the encoder that turns a profile into the mouse's tables is not written yet, so
// ApplySetting refuses and says so.
#include "device/hid/Drv8948.h"
#include "device/models/HidDev.h"

class CDev8948 : public CHidDev {
public:
    CDev8948(CGlobalVar& var, CHidLib* pLib = nullptr, CMacroStore* pMacros = nullptr);

    int GetFamilyCode() const override { return 10; }
    int GetEnterInx() const override { return 1; }
    void FillDefault(Profile& pro) override;
    int ApplySetting(const Profile& pro, IProgressSink* pWnd, uint32_t nMsg, int nFlag) override;
    // Resolution levels of every mode from the sensor's description; a sensor missing from
    // the sensor table leaves the profile as it is.
    void SetSensorDefault(Profile& pro, int nSensor) override;
    // Mode -1: the profile's nMode; set -1: that mode's nKeySet. Null outside 0..2 / 0..4.
    KeyAssign* GetKeySet(Profile& pro, int nMode, int nSet) override;
    int UpdateMatrix(int) override { return 0; }

    CDrv8948& Drv8948() const { return static_cast<CDrv8948&>(*m_pDrv); }
};
