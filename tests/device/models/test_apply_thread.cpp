// The apply thread: wake-ups through the semaphore, the flags and snapshot of the latest
// request, the progress protocol with a request's own sink or a window found by title, the
// outcome with the boxes raised meanwhile (to the listener, or kept when there is none),
// dropped requests and the join at shutdown.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "ModelFixture.h"
#include "device/models/ApplyThread.h"
#include "device/models/DevPad.h"
#include "device/sim/SimSmallDevices.h"
#include "storage/ProfileStore.h"

namespace {

constexpr int kWaitMs = 10000;

// A finder that shows the window only from its nShowAt-th look on (0: never).
class CFinder : public IProgressFinder {
public:
    explicit CFinder(int nShowAt) : m_nShowAt(nShowAt) {}
    IProgressSink* Find(const char* pszTitle) override {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_strTitle = pszTitle;
        ++m_nLooks;
        return m_nShowAt != 0 && m_nLooks >= m_nShowAt ? &m_sink : nullptr;
    }
    int Looks() {
        std::lock_guard<std::mutex> lock(m_mtx);
        return m_nLooks;
    }
    std::string Title() {
        std::lock_guard<std::mutex> lock(m_mtx);
        return m_strTitle;
    }
    CRecordingSink m_sink;

private:
    std::mutex m_mtx;
    int m_nShowAt;
    int m_nLooks = 0;
    std::string m_strTitle;
};

// A model that records each apply and can hold it until the test opens the gate. It reads
// the profile only after the gate, so a copy made too late or not at all shows. It raises
// a box of its own when told to, as the encoders do.
class CGateDev : public CHidDev {
public:
    CGateDev(CGlobalVar& var, CHidLib* pLib, CMacroStore* pMacros = nullptr)
        : CHidDev(var, 40, std::make_unique<CDrvPad>(var, pLib), pMacros) {}
    int ApplySetting(CApplySnapshot& snap, IProgressSink* pWnd, uint32_t nMsg, int nFlag) override {
        std::unique_lock<std::mutex> lock(m_mtx);
        m_vFlags.push_back(nFlag);
        m_bInside = true;
        m_cv.notify_all();
        m_cv.wait(lock, [this] { return !m_bHold; });
        m_bInside = false;
        m_vEffects.push_back(snap.Pro().Pad.nPadLedEffect);
        m_vMacroCounts.push_back(snap.Macros().Count());
        if (!m_strBox.empty())
            PlatformMessageBox("Warning", m_strBox);
        Progress(pWnd, nMsg, 50);
        return m_nResult;
    }
    void SetBox(const std::string& str) {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_strBox = str;
    }
    std::vector<size_t> MacroCounts() {
        std::lock_guard<std::mutex> lock(m_mtx);
        return m_vMacroCounts;
    }
    void Hold() {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_bHold = true;
    }
    void Open() {
        {
            std::lock_guard<std::mutex> lock(m_mtx);
            m_bHold = false;
        }
        m_cv.notify_all();
    }
    bool WaitInside() {
        std::unique_lock<std::mutex> lock(m_mtx);
        return m_cv.wait_for(lock, std::chrono::milliseconds(kWaitMs),
                             [this] { return m_bInside; });
    }
    std::vector<int> Flags() {
        std::lock_guard<std::mutex> lock(m_mtx);
        return m_vFlags;
    }
    std::vector<int> Effects() {
        std::lock_guard<std::mutex> lock(m_mtx);
        return m_vEffects;
    }
    void SetResult(int n) {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_nResult = n;
    }

private:
    std::mutex m_mtx;
    std::condition_variable m_cv;
    bool m_bHold = false;
    bool m_bInside = false;
    int m_nResult = 1;
    std::string m_strBox;
    std::vector<int> m_vFlags;
    std::vector<int> m_vEffects;
    std::vector<size_t> m_vMacroCounts;
};

class CApplyThreadTest : public CDrvTest {
protected:
    void SetUp() override {
        m_pVar->PadFw = 40;
        const uint8_t byCode[2] = {0x12, 0x34};
        m_pPad = std::make_shared<CSimPad>("pad", 0x1A2C, 0x0077, byCode);
        m_backend.Attach(m_pPad);
        m_pList = std::make_unique<CProList>(*m_pVar);
        auto pPro = std::make_unique<Profile>();
        pPro->dwMagic = PROFILE_MAGIC;
        pPro->dwId = 5;
        pPro->Pad.nPadLedEffect = 3;
        pPro->Pad.Led[3].dwColorMask = 1;
        pPro->Pad.Led[3].Colors[0] = 0x00030201;
        m_pList->SetCurrent(m_pList->AddCopy(*pPro));
    }
    // A snapshot of the current profile with another light effect (3 is its own).
    std::unique_ptr<CApplySnapshot> Snap(int nEffect) {
        auto pPro = std::make_unique<Profile>(*m_pList->Current());
        pPro->Pad.nPadLedEffect = nEffect;
        return MakeApplySnapshot(*pPro, m_macros, m_bullets);
    }
    std::shared_ptr<CSimPad> m_pPad;
    CMacroStore m_macros, m_bullets;
    CRecordingListener m_listener;
    // Log lines of boxes an outcome without listener carried.
    size_t LoggedBoxes() { return m_log.With("Apply box not shown (no listener): ").size(); }
    std::unique_ptr<CProList> m_pList;
};

TEST_F(CApplyThreadTest, ProgressProtocolInOrder) {
    CDevPad dev(*m_pVar, &m_lib);
    ASSERT_EQ(dev.Drv()->FindDev(), 1);
    CFinder finder(3);
    CApplyThread th(*m_pVar, &finder);
    ASSERT_TRUE(th.Start(&dev));
    EXPECT_FALSE(th.Start(&dev));
    EXPECT_EQ(th.Req().szTitle, "MyProgressDlg");
    EXPECT_EQ(th.Req().nMsg, 1067u);
    ASSERT_TRUE(th.Request(APPLY_FULL_PAD, Snap(3), nullptr));
    ASSERT_TRUE(th.WaitHandled(1, kWaitMs));
    EXPECT_EQ(th.LastResult(), 1);
    EXPECT_EQ(finder.Title(), "MyProgressDlg");
    EXPECT_EQ(finder.Looks(), 3);
    EXPECT_EQ(finder.m_sink.Events(),
              std::vector<std::string>({"1067:20:0", "1067:80:0", "1067:100:0", "close", "close"}));
    // Three looks 50 ms apart, the pad's pre-write pause, the pause at 100, the 20 ms
    // between the two close requests.
    EXPECT_EQ(m_clock.Sleeps(), std::vector<uint32_t>({50, 50, 50, 20, 500, 20}));
    EXPECT_EQ(m_pPad->General()[2], 4);
    th.Stop();
    EXPECT_FALSE(th.Running());
    auto vLines = m_log.Lines();
    std::vector<std::string> vSeen;
    for (const std::string& l : vLines)
        for (const char* psz :
             {"ApplyThread Start", "Start Apply:", "Apply_PAD_STD", "Apply Over", "thread exit"})
            if (l.rfind(psz, 0) == 0)
                vSeen.push_back(psz);
    EXPECT_EQ(vSeen, std::vector<std::string>({"ApplyThread Start", "Start Apply:", "Apply_PAD_STD",
                                               "Apply Over", "thread exit"}));
    EXPECT_EQ(m_log.With("Start Apply:").size(), 1u);
    EXPECT_NE(m_log.With("Start Apply:")[0].find("nFlag=0x8007"), std::string::npos);
    EXPECT_NE(m_log.With("Start Apply:")[0].find("bGoNoDev=0"), std::string::npos);
}

TEST_F(CApplyThreadTest, ProgressWindowLookups) {
    struct {
        const char* pszName;
        int nFlag;
        int nShowAt;
        bool bOwnSink; // the request brings its sink: no window is looked for
        int nLooks;
    } kCases[] = {
        {"never shown: one second of looks, then apply", 0x8007, 0, false, 20},
        {"shown at the last look", 0x8007, 20, false, 20},
        {"shown too late", 0x8007, 21, false, 20},
        {"no progress asked", 0x0007, 1, false, 0},
        {"the request's own sink", 0x8007, 1, true, 0},
        {"the request's own sink without bit 15", 0x0007, 1, true, 0},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszName);
        CDevPad dev(*m_pVar, &m_lib);
        ASSERT_EQ(dev.Drv()->FindDev(), 1);
        CFinder finder(c.nShowAt);
        CRecordingSink own;
        CApplyThread th(*m_pVar, &finder);
        size_t nSleeps = m_clock.Sleeps().size();
        ASSERT_TRUE(th.Start(&dev));
        ASSERT_TRUE(th.Request(c.nFlag, Snap(3), c.bOwnSink ? &own : nullptr));
        ASSERT_TRUE(th.WaitHandled(1, kWaitMs));
        EXPECT_EQ(th.LastResult(), 1);
        EXPECT_EQ(finder.Looks(), c.nLooks);
        auto v = m_clock.Sleeps();
        EXPECT_EQ(size_t(std::count(v.begin() + long(nSleeps), v.end(), 50u)), size_t(c.nLooks));
        bool bShown = !c.bOwnSink && c.nShowAt != 0 && c.nShowAt <= c.nLooks;
        EXPECT_EQ(finder.m_sink.Events().empty(), !bShown);
        if (c.bOwnSink) {
            EXPECT_EQ(own.Events(), std::vector<std::string>({"1067:20:0", "1067:80:0",
                                                              "1067:100:0", "close", "close"}));
        }
    }
}

