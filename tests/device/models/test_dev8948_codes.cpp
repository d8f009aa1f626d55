// 8948 conversions without transfers: hardware key codes of every class, hardware macros of
// ordinary and bullet macros, the macro-buffer limits, and the lighting layouts.
#include <gtest/gtest.h>

#include <cstring>

#include "Dev8948Fixture.h"

namespace {

using CDev8948CodesTest = CDev8948Test;

KeyFun Fun(uint32_t nClass, uint32_t nCode, uint32_t dwParam = 0) {
    KeyFun kf{};
    kf.dwFun = MakeFun(nClass, nCode);
    kf.dwParam = dwParam;
    return kf;
}

KeyFun KeyCombo(uint8_t byMod, uint8_t byVk, uint8_t byVk2) {
    KeyFun kf = Fun(2, 0);
    kf.byMod = byMod;
    kf.byVk = byVk;
    kf.byVk2 = byVk2;
    return kf;
}

TEST_F(CDev8948CodesTest, HardwareCodesOfEveryClass) {
    m_macros.Add(MakeMacro(0x10, 2, 0x0105, {{65, 0, 1, 5}})); // count low byte 5
    m_macros.Add(MakeMacro(0x11, 7, 0x0100, {{65, 0, 1, 5}})); // low byte 0 counts as 1
    m_bullets.Add(MakeMacro(0x20, 1, 2, {{240, 0, 10, 5}}));
    KeyFun mac = Fun(5, 0), mac0 = Fun(5, 0), bul = Fun(12, 0), missing = Fun(5, 0);
    mac.dwMacroId = 0x10;
    mac0.dwMacroId = 0x11;
    bul.dwMacroId = 0x20;
    missing.dwMacroId = 0x99;
    struct {
        const char* pszName;
        KeyFun kf;
        uint32_t dwExp;
    } kCases[] = {
        {"left button", Fun(1, 17), 0x111},
        {"button 23", Fun(1, 23), 0x3320131},
        {"button 27", Fun(1, 27), 0x113},
        {"class 1 unknown", Fun(1, 28), HW_CODE_NONE},
        {"Ctrl+Shift+A, 1", KeyCombo(3, 65, 49), 0x1E040321},
        {"key without usage", KeyCombo(0, 7, 0), 0x21},
        {"keypad Enter", KeyCombo(0, 253, 0), 0x580021},
        {"media player", Fun(3, 33), 0x10022},
        {"next", Fun(4, 37), 0x122},
        {"favourites", Fun(3, 57), 0x40000022},
        {"media 41", Fun(3, 41), HW_CODE_NONE},
        {"macro", mac, 0x05040070},
        {"macro count 256", mac0, 0x01000070},
        {"bullet", bul, 0x02020060},
        {"macro missing", missing, HW_CODE_NONE},
        {"class 9", Fun(9, 0, 0xDEADBEEF), 0xDEADBEEF},
        {"class 11", Fun(11, 0, 0x1234), 0x1234},
        {"key off", Fun(8, 162), 0x150},
        {"raw", Fun(8, 173, 0xA1B2C3D4), 0xA1B2C3D4},
        {"8/175", Fun(8, 175), 0x950},
        {"8/209", Fun(8, 209), 0x20450},
        {"8/211", Fun(8, 211), 0x243},
        {"8/163", Fun(8, 163), HW_CODE_NONE},
        // 0x3360 lock codes are positions 1..: entry 3 is code 3.
        {"dpi lock 3", Fun(8, 166, 3), 0x342},
        {"dpi lock 0", Fun(8, 166, 0), HW_CODE_NONE},
        {"dpi lock past the list", Fun(8, 166, 22), HW_CODE_NONE},
        // Gun 2, level 1, speed 25, value 40; level 2; level 3 adds nothing.
        {"gun level 1", Fun(8, 192, 0x19280012), 0x28191360},
        {"gun level 2", Fun(8, 192, 0x01FF0026), 0xFF012760},
        {"gun level 3", Fun(8, 192, 0x01010036), 0x01010760},
        // Auto-fire: byte 2 the key, bytes 1 and 0 the timing.
        {"auto-fire left Ctrl", Fun(8, 164, 0xA20A05), 0x050A0133},
        {"auto-fire right Win", Fun(8, 164, 0x5C0A05), 0x050A8033},
        {"auto-fire button 243", Fun(8, 164, 0xF30102), 0x02011031},
        {"auto-fire button 244", Fun(8, 164, 0xF40102), 0x02010831},
        {"auto-fire key B", Fun(8, 164, 0x420102), 0x02010532},
        {"class 6", Fun(6, 1), HW_CODE_NONE},
    };
    for (auto& c : kCases)
        EXPECT_EQ(m_pDev->keyinfo_to_hardware_code(c.kf), c.dwExp) << c.pszName;
    EXPECT_TRUE(m_log.Has("keyinfo_to_hardware_code can't find macro id 0x99"));
}

TEST_F(CDev8948CodesTest, InputMethodTranslatesKeysButNotAutoFire) {
    m_pVar->InputMethod = 1;
    // On AZERTY the key position of Q is the US A (usage 4), and A the US Q (usage 20).
    EXPECT_EQ(m_pDev->keyinfo_to_hardware_code(KeyCombo(0, 'A', 'Q')), 0x04140021u);
    EXPECT_EQ(m_pDev->keyinfo_to_hardware_code(Fun(8, 164, 0x410000)), 0x00000432u);
    m_macros.Add(MakeMacro(0x10, 0, 1, {{'A', 0, 1, 1}}));
    uint8_t by[510];
    ASSERT_EQ(m_pDev->StMacro_To_HdMacro(*m_macros.Find(0x10), by, sizeof by), 5);
    EXPECT_EQ(by[4], 20);
    m_pVar->InputMethod = 0;
    EXPECT_EQ(m_pDev->keyinfo_to_hardware_code(KeyCombo(0, 'A', 'Q')), 0x14040021u);
}

TEST_F(CDev8948CodesTest, OrdinaryMacroEvents) {
    struct {
        const char* pszName;
        MacroEvent ev;
        std::string strExp; // the event's three bytes
    } kCases[] = {
        {"key down", {65, 0, 1, 0x123}, "51 23 04"},
        {"key up, zero delay", {65, 0, 0, 0}, "D0 01 04"},
        {"left Shift up", {160, 0, 0, 8}, "E0 08 02"},
        {"Ctrl down", {17, 0, 1, 8}, "60 08 01"},
        {"right Alt", {165, 0, 1, 8}, "60 08 04"},
        {"Win", {92, 0, 1, 8}, "60 08 08"},
        {"button 243", {243, 0, 1, 8}, "10 08 08"},
        {"button 244 up", {244, 0, 0, 8}, "90 08 10"},
        {"wheel up", {245, 3, 0, 8}, "40 08 03"},
        {"wheel down", {246, 3, 0, 8}, "40 08 FD"},
        {"up", {247, 5, 0, 8}, "30 08 FB"},
        {"down", {248, 5, 0, 8}, "30 08 05"},
        {"left", {249, 5, 0, 8}, "20 08 FB"},
        {"right", {250, 5, 0, 8}, "20 08 05"},
        {"zero amount", {245, 0, 0, 8}, "40 08 00"},
        {"no usage", {7, 0, 1, 8}, "50 08 00"},
        {"long delay held at 12 bits", {65, 0, 1, 70000}, "5F FF 04"},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszName);
        StMacro m = MakeMacro(1, 0, 1, {c.ev});
        uint8_t by[510] = {};
        ASSERT_EQ(m_pDev->StMacro_To_HdMacro(m, by, sizeof by), 5);
        EXPECT_EQ(Hex(by, 5), "00 01 " + c.strExp);
    }
    EXPECT_TRUE(m_log.Has("StMacro_To_HdMacro: get wrong hid"));
}

