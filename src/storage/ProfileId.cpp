#include "storage/ProfileId.h"

uint32_t ProfileIdFromTime(const LocalTime& t) {
    uint32_t h = static_cast<uint32_t>(t.nHour) & 15;
    uint32_t m = static_cast<uint32_t>(t.nMinute), s = static_cast<uint32_t>(t.nSecond);
    uint32_t ms = static_cast<uint32_t>(t.nMilli);
    return (((h << 12) | (((m << 6) | s) & 0xFFFF)) << 8) | (ms & 0xFF);
}

uint32_t MacroIdFromTime(const LocalTime& t) {
    uint32_t h = static_cast<uint32_t>(t.nHour) & 0x0F;
    uint32_t m = static_cast<uint32_t>(t.nMinute), s = static_cast<uint32_t>(t.nSecond);
    uint32_t ms = static_cast<uint32_t>(t.nMilli);
    return ((h << 20) | (m << 14) | (s << 8) | (ms & 0xFF)) & 0xFFFFFF;
}

template <typename F> static uint32_t NonZeroId(F fnFromTime) {
    for (int i = 0; i < 3; ++i) {
        SleepMs(20);
        uint32_t dwId = fnFromTime(GetClock().Now());
        if (dwId != 0)
            return dwId;
    }
    return 1;
}

uint32_t NewProfileId() {
    return NonZeroId(ProfileIdFromTime);
}
uint32_t NewMacroId() {
    return NonZeroId(MacroIdFromTime);
}
