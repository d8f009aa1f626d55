#pragma once
// Loaders of the key tables: KBKEY (called by the keyboard description loader), FN and
// GEST (start-up, with an 816-family keyboard), the ProCfg.ini presets and the default
// mouse key table. Each fills the record it is given; problems are reported by message box
// (the one log-only fault is a key without a free Fn link) and loading goes on.
#include "config/GlobalVar.h"
#include "config/IniFile.h"
#include "config/KeyEntry.h"
#include "config/KeyTables.h"

// Section KBKEY of cfg.ini into var.Dev.Keys.g_defKEY and nKbKeyNum (table cleared first).
// With var.Debug set, keys sharing a matrix position are reported.
void LoadKbKeyTable(const CIniFile& cfg, CGlobalVar& var);

// Section FN: the Fn half of every g_defKEY record and its link index (Main.nLink).
void LoadFnTable(const CIniFile& cfg, CGlobalVar& var);

// Section GEST into var.Dev.Keys.Gest (cleared first).
void LoadGestTable(const CIniFile& cfg, CGlobalVar& var);

// ProCfg.ini sections PRO1..PRO4 into var.Dev.Keys.ProPreset (cleared first; all zero when
// the file is missing). Button entries take their ExKey and gun values from var.Dev.Ms.
void LoadProCfg(const CIniFile& proCfg, CGlobalVar& var);
void LoadProCfg(const CIniFile& proCfg, const MouseKeyEntryParams& params, CGlobalVar& var);

// The section MS values that mouse button entries use.
MouseKeyEntryParams MouseKeyParamsFrom(const CGlobalVar& var);

// The default mouse key table of the three modes: records from pSource (the key tables of
// keycfg.kyg, when it was read) or else from the current sensor description, with the
// button rectangles of the key panel and the matrix positions of the sensor description.
void BuildDefaultMouseKeys(CGlobalVar& var,
                           const KeyAssign (*pSource)[MS_MODE_NUM][MS_KEY_MAX] = nullptr);

// Start-up: the presets of ProCfg.ini in the program directory (the name is matched without
// regard to case). Numbers written with 0x there are added to var.vHexPrefixNotes.
void LoadKeyPresets(CGlobalVar& var);

// Start-up: the mouse's default key table when a mouse is configured, and with an 816-family
// keyboard the Fn table and, when the keyboard has gesture keys, the gesture table.
// pKyg: the key tables of keycfg.kyg when that file was read, else nullptr.
void LoadKeyTables(const CIniFile& cfg, CGlobalVar& var,
                   const KeyAssign (*pKyg)[MS_MODE_NUM][MS_KEY_MAX] = nullptr);
