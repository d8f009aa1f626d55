// The 816 keyboard's conversion tables: hardware codes of key functions, the 128-byte
// hardware macro and the lighting bytes of the configuration block.
#include <gtest/gtest.h>

#include "Kb816Fixture.h"

namespace {

KeyFun At(KeyFun k, int nPos) {
    k.nMatrixInx = nPos;
    return k;
}

TEST_F(CKb816Test, HardwareCodes) {
    struct {
        const char* pszName;
        KeyFun key;
        uint32_t dwExp;
    } kCases[] = {
        {"left button", Kb816Fun(1, 17), 0x70000F0},
        {"right button", Kb816Fun(1, 18), 0x70000F2},
        {"middle button", Kb816Fun(1, 19), 0x70000F1},
        {"forward", Kb816Fun(1, 20), 0x70000F3},
        {"back", Kb816Fun(1, 21), 0x70000F4},
        {"mouse code 23", Kb816Fun(1, 23), 0x130},
        {"mouse code 22", Kb816Fun(1, 22), HW_CODE_NONE},
        {"Ctrl+Shift+A", Kb816Key(0x03, 65), 0x0304},
        {"second key ignored",
         [] {
             KeyFun k = Kb816Key(0, 66);
             k.byVk2 = 67;
             return k;
         }(),
         0x05},
        {"Enter at 81", At(Kb816Key(0, 13), 81), 0x28},
        {"Enter at 130", At(Kb816Key(0, 13), 130), 0x58},
        {"keypad Enter code", At(Kb816Key(0, 253), 10), 0x58},
        {"Fn key", Kb816Key(0, 250), 0x20000000},
        {"Fn key with Alt", Kb816Key(0x04, 250), 0x0400},
        {"left Ctrl alone", Kb816Key(0x01, 0), 0x60000E0},
        {"left Shift alone", Kb816Key(0x02, 0), 0x60000E1},
        {"left Alt alone", Kb816Key(0x04, 0), 0x60000E2},
        {"left Win alone", Kb816Key(0x08, 0), 0x60000E3},
        {"right Ctrl alone", Kb816Key(0x10, 0), 0x60000E4},
        {"right Shift alone", Kb816Key(0x20, 0), 0x60000E5},
        {"right Alt alone", Kb816Key(0x40, 0), 0x60000E6},
        {"right Win alone", Kb816Key(0x80, 0), 0x60000E3},
        {"two modifiers alone", Kb816Key(0x03, 0), 0x6000000},
        {"no key at all", Kb816Key(0, 0), 0},
        {"key without usage", Kb816Key(0x01, 7), 0x0100},
        {"browser back key", Kb816Key(0, 166), 0x4000224},
        {"media select key", Kb816Key(0, 181), 0x4000183},
        {"mute key with Ctrl", Kb816Key(0x01, 173), 0x40000E2},
        {"virtual key 182", Kb816Key(0, 182), HW_CODE_NONE},
        {"virtual key 183", Kb816Key(0, 183), HW_CODE_NONE},
        {"media player", Kb816Fun(3, 33), 0x4000183},
        {"play/pause", Kb816Fun(3, 34), 0x40000CD},
        {"mute", Kb816Fun(4, 40), 0x40000E2},
        {"calculator", Kb816Fun(3, 49), 0x4000192},
        {"favourites", Kb816Fun(4, 57), 0x400022A},
        {"multimedia 41", Kb816Fun(3, 41), HW_CODE_NONE},
        {"multimedia 58", Kb816Fun(3, 58), HW_CODE_NONE},
        {"macro once", Kb816Macro(0x222), 0x10000100},
        {"macro repeated", Kb816Macro(0x111), 0x10000500},
        {"macro missing", Kb816Macro(0x999), HW_CODE_NONE},
        {"key off", Kb816Fun(8, 162), 0},
        {"code 23 of class 8", Kb816Fun(8, 23), 0x130},
        {"class 8 166", Kb816Fun(8, 166), 0x8140},
        {"class 8 167", Kb816Fun(8, 167), 0x250},
        {"class 8 168", Kb816Fun(8, 168), 0x2040},
        {"class 8 169", Kb816Fun(8, 169), 0x4040},
        {"class 8 170", Kb816Fun(8, 170), 0x40},
        {"class 8 171", Kb816Fun(8, 171), 0x650},
        {"class 8 176", Kb816Fun(8, 176), 0xB000300},
        {"class 8 177", Kb816Fun(8, 177), 0x12000300},
        {"class 8 178", Kb816Fun(8, 178), 0xD000100},
        {"class 8 179", Kb816Fun(8, 179), 0xD000200},
        {"class 8 180", Kb816Fun(8, 180), 0xD000300},
        {"class 8 181", Kb816Fun(8, 181), 0xC000100},
        {"class 8 182", Kb816Fun(8, 182), 0xC000200},
        {"class 8 183", Kb816Fun(8, 183), 0xC000300},
        {"class 8 172", Kb816Fun(8, 172), HW_CODE_NONE},
        // Auto-fire: count, interval, then the key's usage (modifiers E0..E7, buttons kept).
        {"auto-fire A", Kb816Fun(8, 164, 0x410305), 0x05030420},
        {"auto-fire right Win", Kb816Fun(8, 164, 0x5C0102), 0x0201E720},
        {"auto-fire left Shift", Kb816Fun(8, 164, 0xA00102), 0x0201E120},
        {"auto-fire button", Kb816Fun(8, 164, 0xF20102), 0x0201F220},
        {"auto-fire without usage", Kb816Fun(8, 164, 0x070102), 0x02010020},
        {"raw code", Kb816Fun(9, 1, 0xDEADBEEF), 0xDEADBEEF},
        {"class 0", Kb816Fun(0, 0), HW_CODE_NONE},
        {"class 12", Kb816Fun(12, 0), HW_CODE_NONE},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(m_pDev->keyinfo_to_hardware_code(c.key), c.dwExp);
    }
    EXPECT_TRUE(m_log.Has("keyinfo_to_hardware_code can't find macro id 0x999"));
}

TEST_F(CKb816Test, InputMethodTranslatesKeysButNotAutoFire) {
    m_pVar->InputMethod = 1;
    // The AZERTY positions: A and Q trade places, M sits where the US semicolon is.
    EXPECT_EQ(m_pDev->keyinfo_to_hardware_code(Kb816Key(0, 65)), 0x14u); // Q
    EXPECT_EQ(m_pDev->keyinfo_to_hardware_code(Kb816Key(0, 77)), 0x36u); // comma position
    EXPECT_EQ(m_pDev->keyinfo_to_hardware_code(Kb816Fun(8, 164, 0x410101)), 0x01010420u);
    StMacro m{};
    m.Events[0] = {65, 0, 1, 5};
    uint8_t by[KB816_MACRO_LEN];
    ASSERT_EQ(m_pDev->StMacro_To_HdMacro(m, by, sizeof by), 4);
    EXPECT_EQ(by[3], 0x14);
}

TEST_F(CKb816Test, HardwareMacro) {
    struct {
        const char* pszName;
        uint16_t wLoop;
        std::vector<MacroEvent> vEvents;
        Bytes vExp;
    } kCases[] = {
        {"empty", 0, {}, {0x00, 0x01}},
        {"repeat count high byte first", 0x0102, {}, {0x01, 0x02}},
        {"short delays, 3 ms at least",
         1,
         {{65, 0, 1, 0}, {65, 0, 0, 3}, {66, 0, 1, 127}},
         {0x00, 0x01, 0x03, 0x04, 0x83, 0x04, 0x7F, 0x05}},
        {"long delay keeps the release bit",
         1,
         {{66, 0, 0, 12345}},
         {0x00, 0x01, 0xAD, 0x05, 0x00, 0x03, 0x00, 0x7B}},
        {"long delay of whole hundreds",
         1,
         {{66, 0, 1, 300}},
         {0x00, 0x01, 0x03, 0x05, 0x00, 0x03, 0x00, 0x03}},
        {"modifiers as left-hand usages",
         1,
         {{161, 0, 1, 5}, {163, 0, 1, 5}, {165, 0, 1, 5}, {92, 0, 1, 5}, {16, 0, 0, 5}},
         {0x00, 0x01, 0x05, 0xE1, 0x05, 0xE0, 0x05, 0xE2, 0x05, 0xE3, 0x85, 0xE1}},
        {"mouse buttons",
         1,
         {{240, 0, 1, 5}, {241, 0, 1, 5}, {242, 0, 0, 5}},
         {0x00, 0x01, 0x05, 0xF0, 0x05, 0xF1, 0x85, 0xF2}},
        {"codes without usage are left out",
         1,
         {{243, 0, 1, 5}, {245, 2, 0, 5}, {7, 0, 1, 5}, {65, 0, 1, 5}},
         {0x00, 0x01, 0x05, 0x04}},
        {"the list ends at code and amount 0",
         1,
         {{65, 0, 1, 5}, {0, 0, 0, 50}, {66, 0, 1, 5}},
         {0x00, 0x01, 0x05, 0x04}},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszName);
        StMacro m{};
        m.wLoopCount = c.wLoop;
        for (size_t i = 0; i < c.vEvents.size(); ++i)
            m.Events[i] = c.vEvents[i];
        uint8_t by[KB816_MACRO_LEN];
        std::fill(std::begin(by), std::end(by), 0xCC);
        ASSERT_EQ(m_pDev->StMacro_To_HdMacro(m, by, sizeof by), int(c.vExp.size()));
        Bytes vExp = c.vExp;
        vExp.resize(KB816_MACRO_LEN, 0);
        EXPECT_EQ(Bytes(by, by + KB816_MACRO_LEN), vExp);
    }
    EXPECT_TRUE(m_log.Has("StMacro_To_HdMacro: get wrong hid"));
    uint8_t bySmall[64];
    EXPECT_EQ(m_pDev->StMacro_To_HdMacro(StMacro{}, bySmall, sizeof bySmall), 0);
}

