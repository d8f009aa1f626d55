// The mouse description: built-in sensor table, section MS, the sensor sections and the
// current sensor, loaded from cfg.ini fragments.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "config/GlobalVar.h"
#include "config/IniFile.h"
#include "config/Log.h"
#include "config/MouseDescLoader.h"
#include "config/MsEffectTable.h"
#include "config/SensorTable.h"
#include "platform/MessageBox.h"

namespace {

using Boxes = std::vector<std::pair<std::string, std::string>>;

class MouseDescTest : public ::testing::Test {
protected:
    void SetUp() override { SetMessageBoxSink(&m_sink); }
    void TearDown() override { SetMessageBoxSink(nullptr); }

    // Loads section MS (with its sensor sections) of the fragment into a fresh record.
    CGlobalVar& Load(const std::string& strIni, int nMsFw = 0x10) {
        m_pVar = std::make_unique<CGlobalVar>();
        m_pVar->MsFw = nMsFw;
        m_ini.LoadFromBytes(strIni.data(), strIni.size());
        m_sink.m_vEntries.clear();
        LoadMsSection(m_ini, *m_pVar);
        return *m_pVar;
    }
    Boxes Messages() const {
        Boxes v;
        for (const auto& e : m_sink.m_vEntries) {
            v.emplace_back(e.strTitle, e.strText);
        }
        return v;
    }
    // Messages other than the current sensor's, for fragments that do not care about it.
    Boxes MessagesBesidesCurSensor() const {
        Boxes v;
        for (const auto& m : Messages()) {
            if (m.second.rfind("set_cur_sensor:", 0) != 0) {
                v.push_back(m);
            }
        }
        return v;
    }

    CCollectingMessageSink m_sink;
    CIniFile m_ini;
    std::unique_ptr<CGlobalVar> m_pVar;
};

uint32_t Rgb(int r, int g, int b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) |
           (static_cast<uint32_t>(b) << 16);
}

std::vector<int32_t> Levels(const SensorCfg& cfg) {
    return std::vector<int32_t>(cfg.DPI, cfg.DPI + DPI_LEVEL_MAX);
}

} // namespace

// ---------------------------------------------------------------------------------------
// Built-in sensor table

TEST(SensorTable, BuiltInCountsRangesAndCodes) {
    struct Row {
        int32_t nSensor, nCount, nFirst, nLast, nCodeBase;
    };
    const Row rows[] = {
        {0x3050, 11, 500, 4000, 1},  {0x5050, 10, 500, 2750, 1},   {0x9800, 21, 500, 16400, 1},
        {0x3310, 100, 50, 5000, 1},  {0x3212, 16, 500, 7200, 1},   {0x3320, 18, 500, 7000, 1},
        {0x3325, 59, 200, 10000, 1}, {0x3330, 19, 500, 14400, 1},  {0x3360, 21, 500, 24000, 1},
        {0x3610, 14, 400, 6400, 1},  {0x7350, 8, 600, 3200, 1},    {0x3327, 73, 200, 12400, 1},
        {0x3606, 12, 400, 6800, 0},  {0x3389, 170, 100, 26000, 1},
    };
    const SensorTableArray& table = BuiltInSensorTable();
    for (int i = 0; i < SENSOR_NUM; ++i) {
        const Row& r = rows[i];
        SCOPED_TRACE(r.nSensor);
        const SensorEntry& e = table[i]; // table order is part of the contract
        EXPECT_EQ(e.nSensor, r.nSensor);
        ASSERT_EQ(e.nCount, r.nCount);
        EXPECT_EQ(e.Dpi[0], r.nFirst);
        EXPECT_EQ(e.Dpi[e.nCount - 1], r.nLast);
        EXPECT_EQ(e.Dpi[e.nCount], 0);
        for (int j = 1; j < e.nCount; ++j) {
            EXPECT_LT(e.Dpi[j - 1], e.Dpi[j]) << j;
        }
        for (int j = 0; j < e.nCount; ++j) {
            EXPECT_EQ(e.HwCode[j], j + r.nCodeBase);
            EXPECT_EQ(e.LockCode[j], j + r.nCodeBase);
        }
    }
}

TEST(SensorTable, IrregularStepsAreKept) {
    MouseDesc ms;
    EXPECT_FALSE(SensorHasDpi(ms, 0x3327, 9500));
    EXPECT_TRUE(SensorHasDpi(ms, 0x3327, 10000));
    EXPECT_TRUE(SensorHasDpi(ms, 0x5050, 1375));
    EXPECT_TRUE(SensorHasDpi(ms, 0x9800, 8200));
    EXPECT_EQ(GetSensorDpiAt(ms, 0x3389, 160), 17000);
    EXPECT_EQ(GetSensorDpiAt(ms, 0x3325, 49), 5500);
}

TEST(SensorTable, LookupsStayInsideTheTable) {
    MouseDesc ms;
    const int32_t* pDpi = nullptr;
    int nCount = -1;
    EXPECT_FALSE(GetSensorDpiList(ms, 0, pDpi, nCount));
    EXPECT_FALSE(GetSensorDpiList(ms, 0x1234, pDpi, nCount));
    ASSERT_TRUE(GetSensorDpiList(ms, 0x7350, pDpi, nCount));
    EXPECT_EQ(nCount, 8);
    EXPECT_EQ(pDpi[7], 3200);

    EXPECT_EQ(GetSensorDpiAt(ms, 0x7350, 0), 600);
    EXPECT_EQ(GetSensorDpiAt(ms, 0x7350, 8), 0);
    EXPECT_EQ(GetSensorDpiAt(ms, 0x7350, -1), 0);
    EXPECT_EQ(GetSensorDpiAt(ms, 0x1234, 0), 0);

    EXPECT_EQ(GetSensorDpiCode(ms, 0x3050, 500), 1);
    EXPECT_EQ(GetSensorDpiCode(ms, 0x3050, 4000), 11);
    EXPECT_EQ(GetSensorDpiCode(ms, 0x3606, 400), 0);
    EXPECT_EQ(GetSensorDpiCode(ms, 0x3606, 6800), 11);
    EXPECT_EQ(GetSensorDpiCode(ms, 0x3050, 501), 0);
    EXPECT_EQ(GetSensorDpiCode(ms, 0x1234, 500), 0);

    EXPECT_EQ(FindSensorEntry(ms, 0), nullptr);
    EXPECT_EQ(FindSensorCfg(ms, 0), nullptr); // empty records never describe a sensor
}

