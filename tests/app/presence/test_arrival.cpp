// Arrival and removal of the configured devices through USB paths.
#include "app/presence/PresenceFixture.h"
#include "config/TextCatalogue.h"

namespace {

TEST(PresencePatterns, PathsMatchTheirFamilyInAnyLetterCase) {
    struct {
        int nMsPid;
        const char* pszPath;
        int nFamily;
    } const cases[] = {
        {0x1011, "\\\\?\\USB#VID_258A&PID_1011#1", FAMILY_MOUSE},
        {0x1011, "\\\\?\\usb#vid_258a&pid_1011#1", FAMILY_MOUSE},
        {0x1011, "\\\\?\\USB#VID_258A&PID_1007#1", FAMILY_MOUSE},
        {0x1011, "\\\\?\\USB#VID_258A&PID_0028#1", FAMILY_MOUSE},
        {0x1011, "\\\\?\\USB#VID_258A&PID_0090#1", FAMILY_KEYBOARD},
        {0x1011, "\\\\?\\USB#VID_258A&PID_00a0#1", FAMILY_PAD},
        {0x1011, "\\\\?\\USB#VID_046D&PID_1011#1", FAMILY_NONE},
        {0x1011, "HID#VID_258A&PID_1011#1", FAMILY_NONE}, // not a USB device path
        {0x1007, "\\\\?\\USB#VID_258A&PID_1007#1", FAMILY_MOUSE},
        {0x1007, "\\\\?\\USB#VID_258A&PID_0028#1", FAMILY_MOUSE},
    };
    for (const auto& c : cases) {
        CGlobalVar var;
        var.Dev.Ms.VID = 0x258A;
        var.Dev.Ms.PID = c.nMsPid;
        var.Dev.Kb.VID = var.Dev.Pad.VID = 0x258A;
        var.Dev.Kb.PID = 0x0090;
        var.Dev.Pad.PID = 0x00A0;
        EXPECT_EQ(CPresencePatterns(var).Family(c.pszPath), c.nFamily) << c.pszPath;
    }
    // With one of the fixed products configured, only the two fixed patterns are used.
    CGlobalVar var;
    var.Dev.Ms.VID = 0x258A;
    for (int nPid : {0x1007, 0x0028}) {
        var.Dev.Ms.PID = nPid;
        EXPECT_EQ(CPresencePatterns(var).Mouse(),
                  (std::vector<std::string>{"usb#vid_258a&pid_1007", "usb#vid_258a&pid_0028"}));
    }
}

class ArrivalTest : public CPresenceTest {};

TEST_F(ArrivalTest, MouseArrivalRetriesEverySecondAndStopsAtTheFirstSuccess) {
    Build(false);
    Dev("mouse")->Vanish();
    m_pPresence->OnDeviceArrival(MousePath());
    EXPECT_TRUE(Log().Has("arrive device:  " + MousePath()));
    EXPECT_TRUE(Log().Has("Device MS IN"));
    // A second node of the same device while the retries run starts no second chain.
    m_pPresence->OnDeviceArrival(MousePath());
    ASSERT_EQ(m_steps.vSteps.size(), 1u);
    ASSERT_TRUE(m_steps.RunNext()); // first try: still gone
    EXPECT_FALSE(m_pState->Connected(FAMILY_MOUSE));
    Dev("mouse")->Return();
    ASSERT_TRUE(m_steps.RunNext()); // second try succeeds
    EXPECT_TRUE(m_steps.vSteps.empty());
    EXPECT_EQ(m_steps.vDelays, (std::vector<uint32_t>{1000, 1000}));
    EXPECT_TRUE(m_pState->Connected(FAMILY_MOUSE));
    EXPECT_FALSE(m_pPresence->ArrivalPending(FAMILY_MOUSE));
    EXPECT_EQ(m_view.nSyncMode, 1);
    EXPECT_EQ(m_view.strStatus, Txt("tc_msg14"));
    EXPECT_FALSE(m_view.bStatusChecked);
}

TEST_F(ArrivalTest, ThreeFailedTriesLeaveTheMouseDisconnectedWithoutAMessage) {
    Build(false);
    Dev("mouse")->Vanish();
    int nDone = 0;
    bool bFound = true;
    QObject::connect(m_pPresence.get(), &CDevicePresence::ArrivalDone, [&](int nFamily, bool b) {
        EXPECT_EQ(nFamily, FAMILY_MOUSE);
        ++nDone;
        bFound = b;
    });
    m_pPresence->OnDeviceArrival(MousePath());
    m_steps.RunAll();
    EXPECT_EQ(m_steps.vDelays, (std::vector<uint32_t>{1000, 1000, 1000}));
    EXPECT_EQ(nDone, 1);
    EXPECT_FALSE(bFound);
    EXPECT_FALSE(m_pState->Connected(FAMILY_MOUSE));
    EXPECT_EQ(m_view.nStatus, 0);
    EXPECT_EQ(m_view.nSyncMode, 0);
    EXPECT_TRUE(m_view.vMessages.empty());
    // The next arrival tries again.
    Dev("mouse")->Return();
    m_pPresence->OnDeviceArrival(MousePath());
    m_steps.RunAll();
    EXPECT_TRUE(m_pState->Connected(FAMILY_MOUSE));
}

TEST_F(ArrivalTest, AutoSwFollowsAnotherSensorUnderTheProfileLock) {
    Build(false);
    Cur().Ms.nSensor = 0x3360; // the profile was made for the budget variant
    m_pPresence->OnDeviceArrival(MousePath());
    m_steps.RunAll();
    EXPECT_TRUE(Log().Has("Init UI Layout for 0x3389"));
    EXPECT_EQ(Cur().Ms.nSensor, 0x3389);
    EXPECT_EQ(m_view.nReloadKey, 1);
    EXPECT_EQ(m_view.nReloadDpi, 1);
    // The same sensor again changes nothing.
    m_pPresence->OnDeviceArrival(MousePath());
    m_steps.RunAll();
    EXPECT_EQ(m_view.nReloadKey, 1);
    EXPECT_EQ(m_view.nSyncMode, 2);
}

TEST_F(ArrivalTest, PadRetriesEveryTenthOfASecond) {
    Build(false);
    Dev("pad")->Vanish();
    m_pPresence->OnDeviceArrival(PadPath());
    EXPECT_TRUE(Log().Has("Device PAD IN"));
    m_steps.RunAll();
    EXPECT_EQ(m_steps.vDelays, (std::vector<uint32_t>{100, 100, 100}));
    EXPECT_FALSE(m_pState->Connected(FAMILY_PAD));
}

TEST_F(ArrivalTest, UnrelatedArrivalOnlyLogs) {
    Build(false);
    m_pPresence->OnDeviceArrival("\\\\?\\USB#VID_046D&PID_C52B#1");
    EXPECT_TRUE(Log().Has("arrive device:  \\\\?\\USB#VID_046D&PID_C52B#1"));
    EXPECT_TRUE(m_steps.vSteps.empty());
}

TEST_F(ArrivalTest, KeyboardArrivalWithOnlyTheCompanionStopsOnceCompanionAndMonitorAreOpen) {
    ConfigureCompanion();
    Build(false);
    ASSERT_TRUE(m_pState->pCompanion);
    ASSERT_FALSE(m_pState->pKb);
    Dev("receiver")->Vanish();
    m_pPresence->OnDeviceArrival(KbPath());
    EXPECT_TRUE(Log().Has("Device KB IN"));
    ASSERT_TRUE(m_steps.RunNext()); // companion opens, the monitor device does not
    EXPECT_TRUE(m_pState->pCompanion->GetHandle());
    EXPECT_EQ(m_steps.vSteps.size(), 1u);
    Dev("receiver")->Return();
    ASSERT_TRUE(m_steps.RunNext());
    EXPECT_TRUE(m_steps.vSteps.empty());
    EXPECT_EQ(m_steps.vDelays, (std::vector<uint32_t>{1000, 1000}));
}

class RemovalTest : public CPresenceTest {};

TEST_F(RemovalTest, MouseRemovalClosesItsDriverAndChecksTheStatusButton) {
    Build();
    m_pPresence->OnDeviceRemoval(MousePath());
    EXPECT_TRUE(Log().Has("Device MS OUT"));
    EXPECT_FALSE(m_pState->Connected(FAMILY_MOUSE));
    EXPECT_TRUE(m_pState->Connected(FAMILY_KEYBOARD));
    EXPECT_EQ(m_view.strStatus, Txt("tc_msg13"));
    EXPECT_TRUE(m_view.bStatusChecked);
    EXPECT_EQ(m_view.nClose + m_view.nHide, 0);
}

TEST_F(RemovalTest, LastDeviceGoneEndsHidesOrDoesNothingAsConfigured) {
    struct {
        int nExit, nTray;
        int nMessages, nClose, nHide;
    } const cases[] = {
        {1, 3, 1, 1, 0},
        {1, 1, 1, 1, 0},
        {0, 1, 0, 0, 1},
        {0, 3, 0, 0, 0},
    };
    for (const auto& c : cases) {
        m_var.ExitOnPlugOut = c.nExit;
        m_var.TrayIcon = c.nTray;
        m_view = CFakePresenceView();
        if (!m_pState)
            Build();
        m_pState->pMs->Drv()->FindDev();
        m_pState->pKb->Drv()->FindDev();
        m_pState->pPad->Drv()->FindDev();
        m_pPresence = std::make_unique<CDevicePresence>(*m_pState, m_view);
        m_pPresence->OnDeviceRemoval(KbPath());
        m_pPresence->OnDeviceRemoval(PadPath());
        EXPECT_EQ(m_view.nClose + m_view.nHide, 0);
        m_pPresence->OnDeviceRemoval(MousePath());
        EXPECT_EQ(int(m_view.vMessages.size()), c.nMessages) << c.nExit << c.nTray;
        if (c.nMessages) {
            EXPECT_EQ(m_view.vMessages[0], "tc_msg13");
        }
        EXPECT_EQ(m_view.nClose, c.nClose) << c.nExit << c.nTray;
        EXPECT_EQ(m_view.nHide, c.nHide) << c.nExit << c.nTray;
        // The mouse's other nodes go away too: no second box while the first closes.
        m_pPresence->OnDeviceRemoval(MousePath());
        EXPECT_EQ(int(m_view.vMessages.size()), c.nMessages);
    }
}

TEST_F(RemovalTest, UnrelatedRemovalWithNothingConnectedEndsWithExitOnPlugOut) {
    m_var.ExitOnPlugOut = 1;
    Build(false); // nothing opened
    m_pPresence->OnDeviceRemoval("\\\\?\\USB#VID_046D&PID_C52B#1");
    EXPECT_FALSE(Log().Has("OUT"));
    EXPECT_EQ(m_view.vMessages, (std::vector<std::string>{"tc_msg13"}));
    EXPECT_EQ(m_view.nClose, 1);
}

} // namespace