TEST_F(CApplyThreadTest, NoDeviceDropsTheRequestUnlessGoWithNoDev) {
    CDevPad dev(*m_pVar, &m_lib); // never looked for: no handle
    CRecordingSink sink;
    CApplyThread th(*m_pVar);
    th.SetListener(&m_listener);
    ASSERT_TRUE(th.Start(&dev));
    EXPECT_FALSE(th.LastOutcome().has_value());
    ASSERT_TRUE(th.Request(APPLY_FULL_PAD, Snap(3), &sink));
    ASSERT_TRUE(th.WaitHandled(1, kWaitMs));
    EXPECT_EQ(sink.Events(), std::vector<std::string>({"close"}));
    ASSERT_TRUE(th.LastOutcome().has_value());
    EXPECT_TRUE(th.LastOutcome()->bDropped);
    EXPECT_FALSE(m_log.Has("Apply_PAD_STD"));
    EXPECT_FALSE(m_log.Has("Apply Over"));
    EXPECT_EQ(th.LastResult(), 0);
    auto v = m_listener.Outcomes();
    ASSERT_EQ(v.size(), 1u);
    EXPECT_TRUE(v[0].bDropped);
    EXPECT_EQ(v[0].nResult, 0);
    EXPECT_EQ(v[0].nFlag, APPLY_FULL_PAD);
    EXPECT_TRUE(v[0].vMessages.empty());

    m_pVar->GoWithNoDev = 1;
    ASSERT_TRUE(th.Request(APPLY_FULL_PAD, Snap(3), &sink));
    ASSERT_TRUE(th.WaitHandled(2, kWaitMs));
    EXPECT_TRUE(m_log.Has("Apply_PAD_STD"));
    EXPECT_TRUE(m_log.Has("Get general data error"));
    EXPECT_TRUE(m_log.Has("Apply Over"));
    EXPECT_EQ(th.LastResult(), 1);
    v = m_listener.Outcomes();
    ASSERT_EQ(v.size(), 2u);
    EXPECT_FALSE(v[1].bDropped);
    EXPECT_EQ(v[1].nResult, 1);
    EXPECT_TRUE(BoxTexts().empty());
}

