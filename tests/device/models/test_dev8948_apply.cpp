// The 8948 apply against the simulated mouse: whole report sequences, what the flags
// select, the edge cases of the matrices and general data, and transfer faults.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <mutex>
#include <thread>

#include "Dev8948Fixture.h"
#include "device/models/ApplyThread.h"

namespace {

constexpr uint32_t kMacroId = 0x100, kBulletId = 0x200;

class CDev8948ApplyTest : public CDev8948Test {
protected:
    void SetUp() override {
        CDev8948Test::SetUp();
        m_macros.Add(MakeMacro(kMacroId, 0, 3, {{65, 0, 1, 300}, {65, 0, 0, 0}}));
        m_bullets.Add(MakeMacro(kBulletId, 1, 0, {{240, 0, 50, 10}, {252, 0, 0x0500, 20}}));
        MsSettings& ms = m_pPro->Ms;
        // Mode 0: a mouse button, Shift+A, the macro, the bullet, a gun key.
        Key(0, 0).dwFun = MakeFun(1, 17);
        Key(0, 1) = KeyFun{MakeFun(2, 0), {}, 2, 0, 2, 65, 0, 0, 0, 0};
        Key(0, 2).dwFun = MakeFun(5, 0);
        Key(0, 2).dwMacroId = kMacroId;
        Key(0, 3).dwFun = MakeFun(12, 0);
        Key(0, 3).dwMacroId = kBulletId;
        Key(0, 4).dwFun = MakeFun(8, 192);
        Key(0, 4).dwParam = 2 | 1 << 4 | 40 << 16 | 25u << 24;
        // Mode 1: the same macro and bullet again, and the gun parameters of key 1.
        Key(1, 0).dwFun = MakeFun(5, 0);
        Key(1, 0).dwMacroId = kMacroId;
        Key(1, 1).dwFun = MakeFun(8, 175);
        Key(1, 1).dwParam = 0x00332211;
        Key(1, 2).dwFun = MakeFun(12, 0);
        Key(1, 2).dwMacroId = kBulletId;
        ms.Mode[1].Keys[0][2].dwGun = 0x00CCBBAA;
        ms.Mode[1].byGunOpt = 1;

        MsMode& m0 = ms.Mode[0];
        m0.nRate = 0x1000;
        m0.Dpi[0] = {1000, 1000, {0x11, 0x22, 0x33, 0}, 0};
        m0.Dpi[1] = {1600, 1600, {0, 0, 0, 0}, 0};
        m0.Dpi[2] = {3200, 3200, {0, 0, 0, 0}, 0};
        for (int j = 3; j < 10; ++j)
            m0.Dpi[j].bOff = 1;
        m0.nLedEffect = 2;
        m0.Led[2] = MsLedEffect{2, 4, 3, 0, {0x0000FF, 0x123456, 0x00FF00}, 0x05, 0, 0};
        m0.Sys = WinPointer{3, 500, 10, 1, 0};
        g_nCurDpiLevel[0] = 1;

        MsMode& m1 = ms.Mode[1];
        m1.nRate = 0x500;
        m1.bDpiXY = 1;
        static const int kDpi[] = {500, 800, 1000, 1200, 1600, 2000, 2500, 2800, 3000};
        for (int j = 0; j < 8; ++j)
            m1.Dpi[j] = {kDpi[j], kDpi[j + 1], {0, 0, 0, 0}, 0};
        m1.Dpi[8].bOff = m1.Dpi[9].bOff = 1;
        m1.nLedEffect = 10; // the last effect: lights off
        m1.Sys = WinPointer{3, 500, 14, 1, 0};
        g_nCurDpiLevel[1] = -1; // unknown: the sensor's default level 2

        m_pointer.m_mapCur[EPointerKey::DoubleClickMs] = PointerValue{{400, 0, 0}};
        m_pointer.m_mapCur[EPointerKey::WheelLines] = PointerValue{{3, 0, 0}};
        m_pointer.m_mapCur[EPointerKey::Acceleration] = PointerValue{};
        m_pointer.m_mapCur[EPointerKey::Speed] = PointerValue{{10, 0, 0}};
    }

