#pragma once
// Lookups in the keyboard's default keys.
#include <cstdint>

#include "config/KeyTables.h"

// Matrix position of the key with this virtual-key code in g_defKEY, -1 when none (also for
// code 0). Only records with a function count. A modifier code matches the records whose
// byMod holds its bit (the last such record wins); any other code the records with no
// modifier and that byVk (the first wins).
int FindKeyMatrixInx(const KeyTables& keys, uint8_t byVk);

// The smallest Fn link index no record of g_defKEY uses, or -1. The keyboard's Fn tables
// hold FN_LINK_NUM entries, so an index past them is never handed out.
int GetFreeLinkIndex(const KeyTables& keys);

// The preset a profile at list position nIndex (0..3) takes as key set 0 of its modes when it
// is reset: ProCfg.ini preset nIndex + 1. nullptr when the file gave no presets (the first
// word of preset 1 is zero) or for another position, which is logged.
const MsModeTables* GetResetPreset(const KeyTables& keys, int nIndex);
