// Apply requests through the session with real apply threads: each carries its own copy of
// the profile and of the macros its keys use, so the user may go on deleting and editing
// macros and profiles while the device is written (this test runs under ThreadSanitizer in
// CI); what an apply has to tell reaches the user on the session's thread, once.
#include <atomic>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>

#include "session/SessionFixture.h"
#include "storage/MacroFile.h"
#include "support/FakeClock.h"

namespace {

constexpr uint32_t kMacroClass = 5;

// Boxes with the thread that showed them.
class CThreadRecordingSink : public IMessageBoxSink {
public:
    void Show(const std::string& strTitle, const std::string& strText) override {
        std::lock_guard<std::mutex> lock(m_mtx);
        vBoxes.push_back({strTitle + ": " + strText, std::this_thread::get_id()});
    }
    struct CBox {
        std::string strText;
        std::thread::id idThread;
    };
    std::vector<CBox> Boxes() {
        std::lock_guard<std::mutex> lock(m_mtx);
        return vBoxes;
    }

private:
    std::mutex m_mtx;
    std::vector<CBox> vBoxes;
};

class SessionApplyTest : public SessionTest {
protected:
    SessionApplyTest() { SetMessageBoxSink(&m_sink); }
    ~SessionApplyTest() override {
        S().StopApplyThreads();
        SetMessageBoxSink(nullptr);
    }
    CSimDevice& Device(const char* pszName) { return *m_backend.Find(pszName); }
    // A macro in the live store, with a few events.
    uint32_t AddMacro(const std::string& strName) {
        StMacro m;
        NewMacroRecord(m, strName);
        return m_macros.Add(m) ? m.dwId : 0;
    }

