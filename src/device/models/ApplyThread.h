#pragma once
// One apply thread per device kind (keyboard, mouse, pad). It sleeps until a request
// arrives, then writes the request's snapshot with the kind's model and drives the
// progress window. A request stores its flags, snapshot and progress sink and releases the
// semaphore once; a later request before the thread has woken overwrites all three, so
// both wake-ups apply the later one. An apply in progress cannot be cancelled; Stop waits
// for it.
//
// The worker touches nothing the window thread owns: it reads only the snapshot, reports
// progress through the sink, and collects the boxes raised meanwhile (its own and the
// encoders') and the pointer settings the flags ask for into a CApplyOutcome for the
// listener. Nothing on it waits for the user, and it never shows a box nor sets a pointer
// setting itself, listener or not.
//
// Threading contract:
// - Start, Stop, SetListener and the constructor: the owning thread.
// - Request, Busy, Handled, LastResult, LastOutcome, WaitHandled: any thread.
// - IApplyListener::OnApplyDone: the apply thread, once per handled request.
// - A sink passed with a request, the finder and the listener must stay valid until Stop
//   has returned (the destructor stops): the thread may still close
//   a superseded request's sink when it handles the next one.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "config/GlobalVar.h"
#include "device/models/ApplyOutcome.h"
#include "device/models/ApplySignal.h"
#include "device/models/ApplySnapshot.h"
#include "device/models/HidDev.h"
#include "device/models/ProgressSink.h"

// Flags of the full requests of the main window's Apply and Reset buttons.
inline constexpr int APPLY_FULL_MOUSE = 0x800F;
inline constexpr int APPLY_FULL_KEYBOARD = 0x8007;
inline constexpr int APPLY_FULL_PAD = 0x8007;

inline constexpr const char* APPLY_FAILED_TEXT = "   Update settings failed!      ";

struct ApplyRequest {
    std::string szTitle; // title of the progress window the thread looks for
    CHidDev* pDev = nullptr;
    CApplySignal Signal;       // request semaphore (maximum 100) and exit event
    std::atomic<int> nFlag{0}; // flags of the latest request
    uint32_t nMsg = 0;         // progress message number
    std::atomic<int> bBusy{0};
};

class CApplyThread {
public:
    // Requests carry their snapshots. pFinder may be null; it is asked for the progress
    // window by title only for requests that come without a sink.
    explicit CApplyThread(CGlobalVar& var, IProgressFinder* pFinder = nullptr);
    ~CApplyThread(); // stops and joins
    CApplyThread(const CApplyThread&) = delete;
    CApplyThread& operator=(const CApplyThread&) = delete;

    // Where outcomes go; set before Start. Without a listener nothing of an outcome is shown
    // or set: its boxes are written to the log and the outcome is only kept for
    // LastOutcome(), for callers that wait for the request themselves (tools, tests). A
    // program that shows boxes or changes pointer settings sets a listener.
    void SetListener(IApplyListener* pListener) { m_pListener = pListener; }

    // Starts the thread for the model; false when it already runs or pDev is null.
    bool Start(CHidDev* pDev);
    // Signals the exit event and joins; an apply in progress ends first.
    void Stop();
    bool Running() const { return m_thread.joinable(); }

    // Hands a snapshot to the thread and wakes it. pSink, when given, gets the progress
    // positions and the two close requests instead of a window looked up by title (and a
    // superseded request's sink gets its close requests when the next one ends). A null
    // pSnap is applied as "no current profile": nothing is written and the failure is
    // reported. False when 100 requests are already pending (nothing is stored then).
    // Without pSink the progress window is looked up by title through the finder when the
    // flags have bit 15.
    bool Request(int nFlag, std::unique_ptr<CApplySnapshot> pSnap, IProgressSink* pSink);
    bool Busy() const { return m_req.bBusy.load() != 0; }

    // Wake-ups handled so far (applied or dropped) and the result of the last apply
    // (-1 before any, 0 failed or dropped, 1 success). For the CLI and tests.
    int Handled() const;
    int LastResult() const { return m_nLastResult.load(); }
    // A copy of the outcome of the last handled request, kept whether or not a listener got
    // it; empty before any. Once WaitHandled(n) has returned true it is the n-th outcome or
    // a later one's.
    std::optional<CApplyOutcome> LastOutcome() const;
    // Waits in real time until at least nCount wake-ups are handled; false on timeout.
    bool WaitHandled(int nCount, int nTimeoutMs);

    const ApplyRequest& Req() const { return m_req; }

private:
    // The request the next wake-up applies.
    struct CPending {
        int nFlag = 0;
        std::shared_ptr<CApplySnapshot> pSnap;
        IProgressSink* pSink = nullptr;
        bool bTaken = false; // a wake-up has applied it; overwriting it supersedes nothing
        // Sinks of overwritten requests, closed when the next request ends so no progress
        // window waits for ever.
        std::vector<IProgressSink*> vSuperseded;
    };

    void Run();
    void HandleRequest();
    IProgressSink* FindProgress(int nFlag);
    void CloseSinks(IProgressSink* pWnd, const std::vector<IProgressSink*>& vOther);
    void Deliver(CApplyOutcome outcome);

    CGlobalVar& m_var;
    IProgressFinder* m_pFinder;
    IApplyListener* m_pListener = nullptr;
    ApplyRequest m_req;
    std::mutex m_mtxPending;
    CPending m_pending;
    std::thread m_thread;
    std::atomic<int> m_nLastResult{-1};
    mutable std::mutex m_mtxDone;
    std::condition_variable m_cvDone;
    int m_nHandled = 0;
    std::optional<CApplyOutcome> m_lastOutcome; // under m_mtxDone
};
