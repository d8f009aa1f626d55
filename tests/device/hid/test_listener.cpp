// ServiceThread: notification reports become message 2027; start and stop, a detached
// window, and reads racing a mouse that vanishes and comes back.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "DrvFixture.h"
#include "device/hid/Drv8948.h"
#include "device/sim/SimMouse8948.h"
#include "platform/WndTarget.h"

namespace {

class CRecordingWnd : public CWndTarget {
public:
    void PostMessage(uint32_t nMsg, uintptr_t wParam, intptr_t lParam) override {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_v.push_back({nMsg, wParam, lParam});
    }
    struct CMsg {
        uint32_t nMsg;
        uintptr_t wParam;
        intptr_t lParam;
    };
    std::vector<CMsg> Messages() {
        std::lock_guard<std::mutex> lock(m_mtx);
        return m_v;
    }
    // Waits (real time, bounded) until n messages arrived.
    bool WaitFor(size_t n) {
        for (int i = 0; i < 400; ++i) {
            if (Messages().size() >= n)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

private:
    std::mutex m_mtx;
    std::vector<CMsg> m_v;
};

class CListenerTest : public CDrvTest {
protected:
    void SetUp() override {
        const uint8_t byCode[4] = {0, 0, 0, 0};
        m_pMouse = std::make_shared<CSimMouse8948>("mouse", 0x258A, 0x1234, byCode, 6);
        m_backend.Attach(m_pMouse);
    }
    // The listener is reading once a reader of the notification collection is waiting;
    // emit until the first message arrives so the test does not depend on timing.
    void NotifyUntilPosted(CRecordingWnd& wnd, size_t n) {
        for (int i = 0; i < 200 && wnd.Messages().size() < n; ++i) {
            m_pMouse->Notify(1, 0x02, 0, 0);
            wnd.WaitFor(n);
        }
    }
    std::shared_ptr<CSimMouse8948> m_pMouse;
};

TEST_F(CListenerTest, NotificationReportsBecomeMessage2027) {
    CRecordingWnd wnd;
    CDrv8948 drv(*m_pVar, &m_lib);
    ASSERT_EQ(drv.Init(&wnd), 1);
    ASSERT_EQ(drv.FindDev(), 1);
    NotifyUntilPosted(wnd, 1);
    size_t n = wnd.Messages().size();
    ASSERT_GE(n, 1u);
    m_pMouse->Notify(0x03, 0x25, 0x45, 0x04);
    ASSERT_TRUE(wnd.WaitFor(n + 1));
    CRecordingWnd::CMsg m = wnd.Messages()[n];
    EXPECT_EQ(m.nMsg, 2027u);
    EXPECT_EQ(m.wParam, 0x04452503u); // report bytes 1, 2, 4, 5; bytes 0 and 3 are not sent
    EXPECT_EQ(m.lParam, 0);

    m_pMouse->PressDpiButton(3);
    ASSERT_TRUE(wnd.WaitFor(n + 2));
    EXPECT_EQ(wnd.Messages()[n + 1].wParam, 0x0301u);
    m_pMouse->PressModeButton(2);
    ASSERT_TRUE(wnd.WaitFor(n + 3));
    EXPECT_EQ(wnd.Messages()[n + 2].wParam, 0x0102u);
    EXPECT_EQ(drv.Shutdown(), 1);
}

TEST_F(CListenerTest, DetachedWindowGetsNothingWhileReportsAreRead) {
    CRecordingWnd wnd;
    CDrv8948 drv(*m_pVar, &m_lib);
    drv.Init(&wnd);
    ASSERT_EQ(drv.FindDev(), 1);
    NotifyUntilPosted(wnd, 1);
    drv.DetachWindow();
    size_t n = wnd.Messages().size();
    size_t nLogBefore = m_log.With("Buffer=").size();
    for (int i = 0; i < 5; ++i)
        m_pMouse->Notify(2, 0x11, 0, 0);
    for (int i = 0; i < 400 && m_log.With("Buffer=").size() < nLogBefore + 5; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(m_log.With("Buffer=").size(), nLogBefore + 5); // read ...
    EXPECT_EQ(wnd.Messages().size(), n);                     // ... and dropped
    drv.Shutdown();
}

TEST_F(CListenerTest, ShutdownCancelsAPendingReadAndJoins) {
    CRecordingWnd wnd;
    for (int i = 0; i < 20; ++i) {
        CDrv8948 drv(*m_pVar, &m_lib);
        drv.Init(&wnd);
        ASSERT_EQ(drv.FindDev(), 1);
        if (i % 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(30)); // read pending
        auto t0 = std::chrono::steady_clock::now();
        EXPECT_EQ(drv.Shutdown(), 1);
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
    }
    EXPECT_GE(m_log.With("Thread exit!").size(), 20u);
}

TEST_F(CListenerTest, ListenerIdlesWithoutANotificationCollection) {
    m_backend.DetachAll();
    const uint8_t byCode[4] = {0, 0, 0, 0};
    auto pMouse = std::make_shared<CSimMouse8948>("mouse", 0x258A, 0x1234, byCode, 6, false);
    m_backend.Attach(pMouse);
    CRecordingWnd wnd;
    CDrv8948 drv(*m_pVar, &m_lib);
    drv.Init(&wnd);
    ASSERT_EQ(drv.FindDev(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(drv.Shutdown(), 1);
    EXPECT_TRUE(wnd.Messages().empty());
}

TEST_F(CListenerTest, ReadsRaceAVanishingMouse) {
    CRecordingWnd wnd;
    CDrv8948 drv(*m_pVar, &m_lib);
    drv.Init(&wnd);
    ASSERT_EQ(drv.FindDev(), 1);
    std::atomic<bool> bStop{false};
    std::thread emitter([&] {
        while (!bStop) {
            m_pMouse->Notify(1, 0x01, 0, 0);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    // The window thread's part: the mouse is unplugged, the driver closes its handles on
    // removal and finds the mouse again on arrival.
    for (int i = 0; i < 30; ++i) {
        m_pMouse->Vanish();
        if (i % 3 == 0)
            drv.ClearHandle();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        m_pMouse->Return();
        EXPECT_EQ(drv.FindDev(), 1);
    }
    size_t n = wnd.Messages().size();
    EXPECT_TRUE(wnd.WaitFor(n + 1)); // still listening after all of it
    bStop = true;
    emitter.join();
    EXPECT_EQ(drv.Shutdown(), 1);
}

} // namespace