TEST(SensorTable, DefaultLevels) {
    struct Row {
        int32_t nSensor;
        std::vector<int32_t> vLevels; // empty: none
    };
    const Row rows[] = {
        {0x3050, {750, 1000, 1500, 2000, 2500, 3000}},
        {0x3360, {1000, 1600, 2000, 4000, 6000, 8000}},
        {0x3389, {1000, 1500, 2000, 3000, 4000, 5000, 6000, 8000}},
        {0x3606, {800, 1200, 2500, 3000, 4200, 5000, 6000}},
        {0x3310, {}},
        {0x7350, {}},
    };
    for (const Row& r : rows) {
        const int32_t* p = DefaultDpiLevels(r.nSensor);
        if (r.vLevels.empty()) {
            EXPECT_EQ(p, nullptr) << r.nSensor;
            continue;
        }
        ASSERT_NE(p, nullptr) << r.nSensor;
        std::vector<int32_t> vExpected = r.vLevels;
        vExpected.resize(DPI_LEVEL_MAX, 0);
        EXPECT_EQ(std::vector<int32_t>(p, p + DPI_LEVEL_MAX), vExpected) << r.nSensor;
    }
}

namespace {
std::vector<std::string> g_vLog;
void CaptureLog(const char* pszFormat, ...) {
    char sz[256];
    va_list ap;
    va_start(ap, pszFormat);
    vsnprintf(sz, sizeof(sz), pszFormat, ap);
    va_end(ap);
    g_vLog.push_back(sz);
}
} // namespace

TEST(SensorTable, TypeCodesAreTranslatedAndLogged) {
    const std::pair<int, int32_t> rows[] = {
        {1, 0x5050},  {2, 0x3050},  {3, 0x9800},  {4, 0x3320},  {5, 0x3330},
        {6, 0x3360},  {7, 0x3610},  {8, 0x3212},  {9, 0x3310},  {11, 0x3325},
        {12, 0x7350}, {14, 0x3327}, {15, 0x3389}, {16, 0x3606}, {0, 0},
        {10, 0},      {13, 0},      {17, 0},      {63, 0},      {-1, 0},
    };
    LogPrintFn pOld = LogPrint;
    LogPrint = &CaptureLog;
    g_vLog.clear();
    for (const auto& [nCode, nSensor] : rows) {
        EXPECT_EQ(GetSenosr(nCode), nSensor) << nCode;
    }
    LogPrint = pOld;
    ASSERT_EQ(g_vLog.size(), std::size(rows));
    EXPECT_EQ(g_vLog[0], "GetSenosr: nSensor=0x5050, nValue=1");
    EXPECT_EQ(g_vLog[14], "GetSenosr: nSensor=0x0, nValue=0");
}

// ---------------------------------------------------------------------------------------
// Sensor sections

TEST_F(MouseDescTest, BareSensorSectionTakesEveryDefault) {
    CGlobalVar& var = Load("[MS]\nSensor=0x3360\n[SENSOR_1]\nSensor=0x3360\n");
    EXPECT_TRUE(Messages().empty());
    const SensorCfg* p = var.Dev.Ms.pSensorCfg();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p, &var.Dev.Ms.SensorCfgs[0]);
    EXPECT_EQ(p->DM, 6);
    EXPECT_EQ(Levels(*p), (std::vector<int32_t>{1000, 1600, 2000, 4000, 6000, 8000, 0, 0, 0, 0}));
    const std::vector<uint32_t> vColors(p->DC, p->DC + DPI_LEVEL_MAX);
    EXPECT_EQ(vColors, (std::vector<uint32_t>{Rgb(255, 0, 0), Rgb(0, 0, 255), Rgb(0, 255, 0),
                                              Rgb(0, 255, 255), Rgb(255, 0, 255),
                                              Rgb(255, 255, 255), 0, 0, 0, 0}));
    EXPECT_EQ(p->MDNUM, 3);
    EXPECT_EQ(p->KM, 7);
    EXPECT_EQ(p->KEYY, 35);
    EXPECT_EQ(p->KEYH, 6);
    EXPECT_EQ(p->DPIH, 10);
    EXPECT_EQ(p->DEFLEVEL, -1);
    EXPECT_EQ(p->MOUSEX, 360);
    EXPECT_EQ(p->MOUSEY, 50);
    EXPECT_EQ((std::vector<int32_t>{p->RATE1, p->RATE2, p->RATE3, p->RATE4}),
              (std::vector<int32_t>{0x125, 0x250, 0x500, 0x1000}));
    EXPECT_EQ(p->DR, 0x500);
    EXPECT_EQ(p->DR_2, 0x500);
    EXPECT_EQ(p->DR_3, 0x500);
    EXPECT_EQ(p->Keys[0][0].Main.dwFun, 0u);
    // The other nine records have no section and stay empty.
    EXPECT_EQ(var.Dev.Ms.SensorCfgs[1].Sensor, 0);
    EXPECT_EQ(var.Dev.Ms.SensorCfgs[1].DM, 0);
}

