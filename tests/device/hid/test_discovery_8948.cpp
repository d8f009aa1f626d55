// Discovery of the 8948 mouse against the simulated mouse: candidate product ids, the
// collections, the device-code and sensor checks and the current levels.
#include <gtest/gtest.h>

#include <cstring>

#include "DrvFixture.h"
#include "device/hid/CurLevels.h"
#include "device/hid/Drv8948.h"
#include "device/sim/SimMouse8948.h"

namespace {

constexpr int kSensor3360 = 6; // type code the mouse reports for 0x3360
constexpr int kSensor3389 = 15;

class CDiscovery8948 : public CDrvTest {
protected:
    std::shared_ptr<CSimMouse8948> AddMouse(uint16_t wPid, const uint8_t byCode[4],
                                            int nSensorCode = kSensor3360, bool bNotify = true) {
        auto p =
            std::make_shared<CSimMouse8948>("mouse", 0x258A, wPid, byCode, nSensorCode, bNotify);
        m_backend.Attach(p);
        return p;
    }
    void SetPsd(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
        uint8_t by[4] = {a, b, c, d};
        std::memcpy(m_pVar->Dev.Ms.PSD, by, 4);
    }
    // Sets general bytes 3/4 (resolution) and 122/123 (lift-off) of a mode.
    static void SetLevels(CSimMouse8948& m, int nMode, int nOrd, uint8_t byOff, int nLodOrd,
                          uint8_t byLodOff) {
        CSimMouse8948::CState st = m.State();
        auto& gd = st.byGeneral[size_t(nMode - 1)];
        gd[3] = uint8_t(nOrd << 4);
        gd[4] = byOff;
        gd[122] = uint8_t(nLodOrd << 4);
        gd[123] = byLodOff;
        m.SetState(st);
    }
    void ResetLevels(int n) {
        for (int i = 0; i < 3; ++i)
            g_nCurDpiLevel[i] = g_nCurLODLevel[i] = n;
    }
    const uint8_t kCode[4] = {0x11, 0x22, 0x33, 0x44};
};

TEST_F(CDiscovery8948, ProductIdCandidatesAreTriedInOrderEachOnce) {
    struct {
        int nCfgPid;
        uint16_t wDevPid;
        std::vector<std::string> vLooked;
    } kCases[] = {
        {0x1234,
         0x0028,
         {"CDrv8948  FindDev: looking for VID_258a&PID_1234",
          "CDrv8948  FindDev: looking for VID_258a&PID_1007",
          "CDrv8948  FindDev: looking for VID_258a&PID_0028"}},
        {0x1234, 0x1234, {"CDrv8948  FindDev: looking for VID_258a&PID_1234"}},
        {0x1007,
         0x0028,
         {"CDrv8948  FindDev: looking for VID_258a&PID_1007",
          "CDrv8948  FindDev: looking for VID_258a&PID_0028"}},
        {0x0028,
         0x0028,
         {"CDrv8948  FindDev: looking for VID_258a&PID_1007",
          "CDrv8948  FindDev: looking for VID_258a&PID_0028"}},
    };
    for (auto& c : kCases) {
        CLogCapture log;
        m_backend.DetachAll();
        AddMouse(c.wDevPid, kCode);
        m_pVar->Dev.Ms.PID = c.nCfgPid;
        CDrv8948 drv(*m_pVar, &m_lib);
        EXPECT_EQ(drv.FindDev(), 1) << std::hex << c.nCfgPid;
        EXPECT_EQ(log.With("CDrv8948  FindDev"), c.vLooked) << std::hex << c.nCfgPid;
    }
}

TEST_F(CDiscovery8948, NoMouseOrWrongVendorLeavesEveryHandleNull) {
    auto p = std::make_shared<CSimMouse8948>("other", 0x1111, 0x1234, kCode, kSensor3360);
    m_backend.Attach(p);
    CDrv8948 drv(*m_pVar, &m_lib);
    EXPECT_EQ(drv.FindDev(), 0);
    EXPECT_FALSE(drv.GetHandle());
    EXPECT_FALSE(drv.DataHandle());
    EXPECT_FALSE(drv.NotifyHandle());
    EXPECT_TRUE(m_log.Has("m_hCmd=0x0, m_hData=0x0, m_hNotify=0x0"));
}

TEST_F(CDiscovery8948, MouseWithoutNotificationCollectionIsFound) {
    AddMouse(0x1234, kCode, kSensor3360, false);
    CDrv8948 drv(*m_pVar, &m_lib);
    EXPECT_EQ(drv.FindDev(), 1);
    EXPECT_TRUE(drv.GetHandle());
    EXPECT_TRUE(drv.DataHandle());
    EXPECT_FALSE(drv.NotifyHandle());
}

TEST_F(CDiscovery8948, DeviceCodeCheck) {
    struct {
        uint8_t byCfg[4];
        uint8_t byDev[4];
        int nResult;
    } kCases[] = {
        {{0x11, 0x22, 0x33, 0x44}, {0x11, 0x22, 0x33, 0x44}, 1},
        {{0x11, 0x22, 0x33, 0x44}, {0x11, 0x22, 0x33, 0x45}, -1},
        {{0, 0, 0, 0}, {0x99, 0x88, 0x77, 0x66}, 1}, // no code configured: any device
        {{0, 0, 0, 0}, {0, 0, 0, 0}, 1},
        {{0x11, 0x22, 0x33, 0x44}, {0, 0, 0, 0}, -1},
    };
    for (auto& c : kCases) {
        m_backend.DetachAll();
        m_boxes.m_vEntries.clear();
        AddMouse(0x1234, c.byDev);
        std::memcpy(m_pVar->Dev.Ms.PSD, c.byCfg, 4);
        CDrv8948 drv(*m_pVar, &m_lib);
        EXPECT_EQ(drv.FindDev(), c.nResult);
        if (c.nResult == -1) {
            EXPECT_EQ(BoxTexts(), std::vector<std::string>({"Warning: Psd Unmatch"}));
            EXPECT_FALSE(drv.GetHandle());
            EXPECT_FALSE(drv.NotifyHandle());
        } else {
            EXPECT_TRUE(BoxTexts().empty());
        }
    }
}

TEST_F(CDiscovery8948, FailedGetPsdGoesOnWithAZeroCode) {
    for (bool bCfgCode : {false, true}) {
        m_backend.DetachAll();
        m_boxes.m_vEntries.clear();
        auto p = AddMouse(0x1234, kCode);
        if (bCfgCode)
            SetPsd(0x11, 0x22, 0x33, 0x44);
        else
            SetPsd(0, 0, 0, 0);
        p->FailNext(3); // the GetPsd command fails all three tries
        CDrv8948 drv(*m_pVar, &m_lib);
        EXPECT_EQ(drv.FindDev(), bCfgCode ? -1 : 1);
        std::vector<std::string> vBoxes = {"Warning: GetPsd Err"};
        if (bCfgCode)
            vBoxes.push_back("Warning: Psd Unmatch");
        EXPECT_EQ(BoxTexts(), vBoxes);
    }
}

TEST_F(CDiscovery8948, ModeOutsideOneToThreeIsUnknown) {
    auto p = AddMouse(0x1234, kCode);
    CSimMouse8948::CState st = p->State();
    st.nMode = 7;
    p->SetState(st);
    CDrv8948 drv(*m_pVar, &m_lib);
    EXPECT_EQ(drv.FindDev(), 1);
    EXPECT_EQ(drv.DevMode(), 0xFF);
    EXPECT_EQ(g_nCurMode, 0xFF);
    st.nMode = 2;
    p->SetState(st);
    EXPECT_EQ(drv.FindDev(), 1);
    EXPECT_EQ(drv.DevMode(), 2);
}

TEST_F(CDiscovery8948, FailedGeneralDataReadRejectsTheDevice) {
    auto p = AddMouse(0x1234, kCode);
    // GetPsd and GetMode take two transfers each; then the GetProfile command fails.
    p->FailNext(3, 4);
    CDrv8948 drv(*m_pVar, &m_lib);
    EXPECT_EQ(drv.FindDev(), 0);
    EXPECT_TRUE(m_log.Has("FindDev: Get general data error, err=0x5")); // EIO
    EXPECT_FALSE(drv.GetHandle());
}

TEST_F(CDiscovery8948, SensorCodeZeroReportsReadyAndKeepsLevels) {
    AddMouse(0x1234, kCode, 0);
    ResetLevels(9);
    CDrv8948 drv(*m_pVar, &m_lib);
    EXPECT_EQ(drv.FindDev(), 1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>({"Warning:      Senr error    "}));
    EXPECT_EQ(g_nCurDpiLevel[0], 9);
    EXPECT_TRUE(drv.GetHandle());
}

TEST_F(CDiscovery8948, SensorCheckWithAndWithoutAutoSwitch) {
    // AutoSw clear: a different sensor rejects the device.
    {
        AddMouse(0x1234, kCode, kSensor3389);
        CDrv8948 drv(*m_pVar, &m_lib);
        EXPECT_EQ(drv.FindDev(), -1);
        EXPECT_EQ(BoxTexts(),
                  std::vector<std::string>({"Warning: Sensor unmatch: dev=0x3389, cfg=0x3360"}));
        EXPECT_FALSE(drv.GetHandle());
    }
    // AutoSw set: the device's sensor becomes current.
    m_boxes.m_vEntries.clear();
    m_pVar->Dev.Ms.AutoSw = 1;
    {
        CDrv8948 drv(*m_pVar, &m_lib);
        EXPECT_EQ(drv.FindDev(), 1);
        EXPECT_EQ(m_pVar->Dev.Ms.nCurSensor, 0x3389);
        ASSERT_NE(m_pVar->Dev.Ms.pSensorCfg(), nullptr);
        EXPECT_EQ(m_pVar->Dev.Ms.pSensorCfg()->Sensor, 0x3389);
        EXPECT_EQ(drv.ConnectedSensor(), 0x3389);
        EXPECT_TRUE(BoxTexts().empty());
    }
    // AutoSw set, sensor missing from the table: not supported.
    for (auto& e : m_pVar->Dev.Ms.SensorTable)
        if (e.nSensor == 0x3389)
            e.nSensor = 0;
    {
        CDrv8948 drv(*m_pVar, &m_lib);
        EXPECT_EQ(drv.FindDev(), 0);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>({"Info: Sensor 3389 is not supported"}));
        EXPECT_FALSE(drv.GetHandle());
    }
}

