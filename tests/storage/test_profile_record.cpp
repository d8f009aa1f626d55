// The default profile of the demo installation, checked byte by byte at the offsets of the
// file format against values worked out by hand from install/demo/cfg.ini.
#include <gtest/gtest.h>

#include <memory>

#include "StorageTestUtil.h"
#include "config/Log.h"
#include "config/Startup.h"
#include "platform/MessageBox.h"
#include "storage/ProfileDefaults.h"
#include "storage/ProfileStore.h"
#include "storage/WideField.h"
#include "support/FakeClock.h"
#include "support/TestDirs.h"

namespace {

class DemoProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageBoxSink(&m_sink);
        ASSERT_TRUE(LoadConfiguration(StartupDirs{std::string(VELKIN_SOURCE_DIR) + "/install/demo/",
                                                  m_data.Path(), m_data.Path()},
                                      m_var, m_limits));
        CProList store(m_var);
        m_pProfile = std::make_unique<Profile>();
        store.CreateDefault(*m_pProfile, "Demo profile with a long name");
        m_vBytes = BytesOf(*m_pProfile);
    }
    void TearDown() override {
        SetMessageBoxSink(nullptr);
        LogReset();
    }
    uint32_t U32(size_t nOffset) const { return ReadU32(m_vBytes.data() + nOffset); }

    CFakeClock m_clock; // 12:34:56.789
    CTempDir m_data;
    CCollectingMessageSink m_sink;
    CGlobalVar m_var;
    CMacroLimits m_limits;
    std::unique_ptr<Profile> m_pProfile;
    std::vector<uint8_t> m_vBytes;
};

// Offsets of the file format, written out rather than taken from the structs.
constexpr size_t kMs = 24476, kKb = 616, kPad = 55516;
constexpr size_t Mode(int m) {
    return kMs + 20 + static_cast<size_t>(m) * 10340;
}
constexpr size_t MsKey(int m, int s, int k) {
    return Mode(m) + 12 + (s * 21 + k) * 88;
}

TEST_F(DemoProfileTest, HeaderAndName) {
    ASSERT_EQ(m_vBytes.size(), 56256u);
    EXPECT_EQ(U32(0), 0u);
    EXPECT_EQ(U32(4), 0xFCFB7797u);
    // (((12 & 15) << 12 | (34 << 6 | 56)) << 8) | (789 & 0xFF)
    EXPECT_EQ(U32(8), 0xC8B815u);
    EXPECT_TRUE(m_clock.Sleeps().empty()) << "a new id needs no wait";
    // 19 characters and the terminating zero, UTF-16LE.
    const char* pszExpected = "Demo profile with a";
    for (int i = 0; i < 19; ++i) {
        EXPECT_EQ(m_vBytes[532 + 2 * i], static_cast<uint8_t>(pszExpected[i])) << i;
        EXPECT_EQ(m_vBytes[533 + 2 * i], 0);
    }
    EXPECT_EQ(m_vBytes[532 + 38], 0);
    EXPECT_EQ(m_vBytes[12], 0); // no sound until the caller sets one
    for (size_t i = 56136; i < 56256; ++i)
        ASSERT_EQ(m_vBytes[i], 0) << i;
}

