#pragma once
// The keyboard and pad descriptions: sections KB and PAD. Field names are the
// configuration's key names. Everything stays zero when the section is not loaded.
#include <cstdint>
#include <string>

#include "config/IniFile.h"

inline constexpr int KB_EFFECT_NUM = 18;
inline constexpr int KB_EFFECT_COLORS = 7;
inline constexpr int KB_LEDPARAM_MAX = 20; // pairs
inline constexpr int KB_GAOSHOU_GROUP_MAX = 10;
inline constexpr int KB_GAOSHOU_KEY_MAX = 150;
inline constexpr int KB_UNRECT_PT_MAX = 24;

struct KbEffectCfg {
    int32_t nCode{}; // effect number sent to the keyboard
    int32_t f1{}, f2{}, f3{}, f4{}, f5{};
    uint32_t Colors[KB_EFFECT_COLORS]{};
};

struct KbDesc {
    int32_t VID{};
    int32_t PID{};
    std::string USBString{}; // empty: any product string
    int32_t LedMask{};
    int32_t ShowGest{};
    int32_t ShowEffect{};
    uint32_t ClrKeyOv{};
    uint32_t ClrKeyDn{};
    uint32_t ClrKeyHasFunc{};
    int32_t SpeedNum{};
    int32_t BriNum{};
    int32_t FrameKey{};
    int32_t RespireType{};
    int32_t PaomaType{};
    int32_t MinLightEffectOFF{};
    int32_t KbLayout{};
    int32_t KbDrawType{};
    uint8_t ColorfulEffect[4]{};
    uint8_t NeonSpeed[5]{};
    uint8_t Direct[3][3]{}; // Direct1..Direct3
    uint8_t EftKeyEx[4]{};
    uint8_t PSD[6]{};
    RECT rcKB{}; // left, top, right, bottom
    int32_t DefLed[20]{};
    // The key drawn as a polygon (UnRectKey); nUnRectPtNum 0 when none is configured.
    int32_t nUnRectKey{};
    POINT UnRectPt[KB_UNRECT_PT_MAX]{};
    int32_t nUnRectPtNum{};
    int32_t LedModeSelectOffset{};
    int32_t EffectBase{};
    int32_t EffectOffset{};
    int32_t EffectNum{};
    uint8_t RGBIndex[3]{};
    uint8_t LEDParam[KB_LEDPARAM_MAX][2]{}; // (b0, b1) per effect
    int32_t nLEDParamNum{};                 // pairs in LEDParam
    int32_t DefCfg{};
    int32_t OurCfg{};
    int32_t ColorIndex{};
    int32_t GaoshouIndex{};
    int32_t NoColorKey{};
    int32_t StartGp{};
    int32_t GaoshouAddr{};
    int32_t GaoshouGroupNum{}; // at most KB_GAOSHOU_GROUP_MAX
    uint8_t CustomGp[2]{};     // first and last group the user may edit
    uint32_t clrGaoshou{};
    uint8_t GaoshouKey[KB_GAOSHOU_GROUP_MAX][KB_GAOSHOU_KEY_MAX]{};
    int32_t nGaoshouKeyNum[KB_GAOSHOU_GROUP_MAX]{}; // codes in each group
    int32_t nGaoshouGroupRead{};                    // groups whose key was present
    int32_t SyncKB{};
    KbEffectCfg Effects[KB_EFFECT_NUM]{}; // built-in table and LedOpt1..LedOpt18
    int32_t MaxEftKeyIndex{};
};

struct PadDesc {
    int32_t VID{};
    int32_t PID{};
    int32_t ShowEffect{};
    int32_t LedMask{};
    uint8_t PSD[2]{};
    POINT ptPadDlg{};
    int32_t LedParam[20]{};
    POINT ptEft1{};
    POINT ptEft2{};
    int32_t EftGridW{};
};
