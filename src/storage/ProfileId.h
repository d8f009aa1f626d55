#pragma once
// Ids of new profiles and macros, made from the local time so that two records made one
// after another get different ids. Neither id is ever 0: 0 marks an unused profile slot and
// an unbound macro.
#include <cstdint>

#include "platform/Clock.h"

uint32_t ProfileIdFromTime(const LocalTime& t); // may be 0
uint32_t MacroIdFromTime(const LocalTime& t);   // may be 0, low 24 bits only
// Reads the clock; when the time gives 0 or the id made last (of the same kind), waits a
// millisecond and reads again; after a few tries takes the last id + 1 (never 0).
uint32_t NewProfileId();
uint32_t NewMacroId();
