// velkinctl config: the device descriptions under the configuration's names.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

#include "support/RunVelkinctl.h"
#include "support/TestDirs.h"

namespace {

nlohmann::json RunConfig(const CTempDir& prog, const CTempDir& data, const CTempDir& desk) {
    CRunResult r = RunVelkinctl("--program-dir " + prog.Path() + " --data-dir " + data.Path() +
                                " --desktop-dir " + desk.Path() + " config");
    return nlohmann::json::parse(r.strOut, nullptr, false);
}

} // namespace

TEST(DescJson, DescriptionsUnderTheirConfigurationNames) {
    CTempDir prog, data, desk;
    prog.Write("cfg.ini", "[OPT]\nappdir=App\nMacProtocol=1\nMsFw=0x10\nKbFw=20\nPadFw=40\n"
                          "[MS]\nSensor=0x3360\nPSD=1,2,3\nShowEffect=1\n"
                          "[SENSOR_2]\nSensor=0x3360\nDM=2\nDPI=800,1600\nKM=4\n"
                          "K1_1=1,11,0,5\nK2_1=8,c0,3021,6\nMark1=1,2,3,4\n"
                          "[KB]\nVID=0x258A\nPID=0x0090\nrcKB=10,20,100,50\n"
                          "LedOpt1=9,1,0,1,0,200,100,50\n"
                          "[PAD]\nPID=0x00A0\nPSD=40,01\n");
    const nlohmann::json j = RunConfig(prog, data, desk);
    ASSERT_TRUE(j.is_object());

    EXPECT_EQ(j["SensorTable"].size(), 14u);
    EXPECT_EQ(j["SensorTable"][13]["nSensor"], 0x3389);
    EXPECT_EQ(j["SensorTable"][13]["Dpi"].size(), 170u);
    EXPECT_EQ(j["SensorTable"][12]["HwCode"][0], 0); // 0x3606 counts from 0

    EXPECT_EQ(j["MS"]["VID"], 0x258A);
    EXPECT_EQ(j["MS"]["PID"], 0x0028);
    EXPECT_EQ(j["MS"]["PSD"], nlohmann::json({0, 0, 0, 0}));
    EXPECT_EQ(j["MS"]["clrEffectTail"][0], nlohmann::json({255, 0, 0}));
    EXPECT_EQ(j["MS"]["ScrollKey"], -1);
    EXPECT_EQ(j["MS"]["LedOpt"].size(), 15u);
    EXPECT_EQ(j["MS"]["Sensor"], 0x3360);

    EXPECT_EQ(j["SENSOR_1"]["Sensor"], 0);
    const nlohmann::json& s = j["SENSOR_2"];
    EXPECT_EQ(s["DPI"], nlohmann::json({800, 1600, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(s["KM"], 2);
    EXPECT_EQ(s["MDNUM"], 3);
    EXPECT_EQ(s["Mark"][0], nlohmann::json({1, 2, 4, 6}));
    EXPECT_EQ(s["Keys"].size(), 3u);
    EXPECT_EQ(s["Keys"][0][0]["Main"]["dwFun"], "0x01000011");
    EXPECT_EQ(s["Keys"][0][0]["Main"]["nMatrixInx"], 5);
    EXPECT_EQ(s["Keys"][0][1]["Main"]["dwParam"], "0x190A0021"); // gun: speed 25, value 10
    EXPECT_EQ(s["Keys"][2][1]["Main"]["dwFun"], "0x080000C0");   // mode 3 repeats mode 1
    EXPECT_EQ(j["pSensorCfg"], 1);
    EXPECT_EQ(j["CurSensor"], 0x3360);

    EXPECT_EQ(j["KB"]["rcKB"], nlohmann::json({10, 20, 110, 70}));
    EXPECT_EQ(j["KB"]["LedOpt"][0]["nCode"], 9);
    EXPECT_EQ(j["KB"]["LedOpt"][0]["f5"], 200);
    EXPECT_EQ(j["KB"]["LedOpt"][0]["Colors"][0], nlohmann::json({200, 100, 50}));
    EXPECT_EQ(j["KB"]["LedOpt"][1]["nCode"], 7);
    EXPECT_EQ(j["KB"]["LEDParam"].size(), 14u);

    EXPECT_EQ(j["PAD"]["PID"], 0xA0);
    EXPECT_EQ(j["PAD"]["PSD"], nlohmann::json({0x40, 0x01}));
    EXPECT_EQ(j["PAD"]["ptEft2"], nlohmann::json({484, 372}));

    const nlohmann::json vExpected =
        nlohmann::json::array({{{"title", "Error"}, {"text", "Psd value error"}}});
    EXPECT_EQ(j["messages"], vExpected);
}
