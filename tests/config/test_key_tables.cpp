// The key table loaders: KBKEY, FN, GEST, ProCfg.ini presets, the default mouse key table,
// and the lookups in g_defKEY.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "config/KeyLookup.h"
#include "config/KeyTablesLoader.h"
#include "config/Log.h"
#include "platform/MessageBox.h"
#include "support/TestDirs.h"

namespace {

std::vector<std::string> g_vLog;

void CaptureLog(const char* pszFormat, ...) {
    char szBuf[256];
    va_list args;
    va_start(args, pszFormat);
    vsnprintf(szBuf, sizeof(szBuf), pszFormat, args);
    va_end(args);
    g_vLog.push_back(szBuf);
}

class KeyTablesTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMessageBoxSink(&m_sink);
        m_pfnOldLog = LogPrint;
        LogPrint = CaptureLog;
        g_vLog.clear();
    }
    void TearDown() override {
        SetMessageBoxSink(nullptr);
        LogPrint = m_pfnOldLog;
    }

    static CIniFile Ini(const std::string& strText) {
        CIniFile ini;
        ini.LoadFromBytes(strText.data(), strText.size());
        return ini;
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> v;
        for (const auto& e : m_sink.m_vEntries)
            v.push_back(e.strTitle + ": " + e.strText);
        return v;
    }
    KeyTables& Keys() { return m_pVar->Dev.Keys; }

    CCollectingMessageSink m_sink;
    LogPrintFn m_pfnOldLog = nullptr;
    std::unique_ptr<CGlobalVar> m_pVar = std::make_unique<CGlobalVar>();
};

// ---- KBKEY

struct KbKeyCase {
    const char* pszName;
    std::string strSection;
    int nKeys;
    // first record
    uint32_t dwFun;
    uint8_t byVk, byMod, byModVk;
    uint32_t dwParam;
    int32_t nMatrixInx, nLight;
    std::vector<std::string> vBoxes;
};

TEST_F(KeyTablesTest, KbKeyEntries) {
    const std::vector<KbKeyCase> vCases = {
        {"plain key", "K1=10,20,30,40,2,41,0,5,6\n", 1, 0x020000A0, 0x41, 0, 0, 0, 5, 6, {}},
        {"key with modifiers", "K1=0,0,0,0,2,41,5,5,6\n", 1, 0x020000A0, 0x41, 5, 0, 0, 5, 6, {}},
        {"left Shift alone", "K1=0,0,0,0,2,A0,0,3,3\n", 1, 0x020000A0, 0, 2, 16, 0, 3, 3, {}},
        {"right Win alone", "K1=0,0,0,0,2,5c,9,3,3\n", 1, 0x020000A0, 0, 128, 92, 0, 3, 3, {}},
        {"raw device function",
         "K1=0,0,0,0,9,2,1234,7,8\n",
         1,
         0x09000002,
         0,
         0,
         0,
         0x1234,
         7,
         8,
         {}},
        {"24-bit code, no parameter",
         "K1=0,0,0,0,8,1a2b3c,5,7,8\n",
         1,
         0x081A2B3C,
         0,
         0,
         0,
         0,
         7,
         8,
         {}},
        {"short entry is zero-filled", "K1=1,2,3,4,3,22\n", 1, 0x03000022, 0, 0, 0, 0, 0, 0, {}},
        {"matrix position above 149 is dropped",
         "K1=0,0,0,0,2,41,0,150,1\nK2=0,0,0,0,2,42,0,149,149\n",
         1,
         0x020000A0,
         0x42,
         0,
         0,
         0,
         149,
         149,
         {"Warning: Wrong matrix index value!"}},
        {"light position above 149 is dropped",
         "K1=0,0,0,0,2,41,0,1,150\n",
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         0,
         {"Warning: Wrong matrix index value!"}},
        {"parse error keeps the numbers before it",
         "K1=1,2,3,4,2,41,0,x,1\n",
         1,
         0x020000A0,
         0x41,
         0,
         0,
         0,
         0,
         0,
         {"Error: Data parse error!"}},
        {"stops at the first missing key",
         "K1=0,0,0,0,2,41,0,1,1\nK3=0,0,0,0,2,42,0,2,2\n",
         1,
         0x020000A0,
         0x41,
         0,
         0,
         0,
         1,
         1,
         {}},
        {"stops at an empty key", "K1=\nK2=0,0,0,0,2,42,0,2,2\n", 0, 0, 0, 0, 0, 0, 0, 0, {}},
    };
    for (const KbKeyCase& c : vCases) {
        SCOPED_TRACE(c.pszName);
        m_sink.m_vEntries.clear();
        m_pVar = std::make_unique<CGlobalVar>();
        Keys().g_defKEY[5].Main.dwFun = 0x99; // the table is cleared first
        LoadKbKeyTable(Ini("[KBKEY]\n" + c.strSection), *m_pVar);
        EXPECT_EQ(Keys().nKbKeyNum, c.nKeys);
        const KeyAssign& ka = Keys().g_defKEY[0];
        EXPECT_EQ(ka.Main.dwFun, c.dwFun);
        EXPECT_EQ(ka.Main.byVk, c.byVk);
        EXPECT_EQ(ka.Main.byMod, c.byMod);
        EXPECT_EQ(ka.Main.byModVk, c.byModVk);
        EXPECT_EQ(ka.Main.dwParam, c.dwParam);
        EXPECT_EQ(ka.Main.nMatrixInx, c.nMatrixInx);
        EXPECT_EQ(ka.Fn.nLink, c.nLight);
        EXPECT_EQ(Keys().g_defKEY[1].Main.dwFun, 0u);
        EXPECT_EQ(Keys().g_defKEY[5].Main.dwFun, 0u);
        EXPECT_EQ(Boxes(), c.vBoxes);
    }
}