// The boxes of an apply, the encoder's and the thread's own, go with the outcome to the
// listener on the apply thread; none reaches the process-wide sink. Without a listener
// none is shown either: the outcome is kept for LastOutcome and its boxes are logged.
TEST_F(CApplyThreadTest, BoxesGoWithTheOutcomeAndEveryApplyClearsTheResetFlag) {
    struct {
        const char* pszName;
        int nResult;
        bool bListener;
        std::vector<std::string> vBoxes;
    } kCases[] = {
        {"failure",
         0,
         true,
         {"Warning: from the encoder", "Error:    Update settings failed!      "}},
        {"success", 1, true, {"Warning: from the encoder"}},
        {"failure without listener",
         0,
         false,
         {"Warning: from the encoder", "Error:    Update settings failed!      "}},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszName);
        CGateDev dev(*m_pVar, &m_lib);
        ASSERT_EQ(dev.Drv()->FindDev(), 1);
        dev.SetBox("from the encoder");
        dev.SetResult(c.nResult);
        dev.SetReset(1);
        CRecordingListener listener;
        CApplyThread th(*m_pVar);
        if (c.bListener)
            th.SetListener(&listener);
        ASSERT_TRUE(th.Start(&dev));
        m_boxes.m_vEntries.clear();
        const size_t nLoggedBefore = LoggedBoxes();
        ASSERT_TRUE(th.Request(0x8007, Snap(3), nullptr));
        ASSERT_TRUE(th.WaitHandled(1, kWaitMs));
        EXPECT_EQ(dev.Reset(), 0);
        EXPECT_EQ(th.LastResult(), c.nResult);
        EXPECT_TRUE(BoxTexts().empty());
        const std::optional<CApplyOutcome> last = th.LastOutcome();
        ASSERT_TRUE(last.has_value());
        auto v = listener.Outcomes();
        if (c.bListener) {
            ASSERT_EQ(v.size(), 1u);
            EXPECT_NE(listener.Threads()[0], std::this_thread::get_id());
            EXPECT_EQ(MessageTexts(*last), MessageTexts(v[0]));
        } else {
            EXPECT_TRUE(v.empty());
        }
        EXPECT_EQ(MessageTexts(*last), c.vBoxes);
        EXPECT_EQ(last->nResult, c.nResult);
        EXPECT_EQ(last->nFlag, 0x8007);
        EXPECT_FALSE(last->bDropped);
        // Only without a listener are the boxes logged, so they are not lost unseen.
        EXPECT_EQ(LoggedBoxes() - nLoggedBefore, c.bListener ? 0u : c.vBoxes.size());
        if (!c.bListener) {
            EXPECT_TRUE(m_log.Has("Apply box not shown (no listener): Warning: from the encoder"));
        }
    }
}

