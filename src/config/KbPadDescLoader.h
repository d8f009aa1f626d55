#pragma once
// Loading of the keyboard and pad descriptions from cfg.ini. Problems are reported by
// message box; values out of range stay as read unless a limit says otherwise.
#include "config/GlobalVar.h"
#include "config/IniFile.h"
#include "config/KbPadDesc.h"

// Section KB into var.Dev.Kb, the keyboard effects (built in, then LedOpt1..LedOpt18),
// then the default keys of section KBKEY, then MaxEftKeyIndex.
void LoadKbSection(const CIniFile& ini, CGlobalVar& var);

// Section PAD into var.Dev.Pad.
void LoadPadSection(const CIniFile& ini, CGlobalVar& var);

// Replaces the 18 keyboard effect descriptors by the 13 built-in effects.
void BuildKbEffectTable(KbEffectCfg (&Effects)[KB_EFFECT_NUM]);
// The built-in light parameter pairs (14); returns their count.
int BuiltInKbLedParams(uint8_t (&aPairs)[KB_LEDPARAM_MAX][2]);