TEST_F(DemoProfileTest, MouseRegion) {
    EXPECT_EQ(U32(kMs + 0), 0u);      // nMode
    EXPECT_EQ(U32(kMs + 4), 0x3389u); // nSensor
    // Rates DR, DR_2, DR_3 of SENSOR_1.
    EXPECT_EQ(U32(Mode(0) + 4), 0x1000u);
    EXPECT_EQ(U32(Mode(1) + 4), 0x1000u);
    EXPECT_EQ(U32(Mode(2) + 4), 0x500u);
    // K1_1=1,11,0,1 and K2_1=1,13,0,2 in every key set of mode 0; K6_2=5,0,1,6 in mode 1.
    EXPECT_EQ(U32(MsKey(0, 0, 0)), 0x01000011u);
    EXPECT_EQ(U32(MsKey(0, 4, 1)), 0x01000013u);
    EXPECT_EQ(U32(MsKey(0, 4, 1) + 20), 2u);
    EXPECT_EQ(U32(MsKey(1, 2, 5)) >> 24, 5u);
    EXPECT_EQ(U32(MsKey(1, 2, 5) + 20), 6u);
    // Pointer settings: 3 lines, 550 ms, speed 10, enhance 1 (EnhancePrecision -1), no trails.
    for (int m = 0; m < 3; ++m) {
        EXPECT_EQ(U32(Mode(m) + 9252), 3u);
        EXPECT_EQ(U32(Mode(m) + 9256), 550u);
        EXPECT_EQ(U32(Mode(m) + 9260), 10u);
        EXPECT_EQ(U32(Mode(m) + 9264), 1u);
        EXPECT_EQ(U32(Mode(m) + 9268), 0u);
    }
    // DPI=400,800,1600,3200,6400,12000; DC red, blue, green, cyan, magenta, white.
    struct {
        int nLevel;
        uint32_t nDpi, dwRgb, bOff;
    } kLevels[] = {{0, 400, 0x0000FF, 0},  {1, 800, 0xFF0000, 0},
                   {2, 1600, 0x00FF00, 0}, {3, 3200, 0xFFFF00, 0},
                   {4, 6400, 0xFF00FF, 0}, {5, 12000, 0xFFFFFF, 0},
                   {6, 0, 0, 1},           {9, 0, 0, 1}};
    for (int m : {0, 2}) {
        for (auto& lv : kLevels) {
            size_t n = Mode(m) + 9272 + 16 * lv.nLevel;
            EXPECT_EQ(U32(n), lv.nDpi) << m << " " << lv.nLevel;
            EXPECT_EQ(U32(n + 4), lv.nDpi);
            EXPECT_EQ(U32(n + 8), lv.dwRgb);
            EXPECT_EQ(U32(n + 12), lv.bOff);
        }
        EXPECT_EQ(U32(Mode(m) + 9432), 0u); // bDpiXY
    }
    // LOD=0x40203: three levels, default byte 2; LODVal nibbles 0, 2, 4.
    EXPECT_EQ(m_vBytes[Mode(1) + 10300], 3);
    EXPECT_EQ(m_vBytes[Mode(1) + 10301], 2);
    EXPECT_EQ(m_vBytes[Mode(1) + 10302], 0);
    EXPECT_EQ(m_vBytes[Mode(1) + 10304], 0);
    EXPECT_EQ(m_vBytes[Mode(1) + 10305], 2);
    EXPECT_EQ(m_vBytes[Mode(1) + 10306], 4);
    EXPECT_EQ(m_vBytes[Mode(1) + 10307], 0);
}

TEST_F(DemoProfileTest, MouseLighting) {
    auto Led = [](int m, int e) { return Mode(m) + 9448 + 60 * static_cast<size_t>(e); };
    // LedParam=1,3,3,1,0,0 on mode 0 (and its copy, mode 2); LedParam2=2,2,4,1,0,0 on mode 1.
    struct {
        int nMode, nEffect;
        uint32_t dwSel, d0, d4, d8, d12, d48;
    } kCases[] = {{0, 1, 1, 3, 3, 1, 0, 0}, {2, 1, 1, 3, 3, 1, 0, 0}, {1, 2, 2, 2, 4, 1, 0, 0}};
    for (auto& c : kCases) {
        EXPECT_EQ(U32(Mode(c.nMode) + 9444), c.dwSel);
        size_t n = Led(c.nMode, c.nEffect);
        EXPECT_EQ(U32(n), c.d0);
        EXPECT_EQ(U32(n + 4), c.d4);
        EXPECT_EQ(U32(n + 8), c.d8);
        EXPECT_EQ(U32(n + 12), c.d12);
        EXPECT_EQ(U32(n + 48), c.d48);
        EXPECT_EQ(U32(n + 56), 0u); // MsFw 0x10: no DpiSW
    }
    // LedOpt4: three colours red, green, blue; speed 2, brightness 4, direction 0.
    size_t n = Led(1, 3);
    EXPECT_EQ(U32(n), 2u);
    EXPECT_EQ(U32(n + 4), 4u);
    EXPECT_EQ(U32(n + 8), 0u);
    EXPECT_EQ(U32(n + 16), 0x0000FFu);
    EXPECT_EQ(U32(n + 20), 0x00FF00u);
    EXPECT_EQ(U32(n + 24), 0xFF0000u);
    EXPECT_EQ(U32(n + 48), 7u);
    // Mode 2's lighting block equals mode 0's.
    EXPECT_TRUE(std::equal(m_vBytes.begin() + Mode(0) + 9444, m_vBytes.begin() + Mode(0) + 10296,
                           m_vBytes.begin() + Mode(2) + 9444));
}