TEST_F(CDiscovery8948, CurrentLevelsFromOrdinals) {
    struct {
        int nOrd;
        uint8_t byOff;
        int nLodOrd;
        uint8_t byLodOff;
        int nDpi; // expected index, 9 = left unchanged
        int nLod;
    } kCases[] = {
        {1, 0x00, 1, 0x00, 0, 0},
        {2, 0x05, 2, 0x01, 3, 2}, // levels 1 and 3 off: the 2nd level on is index 3
        {0, 0x00, 0, 0x00, 0, 9}, // resolution ordinal 0 selects 0; lift-off 0 keeps
        {5, 0x03, 7, 0x03, 5, 7}, // no 5th level on among 6: the ordinal itself
        {7, 0x00, 9, 0x00, 9, 9}, // past the level counts: nothing stored
        {6, 0x00, 8, 0x00, 5, 7},
    };
    m_pVar->Dev.Ms.ShowLOD = 1;
    auto p = AddMouse(0x1234, kCode);
    for (auto& c : kCases) {
        ResetLevels(9);
        SetLevels(*p, 1, c.nOrd, c.byOff, c.nLodOrd, c.byLodOff);
        CDrv8948 drv(*m_pVar, &m_lib);
        ASSERT_EQ(drv.FindDev(), 1);
        EXPECT_EQ(g_nCurDpiLevel[0], c.nDpi) << c.nOrd << "/" << int(c.byOff);
        EXPECT_EQ(g_nCurLODLevel[0], c.nLod) << c.nLodOrd << "/" << int(c.byLodOff);
    }
}

