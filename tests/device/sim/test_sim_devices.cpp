// The simulated devices: what an installation attaches, simulation files, fault injection
// and the trace.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

#include "config/GlobalVar.h"
#include "device/hid/HidLib.h"
#include "device/sim/SimInstallation.h"
#include "device/sim/SimKb816.h"
#include "device/sim/SimMouse8948.h"
#include "device/sim/SimSmallDevices.h"
#include "support/FakeClock.h"

namespace {

using Bytes = std::vector<uint8_t>;

class CSimTest : public ::testing::Test {
protected:
    CSimTest() : m_lib(&m_backend) {
        m_pVar = std::make_unique<CGlobalVar>();
        CGlobalVar& v = *m_pVar;
        v.MsFw = 0x10;
        v.KbFw = 20;
        v.PadFw = 40;
        v.Dev.Ms.VID = 0x258A;
        v.Dev.Ms.PID = 0x1011;
        v.Dev.Ms.Sensor = 0x3389;
        const uint8_t kMsCode[4] = {0x89, 0x48, 0x10, 0x01};
        std::memcpy(v.Dev.Ms.PSD, kMsCode, 4);
        v.Dev.Kb.VID = 0x258A;
        v.Dev.Kb.PID = 0x0090;
        v.Dev.Pad.VID = 0x258A;
        v.Dev.Pad.PID = 0x00A0;
        v.Dev.Pad.PSD[0] = 0x40;
        v.Dev.Pad.PSD[1] = 0x01;
    }
    std::vector<std::string> Names() {
        std::vector<std::string> v;
        for (auto& p : m_backend.Devices())
            v.push_back(p->Name());
        return v;
    }
    CFakeClock m_clock;
    CSimBackend m_backend;
    CHidLib m_lib;
    std::unique_ptr<CGlobalVar> m_pVar;
};

TEST_F(CSimTest, InstallationDevicesCarryTheConfiguredIdsCodesAndSensor) {
    AttachInstallationDevices(*m_pVar, m_backend);
    EXPECT_EQ(Names(), std::vector<std::string>({"mouse", "keyboard", "pad"}));
    auto pMouse = std::dynamic_pointer_cast<CSimMouse8948>(m_backend.Find("mouse"));
    ASSERT_TRUE(pMouse);
    EXPECT_EQ(pMouse->Pid(), 0x1011);
    CSimMouse8948::CState st = pMouse->State();
    EXPECT_EQ(Bytes(st.byCode, st.byCode + 4), Bytes({0x89, 0x48, 0x10, 0x01}));
    EXPECT_EQ(st.byGeneral[0][1], 15); // the type code of sensor 0x3389
    EXPECT_EQ(st.nMode, 1);
    auto pPad = std::dynamic_pointer_cast<CSimPad>(m_backend.Find("pad"));
    ASSERT_TRUE(pPad);
    EXPECT_EQ(pPad->General()[0], 0x40);
    EXPECT_EQ(pPad->General()[1], 0x01);

    // A mouse with a companion keyboard part brings the keyboard and the receiver.
    m_backend.DetachAll();
    m_pVar->KbFw = 0;
    m_pVar->PadFw = 0;
    m_pVar->Dev.Ms.KeySwVk[0] = 0x70;
    m_pVar->Dev.Ms.KbIC = 2305;
    m_pVar->Dev.Ms.PID = 0;
    AttachInstallationDevices(*m_pVar, m_backend);
    EXPECT_EQ(Names(), std::vector<std::string>({"mouse", "companion", "receiver"}));
    EXPECT_TRUE(std::dynamic_pointer_cast<CSimKb901>(m_backend.Find("companion")));
    EXPECT_EQ(m_backend.Find("mouse")->Pid(), 0x0028); // PID 0 with MsFw 0x10
    EXPECT_EQ(m_backend.Find("receiver")->Pid(), 0x0016);
}

TEST_F(CSimTest, SimulationFileReplacesTheDevices) {
    AttachInstallationDevices(*m_pVar, m_backend);
    std::string strError;
    ASSERT_TRUE(LoadSimulationJson(R"({"devices": [
        {"family": "8948", "pid": "0x1007", "code": [1, 2, 3, "0x04"], "sensor": "0x3360",
         "mode": 3, "notify": false, "failNext": 2},
        {"family": "pad", "code": [5, 6], "present": false}]})",
                                   *m_pVar, m_backend, strError))
        << strError;
    EXPECT_EQ(Names(), std::vector<std::string>({"8948", "pad"}));
    auto pMouse = std::dynamic_pointer_cast<CSimMouse8948>(m_backend.Find("8948"));
    ASSERT_TRUE(pMouse);
    EXPECT_EQ(pMouse->Pid(), 0x1007);
    EXPECT_EQ(pMouse->Vid(), 0x258A); // left out: from the installation
    EXPECT_FALSE(pMouse->HasNotify());
    CSimMouse8948::CState st = pMouse->State();
    EXPECT_EQ(Bytes(st.byCode, st.byCode + 4), Bytes({1, 2, 3, 4}));
    EXPECT_EQ(st.byGeneral[2][1], 6);
    EXPECT_EQ(st.nMode, 3);
    EXPECT_FALSE(m_backend.Find("pad")->IsPresent());
    EXPECT_EQ(m_backend.Enumerate().size(), 1u);

    HidHandle h = m_lib.OpenHidDevice(0xFF00, 1, "VID_258a&PID_1007", FeatureLenFilter(6), 0, 0, 0,
                                      0, 0, nullptr);
    ASSERT_TRUE(h);
    const uint8_t by[6] = {5, 2, 0, 0, 0, 0};
    EXPECT_EQ(m_lib.SetFeature(h, by, 6), 0); // failNext 2
    EXPECT_EQ(m_lib.SetFeature(h, by, 6), 0);
    EXPECT_EQ(m_lib.SetFeature(h, by, 6), 1);
}