TEST_F(KeyTablesTest, KbKeyRectangleAndTableCapacity) {
    std::string strSection = "[KBKEY]\n";
    for (int n = 1; n <= 160; ++n)
        strSection += "K" + std::to_string(n) + "=" + std::to_string(n) + ",2,3,4,2,41,0," +
                      std::to_string(n % 150) + ",1\n";
    LoadKbKeyTable(Ini(strSection), *m_pVar);
    EXPECT_EQ(Keys().nKbKeyNum, 150);
    EXPECT_EQ(Keys().g_defKEY[0].Main.rcKey, (RECT{1, 2, 3, 4}));
    EXPECT_EQ(Keys().g_defKEY[149].Main.rcKey, (RECT{150, 2, 3, 4}));
    EXPECT_EQ(Keys().g_defKEY[149].Main.nMatrixInx, 0);
    EXPECT_TRUE(Boxes().empty()); // shared matrix positions are only checked with Debug
}

TEST_F(KeyTablesTest, KbKeySharedMatrixIsReportedWithDebug) {
    const std::string strIni = "[KBKEY]\n"
                               "K1=0,0,0,0,2,41,0,7,1\n"
                               "K2=0,0,0,0,2,42,0,8,2\n"
                               "K3=0,0,0,0,2,43,0,7,3\n"
                               "K4=0,0,0,0,0,0,0,7,4\n"; // no function: not compared
    m_pVar->Debug = 1;
    LoadKbKeyTable(Ini(strIni), *m_pVar);
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{"Warning: Key0 and Key2 has the same matrix index",
                                        "Warning: Key2 and Key0 has the same matrix index"}));
}

// ---- FN

