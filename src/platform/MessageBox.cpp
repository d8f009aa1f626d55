#include "platform/MessageBox.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {
std::atomic<IMessageBoxSink*> g_pSink{nullptr};
thread_local IMessageBoxSink* t_pThreadSink = nullptr;
} // namespace

void PlatformMessageBox(const std::string& strTitle, const std::string& strText) {
    if (IMessageBoxSink* pSink = t_pThreadSink) {
        pSink->Show(strTitle, strText);
        return;
    }
    if (IMessageBoxSink* pSink = g_pSink.load()) {
        pSink->Show(strTitle, strText);
        return;
    }
    fprintf(stderr, "[%s] %s\n", strTitle.c_str(), strText.c_str());
}

void ErrorBox(const char* pszFormat, ...) {
    char szBuf[1024];
    va_list ap;
    va_start(ap, pszFormat);
    vsnprintf(szBuf, sizeof(szBuf), pszFormat, ap);
    va_end(ap);
    PlatformMessageBox("Error", szBuf);
}

void SetMessageBoxSink(IMessageBoxSink* pSink) {
    g_pSink.store(pSink);
}
IMessageBoxSink* GetMessageBoxSink() {
    return g_pSink.load();
}

IMessageBoxSink* GetThreadMessageBoxSink() {
    return t_pThreadSink;
}

CThreadMessageBoxScope::CThreadMessageBoxScope(IMessageBoxSink& sink) : m_pPrevious(t_pThreadSink) {
    t_pThreadSink = &sink;
}

CThreadMessageBoxScope::~CThreadMessageBoxScope() {
    t_pThreadSink = m_pPrevious;
}