    // The gun data of mode 2 as the mouse must receive it.
    static std::string GunRow() {
        uint8_t by[63] = {};
        by[0] = 0xAA, by[1] = 0xBB, by[2] = 0xCC;    // bullet 1's colour
        by[33] = 0x11, by[34] = 0x22, by[35] = 0x33; // key 1's parameters
        by[36] = 0x01;                               // the gun option goes in payload 43
        return "SetGunData: " + Hex(by, 63);
    }
};

const char* const kOff15 = " 00000150 00000150 00000150 00000150 00000150 00000150 00000150"
                           " 00000150 00000150 00000150 00000150 00000150 00000150 00000150"
                           " 00000150";

TEST_F(CDev8948ApplyTest, ResetApplyWritesEveryTableInOrder) {
    m_pDev->SetReset(1);
    CRecordingSink sink;
    ASSERT_EQ(Apply(0x800F, &sink), 1);
    const std::vector<std::string> vExp = {
        // 'A' down 300 ms (type 5, delay 0x12C), 'A' up with its zero delay sent as 1.
        "SetMacro 1: 00 02 51 2C 04 D0 01 04",
        // Bullets have their own numbers, sent from buffer 11: fire held 50 ms then
        // released after 10 ms, then 5 down after 20 ms.
        "SetMacro 11: 00 03 10 32 01 90 0A 01 30 14 05",
        std::string("SetMatrix 1: 00000111 00040221 03010170 01028161 28191362") + kOff15,
        std::string("SetMatrix 2: 03010170 00000950 01028161") + kOff15 + " 00000150 00000150",
        "Cmd 11 00 00 00 00",
        "SetProfile 1",
        "Cmd 21 00 00 00 00",
        "SetProfile 2",
        GunRow(),
        "Cmd 02 01 00 00 00",
    };
    EXPECT_EQ(Rows(), vExp);
    ASSERT_EQ(m_vProfiles.size(), 2u);
    // Mode 1: rate 1000 Hz; three levels on, the second current; level colour as B, G, R;
    // effect 2 (code 3) with speed 2, brightness 4 and colours 0 and 2.
    EXPECT_EQ(Hex(m_vProfiles[0].data(), 140),
              Hex(GeneralBlock({{0, {0x64}},
                                {2, {0x04}},
                                {3, {0x23, 0xF8, 3, 5, 10}},
                                {21, {0x33, 0x22, 0x11}},
                                {45, {3}},
                                {52, {0x42, 2, 0xFF, 0, 0, 0, 0xFF, 0}},
                                {122, {0}}})
                      .data(),
                  140));
    // Mode 2: X and Y of eight levels, ordinal 3 of 8 from the default level, 500 Hz turned
    // into 250 Hz by the gun-preset rule, lights off with LedOffVal.
    EXPECT_EQ(Hex(m_vProfiles[1].data(), 140),
              Hex(GeneralBlock({{0, {0x64}},
                                {2, {0x82}},
                                {3, {0x38, 0x00, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9}},
                                {122, {3}}})
                      .data(),
                  140));
    EXPECT_EQ(sink.Events(),
              std::vector<std::string>({"1067:10:0", "1067:20:0", "1067:30:0", "1067:40:0",
                                        "1067:65:0", "1067:90:0", "1067:100:0"}));
    EXPECT_EQ(SleepsSinceSetUp(), std::vector<uint32_t>({22, 22, 22, 22, 20, 20, 20, 20, 20, 500}));
    EXPECT_EQ(m_pointer.m_vSets,
              std::vector<std::string>({"double-click time=500,0,0", "pointer acceleration=6,10,1",
                                        "pointer speed=14,0,0"}));
    EXPECT_TRUE(m_log.Has("Pointer setting pointer trails: not supported"));
    // The end: reset flag and buffer numbers cleared, the macro converted once.
    EXPECT_EQ(m_pDev->Reset(), 0);
    EXPECT_EQ(m_macros.Find(kMacroId)->byBufferId, 0);
    EXPECT_EQ(m_bullets.Find(kBulletId)->byBufferId, 0);
    EXPECT_EQ(m_log.With("New Assign Buffer_ID=").size(), 2u);
    EXPECT_TRUE(m_log.Has("Apply Reset..."));
}

TEST_F(CDev8948ApplyTest, NormalApplyWritesOnlyTheCurrentMode) {
    m_pPro->Ms.nMode = 1;
    ASSERT_EQ(Apply(0x800F), 1);
    auto v = Rows();
    // Macros and both matrices, then only mode 2's general and gun data, then its mode.
    ASSERT_EQ(v.size(), 8u);
    EXPECT_EQ(v[4], "Cmd 21 00 00 00 00");
    EXPECT_EQ(v[5], "SetProfile 2");
    EXPECT_EQ(v[6], GunRow());
    EXPECT_EQ(v[7], "Cmd 02 02 00 00 00");
}

TEST_F(CDev8948ApplyTest, FlagsSelectWhatIsWritten) {
    struct {
        int nFlag;
        std::vector<std::string> vRows;
        size_t nPointerSets;
    } kCases[] = {
        // Pointer settings alone: no transfer at all.
        {8, {}, 2},
        // General data only.
        {2, {"Cmd 11 00 00 00 00", "SetProfile 1", "Cmd 02 01 00 00 00"}, 0},
        // Pointer settings with the general data: the device is still written.
        {0x800A, {"Cmd 11 00 00 00 00", "SetProfile 1", "Cmd 02 01 00 00 00"}, 2},
        // Nothing selected: the sensor check and the mode.
        {0, {"Cmd 11 00 00 00 00", "Cmd 02 01 00 00 00"}, 0},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.nFlag);
        m_pMouse->ClearTrace();
        m_pointer.m_vSets.clear();
        m_pointer.m_mapCur[EPointerKey::DoubleClickMs] = PointerValue{{400, 0, 0}};
        m_pointer.m_mapCur[EPointerKey::Acceleration] = PointerValue{};
        CRecordingSink sink;
        EXPECT_EQ(Apply(c.nFlag, &sink), 1);
        EXPECT_EQ(Rows(), c.vRows);
        EXPECT_EQ(m_pointer.m_vSets.size(), c.nPointerSets);
        EXPECT_EQ(sink.Events().back(), "1067:100:0");
    }
}