TEST_F(CDev8948CodesTest, LongMacrosStopAt506Bytes) {
    StMacro m = MakeMacro(1, 0, 1, {});
    for (int i = 0; i < MACRO_EVENT_MAX; ++i)
        m.Events[i] = MacroEvent{65, 0, uint16_t(i & 1), 1};
    uint8_t by[510] = {};
    EXPECT_EQ(m_pDev->StMacro_To_HdMacro(m, by, sizeof by), 506);
    EXPECT_EQ(Hex(by, 2), "00 A8"); // 168 events
    EXPECT_EQ(by[506], 0);
    // A short buffer is never written past.
    uint8_t bySmall[11];
    std::memset(bySmall, 0xEE, sizeof bySmall);
    EXPECT_EQ(m_pDev->StMacro_To_HdMacro(m, bySmall, 8), 8);
    EXPECT_EQ(bySmall[8], 0xEE);
}

TEST_F(CDev8948CodesTest, BulletMacroEvents) {
    struct {
        const char* pszName;
        std::vector<MacroEvent> vEv;
        std::string strExp;
    } kCases[] = {
        {"click: press held, release after the delay",
         {{240, 0, 0x150, 10}},
         "00 02 11 50 01 90 0A 01"},
        {"plain release", {{65, 1, 0, 7}}, "00 01 D0 07 04"},
        {"plain press, zero delay kept until the last event",
         {{65, 1, 1, 0}, {65, 1, 0, 0}},
         "00 02 50 00 04 D0 01 04"},
        {"continuous fire: press without time bits", {{240, 0, 0, 0x110}}, "00 01 10 10 01"},
        {"move X and Y", {{252, 0, 0x05FE, 30}}, "00 02 20 00 FE 30 1E 05"},
        {"move Y", {{252, 0, 0x0500, 30}}, "00 01 30 1E 05"},
        {"pause", {{252, 0, 0, 30}}, "00 01 20 1E 00"},
        {"nothing", {{252, 0, 0, 0}, {65, 1, 1, 2}}, "00 01 50 02 04"},
        {"wheel", {{245, 0, 2, 4}, {246, 0, 2, 4}, {245, 0, 0, 4}}, "00 02 40 04 02 40 04 FE"},
        {"code 0 with a delay is skipped", {{0, 0, 0, 9}, {65, 1, 1, 2}}, "00 01 50 02 04"},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszName);
        StMacro m = MakeMacro(1, 0, 1, {});
        for (size_t i = 0; i < c.vEv.size(); ++i)
            m.Events[i] = c.vEv[i];
        uint8_t by[510] = {};
        const int n = m_pDev->BulletToHdMacro(m, by, sizeof by);
        EXPECT_EQ(Hex(by, size_t(n)), c.strExp);
    }
}