TEST_F(CKb816Test, HardwareMacroStopsWhereTheFirmwareStopsReading) {
    uint8_t by[KB816_MACRO_LEN];
    StMacro m{};
    for (int i = 0; i < MACRO_EVENT_MAX; ++i)
        m.Events[i] = {65, 0, uint16_t(i % 2), 5};
    // 61 short events end at byte 124; the 62nd would reach byte 125.
    EXPECT_EQ(m_pDev->StMacro_To_HdMacro(m, by, sizeof by), 124);
    EXPECT_EQ(by[123], 0x04);
    EXPECT_EQ(by[124], 0x00);
    for (int i = 0; i < MACRO_EVENT_MAX; ++i)
        m.Events[i].dwDelay = 500;
    // 19 long events end at byte 116; the 20th would pass byte 121.
    EXPECT_EQ(m_pDev->StMacro_To_HdMacro(m, by, sizeof by), 116);
    // A long event that does not fit ends the macro; a short one after it is not moved up.
    for (int i = 0; i < 61; ++i)
        m.Events[i] = {65, 0, 1, 5};
    m.Events[58] = {66, 0, 1, 1000}; // from byte 118 it would end at 124
    EXPECT_EQ(m_pDev->StMacro_To_HdMacro(m, by, sizeof by), 118);
}