TEST_F(CDev8948ApplyTest, EmptyProfileSwitchesEveryKeyOff) {
    auto pEmpty = std::make_unique<Profile>();
    pEmpty->dwId = 9;
    ASSERT_EQ(m_pDev->ApplySetting(*pEmpty, nullptr, 1067, 1), 1);
    const std::string strOff =
        std::string(kOff15) + " 00000150 00000150 00000150 00000150 00000150";
    EXPECT_EQ(Rows(), std::vector<std::string>({"SetMatrix 1:" + strOff, "SetMatrix 2:" + strOff,
                                                "Cmd 11 00 00 00 00", "Cmd 02 01 00 00 00"}));
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(CDev8948ApplyTest, InvalidKeysAreReportedAndStayOff) {
    Key(0, 5).dwFun = MakeFun(5, 0);
    Key(0, 5).dwMacroId = 0x777; // not in the store
    Key(0, 6).dwFun = MakeFun(1, 99);
    ASSERT_EQ(Apply(1), 1);
    auto v = Rows();
    ASSERT_GE(v.size(), 3u);
    EXPECT_EQ(v[2].substr(0, 57), "SetMatrix 1: 00000111 00040221 03010170 01028161 28191362");
    EXPECT_EQ(v[2].substr(57, 18), " 00000150 00000150");
    auto vBoxes = BoxTexts();
    ASSERT_EQ(vBoxes.size(), 2u);
    EXPECT_EQ(vBoxes[0].rfind(": Invalid key 5: FunID=0x5000000, MacroID=0x777, Name=", 0), 0u);
    EXPECT_EQ(vBoxes[1].rfind(": Invalid key 6: FunID=0x1000063, MacroID=0x0, Name=", 0), 0u);
    EXPECT_TRUE(m_log.Has("Key[0][5] Set To Macro NULL"));
}

TEST_F(CDev8948ApplyTest, SensorMismatchStopsWithAMessageUnlessGoingOn) {
    m_pMouse->SetSensorCode(15); // 0x3389
    m_pDev->SetReset(1);
    EXPECT_EQ(Apply(0x800F), 0);
    EXPECT_EQ(BoxTexts(),
              std::vector<std::string>({"Error: Sensor unmatch: dev=0x3389, cfg=0x3360"}));
    EXPECT_EQ(m_pDev->Reset(), 0);
    EXPECT_EQ(m_macros.Find(kMacroId)->byBufferId, 0);
    for (const std::string& s : Rows())
        EXPECT_NE(s.rfind("SetProfile", 0), 0u) << s;
    m_vProfiles.clear();
    m_boxes.m_vEntries.clear();
    m_pVar->GoWithNoDev = 1;
    m_pMouse->ClearTrace();
    EXPECT_EQ(Apply(2), 1);
    EXPECT_TRUE(BoxTexts().empty());
}

// Sleeps return at once; the nth makes the mouse vanish.
class CVanishingClock : public CFakeClock {
public:
    CVanishingClock(CSimDevice& dev, size_t nAt) : m_dev(dev), m_nAt(nAt) {}
    void SleepMs(uint32_t nMs) override {
        CFakeClock::SleepMs(nMs);
        if (++m_nCount == m_nAt)
            m_dev.Vanish();
    }

private:
    CSimDevice& m_dev;
    size_t m_nAt;
    size_t m_nCount = 0;
};

TEST_F(CDev8948ApplyTest, TransferFaults) {
    struct {
        const char* pszName;
        int nFail, nSkip, nGoNoDev;
        int nResult;
        size_t nRows; // reports that reached the mouse
        const char* pszLog;
    } kCases[] = {
        {"first macro fails once", 1, 0, 0, 1, 10, nullptr},
        {"first macro fails", 3, 0, 0, 0, 0, "SetMacro, err=0x5"},
        {"first macro fails, go on", 3, 0, 1, 1, 9, "SetMacro, err=0x5"},
        {"second matrix fails", 3, 3, 0, 0, 3, "SetMatrix, err=0x5"},
        {"general read fails", 3, 5, 0, 0, 5, "Get general data error, err=0x5"},
        {"gun data fails", 3, 10, 0, 0, 8, "SetGunData, err=0x5"},
        {"mode fails, go on", 3, 11, 1, 1, 9, "SetMode, err=0x5"},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszName);
        m_pMouse->ClearTrace();
        m_pDev->SetReset(1);
        m_pVar->GoWithNoDev = c.nGoNoDev;
        m_pMouse->FailNext(c.nFail, c.nSkip);
        EXPECT_EQ(Apply(0x800F), c.nResult);
        EXPECT_EQ(Rows().size(), c.nRows);
        if (c.pszLog) {
            EXPECT_TRUE(m_log.Has(c.pszLog));
        }
        EXPECT_EQ(m_pDev->Reset(), 0);
        EXPECT_EQ(m_macros.Find(kMacroId)->byBufferId, 0);
        EXPECT_EQ(m_bullets.Find(kBulletId)->byBufferId, 0);
        m_pMouse->FailNext(0);
    }
}