TEST_F(MouseDescTest, ReportRatesFollowDr) {
    CGlobalVar& var = Load("[MS]\nSensor=0x3360\n[SENSOR_1]\nSensor=0x3360\nDR=0x1000\nDR_3=0x250\n"
                           "RATE4=0\n");
    const SensorCfg& c = var.Dev.Ms.SensorCfgs[0];
    EXPECT_EQ(c.DR, 0x1000);
    EXPECT_EQ(c.DR_2, 0x1000);
    EXPECT_EQ(c.DR_3, 0x250);
    EXPECT_EQ(c.RATE4, 0);
}

TEST_F(MouseDescTest, LevelFallbacks) {
    struct Row {
        const char* pszName;
        const char* pszSection;
        std::vector<int32_t> vLevels;
        Boxes vMessages;
    };
    const Row rows[] = {
        {"count differs from DM",
         "Sensor=0x3360\nDM=3\nDPI=800,1600\n",
         {1000, 1600, 2000, 4000, 6000, 8000, 0, 0, 0, 0},
         {{"Warning", "DPI != DM."}}},
        {"missing list falls back silently",
         "Sensor=0x3360\nDM=3\n",
         {1000, 1600, 2000, 4000, 6000, 8000, 0, 0, 0, 0},
         {}},
        {"list matching DM is taken",
         "Sensor=0x3360\nDM=3\nDPI=500,800,24000\n",
         {500, 800, 24000, 0, 0, 0, 0, 0, 0, 0},
         {}},
        {"value not offered by the sensor stays",
         "Sensor=0x3360\nDM=2\nDPI=1100,1600\n",
         {1100, 1600, 0, 0, 0, 0, 0, 0, 0, 0},
         {{"Warning", "Wrong default dpi value: 1100"}}},
        {"sensor without built-in levels",
         "Sensor=0x7350\nDM=2\nDPI=800\n",
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         {{"Warning", "DPI != DM."},
          {"Warning", "Wrong default dpi value: 0"},
          {"Warning", "Wrong default dpi value: 0"}}},
        {"more levels than a description holds",
         "Sensor=0x3360\nDM=12\n",
         {1000, 1600, 2000, 4000, 6000, 8000, 0, 0, 0, 0},
         {{"Warning", "Wrong default dpi value: 0"},
          {"Warning", "Wrong default dpi value: 0"},
          {"Warning", "Wrong default dpi value: 0"},
          {"Warning", "Wrong default dpi value: 0"}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pszName);
        CGlobalVar& var = Load(std::string("[SENSOR_1]\n") + r.pszSection);
        EXPECT_EQ(Levels(var.Dev.Ms.SensorCfgs[0]), r.vLevels);
        EXPECT_EQ(MessagesBesidesCurSensor(), r.vMessages);
    }
}

TEST_F(MouseDescTest, LevelColours) {
    struct Row {
        const char* pszSection;
        uint32_t clr0, clr1, clr2;
    };
    const Row rows[] = {
        // exactly 3 x DM numbers: taken
        {"DM=2\nDPI=1000,1600\nDC=1,2,3,4,5,6\n", Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(0, 255, 0)},
        // any other count: the defaults
        {"DM=2\nDPI=1000,1600\nDC=1,2,3\n", Rgb(255, 0, 0), Rgb(0, 0, 255), Rgb(0, 255, 0)},
        {"DM=0\nDC=1,2,3\n", Rgb(255, 0, 0), Rgb(0, 0, 255), Rgb(0, 255, 0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pszSection);
        CGlobalVar& var = Load(std::string("[SENSOR_1]\nSensor=0x3360\n") + r.pszSection);
        const SensorCfg& c = var.Dev.Ms.SensorCfgs[0];
        EXPECT_EQ(c.DC[0], r.clr0);
        EXPECT_EQ(c.DC[1], r.clr1);
        EXPECT_EQ(c.DC[2], r.clr2);
    }
}

TEST_F(MouseDescTest, EarlyStopsOfASensorSection) {
    const std::string strRest = "KEYH=7\nMOUSEX=400\nKEYY=20\nK1_1=1,11,0,5\nMark1=1,2,3,4\n";
    struct Row {
        const char* pszName;
        std::string strHead;
        int32_t nSensor, nDm, nKeyh, nMdnum, nKeyy, nKm;
        bool bKeysAndMarks;
        Boxes vMessages;
    };
    const Row rows[] = {
        {"sensor 0 ends silently", "Sensor=0\nDM=3\n", 0, 0, 0, 0, 0, 0, false, {}},
        {"sensor not in the table",
         "Sensor=0x1234\nDM=3\n",
         0x1234,
         0,
         0,
         0,
         0,
         0,
         false,
         {{"Error", "Error, Sensor vaulue of SENSOR_1 section is 0x1234"}}},
        {"MDNUM 4", "Sensor=0x3360\nMDNUM=4\nKM=6\n", 0x3360, 6, 7, 0, 0, 0, false, {}},
        {"KM 15", "Sensor=0x3360\nMDNUM=3\nKM=15\n", 0x3360, 6, 7, 1, 20, 0, false, {}},
        {"KM 44", "Sensor=0x3360\nKM=44\n", 0x3360, 6, 7, 3, 20, 0, false, {}},
        {"KM 0", "Sensor=0x3360\nKM=0\n", 0x3360, 6, 7, 3, 20, 0, false, {}},
        {"KM 2 is read", "Sensor=0x3360\nMDNUM=6\nKM=2\n", 0x3360, 6, 7, 2, 20, 1, true, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pszName);
        CGlobalVar& var = Load("[SENSOR_1]\n" + r.strHead + strRest);
        const SensorCfg& c = var.Dev.Ms.SensorCfgs[0];
        EXPECT_EQ(c.Sensor, r.nSensor);
        EXPECT_EQ(c.DM, r.nDm);
        EXPECT_EQ(c.KEYH, r.nKeyh);
        EXPECT_EQ(c.MDNUM, r.nMdnum);
        EXPECT_EQ(c.KEYY, r.nKeyy);
        EXPECT_EQ(c.KM, r.nKm);
        EXPECT_EQ(c.Keys[0][0].Main.dwFun != 0, r.bKeysAndMarks);
        EXPECT_EQ(c.Mark[0] == (RECT{1, 2, 4, 6}), r.bKeysAndMarks);
        EXPECT_EQ(MessagesBesidesCurSensor(), r.vMessages);
    }
}

TEST_F(MouseDescTest, KeyYDependsOnTheModeCount) {
    CGlobalVar& var = Load("[SENSOR_1]\nSensor=0x3360\nMDNUM=3\n[SENSOR_2]\nSensor=0x3050\n"
                           "MDNUM=6\n");
    EXPECT_EQ(var.Dev.Ms.SensorCfgs[0].KEYY, 10);
    EXPECT_EQ(var.Dev.Ms.SensorCfgs[1].KEYY, 35);
}

TEST_F(MouseDescTest, SensorWithoutResolutionsIsRejected) {
    // The first section empties nothing; a DPISET without numbers is as good as none.
    CGlobalVar& var = Load("[SENSOR_1]\nSensor=0x3310\nDPISET=abc\n[SENSOR_2]\nSensor=0x3310\n"
                           "DM=1\nDPI=100\n");
    EXPECT_EQ(FindSensorEntry(var.Dev.Ms, 0x3310)->nCount, 100);
    EXPECT_EQ(var.Dev.Ms.SensorCfgs[1].DM, 1);
}

TEST_F(MouseDescTest, ResolutionListsReplaceTheTableEntry) {
    struct Row {
        const char* pszName;
        std::string strMs, strSection;
        int32_t nSensor;
        std::vector<int32_t> vDpi;
        std::vector<int> vHw, vLock;
        Boxes vMessages;
    };
    const Row rows[] = {
        {"DPISET alone numbers the codes",
         "",
         "Sensor=0x3310\nDPISET=400,800,1600\n",
         0x3310,
         {400, 800, 1600},
         {1, 2, 3},
         {1, 2, 3},
         {}},
        {"DPIHW replaces the codes",
         "",
         "Sensor=0x3310\nDPISET=400,800,1600\nDPIHW=7,8,9\n",
         0x3310,
         {400, 800, 1600},
         {7, 8, 9},
         {1, 2, 3},
         {}},
        {"DPIHW count differs",
         "",
         "Sensor=0x3310\nDPISET=400,800,1600\nDPIHW=7,8\n",
         0x3310,
         {400, 800, 1600},
         {7, 8, 0},
         {1, 2, 3},
         {{"Warning", "DPISET Num != DPIHW Num"}}},
        {"DPILK ignored without the lock menu",
         "",
         "Sensor=0x3310\nDPISET=400,800\nDPILK=5\n",
         0x3310,
         {400, 800},
         {1, 2},
         {1, 2},
         {}},
        {"DPILK with the lock menu",
         "SnipMenu=1,1,0\n",
         "Sensor=0x3310\nDPISET=400,800\nDPILK=5,6\n",
         0x3310,
         {400, 800},
         {1, 2},
         {5, 6},
         {}},
        {"DPILK count differs",
         "SnipMenu=1,1,0\n",
         "Sensor=0x3310\nDPISET=400,800\nDPILK=5\n",
         0x3310,
         {400, 800},
         {1, 2},
         {5, 0},
         {{"Warning", "DPISET Num != DPILK Num"}}},
        {"missing DPILK copies the device codes",
         "SnipMenu=1,1,0\n",
         "Sensor=0x3310\nDPISET=400,800\nDPIHW=3,4\n",
         0x3310,
         {400, 800},
         {3, 4},
         {3, 4},
         {}},
        {"DPIHW over the built-in list",
         "",
         "Sensor=0x7350\nDPIHW=9,9,9,9,9,9,9,9\n",
         0x7350,
         {600, 800, 1000, 1200, 1600, 2000, 2400, 3200},
         {9, 9, 9, 9, 9, 9, 9, 9},
         {1, 2, 3, 4, 5, 6, 7, 8},
         {}},
        {"0x3606 keeps its 0-based codes without lists",
         "",
         "Sensor=0x3606\n",
         0x3606,
         {400, 800, 1200, 1700, 2100, 2500, 3000, 3400, 4200, 5000, 6000, 6800},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},
         {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pszName);
        CGlobalVar& var = Load("[MS]\n" + r.strMs + "[SENSOR_1]\n" + r.strSection + "DM=0\n");
        const SensorEntry* p = FindSensorEntry(var.Dev.Ms, r.nSensor);
        ASSERT_NE(p, nullptr);
        ASSERT_EQ(p->nCount, static_cast<int>(r.vDpi.size()));
        EXPECT_EQ(std::vector<int32_t>(p->Dpi, p->Dpi + p->nCount), r.vDpi);
        EXPECT_EQ(std::vector<int>(p->HwCode, p->HwCode + p->nCount), r.vHw);
        EXPECT_EQ(std::vector<int>(p->LockCode, p->LockCode + p->nCount), r.vLock);
        EXPECT_EQ(p->Dpi[p->nCount], 0);
        EXPECT_EQ(MessagesBesidesCurSensor(), r.vMessages);
    }
}

TEST_F(MouseDescTest, ResolutionListIsReadThroughItsBuffer) {
    // 250 values of five digits do not fit the 1040-character buffer; the number the
    // buffer cuts through is dropped instead of being taken cut short.
    std::string strList;
    for (int i = 0; i < 250; ++i) {
        strList += (i ? "," : "") + std::to_string(10000 + 10 * i);
    }
    CGlobalVar& var = Load("[SENSOR_1]\nSensor=0x3389\nDM=0\nDPISET=" + strList + "\n");
    const SensorEntry* p = FindSensorEntry(var.Dev.Ms, 0x3389);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->nCount, 173); // 173 * 6 = 1038 characters, the 174th is cut
    EXPECT_EQ(p->Dpi[172], 10000 + 10 * 172);
    EXPECT_EQ(p->HwCode[172], 173);
}

TEST_F(MouseDescTest, SectionsOfOneSensorShareItsTableEntry) {
    CGlobalVar& var = Load("[MS]\nSensor=0x3310\n[SENSOR_1]\nSensor=0x3310\nDPISET=400,800\nDM=1\n"
                           "DPI=800\n[SENSOR_3]\nSensor=0x3310\nDM=1\nDPI=50\n");
    EXPECT_EQ(MessagesBesidesCurSensor(), (Boxes{{"Warning", "Wrong default dpi value: 50"}}));
    EXPECT_EQ(var.Dev.Ms.nSensorCfgIndex, 0); // the first description wins
}

TEST_F(MouseDescTest, ButtonsOfTheThreeModes) {
    CGlobalVar& var = Load("[SENSOR_1]\nSensor=0x3360\nKM=4\n"
                           "K1_1=1,11,0,5\nK2_1=1,13,0,6\n"
                           "K2_2=1,12,0,9\n");
    const SensorCfg& c = var.Dev.Ms.SensorCfgs[0];
    EXPECT_EQ(c.KM, 2);
    EXPECT_EQ(c.Keys[0][0].Main.dwFun, 0x01000011u);
    EXPECT_EQ(c.Keys[0][0].Main.nMatrixInx, 5);
    EXPECT_EQ(c.Keys[0][1].Main.dwFun, 0x01000013u);
    // Mode 2 has its own table: only button 2 is set there.
    EXPECT_EQ(c.Keys[1][0].Main.dwFun, 0u);
    EXPECT_EQ(c.Keys[1][1].Main.dwFun, 0x01000012u);
    EXPECT_EQ(c.Keys[1][1].Main.nMatrixInx, 9);
    // Mode 3 has no entry and repeats mode 1.
    EXPECT_EQ(c.Keys[2][0].Main.dwFun, 0x01000011u);
    EXPECT_EQ(c.Keys[2][1].Main.nMatrixInx, 6);
    EXPECT_EQ(MessagesBesidesCurSensor(), (Boxes{{"Error", "Key num to small"}}));
}

TEST_F(MouseDescTest, ButtonEntriesUseTheGunPresetsOfSectionMs) {
    CGlobalVar& var = Load("[MS]\nShootSpeed=30\nGunColor=1,2,3\n[SENSOR_1]\nSensor=0x3360\nKM=2\n"
                           "K1_1=8,c0,0,3\n",
                           0x10);
    const KeyAssign& ka = var.Dev.Ms.SensorCfgs[0].Keys[0][0];
    EXPECT_EQ(ka.Main.dwParam, (30u << 24) | (13u << 16));
    EXPECT_EQ(ka.dwGun, Rgb(1, 2, 3));
}

TEST_F(MouseDescTest, Marks) {
    CGlobalVar& var = Load("[SENSOR_1]\nSensor=0x3360\nMark1=10,20,30,40\nMark2=1,2,3\n"
                           "Mark3=5,5,1,1,9\nMark5=7,7,7,7\n");
    const SensorCfg& c = var.Dev.Ms.SensorCfgs[0];
    EXPECT_EQ(c.Mark[0], (RECT{10, 20, 40, 60}));
    EXPECT_EQ(c.Mark[1], (RECT{0, 0, 0, 0})); // malformed: skipped
    EXPECT_EQ(c.Mark[2], (RECT{5, 5, 6, 6}));
    EXPECT_EQ(c.Mark[4], (RECT{0, 0, 0, 0})); // after the first missing key
    EXPECT_EQ(MessagesBesidesCurSensor(), (Boxes{{"Error", "Mark value error"}}));
}

// ---------------------------------------------------------------------------------------
// Current sensor

TEST_F(MouseDescTest, CurrentSensor) {
    CGlobalVar& var = Load("[MS]\n");
    EXPECT_EQ(var.Dev.Ms.Sensor, 0x3050);
    EXPECT_EQ(var.Dev.Ms.nCurSensor, 0x3050);
    EXPECT_EQ(var.Dev.Ms.pSensorCfg(), nullptr);
    EXPECT_EQ(Messages(), (Boxes{{"Error", "set_cur_sensor:  pSensorCfg=null for 0x3050"}}));

    CGlobalVar& var2 = Load("[MS]\nSensor=0x3389\n[SENSOR_2]\nSensor=0x3050\n[SENSOR_4]\n"
                            "Sensor=0x3389\n");
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(var2.Dev.Ms.nSensorCfgIndex, 3);

    // The device may report another sensor later.
    set_cur_sensor(var2.Dev.Ms, 0x3050);
    EXPECT_EQ(var2.Dev.Ms.pSensorCfg(), &var2.Dev.Ms.SensorCfgs[1]);
    set_cur_sensor(var2.Dev.Ms, 0);
    EXPECT_EQ(var2.Dev.Ms.pSensorCfg(), nullptr);
    EXPECT_EQ(Messages().back().second, "set_cur_sensor:  pSensorCfg=null for 0x0000");
}

// ---------------------------------------------------------------------------------------
// Section MS

TEST_F(MouseDescTest, SectionDefaults) {
    CGlobalVar& var = Load("[SENSOR_1]\nSensor=0x3050\n", 0x10);
    const MouseDesc& ms = var.Dev.Ms;
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ms.VID, 0x258A);
    EXPECT_EQ(ms.PID, 0x0028);
    EXPECT_EQ(ms.DpiRGB, 1);
    EXPECT_EQ(ms.ShowXY, 1);
    EXPECT_EQ(ms.LedOffVal, 3);
    EXPECT_EQ(ms.ShowPUBGMenu, 1);
    EXPECT_EQ(ms.ShowLED[0], 1);
    EXPECT_EQ(ms.ShowLED[1], 0);
    EXPECT_EQ(ms.EnhancePrecision, -1);
    EXPECT_EQ(ms.LOD, 0xA0206);
    EXPECT_EQ(ms.LODVal, 0xECA86420u);
    EXPECT_EQ(ms.RGBIndex[2], 2);
    EXPECT_EQ(ms.KbIC, 2070);
    EXPECT_EQ(ms.clrChijiBkg, Rgb(4, 106, 157));
    EXPECT_EQ(ms.clrDpiMark, Rgb(255, 0, 0));
    EXPECT_EQ(ms.ShowEx, 0x10101);
    EXPECT_EQ(ms.ScrollKey, -1);
    EXPECT_EQ(ms.nPickColorNum, 7);
    EXPECT_EQ(ms.PickColor[3].clr, Rgb(0, 255, 255));
    EXPECT_EQ(ms.PickColor[3].nIndex, 4);
    EXPECT_EQ(ms.GunColor[6], Rgb(255, 255, 255));
    EXPECT_EQ(ms.GunColor[7], 0u);
    EXPECT_EQ(ms.GunValue[0], 13);
    EXPECT_EQ(ms.GunValue[20], 8);
    EXPECT_EQ(ms.nShowUsbRateForPUBGNum, 0);
    EXPECT_EQ(ms.clrEffectTail[0], 0u); // not read without ShowEffect
    EXPECT_EQ(ms.DpiSW[1], 0);          // not read for MsFw up to 255
}

