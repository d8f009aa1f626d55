#pragma once
// Ids of new profiles and macros, made from the local time so that two records made one
// after another get different ids. Neither id is ever 0: 0 marks an unused profile slot and
// an unbound macro.
#include <cstdint>

#include "platform/Clock.h"

uint32_t ProfileIdFromTime(const LocalTime& t); // may be 0
uint32_t MacroIdFromTime(const LocalTime& t);   // may be 0, low 24 bits only
// The id of the clock's time of day; when the clock has not moved past the millisecond the
// last id (of the same kind) came from, the id of the millisecond after that one, so ids
// made one after another never share a millisecond and none waits. A millisecond whose id
// is 0 is passed over.
uint32_t NewProfileId();
uint32_t NewMacroId();
