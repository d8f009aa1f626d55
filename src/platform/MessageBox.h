#pragma once
// The platform's plain message box, used for configuration and programming faults
// ("Wrong rect num", title "Error"). The core has no windows: it hands the box to a sink.
// The program installs one that shows a real box, velkinctl one that collects them.
//
// A thread may route its own boxes elsewhere for a while (CThreadMessageBoxScope): an apply
// thread collects the boxes its encoders raise and hands them to the window thread with
// the apply's outcome, since a worker must neither touch widgets nor wait for a click.
#include <string>
#include <vector>

class IMessageBoxSink {
public:
    virtual ~IMessageBoxSink() = default;
    virtual void Show(const std::string& strTitle, const std::string& strText) = 0;
};

// Drops every box; for fuzzing and benchmarks, where the boxes are not what is measured.
class CDiscardingMessageSink : public IMessageBoxSink {
public:
    void Show(const std::string&, const std::string&) override {}
};

// Records every box in order; for the CLI and tests. Not locked: fill it from one thread
// at a time.
class CCollectingMessageSink : public IMessageBoxSink {
public:
    struct Entry {
        std::string strTitle, strText;
    };
    void Show(const std::string& strTitle, const std::string& strText) override {
        m_vEntries.push_back({strTitle, strText});
    }
    std::vector<Entry> m_vEntries;
};

// Shows a box through the calling thread's sink when one is set, else through the
// installed sink (standard error when none is installed).
void PlatformMessageBox(const std::string& strTitle, const std::string& strText);
// printf-style text, title "Error".
void ErrorBox(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
// The process-wide sink. The caller keeps ownership; nullptr restores standard error.
void SetMessageBoxSink(IMessageBoxSink* pSink);
IMessageBoxSink* GetMessageBoxSink();

// The calling thread's own sink, null when its boxes go to the process-wide one.
IMessageBoxSink* GetThreadMessageBoxSink();

// Sends the boxes of the thread that makes it to sink until it ends, then restores what
// the thread had before (scopes nest). Make and end it on the same thread; the sink must
// outlive the scope.
class CThreadMessageBoxScope {
public:
    explicit CThreadMessageBoxScope(IMessageBoxSink& sink);
    ~CThreadMessageBoxScope();
    CThreadMessageBoxScope(const CThreadMessageBoxScope&) = delete;
    CThreadMessageBoxScope& operator=(const CThreadMessageBoxScope&) = delete;

private:
    IMessageBoxSink* m_pPrevious;
};
