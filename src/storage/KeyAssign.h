#pragma once
// What one keyboard key or mouse button does. Profiles and exported files are raw copies of
// these records, so the layout is a file format: offsets, widths and order are binding.
#include <cstddef>
#include <cstdint>

#include "config/IniFile.h"

// Function classes live in bits 24..31 of dwFun, the code in bits 0..23.
inline constexpr uint32_t FunClass(uint32_t dwFun) {
    return dwFun >> 24;
}
inline constexpr uint32_t FunCode(uint32_t dwFun) {
    return dwFun & 0xFFFFFF;
}
inline constexpr uint32_t MakeFun(uint32_t nClass, uint32_t nCode) {
    return (nClass << 24) | (nCode & 0xFFFFFF);
}

#pragma pack(push, 1)
struct KeyFun {
    uint32_t dwFun;     // function word
    RECT rcKey;         // the key's rectangle in the device picture
    int32_t nMatrixInx; // position in the device's key matrix
    uint32_t dwMacroId; // bound macro (classes 5 and 12)
    uint8_t byMod;      // modifier bits in USB HID order (bit 0 left Ctrl .. bit 7 right Win)
    uint8_t byVk;       // virtual-key code to send (class 2)
    uint8_t byVk2;      // second virtual-key code (class 2, 8948 and 901 families)
    uint8_t byModVk;    // a modifier that is itself the assigned key
    uint32_t dwParam;   // raw hardware code (classes 9, 11) or bytes (class 8)
    int32_t nLink;      // Main: Fn-table index 0..47 or -1; Fn: the key's LED-matrix position
};

struct KeyAssign {
    KeyFun Main;    // the key alone
    KeyFun Fn;      // the key together with the keyboard's Fn key
    uint32_t dwGun; // gun colour and value for gun and bullet keys
    uint32_t dwResv;
};
#pragma pack(pop)

static_assert(sizeof(RECT) == 16);
static_assert(sizeof(KeyFun) == 40);
static_assert(offsetof(KeyFun, dwFun) == 0);
static_assert(offsetof(KeyFun, rcKey) == 4);
static_assert(offsetof(KeyFun, nMatrixInx) == 20);
static_assert(offsetof(KeyFun, dwMacroId) == 24);
static_assert(offsetof(KeyFun, byMod) == 28);
static_assert(offsetof(KeyFun, byVk) == 29);
static_assert(offsetof(KeyFun, byVk2) == 30);
static_assert(offsetof(KeyFun, byModVk) == 31);
static_assert(offsetof(KeyFun, dwParam) == 32);
static_assert(offsetof(KeyFun, nLink) == 36);
static_assert(sizeof(KeyAssign) == 88);
static_assert(offsetof(KeyAssign, Main) == 0);
static_assert(offsetof(KeyAssign, Fn) == 40);
static_assert(offsetof(KeyAssign, dwGun) == 80);
static_assert(offsetof(KeyAssign, dwResv) == 84);
