// The 8948 command set on the wire: every report the driver sends, written out by hand,
// the read-back offsets and the retry rule.
#include <gtest/gtest.h>

#include "DrvFixture.h"
#include "device/hid/Drv8948.h"
#include "device/sim/SimMouse8948.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int kCmdCol = 1;
constexpr int kDataCol = 2;

// A report of nLen bytes, zero except the given (offset, value) pairs.
Bytes Report(size_t nLen, std::initializer_list<std::pair<size_t, uint8_t>> il) {
    Bytes v(nLen, 0);
    for (auto& [i, b] : il)
        v[i] = b;
    return v;
}

class CProtocol8948 : public CDrvTest {
protected:
    void SetUp() override {
        const uint8_t byCode[4] = {0xA1, 0xB2, 0xC3, 0xD4};
        m_pMouse = std::make_shared<CSimMouse8948>("mouse", 0x258A, 0x1234, byCode, 6);
        m_backend.Attach(m_pMouse);
        m_pDrv = std::make_unique<CDrv8948>(*m_pVar, &m_lib);
        ASSERT_EQ(m_pDrv->FindDev(), 1);
        m_pMouse->ClearTrace();
    }
    Bytes LastSent(int nCol) {
        auto v = SentReports(*m_pMouse, nCol);
        return v.empty() ? Bytes() : v.back();
    }
    std::shared_ptr<CSimMouse8948> m_pMouse;
    std::unique_ptr<CDrv8948> m_pDrv;
};

TEST_F(CProtocol8948, CommandsOnTheCommandCollection) {
    uint8_t byCode[4];
    ASSERT_EQ(m_pDrv->GetPsd(byCode), 1);
    EXPECT_EQ(Bytes(byCode, byCode + 4), Bytes({0xA1, 0xB2, 0xC3, 0xD4}));
    EXPECT_EQ(LastSent(kCmdCol), Bytes({0x05, 0x01, 0x00, 0x00, 0x00, 0x00}));

    EXPECT_EQ(m_pDrv->GetMode(), 1);
    EXPECT_EQ(LastSent(kCmdCol), Bytes({0x05, 0x02, 0x00, 0x00, 0x00, 0x00}));

    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(m_pDrv->SetMode(i), 1);
        EXPECT_EQ(LastSent(kCmdCol), Bytes({0x05, 0x02, uint8_t(i + 1), 0x00, 0x00, 0x00}));
        EXPECT_EQ(m_pMouse->State().nMode, i + 1);
    }
    m_pMouse->ClearTrace();
    EXPECT_EQ(m_pDrv->SetMode(3), 0); // no such mode index; 02 00 would read the mode
    EXPECT_EQ(m_pDrv->SetMode(-1), 0);
    EXPECT_TRUE(m_pMouse->Trace().empty());
}

TEST_F(CProtocol8948, GetProfileReadsTheGeneralDataFromReportOffsetEight) {
    CSimMouse8948::CState st = m_pMouse->State();
    for (int i = 0; i < 500; ++i)
        st.byGeneral[1][size_t(i)] = uint8_t(i * 7 + 1);
    m_pMouse->SetState(st);

    uint8_t byData[MS_GENERAL_LEN];
    ASSERT_EQ(m_pDrv->GetProfile(2, byData), 1);
    EXPECT_EQ(LastSent(kCmdCol), Bytes({0x05, 0x21, 0x00, 0x00, 0x00, 0x00}));
    for (int i = 0; i < 500; ++i)
        ASSERT_EQ(byData[i], uint8_t(i * 7 + 1)) << i;
    // The read itself asks for report 4 on the data collection.
    auto vTrace = m_pMouse->Trace();
    ASSERT_FALSE(vTrace.empty());
    EXPECT_EQ(vTrace.back().nCollection, kDataCol);
    EXPECT_EQ(vTrace.back().strOperation, "GetFeature");
    EXPECT_EQ(vTrace.back().vBytes.size(), 520u);
    EXPECT_EQ(vTrace.back().vBytes[0], 0x04);

    ASSERT_EQ(m_pDrv->GetProfile(1, byData), 1);
    EXPECT_EQ(LastSent(kCmdCol), Bytes({0x05, 0x11, 0x00, 0x00, 0x00, 0x00}));
    ASSERT_EQ(m_pDrv->GetProfile(3, byData), 1);
    EXPECT_EQ(LastSent(kCmdCol), Bytes({0x05, 0x31, 0x00, 0x00, 0x00, 0x00}));
    m_pMouse->ClearTrace();
    EXPECT_EQ(m_pDrv->GetProfile(0, byData), 0);
    EXPECT_EQ(m_pDrv->GetProfile(4, byData), 0);
    EXPECT_TRUE(m_pMouse->Trace().empty());
}

