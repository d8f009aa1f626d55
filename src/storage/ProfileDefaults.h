#pragma once
// The default contents of the three device regions of a profile, built from the
// installation's descriptions. The device models call these when they fill a region.
#include "config/GlobalVar.h"
#include "storage/Profile.h"

// Keyboard region: the default key table, the configured light effects and colour groups,
// the gesture keys.
void FillKbDefault(KbSettings& kb, const CGlobalVar& var);
// Mouse region: default keys in all key sets, resolution levels of the current sensor,
// rates, pointer settings, lift-off codes and light effects. nMode survives only with
// [MS] ShowOnlyModeString.
void FillMsDefault(MsSettings& ms, const CGlobalVar& var);
// Resolution levels of every mode from a sensor description (none: every level off).
void FillSensorLevels(MsSettings& ms, const SensorCfg* pCfg);
// Pad region: the built-in light effects and the configured default effect.
void FillPadDefault(PadSettings& pad, const CGlobalVar& var);

// The value a new profile gives a resolution level that is switched off.
inline constexpr int32_t DPI_LEVEL_OFF = 1;
