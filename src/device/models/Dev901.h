#pragma once
// Model of the 901 keyboard part that some mice carry. It never applies a profile: it only
// rewrites the keys named in [MS] KeySwVk, so that they switch the mouse's key sets (on) or
// act as ordinary keys again (off).
#include "device/hid/Drv901.h"
#include "device/models/HidDev.h"

inline constexpr int KB901_MATRIX_CODES = KB901_MATRIX_LEN / 4;

class CDev901 : public CHidDev {
public:
    CDev901(CGlobalVar& var, CHidLib* pLib = nullptr, CMacroStore* pMacros = nullptr);

    int GetFamilyCode() const override { return 126; }
    int GetEnterInx() const override { return 124; }
    uint32_t keyinfo_to_hardware_code(const KeyFun& key) override;
    int StMacro_To_HdMacro(const StMacro&, uint8_t*, size_t) override { return 0; }
    int ApplySetting(CApplySnapshot&, IProgressSink*, uint32_t, int) override { return 0; }
    using CHidDev::ApplySetting;
    int UpdateMatrix(int nOn) override;

    CDrv901& Drv901() const { return static_cast<CDrv901&>(*m_pDrv); }
};