TEST_F(CApplyThreadTest, RequestsBeforeTheWakeUpApplyTheLaterSnapshotAndFlags) {
    CGateDev dev(*m_pVar, &m_lib);
    ASSERT_EQ(dev.Drv()->FindDev(), 1);
    CApplyThread th(*m_pVar);
    th.SetListener(&m_listener);
    ASSERT_TRUE(th.Start(&dev));
    EXPECT_FALSE(th.Busy());
    CRecordingSink sinkA, sinkB, sinkC;
    dev.Hold();
    ASSERT_TRUE(th.Request(0x10, Snap(1), &sinkA));
    ASSERT_TRUE(dev.WaitInside());
    EXPECT_TRUE(th.Busy());
    // Two requests while the first applies: the second overwrites the first unseen.
    ASSERT_TRUE(th.Request(0x8001, Snap(2), &sinkB));
    ASSERT_TRUE(th.Request(2, Snap(3), &sinkC));
    dev.Open();
    ASSERT_TRUE(th.WaitHandled(3, kWaitMs));
    EXPECT_EQ(dev.Flags(), std::vector<int>({0x10, 2, 2}));
    EXPECT_EQ(dev.Effects(), std::vector<int>({1, 3, 3}));
    std::vector<int> vOutFlags;
    for (const CApplyOutcome& o : m_listener.Outcomes())
        vOutFlags.push_back(o.nFlag);
    EXPECT_EQ(vOutFlags, std::vector<int>({0x10, 2, 2}));
    EXPECT_EQ(sinkA.Events(), std::vector<std::string>({"1067:50:0", "close", "close"}));
    // The overwritten request's window is closed with the next apply, never fed.
    EXPECT_EQ(sinkB.Events(), std::vector<std::string>({"close", "close"}));
    EXPECT_EQ(sinkC.Events(), std::vector<std::string>(
                                  {"1067:50:0", "close", "close", "1067:50:0", "close", "close"}));
    EXPECT_FALSE(th.Busy());
}

