#include "cli/ProgressBar.h"

#include <unistd.h>

#include <cstring>

namespace {
constexpr int kMin = 0;
constexpr int kMax = 100;
} // namespace

CProgressBar::CProgressBar(FILE* pOut, bool bTerminal, uint32_t nMsg)
    : m_pOut(pOut), m_bTerminal(bTerminal), m_nMsg(nMsg) {}

bool CProgressBar::StderrIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

std::string CProgressBar::Render(int nPos) {
    if (nPos < kMin || nPos > kMax)
        nPos = kMin;
    const int nFilled = nPos * kWidth / kMax;
    char sz[kWidth + 16];
    std::snprintf(sz, sizeof sz, "[%s%s] %3d%%", std::string(size_t(nFilled), '#').c_str(),
                  std::string(size_t(kWidth - nFilled), '.').c_str(), nPos);
    return sz;
}

void CProgressBar::Show() {
    std::lock_guard<std::mutex> lock(m_mtx);
    m_bShown = true;
    m_nPos = kMin;
    DrawLocked();
}

bool CProgressBar::Shown() const {
    std::lock_guard<std::mutex> lock(m_mtx);
    return m_bShown;
}

int CProgressBar::Position() const {
    std::lock_guard<std::mutex> lock(m_mtx);
    return m_nPos;
}

void CProgressBar::PostMessage(uint32_t nMsg, uintptr_t wParam, intptr_t) {
    if (nMsg != m_nMsg)
        return;
    std::lock_guard<std::mutex> lock(m_mtx);
    if (!m_bShown)
        return;
    const int nPos = wParam <= uintptr_t(kMax) ? int(wParam) : kMin;
    if (nPos == m_nPos)
        return;
    m_nPos = nPos;
    DrawLocked();
}

void CProgressBar::Close() {
    std::lock_guard<std::mutex> lock(m_mtx);
    if (!m_bShown)
        return;
    m_bShown = false;
    if (m_bTerminal) {
        std::fputc('\n', m_pOut);
        std::fflush(m_pOut);
    }
}

IProgressSink* CProgressBar::Find(const char* pszTitle) {
    if (!pszTitle || std::strcmp(pszTitle, APPLY_PROGRESS_TITLE) != 0)
        return nullptr;
    return Shown() ? this : nullptr;
}

void CProgressBar::DrawLocked() {
    const std::string str = Render(m_nPos);
    if (m_bTerminal)
        std::fprintf(m_pOut, "\r%s", str.c_str());
    else
        std::fprintf(m_pOut, "%s\n", str.c_str());
    std::fflush(m_pOut);
}
