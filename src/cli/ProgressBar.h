#pragma once
// The terminal's stand-in for the progress window: a bar on standard error that the apply
// thread finds by the window's title and moves with the encoders' progress messages. On a
// terminal it is redrawn in place; into a file or pipe every change is one line, so logs
// stay readable.
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

#include "device/models/ProgressSink.h"

class CProgressBar : public IProgressSink, public IProgressFinder {
public:
    static constexpr int kWidth = 10; // characters between the brackets

    // bTerminal: redraw in place with a carriage return. nMsg is the progress message the
    // bar listens to; other messages are ignored.
    CProgressBar(FILE* pOut, bool bTerminal, uint32_t nMsg = APPLY_PROGRESS_MSG);
    // A bar on standard error, in place when standard error is a terminal.
    static bool StderrIsTerminal();

    // Draws position 0 and makes the bar findable, as showing the progress window does.
    void Show();
    bool Shown() const;
    int Position() const;

    void PostMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam) override;
    // The first close ends the bar's line and hides it; further closes do nothing.
    void Close() override;
    IProgressSink* Find(const char* pszTitle) override;

    // "[#####.....]  50%"; positions outside 0..100 are drawn as 0, as the progress
    // window shows its range's minimum for them.
    static std::string Render(int nPos);

private:
    void DrawLocked();

    mutable std::mutex m_mtx;
    FILE* m_pOut;
    bool m_bTerminal;
    uint32_t m_nMsg;
    bool m_bShown = false;
    int m_nPos = 0;
};
