#pragma once
// The mouse reports its active level as an ordinal among the levels that are switched on
// (1 = the first level that is on); the program keeps level indices.
#include <cstdint>

// Index of the nOrdinal-th switched-on level among nCount levels (bit i of byOffMask set:
// level i is off; levels past bit 7 count as on). When no such level exists, nOrdinal
// itself is taken if bFallback is set and it lies below nCount. -1 when neither applies.
int LevelIndexFromOrdinal(int nOrdinal, uint8_t byOffMask, int nCount, bool bFallback);