TEST_F(KeyTablesTest, FnEntriesLinkTheirKeysAndFreeIndicesAreHandedOutInRecordOrder) {
    const std::string strIni = "[KBKEY]\n"
                               "K1=0,0,0,0,2,41,0,1,11\n"
                               "K2=0,0,0,0,2,42,0,2,12\n"
                               "K3=0,0,0,0,2,43,0,3,13\n"
                               "K4=0,0,0,0,2,44,0,4,14\n"
                               "K5=0,0,0,0,2,45,0,5,15\n"
                               "[FN]\n"
                               "K1=2,41\n"        // no link: takes the first free one
                               "K2=8,a8,0,0\n"    // link 0
                               "K3=3,22,0,60\n"   // above 47: 47
                               "K5=2,a0\n"        // left Shift, no link
                               "K4=8,1a4,77,3\n"; // code cut to its low byte
    CIniFile ini = Ini(strIni);
    LoadKbKeyTable(ini, *m_pVar);
    LoadFnTable(ini, *m_pVar);
    const KeyAssign* k = Keys().g_defKEY;
    EXPECT_EQ(k[0].Main.nLink, 1);
    EXPECT_EQ(k[1].Main.nLink, 0);
    EXPECT_EQ(k[2].Main.nLink, 47);
    EXPECT_EQ(k[3].Main.nLink, 3);
    EXPECT_EQ(k[4].Main.nLink, 2);
    EXPECT_EQ(k[5].Main.nLink, -1); // records without an entry
    EXPECT_EQ(k[149].Main.nLink, -1);

    EXPECT_EQ(k[0].Fn.dwFun, 0x020000A0u);
    EXPECT_EQ(k[0].Fn.byVk, 0x41);
    EXPECT_EQ(k[1].Fn.dwFun, 0x080000A8u);
    EXPECT_EQ(k[2].Fn.dwFun, 0x03000022u);
    EXPECT_EQ(k[3].Fn.dwFun, 0x080000A4u);
    EXPECT_EQ(k[3].Fn.dwParam, 0x77u);
    EXPECT_EQ(k[4].Fn.byVk, 0);
    EXPECT_EQ(k[4].Fn.byMod, 2);
    EXPECT_EQ(k[4].Fn.byModVk, 16);
    // The Fn half keeps the light position KBKEY gave it.
    EXPECT_EQ(k[0].Fn.nLink, 11);
    EXPECT_EQ(k[4].Fn.nLink, 15);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(g_vLog.empty());
}

TEST_F(KeyTablesTest, FnParseErrorUsesTheNumbersReadSoFar) {
    LoadFnTable(Ini("[FN]\nK2=8,a8,zz,5\n"), *m_pVar);
    EXPECT_EQ(Keys().g_defKEY[1].Fn.dwFun, 0x080000A8u);
    EXPECT_EQ(Keys().g_defKEY[1].Fn.dwParam, 0u);
    EXPECT_EQ(Keys().g_defKEY[1].Main.nLink, 0); // link defaulted to 255: first free
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Error: Data parse error!"});
}