TEST_F(MouseDescTest, ProductIdDefault) {
    struct Row {
        int nMsFw;
        const char* pszMs;
        int32_t nPid;
    };
    const Row rows[] = {
        {0x11, "", 0x1007},
        {0x12, "", 0x0028},
        {0x21, "", 0x1007},
        {0x11, "PID=0x5678\n", 0x5678},
        {0x12, "PID=0x15678\n", 0x5678},
        {0x11, "PID=0x10000\n", 0x1007},
    };
    for (const Row& r : rows) {
        CGlobalVar& var = Load(std::string("[MS]\n") + r.pszMs, r.nMsFw);
        EXPECT_EQ(var.Dev.Ms.PID, r.nPid) << r.nMsFw << " " << r.pszMs;
    }
}

TEST_F(MouseDescTest, ChecksOfSectionMs) {
    struct Row {
        const char* pszMs;
        Boxes vMessages;
    };
    const Row rows[] = {
        {"RGBIndex=2,1,0\nDPIRGBIndex=0,2,1\n", {}},
        {"RGBIndex=0,3,1\n", {{"Warning", "Wrong RGBIndex value"}}},
        {"DPIRGBIndex=a,b,c\n", {{"Warning", "Wrong DPIRGBIndex value"}}},
        {"SnipMenu=1,15\n", {}},
        {"SnipMenu=1,16\n", {{"Error", "Dpi lock menus > 15"}}},
        {"PSD=\n", {}},
        {"PSD=1,2,3\n", {{"Error", "Psd value error"}}},
        {"PSD=1,2,3,4,5,6,7\n", {{"Error", "Psd value error"}}},
        {"GunValue=1,2,3\n", {{"Error", "GunValue number!=21"}}},
        {"KeySwVk=11\n", {{"Error", "KB PID is Null"}}},
        {"KeySwVk=11\n[KB]\nPID=0x1234\n", {}},
        {"KeySwVk=0,11\n", {}},
    };
    for (const Row& r : rows) {
        Load(std::string("[MS]\n") + r.pszMs + "[SENSOR_1]\nSensor=0x3050\n", 0x10);
        EXPECT_EQ(Messages(), r.vMessages) << r.pszMs;
    }
}