TEST_F(CApplyThreadTest, SemaphoreCountsAtMostOneHundred) {
    CApplySignal sig;
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(sig.Release()) << i;
    EXPECT_FALSE(sig.Release());
    EXPECT_EQ(sig.Count(), 100);
    // The exit event wins over pending requests, and resets itself.
    sig.SetExit();
    EXPECT_EQ(sig.Wait(), CApplySignal::EWake::Exit);
    EXPECT_EQ(sig.Wait(), CApplySignal::EWake::Request);
    EXPECT_EQ(sig.Count(), 99);
    EXPECT_TRUE(sig.Release());

    // The same limit through a thread that is busy with the first request; a refused
    // request leaves the pending one as it was and never touches its sink.
    CGateDev dev(*m_pVar, &m_lib);
    ASSERT_EQ(dev.Drv()->FindDev(), 1);
    CApplyThread th(*m_pVar);
    th.SetListener(&m_listener);
    ASSERT_TRUE(th.Start(&dev));
    dev.Hold();
    ASSERT_TRUE(th.Request(1, Snap(3), nullptr));
    ASSERT_TRUE(dev.WaitInside());
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(th.Request(2, Snap(3), nullptr)) << i;
    CRecordingSink refused;
    EXPECT_FALSE(th.Request(3, Snap(9), &refused));
    EXPECT_FALSE(th.Request(4, Snap(9), nullptr));
    EXPECT_EQ(th.Req().Signal.Count(), 100);
    dev.Open();
    ASSERT_TRUE(th.WaitHandled(101, kWaitMs));
    auto vFlags = dev.Flags();
    ASSERT_EQ(vFlags.size(), 101u);
    EXPECT_EQ(std::count(vFlags.begin() + 1, vFlags.end(), 2), 100);
    auto vEffects = dev.Effects();
    EXPECT_EQ(std::count(vEffects.begin(), vEffects.end(), 3), 101);
    EXPECT_TRUE(refused.Events().empty());
}

