// The pad's apply: the general block built from the profile's pad region, the device-code
// check and the transfer failures.
#include <gtest/gtest.h>

#include <memory>

#include "ModelFixture.h"
#include "device/models/DevPad.h"
#include "device/sim/SimSmallDevices.h"

namespace {

class CPadApplyTest : public CDrvTest {
protected:
    void SetUp() override {
        m_pVar->PadFw = 40;
        const uint8_t byCode[2] = {0x12, 0x34};
        m_pPad = std::make_shared<CSimPad>("pad", 0x1A2C, 0x0077, byCode);
        std::array<uint8_t, 26> a;
        a.fill(0xEE); // stale lighting: everything after the colours must be cleared
        a[0] = 0x12;
        a[1] = 0x34;
        m_pPad->SetGeneral(a);
        m_backend.Attach(m_pPad);
        m_pDev = std::make_unique<CDevPad>(*m_pVar, &m_lib);
        ASSERT_EQ(m_pDev->Drv()->FindDev(), 1);
        m_pVar->Dev.Pad.PSD[0] = 0x12;
        m_pVar->Dev.Pad.PSD[1] = 0x34;

        m_pPro = std::make_unique<Profile>();
        m_pPro->dwId = 7;
        PadSettings& pad = m_pPro->Pad;
        pad.nPadLedEffect = 2;
        PadLedEffect& r = pad.Led[2];
        r.nLevel1 = 0x13; // only the low nibble is sent
        r.nLevel2 = 80;
        r.nDir = 6;
        r.Colors[0] = 0x00332211;
        r.Colors[1] = 0x00AAAAAA; // not in the mask
        r.Colors[2] = 0x00665544;
        r.Colors[6] = 0x00998877;
        r.dwColorMask = 0x45; // colours 0, 2, 6
        m_pPad->ClearTrace();
    }

    int Apply(IProgressSink* pWnd = nullptr) {
        return m_pDev->ApplySetting(*m_pPro, pWnd, 1067, 0x8007);
    }
    std::vector<Bytes> Sent() { return SentReports(*m_pPad, 0); }

    std::shared_ptr<CSimPad> m_pPad;
    std::unique_ptr<CDevPad> m_pDev;
    std::unique_ptr<Profile> m_pPro;
};

TEST_F(CPadApplyTest, WritesTheSelectedEffectWithProgress) {
    CRecordingSink sink;
    ASSERT_EQ(Apply(&sink), 1);
    // id, pad code, effect 2 + 1, speed 3 | level code 2 << 4, direction 6 on effect code 3,
    // then the colours of mask bits 0, 2 and 6 as red, green, blue.
    EXPECT_EQ(Sent(),
              std::vector<Bytes>({Padded(27, {0x30, 0x12, 0x34, 0x03, 0x23, 0x80, 0x11, 0x22, 0x33,
                                              0x44, 0x55, 0x66, 0x77, 0x88, 0x99})}));
    EXPECT_EQ(sink.Events(), std::vector<std::string>({"1067:20:0", "1067:80:0", "1067:100:0"}));
    EXPECT_EQ(m_clock.Sleeps(), std::vector<uint32_t>({20, 500}));
    // The read comes first, on the same collection.
    auto vTrace = m_pPad->Trace();
    ASSERT_EQ(vTrace.size(), 2u);
    EXPECT_EQ(vTrace[0].strOperation, "GetFeature");
    EXPECT_EQ(vTrace[1].strOperation, "SetFeature");
    EXPECT_TRUE(m_log.Has("Apply_PAD_STD"));
    EXPECT_TRUE(m_log.Has("General(Save):-------------"));
}

TEST_F(CPadApplyTest, EffectCodesLevelsAndColourCounts) {
    struct {
        int nEffect;
        int32_t nLevel1, nLevel2, nDir;
        uint32_t dwMask;
        Bytes vExp; // bytes 2.. of the block
    } kCases[] = {
        // Effect 0 is code 1; direction 5 leaves byte 4 clear; level 32 is code 1.
        {0, 2, 32, 5, 0x01, {0x01, 0x12, 0x00, 0x01, 0x02, 0x03}},
        // Code 1 with direction 6 sets bit 7; level 112 is code 3.
        {0, 15, 112, 6, 0x00, {0x01, 0x3F, 0x80}},
        // Code 4 counts its colours; any other level is code 4.
        {3, 1, 0, 6, 0x06, {0x04, 0x41, 0x02, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09}},
        // Code 2 ignores the direction.
        {1, 1, 80, 6, 0x00, {0x02, 0x21, 0x00}},
        // All seven colours fill bytes 5..25 exactly.
        {4, 0, 80, 0, 0x7F, {0x05, 0x20, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05,
                             0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D,
                             0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15}},
        // Index 10 turns the lights off: code 0, but record 10's colours still go out.
        {10, 4, 32, 6, 0x01, {0x00, 0x14, 0x00, 0x01, 0x02, 0x03}},
        // Mask 0 sends no colours even though the record holds some.
        {5, 3, 32, 6, 0x00, {0x06, 0x13, 0x00}},
        // Mask bits past the seven colours are ignored.
        {5, 3, 32, 6, 0x80, {0x06, 0x13, 0x00}},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.nEffect);
        m_pPad->ClearTrace();
        PadSettings& pad = m_pPro->Pad;
        pad = PadSettings{};
        pad.nPadLedEffect = c.nEffect;
        PadLedEffect& r = pad.Led[c.nEffect];
        r.nLevel1 = c.nLevel1;
        r.nLevel2 = c.nLevel2;
        r.nDir = c.nDir;
        r.dwColorMask = c.dwMask;
        for (int i = 0; i < 7; ++i)
            r.Colors[i] =
                uint32_t(3 * i + 1) | uint32_t(3 * i + 2) << 8 | uint32_t(3 * i + 3) << 16;
        ASSERT_EQ(Apply(), 1);
        Bytes vExp = {0x30, 0x12, 0x34};
        vExp.insert(vExp.end(), c.vExp.begin(), c.vExp.end());
        vExp.resize(27, 0);
        ASSERT_EQ(Sent().size(), 1u);
        EXPECT_EQ(Sent()[0], vExp);
    }
}

