#pragma once
// The value formats of key entries in the configuration files: mouse buttons (K%d_%d of the
// sensor sections and of ProCfg.ini), keyboard keys (KBKEY), Fn functions (FN) and gesture
// keys (GEST). Numbers are separated by commas; hexadecimal numbers carry no prefix.
#include <cstdint>
#include <string>

#include "config/IniFile.h"
#include "config/KeyTables.h"
#include "storage/KeyAssign.h"

// The base of each number of an entry form, in order: mouse buttons (K%d_%d), keyboard keys
// (KBKEY), Fn functions (FN) and gesture keys (GEST).
inline constexpr int kMouseKeyEntryBases[4] = {16, 16, 16, 16};
inline constexpr int kKbKeyEntryBases[9] = {10, 10, 10, 10, 16, 16, 16, 10, 10};
inline constexpr int kFnKeyEntryBases[4] = {16, 16, 16, 10};

// What a mouse button entry takes from section MS. The caller copies these values out of
// its mouse description, so the parser does not depend on how that is laid out.
struct MouseKeyEntryParams {
    int32_t ExKey[6]{};      // [MS] ExKey1..ExKey6: parameters of the extra functions
    uint8_t GunValue[21]{};  // [MS] GunValue: 7 gun presets of 3 bytes
    uint32_t GunColor[10]{}; // [MS] GunColor
    int32_t nShootSpeed = 1; // [MS] ShootSpeed; above 1 replaces the built-in speed 25
};

// One mouse button entry "class,code,parameter,matrix" (four hexadecimal numbers, more are
// ignored). Returns false, leaving ka untouched, when the value is empty or holds fewer
// than four numbers. Otherwise ka is cleared and filled; a custom-key entry (class 8, code
// 0xAD) also stores its parameter in *pnCustomKeyParam when that is not null. Bad class-9
// and class-11 codes are reported by message box and the entry is still taken.
bool ParseMouseKeyEntry(const std::string& strValue, const MouseKeyEntryParams& params,
                        KeyAssign& ka, int32_t* pnCustomKeyParam);

// Reads K1_m .. K21_m (m = nModeIndex + 1) of a section into aTable, which is cleared
// first. Each value is cut to 49 characters. Returns the number of entries taken. Numbers
// written with 0x are noted in the reader (CIniFile::HexPrefixNotes).
int ReadMouseKeyEntries(const CIniFile& ini, const std::string& strSection, int nModeIndex,
                        const MouseKeyEntryParams& params, MsKeyTable& aTable,
                        int32_t* pnCustomKeyParam);

// Gun entry (class 8, code 0xC0) with parameter dwParam: fills ka.Main.dwParam and ka.dwGun.
void ApplyGunEntry(uint32_t dwParam, const MouseKeyEntryParams& params, KeyAssign& ka);

// Splits an entry into at most nMax numbers, pBases[i] being the base of number i (10 or
// 16). Blanks around a number and empty items are skipped. Parsing ends at the first item
// with any other character (a 0x prefix included) or that does not fit in 32 bits; *pbBad
// tells whether that happened. Returns the count of numbers taken.
int ParseKeyEntryNumbers(const std::string& strValue, const int* pBases, int nMax, uint32_t* pOut,
                         bool* pbBad);

// Parsed forms of the keyboard entries. Each parser shows "Data parse error!" (title
// "Error") for a number with other characters; the numbers before it are kept and the
// missing ones take their defaults.
struct KbKeyEntry {
    RECT rcKey{};         // numbers 1..4, decimal
    uint32_t dwClass = 0; // number 5, hexadecimal
    uint32_t dwCode = 0;  // number 6, hexadecimal
    uint32_t dwParam = 0; // number 7, hexadecimal
    uint32_t nMatrix = 0; // number 8, decimal
    uint32_t nLight = 0;  // number 9, decimal
    int nCount = 0;       // numbers read
};
KbKeyEntry ParseKbKeyEntry(const std::string& strValue);

// FN "class,code,parameter[,link]" (hexadecimal, link decimal); defaults 0,0,0,255.
// GEST "class,code,parameter,matrix" (hexadecimal, matrix decimal); defaults 0.
struct FnKeyEntry {
    uint32_t dwClass = 0;
    uint32_t dwCode = 0;
    uint32_t dwParam = 0;
    uint32_t nLast = 0; // FN: link index (255 = take the first free one); GEST: matrix
    int nCount = 0;
};
FnKeyEntry ParseFnKeyEntry(const std::string& strValue);
FnKeyEntry ParseGestKeyEntry(const std::string& strValue);

// Fills kf as a keyboard key function: class 2 becomes the key byCode (dwFun 0x020000A0,
// byMod 0) with the modifier rule below; other classes dwFun = class << 24 | code low byte
// and dwParam.
void FillKbKeyFun(KeyFun& kf, uint32_t dwClass, uint32_t dwCode, uint32_t dwParam);

// A modifier code (16/160, 17/162, 18/164, 91, 92, 161, 163, 165) assigned as a key is sent
// as its modifier bit: sets byVk 0, byMod and byModVk and returns true; else false.
bool ApplyModifierKey(KeyFun& kf, uint8_t byVk);
// The byMod bit of a modifier key code, 0 for other codes.
uint8_t ModifierBitOfKey(uint8_t byVk);
