#pragma once
// One macro: a named list of up to 171 input events and its play mode. Macro files and the
// macro slots of exported files hold this record byte for byte.
#include <cstddef>
#include <cstdint>

inline constexpr uint32_t MACRO_MAGIC = 0xFAFB88A0;
inline constexpr uint32_t MACRO_LEGACY_MAGIC = 0xBEFE2228;  // the magic with each byte rotated
inline constexpr uint32_t MACRO_DIRTY_EVENTS = 0x80000000;  // events changed
inline constexpr uint32_t MACRO_DIRTY_OPTIONS = 0x40000000; // options or name changed
inline constexpr uint32_t MACRO_DIRTY_BITS = MACRO_DIRTY_EVENTS | MACRO_DIRTY_OPTIONS;
inline constexpr uint8_t MACRO_KIND_CONVERTED = 0xC7; // bullet macro made from an ordinary one
inline constexpr int MACRO_EVENT_MAX = 171;
inline constexpr int MACRO_NAME_LEN = 40; // characters of szName, NUL included
inline constexpr uint32_t MACRO_ID_MASK = 0xFFFFFF;

// Event codes besides the virtual-key codes 1..239.
inline constexpr uint8_t MACRO_CODE_LBUTTON = 240;
inline constexpr uint8_t MACRO_CODE_WHEEL_DOWN = 246;
inline constexpr uint8_t MACRO_CODE_SPECIAL = 251;

#pragma pack(push, 1)
struct MacroEvent {
    uint8_t byCode;   // virtual key 1..239, mouse 240..251
    uint8_t byParam;  // amount of codes 245..250
    uint16_t wPress;  // 1 press, 0 release
    uint32_t dwDelay; // pause after the event in ms
};

struct StMacro {
    uint32_t dwMagic;
    uint32_t dwId; // low 24 bits
    uint32_t dwDirty;
    uint32_t bAutoDelay; // bullet macros: the fire button code
    int32_t nLoopMode;
    char16_t szName[MACRO_NAME_LEN];
    uint8_t byBufferId; // device buffer during an apply; function class in exported files
    uint8_t byResv1;
    uint8_t byKind;
    uint8_t byResv2;
    uint16_t wLoopCount;
    MacroEvent Events[MACRO_EVENT_MAX];
    uint8_t byResv3[6];
};
#pragma pack(pop)

inline constexpr size_t MACRO_FILE_SIZE = 1480;

static_assert(sizeof(MacroEvent) == 8);
static_assert(offsetof(MacroEvent, byParam) == 1);
static_assert(offsetof(MacroEvent, wPress) == 2);
static_assert(offsetof(MacroEvent, dwDelay) == 4);
static_assert(sizeof(StMacro) == MACRO_FILE_SIZE);
static_assert(offsetof(StMacro, dwId) == 4);
static_assert(offsetof(StMacro, dwDirty) == 8);
static_assert(offsetof(StMacro, bAutoDelay) == 12);
static_assert(offsetof(StMacro, nLoopMode) == 16);
static_assert(offsetof(StMacro, szName) == 20);
static_assert(offsetof(StMacro, byBufferId) == 100);
static_assert(offsetof(StMacro, byKind) == 102);
static_assert(offsetof(StMacro, wLoopCount) == 104);
static_assert(offsetof(StMacro, Events) == 106);
static_assert(offsetof(StMacro, byResv3) == 1474);
