#pragma once
// How an apply reports progress. The encoders post message 1067 with a position 0..100;
// the apply thread finds the sink by the progress window's title before it starts and
// closes it when the apply ends. The GUI's progress window and the CLI's terminal bar
// implement the sink; a finder pairs a sink with the thread.
#include <cstdint>

inline constexpr uint32_t APPLY_PROGRESS_MSG = 1067;
inline constexpr const char* APPLY_PROGRESS_TITLE = "MyProgressDlg";

class IProgressSink {
public:
    virtual ~IProgressSink() = default;
    // nMsg is the request's message number; wParam the position, lParam 0.
    virtual void PostMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam) = 0;
    // A close request; the thread sends two, 20 ms apart.
    virtual void Close() = 0;
};

class IProgressFinder {
public:
    virtual ~IProgressFinder() = default;
    // The progress window with this title when it is shown, else null. The finder keeps
    // ownership; the sink must stay valid until its second Close.
    virtual IProgressSink* Find(const char* pszTitle) = 0;
};
