// velkinctl devices, udev-rules, --simulate and --trace against an installation of its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

#include "support/RunVelkinctl.h"
#include "support/TestDirs.h"

namespace {

class CDeviceCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_prog.Write("cfg.ini", "[OPT]\nMsFw=0x12\nKbFw=20\nPadFw=40\n"
                                "[MS]\nVID=0x258A\nPID=0x1011\nSensor=0x3360\nPSD=11,22,33,44\n"
                                "[SENSOR_1]\nSensor=0x3360\n"
                                "[KB]\nVID=0x258A\nPID=0x0090\n"
                                "[PAD]\nVID=0x258A\nPID=0x00A0\nPSD=40,01\n");
    }
    CRunResult Run(const std::string& strArgs) {
        return RunVelkinctl("--program-dir " + m_prog.Path() + " --data-dir " + m_data.Path() +
                            " --desktop-dir " + m_desk.Path() + " " + strArgs);
    }
    static nlohmann::json Family(const nlohmann::json& j, const std::string& strFamily) {
        for (const auto& d : j["devices"])
            if (d["family"] == strFamily)
                return d;
        return nullptr;
    }
    CTempDir m_prog, m_data, m_desk;
};

TEST_F(CDeviceCommandsTest, SimulatedInstallationIsFoundWithItsState) {
    CRunResult r = Run("--simulate devices");
    ASSERT_EQ(r.nStatus, 0) << r.strOut;
    nlohmann::json j = nlohmann::json::parse(r.strOut);
    EXPECT_EQ(j["backend"], "sim");
    nlohmann::json ms = Family(j, "8948");
    EXPECT_EQ(ms["FindDev"], 1);
    EXPECT_EQ(ms["vid"], "258a");
    EXPECT_EQ(ms["pid"], "1011");
    EXPECT_EQ(ms["code"], "11223344");
    EXPECT_EQ(ms["mode"], 1);
    EXPECT_EQ(ms["sensor"], "3360");
    EXPECT_EQ(ms["product"], "Gaming Mouse");
    EXPECT_EQ(Family(j, "816")["FindDev"], 1);
    EXPECT_EQ(Family(j, "pad")["FindDev"], 1);
}

TEST_F(CDeviceCommandsTest, SimulationFileAndTrace) {
    std::string strSim =
        m_data.Write("sim.json", R"({"devices": [{"family": "8948", "code": [1, 2, 3, 4]}]})");
    std::string strTrace = m_data.Path() + "trace.jsonl";
    CRunResult r = Run("--simulate=" + strSim + " --trace " + strTrace + " devices");
    ASSERT_EQ(r.nStatus, 0) << r.strOut;
    nlohmann::json j = nlohmann::json::parse(r.strOut);
    EXPECT_EQ(Family(j, "8948")["FindDev"], -1);
    EXPECT_EQ(Family(j, "816")["FindDev"], 0); // not attached by the file
    ASSERT_FALSE(j["messages"].empty());
    EXPECT_EQ(j["messages"].back()["text"], "Psd Unmatch");

    std::ifstream f(strTrace);
    std::string strLine;
    std::vector<nlohmann::json> vLines;
    while (std::getline(f, strLine))
        vLines.push_back(nlohmann::json::parse(strLine));
    ASSERT_GE(vLines.size(), 2u);
    EXPECT_EQ(vLines[0]["device"], "HID#VID_258A&PID_1011#sim/8948");
    EXPECT_EQ(vLines[0]["collection"], 1);
    EXPECT_EQ(vLines[0]["direction"], "out");
    EXPECT_EQ(vLines[0]["operation"], "SetFeature");
    EXPECT_EQ(vLines[0]["report"], "050100000000");
    EXPECT_EQ(vLines[0]["result"], 1);
    EXPECT_EQ(vLines[1]["report"], "050101020304");
}

TEST_F(CDeviceCommandsTest, BadSimulationFileEndsWithStatusTwo) {
    std::string strSim = m_data.Write("bad.json", R"({"devices": [{"family": "9999"}]})");
    EXPECT_EQ(Run("--simulate=" + strSim + " devices").nStatus, 2);
    EXPECT_EQ(Run("--simulate=" + m_data.Path() + "missing.json devices").nStatus, 2);
}

TEST_F(CDeviceCommandsTest, UdevRulesNameTheConfiguredDevices) {
    CRunResult r = Run("udev-rules");
    ASSERT_EQ(r.nStatus, 0);
    for (const char* psz : {"1011", "1007", "0028", "0090", "00a0"})
        EXPECT_NE(r.strOut.find(std::string("ATTRS{idProduct}==\"") + psz + "\", TAG+=\"uaccess\""),
                  std::string::npos)
            << psz;
}

} // namespace