TEST_F(MouseDescTest, ValuesOfSectionMs) {
    CGlobalVar& var = Load("[MS]\nRGBIndex=2,1\nDPIRGBIndex=1,2,0\nPop=0x12345\nShowLED=0x0102\n"
                           "PSD=a1,b2,c3,d4\nScrollKey=0x0302\nKeySwVk=a0,a1\n"
                           "KeySwVkMatrix=10,300\nExKey3=0x99\nUSBString=0123456789012345678901"
                           "23456789AB\nShowUsbRateForPUBG=125,1000\nLODVal=0xFDB97531\n"
                           "[KB]\nVID=0x1111\nPID=0x12222\n",
                           0x10);
    const MouseDesc& ms = var.Dev.Ms;
    EXPECT_EQ(ms.RGBIndex[0], 0); // fewer than three: the default order
    EXPECT_EQ(ms.DPIRGBIndex[0], 1);
    EXPECT_EQ(ms.Pop, 0x2345);
    EXPECT_EQ(ms.ShowLED[0], 2);
    EXPECT_EQ(ms.ShowLED[1], 1);
    EXPECT_EQ((std::vector<int>(ms.PSD, ms.PSD + 4)), (std::vector<int>{0xA1, 0xB2, 0xC3, 0xD4}));
    EXPECT_EQ(ms.ScrollKey, 0x302);
    EXPECT_EQ(ms.KeySwVk[0], 0xA0);
    EXPECT_EQ(ms.KeySwVk[1], 0xA1);
    EXPECT_EQ(ms.KeySwVk[2], 0);
    EXPECT_EQ(ms.KeySwVkMatrix[1], 300 & 0xFF);
    EXPECT_EQ(ms.ExKey[2], 0x99);
    EXPECT_EQ(ms.USBString, "01234567890123456789012345678"); // 29 characters
    EXPECT_EQ(ms.nShowUsbRateForPUBGNum, 2);
    EXPECT_EQ(ms.ShowUsbRateForPUBG[1], 0x1000);
    EXPECT_EQ(ms.LODVal, 0xFDB97531u);
    EXPECT_EQ(var.Dev.Kb.VID, 0x1111);
    EXPECT_EQ(var.Dev.Kb.PID, 0x2222);
}