TEST_F(CDev8948CodesTest, BulletLimitsForSingleEventsAndPairs) {
    // 167 single events use 503 bytes; then a pair no longer fits but a single event does.
    StMacro m = MakeMacro(1, 0, 1, {});
    for (int i = 0; i < 167; ++i)
        m.Events[i] = MacroEvent{65, 1, 1, 1};
    m.Events[167] = MacroEvent{240, 0, 20, 5}; // a pair: 509 bytes would be too many
    uint8_t by[510] = {};
    EXPECT_EQ(m_pDev->BulletToHdMacro(m, by, sizeof by), 503);
    m.Events[166] = MacroEvent{240, 0, 20, 5}; // at 500 bytes a pair still fits
    m.Events[167] = MacroEvent{65, 1, 1, 1};
    EXPECT_EQ(m_pDev->BulletToHdMacro(m, by, sizeof by), 506);
    EXPECT_EQ(Hex(by, 2), "00 A8");
}

TEST_F(CDev8948CodesTest, MacroBufferLimits) {
    struct {
        int nMsFw, nMacros, nBullets;
        int nExpMacros, nExpBullets, nRefused;
        int nFirstBulletNumber;
    } kCases[] = {
        {0x12, 11, 11, 10, 10, 2, 1}, // own bullet numbers: 10 and 10
        {0x11, 15, 9, 14, 8, 2, 15},  // 14 buffers and at most 8 bullets after them
        {0x11, 3, 2, 3, 2, 0, 4},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.nMsFw * 100 + c.nMacros);
        m_pVar->MsFw = c.nMsFw;
        m_macros.Clear();
        m_bullets.Clear();
        auto pPro = std::make_unique<Profile>();
        int nKey = 0;
        for (int k = 0; k < c.nMacros + c.nBullets; ++k, ++nKey) {
            const bool bBullet = k >= c.nMacros;
            const uint32_t dwId = 0x100 + uint32_t(k);
            (bBullet ? m_bullets : m_macros).Add(MakeMacro(dwId, 0, 1, {{65, 1, 1, 1}}));
            KeyFun& kf = pPro->Ms.Mode[nKey / 20].Keys[0][nKey % 20].Main;
            kf.dwFun = MakeFun(bBullet ? 12 : 5, 0);
            kf.dwMacroId = dwId;
            kf.nMatrixInx = nKey % 20 + 1;
        }
        MsMacroAreas a;
        m_pDev->AssignBuffers(pPro->Ms, 2, a);
        EXPECT_EQ(a.nMacros, c.nExpMacros);
        EXPECT_EQ(a.nBullets, c.nExpBullets);
        EXPECT_EQ(a.nRefused, c.nRefused);
        // The first bullet key carries its number with bit 7.
        const int nFirst = c.nMacros;
        const uint32_t dwFirst = a.Matrix[nFirst / 20][size_t(nFirst % 20)];
        EXPECT_EQ((dwFirst >> 8) & 0xFF, uint32_t(c.nFirstBulletNumber | 0x80));
        // Refused keys are switched off; nothing was converted beyond the areas.
        if (c.nRefused) {
            const int nLastMacro = c.nMacros - 1;
            EXPECT_EQ(a.Matrix[nLastMacro / 20][size_t(nLastMacro % 20)], MS_KEY_OFF);
            const int nLast = c.nMacros + c.nBullets - 1;
            EXPECT_EQ(a.Matrix[nLast / 20][size_t(nLast % 20)], MS_KEY_OFF);
        }
        m_pDev->ClearBufferIds();
    }
}

