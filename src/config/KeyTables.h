#pragma once
// Key tables: the keyboard's default keys (KBKEY, with their Fn functions from FN), the
// gesture keys (GEST), the ProCfg.ini presets and the default mouse key table. Built once
// at start-up; profiles copy records out of them and nothing writes back.
#include <cstdint>

#include "config/MouseDesc.h"
#include "storage/KeyAssign.h"

inline constexpr int KB_KEY_MAX = 150;  // records of g_defKEY
inline constexpr int GEST_KEY_NUM = 10; // gesture keys
inline constexpr int PRESET_NUM = 4;    // ProCfg.ini presets PRO1..PRO4
inline constexpr int FN_LINK_NUM = 48;  // entries of the keyboard's Fn tables (links 0..47)
inline constexpr int FN_ENTRY_MAX = 64; // FN entries read at most

typedef KeyAssign MsKeyTable[MS_KEY_MAX];
typedef KeyAssign MsModeTables[MS_MODE_NUM][MS_KEY_MAX];

struct KeyTables {
    KeyAssign g_defKEY[KB_KEY_MAX]{};              // section KBKEY; Fn halves from section FN
    int nKbKeyNum = 0;                             // KBKEY entries stored
    KeyAssign MsDefKey[MS_MODE_NUM][MS_KEY_MAX]{}; // default mouse keys of each mode
    KeyAssign Gest[GEST_KEY_NUM]{};                // section GEST
    KeyAssign ProPreset[PRESET_NUM][MS_MODE_NUM][MS_KEY_MAX]{}; // ProCfg.ini PRO1..PRO4
    int32_t nCustomKeyParam = 0; // parameter of the last custom-key entry read
};
