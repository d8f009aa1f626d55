#pragma once
// The mouse description: the built-in sensor table, section MS and the sensor sections
// SENSOR_1..SENSOR_10. Field names are the configuration's key names, so the loaded values
// can be compared with cfg.ini directly (velkinctl config prints them under these names).
#include <array>
#include <cstdint>
#include <string>

#include "config/IniFile.h"
#include "storage/KeyAssign.h"

inline constexpr int SENSOR_NUM = 14;      // entries of the built-in sensor table
inline constexpr int SENSOR_DPI_MAX = 250; // resolution values per sensor
inline constexpr int SENSOR_CFG_NUM = 10;  // sections SENSOR_1..SENSOR_10
inline constexpr int DPI_LEVEL_MAX = 10;   // resolution levels of a description
inline constexpr int MS_MODE_NUM = 3;
inline constexpr int MS_KEY_MAX = 21; // buttons per mode
inline constexpr int MS_EFFECT_NUM = 15;
inline constexpr int MS_EFFECT_COLORS = 8;
inline constexpr int PICK_COLOR_MAX = 15;
inline constexpr int GUN_COLOR_NUM = 10;
inline constexpr int GUN_VALUE_NUM = 21;

// One sensor's resolutions and the codes the device takes for them.
struct SensorEntry {
    int32_t nSensor{};
    int32_t nCount{}; // values in Dpi, at most SENSOR_DPI_MAX
    int32_t Dpi[SENSOR_DPI_MAX]{};
    uint8_t HwCode[SENSOR_DPI_MAX]{};
    uint8_t LockCode[SENSOR_DPI_MAX]{}; // code of value i used as a locked (sniper) resolution
};

using SensorTableArray = std::array<SensorEntry, SENSOR_NUM>;

// The table as built in, before any sensor section changes it.
const SensorTableArray& BuiltInSensorTable();

// One sensor section. A record whose section is missing stays all zero.
struct SensorCfg {
    int32_t Sensor{};   // sensor id; 0 = no description
    int32_t DM{};       // number of resolution levels
    int32_t DEFLEVEL{}; // default resolution level
    int32_t DPI[DPI_LEVEL_MAX]{};
    uint32_t DC[DPI_LEVEL_MAX]{}; // level colours 0x00BBGGRR
    int32_t DPIH{};
    int32_t MDNUM{}; // number of modes, 1 to 3 (the key's 3, 6 or 9 mapped)
    int32_t KM{};    // number of buttons, 1 to 21 (half the key's value)
    KeyAssign Keys[MS_MODE_NUM][MS_KEY_MAX]{}; // only Main is filled
    int32_t KEYY{};
    int32_t KEYH{};
    int32_t MOUSEX{};
    int32_t MOUSEY{};
    int32_t DR{};
    int32_t DR_2{};
    int32_t DR_3{};
    int32_t RATE1{}, RATE2{}, RATE3{}, RATE4{};
    int32_t KeyMask{};
    RECT Mark[MS_KEY_MAX]{};
};

struct MsEffectCfg {
    int32_t bPresent{};
    int32_t p0{}, p1{}, p2{}, p3{};
    int32_t p4{}; // number of colours the effect uses
    uint32_t Colors[MS_EFFECT_COLORS]{};
};

struct PickColorEntry {
    uint32_t clr{};
    int32_t nIndex{}; // the device's colour index
};

struct MouseDesc {
    // Section MS, in reading order.
    int32_t VID{};
    int32_t PID{};
    std::string USBString{}; // empty: any product string
    int32_t Pop{};
    int32_t LedMask{};
    int32_t ShowEffect{};
    int32_t DpiRGB{};
    int32_t ShowDpiColor{};
    int32_t ShowDpiCheck{};
    int32_t ShowUsbRate{};
    int32_t AlwaysHideUsbRate{};
    int32_t ShowXY{};
    int32_t LedOffVal{};
    int32_t RgbSW{};
    int32_t HideDpiSw{};
    int32_t ShowLOD{};
    int32_t ShowReportSw{};
    int32_t ShowReaction{};
    int32_t ShowOneStream{};
    int32_t ShowPUBGMenu{};
    uint8_t ShowLED[2]{};
    int32_t AutoSw{};
    int32_t PopByte1{};
    int32_t ShowOnlyModeString{};
    int32_t SyncModeAfterApply{};
    int32_t DpiJump{};
    int32_t ShowKeySnip{};
    int32_t ShowMv{};
    int32_t ShowDpiMin{};
    int32_t MsMoveSpeed{};
    int32_t EnhancePrecision{};
    int32_t LOD{};
    uint32_t LODVal{};
    int32_t RGBIndex[3]{};
    int32_t DPIRGBIndex[3]{};
    int32_t ShootSpeed{};
    int32_t ShootFudu{};
    uint32_t clrEffectTail[7]{};
    uint8_t KeySwVk[3]{};
    uint8_t KeySwVkMatrix[3]{};
    int32_t KbIC{};
    uint32_t clrChijiBkg{};
    uint32_t clrDpiMark{};
    int32_t ShowEx{};
    int32_t ExKey[6]{};                   // ExKey1..ExKey6
    int32_t ScrollKey{};                  // -1: no scroll buttons
    MsEffectCfg Effects[MS_EFFECT_NUM]{}; // LedOpt1..LedOpt15 over the built-in table
    int32_t LedParam[20]{};
    int32_t LedParam2[20]{};
    uint8_t DpiSW[3]{};
    uint8_t DpiSW2[3]{};
    uint8_t SnipMenu[28]{};
    uint8_t PSD[4]{}; // all zero: no code configured or a malformed one
    PickColorEntry PickColor[PICK_COLOR_MAX]{};
    int32_t nPickColorNum{};
    uint32_t GunColor[GUN_COLOR_NUM]{};
    uint8_t GunValue[GUN_VALUE_NUM]{}; // 7 presets of 3 bytes
    int32_t ShowUsbRateForPUBG[4]{};
    int32_t nShowUsbRateForPUBGNum{};
    int32_t Sensor{}; // the mouse's sensor as configured

    // Built-in sensor table, changed by the sensor sections' DPISET, DPIHW and DPILK.
    SensorTableArray SensorTable = BuiltInSensorTable();
    SensorCfg SensorCfgs[SENSOR_CFG_NUM]{};

    // The current sensor and its description (index into SensorCfgs, -1 when none).
    int32_t nCurSensor{};
    int32_t nSensorCfgIndex = -1;

    const SensorCfg* pSensorCfg() const {
        return nSensorCfgIndex >= 0 && nSensorCfgIndex < SENSOR_CFG_NUM
                   ? &SensorCfgs[nSensorCfgIndex]
                   : nullptr;
    }
};
