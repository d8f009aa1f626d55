#include "device/models/HidDev.h"

#include "platform/Clock.h"
#include "storage/MacroStore.h"

CHidDev::CHidDev(CGlobalVar& var, int nDevCode, std::unique_ptr<CHidDrv> pDrv, CMacroStore* pMacros)
    : m_var(var), m_nDevCode(nDevCode), m_pDrv(std::move(pDrv)),
      m_pMacros(pMacros ? pMacros : &MacroStore) {}

CHidDev::~CHidDev() = default;

HidHandle CHidDev::GetHandle() const {
    return m_pDrv ? m_pDrv->GetHandle() : nullptr;
}

void CHidDev::Progress(IProgressSink* pWnd, uint32_t nMsg, int nPos) {
    if (pWnd)
        pWnd->PostMessage(nMsg, uintptr_t(nPos), 0);
}

void CHidDev::ProgressDone(IProgressSink* pWnd, uint32_t nMsg) {
    Progress(pWnd, nMsg, 100);
    SleepMs(500);
}
