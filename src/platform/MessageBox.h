#pragma once
// The platform's plain message box, used for configuration and programming faults
// ("Wrong rect num", title "Error"). The core has no windows: it hands the box to a sink.
// The program installs one that shows a real box, velkinctl one that collects them.
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

// Records every box in order; for the CLI and tests.
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

// Shows a box through the installed sink (standard error when none is installed).
void PlatformMessageBox(const std::string& strTitle, const std::string& strText);
// printf-style text, title "Error".
void ErrorBox(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
void SetMessageBoxSink(IMessageBoxSink* pSink);
IMessageBoxSink* GetMessageBoxSink();
