// Key-entry value formats: mouse button entries of every class, the gun entry, and the
// keyboard, Fn and gesture entry number formats.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/KeyEntry.h"
#include "platform/MessageBox.h"

namespace {

class KeyEntryTest : public ::testing::Test {
protected:
    void SetUp() override { SetMessageBoxSink(&m_sink); }
    void TearDown() override { SetMessageBoxSink(nullptr); }

    std::vector<std::string> Boxes() const {
        std::vector<std::string> v;
        for (const auto& e : m_sink.m_vEntries)
            v.push_back(e.strTitle + ": " + e.strText);
        return v;
    }

    static MouseKeyEntryParams Params() {
        MouseKeyEntryParams p;
        const int32_t aExKey[6] = {0x11, 0x22, 0, 0, 0, 0x66};
        const uint8_t aGunValue[21] = {13, 40, 10, 11, 45, 10, 11, 41, 10, 11, 0,
                                       10, 12, 44, 10, 12, 0,  10, 8,  0,  8};
        for (int i = 0; i < 6; ++i)
            p.ExKey[i] = aExKey[i];
        for (int i = 0; i < 21; ++i)
            p.GunValue[i] = aGunValue[i];
        for (int i = 0; i < 10; ++i)
            p.GunColor[i] = 0x100 + i;
        p.nShootSpeed = 1;
        return p;
    }