TEST_F(CDev8948CodesTest, OneMacroInTwoModesIsConvertedOnce) {
    m_macros.Add(MakeMacro(0x10, 0, 1, {{65, 1, 1, 1}}));
    auto pPro = std::make_unique<Profile>();
    for (int m = 0; m < 2; ++m) {
        KeyFun& kf = pPro->Ms.Mode[m].Keys[0][3 + m].Main;
        kf.dwFun = MakeFun(5, 0);
        kf.dwMacroId = 0x10;
        kf.nMatrixInx = 4 + m;
    }
    MsMacroAreas a;
    m_pDev->AssignBuffers(pPro->Ms, 2, a);
    EXPECT_EQ(a.nMacros, 1);
    EXPECT_EQ(a.Matrix[0][3], 0x01010170u);
    EXPECT_EQ(a.Matrix[1][4], 0x01010170u);
}

// Lighting bytes of one general block, by layout.
TEST_F(CDev8948CodesTest, LightingLayouts) {
    MsMode mode{};
    for (int e = 0; e < MS_LED_EFFECTS; ++e)
        mode.Led[e] = MsLedEffect{
            2,
            3,
            3,
            1,
            {0x030201, 0x060504, 0x090807, 0x0C0B0A, 0x0F0E0D, 0x121110, 0x151413, 0x181716},
            0x83,
            0,
            0x00090702};
    MouseDesc& ms = m_pVar->Dev.Ms;
    ms.ShowReaction = 2;
    struct {
        const char* pszName;
        int nMsFw, nEffect, nEffects;
        std::vector<std::pair<int, Bytes>> vExp; // bytes 45..123 that must be set
    } kCases[] = {
        {"A code 2: direction up", 0x12, 0, 11, {{45, {1, 0x32, 1}}, {122, {0}}}},
        {"A code 3: brightness nibble, first colour",
         0x12,
         1,
         11,
         {{45, {2}}, {48, {0x30, 1, 2, 3}}}},
        {"A code 7: eight colours",
         0x12,
         5,
         11,
         {{45, {6}}, {77, {0x30, 1, 2, 3, 4, 5, 6, 0x16, 0x17, 0x18}}}},
        {"A code 8: two colours", 0x12, 6, 11, {{108, {0x32, 1, 2, 3, 4, 5, 6}}}},
        {"A code 11", 0x12, 9, 11, {{45, {10}}, {117, {2}}}},
        {"A last effect: LedOffVal", 0x12, 10, 11, {{45, {0}}, {122, {3}}}},
        {"C lights off leaves byte 122", 0x13, 11, 12, {{45, {0}}, {122, {0x10}}}},
        {"C code 8", 0x13, 6, 12, {{102, {0x32, 1, 2, 3, 4, 5, 6}}}},
        {"C code 11: reaction colours",
         0x13,
         9,
         12,
         {{111, {2, 0x83, 1, 2, 3, 4, 5, 6, 0x16, 0x17, 0x18}}}},
        {"C code 12", 0x13, 10, 12, {{112, {2}}}},
        {"B1 effect 0: off", 0x112, 0, 4, {{45, {0}}, {122, {1}}}},
        {"B1 effect 1", 0x112, 1, 4, {{45, {0x11, 2, 0, 3}}, {122, {0}}}},
        {"B1 effect 3: extra byte 77 only for 2",
         0x112,
         3,
         4,
         {{45, {0x22, 3}}, {52, {2}}, {77, {7, 0}}}},
        {"B2 effect 1: colour 0, ShowDpiColor 0 clears the nibble",
         0x212,
         1,
         4,
         {{45, {0x10, 1, 0, 3, 1, 2, 3}}}},
        {"B2 effect 2: colour 0", 0x212, 2, 4, {{45, {0x20, 1, 0, 0, 1, 2, 3, 2}}}},
        {"D two lights",
         0x312,
         0x00020000,
         5,
         {{45, {0x30, 2, 0, 3}},
          {52, {2, 3, 1, 2, 3, 4, 5, 6, 0x16, 0x17, 0x18}},
          {75, {2, 2}},
          {79, {0x10, 1, 3, 1, 2, 3, 2, 3, 1, 2, 3, 4, 5, 6, 0x16, 0x17, 0x18}},
          {108, {2, 2}}}},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszName);
        m_pVar->MsFw = c.nMsFw;
        for (int e = 0; e < MS_EFFECT_NUM; ++e)
            ms.Effects[e].bPresent = e < c.nEffects;
        mode.nLedEffect = c.nEffect;
        uint8_t g[MS_GENERAL_LEN] = {};
        g[122] = 0x10;
        m_pDev->BuildGeneral(mode, 0, g);
        for (const auto& [nAt, v] : c.vExp)
            EXPECT_EQ(Hex(g + nAt, v.size()), Hex(v.data(), v.size())) << "at " << nAt;
    }
}

} // namespace
