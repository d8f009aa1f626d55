#include "cli/KeyAssignJson.h"

#include <cstdio>

nlohmann::json HexWordJson(uint32_t dw) {
    char sz[16];
    snprintf(sz, sizeof(sz), "0x%08X", dw);
    return sz;
}

nlohmann::json KeyFunJson(const KeyFun& kf) {
    return {{"dwFun", HexWordJson(kf.dwFun)},
            {"rcKey", {kf.rcKey.left, kf.rcKey.top, kf.rcKey.right, kf.rcKey.bottom}},
            {"nMatrixInx", kf.nMatrixInx},
            {"dwMacroId", kf.dwMacroId},
            {"byMod", kf.byMod},
            {"byVk", kf.byVk},
            {"byVk2", kf.byVk2},
            {"byModVk", kf.byModVk},
            {"dwParam", HexWordJson(kf.dwParam)},
            {"nLink", kf.nLink}};
}

nlohmann::json KeyAssignJson(const KeyAssign& ka) {
    return {{"Main", KeyFunJson(ka.Main)},
            {"Fn", KeyFunJson(ka.Fn)},
            {"dwGun", HexWordJson(ka.dwGun)},
            {"dwResv", HexWordJson(ka.dwResv)}};
}

nlohmann::json KeyAssignArrayJson(const KeyAssign* pKeys, int n) {
    nlohmann::json j = nlohmann::json::array();
    for (int i = 0; i < n; ++i) {
        j.push_back(KeyAssignJson(pKeys[i]));
    }
    return j;
}