TEST_F(KeyTablesTest, FnReadsAtMost64EntriesAndReportsTheSurplusOnce) {
    std::string strIni = "[FN]\n";
    for (int n = 1; n <= 70; ++n)
        strIni += "K" + std::to_string(n) + "=8,a8,0," + std::to_string(n % 40) + "\n";
    LoadFnTable(Ini(strIni), *m_pVar);
    EXPECT_EQ(Keys().g_defKEY[63].Fn.dwFun, 0x080000A8u);
    EXPECT_EQ(Keys().g_defKEY[64].Fn.dwFun, 0u);
    EXPECT_EQ(Keys().g_defKEY[64].Main.nLink, -1);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Warning: k>=64"});

    // Exactly 64 entries are no surplus.
    m_sink.m_vEntries.clear();
    strIni = "[FN]\n";
    for (int n = 1; n <= 64; ++n)
        strIni += "K" + std::to_string(n) + "=8,a8,0,1\n";
    LoadFnTable(Ini(strIni), *m_pVar);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(KeyTablesTest, FnLinksNeverLeaveThe48EntryTables) {
    // 49 keys without a link: the first 48 take 0..47, the last finds none.
    std::string strIni = "[FN]\n";
    for (int n = 1; n <= 49; ++n)
        strIni += "K" + std::to_string(n) + "=8,a8\n";
    LoadFnTable(Ini(strIni), *m_pVar);
    for (int i = 0; i < 48; ++i)
        EXPECT_EQ(Keys().g_defKEY[i].Main.nLink, i);
    EXPECT_EQ(Keys().g_defKEY[48].Main.nLink, -1);
    EXPECT_EQ(g_vLog, std::vector<std::string>{"ERROR: Get wrong index for g_defKEY[48]"});
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(GetFreeLinkIndex(Keys()), -1);
}

// ---- GEST

TEST_F(KeyTablesTest, GestureEntries) {
    const std::string strIni = "[GEST]\n"
                               "K1=2,41,0,7\n"
                               "K3=8,a8,5,9\n"
                               "K4=2,a5,0,3\n"
                               "K5=8,ab\n"
                               "K10=1,11,0,149\n"
                               "K11=1,11,0,1\n";
    Keys().Gest[1].Main.dwFun = 0x1234; // cleared first
    LoadGestTable(Ini(strIni), *m_pVar);
    const KeyAssign* g = Keys().Gest;
    EXPECT_EQ(g[0].Main.dwFun, 0x020000A0u);
    EXPECT_EQ(g[0].Main.byVk, 0x41);
    EXPECT_EQ(g[0].Main.nMatrixInx, 7);
    EXPECT_EQ(g[1].Main.dwFun, 0u);
    EXPECT_EQ(g[2].Main.dwFun, 0x080000A8u);
    EXPECT_EQ(g[2].Main.dwParam, 5u);
    EXPECT_EQ(g[2].Main.nMatrixInx, 9);
    EXPECT_EQ(g[3].Main.byMod, 64);
    EXPECT_EQ(g[3].Main.byModVk, 165);
    EXPECT_EQ(g[4].Main.dwFun, 0x080000ABu);
    EXPECT_EQ(g[4].Main.nMatrixInx, 0);
    EXPECT_EQ(g[9].Main.dwFun, 0x01000011u);
    EXPECT_EQ(g[9].Main.nMatrixInx, 149);
    EXPECT_EQ(g[0].Fn.dwFun, 0u);
    EXPECT_TRUE(Boxes().empty());
}

// ---- ProCfg.ini

TEST_F(KeyTablesTest, ProCfgPresetsRepeatModeOneForEmptyModes) {
    const std::string strIni = "[PRO1]\n"
                               "K1_1=1,11,0,0\n"
                               "K2_1=1,13,0,1\n"
                               "K21_1=2,41,1,14\n"
                               "[PRO2]\n"
                               "K1_1=1,12,0,0\n"
                               "K1_3=1,14,0,0\n"
                               "[PRO4]\n"
                               "K5_2=8,ad,42,4\n"
                               "[PRO5]\n"
                               "K1_1=1,11,0,0\n";
    Keys().ProPreset[2][0][0].Main.dwFun = 0x55; // cleared first
    LoadProCfg(Ini(strIni), MouseKeyEntryParams{}, *m_pVar);
    const auto& p = Keys().ProPreset;
    for (int m = 0; m < 3; ++m) {
        SCOPED_TRACE(m);
        EXPECT_EQ(p[0][m][0].Main.dwFun, 0x01000011u);
        EXPECT_EQ(p[0][m][1].Main.dwFun, 0x01000013u);
        EXPECT_EQ(p[0][m][1].Main.nMatrixInx, 1);
        EXPECT_EQ(p[0][m][20].Main.dwFun, 0x020000A1u);
        EXPECT_EQ(p[0][m][20].Main.byVk, 0x41);
        EXPECT_EQ(p[0][m][20].Main.byMod, 1);
        EXPECT_EQ(p[0][m][20].Main.nMatrixInx, 20);
        EXPECT_EQ(p[2][m][0].Main.dwFun, 0u);
    }
    EXPECT_EQ(p[1][0][0].Main.dwFun, 0x01000012u);
    EXPECT_EQ(p[1][1][0].Main.dwFun, 0x01000012u); // copy of mode 1
    EXPECT_EQ(p[1][2][0].Main.dwFun, 0x01000014u);
    // Preset 4 has only a mode-2 entry: mode 1 stays empty, mode 3 copies it.
    EXPECT_EQ(p[3][0][4].Main.dwFun, 0u);
    EXPECT_EQ(p[3][1][4].Main.dwFun, 0x080000ADu);
    EXPECT_EQ(p[3][2][4].Main.dwFun, 0u);
    EXPECT_EQ(Keys().nCustomKeyParam, 0x42);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(KeyTablesTest, ProCfgTakesExtraKeyValuesFromTheMouseDescription) {
    m_pVar->Dev.Ms.ExKey[0] = 0x55;
    m_pVar->Dev.Ms.GunColor[0] = 0xABCDEF;
    m_pVar->Dev.Ms.GunValue[0] = 33;
    m_pVar->Dev.Ms.ShootSpeed = 40;
    LoadProCfg(Ini("[PRO1]\nK1_1=b,0,0,1\nK2_1=b,1,0,2\nK3_1=b,9,0,3\nK4_1=8,c0,0,4\n"), *m_pVar);
    const auto& t = Keys().ProPreset[0][0];
    EXPECT_EQ(t[0].Main.dwParam, 0x55u);
    EXPECT_EQ(t[1].Main.dwFun, 0x0B000001u);
    EXPECT_EQ(t[3].Main.dwParam, (40u << 24) | (33u << 16));
    EXPECT_EQ(t[3].dwGun, 0xABCDEFu);
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{"Error: UnSet ExKey Value", "Error: Wrong ExKey Index"}));
}

