#pragma once
// Pairs each apply request with the progress window the window shows for it, without
// looking a window up by title. The window asks for a sink before it wakes the apply thread
// and hands the same sink to the dialog it then shows (Attach). The thread calls the sink
// from its own thread; every call is posted to the user-interface thread and reaches the
// dialog attached to that sink, so a thread still finishing an earlier request never moves
// or closes a newer dialog. A close that arrives before the dialog is attached is kept: the
// dialog then does not open at all.
//
// The sinks live as long as the channel (an apply thread may close a superseded request's
// sink later): make the channel before the apply threads and destroy it after joining them.
// Made and used on the user-interface thread.
#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

#include "device/models/ProgressSink.h"

class CProgressDlg;

class CProgressChannel {
public:
    CProgressChannel();
    ~CProgressChannel();
    CProgressChannel(const CProgressChannel&) = delete;
    CProgressChannel& operator=(const CProgressChannel&) = delete;

    // A sink for one request.
    IProgressSink* NewSink();
    // The dialog that shows the sink's request; it takes the last position already posted.
    // False when the request was closed already (the dialog need not be shown).
    bool Attach(IProgressSink* pSink, CProgressDlg& dlg);

private:
    struct CState {
        QPointer<CProgressDlg> pDlg;
        bool bClosed = false;
        int nMsg = 0;
        uintptr_t wPos = 0;
        bool bHasPos = false;
    };
    class CSink : public IProgressSink {
    public:
        CSink(QObject& context) : m_context(context), m_pState(std::make_shared<CState>()) {}
        void PostMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam) override;
        void Close() override;
        const std::shared_ptr<CState>& State() const { return m_pState; }

    private:
        QObject& m_context;
        std::shared_ptr<CState> m_pState;
    };

    QObject m_context; // lives on the user-interface thread; the posted calls run there
    std::vector<std::unique_ptr<CSink>> m_vSinks;
};
