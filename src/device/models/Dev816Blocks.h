#pragma once
// The data blocks of the 816 keyboard and the pure functions that build them from a
// profile. Key codes are kept as numbers while a matrix is built and go out big-endian.
#include <cstddef>
#include <cstdint>

#include "config/KbPadDesc.h"
#include "config/KeyTables.h"
#include "storage/Profile.h"

inline constexpr int KB816_CODES = 256;     // codes of the 1024-byte key matrix
inline constexpr int KB816_KEYS = 132;      // matrix positions of keys
inline constexpr int KB816_FN_SINGLE = 132; // first code of the Fn single-key table
inline constexpr int KB816_FN_COMBO = 180;  // first code of the Fn combination table
inline constexpr int KB816_MACRO_LEN = 128; // one hardware macro
inline constexpr int KB816_MACRO_SLOTS = 32;
inline constexpr int KB816_MACROS_PER_PART = 8; // macros in one 1024-byte transfer
inline constexpr int KB816_MACRO_NUMBERS = 10;  // buffer numbers an apply hands out
inline constexpr int KB816_PLANE = 132;         // one colour plane of a group
inline constexpr int KB816_GROUP_PAGE = 3 * KB816_PLANE;
inline constexpr int KB816_CFG_PRO1 = 8; // the lighting part of the configuration block
inline constexpr int KB816_CFG_PRO1_LEN = 64;
inline constexpr int KB816_CFG_SIGNATURE = 62; // Pro1 offset of 0x5A, 0xA5

inline constexpr uint32_t KB816_CODE_FN_LINK = 0x02000000;
inline constexpr uint32_t KB816_CODE_MACRO = 0x10000000;
inline constexpr uint32_t KB816_CODE_KEY_SWITCH = 0x04003000;

static_assert(KB816_FN_COMBO + FN_LINK_NUM <= KB816_CODES);

// A key matrix in the making: the codes, which of them a key of the profile placed (a
// placed 0 switches a key off; an unplaced one is left to the device when merging), and
// the converted macros in slot order.
struct CKb816Matrix {
    uint32_t dwCode[KB816_CODES]{};
    bool bPlaced[KB816_CODES]{};
    uint8_t byMacro[KB816_MACRO_SLOTS * KB816_MACRO_LEN]{};
    int nMacros = 0;

    void Place(int n, uint32_t dw) {
        dwCode[n] = dw;
        bPlaced[n] = true;
    }
};

// Big-endian codes of the device's matrix.
uint32_t Kb816ReadCode(const uint8_t* p);
void Kb816WriteCode(uint8_t* p, uint32_t dw);
void Kb816MatrixOut(const CKb816Matrix& mx, uint8_t byOut[KB816_CODES * 4]);
// Replaces the device's codes where the profile placed one; the rest stays the device's.
void Kb816MergeMatrix(const CKb816Matrix& mx, uint8_t byDev[KB816_CODES * 4]);

// Byte 0 and the lighting bytes of the configuration block.
void Kb816SetLighting(const KbDesc& kb, const KbSettings& set, bool bReset, uint8_t* pCfg);
// The direction nibble of an effect: Direct1..Direct3 list an effect code with the values
// of its directions 1 and 2.
uint8_t Kb816DirectionValue(const KbDesc& kb, int nEffectCode, int nDir);
// The colour table (21 bytes per effect) into pOut; returns its length, 0 when nCap is short.
int Kb816ColorTable(const KbDesc& kb, const KbSettings& set, uint8_t* pOut, size_t nCap);
// Number of configured colour groups and of their pairs (one page each).
int Kb816GroupCount(const KbDesc& kb);
// The per-key colour page of groups 2 nPair and 2 nPair + 1.
void Kb816LedPage(const KeyTables& keys, const KbSettings& set, int nPair,
                  uint8_t byPage[2 * KB816_GROUP_PAGE]);