TEST_F(KeyTablesTest, MissingProCfgLeavesThePresetsZero) {
    Keys().ProPreset[0][0][0].Main.dwFun = 0x55;
    LoadProCfg(CIniFile("/nonexistent/ProCfg.ini"), *m_pVar);
    EXPECT_EQ(Keys().ProPreset[0][0][0].Main.dwFun, 0u);
    EXPECT_TRUE(Boxes().empty());
}

// ---- default mouse key table

class DefaultMouseKeysTest : public KeyTablesTest {
protected:
    void SetUp() override {
        KeyTablesTest::SetUp();
        m_pVar->MsFw = 0x12;
        SensorCfg& cfg = m_pVar->Dev.Ms.SensorCfgs[2];
        cfg.Sensor = 0x3360;
        cfg.KEYY = 35;
        cfg.KEYH = 6;
        for (int m = 0; m < 3; ++m)
            for (int i = 0; i < 21; ++i) {
                cfg.Keys[m][i].Main.dwFun = 0x01000011 + i;
                cfg.Keys[m][i].Main.nMatrixInx = i;
            }
        m_pVar->Dev.Ms.nCurSensor = 0x3360;
        m_pVar->Dev.Ms.nSensorCfgIndex = 2;
    }
    SensorCfg& Cfg() { return m_pVar->Dev.Ms.SensorCfgs[2]; }
};

TEST_F(DefaultMouseKeysTest, ButtonsGetTheRowsOfTheKeyPanel) {
    BuildDefaultMouseKeys(*m_pVar);
    for (int m = 0; m < 3; ++m)
        for (int i = 0; i < 21; ++i) {
            const KeyFun& kf = Keys().MsDefKey[m][i].Main;
            EXPECT_EQ(kf.dwFun, 0x01000011u + i);
            EXPECT_EQ(kf.rcKey, (RECT{45, 35 + i * 31, 224, 35 + i * 31 + 25}));
            EXPECT_EQ(kf.nMatrixInx, i);
        }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(DefaultMouseKeysTest, ASecondViewReusesThePlacesOfTheFirst) {
    m_pVar->ViewKeyNum = 8;
    BuildDefaultMouseKeys(*m_pVar);
    const auto& t = Keys().MsDefKey[1];
    EXPECT_EQ(t[7].Main.rcKey, (RECT{45, 35 + 7 * 31, 224, 35 + 7 * 31 + 25}));
    EXPECT_EQ(t[8].Main.rcKey, t[0].Main.rcKey);
    EXPECT_EQ(t[15].Main.rcKey, t[7].Main.rcKey);
    EXPECT_EQ(t[16].Main.rcKey, t[0].Main.rcKey);
    EXPECT_EQ(t[20].Main.rcKey, t[4].Main.rcKey);
}

TEST_F(DefaultMouseKeysTest, KygTablesKeepTheSensorMatrixPositions) {
    static KeyAssign aKyg[3][21];
    for (int m = 0; m < 3; ++m)
        for (int i = 0; i < 21; ++i) {
            aKyg[m][i] = KeyAssign{};
            aKyg[m][i].Main.dwFun = 0x08000000 | (0xA8 + m);
            aKyg[m][i].Main.nMatrixInx = 99;
        }
    BuildDefaultMouseKeys(*m_pVar, &aKyg);
    EXPECT_EQ(Keys().MsDefKey[2][3].Main.dwFun, 0x080000AAu);
    EXPECT_EQ(Keys().MsDefKey[2][3].Main.nMatrixInx, 3);
}

TEST_F(DefaultMouseKeysTest, MatrixDifferencesBetweenModesOneAndTwoAreReported) {
    Cfg().Keys[1][4].Main.nMatrixInx = 9;
    Cfg().Keys[1][6].Main.nMatrixInx = 9;
    Cfg().Keys[2][5].Main.nMatrixInx = 9; // mode 3 is not compared
    BuildDefaultMouseKeys(*m_pVar);
    EXPECT_EQ(Keys().MsDefKey[1][4].Main.nMatrixInx, 9);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Warning: Md1 and Md2 Matrix index diff",
                                                 "Warning: Md1 and Md2 Matrix index diff"}));
}

