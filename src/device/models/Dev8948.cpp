#include "device/models/Dev8948.h"

#include "config/Log.h"
#include "config/SensorTable.h"
#include "storage/MacroStore.h"
#include "storage/ProfileDefaults.h"

CDev8948::CDev8948(CGlobalVar& var, CHidLib* pLib, CMacroStore* pMacros, CMacroStore* pBullets)
    : CHidDev(var, var.MsFw, std::make_unique<CDrv8948>(var, pLib), pMacros, pBullets) {}

void CDev8948::FillDefault(Profile& pro) {
    FillMsDefault(pro.Ms, m_var);
}

KeyAssign* CDev8948::GetKeySet(Profile& pro, int nMode, int nSet) {
    if (nMode == -1)
        nMode = pro.Ms.nMode;
    if (nMode < 0 || nMode >= MS_PROFILE_MODES)
        return nullptr;
    if (nSet == -1)
        nSet = pro.Ms.Mode[nMode].nKeySet;
    if (nSet < 0 || nSet >= MS_KEY_SETS)
        return nullptr;
    return pro.Ms.Mode[nMode].Keys[nSet];
}

void CDev8948::SetSensorDefault(Profile& pro, int nSensor) {
    const MouseDesc& desc = m_var.Dev.Ms;
    if (nSensor == 0 || !FindSensorEntry(desc, nSensor))
        return;
    const SensorCfg* pCfg = nullptr;
    for (const SensorCfg& cfg : desc.SensorCfgs)
        if (cfg.Sensor == nSensor) {
            pCfg = &cfg;
            break;
        }
    FillSensorLevels(pro.Ms, pCfg);
    pro.Ms.nSensor = nSensor;
}
