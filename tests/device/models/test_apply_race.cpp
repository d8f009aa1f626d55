// Applies on the mouse's apply thread while this thread, as the window thread does, adds,
// deletes, renames and rewrites macros and bullet macros, edits the profile and takes the
// mouse's level notifications the whole time. Built with ThreadSanitizer (the tsan preset) any
// access of the worker to the live stores or profile is reported; in every build a buffer number
// showing up in a live macro fails the test.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "Dev8948Fixture.h"
#include "device/hid/CurLevels.h"
#include "device/models/ApplyThread.h"

namespace {

constexpr uint32_t kMacroId = 0x100, kBulletId = 0x200;
constexpr int kApplies = 6;

// Every pause of the apply thread lasts until the editing thread has finished another
// round of edits, so edits fall between every two steps of every apply.
class CInterleavingClock : public CFakeClock {
public:
    void SleepMs(uint32_t nMs) override {
        CFakeClock::SleepMs(nMs);
        std::unique_lock<std::mutex> lock(m_mtx);
        ++m_nPauses;
        const uint64_t nWant = m_nRounds + 1;
        // Bounded, so a test that stops editing cannot hang the worker.
        m_cv.wait_for(lock, std::chrono::seconds(10), [&] { return m_nRounds >= nWant; });
    }
    void Round() {
        {
            std::lock_guard<std::mutex> lock(m_mtx);
            ++m_nRounds;
        }
        m_cv.notify_all();
    }
    uint64_t Pauses() {
        std::lock_guard<std::mutex> lock(m_mtx);
        return m_nPauses;
    }

private:
    std::mutex m_mtx;
    std::condition_variable m_cv;
    uint64_t m_nRounds = 0;
    uint64_t m_nPauses = 0;
};

class CApplyRaceTest : public CDev8948Test {
protected:
    void SetUp() override {
        CDev8948Test::SetUp();
        m_macros.Add(MakeMacro(kMacroId, 0, 3, {{65, 0, 1, 300}, {65, 0, 0, 0}}));
        m_bullets.Add(MakeMacro(kBulletId, 1, 0, {{240, 0, 50, 10}, {252, 0, 0x0500, 20}}));
        for (int m = 0; m < 2; ++m) {
            Key(m, 2).dwFun = MakeFun(5, 0);
            Key(m, 2).dwMacroId = kMacroId;
            Key(m, 3).dwFun = MakeFun(12, 0);
            Key(m, 3).dwMacroId = kBulletId;
        }
        m_pPro->dwMagic = PROFILE_MAGIC;
    }

    // One round of what a user does in the macro editor and the panels. Between rounds
    // both bound macros exist, so every snapshot finds them.
    void EditRound(int n, Profile& pro) {
        // Delete the macro and make it anew with other events.
        ASSERT_TRUE(m_macros.Remove(kMacroId));
        ASSERT_NE(m_macros.Add(MakeMacro(kMacroId, n % 3, uint16_t(1 + n % 5),
                                         {{uint8_t(65 + n % 20), 0, 1, uint32_t(10 + n)},
                                          {uint8_t(65 + n % 20), 0, 0, 5}})),
                  nullptr);
        // Rename the bullet macro and change its events in place.
        StMacro* pBullet = m_bullets.Find(kBulletId);
        ASSERT_NE(pBullet, nullptr);
        pBullet->szName[0] = char16_t(u'A' + n % 26);
        pBullet->Events[0].dwDelay = uint32_t(20 + n % 7);
        pBullet->Events[2] = n % 2 ? MacroEvent{241, 0, 30, 5} : MacroEvent{};
        // Macros come and go beside them.
        const uint32_t dwNew = 0x1000 + uint32_t(n);
        ASSERT_NE(m_macros.Add(MakeMacro(dwNew, 0, 1, {{66, 0, 1, 1}})), nullptr);
        if (n >= 3)
            m_macros.Remove(dwNew - 3);
        ASSERT_NE(m_bullets.Add(MakeMacro(dwNew, 0, 1, {{240, 0, 1, 1}})), nullptr);
        m_bullets.Remove(dwNew);
        // And the panels change the profile.
        pro.Ms.Mode[0].Keys[0][5].Main.dwFun = n % 2 ? MakeFun(5, 0) : MakeFun(1, 17);
        pro.Ms.Mode[0].Keys[0][5].Main.dwMacroId = dwNew;
        pro.Ms.Mode[0].nLedEffect = n % 10;
        // The mouse's resolution button, as the window records it.
        g_nCurDpiLevel[n % 2] = n % 3;
    }
    bool AnyLiveNumber() {
        for (const CMacroStore* p : {&m_macros, &m_bullets})
            for (const StMacro& m : p->List())
                if (m.byBufferId != 0)
                    return true;
        return false;
    }
    // Edits until the thread has handled nCount requests; false when a live macro ever
    // carried a buffer number.
    bool EditUntilHandled(CApplyThread& th, int nCount, CInterleavingClock& clock,
                          const std::function<void(int)>& fnEdit) {
        bool bClean = true;
        while (th.Handled() < nCount) {
            fnEdit(m_nRounds++);
            bClean = bClean && !AnyLiveNumber();
            clock.Round();
        }
        return bClean;
    }

    int m_nRounds = 0;
};

TEST_F(CApplyRaceTest, EditingMacrosWhileApplyingIsSafe) {
    CInterleavingClock clock;
    CRecordingListener listener;
    CRecordingSink sink;
    CApplyThread th(*m_pVar);
    th.SetListener(&listener);
    ASSERT_TRUE(th.Start(m_pDev.get()));
    for (int i = 0; i < kApplies; ++i) {
        m_pDev->SetReset(i % 2);
        ASSERT_TRUE(
            th.Request(APPLY_FULL_MOUSE, MakeApplySnapshot(*m_pPro, m_macros, m_bullets), &sink));
        EXPECT_TRUE(EditUntilHandled(th, i + 1, clock, [&](int n) { EditRound(n, *m_pPro); }));
    }
    th.Stop();
    // Every apply paused several times, and every pause saw a round of edits.
    EXPECT_GE(clock.Pauses(), uint64_t(kApplies * 5));
    EXPECT_GE(uint64_t(m_nRounds), clock.Pauses());
    auto v = listener.Outcomes();
    ASSERT_EQ(v.size(), size_t(kApplies));
    for (const CApplyOutcome& o : v) {
        EXPECT_EQ(o.nResult, 1);
        EXPECT_EQ(MessageTexts(o), std::vector<std::string>());
    }
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_TRUE(m_pointer.m_vSets.empty());
}

} // namespace
