#pragma once
// The settings record of all devices. pro.dct and exported profiles are raw copies of it,
// so the layout is a file format: offsets, widths and field order are binding. Bytes that
// carry no name are reserved: zero in a new profile and carried unchanged.
#include <cstddef>
#include <cstdint>

#include "storage/KeyAssign.h"

inline constexpr uint32_t PROFILE_MAGIC = 0xFCFB7797;
inline constexpr int PROFILE_FILE_SLOTS = 12; // records written to pro.dct
inline constexpr int PROFILE_NAME_LEN = 20;   // characters of szName, NUL included
inline constexpr int PROFILE_SOUND_LEN = 260;
inline constexpr int KB_PROFILE_KEYS = 150;
inline constexpr int KB_MATRIX_KEYS = 132;
inline constexpr int KB_LED_EFFECTS = 18;
inline constexpr int KB_COLOR_GROUPS = 15;
inline constexpr int KB_GEST_KEYS = 7;
inline constexpr int MS_PROFILE_MODES = 3;
inline constexpr int MS_KEY_SETS = 5;
inline constexpr int MS_PROFILE_KEYS = 21;
inline constexpr int MS_DPI_LEVELS = 10;
inline constexpr int MS_LED_EFFECTS = 14;
inline constexpr int MS_LOD_CODES = 36;
inline constexpr int PAD_LED_EFFECTS = 11;

#pragma pack(push, 1)
struct KbLedEffect {
    int32_t nLevel1;    // first level value 1..16
    int32_t nLevel2;    // second level value 1..16
    int32_t nDir;       // 1 or 2
    int32_t nFlag;      // 0 or 1
    uint32_t Colors[7]; // 0x00BBGGRR
    uint32_t dwResv1;
    int32_t nColorChoice; // its low nibble is sent
    uint32_t dwResv2;
};

struct KbSettings {
    int32_t nLayer; // always 0
    uint32_t dwResv1;
    KeyAssign KbKeys[KB_PROFILE_KEYS]; // 0..131 the key matrix, the rest reserved
    int32_t nKbLedEffect;
    KbLedEffect Led[KB_LED_EFFECTS];
    int32_t nPanelWord; // written by the keyboard lighting panel, never sent
    uint16_t wColorGroup;
    uint8_t byGroupOn[18];
    uint32_t GroupColor[KB_COLOR_GROUPS][KB_PROFILE_KEYS]; // by key-matrix position
    KeyAssign Gest[KB_GEST_KEYS];
};

struct WinPointer {
    int32_t nWheelLines; // -1: one screen per notch
    int32_t nDblClickMs;
    int32_t nSpeed; // 1..20
    int32_t bEnhance;
    int32_t nTrails;
};

struct DpiLevel {
    int32_t nX;
    int32_t nY;
    uint8_t rgb[4]; // red, green, blue, reserved
    int32_t bOff;   // non-zero: level not used
};

struct MsLedEffect {
    int32_t nLevel1; // speed
    int32_t nLevel2; // brightness
    int32_t nDir;    // 3 or 4 from the panels, 0 in a new profile
    int32_t nFlag;
    uint32_t Colors[8];
    uint32_t dwColorMask; // bit i: colour i in use
    uint32_t dwExtra;
    uint32_t dwExtra2;
};

struct MsMode {
    uint32_t dwResv1;
    int32_t nRate; // hex digits of the rate in Hz: 0x125 .. 0x1000
    int32_t nKeySet;
    KeyAssign Keys[MS_KEY_SETS][MS_PROFILE_KEYS]; // buttons 0..19 are sent
    WinPointer Sys;
    DpiLevel Dpi[MS_DPI_LEVELS];
    int32_t bDpiXY;
    uint8_t byResv2[8];
    int32_t nLedEffect; // two-light mice: byte 0 light 1, byte 2 light 2
    MsLedEffect Led[MS_LED_EFFECTS];
    uint8_t byResv3[8];
    uint8_t byGunOpt;
    uint8_t byResv4[3];
    uint8_t byLodNum;
    uint8_t byLodDef;
    uint8_t byLodMask; // one bit per level switched off
    uint8_t byResv5;
    uint8_t byLod[MS_LOD_CODES];
};

struct MsSettings {
    int32_t nMode; // 0..2
    int32_t nSensor;
    uint8_t byResv1[12];
    MsMode Mode[MS_PROFILE_MODES];
};

struct PadLedEffect {
    int32_t nLevel1;
    int32_t nLevel2; // sent as 1 for 32, 2 for 80, 3 for 112, else 4
    int32_t nDir;    // 5 or 6
    int32_t nFlag;
    uint32_t Colors[7];
    uint32_t dwColorMask;
    uint8_t byResv[8];
};

struct PadSettings {
    int32_t nPadLedEffect; // 0..10; 10 = lights off
    PadLedEffect Led[PAD_LED_EFFECTS];
};

struct Profile {
    uint32_t dwResv0;
    uint32_t dwMagic;
    uint32_t dwId; // 0 marks an unused slot
    char16_t szSound[PROFILE_SOUND_LEN];
    char16_t szName[PROFILE_NAME_LEN];
    uint8_t byResv1[44];
    KbSettings Kb;
    MsSettings Ms;
    PadSettings Pad;
    uint8_t byResv2[120];
};
#pragma pack(pop)

