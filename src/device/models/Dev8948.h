#pragma once
// Model of the 8948 mouse family: defaults, the key-set lookup and the encoder that turns
// the mouse region of a profile into the mouse's tables (key matrices, hardware macros,
// general data, gun data) and writes them with the 8948 commands.
#include <array>
#include <cstdint>

#include "device/hid/Drv8948.h"
#include "device/models/HidDev.h"

class IProgressSink;

inline constexpr int MS_MACRO_BUFFERS = 14;  // ordinary macros of one apply
inline constexpr int MS_BULLET_BUFFERS = 10; // bullet macros of one apply
inline constexpr int MS_BUFFER_LEN = 512;
inline constexpr uint32_t MS_KEY_OFF = 0x150; // class 8 code 162: key switched off

using MsMatrix = std::array<uint32_t, MS_MATRIX_KEYS>;

// Macros and bullet macros converted for one apply, and every mode's matrix.
struct MsMacroAreas {
    uint8_t byMacro[MS_MACRO_BUFFERS][MS_BUFFER_LEN];
    uint8_t byBullet[MS_BULLET_BUFFERS][MS_BUFFER_LEN];
    int nMacros = 0;
    int nBullets = 0;
    int nRefused = 0; // distinct macros that found no free buffer
    MsMatrix Matrix[MS_PROFILE_MODES];
};

class CDev8948 : public CHidDev {
public:
    // Bullet keys look their macros up in pBullets (the program's BulletStore when null).
    CDev8948(CGlobalVar& var, CHidLib* pLib = nullptr, CMacroStore* pMacros = nullptr,
             CMacroStore* pBullets = nullptr);

    int GetFamilyCode() const override { return 10; }
    int GetEnterInx() const override { return 1; }
    void FillDefault(Profile& pro) override;
    uint32_t keyinfo_to_hardware_code(const KeyFun& key) override;
    int StMacro_To_HdMacro(const StMacro& mac, uint8_t* pOut, size_t nCap) override;
    int ApplySetting(CApplySnapshot& snap, IProgressSink* pWnd, uint32_t nMsg, int nFlag) override;
    using CHidDev::ApplySetting;
    // Resolution levels of every mode from the sensor's description; a sensor missing from
    // the sensor table leaves the profile as it is.
    void SetSensorDefault(Profile& pro, int nSensor) override;
    // Mode -1: the profile's nMode; set -1: that mode's nKeySet. Null outside 0..2 / 0..4.
    KeyAssign* GetKeySet(Profile& pro, int nMode, int nSet) override;
    int UpdateMatrix(int) override { return 0; }

    // The hardware form of a bullet macro (bullet rules) and its length.
    int BulletToHdMacro(const StMacro& mac, uint8_t* pOut, size_t nCap) const;
    // The code of a key function with its macros looked up in stores.
    uint32_t HardwareCode(const KeyFun& key, const CApplyStores& stores);
    // The 20 codes of one mode's selected key set, bullet and gun entries numbered; macros
    // from stores (the constructor's when not given).
    MsMatrix FillMatrix(const MsMode& mode);
    MsMatrix FillMatrix(const MsMode& mode, const CApplyStores& stores);
    // Fills every mode's matrix below nModes and converts the macros and bullet macros the
    // keys use into the areas, giving each macro its buffer number (byBufferId) in stores
    // (the constructor's when not given).
    void AssignBuffers(const MsSettings& ms, int nModes, MsMacroAreas& areas);
    void AssignBuffers(const MsSettings& ms, int nModes, MsMacroAreas& areas,
                       const CApplyStores& stores);
    // Number of modes the matrices are written for.
    int ModeCount() const;
    // General data of one mode, changed in place in the block read from the device. The
    // current level is nCurLevel (the mouse's g_nCurDpiLevel of the mode when not given);
    // the sensor's default level when it is negative.
    void BuildGeneral(const MsMode& mode, int nModeIndex, uint8_t byGeneral[MS_GENERAL_LEN]);
    void BuildGeneral(const MsMode& mode, int nModeIndex, int nCurLevel,
                      uint8_t byGeneral[MS_GENERAL_LEN]);
    // Gun data of one mode from its matrix; false when the mode has nothing to send.
    bool BuildGunData(const MsMode& mode, int nModeIndex, const MsMatrix& matrix,
                      uint8_t byGun[MS_GUN_LEN]);
    // Sets every macro's and bullet macro's buffer number back to 0.
    void ClearBufferIds();
    static void ClearBufferIds(const CApplyStores& stores);

    CDrv8948& Drv8948() const { return static_cast<CDrv8948&>(*m_pDrv); }
    // The constructor's bullet store.
    CMacroStore& Bullets() const { return OwnStores().Bullets; }

private:
    int ApplyModes(CApplySnapshot& snap, IProgressSink* pWnd, uint32_t nMsg, int nFlag);
    int MatrixPosition(int nButton) const;
    uint32_t MacroCode(const StMacro* pMac, uint32_t dwKind) const;
    void LightVariantA(const MsMode& mode, uint8_t* g, bool bVariantC);
    void LightVariantB(const MsMode& mode, uint8_t* g, bool bB2);
    void LightVariantD(const MsMode& mode, uint8_t* g);

    MsMacroAreas m_areas;
};

// Bit 3 of the apply flags: the operating-system pointer settings of the mode.
inline constexpr int MS_APPLY_KEYS = 1;
inline constexpr int MS_APPLY_GENERAL = 2;
inline constexpr int MS_APPLY_POINTER = 8;

// Writes a colour's red, green and blue bytes at p + aIndex[0..2] (a configured RGBIndex).
void PutMsColor(uint8_t* p, const uint8_t byRgb[3], const int32_t (&aIndex)[3]);