TEST_F(DemoProfileTest, KeyboardRegion) {
    EXPECT_EQ(U32(kKb), 0u);
    // K1=282,182,309,209,...,matrix 0; K17=282,217,309,244,...,matrix 22.
    EXPECT_EQ(U32(kKb + 8 + 4), 282u);
    EXPECT_EQ(U32(kKb + 8 + 16), 209u);
    EXPECT_EQ(U32(kKb + 8 + 20), 0u);
    EXPECT_EQ(U32(kKb + 8 + 16 * 88 + 8), 217u);
    EXPECT_EQ(U32(kKb + 8 + 16 * 88 + 20), 22u);
    // DefLed=0,3,3,1,0 selects effect 0.
    size_t nLed = kKb + 13212;
    EXPECT_EQ(U32(kKb + 13208), 0u);
    EXPECT_EQ(U32(nLed), 3u);
    EXPECT_EQ(U32(nLed + 4), 3u);
    EXPECT_EQ(U32(nLed + 8), 1u);
    EXPECT_EQ(U32(nLed + 12), 0u);
    EXPECT_EQ(U32(nLed + 16), 0x0000FFu);
    EXPECT_EQ(U32(nLed + 40), 0xFFFFFFu);
    // LEDParam pairs (7,23) and (0,23): levels 3 and 4, direction 1, flag by the low nibble 7.
    struct {
        int nEffect;
        uint32_t d0, d4, d8, d12;
    } kEffects[] = {
        {1, 3, 4, 1, 1}, {5, 3, 4, 1, 0}, {6, 3, 4, 1, 1}, {12, 3, 4, 1, 0}, {13, 0, 0, 0, 0}};
    for (auto& e : kEffects) {
        size_t n = nLed + 56 * static_cast<size_t>(e.nEffect);
        EXPECT_EQ(U32(n), e.d0) << e.nEffect;
        EXPECT_EQ(U32(n + 4), e.d4) << e.nEffect;
        EXPECT_EQ(U32(n + 8), e.d8) << e.nEffect;
        EXPECT_EQ(U32(n + 12), e.d12) << e.nEffect;
    }
    // Three colour groups; W (0x57, matrix 46) in group 0 and F1 (matrix 1) in group 2 white.
    EXPECT_EQ(m_vBytes[kKb + 14226], 1);
    EXPECT_EQ(m_vBytes[kKb + 14228], 1);
    EXPECT_EQ(m_vBytes[kKb + 14229], 0);
    size_t nGroups = kKb + 14244;
    EXPECT_EQ(U32(nGroups + 46 * 4), 0xFFFFFFu);
    EXPECT_EQ(U32(nGroups + 45 * 4), 0u);
    EXPECT_EQ(U32(nGroups + 2 * 600 + 1 * 4), 0xFFFFFFu);
    EXPECT_EQ(U32(nGroups + 2 * 600 + 12 * 4), 0xFFFFFFu);
}

TEST_F(DemoProfileTest, PadRegion) {
    // LedParam=2,3,3,1,0 selects effect 2; the others keep the built-in values.
    EXPECT_EQ(U32(kPad), 2u);
    size_t n2 = kPad + 4 + 2 * 56, n0 = kPad + 4;
    EXPECT_EQ(U32(n2), 3u);
    EXPECT_EQ(U32(n2 + 4), 3u);
    EXPECT_EQ(U32(n2 + 8), 1u);
    EXPECT_EQ(U32(n0), 2u);
    EXPECT_EQ(U32(n0 + 4), 256u);
    EXPECT_EQ(U32(n0 + 8), 5u);
    EXPECT_EQ(U32(n0 + 16 + 12), 0xFF0080u);
    EXPECT_EQ(U32(n0 + 44), 0xFFFFu);
}