// The lighting part of a mouse mode, copied as one block from mode 0 to mode 2.
inline constexpr size_t MS_MODE_LIGHT_BEGIN = offsetof(MsMode, nLedEffect);
inline constexpr size_t MS_MODE_LIGHT_SIZE = offsetof(MsMode, byGunOpt) - MS_MODE_LIGHT_BEGIN;

static_assert(sizeof(KbLedEffect) == 56);
static_assert(offsetof(KbLedEffect, nLevel2) == 4);
static_assert(offsetof(KbLedEffect, nDir) == 8);
static_assert(offsetof(KbLedEffect, nFlag) == 12);
static_assert(offsetof(KbLedEffect, Colors) == 16);
static_assert(offsetof(KbLedEffect, dwResv1) == 44);
static_assert(offsetof(KbLedEffect, nColorChoice) == 48);
static_assert(offsetof(KbLedEffect, dwResv2) == 52);

static_assert(sizeof(KbSettings) == 23860);
static_assert(offsetof(KbSettings, nLayer) == 0);
static_assert(offsetof(KbSettings, KbKeys) == 8);
static_assert(offsetof(KbSettings, nKbLedEffect) == 13208);
static_assert(offsetof(KbSettings, Led) == 13212);
static_assert(offsetof(KbSettings, nPanelWord) == 14220);
static_assert(offsetof(KbSettings, wColorGroup) == 14224);
static_assert(offsetof(KbSettings, byGroupOn) == 14226);
static_assert(offsetof(KbSettings, GroupColor) == 14244);
static_assert(offsetof(KbSettings, Gest) == 23244);

static_assert(sizeof(WinPointer) == 20);
static_assert(offsetof(WinPointer, nDblClickMs) == 4);
static_assert(offsetof(WinPointer, nSpeed) == 8);
static_assert(offsetof(WinPointer, bEnhance) == 12);
static_assert(offsetof(WinPointer, nTrails) == 16);

static_assert(sizeof(DpiLevel) == 16);
static_assert(offsetof(DpiLevel, nY) == 4);
static_assert(offsetof(DpiLevel, rgb) == 8);
static_assert(offsetof(DpiLevel, bOff) == 12);

static_assert(sizeof(MsLedEffect) == 60);
static_assert(offsetof(MsLedEffect, nLevel2) == 4);
static_assert(offsetof(MsLedEffect, nDir) == 8);
static_assert(offsetof(MsLedEffect, nFlag) == 12);
static_assert(offsetof(MsLedEffect, Colors) == 16);
static_assert(offsetof(MsLedEffect, dwColorMask) == 48);
static_assert(offsetof(MsLedEffect, dwExtra) == 52);
static_assert(offsetof(MsLedEffect, dwExtra2) == 56);

static_assert(sizeof(MsMode) == 10340);
static_assert(offsetof(MsMode, nRate) == 4);
static_assert(offsetof(MsMode, nKeySet) == 8);
static_assert(offsetof(MsMode, Keys) == 12);
static_assert(offsetof(MsMode, Sys) == 9252);
static_assert(offsetof(MsMode, Dpi) == 9272);
static_assert(offsetof(MsMode, bDpiXY) == 9432);
static_assert(offsetof(MsMode, nLedEffect) == 9444);
static_assert(offsetof(MsMode, Led) == 9448);
static_assert(offsetof(MsMode, byGunOpt) == 10296);
static_assert(offsetof(MsMode, byLodNum) == 10300);
static_assert(offsetof(MsMode, byLodDef) == 10301);
static_assert(offsetof(MsMode, byLodMask) == 10302);
static_assert(offsetof(MsMode, byLod) == 10304);
static_assert(MS_MODE_LIGHT_SIZE == 852);

static_assert(sizeof(MsSettings) == 31040);
static_assert(offsetof(MsSettings, nMode) == 0);
static_assert(offsetof(MsSettings, nSensor) == 4);
static_assert(offsetof(MsSettings, Mode) == 20);

static_assert(sizeof(PadLedEffect) == 56);
static_assert(offsetof(PadLedEffect, nLevel2) == 4);
static_assert(offsetof(PadLedEffect, nDir) == 8);
static_assert(offsetof(PadLedEffect, nFlag) == 12);
static_assert(offsetof(PadLedEffect, Colors) == 16);
static_assert(offsetof(PadLedEffect, dwColorMask) == 44);
static_assert(offsetof(PadLedEffect, byResv) == 48);

static_assert(sizeof(PadSettings) == 620);
static_assert(offsetof(PadSettings, Led) == 4);

static_assert(sizeof(Profile) == 56256);
static_assert(offsetof(Profile, dwMagic) == 4);
static_assert(offsetof(Profile, dwId) == 8);
static_assert(offsetof(Profile, szSound) == 12);
static_assert(offsetof(Profile, szName) == 532);
static_assert(offsetof(Profile, byResv1) == 572);
static_assert(offsetof(Profile, Kb) == 616);
static_assert(offsetof(Profile, Ms) == 24476);
static_assert(offsetof(Profile, Pad) == 55516);
static_assert(offsetof(Profile, byResv2) == 56136);
