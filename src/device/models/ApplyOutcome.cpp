#include "device/models/ApplyOutcome.h"

#include "device/models/Dev8948Pointer.h"

void PresentApplyOutcome(const CApplyOutcome& outcome, IPointerSettings& sys) {
    // The settings first: a box may wait for a click, the desktop should not.
    for (const CPointerRequest& r : outcome.vPointer)
        ApplyWinPointer(sys, r.Sys);
    for (const CCollectingMessageSink::Entry& e : outcome.vMessages)
        PlatformMessageBox(e.strTitle, e.strText);
}