TEST_F(CSimTest, BadSimulationFilesAreRejectedAndChangeNothing) {
    AttachInstallationDevices(*m_pVar, m_backend);
    const char* kBad[] = {
        "{",
        "[1, 2]",
        R"({"devices": {}})",
        R"({"devices": [{"family": "9999"}]})",
        R"({"devices": [{"family": "8948", "code": [1, 2, 3]}]})",
        R"({"devices": [{"family": "8948", "code": [1, 2, 3, 256]}]})",
        R"({"devices": [{"family": "8948", "mode": 4}]})",
        R"({"devices": [{"family": "pad", "pid": 70000}]})",
        R"({"devices": [{"family": "pad", "pid": "0x12zz"}]})",
        R"({"devices": [3]})",
    };
    for (const char* psz : kBad) {
        std::string strError;
        EXPECT_FALSE(LoadSimulationJson(psz, *m_pVar, m_backend, strError)) << psz;
        EXPECT_FALSE(strError.empty()) << psz;
        EXPECT_EQ(Names(), std::vector<std::string>({"mouse", "keyboard", "pad"})) << psz;
    }
    std::string strError;
    EXPECT_FALSE(LoadSimulationFile("/nonexistent/sim.json", *m_pVar, m_backend, strError));
    EXPECT_TRUE(LoadSimulationJson("{}", *m_pVar, m_backend, strError)); // nothing to change
    EXPECT_EQ(Names().size(), 3u);
}

TEST_F(CSimTest, VanishedDeviceFailsUntilReopenedAfterItsReturn) {
    const uint8_t byCode[2] = {1, 2};
    auto pPad = std::make_shared<CSimPad>("pad", 0x258A, 0x00A0, byCode);
    m_backend.Attach(pPad);
    HidHandle h = m_lib.OpenHidDevice(0xFF00, 1, "VID_258a&PID_00a0", FeatureLenFilter(27), 0, 0, 0,
                                      0, 0, nullptr);
    ASSERT_TRUE(h);
    uint8_t by[27] = {0x30};
    ASSERT_EQ(m_lib.GetFeature(h, by, sizeof by), 1);
    pPad->Vanish();
    EXPECT_TRUE(m_backend.Enumerate().empty());
    by[0] = 0x30;
    EXPECT_EQ(m_lib.GetFeature(h, by, sizeof by), 0);
    EXPECT_EQ(HidLastError(), ENODEV);
    pPad->Return();
    by[0] = 0x30;
    EXPECT_EQ(m_lib.GetFeature(h, by, sizeof by), 0);
    HidHandle h2 = m_lib.OpenHidDevice(0xFF00, 1, "VID_258a&PID_00a0", FeatureLenFilter(27), 0, 0,
                                       0, 0, 0, nullptr);
    ASSERT_TRUE(h2);
    by[0] = 0x30;
    EXPECT_EQ(m_lib.GetFeature(h2, by, sizeof by), 1);
}

TEST_F(CSimTest, TraceHoldsEveryReportAndRefusesForeignReportIds) {
    auto pKb = std::make_shared<CSimKb816>("kb", 0x258A, 0x0090);
    m_backend.Attach(pKb);
    HidHandle h = m_lib.OpenHidDevice(0xFF00, 1, "VID_258A&PID_0090", FeatureLenFilter(6), 0, 0, 0,
                                      0, 0, nullptr);
    ASSERT_TRUE(h);
    const uint8_t byGood[6] = {5, 0x83, 0, 0, 0, 0};
    const uint8_t byForeign[6] = {6, 0x83, 0, 0, 0, 0}; // report 6 lives in the other collection
    EXPECT_EQ(m_lib.SetFeature(h, byGood, 6), 1);
    EXPECT_EQ(m_lib.SetFeature(h, byForeign, 6), 0);
    EXPECT_EQ(HidLastError(), EINVAL);
    auto v = pKb->Trace();
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].strDirection, "out");
    EXPECT_EQ(v[0].strOperation, "SetFeature");
    EXPECT_EQ(v[0].vBytes, Bytes(byGood, byGood + 6));
    EXPECT_EQ(v[0].nResult, 1);
    EXPECT_EQ(v[1].nResult, 0);
}

TEST_F(CSimTest, NotificationsReachEveryOpenReader) {
    const uint8_t byCode[4] = {0, 0, 0, 0};
    auto pMouse = std::make_shared<CSimMouse8948>("m", 0x258A, 0x1011, byCode, 15);
    m_backend.Attach(pMouse);
    auto open = [&] {
        return m_lib.OpenHidDevice(0xFF00, 1, "VID_258a&PID_1011", InputLenFilter(8), 0, 0, 0, 0, 0,
                                   nullptr);
    };
    HidHandle h1 = open(), h2 = open();
    ASSERT_TRUE(h1 && h2);
    pMouse->PressModeButton(2);
    for (HidHandle& h : {std::ref(h1), std::ref(h2)}) {
        uint8_t by[8];
        ASSERT_EQ(m_lib.ReadInputReport(h, by, sizeof by), 8);
        EXPECT_EQ(Bytes(by, by + 8), Bytes({7, 2, 1, 0, 0, 0, 0, 0}));
    }
    EXPECT_EQ(pMouse->State().nMode, 2);
}

} // namespace
