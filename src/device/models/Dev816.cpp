#include "device/models/Dev816.h"

#include "storage/ProfileDefaults.h"

CDev816::CDev816(CGlobalVar& var, CHidLib* pLib, CMacroStore* pMacros)
    : CHidDev(var, var.KbFw, std::make_unique<CDrv816>(var, pLib), pMacros) {}

void CDev816::FillDefault(Profile& pro) {
    FillKbDefault(pro.Kb, m_var);
}
