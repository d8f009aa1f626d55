// The 816 keyboard's encoder over an arbitrary profile (a stored or imported record) and an
// arbitrary keyboard description: key matrix with macros, lighting bytes, colour table and
// per-key colour pages. Input: 8 bytes of description values, then the profile record,
// then the events of a macro that keys of the profile may bind.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "device/models/Dev816.h"
#include "platform/MessageBox.h"
#include "storage/MacroStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    static CDiscardingMessageSink sink;
    SetMessageBoxSink(&sink);
    uint8_t byHead[8] = {};
    std::memcpy(byHead, pData, std::min(nSize, sizeof byHead));
    const size_t nRest = nSize > sizeof byHead ? nSize - sizeof byHead : 0;
    const uint8_t* pRest = pData + (nSize - nRest);

    auto pPro = std::make_unique<Profile>();
    std::memcpy(pPro.get(), pRest, std::min(nRest, sizeof(Profile)));
    auto pVar = std::make_unique<CGlobalVar>();
    KbDesc& kb = pVar->Dev.Kb;
    kb.EffectOffset = byHead[0];
    kb.LedModeSelectOffset = byHead[1];
    kb.EffectNum = byHead[2];
    kb.RGBIndex[0] = byHead[3];
    kb.RGBIndex[1] = byHead[4];
    kb.RGBIndex[2] = byHead[5];
    kb.GaoshouGroupNum = byHead[6];
    kb.Direct[0][0] = 1;
    kb.Direct[0][2] = 9;
    pVar->InputMethod = byHead[7] & 1;
    KeyTables& keys = pVar->Dev.Keys;
    keys.nKbKeyNum = byHead[7] >> 1;
    std::memcpy(keys.g_defKEY, pPro->Kb.KbKeys, sizeof keys.g_defKEY);
    // The profile's leading reserved bytes name the key-set switch keys.
    std::memcpy(pVar->Dev.Ms.KeySwVk, pPro.get(), sizeof pVar->Dev.Ms.KeySwVk);

    CMacroStore macros;
    StMacro mac{};
    mac.dwId = pPro->Kb.KbKeys[0].Main.dwMacroId;
    if (nRest > sizeof(Profile))
        std::memcpy(mac.Events, pRest + sizeof(Profile),
                    std::min(nRest - sizeof(Profile), sizeof mac.Events));
    mac.wLoopCount = uint16_t(nSize);
    macros.Add(mac);

    CDev816 dev(*pVar, nullptr, &macros);
    auto pMx = std::make_unique<CKb816Matrix>();
    dev.FillMatrix(*pPro, *pMx);
    dev.SetKeySwitchKeys(*pMx);
    uint8_t byOut[KB816_CODES * 4];
    Kb816MatrixOut(*pMx, byOut);
    Kb816MergeMatrix(*pMx, byOut);
    uint8_t byCfg[KB_CFG_LEN] = {};
    Kb816SetLighting(kb, pPro->Kb, byHead[0] & 1, byCfg);
    if (byCfg[8 + KB816_CFG_SIGNATURE] != 0x5A)
        abort();
    uint8_t byTable[KB_COLOR_TABLE_MAX];
    if (Kb816ColorTable(kb, pPro->Kb, byTable, sizeof byTable) > KB_COLOR_TABLE_MAX)
        abort();
    uint8_t byPage[KB_LED_MATRIX_LEN];
    for (int p = 0; p < (Kb816GroupCount(kb) + 1) / 2; ++p)
        Kb816LedPage(keys, pPro->Kb, p, byPage);
    uint8_t byMacro[KB816_MACRO_LEN];
    if (dev.StMacro_To_HdMacro(mac, byMacro, sizeof byMacro) > KB816_MACRO_LEN)
        abort();
    return 0;
}
