#include "device/models/HidDev.h"

#include "config/Log.h"
#include "device/models/Dev8948Pointer.h"
#include "platform/Clock.h"
#include "storage/MacroStore.h"

CHidDev::CHidDev(CGlobalVar& var, int nDevCode, std::unique_ptr<CHidDrv> pDrv, CMacroStore* pMacros,
                 CMacroStore* pBullets)
    : m_var(var), m_nDevCode(nDevCode), m_pDrv(std::move(pDrv)),
      m_pMacros(pMacros ? pMacros : &MacroStore), m_pBullets(pBullets ? pBullets : &BulletStore) {}

CHidDev::~CHidDev() = default;

int CHidDev::ApplySetting(const Profile& pro, IProgressSink* pWnd, uint32_t nMsg, int nFlag) {
    std::unique_ptr<CApplySnapshot> pSnap = MakeApplySnapshot(pro, *m_pMacros, *m_pBullets);
    if (!pSnap) {
        LogPrint("ApplySetting: out of memory for the profile copy");
        return 0;
    }
    const int nResult = ApplySetting(*pSnap, pWnd, nMsg, nFlag);
    for (const CPointerRequest& r : pSnap->Pointer())
        ApplyWinPointer(GetPointerSettings(), r.Sys);
    return nResult;
}

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