TEST_F(CDev8948ApplyTest, MouseVanishingMidApplyFailsCleanly) {
    StMacro macBefore = *m_macros.Find(kMacroId);
    StMacro bulBefore = *m_bullets.Find(kBulletId);
    const Profile proBefore = *m_pPro;
    for (size_t nAt : {1u, 3u, 5u, 7u}) {
        SCOPED_TRACE(nAt);
        m_pMouse->Return();
        m_pDev->Drv()->ClearHandle();
        ASSERT_EQ(m_pDev->Drv()->FindDev(), 1);
        m_pMouse->ClearTrace();
        CVanishingClock clock(*m_pMouse, nAt);
        m_pDev->SetReset(1);
        EXPECT_EQ(Apply(0x800F), 0);
        SetClock(&m_clock);
        EXPECT_EQ(m_pDev->Reset(), 0);
        EXPECT_EQ(std::memcmp(m_macros.Find(kMacroId), &macBefore, sizeof macBefore), 0);
        EXPECT_EQ(std::memcmp(m_bullets.Find(kBulletId), &bulBefore, sizeof bulBefore), 0);
        EXPECT_EQ(std::memcmp(m_pPro.get(), &proBefore, sizeof proBefore), 0);
    }
}

// The numbers the encoder hands out go into the snapshot's stores; the live stores the
// window thread edits are never written, not even for a moment.
TEST_F(CDev8948ApplyTest, BufferNumbersGoIntoTheSnapshotOnly) {
    // Looks at both stores at every pause of the apply.
    class CWatchClock : public CFakeClock {
    public:
        explicit CWatchClock(std::function<void()> fn) : m_fn(std::move(fn)) {}
        void SleepMs(uint32_t nMs) override {
            CFakeClock::SleepMs(nMs);
            m_fn();
        }

    private:
        std::function<void()> m_fn;
    };
    const StMacro macBefore = *m_macros.Find(kMacroId);
    const StMacro bulBefore = *m_bullets.Find(kBulletId);
    auto pSnap = MakeApplySnapshot(*m_pPro, m_macros, m_bullets);
    ASSERT_TRUE(pSnap);
    std::vector<std::pair<int, int>> vSeen; // snapshot's macro and bullet numbers
    bool bLiveChanged = false;
    {
        CWatchClock clock([&] {
            vSeen.push_back({pSnap->Macros().Find(kMacroId)->byBufferId,
                             pSnap->Bullets().Find(kBulletId)->byBufferId});
            bLiveChanged = bLiveChanged ||
                           std::memcmp(m_macros.Find(kMacroId), &macBefore, sizeof macBefore) ||
                           std::memcmp(m_bullets.Find(kBulletId), &bulBefore, sizeof bulBefore);
        });
        m_pDev->SetReset(1);
        ASSERT_EQ(m_pDev->ApplySetting(*pSnap, nullptr, 1067, 0x800F), 1);
    }
    SetClock(&m_clock);
    ASSERT_FALSE(vSeen.empty());
    // Macro 1 and bullet 1 (bullets count on their own with this firmware) while sending.
    EXPECT_EQ(vSeen[0], std::make_pair(1, 1));
    EXPECT_FALSE(bLiveChanged);
    EXPECT_EQ(pSnap->Macros().Find(kMacroId)->byBufferId, 0);
    EXPECT_EQ(pSnap->Bullets().Find(kBulletId)->byBufferId, 0);
    EXPECT_EQ(Rows()[0], "SetMacro 1: 00 02 51 2C 04 D0 01 04");
    // Nothing was asked of the desktop: the pointer settings wait in the snapshot.
    EXPECT_TRUE(m_pointer.m_vSets.empty());
    ASSERT_EQ(pSnap->Pointer().size(), 2u);
}

