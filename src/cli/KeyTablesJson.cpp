// The key tables in the JSON of `velkinctl config`: every record field under its record
// name, function words and parameters as hexadecimal strings.
#include <cstdio>

#include "cli/CliContext.h"
#include "cli/KeyAssignJson.h"
#include "config/GlobalVar.h"
#include "config/KeyTables.h"

namespace {

template <size_t N> nlohmann::json TableJson(const KeyAssign (&aTable)[N], size_t nCount = N) {
    nlohmann::json j = nlohmann::json::array();
    for (size_t i = 0; i < nCount && i < N; ++i)
        j.push_back(KeyAssignJson(aTable[i]));
    return j;
}

nlohmann::json ModesJson(const KeyAssign (&aModes)[MS_MODE_NUM][MS_KEY_MAX]) {
    nlohmann::json j = nlohmann::json::array();
    for (const auto& mode : aModes)
        j.push_back(TableJson(mode));
    return j;
}

} // namespace

void AddKeyTablesJson(nlohmann::json& j) {
    const KeyTables& keys = gVar.Dev.Keys;
    nlohmann::json& jk = j["Keys"];
    jk["nKbKeyNum"] = keys.nKbKeyNum;
    // Only the stored keys: the records past the count are never read.
    size_t nKeys = keys.nKbKeyNum > 0 ? static_cast<size_t>(keys.nKbKeyNum) : 0;
    jk["g_defKEY"] = TableJson(keys.g_defKEY, nKeys);
    jk["MsDefKey"] = ModesJson(keys.MsDefKey);
    jk["Gest"] = TableJson(keys.Gest);
    nlohmann::json jp = nlohmann::json::array();
    for (const auto& preset : keys.ProPreset)
        jp.push_back(ModesJson(preset));
    jk["ProPreset"] = jp;
    jk["nCustomKeyParam"] = HexWordJson(static_cast<uint32_t>(keys.nCustomKeyParam));
}