TEST_F(CKb816Test, LightingBytes) {
    KbDesc& kb = m_pVar->Dev.Kb;
    KbSettings& set = m_pPro->Kb;
    uint8_t byCfg[KB_CFG_LEN] = {};
    kb.EffectNum = 13;
    set.nKbLedEffect = 12; // the last effect
    set.Led[12] = {1, 16, 1, 0, {}, 0, 0x13, 0};
    Kb816SetLighting(kb, set, false, byCfg);
    EXPECT_EQ(byCfg[8 + 5], 13);
    EXPECT_EQ(byCfg[8 + 18 + 24], 0x03); // code 0 is listed nowhere: direction 1 sends 0
    EXPECT_EQ(byCfg[8 + 18 + 25], 0x0F);
    EXPECT_EQ(byCfg[8 + 62], 0x5A);

    // Offsets from the configuration never reach the signature or beyond the block.
    std::fill(std::begin(byCfg), std::end(byCfg), 0);
    kb.EffectOffset = 40;
    kb.LedModeSelectOffset = 200;
    Kb816SetLighting(kb, set, true, byCfg);
    EXPECT_EQ(byCfg[0], 0x22);
    EXPECT_EQ(byCfg[8 + 61], 0xFF); // effect 10 ends at 61 (levels 0: 0 - 1 in both nibbles)
    EXPECT_EQ(byCfg[8 + 62], 0x5A);
    EXPECT_EQ(byCfg[8 + 63], 0xA5);
    for (size_t i = 8 + 64; i < sizeof byCfg; ++i)
        EXPECT_EQ(byCfg[i], 0) << i;
    EXPECT_TRUE(m_log.Has("effect 11 does not fit at offset 62"));

    struct {
        uint8_t byDirect[3];
        int nCode, nDir;
        uint8_t byExp;
    } kDirections[] = {
        {{7, 3, 4}, 7, 1, 3}, {{7, 3, 4}, 7, 2, 4}, {{7, 3, 4}, 5, 1, 0},
        {{7, 3, 4}, 5, 2, 8}, {{0, 0, 0}, 0, 2, 8}, {{0, 1, 2}, 0, 2, 2},
    };
    for (auto& c : kDirections) {
        SCOPED_TRACE(c.nCode * 10 + c.nDir);
        std::copy(c.byDirect, c.byDirect + 3, kb.Direct[0]);
        EXPECT_EQ(Kb816DirectionValue(kb, c.nCode, c.nDir), c.byExp);
    }
}

TEST_F(CKb816Test, ColourTableChannelOrder) {
    KbDesc& kb = m_pVar->Dev.Kb;
    uint8_t by[KB_COLOR_TABLE_MAX];
    kb.RGBIndex[0] = 0;
    kb.RGBIndex[1] = 1;
    kb.RGBIndex[2] = 2;
    ASSERT_EQ(Kb816ColorTable(kb, m_pPro->Kb, by, sizeof by), 42);
    EXPECT_EQ(Bytes(by + 21, by + 24), Bytes({0xAA, 0xBB, 0xCC}));
    kb.RGBIndex[2] = 1; // no permutation: blue, green, red
    ASSERT_EQ(Kb816ColorTable(kb, m_pPro->Kb, by, sizeof by), 42);
    EXPECT_EQ(Bytes(by + 21, by + 24), Bytes({0xCC, 0xBB, 0xAA}));
    kb.EffectNum = 40; // more effects than a profile holds
    EXPECT_EQ(Kb816ColorTable(kb, m_pPro->Kb, by, sizeof by), 18 * 21);
    EXPECT_EQ(Kb816ColorTable(kb, m_pPro->Kb, by, 100), 0);
}

} // namespace
