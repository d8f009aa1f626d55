// The 8948 mouse's encoder over an arbitrary profile (a stored or imported record), an
// arbitrary mouse description and an arbitrary general block as the device returns it:
// matrices with macro and bullet buffers, general data of every light layout, gun data.
// Input: 8 bytes of description values, 140 bytes of device block, the profile record, then
// the events of a macro and a bullet macro that keys of the profile may bind.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "config/SensorTable.h"
#include "device/models/Dev8948.h"
#include "platform/MessageBox.h"
#include "storage/MacroStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    static CDiscardingMessageSink sink;
    SetMessageBoxSink(&sink);
    uint8_t byHead[8 + MS_PROFILE_LEN] = {};
    std::memcpy(byHead, pData, std::min(nSize, sizeof byHead));
    const size_t nRest = nSize > sizeof byHead ? nSize - sizeof byHead : 0;
    const uint8_t* pRest = pData + (nSize - nRest);

    auto pPro = std::make_unique<Profile>();
    std::memcpy(pPro.get(), pRest, std::min(nRest, sizeof(Profile)));
    auto pVar = std::make_unique<CGlobalVar>();
    pVar->MsFw = byHead[0] | (byHead[1] & 3) << 8;
    pVar->InputMethod = byHead[1] >> 7;
    MouseDesc& ms = pVar->Dev.Ms;
    for (int k = 0; k < 3; ++k) {
        ms.RGBIndex[k] = (byHead[2] >> (2 * k)) & 3; // 3 is out of range on purpose
        ms.DPIRGBIndex[k] = (byHead[3] >> (2 * k)) & 3;
    }
    for (int e = 0; e < (byHead[4] & 15); ++e)
        ms.Effects[e].bPresent = 1;
    ms.ShowLOD = byHead[5] & 1;
    ms.ShowReaction = (byHead[5] >> 1) & 3;
    ms.ShowDpiColor = (byHead[5] >> 3) & 1;
    ms.SensorCfgs[0].Sensor = 0x3360;
    ms.SensorCfgs[0].MDNUM = byHead[6] & 7;
    ms.SensorCfgs[0].DEFLEVEL = int8_t(byHead[7]);
    set_cur_sensor(ms, 0x3360);
    for (int m = 0; m < 3; ++m)
        for (int i = 0; i < 21; ++i)
            pVar->Dev.Keys.MsDefKey[m][i].Main.nMatrixInx =
                pPro->Ms.Mode[0].Keys[1][i].Main.nMatrixInx;

    CMacroStore macros, bullets;
    StMacro mac{};
    const size_t nEvents = nRest > sizeof(Profile) ? nRest - sizeof(Profile) : 0;
    std::memcpy(mac.Events, pRest + sizeof(Profile) * (nEvents > 0),
                std::min(nEvents, sizeof mac.Events));
    mac.dwId = pPro->Ms.Mode[0].Keys[0][0].Main.dwMacroId;
    mac.wLoopCount = uint16_t(nSize);
    macros.Add(mac);
    mac.dwId = pPro->Ms.Mode[0].Keys[0][1].Main.dwMacroId;
    bullets.Add(mac);

    CDev8948 dev(*pVar, nullptr, &macros, &bullets);
    dev.SetReset(byHead[6] >> 7);
    auto pAreas = std::make_unique<MsMacroAreas>();
    dev.AssignBuffers(pPro->Ms, 3, *pAreas);
    for (int m = 0; m < MS_PROFILE_MODES; ++m) {
        uint8_t byGeneral[MS_GENERAL_LEN] = {};
        std::memcpy(byGeneral, byHead + 8, MS_PROFILE_LEN);
        dev.BuildGeneral(pPro->Ms.Mode[m], m, byGeneral);
        uint8_t byGun[MS_GUN_LEN];
        dev.BuildGunData(pPro->Ms.Mode[m], m, pAreas->Matrix[m], byGun);
    }
    uint8_t byOut[MS_MACRO_LEN];
    if (dev.StMacro_To_HdMacro(mac, byOut, sizeof byOut) > MS_MACRO_LEN ||
        dev.BulletToHdMacro(mac, byOut, sizeof byOut) > MS_MACRO_LEN)
        abort();
    dev.ClearBufferIds();
    return 0;
}