TEST_F(DefaultMouseKeysTest, AbsurdRowGeometryStaysInRange) {
    Cfg().KEYY = INT32_MAX - 10;
    Cfg().KEYH = INT32_MAX;
    BuildDefaultMouseKeys(*m_pVar);
    EXPECT_EQ(Keys().MsDefKey[0][0].Main.rcKey, (RECT{45, INT32_MAX - 10, 224, INT32_MAX}));
    EXPECT_EQ(Keys().MsDefKey[0][20].Main.rcKey, (RECT{45, INT32_MAX, 224, INT32_MAX}));
    Cfg().KEYY = INT32_MIN;
    Cfg().KEYH = INT32_MIN;
    BuildDefaultMouseKeys(*m_pVar);
    EXPECT_EQ(Keys().MsDefKey[0][1].Main.rcKey, (RECT{45, INT32_MIN, 224, INT32_MIN}));
}

TEST_F(DefaultMouseKeysTest, NothingWithoutMouseOrSensorDescription) {
    m_pVar->Dev.Ms.nSensorCfgIndex = -1;
    BuildDefaultMouseKeys(*m_pVar);
    EXPECT_EQ(Keys().MsDefKey[0][0].Main.dwFun, 0u);
    m_pVar->Dev.Ms.nSensorCfgIndex = 2;
    m_pVar->MsFw = 0;
    BuildDefaultMouseKeys(*m_pVar);
    EXPECT_EQ(Keys().MsDefKey[0][0].Main.dwFun, 0u);
}

// ---- lookups

TEST_F(KeyTablesTest, KeyCodeLookup) {
    KeyAssign* k = Keys().g_defKEY;
    auto Set = [](KeyAssign& ka, uint8_t byMod, uint8_t byVk, int nMatrix) {
        ka.Main.dwFun = 0x020000A0;
        ka.Main.byMod = byMod;
        ka.Main.byVk = byVk;
        ka.Main.nMatrixInx = nMatrix;
    };
    Set(k[0], 0, 0x41, 10);
    Set(k[1], 0, 0x41, 11);    // second A: the first wins
    Set(k[2], 0x02, 0, 20);    // left Shift
    Set(k[3], 0x02, 0, 21);    // another left Shift: the last wins
    Set(k[4], 0x01, 0x42, 30); // Ctrl+B is no key B
    Set(k[5], 0x20, 0, 40);    // right Shift
    Set(k[6], 0, 0x43, 50);
    k[6].Main.dwFun = 0; // without a function it does not count
    Set(k[7], 0, 0x0D, 60);
    struct {
        uint8_t byVk;
        int nExpected;
    } aCases[] = {{0x41, 10}, {16, 21},   {160, 21},  {161, 40}, {17, 30},  {162, 30},
                  {0x42, -1}, {0x43, -1}, {0x0D, 60}, {0, -1},   {163, -1}, {91, -1}};
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.byVk);
        EXPECT_EQ(FindKeyMatrixInx(Keys(), c.byVk), c.nExpected);
    }
}