// A request's snapshot is the apply's own: taken under the profile lock when the request
// is made, so what the window thread changes or deletes afterwards never reaches the apply.
// Without a snapshot (no current profile) nothing is written and the failure is reported.
TEST_F(CApplyThreadTest, TheSnapshotIsTakenWhenTheRequestIsMade) {
    StMacro mac{};
    mac.dwId = 0x42;
    m_macros.Add(mac);
    StMacro other{};
    other.dwId = 0x43;
    m_macros.Add(other); // bound to no key: not copied
    std::mutex mtxPro;
    auto Request = [&](CApplyThread& th, int nFlag) {
        std::unique_ptr<CApplySnapshot> pSnap;
        {
            std::lock_guard<std::mutex> lock(mtxPro);
            if (const Profile* p = m_pList->Current())
                pSnap = MakeApplySnapshot(*p, m_macros, m_bullets);
        }
        return th.Request(nFlag, std::move(pSnap), nullptr);
    };
    {
        std::lock_guard<std::mutex> lock(mtxPro);
        KeyFun& kf = m_pList->Current()->Kb.KbKeys[0].Main;
        kf.dwFun = MakeFun(5, 0);
        kf.dwMacroId = 0x42;
    }
    CGateDev dev(*m_pVar, &m_lib);
    ASSERT_EQ(dev.Drv()->FindDev(), 1);
    CApplyThread th(*m_pVar);
    th.SetListener(&m_listener);
    ASSERT_TRUE(th.Start(&dev));
    dev.Hold();
    ASSERT_TRUE(Request(th, 7));
    ASSERT_TRUE(dev.WaitInside());
    ASSERT_TRUE(Request(th, 7));
    {
        // The window thread edits and then deletes the profile and the macro.
        std::lock_guard<std::mutex> lock(mtxPro);
        m_pList->Current()->Pad.nPadLedEffect = 9;
        ASSERT_TRUE(m_pList->Remove(m_pList->Current()));
        m_pList->SetCurrent(nullptr);
    }
    ASSERT_TRUE(m_macros.Remove(0x42));
    dev.Open();
    ASSERT_TRUE(th.WaitHandled(2, kWaitMs));
    EXPECT_EQ(dev.Effects(), std::vector<int>({3, 3}));
    EXPECT_EQ(dev.MacroCounts(), std::vector<size_t>({1, 1}));
    EXPECT_EQ(th.LastResult(), 1);

    // Without a current profile nothing is applied and the failure goes with the outcome.
    ASSERT_TRUE(Request(th, 7));
    ASSERT_TRUE(th.WaitHandled(3, kWaitMs));
    EXPECT_EQ(dev.Flags().size(), 2u);
    EXPECT_EQ(th.LastResult(), 0);
    EXPECT_TRUE(m_log.Has("Start Apply: no current profile"));
    auto v = m_listener.Outcomes();
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[2].nResult, 0);
    EXPECT_FALSE(v[2].bDropped);
    EXPECT_EQ(MessageTexts(v[2]),
              std::vector<std::string>({"Error:    Update settings failed!      "}));
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(CApplyThreadTest, StopWaitsForTheRunningApplyAndDropsQueuedOnes) {
    CGateDev dev(*m_pVar, &m_lib);
    ASSERT_EQ(dev.Drv()->FindDev(), 1);
    CApplyThread th(*m_pVar);
    ASSERT_TRUE(th.Start(&dev));
    dev.Hold();
    ASSERT_TRUE(th.Request(1, Snap(3), nullptr));
    ASSERT_TRUE(dev.WaitInside());
    ASSERT_TRUE(th.Request(2, Snap(3), nullptr));
    std::atomic<bool> bStopped{false};
    std::thread stopper([&] {
        th.Stop();
        bStopped = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(bStopped.load());
    dev.Open();
    stopper.join();
    EXPECT_TRUE(bStopped.load());
    EXPECT_FALSE(th.Running());
    EXPECT_EQ(th.Handled(), 1);
    EXPECT_EQ(dev.Flags(), std::vector<int>({1}));
    EXPECT_TRUE(m_log.Has("thread exit"));
    th.Stop(); // a second stop does nothing
    // A thread that is never stopped is joined by its destructor.
    {
        CApplyThread th2(*m_pVar);
        ASSERT_TRUE(th2.Start(&dev));
        ASSERT_TRUE(th2.Request(4, Snap(3), nullptr));
        ASSERT_TRUE(th2.WaitHandled(1, kWaitMs));
    }
    EXPECT_EQ(m_log.With("thread exit").size(), 2u);
    EXPECT_FALSE(CApplyThread(*m_pVar).Start(nullptr));
}

// A thread's own message sink takes that thread's boxes only, and ends with its scope.
TEST_F(CApplyThreadTest, ThreadMessageSinkTakesOnlyItsThreadsBoxes) {
    CCollectingMessageSink outer, inner;
    {
        CThreadMessageBoxScope scope(outer);
        EXPECT_EQ(GetThreadMessageBoxSink(), &outer);
        PlatformMessageBox("Error", "one");
        std::thread other([] { ErrorBox("from %s", "another thread"); });
        other.join();
        {
            CThreadMessageBoxScope nested(inner);
            ErrorBox("two %d", 2);
        }
        PlatformMessageBox("Warning", "three");
    }
    EXPECT_EQ(GetThreadMessageBoxSink(), nullptr);
    PlatformMessageBox("Error", "four");
    auto Texts = [](const CCollectingMessageSink& sink) {
        std::vector<std::string> v;
        for (const auto& e : sink.m_vEntries)
            v.push_back(e.strTitle + ": " + e.strText);
        return v;
    };
    EXPECT_EQ(Texts(outer), std::vector<std::string>({"Error: one", "Warning: three"}));
    EXPECT_EQ(Texts(inner), std::vector<std::string>({"Error: two 2"}));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>({"Error: from another thread", "Error: four"}));
}

} // namespace
