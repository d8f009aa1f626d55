#pragma once
// Pairs the apply threads with the progress window. A thread asks Find for "MyProgressDlg"
// and gets a sink that it calls from its own thread; every call is posted to the
// user-interface thread and reaches the dialog that was shown when that thread found it.
//
// The sink handed out is one object owned by the finder, so it stays valid as long as the
// finder lives, whatever happens to the dialogs: a dialog the user closed meanwhile simply
// gets nothing more. Each thread is bound to the dialog of its last Find, so a thread still
// finishing an earlier apply never moves or closes a newer dialog. The finder must outlive
// the apply threads that use it (create it before them, destroy it after joining them), and
// is made on the user-interface thread, where the posted calls run.
#include <QObject>
#include <QPointer>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "device/models/ProgressSink.h"

class CProgressDlg;

// What a thread holds of a dialog: a guarded pointer, read only on the user-interface thread.
struct CProgressLink {
    QPointer<CProgressDlg> pDlg;
};

class CProgressFinder : public IProgressFinder {
public:
    CProgressFinder();
    ~CProgressFinder() override;
    CProgressFinder(const CProgressFinder&) = delete;
    CProgressFinder& operator=(const CProgressFinder&) = delete;

    // Any thread. The sink of the shown progress dialog, or null when none is shown or the
    // title is another one.
    IProgressSink* Find(const char* pszTitle) override;

    // User-interface thread: the dialog offers itself while shown and withdraws when hidden.
    void Publish(const std::shared_ptr<CProgressLink>& pLink);
    void Withdraw(const std::shared_ptr<CProgressLink>& pLink);
    bool HasShown() const;

private:
    class CSink : public IProgressSink {
    public:
        explicit CSink(CProgressFinder& owner) : m_owner(owner) {}
        void PostMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam) override;
        void Close() override;

    private:
        CProgressFinder& m_owner;
    };

    // The dialog the calling thread found last, or null.
    std::shared_ptr<CProgressLink> BoundLink();

    QObject m_context; // lives on the user-interface thread; queued calls run there
    CSink m_sink;
    mutable std::mutex m_mtx;
    std::shared_ptr<CProgressLink> m_pShown;
    std::unordered_map<std::thread::id, std::shared_ptr<CProgressLink>> m_mapBound;
};
