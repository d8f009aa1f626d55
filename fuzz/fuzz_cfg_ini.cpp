// A whole cfg.ini from arbitrary bytes: options, then the mouse, keyboard and pad
// descriptions, the checks and the sensor lookups, into a fresh settings record.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "config/DescCheck.h"
#include "config/GlobalVar.h"
#include "config/IniFile.h"
#include "config/KbPadDescLoader.h"
#include "config/MouseDescLoader.h"
#include "config/Options.h"
#include "config/SensorTable.h"
#include "platform/MessageBox.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    static CDiscardingMessageSink sink;
    SetMessageBoxSink(&sink);
    CIniFile ini;
    ini.LoadFromBytes(pData, nSize);
    auto pVar = std::make_unique<CGlobalVar>();
    LoadLogOptions(ini, *pVar);
    LoadOptions(ini, *pVar);
    // Every loader runs whatever the controller codes say: each must cope with any input.
    LoadMsSection(ini, *pVar);
    LoadKbSection(ini, *pVar);
    LoadPadSection(ini, *pVar);
    (void)CheckDescriptions(*pVar);

    const MouseDesc& ms = pVar->Dev.Ms;
    for (const SensorCfg& c : ms.SensorCfgs) {
        for (int i = -1; i <= DPI_LEVEL_MAX; ++i) {
            (void)GetSensorDpiAt(ms, c.Sensor, i < 0 ? c.DEFLEVEL : i);
        }
        (void)GetSensorDpiCode(ms, c.Sensor, c.DPI[0]);
    }
    for (int i = 0; i < 28; ++i) {
        (void)GetSensorDpiAt(ms, ms.nCurSensor, ms.SnipMenu[i]);
    }
    return 0;
}