TEST_F(MouseDescTest, ColourLists) {
    struct Row {
        const char* pszValue;
        std::vector<uint32_t> vColors; // all 7 of clrEffectTail
    };
    const std::vector<uint32_t> vDefault = {Rgb(255, 0, 0),  Rgb(0, 0, 255),   Rgb(255, 255, 255),
                                            Rgb(0, 255, 0),  Rgb(128, 0, 255), Rgb(250, 3, 106),
                                            Rgb(250, 198, 3)};
    const Row rows[] = {
        {nullptr, vDefault},
        {"x", vDefault},
        {"1,2,3,4,5,6", {Rgb(1, 2, 3), Rgb(4, 5, 6), 0, 0, 0, 0, 0}},
        // the black triple ends the list and is stored
        {"1,2,3,0,0,0,7,8,9", {Rgb(1, 2, 3), 0, 0, 0, 0, 0, 0}},
        // a short last triple has its missing components 0
        {"1,2,3,4", {Rgb(1, 2, 3), Rgb(4, 0, 0), 0, 0, 0, 0, 0}},
        // components are bytes
        {"256,257,258", {Rgb(0, 1, 2), 0, 0, 0, 0, 0, 0}},
        {"1,1,1,2,2,2,3,3,3,4,4,4,5,5,5,6,6,6,7,7,7,8,8,8",
         {Rgb(1, 1, 1), Rgb(2, 2, 2), Rgb(3, 3, 3), Rgb(4, 4, 4), Rgb(5, 5, 5), Rgb(6, 6, 6),
          Rgb(7, 7, 7)}},
    };
    for (const Row& r : rows) {
        std::string strMs = "[MS]\nShowEffect=1\n";
        if (r.pszValue) {
            strMs += std::string("clrEffectTail=") + r.pszValue + "\n";
        }
        CGlobalVar& var = Load(strMs);
        EXPECT_EQ(std::vector<uint32_t>(var.Dev.Ms.clrEffectTail, var.Dev.Ms.clrEffectTail + 7),
                  r.vColors)
            << (r.pszValue ? r.pszValue : "(missing)");
    }
}

