// The main window against its simulated devices, driven the way a user and the hardware
// drive it: apply and reset through the progress window, devices unplugged and plugged in
// again through the simulator's control commands, and the mouse's own buttons.
#include <QApplication>
#include <QElapsedTimer>
#include <functional>

#include "MainWindowFixture.h"
#include "app/presence/DevicePresence.h"
#include "device/hid/CurLevels.h"
#include "device/models/Dev816Blocks.h"
#include "device/sim/SimKb816.h"
#include "device/sim/SimMouse8948.h"
#include "device/sim/SimSmallDevices.h"
#include "panels/NotifyDlg.h"
#include "storage/ProfileStore.h"
#include "support/QtPump.h"
#include "widgets/PngBtn.h"
#include "widgets/WndMessage.h"

namespace {

class CWindowDevicesTest : public CMainWindowTest {
protected:
    void StartAll() {
        Load();
        ASSERT_TRUE(Start());
        ASSERT_TRUE(m_pDlg->State().Connected(FAMILY_MOUSE));
        // A tray start shows the window (and loads the profiles) when the user opens it.
        if (!m_pDlg->isVisible())
            PostWndMessage(m_pDlg.get(), WM_TRAY_NOTIFY, 0, TRAY_DBLCLK);
        Pump();
        ASSERT_TRUE(m_pDlg->isVisible());
        ASSERT_NE(m_pDlg->State().Current(), nullptr);
    }
    Profile& Cur() { return *m_pDlg->State().Current(); }
    std::shared_ptr<CSimDevice> Sim(const char* pszName) { return m_pSim->Backend().Find(pszName); }
    CSimMouse8948& Mouse() { return dynamic_cast<CSimMouse8948&>(*Sim("mouse")); }
    CSimKb816& Keyboard() { return dynamic_cast<CSimKb816&>(*Sim("keyboard")); }
    CSimPad& Pad() { return dynamic_cast<CSimPad&>(*Sim("pad")); }
    // Clicks the window's button with a watch on its progress window.
    void ClickWatched(int nId, CProgressWatch& watch) {
        ClickButton(nId);
        EXPECT_FALSE(watch.m_bForced) << "the progress window did not end by itself";
    }
    // The apply button, with one progress window that reaches its end and closes itself.
    void ApplyShown() {
        CProgressWatch watch;
        ClickWatched(CVelkinDlg::ID_APPLY, watch);
        EXPECT_EQ(watch.m_nWindows, 1);
        EXPECT_EQ(watch.m_nLastPos, 100);
    }
    CPngBtn* Status() { return m_pDlg->Button(CVelkinDlg::ID_DEV_STATUS); }
    // Waits for the end of the family's arrival retries; false when they did not end.
    bool WaitArrival(int nFamily, bool& bFound) {
        bool bDone = false;
        const QMetaObject::Connection conn =
            QObject::connect(m_pDlg->Presence(), &CDevicePresence::ArrivalDone, m_pDlg.get(),
                             [&, nFamily](int n, bool b) {
                                 if (n == nFamily) {
                                     bDone = true;
                                     bFound = b;
                                 }
                             });
        const bool bEnded =
            PumpUntil([&] { return bDone; },
                      int(CDevicePresence::kArrivalTries * CDevicePresence::kMouseRetryMs) + 3000);
        // The handler points at this call's locals: it must not outlive the call.
        QObject::disconnect(conn);
        return bEnded;
    }
};

// The report rates the mouse offers and the code each has in the general data's byte 2.
struct CRateCode {
    int32_t nRate;
    uint8_t byCode;
};
constexpr CRateCode kRateCodes[] = {{0x125, 1}, {0x250, 2}, {0x500, 3}, {0x1000, 4}};

int RateCodeOf(int32_t nRate) {
    for (const CRateCode& r : kRateCodes)
        if (r.nRate == nRate)
            return r.byCode;
    ADD_FAILURE() << "no code for rate 0x" << std::hex << nRate;
    return -1;
}

TEST_F(CWindowDevicesTest, ApplyWritesEachFamilyThroughTheProgressWindow) {
    StartAll();
    Profile& p = Cur();
    const int nCur = p.Ms.nMode;
    CApplyThread* pMsThread = m_pDlg->State().Apply(FAMILY_MOUSE);
    // The profile as loaded first, so the mouse holds it; then each mode a different report
    // rate (an apply writes the general data of the current mode only) and the first button
    // of the current mode given the second button's function (every mode's keys are
    // written).
    ApplyShown();
    const CSimMouse8948::CState before = Mouse().State();
    const int32_t kRates[3] = {0x125, 0x250, 0x1000};
    for (int m = 0; m < 3; ++m)
        p.Ms.Mode[m].nRate = kRates[m];
    MsMode& mode = p.Ms.Mode[nCur];
    ASSERT_NE(mode.Keys[mode.nKeySet][0].Main.dwFun, mode.Keys[mode.nKeySet][1].Main.dwFun);
    mode.Keys[mode.nKeySet][0].Main = mode.Keys[mode.nKeySet][1].Main;
    const int nHandled = pMsThread->Handled();
    ApplyShown();
    EXPECT_EQ(pMsThread->Handled(), nHandled + 1) << "the request has ended when apply returns";
    EXPECT_EQ(pMsThread->LastResult(), 1);
    const CSimMouse8948::CState ms = Mouse().State();
    for (int m = 0; m < 3; ++m) {
        if (m == nCur)
            EXPECT_EQ(ms.byGeneral[m][2] & 0x0F, RateCodeOf(kRates[m]));
        else
            EXPECT_EQ(ms.byGeneral[m], before.byGeneral[m]) << "mode " << m;
    }
    // Exactly the first button's position changed, to the code the second one has.
    const auto& mxBefore = before.dwMatrix[nCur];
    const auto& mxAfter = ms.dwMatrix[nCur];
    std::vector<size_t> vChanged;
    for (size_t i = 0; i < mxAfter.size(); ++i)
        if (mxAfter[i] != mxBefore[i])
            vChanged.push_back(i);

    ASSERT_EQ(vChanged.size(), 1u);
    EXPECT_EQ(std::count(mxAfter.begin(), mxAfter.end(), mxAfter[vChanged[0]]), 2);
    EXPECT_EQ(ms.nMode, nCur + 1);

    // Keyboard and pad: the family shown is the one written.
    const KbDesc& kb = gVar.Dev.Kb;
    ASSERT_GE(kb.LedModeSelectOffset, 0);
    ASSERT_TRUE(ClickDeviceRow(FAMILY_KEYBOARD));
    p.Kb.nKbLedEffect = 2;
    ApplyShown();
    const CSimKb816::CState st = Keyboard().State();
    EXPECT_EQ(st.byCfg[KB816_CFG_PRO1 + kb.LedModeSelectOffset + 1], 2 + kb.EffectBase);

    ASSERT_TRUE(ClickDeviceRow(FAMILY_PAD));
    p.Pad.nPadLedEffect = 4;
    const size_t nMouseSets = Mouse().Trace().size();
    ApplyShown();
    EXPECT_EQ(Pad().General()[2], 4 + 1);
    EXPECT_EQ(Mouse().Trace().size(), nMouseSets) << "only the family shown is written";

    // What was applied is kept: the store on disk holds the changed profile.
    CProList reread(gVar);
    ASSERT_GT(reread.Load(false), 0);
    const Profile* pSaved = reread.FindById(p.dwId);
    ASSERT_NE(pSaved, nullptr);
    EXPECT_EQ(pSaved->Pad.nPadLedEffect, 4);
    EXPECT_EQ(pSaved->Ms.Mode[2].nRate, 0x1000);
}

TEST_F(CWindowDevicesTest, ResetAsksThenWritesTheDefaultsThroughTheProgressWindow) {
    StartAll();
    // A fresh installation's profile holds the defaults; the user changes every mode's
    // report rate and applies the current mode.
    Profile& p = Cur();
    const int nCur = p.Ms.nMode;
    int32_t nDefault[3], nOther[3];
    for (int m = 0; m < 3; ++m) {
        nDefault[m] = p.Ms.Mode[m].nRate;
        nOther[m] = nDefault[m] == 0x125 ? 0x250 : 0x125;
        p.Ms.Mode[m].nRate = nOther[m];
    }
    ApplyShown();
    ASSERT_EQ(Mouse().State().byGeneral[nCur][2] & 0x0F, RateCodeOf(nOther[nCur]));

    // Declined: nothing changes and nothing is written.
    const size_t nTrace = Mouse().Trace().size();
    m_vSkinned.clear();
    {
        CProgressWatch watch;
        ClickWatched(CVelkinDlg::ID_RESET, watch);
        EXPECT_EQ(watch.m_nWindows, 0);
    }
    EXPECT_EQ(m_vSkinned, std::vector<std::string>{Txt("tc_msg7")});
    EXPECT_EQ(p.Ms.Mode[nCur].nRate, nOther[nCur]);
    EXPECT_EQ(Mouse().Trace().size(), nTrace);

    // Accepted: the profile holds the defaults again and every mode of the mouse gets them.
    m_bAcceptBoxes = true;
    {
        CProgressWatch watch;
        ClickWatched(CVelkinDlg::ID_RESET, watch);
        EXPECT_EQ(watch.m_nWindows, 1);
        EXPECT_EQ(watch.m_nLastPos, 100);
    }
    // The demo's gun mouse (MsFw 0x10) has two modes; the third stays as it was.
    ASSERT_NE(gVar.MsFw & 0xF0, 0);
    const CSimMouse8948::CState ms = Mouse().State();
    for (int m = 0; m < 3; ++m)
        EXPECT_EQ(p.Ms.Mode[m].nRate, nDefault[m]) << "mode " << m;
    for (int m = 0; m < 2; ++m)
        EXPECT_EQ(ms.byGeneral[m][2] & 0x0F, RateCodeOf(nDefault[m])) << "mode " << m;
    EXPECT_EQ(ms.byGeneral[2][0], 0) << "the mouse has no third mode";
}

TEST_F(CWindowDevicesTest, ApplyWithTheMouseUnpluggedSaysSoAndWritesNothing) {
    StartAll();
    EXPECT_EQ(m_pSim->Execute("unplug mouse"), "ok");
    ASSERT_TRUE(PumpUntil([&] { return !m_pDlg->State().Connected(FAMILY_MOUSE); }, 5000));
    const std::string strPro = m_pDlg->State().proList.ProFilePath();
    std::filesystem::remove(strPro);
    const int nHandled = m_pDlg->State().Apply(FAMILY_MOUSE)->Handled();
    m_vSkinned.clear();
    m_vBusyAtBox.clear();
    CProgressWatch watch;
    ClickWatched(CVelkinDlg::ID_APPLY, watch);
    EXPECT_EQ(watch.m_nWindows, 0);
    EXPECT_EQ(m_vSkinned, std::vector<std::string>{Txt("tc_msg13")});
    EXPECT_EQ(m_vBusyAtBox, std::vector<bool>{true}) << "the picture pauses while it is said";
    EXPECT_FALSE(PictureBusy());
    EXPECT_EQ(m_pDlg->State().Apply(FAMILY_MOUSE)->Handled(), nHandled) << "no apply";
    EXPECT_FALSE(std::filesystem::exists(strPro)) << "nothing is stored";
}

TEST_F(CWindowDevicesTest, UnplugAndPlugFollowTheStatusButton) {
    StartAll();
    ASSERT_NE(Status(), nullptr);
    EXPECT_EQ(Status()->Caption(), Txt("tc_msg14"));
    EXPECT_FALSE(Status()->IsTicked());

    EXPECT_EQ(m_pSim->Execute("unplug mouse"), "ok");
    ASSERT_TRUE(PumpUntil([&] { return Status()->IsTicked(); }, 5000));
    EXPECT_EQ(Status()->Caption(), Txt("tc_msg13"));
    EXPECT_FALSE(m_pDlg->State().Connected(FAMILY_MOUSE));
    EXPECT_TRUE(m_pDlg->isVisible()) << "the other devices are still there";

    EXPECT_EQ(m_pSim->Execute("plug mouse"), "ok");
    bool bFound = false;
    ASSERT_TRUE(WaitArrival(FAMILY_MOUSE, bFound));
    EXPECT_TRUE(bFound);
    EXPECT_TRUE(m_pDlg->State().Connected(FAMILY_MOUSE));
    EXPECT_EQ(Status()->Caption(), Txt("tc_msg14"));
    EXPECT_FALSE(Status()->IsTicked());

    // The pad comes and goes without touching the mouse's status.
    EXPECT_EQ(m_pSim->Execute("unplug pad"), "ok");
    ASSERT_TRUE(PumpUntil([&] { return !m_pDlg->State().Connected(FAMILY_PAD); }, 5000));
    EXPECT_EQ(Status()->Caption(), Txt("tc_msg14"));
    EXPECT_EQ(m_pSim->Execute("plug pad"), "ok");
    ASSERT_TRUE(WaitArrival(FAMILY_PAD, bFound));
    EXPECT_TRUE(bFound);
    EXPECT_TRUE(m_pDlg->State().Connected(FAMILY_PAD));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(CWindowDevicesTest, ArrivalRetriesUntilTheMouseAnswers) {
    StartAll();
    EXPECT_EQ(m_pSim->Execute("unplug mouse"), "ok");
    ASSERT_TRUE(PumpUntil([&] { return Status()->IsTicked(); }, 5000));

    // The first try comes before the mouse's node is ready; the second finds it.
    EXPECT_EQ(m_pSim->Execute("plug mouse"), "ok");
    Sim("mouse")->Vanish();
    QTimer::singleShot(int(CDevicePresence::kMouseRetryMs) + 500,
                       [this] { Sim("mouse")->Return(); });
    QElapsedTimer t;
    t.start();
    bool bFound = false;
    ASSERT_TRUE(WaitArrival(FAMILY_MOUSE, bFound));
    EXPECT_TRUE(bFound);
    EXPECT_GE(t.elapsed(), 2 * qint64(CDevicePresence::kMouseRetryMs)) << "found on the second try";
    EXPECT_EQ(Status()->Caption(), Txt("tc_msg14"));
    EXPECT_FALSE(Status()->IsTicked());

    // A mouse whose node never becomes ready: three tries, then it stays disconnected
    // without a box.
    EXPECT_EQ(m_pSim->Execute("unplug mouse"), "ok");
    ASSERT_TRUE(PumpUntil([&] { return Status()->IsTicked(); }, 5000));
    m_vSkinned.clear();
    EXPECT_EQ(m_pSim->Execute("plug mouse"), "ok");
    Sim("mouse")->Vanish();
    t.restart();
    ASSERT_TRUE(WaitArrival(FAMILY_MOUSE, bFound));
    EXPECT_FALSE(bFound);
    EXPECT_GE(t.elapsed(), 3 * qint64(CDevicePresence::kMouseRetryMs));
    EXPECT_FALSE(m_pDlg->State().Connected(FAMILY_MOUSE));
    EXPECT_TRUE(Status()->IsTicked());
    EXPECT_TRUE(m_vSkinned.empty());
    EXPECT_TRUE(Boxes().empty()) << Boxes().front();
}

TEST_F(CWindowDevicesTest, LastDeviceUnpluggedEndsOrHidesTheWindowAsConfigured) {
    struct Case {
        const char *pszExit, *pszTray;
        bool bTrayAvailable;
        bool bEnded, bVisible;
    } kCases[] = {
        {"1", "2", true, true, false},
        {"0", "1", true, false, false},
        {"0", "3", true, false, true},
        // Hidden without a tray icon, nothing could show the window again.
        {"0", "1", false, false, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string("ExitOnPlugOut=") + c.pszExit + " TrayIcon=" + c.pszTray +
                     (c.bTrayAvailable ? "" : " without a notification area"));
        ResetCfg();
        SetKey("OPT", "ExitOnPlugOut", c.pszExit);
        SetKey("OPT", "TrayIcon", c.pszTray);
        SetTrayAvailableOverride(c.bTrayAvailable);
        StartAll();
        m_vSkinned.clear();
        for (const char* pszDev : {"keyboard", "pad"}) {
            EXPECT_EQ(m_pSim->Execute(std::string("unplug ") + pszDev), "ok");
            Pump();
        }
        EXPECT_FALSE(m_pDlg->IsEnded());
        EXPECT_TRUE(m_pDlg->isVisible()) << "the mouse is still there";
        EXPECT_EQ(m_pSim->Execute("unplug mouse"), "ok");
        PumpUntil([&] { return m_pDlg->IsEnded() || !m_pDlg->isVisible(); }, 2000);
        Pump();
        EXPECT_EQ(m_pDlg->IsEnded(), c.bEnded);
        EXPECT_EQ(m_pDlg->isVisible(), c.bVisible);
        EXPECT_EQ(m_vSkinned.size(), c.bEnded ? 1u : 0u);
        if (c.bEnded && !m_vSkinned.empty()) {
            EXPECT_EQ(m_vSkinned[0], Txt("tc_msg13"));
        }
        m_pDlg.reset();
        m_pSim.reset();
    }
}

// The mouse pulled out while an apply started with the apply button is writing to it, over
// and over at different points of the apply: nothing breaks, each failed apply is reported
// once, and once the mouse is back the next apply writes the whole profile.
TEST_F(CWindowDevicesTest, MouseUnpluggedDuringApplyManyTimesThenApplyAgain) {
    StartAll();
    CApplyThread* pMs = m_pDlg->State().Apply(FAMILY_MOUSE);
    ASSERT_NE(pMs, nullptr);
    // However the failure reaches the user (a plain box, or a skinned box of the window).
    auto failuresShown = [&] {
        const char* pszFailed = "Update settings failed!";
        int n = 0;
        for (const std::string& s : Boxes())
            n += s.find(pszFailed) != std::string::npos ? 1 : 0;
        for (const std::string& s : m_vSkinned)
            n += s.find(pszFailed) != std::string::npos ? 1 : 0;
        return n;
    };
    constexpr int kCycles = 30;
    int nFailedApplies = 0;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kCycles; ++i) {
        SCOPED_TRACE("cycle " + std::to_string(i));
        ASSERT_TRUE(m_pDlg->State().Connected(FAMILY_MOUSE));
        // Out at the first position from 10 to 90 (in turn) that the apply reports.
        const int nOutAt = 10 * (1 + i % 9);
        bool bUnplugged = false;
        CProgressWatch watch(10000);
        watch.m_fnPosition = [&](int nPos) {
            if (!bUnplugged && nPos >= nOutAt) {
                bUnplugged = true;
                EXPECT_EQ(m_pSim->Execute("unplug mouse"), "ok");
            }
        };
        const int nHandled = pMs->Handled();
        const int nShownBefore = failuresShown();
        const size_t nSkinnedBefore = m_vSkinned.size();
        ASSERT_TRUE(ClickButton(CVelkinDlg::ID_APPLY));
        EXPECT_FALSE(watch.m_bForced) << "the progress window did not end by itself";
        EXPECT_EQ(watch.m_nWindows, 1);
        ASSERT_TRUE(pMs->WaitHandled(nHandled + 1, 10000)) << "the apply did not end";
        Pump();
        EXPECT_EQ(pMs->Handled(), nHandled + 1) << "one click, one apply";
        if (!bUnplugged) {
            EXPECT_EQ(m_pSim->Execute("unplug mouse"), "ok"); // the apply ended first
        }
        ASSERT_TRUE(PumpUntil([&] { return !m_pDlg->State().Connected(FAMILY_MOUSE); }, 5000));
        const bool bFailed = pMs->LastResult() == 0;
        nFailedApplies += bFailed ? 1 : 0;
        EXPECT_EQ(failuresShown() - nShownBefore, bFailed ? 1 : 0)
            << "the failure of an apply is shown once";
        for (size_t n = nSkinnedBefore; n < m_vSkinned.size(); ++n)
            EXPECT_NE(m_vSkinned[n].find("Update settings failed!"), std::string::npos)
                << "no other box: " << m_vSkinned[n];
        EXPECT_FALSE(m_pDlg->IsEnded());

        EXPECT_EQ(m_pSim->Execute("plug mouse"), "ok");
        bool bFound = false;
        ASSERT_TRUE(WaitArrival(FAMILY_MOUSE, bFound));
        ASSERT_TRUE(bFound) << "the mouse is found again after its removal";
    }
    EXPECT_GE(nFailedApplies, kCycles / 2) << "the mouse was pulled while the apply wrote";

    // Plugged back in: the next apply writes the profile and is not reported as failed.
    Profile& p = Cur();
    const int nCur = p.Ms.nMode;
    const int32_t nRate = RateCodeOf(p.Ms.Mode[nCur].nRate) == 1 ? 0x1000 : 0x125;
    p.Ms.Mode[nCur].nRate = nRate;
    const int nShownBefore = failuresShown();
    const int nHandled = pMs->Handled();
    ApplyShown();
    ASSERT_TRUE(pMs->WaitHandled(nHandled + 1, 10000));
    EXPECT_EQ(pMs->LastResult(), 1);
    EXPECT_EQ(failuresShown(), nShownBefore);
    const CSimMouse8948::CState ms = Mouse().State();
    EXPECT_EQ(ms.byGeneral[nCur][2] & 0x0F, RateCodeOf(nRate));
    EXPECT_EQ(ms.nMode, nCur + 1);
    RecordProperty("cycles_ms", static_cast<int>(clock.elapsed()));
}

TEST_F(CWindowDevicesTest, MouseButtonsMoveTheWindowToTheModeAndLevel) {
    StartAll();
    ASSERT_TRUE(
        PumpUntil([&] { return Log().find("ServiceThread Start") != std::string::npos; }, 5000));
    // The mouse switches to its third mode itself: the profile and the mode buttons follow.
    EXPECT_EQ(m_pSim->Execute("mode 3"), "ok");
    ASSERT_TRUE(PumpUntil([&] { return Cur().Ms.nMode == 2; }, 5000));
    EXPECT_EQ(Mouse().State().nMode, 3);

    // The resolution button: the next switched-on level, shown in the pop-up.
    const int nBefore = g_nCurDpiLevel[2];
    EXPECT_EQ(m_pSim->Execute("dpi-button"), "ok");
    ASSERT_TRUE(PumpUntil([&] { return g_nCurDpiLevel[2] != nBefore; }, 5000));
    ASSERT_NE(m_pDlg->NotifyPopup(), nullptr);
    EXPECT_TRUE(PumpUntil([&] { return m_pDlg->NotifyPopup()->isVisible(); }, 5000));
}

} // namespace
