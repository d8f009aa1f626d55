// The companion keyboard of a mouse: the keys named in [MS] KeySwVk switch the mouse's key
// sets (on) or act as ordinary keys again (off).
#include "config/Log.h"
#include "device/models/Dev816.h"
#include "device/models/VkToHid.h"
#include "platform/Clock.h"

int CDev816::UpdateMatrix(int nOn) {
    uint8_t byMatrix[KB_MATRIX_LEN];
    if (!Drv816().GetCommand(byMatrix)) {
        LogPrint("UpdateMatrix GetCommand Err.");
        return 0;
    }
    const MouseDesc& ms = m_var.Dev.Ms;
    bool bChanged = false;
    for (int i = 0; i < 3; ++i) {
        const uint8_t byVk = ms.KeySwVk[i];
        if (byVk == 0)
            continue;
        const int n = ms.KeySwVkMatrix[i];
        // Past the key positions lie the Fn tables, which are no keys.
        if (n >= KB816_KEYS) {
            LogPrint("UpdateMatrix: matrix position %d of key 0x%x out of range", n, byVk);
            continue;
        }
        const uint32_t dwNew = nOn == 1 ? KB816_CODE_KEY_SWITCH + byVk : VkToHid(byVk);
        uint8_t* p = byMatrix + 4 * n;
        if (Kb816ReadCode(p) != dwNew) {
            Kb816WriteCode(p, dwNew);
            bChanged = true;
        }
    }
    if (!bChanged)
        return 1;
    LogPrint("UpdateMatrix SendCommand.");
    SleepMs(15);
    LogDump(byMatrix, sizeof byMatrix, 16, "");
    if (!Drv816().SetKeyMatrix(byMatrix)) {
        LogPrint("UpdateMatrix SendCommand Err.");
        return 0;
    }
    return 1;
}