TEST_F(MouseDescTest, GunPresetsOnlyWithGunKeys) {
    CGlobalVar& var = Load("[MS]\nGunValue=1,2,3\nGunColor=9,9,9\n", 0x0F);
    EXPECT_EQ(var.Dev.Ms.GunValue[0], 0);
    EXPECT_EQ(var.Dev.Ms.GunColor[0], 0u);
    EXPECT_EQ(MessagesBesidesCurSensor(), Boxes{});

    CGlobalVar& var2 = Load("[MS]\nGunValue=1,2,3\nGunColor=9,9,9\n", 0x110);
    EXPECT_EQ(var2.Dev.Ms.GunValue[0], 1);
    EXPECT_EQ(var2.Dev.Ms.GunValue[2], 3);
    EXPECT_EQ(var2.Dev.Ms.GunValue[3], 11); // not given: the default stays
    EXPECT_EQ(var2.Dev.Ms.GunColor[0], Rgb(9, 9, 9));
    EXPECT_EQ(var2.Dev.Ms.GunColor[1], 0u);
}

TEST_F(MouseDescTest, PickColorPalette) {
    CGlobalVar& var = Load("[MS]\nPickColor=255,0,0,9,0,255,0,8,0,0,0,1,0,0,255,2\n");
    EXPECT_EQ(var.Dev.Ms.nPickColorNum, 2);
    EXPECT_EQ(var.Dev.Ms.PickColor[1].clr, Rgb(0, 255, 0));
    EXPECT_EQ(var.Dev.Ms.PickColor[1].nIndex, 8);
    EXPECT_EQ(var.Dev.Ms.PickColor[2].clr, 0u);

    std::string strLong;
    for (int i = 1; i <= 20; ++i) {
        strLong += std::to_string(i) + ",0,0," + std::to_string(i) + ",";
    }
    CGlobalVar& var2 = Load("[MS]\nPickColor=" + strLong + "\n");
    EXPECT_EQ(var2.Dev.Ms.nPickColorNum, PICK_COLOR_MAX);
    EXPECT_EQ(var2.Dev.Ms.PickColor[14].nIndex, 15);
}

