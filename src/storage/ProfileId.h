#pragma once
// Ids of new profiles and macros, made from the local time after a 20 ms wait so that two
// records made one after another get different ids. Neither id is ever 0: 0 marks an unused
// profile slot and an unbound macro.
#include <cstdint>

#include "platform/Clock.h"

uint32_t ProfileIdFromTime(const LocalTime& t); // may be 0
uint32_t MacroIdFromTime(const LocalTime& t);   // may be 0, low 24 bits only
// Waits 20 ms, reads the clock; when the time gives 0 waits and reads again, and after a
// few tries takes 1.
uint32_t NewProfileId();
uint32_t NewMacroId();