// Configured default effects whose index lies outside the region's table change nothing
// outside it; a KB EffectNum past the table fills only the 18 records.
TEST(ProfileDefaults, EffectIndexOutsideTableIsIgnored) {
    CGlobalVar var;
    var.Dev.Kb.EffectNum = 40;
    var.Dev.Kb.DefLed[0] = 18;
    var.Dev.Kb.DefLed[1] = 5;
    var.Dev.Ms.LedParam[0] = 14;
    var.Dev.Ms.LedParam[1] = 9;
    var.Dev.Ms.LedParam2[0] = -1;
    var.Dev.Ms.LedParam2[1] = 9;
    var.Dev.Pad.LedParam[0] = 11;
    var.Dev.Pad.LedParam[1] = 9;
    auto p = std::make_unique<Profile>();
    std::memset(p.get(), 0, sizeof(Profile));
    FillKbDefault(p->Kb, var);
    FillMsDefault(p->Ms, var);
    FillPadDefault(p->Pad, var);
    EXPECT_EQ(p->Kb.nKbLedEffect, 0);
    EXPECT_EQ(p->Kb.Led[17].nLevel1, 1); // filled from an all-zero LEDParam pair
    EXPECT_EQ(p->Kb.nPanelWord, 0);      // the field after the table
    EXPECT_EQ(p->Ms.Mode[0].nLedEffect, 0);
    EXPECT_EQ(p->Ms.Mode[1].nLedEffect, 0);
    for (int m = 0; m < 3; ++m)
        EXPECT_EQ(p->Ms.Mode[m].Led[13].nLevel1, 2);
    EXPECT_EQ(p->Ms.Mode[0].byResv3[0], 0);
    EXPECT_EQ(p->Pad.nPadLedEffect, 0);
    EXPECT_EQ(p->byResv2[0], 0);
}

// DpiSW's three bytes go into the 32-bit field first byte lowest; only when the second byte
// is non-zero.
TEST(ProfileDefaults, DpiSwByteOrder) {
    CGlobalVar var;
    var.Dev.Ms.LedParam[0] = 1;
    var.Dev.Ms.LedParam[1] = 1;
    var.Dev.Ms.DpiSW[0] = 0x01;
    var.Dev.Ms.DpiSW[1] = 0x02;
    var.Dev.Ms.DpiSW[2] = 0x03;
    var.Dev.Ms.LedParam2[0] = 2;
    var.Dev.Ms.LedParam2[1] = 1;
    var.Dev.Ms.LedParam2[6] = 0x55;
    var.Dev.Ms.DpiSW2[0] = 0x07;
    var.Dev.Ms.DpiSW2[2] = 0x09;
    auto p = std::make_unique<MsSettings>();
    std::memset(p.get(), 0, sizeof(MsSettings));
    FillMsDefault(*p, var);
    EXPECT_EQ(p->Mode[0].Led[1].dwExtra2, 0x030201u);
    EXPECT_EQ(p->Mode[1].Led[2].dwExtra2, 0u);
    EXPECT_EQ(p->Mode[1].Led[2].dwExtra, 0x55u);
    EXPECT_EQ(p->Mode[0].Led[1].dwExtra, 0u); // only LedParam2 has the seventh value
}

// nMode survives a reset only with ShowOnlyModeString; the light layout of MsFw byte 1.
TEST(ProfileDefaults, ModeAndLightLayout) {
    CGlobalVar var;
    var.MsFw = 0x110;
    auto p = std::make_unique<MsSettings>();
    std::memset(p.get(), 0, sizeof(MsSettings));
    p->nMode = 2;
    FillMsDefault(*p, var);
    EXPECT_EQ(p->nMode, 0);
    const uint32_t kExtra2[5] = {1, 1, 0x30403, 0x30403, 0};
    const int32_t kLevel1[5] = {0, 1, 1, 2, 0};
    for (int e = 0; e < 5; ++e) {
        EXPECT_EQ(p->Mode[1].Led[e].nLevel2, 3);
        EXPECT_EQ(p->Mode[1].Led[e].nLevel1, kLevel1[e]);
        EXPECT_EQ(p->Mode[1].Led[e].dwExtra2, kExtra2[e]);
        EXPECT_EQ(p->Mode[1].Led[e].Colors[0], 0x0000FFu);
    }
    EXPECT_EQ(p->Mode[1].Led[5].nLevel2, 4);
    var.Dev.Ms.ShowOnlyModeString = 1;
    p->nMode = 2;
    FillMsDefault(*p, var);
    EXPECT_EQ(p->nMode, 2);
}

} // namespace