TEST_F(CProtocol8948, DataPayloads) {
    uint8_t byGeneral[MS_PROFILE_LEN];
    for (int i = 0; i < MS_PROFILE_LEN; ++i)
        byGeneral[i] = uint8_t(0x80 + i);
    ASSERT_EQ(m_pDrv->SetProfile(2, byGeneral), 1);
    Bytes vExp = Report(520, {{0, 0x04}, {1, 0x21}, {3, 0x7B}});
    for (int i = 0; i < MS_PROFILE_LEN; ++i)
        vExp[size_t(8 + i)] = uint8_t(0x80 + i);
    EXPECT_EQ(LastSent(kDataCol), vExp);
    // Written at report offset 8 and read back there: the block round-trips.
    uint8_t byBack[MS_GENERAL_LEN];
    ASSERT_EQ(m_pDrv->GetProfile(2, byBack), 1);
    EXPECT_EQ(Bytes(byBack, byBack + MS_PROFILE_LEN), Bytes(byGeneral, byGeneral + MS_PROFILE_LEN));

    uint32_t dwCodes[MS_MATRIX_KEYS] = {};
    dwCodes[0] = 0x11223344;
    dwCodes[19] = 0x0A0B0C0D;
    ASSERT_EQ(m_pDrv->SetMatrix(3, dwCodes), 1);
    EXPECT_EQ(LastSent(kDataCol), Report(520, {{0, 0x04},
                                               {1, 0x32},
                                               {3, 0x50},
                                               {8, 0x44},
                                               {9, 0x33},
                                               {10, 0x22},
                                               {11, 0x11},
                                               {84, 0x0D},
                                               {85, 0x0C},
                                               {86, 0x0B},
                                               {87, 0x0A}}));
    EXPECT_EQ(m_pMouse->State().dwMatrix[2][19], 0x0A0B0C0Du);
    ASSERT_EQ(m_pDrv->SetMatrix(1, dwCodes), 1);
    EXPECT_EQ(LastSent(kDataCol)[1], 0x12);

    uint8_t byMacro[MS_MACRO_LEN];
    for (int i = 0; i < MS_MACRO_LEN; ++i)
        byMacro[i] = uint8_t(i);
    ASSERT_EQ(m_pDrv->SetMacro(3, byMacro), 1);
    vExp = Report(520, {{0, 0x04}, {1, 0x30}, {2, 0x02}, {8, 0x03}});
    for (int i = 0; i < MS_MACRO_LEN; ++i)
        vExp[size_t(9 + i)] = uint8_t(i);
    EXPECT_EQ(LastSent(kDataCol), vExp);
    EXPECT_EQ(m_pMouse->State().mapMacros.at(3)[509], uint8_t(509));

    uint8_t byGun[MS_GUN_LEN];
    for (int i = 0; i < MS_GUN_LEN; ++i)
        byGun[i] = uint8_t(0xC0 + i);
    ASSERT_EQ(m_pDrv->SetGunData(byGun, 0x5A), 1);
    vExp = Report(520, {{0, 0x04}, {1, 0x32}, {3, 0x25}});
    for (int i = 0; i < MS_GUN_LEN; ++i)
        vExp[size_t(8 + i)] = uint8_t(0xC0 + i);
    vExp[44] = 0x5A; // payload byte 43
    EXPECT_EQ(LastSent(kDataCol), vExp);
    EXPECT_TRUE(m_pMouse->State().bGunWritten);
    EXPECT_EQ(m_pMouse->State().nUnknownCommands, 0);
}

TEST_F(CProtocol8948, MacroBufferNumberBelowOneIsRefused) {
    uint8_t byMacro[MS_MACRO_LEN] = {};
    EXPECT_EQ(m_pDrv->SetMacro(0, byMacro), 0);
    EXPECT_TRUE(m_log.Has("SetMacro: parameter err"));
    EXPECT_TRUE(m_pMouse->Trace().empty());
}

TEST_F(CProtocol8948, EveryTransferIsTriedThreeTimesWithPauses) {
    struct {
        int nFail;
        int nResult;
        std::vector<uint32_t> vSleeps;
    } kCases[] = {
        {0, 1, {}},
        {1, 1, {200}},
        {2, 1, {200, 200}},
        {3, 0, {200, 200, 200}},
    };
    static const uint8_t kCmd[5] = {0x02, 0, 0, 0, 0};
    for (auto& c : kCases) {
        m_pMouse->FailNext(c.nFail);
        size_t nBefore = m_clock.Sleeps().size();
        EXPECT_EQ(m_pDrv->SendCmd(kCmd), c.nResult);
        auto v = m_clock.Sleeps();
        EXPECT_EQ(std::vector<uint32_t>(v.begin() + long(nBefore), v.end()), c.vSleeps);
    }
    EXPECT_TRUE(m_log.Has("SendCmd err=5"));
    // Reads retry the same way.
    m_pMouse->FailNext(2);
    uint8_t byReply[5];
    EXPECT_EQ(m_pDrv->GetCmd(byReply), 1);
    m_pMouse->FailNext(3);
    EXPECT_EQ(m_pDrv->GetCmd(byReply), 0);
    EXPECT_TRUE(m_log.Has("GetCmd err=5"));
}

TEST_F(CProtocol8948, WithoutHandlesEveryCommandFailsAtOnce) {
    m_pDrv->ClearHandle();
    EXPECT_TRUE(m_log.Has("CDrv8948::ClearHandle"));
    size_t nBefore = m_clock.Sleeps().size();
    uint8_t byData[MS_GENERAL_LEN] = {};
    uint8_t byCode[4];
    EXPECT_EQ(m_pDrv->GetPsd(byCode), 0);
    EXPECT_EQ(m_pDrv->GetMode(), 0xFF);
    EXPECT_EQ(m_pDrv->GetData(byData), 0);
    EXPECT_EQ(m_pDrv->SetProfile(1, byData), 0);
    EXPECT_EQ(m_pDrv->SetMode(0), 0);
    EXPECT_EQ(m_clock.Sleeps().size(), nBefore);
    EXPECT_TRUE(m_pMouse->Trace().empty());
}

TEST_F(CProtocol8948, VanishedMouseFailsAndComesBackAfterDiscovery) {
    m_pMouse->Vanish();
    EXPECT_EQ(m_pDrv->GetMode(), 0xFF);
    m_pMouse->Return();
    EXPECT_EQ(m_pDrv->GetMode(), 0xFF); // handles from before the unplug stay dead
    ASSERT_EQ(m_pDrv->FindDev(), 1);
    EXPECT_EQ(m_pDrv->GetMode(), 1);
}

} // namespace
