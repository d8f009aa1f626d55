// The companion keyboard's key-set switch through the receiver, end to end: the KbMonitor
// thread reads the consumer report, posts 1435, and the window switches the profile.
#include "app/presence/PresenceFixture.h"
#include "device/hid/KbMonitorThread.h"
#include "device/models/ApplyThread.h"
#include "device/sim/SimSmallDevices.h"

namespace {

TEST(KbMonitorUsage, UsagesSelectTheConfiguredKeySets) {
    CGlobalVar var;
    var.Dev.Ms.KeySwVk[0] = 0x70;
    var.Dev.Ms.KeySwVk[1] = 0x71;
    var.Dev.Ms.KeySwVk[2] = 0;
    struct {
        uint32_t v;
        int nSet;
    } const cases[] = {{0x3070, 0},  {0x3071, 1},  {0x3072, -1}, {0x3000, -1},
                       {0x2F70, -1}, {0x3170, -1}, {0x0070, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(KeySetFromUsage(var, c.v), c.nSet) << std::hex << c.v;
}

class KbMonitorTest : public CPresenceTest {
protected:
    void SetUp() override {
        ConfigureCompanion();
        Build();
        m_pState->StartApplyThreads();
        ASSERT_TRUE(m_pState->pApplyMs && m_pState->pApplyMs->Running());
        m_pReceiver = std::dynamic_pointer_cast<CSimReceiver>(Dev("receiver"));
        ASSERT_TRUE(m_pReceiver);
        m_pPresence->StartKbMonitor();
        ASSERT_TRUE(m_pPresence->KbMonitor());
        ASSERT_TRUE(m_pPresence->KbMonitor()->Handle());
    }
    void TearDown() override {
        m_pPresence->Shutdown();
        if (m_pState->pApplyMs)
            m_pState->pApplyMs->Stop();
    }
    // Waits until the read loop has started its nCount-th read.
    void WaitReading(int nCount = 1) {
        ASSERT_TRUE(WaitFor([&] { return m_pPresence->KbMonitor()->Reads() >= nCount; }));
    }

    std::shared_ptr<CSimReceiver> m_pReceiver;
};

TEST_F(KbMonitorTest, SwitchKeyReachesTheProfileAndWakesTheMouseWorker) {
    WaitReading();
    Cur().Ms.nMode = 0;
    m_pReceiver->PressKeySwitch(0x72);
    ASSERT_TRUE(WaitFor([&] { return !m_view.vKeySet.empty(); }));
    EXPECT_EQ(m_view.vKeySet, std::vector<int>{2});
    EXPECT_EQ(Cur().Ms.Mode[1].nKeySet, 2);
    EXPECT_TRUE(m_pState->pApplyMs->WaitHandled(1, 3000));
    EXPECT_EQ(m_pState->pApplyMs->Req().nFlag.load(), 3);

    // In mode index 1 with that key set already, the same key changes nothing.
    Cur().Ms.nMode = 1;
    m_pReceiver->PressKeySwitch(0x72);
    m_pReceiver->PressKeySwitch(0x42); // no switch key
    m_pReceiver->PressKeySwitch(0x70);
    ASSERT_TRUE(WaitFor([&] { return m_view.vKeySet.size() == 2; }));
    EXPECT_EQ(m_view.vKeySet, (std::vector<int>{2, 0}));
    EXPECT_EQ(Cur().Ms.Mode[1].nKeySet, 0);
}

TEST_F(KbMonitorTest, UnpluggedReceiverDoesNotSpinAndIsReadAgainAfterArrival) {
    WaitReading();
    m_pReceiver->Vanish();
    ASSERT_TRUE(WaitFor([&] { return !m_pPresence->KbMonitor()->Handle(); }));
    const int nReads = m_pPresence->KbMonitor()->Reads();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 400)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(m_pPresence->KbMonitor()->Reads(), nReads);

    m_pReceiver->Return();
    m_pPresence->OnDeviceArrival(KbPath());
    m_steps.RunAll();
    ASSERT_TRUE(m_pPresence->KbMonitor()->Handle());
    WaitReading(nReads + 1);
    m_pReceiver->PressKeySwitch(0x71);
    ASSERT_TRUE(WaitFor([&] { return !m_view.vKeySet.empty(); }));
    EXPECT_EQ(Cur().Ms.Mode[1].nKeySet, 1);
}

TEST_F(KbMonitorTest, ThreadEndsAtShutdown) {
    WaitReading();
    m_pPresence->Shutdown();
    EXPECT_FALSE(m_pPresence->KbMonitor()->Running());
    EXPECT_TRUE(Log().Has("KbMonitor Thread Start..."));
    EXPECT_TRUE(Log().Has("Thread exit!\n"));
}

} // namespace
