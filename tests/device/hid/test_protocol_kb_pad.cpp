// Discovery and reports of the 816 keyboard, the 901 companion keyboard and the pad.
#include <gtest/gtest.h>

#include "DrvFixture.h"
#include "device/hid/Drv816.h"
#include "device/hid/Drv901.h"
#include "device/hid/DrvPad.h"
#include "device/hid/KbMonitorDevice.h"
#include "device/sim/SimKb816.h"
#include "device/sim/SimSmallDevices.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Report(size_t nLen, std::initializer_list<std::pair<size_t, uint8_t>> il) {
    Bytes v(nLen, 0);
    for (auto& [i, b] : il)
        v[i] = b;
    return v;
}

class CKb816Test : public CDrvTest {
protected:
    static constexpr int kDataCol = 0;
    static constexpr int kCmdCol = 1;
    void SetUp() override {
        m_pKb = std::make_shared<CSimKb816>("kb", 0x258A, 0x0049);
        m_backend.Attach(m_pKb);
        m_pDrv = std::make_unique<CDrv816>(*m_pVar, &m_lib);
        ASSERT_EQ(m_pDrv->FindDev(), 1);
        m_pKb->ClearTrace();
    }
    Bytes LastSent(int nCol) {
        auto v = SentReports(*m_pKb, nCol);
        return v.empty() ? Bytes() : v.back();
    }
    std::shared_ptr<CSimKb816> m_pKb;
    std::unique_ptr<CDrv816> m_pDrv;
};

TEST_F(CKb816Test, DiscoveryNeedsBothCollections) {
    EXPECT_TRUE(m_log.Has("FindDev: looking for VID_258A&PID_0049"));
    EXPECT_TRUE(m_pDrv->GetHandle());
    EXPECT_TRUE(m_pDrv->CmdHandle());
    EXPECT_EQ(m_pDrv->IsPresent(), 1);
    m_pVar->Dev.Kb.PID = 0x0050;
    EXPECT_EQ(m_pDrv->IsPresent(), 0);
    EXPECT_EQ(m_pDrv->FindDev(), 0);
    EXPECT_FALSE(m_pDrv->GetHandle());
    EXPECT_FALSE(m_pDrv->CmdHandle());
    // A 901 keyboard under the same ids has no 1032-byte collection.
    m_backend.DetachAll();
    m_backend.Attach(std::make_shared<CSimKb901>("kb901", 0x258A, 0x0050));
    EXPECT_EQ(m_pDrv->FindDev(), 0);
}

