#pragma once
// Model of the 816 keyboard family: the configuration block with the lighting, the colour
// table of the light effects, the per-key colour pages of the colour groups, the hardware
// macros and the 1024-byte key matrix with its two Fn tables. The same model drives a
// mouse's companion keyboard, where UpdateMatrix rewrites the key-set switch keys.
#include "device/hid/Drv816.h"
#include "device/models/Dev816Blocks.h"
#include "device/models/HidDev.h"

class CDev816 : public CHidDev {
public:
    CDev816(CGlobalVar& var, CHidLib* pLib = nullptr, CMacroStore* pMacros = nullptr);

    int GetFamilyCode() const override { return 130; }
    int GetEnterInx() const override { return 130; }
    void FillDefault(Profile& pro) override;
    uint32_t keyinfo_to_hardware_code(const KeyFun& key) override;
    // Writes the 128-byte hardware macro; nCap must hold KB816_MACRO_LEN bytes.
    int StMacro_To_HdMacro(const StMacro& mac, uint8_t* pOut, size_t nCap) override;
    // nFlag bit 0 keys, macros and key matrix; bit 1 configuration block and colour table;
    // bit 2 per-key colours of all groups; bit 4 those of the current group only.
    int ApplySetting(CApplySnapshot& snap, IProgressSink* pWnd, uint32_t nMsg, int nFlag) override;
    using CHidDev::ApplySetting;
    int UpdateMatrix(int nOn) override;

    // The code of a key function placed at key-matrix position nPos (Enter depends on it),
    // macros from stores (the constructor's when not given).
    uint32_t HardwareCodeAt(const KeyFun& key, int nPos);
    uint32_t HardwareCodeAt(const KeyFun& key, int nPos, const CApplyStores& stores);
    // The key matrix, Fn tables and macro slots of a profile, without any transfer. False
    // when the profile binds more macros than the device has buffer numbers for. Leaves
    // buffer numbers in the macro store (stores, or the constructor's when not given); the
    // caller clears them.
    bool FillMatrix(const Profile& pro, CKb816Matrix& mx);
    bool FillMatrix(const Profile& pro, CKb816Matrix& mx, const CApplyStores& stores);
    // The [MS] KeySwVk keys that switch a mouse's key sets.
    void SetKeySwitchKeys(CKb816Matrix& mx);

    CDrv816& Drv816() const { return static_cast<CDrv816&>(*m_pDrv); }

private:
    // The steps of an apply; false when a failure ends it.
    bool SendPassword();
    bool LoadConfig(const Profile& pro, uint8_t byCfg[KB_CFG_LEN], bool& bRead, int nReset);
    bool SendLedPages(const Profile& pro, int nFlag);
    bool SendKeys(const Profile& pro, const CApplyStores& stores);
    bool SendMatrix(const CKb816Matrix& mx);
    // A failed transfer ends the apply unless the user chose to go on without a device.
    bool GoOn() const { return m_var.GoWithNoDev != 0; }
};