// The active resolution level the mouse reported goes with the snapshot: a notification
// handled on the window thread after the request does not reach the apply.
TEST_F(CDev8948ApplyTest, ActiveLevelIsTakenWithTheSnapshot) {
    auto pSnap = MakeApplySnapshot(*m_pPro, m_macros, m_bullets); // level 1 of mode 0
    ASSERT_TRUE(pSnap);
    EXPECT_EQ(pSnap->CurDpiLevel(0), 1);
    EXPECT_EQ(pSnap->CurDpiLevel(3), -1);
    g_nCurDpiLevel[0] = 0;
    ASSERT_EQ(m_pDev->ApplySetting(*pSnap, nullptr, 1067, 2), 1);
    ASSERT_EQ(m_pDev->ApplySetting(*m_pPro, nullptr, 1067, 2), 1);
    Rows();
    ASSERT_EQ(m_vProfiles.size(), 2u);
    EXPECT_EQ(m_vProfiles[0][3], 0x23); // the second of three levels
    EXPECT_EQ(m_vProfiles[1][3], 0x13); // the first, as the mouse reports now
}

// Counts every call and the threads that made them.
class CCountingPointer : public CFakePointer {
public:
    bool Supported(EPointerKey eKey) override {
        Note();
        return CFakePointer::Supported(eKey);
    }
    bool Get(EPointerKey eKey, PointerValue& v) override {
        Note();
        return CFakePointer::Get(eKey, v);
    }
    bool Set(EPointerKey eKey, const PointerValue& v) override {
        Note();
        return CFakePointer::Set(eKey, v);
    }
    std::vector<std::thread::id> Threads() {
        std::lock_guard<std::mutex> lock(m_mtx);
        return m_vThreads;
    }
    void Forget() {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_vThreads.clear();
        m_vSets.clear();
    }

private:
    void Note() {
        std::lock_guard<std::mutex> lock(m_mtx);
        m_vThreads.push_back(std::this_thread::get_id());
    }
    std::mutex m_mtx;
    std::vector<std::thread::id> m_vThreads;
};