TEST_F(MouseDescTest, LightParameters) {
    CGlobalVar& var = Load("[MS]\nLedParam=1,a,b\nDpiSW=5\n", 0x10);
    EXPECT_EQ(var.Dev.Ms.LedParam[1], 0xA);
    EXPECT_EQ(var.Dev.Ms.LedParam2[2], 0xB); // a copy of LedParam
    EXPECT_EQ(var.Dev.Ms.DpiSW[0], 0);       // not read for this controller

    CGlobalVar& var2 = Load("[MS]\nLedParam=1,a,b\nLedParam2=zz\nDpiSW=5\n", 0x310);
    EXPECT_EQ(var2.Dev.Ms.LedParam2[1], 0xA);
    EXPECT_EQ((std::vector<int>(var2.Dev.Ms.DpiSW, var2.Dev.Ms.DpiSW + 3)),
              (std::vector<int>{5, 0, 0}));
    EXPECT_EQ((std::vector<int>(var2.Dev.Ms.DpiSW2, var2.Dev.Ms.DpiSW2 + 3)),
              (std::vector<int>{5, 0, 0}));

    CGlobalVar& var3 = Load("[MS]\nLedParam2=3\nDpiSW=\nDpiSW2=1,1,1\n", 0x310);
    EXPECT_EQ(var3.Dev.Ms.LedParam2[0], 3);
    EXPECT_EQ(var3.Dev.Ms.LedParam2[1], 0);
    EXPECT_EQ((std::vector<int>(var3.Dev.Ms.DpiSW, var3.Dev.Ms.DpiSW + 3)),
              (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(var3.Dev.Ms.DpiSW2[2], 1);
}

// ---------------------------------------------------------------------------------------
// Light effects

TEST(MsEffectTable, VariantsByControllerCode) {
    struct Row {
        int nMsFw;
        EMsEffectVariant eVariant;
        int nPresent;
    };
    const Row rows[] = {
        {0x12, EMsEffectVariant::A, 11}, {0xF2, EMsEffectVariant::A, 11},
        {0x102, EMsEffectVariant::C, 4}, {0x312, EMsEffectVariant::D, 5},
        {0x13, EMsEffectVariant::B, 12}, {0x313, EMsEffectVariant::B, 12},
        {0x300, EMsEffectVariant::D, 5}, {0x3FF, EMsEffectVariant::D, 5},
        {0x400, EMsEffectVariant::C, 4}, {0x11, EMsEffectVariant::C, 4},
        {0x10, EMsEffectVariant::C, 4},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(MsEffectVariant(r.nMsFw), r.eVariant) << r.nMsFw;
        MsEffectCfg Effects[MS_EFFECT_NUM];
        BuildMsEffectTable(Effects, r.nMsFw, 0);
        int nPresent = 0;
        while (nPresent < MS_EFFECT_NUM && Effects[nPresent].bPresent) {
            ++nPresent;
        }
        EXPECT_EQ(nPresent, r.nPresent) << r.nMsFw;
        for (int i = nPresent; i < MS_EFFECT_NUM; ++i) {
            EXPECT_EQ(Effects[i].bPresent, 0);
        }
    }
}

TEST(MsEffectTable, ParametersAndColours) {
    MsEffectCfg a[MS_EFFECT_NUM], b[MS_EFFECT_NUM], d[MS_EFFECT_NUM];
    BuildMsEffectTable(a, 0x12, 2);
    BuildMsEffectTable(b, 0x13, 2);
    BuildMsEffectTable(d, 0x305, 2);
    EXPECT_EQ(a[2].p4, 7);
    EXPECT_EQ(a[5].p4, 8);
    EXPECT_EQ(a[9].p3, 0); // the reaction switches belong to variant B only
    EXPECT_EQ(b[9].p0, 1);
    EXPECT_EQ(b[9].p3, 1);
    EXPECT_EQ(b[9].p4, 7);
    EXPECT_EQ(b[10].p0, 1);
    EXPECT_EQ(d[0].p3, 1);
    EXPECT_EQ(d[1].p4, 7);
    EXPECT_EQ(a[0].Colors[3], Rgb(128, 0, 255));
    EXPECT_EQ(b[11].Colors[7], Rgb(255, 255, 255));
    EXPECT_EQ(d[4].Colors[1], Rgb(0, 255, 0));
    EXPECT_EQ(d[4].Colors[7], Rgb(255, 128, 0));
}

TEST_F(MouseDescTest, LedOptOverridesSingleEffects) {
    CGlobalVar& var = Load("[MS]\nLedOpt1=\nLedOpt2=0,0,1\nLedOpt12=1,0,0,0,2,255,0,0,0,255\n"
                           "LedOpt15=junk\n",
                           0x12);
    const MsEffectCfg* e = var.Dev.Ms.Effects;
    EXPECT_EQ(e[0].p0, 1); // empty: built in
    EXPECT_EQ(e[0].p2, 1);
    EXPECT_EQ(e[1].p1, 0);
    EXPECT_EQ(e[1].p2, 1);
    EXPECT_EQ(e[1].p4, 0);
    EXPECT_EQ(e[1].Colors[0], Rgb(255, 0, 0)); // five numbers or fewer keep the colours
    EXPECT_EQ(e[11].bPresent, 1);
    EXPECT_EQ(e[11].p4, 2);
    EXPECT_EQ(e[11].Colors[0], Rgb(255, 0, 0));
    EXPECT_EQ(e[11].Colors[1], Rgb(0, 255, 0));
    EXPECT_EQ(e[11].Colors[2], 0u);
    EXPECT_EQ(e[14].bPresent, 1); // any non-empty value makes the effect exist
    EXPECT_EQ(e[14].p0, 0);
}
