#pragma once
// A mode's operating-system pointer settings (WinPointer) applied through the platform's
// pointer back-end: each value is set only when the system's differs or cannot be read.
#include "platform/PointerSettings.h"
#include "storage/Profile.h"

// Settings changed, left alone because they already matched, and not applied (unsupported
// by the back-end or refused by it). Each outcome is logged.
struct PointerApplyResult {
    int nChanged = 0;
    int nUnchanged = 0;
    int nNotApplied = 0;
};

PointerApplyResult ApplyWinPointer(IPointerSettings& sys, const WinPointer& wp);