TEST_F(CDev8948ApplyTest, PointerSettingsGoWithTheOutcome) {
    CCountingPointer pointer;
    pointer.m_mapCur = m_pointer.m_mapCur;
    SetPointerSettings(&pointer);
    struct {
        const char* pszName;
        int nFlag;
        int nReset;
        std::vector<int> vModes; // modes whose settings the outcome carries
        size_t nRows;
    } kCases[] = {
        {"pointer settings alone", 8, 0, {0}, 0},
        {"with the general data, every mode of a reset", 0x800A, 1, {0, 1}, 5},
        {"general data only", 2, 0, {}, 3},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszName);
        m_pMouse->ClearTrace();
        pointer.Forget();
        CRecordingListener listener;
        CApplyThread th(*m_pVar);
        th.SetListener(&listener);
        ASSERT_TRUE(th.Start(m_pDev.get()));
        m_pDev->SetReset(c.nReset);
        CRecordingSink sink;
        ASSERT_TRUE(th.Request(c.nFlag, MakeApplySnapshot(*m_pPro, m_macros, m_bullets), &sink));
        ASSERT_TRUE(th.WaitHandled(1, 10000));
        th.Stop();
        EXPECT_EQ(Rows().size(), c.nRows);
        EXPECT_TRUE(pointer.Threads().empty()); // the worker never asked the desktop
        auto v = listener.Outcomes();
        ASSERT_EQ(v.size(), 1u);
        EXPECT_EQ(v[0].nResult, 1);
        std::vector<int> vModes;
        for (const CPointerRequest& r : v[0].vPointer) {
            vModes.push_back(r.nMode);
            EXPECT_EQ(std::memcmp(&r.Sys, &m_pPro->Ms.Mode[r.nMode].Sys, sizeof r.Sys), 0);
        }
        EXPECT_EQ(vModes, c.vModes);
        // The receiver sets them on its own thread.
        PresentApplyOutcome(v[0], pointer);
        EXPECT_EQ(pointer.m_vSets.empty(), c.vModes.empty());
        for (std::thread::id id : pointer.Threads())
            EXPECT_EQ(id, std::this_thread::get_id());
    }
    SetPointerSettings(&m_pointer);
    EXPECT_TRUE(m_pointer.m_vSets.empty());
    EXPECT_TRUE(BoxTexts().empty());
}

