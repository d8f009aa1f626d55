// Mouse modes, the key-set switch, apply and reset with real apply threads on the
// simulated devices.
#include "ProfilesFixture.h"
#include "device/hid/CurLevels.h"
#include "device/sim/SimMouse8948.h"
#include "device/sim/SimSmallDevices.h"

namespace {

class CModesTest : public CProfilesTest {
protected:
    void Load(std::initializer_list<int> connect) {
        Build(connect);
        m_pOps->LoadProfiles();
        std::remove(m_pState->proList.ProFilePath().c_str());
    }
    CSimMouse8948& Mouse() { return static_cast<CSimMouse8948&>(*m_backend.Find("mouse")); }
    CSimPad& Pad() { return static_cast<CSimPad&>(*m_backend.Find("pad")); }
};

TEST_F(CModesTest, ModeButtonSwitchesAndWritesTheMouse) {
    Load({FAMILY_MOUSE});
    m_pOps->OnModeButton(3);
    EXPECT_EQ(Cur().Ms.nMode, 2);
    EXPECT_EQ(Mouse().State().nMode, 3);
    EXPECT_EQ(m_view.vModeButtons.back(), 2);
    EXPECT_TRUE(m_view.Called("reload0"));
    EXPECT_TRUE(Log().Has("SwitchMode to 2"));
    EXPECT_TRUE(Log().With("SetMode err=").empty());
}

TEST_F(CModesTest, ModeButtonWhileDisconnectedSwitchesAndLogsTheError) {
    Load({});
    m_pOps->OnModeButton(2);
    EXPECT_EQ(Cur().Ms.nMode, 1);
    EXPECT_EQ(Log().With("SetMode err=0x").size(), 1u);
    // The same mode again does nothing more.
    m_pOps->OnModeButton(2);
    EXPECT_EQ(Log().With("SetMode err=0x").size(), 1u);
    m_var.Dev.Ms.ShowOnlyModeString = 1;
    m_pOps->OnModeButton(1);
    EXPECT_EQ(Cur().Ms.nMode, 1);
}

TEST_F(CModesTest, SyncModeFollowsTheDeviceWithoutWriting) {
    Load({FAMILY_MOUSE});
    Mouse().ClearTrace();
    struct {
        int nDevMode, nExpect;
    } cases[] = {{2, 1}, {0xFF, 1}, {1, 0}, {0, 0}};
    for (const auto& c : cases) {
        g_nCurMode = c.nDevMode;
        m_pOps->SyncMode();
        EXPECT_EQ(Cur().Ms.nMode, c.nExpect) << c.nDevMode;
    }
    EXPECT_TRUE(Mouse().Trace().empty());
    EXPECT_TRUE(Log().Has("SyncMode: g_nCurMode=0x2"));
    EXPECT_TRUE(Log().Has("SyncMode: Ms.nMode=0"));
    g_nCurMode = 0;
}

TEST_F(CModesTest, KeySetSwitchGoesToTheSecondModeAndShowsTheSet) {
    Load({FAMILY_MOUSE});
    m_pOps->OnKeySetSwitch(2);
    EXPECT_EQ(Cur().Ms.nMode, 1);
    EXPECT_EQ(Mouse().State().nMode, 2);
    EXPECT_EQ(m_view.vKeySets, std::vector<int>({2}));
    EXPECT_TRUE(Log().Has("SwitchKeyMode to 0x2"));
    m_pOps->OnKeySetSwitch(7); // not a key set: the mode only
    EXPECT_EQ(m_view.vKeySets.size(), 1u);
}

TEST_F(CModesTest, ModeRefreshOfTheRateTabForGunMice) {
    ASSERT_GT(m_var.Dev.Ms.nShowUsbRateForPUBGNum, 0);
    Load({FAMILY_MOUSE});
    m_view.nOpenTab = 3;
    m_view.vCalls.clear();
    m_pOps->SwitchMode(1, false); // the alternative rates, nothing else
    EXPECT_TRUE(m_view.Called("altrate1"));
    EXPECT_FALSE(m_view.Called("ratetab0"));
    m_view.vCalls.clear();
    m_pOps->SwitchMode(2, false);
    EXPECT_TRUE(m_view.Called("altrate0"));
    EXPECT_TRUE(m_view.Called("ratetab0"));
    EXPECT_TRUE(m_view.Called("tabs0")); // the hidden rate tab was open
    m_view.nOpenTab = 2;
    m_view.vCalls.clear();
    m_pOps->SwitchMode(0, false);
    EXPECT_EQ(m_view.Called("ratetab1"), m_var.Dev.Ms.ShowUsbRate != 0);
    EXPECT_TRUE(m_view.Called("tabs2"));
}

TEST_F(CModesTest, GunKeysNeedTheSwitchKeyBeforeApply) {
    Load({FAMILY_PAD});
    m_view.nFamily = FAMILY_PAD;
    struct {
        uint8_t byGunOpt;
        uint32_t dwFun0, dwFun1;
        bool bRefused;
    } cases[] = {
        {1, 0x080000C0, 0x01000001, true},
        {1, 0x080000C0, 0x080000C2, false},
        {0, 0x080000C0, 0x01000001, false},
        {1, 0x01000001, 0x01000002, false},
    };
    for (const auto& c : cases) {
        m_view.vMessages.clear();
        MsMode& mode = Cur().Ms.Mode[1];
        mode.byGunOpt = c.byGunOpt;
        mode.nKeySet = 2;
        mode.Keys[2][0].Main.dwFun = c.dwFun0;
        mode.Keys[2][5].Main.dwFun = c.dwFun1;
        const int nBefore = m_view.nProgress;
        m_pOps->Apply();
        const bool bRefused = !m_view.vMessages.empty() && m_view.vMessages[0] == Txt("tc_chiji7");
        EXPECT_EQ(bRefused, c.bRefused) << std::hex << c.dwFun0 << " " << c.dwFun1;
        EXPECT_EQ(m_view.nProgress - nBefore, c.bRefused ? 0 : 1);
        m_pState->pApplyPad->WaitHandled(m_view.nProgress, 5000);
    }
    EXPECT_TRUE(BusyBalanced());
}

TEST_F(CModesTest, ApplyWithoutTheDeviceStoresAndSendsNothing) {
    Load({FAMILY_MOUSE});
    m_view.nFamily = FAMILY_PAD;
    m_pOps->Apply();
    EXPECT_EQ(m_view.vMessages, std::vector<std::string>({Txt("tc_msg13")}));
    EXPECT_FALSE(m_view.Called("store3"));
    EXPECT_EQ(m_view.nProgress, 0);
    EXPECT_FALSE(Saved());
    EXPECT_TRUE(BusyBalanced());
    EXPECT_EQ(m_view.vBusyAtBox, std::vector<bool>({true}));
}

TEST_F(CModesTest, ApplyWritesThePadWithProgressAndSaves) {
    Load({FAMILY_PAD});
    m_view.nFamily = FAMILY_PAD;
    Cur().Pad.nPadLedEffect = 4;
    Pad().ClearTrace();
    m_pOps->Apply();
    EXPECT_TRUE(m_view.Called("store3"));
    EXPECT_EQ(m_view.nProgress, 1);
    EXPECT_TRUE(m_view.bProgressClosed);
    ASSERT_TRUE(m_pState->pApplyPad->WaitHandled(1, 5000));
    EXPECT_EQ(m_pState->pApplyPad->LastResult(), 1);
    const std::vector<int> vPos = m_view.progress.Positions();
    ASSERT_FALSE(vPos.empty());
    EXPECT_EQ(vPos.back(), 100);
    // The effect the profile selects went out (effect code = index + 1).
    bool bSent = false;
    for (const CSimTraceEntry& e : Pad().Trace())
        if (e.strDirection == "out" && e.vBytes.size() > 3 && e.vBytes[3] == 5)
            bSent = true;
    EXPECT_TRUE(bSent);
    EXPECT_TRUE(Saved());
    EXPECT_EQ(m_pState->proList.ReadCurrentId(), Cur().dwId);
    EXPECT_TRUE(BusyBalanced());
}

TEST_F(CModesTest, ApplyOfTheMouseReadsTheModeBack) {
    ASSERT_NE(m_var.Dev.Ms.SyncModeAfterApply, 0);
    Load({FAMILY_MOUSE});
    // The apply ends by setting the profile's mode; the user then switches the mouse to its
    // third mode with its own button before the window reads the mode back.
    m_view.fnAfterProgress = [this] {
        ASSERT_TRUE(m_pState->pApplyMs->WaitHandled(1, 10000));
        auto st = Mouse().State();
        st.nMode = 3;
        Mouse().SetState(st);
    };
    m_pOps->Apply();
    ASSERT_TRUE(m_pState->pApplyMs->WaitHandled(1, 10000));
    EXPECT_EQ(Cur().Ms.nMode, 2);
    EXPECT_TRUE(Log().Has("SwitchMode to 2"));
    EXPECT_TRUE(Saved());
}

TEST_F(CModesTest, ResetWhileDisconnectedResetsInMemoryOnly) {
    Load({});
    m_var.ApplyNow = 0;
    Profile& p = Cur();
    p.Ms.Mode[0].nRate = 0x999;
    p.Ms.nMode = 2;
    m_pOps->Reset();
    EXPECT_NE(Cur().Ms.Mode[0].nRate, 0x999);
    EXPECT_EQ(Cur().Ms.nMode, 0);
    EXPECT_EQ(GetWideField(Cur().szSound, PROFILE_SOUND_LEN),
              m_var.szProgramDir + "DrvSound.wav");
    EXPECT_EQ(m_pState->pMs->Reset(), 1);
    EXPECT_EQ(m_view.nProgress, 0);
    EXPECT_FALSE(Saved());
    const SensorCfg* pCfg = m_var.Dev.Ms.pSensorCfg();
    const int nLevel = pCfg ? std::max(pCfg->DEFLEVEL, 0) : 0;
    EXPECT_EQ(m_view.vLevels, std::vector<int>({nLevel}));
    EXPECT_EQ(g_nCurDpiLevel[2], nLevel);
    EXPECT_TRUE(BusyBalanced());
}

TEST_F(CModesTest, ResetDeclinedChangesNothing) {
    Load({});
    Cur().Ms.Mode[0].nRate = 0x999;
    m_view.bConfirm = false;
    m_pOps->Reset();
    EXPECT_EQ(Cur().Ms.Mode[0].nRate, 0x999);
    EXPECT_EQ(m_view.vMessages, std::vector<std::string>({Txt("tc_msg7")}));
    EXPECT_TRUE(BusyBalanced());
}

TEST_F(CModesTest, ResetOfTheConnectedPadAppliesSwitchesFamilyAndSaves) {
    Load({FAMILY_PAD});
    m_view.nFamily = FAMILY_PAD;
    Cur().Pad.nPadLedEffect = 7;
    m_pOps->Reset();
    EXPECT_TRUE(m_view.Called("reload2"));
    EXPECT_TRUE(m_view.Called("family3"));
    EXPECT_EQ(m_view.nProgress, 1);
    EXPECT_TRUE(m_view.bProgressClosed);
    EXPECT_TRUE(Saved());
    ASSERT_TRUE(m_pState->pApplyPad->WaitHandled(1, 5000));
    EXPECT_EQ(m_pState->pPad->Reset(), 0); // the apply cleared it
    EXPECT_TRUE(BusyBalanced());
}

} // namespace