TEST_F(CKb816Test, CommandsSendTheirFirstSixBytes) {
    const uint8_t byCode[4] = {0x12, 0x34, 0x56, 0x78};
    ASSERT_EQ(m_pDrv->SetPassword(byCode), 1);
    EXPECT_EQ(LastSent(kCmdCol), Bytes({0x05, 0x01, 0x12, 0x34, 0x56, 0x78}));
    EXPECT_EQ(m_pKb->State().nPasswordWrites, 1);

    CSimKb816::CState st = m_pKb->State();
    for (int i = 0; i < 136; ++i)
        st.byCfg[size_t(i)] = uint8_t(i + 3);
    for (int i = 0; i < 1024; ++i)
        st.byMatrix[size_t(i)] = uint8_t(i * 3);
    m_pKb->SetState(st);

    uint8_t byCfg[KB_CFG_LEN];
    size_t nSleeps = m_clock.Sleeps().size();
    ASSERT_EQ(m_pDrv->GetProfile(byCfg), 1);
    EXPECT_EQ(LastSent(kCmdCol), Bytes({0x05, 0x83, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(m_clock.Sleeps().size(), nSleeps + 1);
    EXPECT_EQ(m_clock.Sleeps().back(), 20u);
    for (int i = 0; i < 136; ++i)
        ASSERT_EQ(byCfg[i], uint8_t(i + 3)) << i;

    uint8_t byMatrix[KB_MATRIX_LEN];
    ASSERT_EQ(m_pDrv->GetCommand(byMatrix), 1);
    EXPECT_EQ(LastSent(kCmdCol), Bytes({0x05, 0x84, 0xC8, 0x00, 0x00, 0x00}));
    for (int i = 0; i < 1024; ++i)
        ASSERT_EQ(byMatrix[i], uint8_t(i * 3)) << i;
}

TEST_F(CKb816Test, ConfigurationAnswerMustEchoTheCommand) {
    m_pKb->SetWrongEcho(0x84);
    uint8_t byCfg[KB_CFG_LEN];
    EXPECT_EQ(m_pDrv->GetProfile(byCfg), 0);
    EXPECT_EQ(m_pDrv->GetProfile(byCfg), 1);
}

TEST_F(CKb816Test, DataBlocks) {
    uint8_t byCfg[KB_CFG_LEN];
    for (int i = 0; i < KB_CFG_LEN; ++i)
        byCfg[i] = uint8_t(0x40 + i);
    ASSERT_EQ(m_pDrv->SetProfile(byCfg), 1);
    Bytes vExp = Report(1032, {{0, 0x06}, {1, 0x03}});
    for (int i = 0; i < KB_CFG_LEN; ++i)
        vExp[size_t(8 + i)] = uint8_t(0x40 + i);
    EXPECT_EQ(LastSent(kDataCol), vExp);

    uint8_t byBlock[1024];
    for (int i = 0; i < 1024; ++i)
        byBlock[i] = uint8_t(i ^ 0x5A);
    auto withBlock = [&](Bytes v, size_t n) {
        for (size_t i = 0; i < n; ++i)
            v[8 + i] = byBlock[i];
        return v;
    };
    ASSERT_EQ(m_pDrv->SetKeyMatrix(byBlock), 1);
    EXPECT_EQ(LastSent(kDataCol),
              withBlock(Report(1032, {{0, 0x06}, {1, 0x04}, {2, 0xC8}, {4, 0x40}}), 1024));
    ASSERT_EQ(m_pDrv->SetMacroData(0xD4, byBlock), 1);
    EXPECT_EQ(LastSent(kDataCol),
              withBlock(Report(1032, {{0, 0x06}, {1, 0x05}, {2, 0xD4}, {4, 0x40}}), 1024));
    EXPECT_EQ(m_pKb->State().byMacros[2][1023], byBlock[1023]);
    ASSERT_EQ(m_pDrv->SetColorTable(byBlock, 21 * 13), 1);
    EXPECT_EQ(LastSent(kDataCol),
              withBlock(Report(1032, {{0, 0x06}, {1, 0x08}, {2, 0xA8}, {4, 0x40}}), 21 * 13));
    ASSERT_EQ(m_pDrv->SetColorTable(byBlock, 1003), 1);
    ASSERT_EQ(m_pDrv->SetLedMatrix(0xB0, byBlock), 1);
    EXPECT_EQ(LastSent(kDataCol),
              withBlock(Report(1032, {{0, 0x06}, {1, 0x09}, {2, 0xB0}, {4, 0x40}}), 792));
    EXPECT_EQ(m_pKb->State().mapLed.count(0xB0), 1u);

    m_pKb->ClearTrace();
    EXPECT_EQ(m_pDrv->SetColorTable(byBlock, 1004), 0);
    EXPECT_TRUE(m_pKb->Trace().empty());
    EXPECT_EQ(m_pKb->State().nUnknown, 0);
}

TEST_F(CKb816Test, TransfersRetryAndReportFailure) {
    uint8_t byCfg[KB_CFG_LEN] = {};
    m_pKb->FailNext(2);
    EXPECT_EQ(m_pDrv->SetProfile(byCfg), 1);
    m_pKb->FailNext(3);
    EXPECT_EQ(m_pDrv->SetProfile(byCfg), 0);
    m_pKb->FailNext(3, 1); // the request goes out, its answer cannot be read
    EXPECT_EQ(m_pDrv->GetProfile(byCfg), 0);
    m_pDrv->ClearHandle();
    EXPECT_EQ(m_pDrv->SetProfile(byCfg), 0);
    EXPECT_TRUE(m_log.Has("CDrv816::ClearHandle"));
}

TEST_F(CDrvTest, Kb901MatrixRoundTrip) {
    auto pKb = std::make_shared<CSimKb901>("kb901", 0x258A, 0x0049);
    m_backend.Attach(pKb);
    CDrv901 drv(*m_pVar, &m_lib);
    EXPECT_EQ(drv.IsPresent(), 1);
    ASSERT_EQ(drv.FindDev(), 1);
    EXPECT_TRUE(m_log.Has("m_hMatrix=0x"));
    std::array<uint8_t, 504> a{};
    for (size_t i = 0; i < a.size(); ++i)
        a[i] = uint8_t(i + 9);
    pKb->SetMatrix(a);
    uint8_t byMatrix[KB901_MATRIX_LEN];
    ASSERT_EQ(drv.GetMatrix(byMatrix), 1);
    EXPECT_EQ(Bytes(byMatrix, byMatrix + 504), Bytes(a.begin(), a.end()));
    byMatrix[0] = 0xEE;
    byMatrix[503] = 0xDD;
    ASSERT_EQ(drv.SetMatrix(byMatrix), 1);
    Bytes vExp(505);
    vExp[0] = 0x09;
    std::copy(byMatrix, byMatrix + 504, vExp.begin() + 1);
    EXPECT_EQ(SentReports(*pKb, 0).back(), vExp);
    EXPECT_EQ(pKb->Matrix()[503], 0xDD);
    drv.ClearHandle();
    EXPECT_EQ(drv.GetMatrix(byMatrix), 0);
    // An 816 keyboard under the ids is no 901.
    m_backend.DetachAll();
    m_backend.Attach(std::make_shared<CSimKb816>("kb", 0x258A, 0x0049));
    EXPECT_EQ(drv.FindDev(), 0);
}

TEST_F(CDrvTest, PadDeviceCodeCheck) {
    struct {
        uint8_t byCfg[2];
        uint8_t byDev[2];
        int nResult;
        const char* pszBox;
    } kCases[] = {
        {{0x12, 0x34}, {0x12, 0x34}, 1, nullptr},
        {{0x12, 0x34}, {0x12, 0x35}, 0, "Warning: Pad Pd Error: 1235, 1234"},
        {{0x00, 0x34}, {0xAB, 0xCD}, 1, nullptr}, // one configured byte zero: any pad
        {{0x12, 0x00}, {0xAB, 0xCD}, 1, nullptr},
        {{0x00, 0x00}, {0xAB, 0xCD}, 1, nullptr},
    };
    for (auto& c : kCases) {
        m_backend.DetachAll();
        m_boxes.m_vEntries.clear();
        m_backend.Attach(std::make_shared<CSimPad>("pad", 0x1A2C, 0x0077, c.byDev));
        m_pVar->Dev.Pad.PSD[0] = c.byCfg[0];
        m_pVar->Dev.Pad.PSD[1] = c.byCfg[1];
        CDrvPad drv(*m_pVar, &m_lib);
        EXPECT_EQ(drv.FindDev(), c.nResult);
        EXPECT_EQ(bool(drv.GetHandle()), c.nResult == 1);
        if (c.pszBox)
            EXPECT_EQ(BoxTexts(), std::vector<std::string>({c.pszBox}));
        else
            EXPECT_TRUE(BoxTexts().empty());
    }
    EXPECT_TRUE(m_log.Has("CDrvPad  FindDev: looking for VID_1a2c&PID_0077"));
}

TEST_F(CDrvTest, PadGeneralBlock) {
    const uint8_t byCode[2] = {0x55, 0x66};
    auto pPad = std::make_shared<CSimPad>("pad", 0x1A2C, 0x0077, byCode);
    m_backend.Attach(pPad);
    CDrvPad drv(*m_pVar, &m_lib);
    EXPECT_EQ(drv.IsPresent(), 1);
    pPad->FailNext(3);
    EXPECT_EQ(drv.FindDev(), 0);
    EXPECT_TRUE(m_log.Has("GetCommand err=5"));
    EXPECT_TRUE(m_log.Has("FindDev: Get general data error, err=0x5"));
    ASSERT_EQ(drv.FindDev(), 1);

    uint8_t byGeneral[PAD_GENERAL_LEN];
    ASSERT_EQ(drv.GetCommand(byGeneral), 1);
    EXPECT_EQ(byGeneral[0], 0x55);
    EXPECT_EQ(byGeneral[1], 0x66);
    for (int i = 2; i < PAD_GENERAL_LEN; ++i)
        byGeneral[i] = uint8_t(i * 11);
    ASSERT_EQ(drv.SendCommand(byGeneral), 1);
    Bytes vExp = {0x30, 0x55, 0x66};
    for (int i = 2; i < PAD_GENERAL_LEN; ++i)
        vExp.push_back(uint8_t(i * 11));
    EXPECT_EQ(SentReports(*pPad, 0).back(), vExp);
    EXPECT_EQ(pPad->General()[25], uint8_t(25 * 11));
    pPad->FailNext(3);
    EXPECT_EQ(drv.SendCommand(byGeneral), 0);
    EXPECT_TRUE(m_log.Has("SendCommand err=5"));
}

TEST_F(CDrvTest, KbMonitorOpensTheReceiversConsumerCollection) {
    CHidLib& lib = m_lib;
    EXPECT_FALSE(OpenKbMonitorDevice(lib));
    auto pRecv = std::make_shared<CSimReceiver>("recv", 0x258A, 0x002A);
    m_backend.Attach(pRecv);
    HidHandle h = OpenKbMonitorDevice(lib);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->Collection().wUsagePage, 0x0C);
    EXPECT_EQ(h->Collection().nInputLen, 3);
    pRecv->PressKeySwitch(0x70);
    uint8_t by[3] = {2, 0, 0};
    ASSERT_EQ(lib.ReadInputReport(h, by, sizeof by), 3);
    EXPECT_EQ(Bytes(by, by + 3), Bytes({0x02, 0x70, 0x30}));
}

} // namespace
