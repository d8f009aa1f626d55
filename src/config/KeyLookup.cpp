#include "config/KeyLookup.h"

#include "config/KeyEntry.h"
#include "config/Log.h"

int FindKeyMatrixInx(const KeyTables& keys, uint8_t byVk) {
    if (byVk == 0)
        return -1;
    uint8_t byBit = ModifierBitOfKey(byVk);
    int nFound = -1;
    for (const KeyAssign& ka : keys.g_defKEY) {
        const KeyFun& kf = ka.Main;
        if (kf.dwFun == 0)
            continue;
        if (byBit != 0) {
            if (kf.byMod & byBit)
                nFound = kf.nMatrixInx;
        } else if (kf.byMod == 0 && kf.byVk == byVk) {
            return kf.nMatrixInx;
        }
    }
    return nFound;
}

int GetFreeLinkIndex(const KeyTables& keys) {
    bool abUsed[FN_LINK_NUM] = {};
    for (const KeyAssign& ka : keys.g_defKEY)
        if (ka.Main.nLink >= 0 && ka.Main.nLink < FN_LINK_NUM)
            abUsed[ka.Main.nLink] = true;
    for (int i = 0; i < FN_LINK_NUM; ++i)
        if (!abUsed[i])
            return i;
    return -1;
}

const MsModeTables* GetResetPreset(const KeyTables& keys, int nIndex) {
    if (keys.ProPreset[0][0][0].Main.dwFun == 0)
        return nullptr;
    if (nIndex < 0 || nIndex >= PRESET_NUM) {
        LogPrint("ResetKey2: nIndex=%d", nIndex);
        return nullptr;
    }
    return &keys.ProPreset[nIndex];
}
