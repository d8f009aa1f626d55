#include "storage/ProfileId.h"

#include <mutex>

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

namespace {

constexpr int kTries = 25;

// The time-based id of a clock reading other than the one the last id came from. Ids from
// times 1 to 255 ms apart always differ, so waiting for the next millisecond is enough; a
// fixed wait before every id made the first start (four default profiles) and every import
// visibly slower.
struct CIdState {
    uint32_t dwLastIssued = 0;
    uint32_t dwLastTime = 0; // the time-based value the clock gave last
};

template <typename F> uint32_t NextId(F fnFromTime, CIdState& st, uint32_t dwMask) {
    static std::mutex s_mtx;
    std::lock_guard<std::mutex> lock(s_mtx);
    for (int i = 0; i < kTries; ++i) {
        const uint32_t dwId = fnFromTime(GetClock().Now());
        if (dwId != 0 && dwId != st.dwLastTime) {
            st.dwLastTime = st.dwLastIssued = dwId;
            return dwId;
        }
        SleepMs(1);
    }
    // A clock that does not move (or keeps giving 0): count on from the last id, never 0.
    uint32_t dwId = (st.dwLastIssued + 1) & dwMask;
    if (dwId == 0)
        dwId = 1;
    st.dwLastIssued = dwId;
    return dwId;
}

CIdState g_profileIds;
CIdState g_macroIds;

} // namespace

uint32_t NewProfileId() {
    return NextId(ProfileIdFromTime, g_profileIds, 0xFFFFFFFFu);
}
uint32_t NewMacroId() {
    return NextId(MacroIdFromTime, g_macroIds, 0xFFFFFFu);
}