TEST_F(KeyTablesTest, FirstFreeLinkIndex) {
    for (auto& ka : Keys().g_defKEY)
        ka.Main.nLink = -1;
    EXPECT_EQ(GetFreeLinkIndex(Keys()), 0);
    Keys().g_defKEY[3].Main.nLink = 0;
    Keys().g_defKEY[9].Main.nLink = 1;
    Keys().g_defKEY[10].Main.nLink = 3;
    Keys().g_defKEY[11].Main.nLink = 255;
    EXPECT_EQ(GetFreeLinkIndex(Keys()), 2);
    for (int i = 0; i < 48; ++i)
        Keys().g_defKEY[i].Main.nLink = i;
    EXPECT_EQ(GetFreeLinkIndex(Keys()), -1); // 48..63 lie outside the Fn tables
}

TEST_F(KeyTablesTest, ResetPresetOfAProfilePosition) {
    EXPECT_EQ(GetResetPreset(Keys(), 0), nullptr); // no presets
    LoadProCfg(Ini("[PRO1]\nK1_1=1,11,0,0\n[PRO4]\nK2_1=1,12,0,1\n"), *m_pVar);
    EXPECT_EQ(GetResetPreset(Keys(), 0), &Keys().ProPreset[0]);
    ASSERT_NE(GetResetPreset(Keys(), 3), nullptr);
    EXPECT_EQ((*GetResetPreset(Keys(), 3))[2][1].Main.dwFun, 0x01000012u);
    EXPECT_TRUE(g_vLog.empty());
    EXPECT_EQ(GetResetPreset(Keys(), 4), nullptr);
    EXPECT_EQ(GetResetPreset(Keys(), -1), nullptr);
    EXPECT_EQ(g_vLog, (std::vector<std::string>{"ResetKey2: nIndex=4", "ResetKey2: nIndex=-1"}));
}

// ---- start-up entry points

TEST_F(KeyTablesTest, StartUpReadsFnAndGesturesOnlyFromAn816KeyboardWithGestures) {
    const std::string strIni = "[KBKEY]\nK1=0,0,0,0,2,41,0,1,1\n"
                               "[FN]\nK1=8,a8\n"
                               "[GEST]\nK1=8,a9,0,5\n";
    CIniFile ini = Ini(strIni);
    struct {
        int nKbFw, nShowGest;
        bool bFn, bGest;
    } aCases[] = {
        {20, 1, true, true}, {20, 0, true, false}, {21, 1, false, false}, {0, 1, false, false}};
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.nKbFw * 10 + c.nShowGest);
        m_pVar = std::make_unique<CGlobalVar>();
        m_pVar->KbFw = c.nKbFw;
        m_pVar->Dev.Kb.ShowGest = c.nShowGest;
        LoadKbKeyTable(ini, *m_pVar);
        LoadKeyTables(ini, *m_pVar);
        EXPECT_EQ(Keys().g_defKEY[0].Fn.dwFun, c.bFn ? 0x080000A8u : 0u);
        EXPECT_EQ(Keys().g_defKEY[1].Main.nLink, c.bFn ? -1 : 0);
        EXPECT_EQ(Keys().Gest[0].Main.dwFun, c.bGest ? 0x080000A9u : 0u);
    }
}

TEST_F(KeyTablesTest, StartUpFindsProCfgWhateverItsCase) {
    CTempDir dir;
    dir.Write("PROCFG.INI", "[PRO2]\nK1_1=1,12,0,0\n");
    m_pVar->szProgramDir = dir.Path();
    LoadKeyPresets(*m_pVar);
    EXPECT_EQ(Keys().ProPreset[1][2][0].Main.dwFun, 0x01000012u);
}

} // namespace