// A failing apply through the thread: the encoder's boxes and the thread's own failure
// box arrive in the outcome, in order; none is shown from the worker.
TEST_F(CDev8948ApplyTest, FailingApplyThroughTheThreadReportsItsBoxesInTheOutcome) {
    struct {
        const char* pszName;
        size_t nVanishAt; // the mouse goes away at this pause (0: it stays)
        int nSensorCode;
        std::vector<std::string> vBoxes;
    } kCases[] = {
        {"the mouse vanishes after the first macro",
         1,
         6,
         {": Invalid key 6: FunID=0x1000063, MacroID=0x0, Name=",
          "Error:    Update settings failed!      "}},
        {"the mouse vanishes after the matrices",
         4,
         6,
         {": Invalid key 6: FunID=0x1000063, MacroID=0x0, Name=",
          "Error:    Update settings failed!      "}},
        {"another sensor",
         0,
         15,
         {": Invalid key 6: FunID=0x1000063, MacroID=0x0, Name=",
          "Error: Sensor unmatch: dev=0x3389, cfg=0x3360",
          "Error:    Update settings failed!      "}},
    };
    Key(0, 6).dwFun = MakeFun(1, 99); // has no code: the encoder reports it
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszName);
        m_pMouse->Return();
        m_pDev->Drv()->ClearHandle();
        ASSERT_EQ(m_pDev->Drv()->FindDev(), 1);
        m_pMouse->SetSensorCode(c.nSensorCode);
        m_boxes.m_vEntries.clear();
        CRecordingListener listener;
        CRecordingSink sink;
        {
            std::unique_ptr<CVanishingClock> pClock;
            if (c.nVanishAt)
                pClock = std::make_unique<CVanishingClock>(*m_pMouse, c.nVanishAt);
            CApplyThread th(*m_pVar);
            th.SetListener(&listener);
            ASSERT_TRUE(th.Start(m_pDev.get()));
            ASSERT_TRUE(th.Request(APPLY_FULL_MOUSE,
                                   MakeApplySnapshot(*m_pPro, m_macros, m_bullets), &sink));
            ASSERT_TRUE(th.WaitHandled(1, 10000));
        }
        SetClock(&m_clock);
        auto v = listener.Outcomes();
        ASSERT_EQ(v.size(), 1u);
        EXPECT_EQ(v[0].nResult, 0);
        EXPECT_EQ(MessageTexts(v[0]), c.vBoxes);
        EXPECT_TRUE(BoxTexts().empty());
        EXPECT_EQ(sink.Events().back(), "close");
        EXPECT_EQ(m_pDev->Reset(), 0);
    }
    m_pMouse->SetSensorCode(6);
}

// A failed apply and then a good one on a thread of its own: the failure's boxes reach the
// listener, the desktop is left alone until the receiver presents the outcome.
TEST_F(CDev8948ApplyTest, ThroughTheApplyThreadAFailureIsReportedThenTheNextApplySucceeds) {
    m_pMouse->SetSensorCode(15);
    CRecordingListener listener;
    CApplyThread th(*m_pVar);
    th.SetListener(&listener);
    ASSERT_TRUE(th.Start(m_pDev.get()));
    ASSERT_TRUE(
        th.Request(APPLY_FULL_MOUSE, MakeApplySnapshot(*m_pPro, m_macros, m_bullets), nullptr));
    ASSERT_TRUE(th.WaitHandled(1, 10000));
    th.Stop();
    EXPECT_EQ(th.LastResult(), 0);
    auto v = listener.Outcomes();
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(MessageTexts(v[0]),
              std::vector<std::string>({"Error: Sensor unmatch: dev=0x3389, cfg=0x3360",
                                        "Error:    Update settings failed!      "}));
    EXPECT_TRUE(BoxTexts().empty());
    m_pMouse->SetSensorCode(6);
    CRecordingListener listener2;
    CApplyThread th2(*m_pVar);
    th2.SetListener(&listener2);
    ASSERT_TRUE(th2.Start(m_pDev.get()));
    ASSERT_TRUE(
        th2.Request(APPLY_FULL_MOUSE, MakeApplySnapshot(*m_pPro, m_macros, m_bullets), nullptr));
    ASSERT_TRUE(th2.WaitHandled(1, 10000));
    th2.Stop();
    EXPECT_EQ(th2.LastResult(), 1);
    v = listener2.Outcomes();
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].nResult, 1);
    EXPECT_TRUE(v[0].vMessages.empty());
    // The full apply asks for the pointer settings (flag 8); only the outcome carries them.
    EXPECT_FALSE(v[0].vPointer.empty());
    EXPECT_TRUE(m_pointer.m_vSets.empty());
    EXPECT_TRUE(BoxTexts().empty());
}

} // namespace