TEST_F(CPadApplyTest, DeviceCodeCheck) {
    struct {
        uint8_t byCfg[2];
        int nGoNoDev;
        int nResult;
        const char* pszBox;
    } kCases[] = {
        {{0x12, 0x35}, 0, 0, "Error: Pad Psd unmatch: dev=1234, cfg=1235"},
        {{0x11, 0x34}, 0, 0, "Error: Pad Psd unmatch: dev=1234, cfg=1134"},
        {{0x12, 0x35}, 1, 1, nullptr}, // going on without a device skips the check
        {{0x00, 0x35}, 0, 1, nullptr}, // one configured byte zero: any pad
        {{0x12, 0x00}, 0, 1, nullptr},
        {{0x12, 0x34}, 0, 1, nullptr},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.byCfg[0] * 256 + c.byCfg[1]);
        m_pPad->ClearTrace();
        m_boxes.m_vEntries.clear();
        m_pVar->Dev.Pad.PSD[0] = c.byCfg[0];
        m_pVar->Dev.Pad.PSD[1] = c.byCfg[1];
        m_pVar->GoWithNoDev = c.nGoNoDev;
        EXPECT_EQ(Apply(), c.nResult);
        EXPECT_EQ(Sent().size(), size_t(c.nResult));
        if (c.pszBox) {
            EXPECT_EQ(BoxTexts(), std::vector<std::string>({c.pszBox}));
        } else {
            EXPECT_TRUE(BoxTexts().empty());
        }
    }
}

