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

constexpr int64_t kDayMs = 24LL * 60 * 60 * 1000;
// How far the clock may read behind the last id's time and still count as "not moved on":
// a burst of ids runs ahead of the clock by a millisecond per id. Further back means the
// clock was set back or passed midnight, and its time is taken as it is.
constexpr int64_t kBehindMs = 60 * 1000;

int64_t MsOfDay(const LocalTime& t) {
    return ((int64_t(t.nHour) * 60 + t.nMinute) * 60 + t.nSecond) * 1000 + t.nMilli;
}

int64_t WrapDay(int64_t nMs) {
    return ((nMs % kDayMs) + kDayMs) % kDayMs;
}

LocalTime AtMsOfDay(LocalTime t, int64_t nMs) {
    nMs = WrapDay(nMs);
    t.nMilli = int(nMs % 1000);
    t.nSecond = int(nMs / 1000 % 60);
    t.nMinute = int(nMs / 60000 % 60);
    t.nHour = int(nMs / 3600000);
    return t;
}

// Ids come from the time of day to the millisecond, and no two ids share a millisecond:
// when the clock has not moved past the time of the last id (ids asked for one after
// another), the next id takes the millisecond after it instead of waiting for the clock.
// The ids are those waiting would have given, without the wait (first start makes several
// default profiles, an import many macros).
struct CIdState {
    bool bAny = false;
    int64_t nLastMs = 0; // the time of day the last id came from
};

template <typename F> uint32_t NextId(F fnFromTime, CIdState& st) {
    static std::mutex s_mtx;
    std::lock_guard<std::mutex> lock(s_mtx);
    const LocalTime tNow = GetClock().Now();
    int64_t nMs = MsOfDay(tNow);
    if (st.bAny) {
        const int64_t nBehind = st.nLastMs - nMs;
        if (nBehind >= 0 && nBehind < kBehindMs)
            nMs = st.nLastMs + 1;
    }
    // A time whose id is 0 (once every few seconds) is passed over.
    uint32_t dwId = fnFromTime(AtMsOfDay(tNow, nMs));
    while (dwId == 0)
        dwId = fnFromTime(AtMsOfDay(tNow, ++nMs));
    st.bAny = true;
    st.nLastMs = WrapDay(nMs);
    return dwId;
}

CIdState g_profileIds;
CIdState g_macroIds;

} // namespace

uint32_t NewProfileId() {
    return NextId(ProfileIdFromTime, g_profileIds);
}
uint32_t NewMacroId() {
    return NextId(MacroIdFromTime, g_macroIds);
}
