#include "device/models/Dev8948Pointer.h"

#include "config/Log.h"

namespace {

void ApplyOne(IPointerSettings& sys, EPointerKey eKey, const PointerValue& want,
              PointerApplyResult& res) {
    const char* pszName = PointerKeyName(eKey);
    if (!sys.Supported(eKey)) {
        LogPrint("Pointer setting %s: not supported", pszName);
        ++res.nNotApplied;
        return;
    }
    PointerValue cur;
    if (sys.Get(eKey, cur) && cur == want) {
        ++res.nUnchanged;
        return;
    }
    if (!sys.Set(eKey, want)) {
        LogPrint("Pointer setting %s: could not be set to %d", pszName, want.n[0]);
        ++res.nNotApplied;
        return;
    }
    LogPrint("Pointer setting %s set to %d", pszName, want.n[0]);
    ++res.nChanged;
}

PointerValue One(int32_t n) {
    PointerValue v;
    v.n[0] = n;
    return v;
}

} // namespace

PointerApplyResult ApplyWinPointer(IPointerSettings& sys, const WinPointer& wp) {
    PointerApplyResult res;
    ApplyOne(sys, EPointerKey::DoubleClickMs, One(wp.nDblClickMs), res);
    ApplyOne(sys, EPointerKey::WheelLines, One(wp.nWheelLines), res);
    PointerValue accel;
    if (wp.bEnhance)
        accel = PointerValue{{6, 10, 1}};
    ApplyOne(sys, EPointerKey::Acceleration, accel, res);
    ApplyOne(sys, EPointerKey::Speed, One(wp.nSpeed), res);
    ApplyOne(sys, EPointerKey::Trails, One(wp.nTrails), res);
    return res;
}