TEST_F(CPadApplyTest, TransferFailures) {
    struct {
        const char* pszName;
        int nFail, nSkip, nGoNoDev;
        int nResult;
        size_t nSent; // successful writes
        const char* pszLog;
        std::vector<uint32_t> vSleeps;
    } kCases[] = {
        {"read fails once", 1, 0, 0, 1, 1, nullptr, {200, 20, 500}},
        {"write fails once", 1, 1, 0, 1, 1, nullptr, {20, 200, 500}},
        {"read fails", 3, 0, 0, 0, 0, "Get general data error, err=0x5", {200, 200, 200}},
        {"write fails", 3, 1, 0, 0, 0, "Set general data error, err=0x5", {20, 200, 200, 200}},
        {"read fails, go on",
         3,
         0,
         1,
         1,
         1,
         "Get general data error, err=0x5",
         {200, 200, 200, 20, 500}},
        {"write fails, go on",
         3,
         1,
         1,
         1,
         0,
         "Set general data error, err=0x5",
         {20, 200, 200, 200, 500}},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszName);
        m_pPad->ClearTrace();
        m_pVar->GoWithNoDev = c.nGoNoDev;
        size_t nSleeps = m_clock.Sleeps().size();
        m_pPad->FailNext(c.nFail, c.nSkip);
        CRecordingSink sink;
        EXPECT_EQ(Apply(&sink), c.nResult);
        size_t nOk = 0;
        for (const CSimTraceEntry& e : m_pPad->Trace())
            if (e.strOperation == "SetFeature" && e.nResult == 1)
                ++nOk;
        EXPECT_EQ(nOk, c.nSent);
        if (c.pszLog) {
            EXPECT_TRUE(m_log.Has(c.pszLog));
        }
        auto vSleeps = m_clock.Sleeps();
        EXPECT_EQ(std::vector<uint32_t>(vSleeps.begin() + long(nSleeps), vSleeps.end()), c.vSleeps);
        // A failed apply never reports completion.
        auto vEv = sink.Events();
        EXPECT_EQ(!vEv.empty() && vEv.back() == "1067:100:0", c.nResult == 1);
    }
}

TEST_F(CPadApplyTest, RefusesWhatItCannotWrite) {
    // No pad configured.
    m_pVar->PadFw = 0;
    EXPECT_EQ(Apply(), 0);
    EXPECT_FALSE(m_log.Has("Apply_PAD_STD"));
    m_pVar->PadFw = 40;
    // An unused profile slot.
    m_pPro->dwId = 0;
    EXPECT_EQ(Apply(), 0);
    m_pPro->dwId = 7;
    // An effect index outside the eleven records of a damaged profile.
    for (int e : {-1, 11, 1000}) {
        SCOPED_TRACE(e);
        m_pPro->Pad.nPadLedEffect = e;
        EXPECT_EQ(Apply(), 0);
    }
    EXPECT_TRUE(Sent().empty());
    // Without a progress window the apply goes on silently.
    m_pPro->Pad.nPadLedEffect = 2;
    EXPECT_EQ(Apply(nullptr), 1);
    EXPECT_TRUE(m_log.Has("hWnd=0"));
}

TEST_F(CPadApplyTest, NoDeviceGoesOnOnlyWithGoWithNoDev) {
    m_pDev->Drv()->ClearHandle();
    EXPECT_EQ(Apply(), 0);
    m_pVar->GoWithNoDev = 1;
    EXPECT_EQ(Apply(), 1);
    EXPECT_TRUE(m_log.Has("Set general data error"));
    EXPECT_TRUE(Sent().empty());
}

// Unplugs the pad during the pause between reading and writing the general block.
class CUnplugClock : public CFakeClock {
public:
    explicit CUnplugClock(CSimDevice& dev) : m_dev(dev) {}
    void SleepMs(uint32_t nMs) override {
        if (nMs == 20)
            m_dev.Vanish();
        CFakeClock::SleepMs(nMs);
    }

private:
    CSimDevice& m_dev;
};

TEST_F(CPadApplyTest, DeviceVanishingMidApplyFailsCleanly) {
    CRecordingSink sink;
    {
        CUnplugClock clock(*m_pPad);
        EXPECT_EQ(Apply(&sink), 0);
    }
    SetClock(&m_clock);
    EXPECT_TRUE(m_log.Has("Set general data error"));
    EXPECT_EQ(sink.Events(), std::vector<std::string>({"1067:20:0"}));
    // The pad kept what it had: nothing was half-written.
    EXPECT_EQ(m_pPad->General()[2], 0xEE);
    m_pPad->Return();
    ASSERT_EQ(m_pDev->Drv()->FindDev(), 1);
    EXPECT_EQ(Apply(), 1);
    EXPECT_EQ(m_pPad->General()[2], 3);
}

} // namespace
