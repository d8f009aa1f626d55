// Checks of the device descriptions that need no device.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "config/DescCheck.h"
#include "config/GlobalVar.h"
#include "config/IniFile.h"
#include "config/KbPadDescLoader.h"
#include "config/MouseDescLoader.h"
#include "config/PngSize.h"
#include "platform/MessageBox.h"
#include "support/TestDirs.h"

namespace {

class DescCheckTest : public ::testing::Test {
protected:
    void SetUp() override { SetMessageBoxSink(&m_sink); }
    void TearDown() override { SetMessageBoxSink(nullptr); }

    std::vector<std::string> Check(const std::string& strIni, int nMsFw, int nKbFw, int nPadFw) {
        auto pVar = std::make_unique<CGlobalVar>();
        pVar->MsFw = nMsFw;
        pVar->KbFw = nKbFw;
        pVar->PadFw = nPadFw;
        CIniFile ini;
        ini.LoadFromBytes(strIni.data(), strIni.size());
        if (nMsFw)
            LoadMsSection(ini, *pVar);
        if (nKbFw)
            LoadKbSection(ini, *pVar);
        if (nPadFw)
            LoadPadSection(ini, *pVar);
        return CheckDescriptions(*pVar);
    }

    CCollectingMessageSink m_sink;
};

const char* const kGoodMouse = "[MS]\nSensor=0x3360\n[SENSOR_1]\nSensor=0x3360\nKM=4\n"
                               "K1_1=1,11,0,1\nK2_1=1,13,0,2\n";
const char* const kGoodKb = "[KB]\nVID=1\nPID=2\nMaxEftKeyIndex=2\n[KBKEY]\n"
                            "K1=0,0,10,10,2,41,0,0,0\nK2=10,0,20,10,2,42,0,1,1\n";

} // namespace

TEST_F(DescCheckTest, ConsistentDescriptionsHaveNoProblem) {
    EXPECT_EQ(Check(kGoodMouse, 0x10, 0, 0), std::vector<std::string>{});
    EXPECT_EQ(Check(kGoodKb, 0, 20, 0), std::vector<std::string>{});
    EXPECT_EQ(Check("[PAD]\nVID=1\nPID=2\n", 0, 0, 40), std::vector<std::string>{});
    EXPECT_EQ(Check("", 0, 0, 0), std::vector<std::string>{});
}

TEST_F(DescCheckTest, Problems) {
    struct Row {
        std::string strIni;
        int nMsFw, nKbFw, nPadFw;
        std::string strProblem; // the first problem reported
    };
    const Row rows[] = {
        {"[MS]\nSensor=0x3389\n[SENSOR_1]\nSensor=0x3360\n", 0x10, 0, 0,
         "MS: Sensor 0x3389 has no SENSOR_%d section describing it"},
        {"[MS]\nSensor=0x3360\n[SENSOR_1]\nSensor=0x3360\nKM=6\nK1_1=1,11,0,1\nK2_1=1,13,0,2\n"
         "K3_1=1,12,0,2\n",
         0x10, 0, 0, "SENSOR_1: K2_1 and K3_1 have the same matrix index 2"},
        // Positions count from 1: a 0 (or one past the 20) is a button the mouse never gets.
        {"[MS]\nSensor=0x3360\n[SENSOR_1]\nSensor=0x3360\nKM=2\nK1_1=1,11,0,0\n", 0x10, 0, 0,
         "SENSOR_1: K1_1 has matrix position 0 outside 1..20"},
        {"[MS]\nSensor=0x3360\n[SENSOR_1]\nSensor=0x3360\nKM=2\nK1_1=1,11,0,15\n", 0x10, 0, 0,
         "SENSOR_1: K1_1 has matrix position 21 outside 1..20"},
        {std::string(kGoodMouse) + "K5_1=1,12,0,5\n", 0x10, 0, 0,
         "SENSOR_1: K5_1 is beyond the 2 buttons of KM"},
        {std::string(kGoodMouse) + "DR=0x333\n", 0x10, 0, 0,
         "SENSOR_1: DR 0x333 is none of the offered rates RATE1..RATE4"},
        {std::string(kGoodMouse) + "DEFLEVEL=6\n", 0x10, 0, 0,
         "SENSOR_1: DEFLEVEL 6 is not one of the 6 levels"},
        {std::string(kGoodMouse) + "MDNUM=5\n", 0x10, 0, 0,
         "SENSOR_1: MDNUM is not 3, 6 or 9; the section was read only up to it"},
        {std::string(kGoodMouse) + "[SENSOR_2]\nSensor=0x3360\n", 0x10, 0, 0,
         "SENSOR_2: sensor 0x3360 is already described by SENSOR_1, which is used"},
        {"[MS]\nSnipMenu=1,1,21\nSensor=0x3360\n[SENSOR_1]\nSensor=0x3360\nKM=2\n"
         "K1_1=1,11,0,1\n",
         0x10, 0, 0, "MS: SnipMenu position 21 is past the 21 resolutions of sensor 0x3360"},
        {"[MS]\nScrollKey=0x0300\nSensor=0x3360\n[SENSOR_1]\nSensor=0x3360\nKM=2\n"
         "K1_1=1,11,0,1\n",
         0x10, 0, 0, "MS: ScrollKey button index 3 is past the 1 buttons"},
        {std::string(kGoodMouse) + "DPISET=100,200,200\n", 0x10, 0, 0,
         "Sensor 0x3360: DPISET is not ascending at value 3 (200)"},
        {std::string(kGoodKb) + "K3=20,0,30,10,2,43,0,1,2\n", 0, 20, 0,
         "KBKEY: K2 and K3 have the same matrix index 1"},
        {"[KB]\nVID=1\n", 0, 20, 0, "KB: VID and PID must both be set to find the keyboard"},
        {std::string(kGoodKb).replace(0, 4, "[KB]\nEffectNum=15\n"), 0, 20, 0,
         "KB: LEDParam has 14 pairs for 15 effects"},
        {std::string(kGoodKb).replace(0, 4, "[KB]\nNoColorKey=2\n"), 0, 20, 0,
         "KB: NoColorKey 2 is past the 2 keys"},
        {std::string(kGoodKb).replace(0, 4, "[KB]\nGaoshouGroupNum=2\nGaoshouKey1=41\n"), 0, 20, 0,
         "KB: CustomGp 0..1 is not within the 1 colour groups read"},
        {"[PAD]\nVID=1\n", 0, 0, 40, "PAD: VID and PID must both be set to find the pad"},
    };
    for (const Row& r : rows) {
        const std::vector<std::string> v = Check(r.strIni, r.nMsFw, r.nKbFw, r.nPadFw);
        if (r.strProblem.empty()) {
            EXPECT_TRUE(v.empty()) << r.strIni << "\n" << (v.empty() ? "" : v[0]);
            continue;
        }
        ASSERT_FALSE(v.empty()) << r.strIni;
        EXPECT_EQ(v[0], r.strProblem) << r.strIni;
    }
}