    CFakeClock m_clock; // the encoders' pauses pass at once
    CThreadRecordingSink m_sink;
};

TEST_F(SessionApplyTest, ApplyNowRequestsRunWhileTheUserEditsMacrosAndProfiles) {
    S().LoadProfiles();
    AddModels(true);
    S().StartApplyThreads();
    // Three mouse buttons bound to macros, as the key panel binds them.
    std::vector<uint32_t> vIds;
    for (int i = 0; i < 3; ++i)
        vIds.push_back(AddMacro("Macro " + std::to_string(i)));
    Profile& pro = *S().Current();
    for (int i = 0; i < 3; ++i) {
        KeyFun& f = pro.Ms.Mode[0].Keys[0][2 + i].Main;
        f.dwFun = kMacroClass << 24;
        f.dwMacroId = vIds[size_t(i)];
    }
    std::vector<uint8_t> vLiveBefore;
    for (const StMacro& m : m_macros.List()) {
        const auto* p = reinterpret_cast<const uint8_t*>(&m);
        vLiveBefore.insert(vLiveBefore.end(), p, p + sizeof m);
    }

    CApplyThread* pThread = S().Apply(FAMILY_MOUSE);
    int nRequests = 0;
    for (int nRound = 0; nRound < 40; ++nRound) {
        // The key panel with ApplyNow: keys changed, written at once.
        if (S().RequestApply(FAMILY_MOUSE, 1))
            ++nRequests;
        // Meanwhile the macro editor deletes, adds and renames macros, and the key panel
        // rebinds a key: all on this thread, none of it seen by the worker.
        const uint32_t dwNew = AddMacro("Round " + std::to_string(nRound));
        if (StMacro* p = m_macros.Find(dwNew))
            SetMacroName(*p, "Renamed " + std::to_string(nRound));
        m_macros.Remove(dwNew);
        {
            auto lock = S().LockProfile();
            pro.Ms.Mode[0].Keys[0][5].Main.dwMacroId = nRound % 2 ? vIds[0] : vIds[1];
        }
        S().SetDpiLevel(0, nRound % 3); // as a level notification of the mouse would
    }
    ASSERT_GT(nRequests, 0);
    // Requests that came before the thread woke are taken by one wake-up each; wait until
    // every wake-up the semaphore counted has been handled.
    ASSERT_TRUE(pThread->WaitHandled(nRequests, 20000));
    EXPECT_EQ(pThread->LastResult(), 1);

    // The encoders numbered buffers in their copies only.
    std::vector<uint8_t> vLiveAfter;
    for (const StMacro& m : m_macros.List()) {
        const auto* p = reinterpret_cast<const uint8_t*>(&m);
        vLiveAfter.insert(vLiveAfter.end(), p, p + sizeof m);
    }
    EXPECT_EQ(vLiveAfter, vLiveBefore);
    S().DeliverApplyOutcomes();
    EXPECT_EQ(S().PendingOutcomes(), 0u);
    for (const auto& box : m_sink.Boxes())
        EXPECT_EQ(box.idThread, std::this_thread::get_id()) << box.strText;
}

TEST_F(SessionApplyTest, AFailedApplyIsToldOnceOnTheSessionsThread) {
    S().LoadProfiles();
    AddModels(true);
    // A poster as the window's: it queues the delivery for this thread's event loop.
    std::mutex mtx;
    std::vector<std::function<void()>> vPosted;
    S().SetPoster([&](std::function<void()> fn) {
        std::lock_guard<std::mutex> lock(mtx);
        vPosted.push_back(std::move(fn));
    });
    S().StartApplyThreads();
    m_heard.v.clear();
    Device("pad").FailNext(3); // every try of the apply's first transfer
    CApplyThread* pThread = S().Apply(FAMILY_PAD);
    ASSERT_TRUE(S().RequestFullApply(FAMILY_PAD));
    ASSERT_TRUE(pThread->WaitHandled(1, 10000));
    EXPECT_EQ(pThread->LastResult(), 0);

    // Nothing was shown on the worker; the outcome waits for this thread.
    EXPECT_TRUE(m_sink.Boxes().empty());
    EXPECT_EQ(S().PendingOutcomes(), 1u);
    std::vector<std::function<void()>> vRun;
    {
        std::lock_guard<std::mutex> lock(mtx);
        vRun.swap(vPosted);
    }
    ASSERT_EQ(vRun.size(), 1u);
    for (auto& fn : vRun)
        fn();
    S().DeliverApplyOutcomes(); // a second delivery finds nothing
    const auto vBoxes = m_sink.Boxes();
    ASSERT_EQ(vBoxes.size(), 1u);
    EXPECT_NE(vBoxes[0].strText.find("Update settings failed!"), std::string::npos);
    EXPECT_EQ(vBoxes[0].idThread, std::this_thread::get_id());
    ASSERT_EQ(m_heard.Count(ESessionChange::ApplyDone), 1);
    EXPECT_EQ(m_heard.v.back().nValue, FAMILY_PAD);

    // The next apply, with the device well again, succeeds and tells nothing.
    ASSERT_TRUE(S().RequestFullApply(FAMILY_PAD));
    ASSERT_TRUE(pThread->WaitHandled(2, 10000));
    EXPECT_EQ(pThread->LastResult(), 1);
    S().DeliverApplyOutcomes();
    EXPECT_EQ(m_sink.Boxes().size(), 1u);
}

TEST_F(SessionApplyTest, RequestsWithoutAThreadOrAProfileAreRefusedOrToldAsFailures) {
    S().LoadProfiles();
    AddModels(true);
    EXPECT_FALSE(S().RequestFullApply(FAMILY_PAD)); // no threads yet
    S().StartApplyThreads();
    EXPECT_FALSE(S().RequestFullApply(FAMILY_NONE));
    {
        auto lock = S().LockProfile();
        S().proList.SetCurrent(nullptr);
    }
    ASSERT_TRUE(S().RequestFullApply(FAMILY_PAD)); // taken, and reported as failed
    ASSERT_TRUE(S().Apply(FAMILY_PAD)->WaitHandled(1, 10000));
    EXPECT_EQ(S().Apply(FAMILY_PAD)->LastResult(), 0);
}

} // namespace