TEST_F(CDiscovery8948, LevelsOfFurtherModesFollowTheSensorsModeCount) {
    auto p = AddMouse(0x1234, kCode);
    SetLevels(*p, 1, 2, 0, 0, 0);
    SetLevels(*p, 2, 3, 0, 0, 0);
    SetLevels(*p, 3, 4, 0, 0, 0);
    for (int nModes : {1, 2, 3}) {
        ResetLevels(9);
        m_pVar->Dev.Ms.SensorCfgs[0].MDNUM = nModes;
        CDrv8948 drv(*m_pVar, &m_lib);
        p->ClearTrace();
        ASSERT_EQ(drv.FindDev(), 1);
        EXPECT_EQ(g_nCurDpiLevel[0], 1);
        EXPECT_EQ(g_nCurDpiLevel[1], nModes >= 2 ? 2 : 9);
        EXPECT_EQ(g_nCurDpiLevel[2], nModes >= 3 ? 3 : 9);
        int nProfileReads = 0;
        for (auto& v : SentReports(*p, 1))
            nProfileReads += (v[1] & 0x0F) == 1 && v[1] != 0x01;
        EXPECT_EQ(nProfileReads, nModes);
    }
    // A failed read of a further mode is skipped.
    ResetLevels(9);
    p->FailNext(3, 6); // GetPsd, GetMode, GetProfile(1) pass; GetProfile(2) command fails
    CDrv8948 drv(*m_pVar, &m_lib);
    EXPECT_EQ(drv.FindDev(), 1);
    EXPECT_EQ(g_nCurDpiLevel[0], 1);
    EXPECT_EQ(g_nCurDpiLevel[1], 9);
    EXPECT_EQ(g_nCurDpiLevel[2], 3);
}

TEST_F(CDiscovery8948, IsPresentChecksOnlyTheConfiguredProductId) {
    AddMouse(0x1007, kCode);
    CDrv8948 drv(*m_pVar, &m_lib);
    EXPECT_EQ(drv.IsPresent(), 0);
    EXPECT_EQ(drv.FindDev(), 1); // discovery also tries the fixed ids
    m_pVar->Dev.Ms.PID = 0x1007;
    EXPECT_EQ(drv.IsPresent(), 1);
}

TEST_F(CDiscovery8948, CommandDelayFollowsTheFirmwareVariant) {
    AddMouse(0x1234, kCode);
    m_pVar->MsFw = 0x11;
    CDrv8948 drv40(*m_pVar, &m_lib);
    EXPECT_EQ(drv40.CmdDelay(), 40);
    m_pVar->MsFw = 0x12;
    CDrv8948 drv20(*m_pVar, &m_lib);
    EXPECT_EQ(drv20.CmdDelay(), 20);
    // Discovery: a delay before GetPsd, GetMode and each GetProfile, and between every
    // command and its read-back (sensor with three modes).
    size_t nBefore = m_clock.Sleeps().size();
    ASSERT_EQ(drv20.FindDev(), 1);
    std::vector<uint32_t> v = m_clock.Sleeps();
    std::vector<uint32_t> vNew(v.begin() + long(nBefore), v.end());
    EXPECT_EQ(vNew, std::vector<uint32_t>(10, 20));
}

} // namespace