TEST_F(DescCheckTest, DemoInstallationIsClean) {
    std::ifstream f(std::string(VELKIN_SOURCE_DIR) + "/install/demo/cfg.ini", std::ios::binary);
    ASSERT_TRUE(f.good());
    std::stringstream ss;
    ss << f.rdbuf();
    CIniFile ini;
    const std::string strIni = ss.str();
    ini.LoadFromBytes(strIni.data(), strIni.size());
    const int nMsFw = ini.GetInt("OPT", "MsFw", 0);
    const int nKbFw = ini.GetInt("OPT", "KbFw", 0);
    const int nPadFw = ini.GetInt("OPT", "PadFw", 0);
    ASSERT_GT(nMsFw & 0xFF, 15); // gun keys exist
    EXPECT_EQ(nKbFw, 20);
    EXPECT_EQ(nPadFw, 40);
    EXPECT_EQ(Check(strIni, nMsFw, nKbFw, nPadFw), std::vector<std::string>{});
    EXPECT_TRUE(m_sink.m_vEntries.empty())
        << m_sink.m_vEntries[0].strTitle << ": " << m_sink.m_vEntries[0].strText;
}

namespace {
// The first 24 bytes of a PNG file: what the size check reads.
std::string PngHeader(uint32_t nWidth, uint32_t nHeight) {
    std::string s("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (uint32_t n : {nWidth, nHeight})
        for (int b = 3; b >= 0; --b)
            s += static_cast<char>((n >> (8 * b)) & 0xFF);
    return s;
}
} // namespace

TEST_F(DescCheckTest, KeyMarksLieOnEverySkinsMousePicture) {
    CTempDir prog;
    prog.Write("dark/Mouse/Mouse_NR.png", PngHeader(200, 300)); // spelt as on Windows
    prog.Write("light/mouse/mouse_nr.png", PngHeader(100, 300));
    prog.Write("broken/mouse/mouse_nr.png", "not a png");
    CGlobalVar var;
    var.szProgramDir = prog.Path();
    var.MsFw = 0x10;
    var.Skins = {{"Dark", "dark"}, {"Light", "light"}, {"Broken", "broken"}, {"None", "none"}};
    SensorCfg& cfg = var.Dev.Ms.SensorCfgs[0];
    cfg.Sensor = 0x3360;
    cfg.KM = 3;
    cfg.Mark[0] = RECT{10, 10, 90, 90};
    cfg.Mark[1] = RECT{150, 10, 190, 90};   // inside dark only
    cfg.Mark[2] = RECT{0, 0, 0, 0};         // hidden
    cfg.Mark[3] = RECT{500, 500, 600, 600}; // beyond KM: never shown
    std::vector<std::string> v = CheckSkinFiles(var);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_NE(v[0].find("Mark2 (150,10,190,90) lies outside the 100x300 mouse picture"),
              std::string::npos)
        << v[0];
    EXPECT_NE(v[1].find("broken/: mouse/mouse_nr.png is missing"), std::string::npos) << v[1];
    EXPECT_NE(v[2].find("none/: mouse/mouse_nr.png is missing"), std::string::npos) << v[2];
    var.MsFw = 0;
    EXPECT_TRUE(CheckSkinFiles(var).empty());
}

TEST(PngSize, ReadsOnlyWellFormedHeaders) {
    std::string s = PngHeader(640, 480);
    auto size = ReadPngSize(s.data(), s.size());
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->nWidth, 640u);
    EXPECT_EQ(size->nHeight, 480u);
    EXPECT_FALSE(ReadPngSize(s.data(), 23).has_value());
    EXPECT_FALSE(ReadPngSize(PngHeader(0, 5).data(), 24).has_value());
    std::string bad = s;
    bad[13] = 'X';
    EXPECT_FALSE(ReadPngSize(bad.data(), bad.size()).has_value());
}
