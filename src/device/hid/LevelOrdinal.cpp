#include "device/hid/LevelOrdinal.h"

int LevelIndexFromOrdinal(int nOrdinal, uint8_t byOffMask, int nCount, bool bFallback) {
    int nOn = 0;
    for (int i = 0; i < nCount; ++i) {
        bool bOff = i < 8 && (byOffMask >> i) & 1;
        if (!bOff && ++nOn == nOrdinal)
            return i;
    }
    if (bFallback && nOrdinal >= 0 && nOrdinal < nCount)
        return nOrdinal;
    return -1;
}
