#include "device/models/Dev816.h"

#include "config/Log.h"
#include "storage/ProfileDefaults.h"

CDev816::CDev816(CGlobalVar& var, CHidLib* pLib, CMacroStore* pMacros)
    : CHidDev(var, var.KbFw, std::make_unique<CDrv816>(var, pLib), pMacros) {}

void CDev816::FillDefault(Profile& pro) {
    FillKbDefault(pro.Kb, m_var);
}

int CDev816::ApplySetting(const Profile&, IProgressSink*, uint32_t, int nFlag) {
    // Never report a write that did not happen.
    LogPrint("CDev816::ApplySetting not implemented, nFlag=0x%x", unsigned(nFlag));
    return 0;
}

int CDev816::UpdateMatrix(int nOn) {
    LogPrint("CDev816::UpdateMatrix not implemented, on=%d", nOn);
    return 0;
}
