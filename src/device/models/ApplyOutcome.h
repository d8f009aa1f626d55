#pragma once
// How an apply thread tells what became of a request. Everything an apply would otherwise
// do to the desktop or the user (message boxes, pointer settings) is collected into the
// outcome and handed to a listener when the request ends; the receiver shows and sets it
// on its own thread. The worker itself never touches widgets nor waits for a click.
#include <vector>

#include "device/models/ApplySnapshot.h"
#include "platform/MessageBox.h"
#include "platform/PointerSettings.h"

struct CApplyOutcome {
    int nFlag = 0;         // the flags that were applied (the latest request's, see CApplyThread)
    int nResult = 0;       // 1 success; 0 failed, dropped or without profile
    bool bDropped = false; // no device and GoWithNoDev 0: nothing was written
    // Boxes raised while the request ran, in order: the encoders' ("Invalid key ...",
    // "Sensor unmatch ...") and the thread's own "   Update settings failed!      ".
    std::vector<CCollectingMessageSink::Entry> vMessages;
    // Pointer settings the flags asked for (flag 8 of the mouse), in the order the modes
    // were written; recorded whatever the result, as the settings were asked for before a
    // later step failed.
    std::vector<CPointerRequest> vPointer;
};

class IApplyListener {
public:
    virtual ~IApplyListener() = default;
    // Called on the apply thread once per handled request (applied or dropped), after the
    // progress sink's close requests and before the request counts as handled (Handled,
    // WaitHandled). Must return promptly and never wait for the user: post the outcome to
    // the thread that shows boxes and sets pointer settings.
    virtual void OnApplyDone(CApplyOutcome outcome) = 0;
};

// What a receiver does with an outcome on its own thread: sets each mode's pointer settings
// through sys (ApplyWinPointer), then shows each collected box through PlatformMessageBox.
void PresentApplyOutcome(const CApplyOutcome& outcome, IPointerSettings& sys);
