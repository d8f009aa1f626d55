// Key entries come from installation files written by hand: any bytes must load into the
// key tables without a crash, and every index the tables hold must stay inside the tables
// that later use it (150 keys and light positions, 48 Fn links).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "config/FunctionNames.h"
#include "config/KeyEntry.h"
#include "config/KeyLookup.h"
#include "config/KeyTablesLoader.h"
#include "platform/MessageBox.h"

namespace {

void CheckKeyboardTables(const CGlobalVar& var) {
    const KeyTables& keys = var.Dev.Keys;
    if (keys.nKbKeyNum < 0 || keys.nKbKeyNum > KB_KEY_MAX)
        std::abort();
    for (int i = 0; i < KB_KEY_MAX; ++i) {
        const KeyAssign& ka = keys.g_defKEY[i];
        if (i < keys.nKbKeyNum && (ka.Main.nMatrixInx < 0 || ka.Main.nMatrixInx >= KB_KEY_MAX ||
                                   ka.Fn.nLink < 0 || ka.Fn.nLink >= KB_KEY_MAX))
            std::abort();
        if (ka.Main.nLink < -1 || ka.Main.nLink >= FN_LINK_NUM)
            std::abort();
        (void)GetFunName(ka.Main, var);
        (void)GetFunName(ka.Fn, var);
    }
    int nFree = GetFreeLinkIndex(keys);
    if (nFree < -1 || nFree >= FN_LINK_NUM)
        std::abort();
    for (int n = 0; n < 256; n += 17)
        (void)FindKeyMatrixInx(keys, static_cast<uint8_t>(n));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    static CDiscardingMessageSink s_Sink;
    SetMessageBoxSink(&s_Sink);
    static std::unique_ptr<CGlobalVar> s_pVar = std::make_unique<CGlobalVar>();
    CGlobalVar& var = *s_pVar;
    var.Dev.Keys = KeyTables{};
    var.Debug = 1;
    var.KbType = nSize % 4;

    // The raw bytes as one entry value of each format.
    std::string strValue(reinterpret_cast<const char*>(pData), nSize);
    MouseKeyEntryParams params;
    KeyAssign ka{};
    int32_t nCustom = 0;
    if (ParseMouseKeyEntry(strValue, params, ka, &nCustom))
        (void)GetFunName(ka.Main, var);
    (void)ParseKbKeyEntry(strValue);
    (void)ParseFnKeyEntry(strValue);
    (void)ParseGestKeyEntry(strValue);

    // The bytes as a cfg.ini and a ProCfg.ini.
    CIniFile ini;
    ini.LoadFromBytes(pData, nSize);
    LoadKbKeyTable(ini, var);
    CheckKeyboardTables(var);
    LoadFnTable(ini, var);
    CheckKeyboardTables(var);
    LoadGestTable(ini, var);
    for (const KeyAssign& g : var.Dev.Keys.Gest)
        (void)GetFunName(g.Main, var);
    LoadProCfg(ini, params, var);
    for (const auto& preset : var.Dev.Keys.ProPreset)
        for (const auto& mode : preset)
            for (const KeyAssign& k : mode)
                (void)GetFunName(k.Main, var);

    // The presets as the sensor description of a mouse, with a row geometry from the input.
    SensorCfg& cfg = var.Dev.Ms.SensorCfgs[0];
    memcpy(cfg.Keys, var.Dev.Keys.ProPreset[0], sizeof(cfg.Keys));
    cfg.KEYY = ini.GetInt("SENSOR_1", "KEYY", 35);
    cfg.KEYH = ini.GetInt("SENSOR_1", "KEYH", 6);
    var.ViewKeyNum = ini.GetInt("OPT", "ViewKeyNum", 0);
    var.MsFw = 0x10;
    var.Dev.Ms.nSensorCfgIndex = 0;
    LoadKeyTables(ini, var);
    return 0;
}