    CCollectingMessageSink m_sink;
};

struct ButtonCase {
    const char* pszValue;
    bool bTaken;
    uint32_t dwFun;
    int32_t nMatrixInx;
    uint8_t byMod, byVk, byVk2;
    uint32_t dwMacroId;
    uint32_t dwParam;
    uint32_t dwGun;
    const char* pszBox; // expected message box, or nullptr
};

TEST_F(KeyEntryTest, ButtonEntryOfEveryClass) {
    const uint32_t dwGun25 = (25u << 24) | (10u << 16) | 0x21; // preset 1, scope 2: GunValue[5]
    const ButtonCase aCases[] = {
        // value                 taken  dwFun       mtx mod vk    vk2   macro param    gun
        {"1,11,0,5", true, 0x01000011, 5, 0, 0, 0, 0, 0, 0, nullptr},
        {" 1 , 11 , 0 , 5 ", true, 0x01000011, 5, 0, 0, 0, 0, 0, 0, nullptr},
        {"1,11,0,105", true, 0x01000011, 5, 0, 0, 0, 0, 0, 0, nullptr},
        {"1,11,0,5,99,zz", true, 0x01000011, 5, 0, 0, 0, 0, 0, 0, nullptr},
        {"0,0,0,0", true, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
        {"2,4100,3,0", true, 0x020000A1, 0, 3, 0, 0x41, 0, 0, 0, nullptr},
        {"2,41,1F,2", true, 0x020000A1, 2, 0x0F, 0x41, 0, 0, 0, 0, nullptr},
        {"5,0,7,3", true, 0x05000000, 3, 0, 0, 0, 7, 0, 0, nullptr},
        {"5,12,7,3", true, 0x05000000, 3, 0, 0, 0, 7, 0, 0, nullptr},
        {"C,12,9,4", true, 0x0C000000, 4, 0, 0, 0, 9, 0, 0, nullptr},
        {"8,a4,410503,1", true, 0x080000A4, 1, 0, 0, 0, 0, 0x410503, 0, nullptr},
        {"8,a6,3,1", true, 0x080000A6, 1, 0, 0, 0, 0, 3, 0, nullptr},
        {"8,af,ff00,1", true, 0x080000AF, 1, 0, 0, 0, 0, 0xFF00, 0, nullptr},
        {"8,a8,55,1", true, 0x080000A8, 1, 0, 0, 0, 0, 0, 0, nullptr},
        {"8,c0,3021,1", true, 0x080000C0, 1, 0, 0, 0, 0, dwGun25, 0x100, nullptr},
        {"8,c0,1B2C0313,1", true, 0x080000C0, 1, 0, 0, 0, 0, 0x1B2C0013, 0x103, nullptr},
        {"8,c0,a00,1", true, 0x080000C0, 1, 0, 0, 0, 0, (25u << 24) | (13u << 16), 0x100, nullptr},
        {"8,c0,7,1", true, 0x080000C0, 1, 0, 0, 0, 0, (25u << 24) | 7, 0x100, nullptr},
        {"9,2,ABCD,6", true, 0x09000002, 6, 0, 0, 0, 0, 0xABCD, 0, nullptr},
        {"9,4,1,6", true, 0x09000004, 6, 0, 0, 0, 0, 1, 0, "Error: Wrong FUN_HW Index"},
        {"9,103,1,6", true, 0x09000003, 6, 0, 0, 0, 0, 1, 0, "Error: Wrong FUN_HW Index"},
        {"B,1,0,7", true, 0x0B000001, 7, 0, 0, 0, 0, 0x22, 0, nullptr},
        {"B,5,0,7", true, 0x0B000005, 7, 0, 0, 0, 0, 0x66, 0, nullptr},
        {"B,2,0,7", true, 0x0B000002, 7, 0, 0, 0, 0, 0, 0, "Error: UnSet ExKey Value"},
        {"B,6,0,7", true, 0x0B000006, 7, 0, 0, 0, 0, 0, 0, "Error: Wrong ExKey Index"},
        {"B,101,0,7", true, 0x0B000001, 7, 0, 0, 0, 0, 0, 0, "Error: Wrong ExKey Index"},
        {"3,22,99,2", true, 0x03000022, 2, 0, 0, 0, 0, 0, 0, nullptr},
        {"1,11,0", false, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
        {"1,11,0,zz", false, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
        {"1,11,-1,5", false, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
        {"1,11,0,100000000", false, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
        {"", false, 0, 0, 0, 0, 0, 0, 0, 0, nullptr},
    };
    for (const ButtonCase& c : aCases) {
        SCOPED_TRACE(c.pszValue);
        m_sink.m_vEntries.clear();
        KeyAssign ka{};
        ka.dwResv = 0xDEAD; // a taken entry clears the whole record, a skipped one keeps it
        int32_t nCustom = -1;
        EXPECT_EQ(ParseMouseKeyEntry(c.pszValue, Params(), ka, &nCustom), c.bTaken);
        EXPECT_EQ(ka.Main.dwFun, c.dwFun);
        EXPECT_EQ(ka.Main.nMatrixInx, c.nMatrixInx);
        EXPECT_EQ(ka.Main.byMod, c.byMod);
        EXPECT_EQ(ka.Main.byVk, c.byVk);
        EXPECT_EQ(ka.Main.byVk2, c.byVk2);
        EXPECT_EQ(ka.Main.dwMacroId, c.dwMacroId);
        EXPECT_EQ(ka.Main.dwParam, c.dwParam);
        EXPECT_EQ(ka.dwGun, c.dwGun);
        EXPECT_EQ(ka.dwResv, c.bTaken ? 0u : 0xDEADu);
        EXPECT_EQ(ka.Fn.dwFun, 0u);
        EXPECT_EQ(nCustom, -1);
        std::vector<std::string> vExpected;
        if (c.pszBox)
            vExpected.push_back(c.pszBox);
        EXPECT_EQ(Boxes(), vExpected);
    }
}

TEST_F(KeyEntryTest, CustomKeyEntryHandsOutItsParameter) {
    KeyAssign ka{};
    int32_t nCustom = 0;
    ASSERT_TRUE(ParseMouseKeyEntry("8,ad,1234,2", Params(), ka, &nCustom));
    EXPECT_EQ(ka.Main.dwFun, 0x080000ADu);
    EXPECT_EQ(ka.Main.dwParam, 0x1234u);
    EXPECT_EQ(nCustom, 0x1234);
    // Without a place for the parameter the entry is still taken.
    EXPECT_TRUE(ParseMouseKeyEntry("8,ad,99,2", Params(), ka, nullptr));
}

TEST_F(KeyEntryTest, GunSpeedComesFromShootSpeedAboveOne) {
    MouseKeyEntryParams p = Params();
    struct {
        int32_t nShootSpeed;
        uint32_t dwParam, dwExpected;
    } aCases[] = {
        {1, 0x000000, (25u << 24) | (13u << 16)},
        {0, 0x000000, (25u << 24) | (13u << 16)},
        {30, 0x000000, (30u << 24) | (13u << 16)},
        {30, 0x05000000 | 0x02, (5u << 24) | (11u << 16) | 0x02}, // speed given in P wins
        {30, 0x00170012, (30u << 24) | (0x17u << 16) | 0x12},     // value given in P wins
        {1, 0x62, (25u << 24) | (12u << 16) | 0x62},              // 3 * 2 + 6: GunValue[12]
        {1, 0x30, (25u << 24) | (11u << 16) | 0x30},              // 3 * 0 + 3: GunValue[3]
        {1, 0x06, (25u << 24) | (8u << 16) | 0x06},               // preset 6, scope 0
        {1, 0x26, (25u << 24) | (8u << 16) | 0x26},               // 3 * 6 + 2: the last byte
        {1, 0x36, (25u << 24) | 0x36},                            // 3 * 6 + 3: past the table
        {1, 0xFF, (25u << 24) | 0xFF},                            // outside the presets
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.dwParam);
        p.nShootSpeed = c.nShootSpeed;
        KeyAssign ka{};
        ApplyGunEntry(c.dwParam, p, ka);
        EXPECT_EQ(ka.Main.dwParam, c.dwExpected);
    }
}

TEST_F(KeyEntryTest, ReadsTheButtonsOfOneModeThroughA50CharacterBuffer) {
    const std::string strIni = "[SENSOR_1]\n"
                               "K1_1=1,11,0,0\n"
                               "K3_1=1,13,0,2\n"
                               "K21_1=1,12,0,14\n" // matrix positions are hexadecimal

                               "K22_1=1,12,0,21\n"
                               "K4_1=1,11\n"
                               "K5_1=1,11,0,                                           4\n"
                               "K2_2=1,14,0,1\n";
    CIniFile ini;
    ini.LoadFromBytes(strIni.data(), strIni.size());
    MsKeyTable aTable;
    aTable[1].Main.dwFun = 0x12345678; // the table is cleared first
    EXPECT_EQ(ReadMouseKeyEntries(ini, "SENSOR_1", 0, Params(), aTable, nullptr), 3);
    EXPECT_EQ(aTable[0].Main.dwFun, 0x01000011u);
    EXPECT_EQ(aTable[1].Main.dwFun, 0u);
    EXPECT_EQ(aTable[2].Main.dwFun, 0x01000013u);
    EXPECT_EQ(aTable[2].Main.nMatrixInx, 2);
    EXPECT_EQ(aTable[3].Main.dwFun, 0u); // too few numbers
    EXPECT_EQ(aTable[4].Main.dwFun, 0u); // the fourth number lies past the buffer
    EXPECT_EQ(aTable[20].Main.nMatrixInx, 20);
    EXPECT_EQ(ReadMouseKeyEntries(ini, "SENSOR_1", 1, Params(), aTable, nullptr), 1);
    EXPECT_EQ(aTable[0].Main.dwFun, 0u);
    EXPECT_EQ(aTable[1].Main.dwFun, 0x01000014u);
    EXPECT_EQ(ReadMouseKeyEntries(ini, "SENSOR_2", 0, Params(), aTable, nullptr), 0);
}

TEST_F(KeyEntryTest, KeyboardEntryNumbersMixBasesAndStopAtABadNumber) {
    KbKeyEntry e = ParseKbKeyEntry("10,20,30,40,2,a6,ff,12,13");
    EXPECT_EQ(e.nCount, 9);
    EXPECT_EQ(e.rcKey, (RECT{10, 20, 30, 40}));
    EXPECT_EQ(e.dwClass, 2u);
    EXPECT_EQ(e.dwCode, 0xA6u);
    EXPECT_EQ(e.dwParam, 0xFFu);
    EXPECT_EQ(e.nMatrix, 12u);
    EXPECT_EQ(e.nLight, 13u);
    EXPECT_TRUE(Boxes().empty());

    e = ParseKbKeyEntry("10,20,30,40,2,41,0,1a,3"); // hexadecimal digit in a decimal number
    EXPECT_EQ(e.nCount, 7);
    EXPECT_EQ(e.dwCode, 0x41u);
    EXPECT_EQ(e.nMatrix, 0u);
    EXPECT_EQ(e.nLight, 0u);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Error: Data parse error!"});

    m_sink.m_vEntries.clear();
    e = ParseKbKeyEntry("10,20"); // short entries: the missing numbers are 0
    EXPECT_EQ(e.nCount, 2);
    EXPECT_EQ(e.rcKey, (RECT{10, 20, 0, 0}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(KeyEntryTest, FnAndGestureEntriesHaveTheirDefaults) {
    struct {
        const char* pszValue;
        bool bFn;
        uint32_t dwClass, dwCode, dwParam, nLast;
        bool bBox;
    } aCases[] = {
        {"2,41", true, 2, 0x41, 0, 255, false},
        {"8,a8,10,7", true, 8, 0xA8, 0x10, 7, false},
        {"8,a8,10,7,9", true, 8, 0xA8, 0x10, 7, false},
        {"8,zz,10,7", true, 8, 0, 0, 255, true},
        {"8,a8,10,7f", true, 8, 0xA8, 0x10, 255, true},
        {"2,41", false, 2, 0x41, 0, 0, false},
        {"8,a8,5,12", false, 8, 0xA8, 5, 12, false},
        {"8,a8,5,c", false, 8, 0xA8, 5, 0, true},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.pszValue);
        m_sink.m_vEntries.clear();
        FnKeyEntry e = c.bFn ? ParseFnKeyEntry(c.pszValue) : ParseGestKeyEntry(c.pszValue);
        EXPECT_EQ(e.dwClass, c.dwClass);
        EXPECT_EQ(e.dwCode, c.dwCode);
        EXPECT_EQ(e.dwParam, c.dwParam);
        EXPECT_EQ(e.nLast, c.nLast);
        EXPECT_EQ(Boxes().size(), c.bBox ? 1u : 0u);
    }
}

TEST_F(KeyEntryTest, ModifierCodesBecomeModifierOnlyKeys) {
    struct {
        uint8_t byVk, byMod, byModVk;
    } aCases[] = {{16, 2, 16},    {160, 2, 16},   {17, 1, 17},   {162, 1, 17},
                  {18, 4, 18},    {164, 4, 18},   {91, 8, 91},   {92, 128, 92},
                  {161, 32, 161}, {163, 16, 163}, {165, 64, 165}};
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.byVk);
        KeyFun kf{};
        FillKbKeyFun(kf, 2, c.byVk, 0x77);
        EXPECT_EQ(kf.dwFun, 0x020000A0u);
        EXPECT_EQ(kf.byVk, 0);
        EXPECT_EQ(kf.byMod, c.byMod);
        EXPECT_EQ(kf.byModVk, c.byModVk);
        EXPECT_EQ(kf.dwParam, 0u);
    }
    KeyFun kf{};
    FillKbKeyFun(kf, 2, 0x41, 0);
    EXPECT_EQ(kf.byVk, 0x41);
    EXPECT_EQ(kf.byMod, 0);
    EXPECT_EQ(kf.byModVk, 0);
    FillKbKeyFun(kf, 8, 0x1A4, 0x77);
    EXPECT_EQ(kf.dwFun, 0x080000A4u);
    EXPECT_EQ(kf.dwParam, 0x77u);
}

} // namespace
