// Mouse modes as the device and the key-set switch drive them, with real apply threads on
// the simulated devices. The mode, apply and reset buttons are clicked in the window tests
// (tests/app/test_main_window*.cpp).
#include "ProfilesFixture.h"
#include "device/hid/CurLevels.h"
#include "device/sim/SimMouse8948.h"

namespace {

class CModesTest : public CProfilesTest {
protected:
    void Load(std::initializer_list<int> connect) {
        Build(connect);
        m_pOps->LoadProfiles();
        std::remove(m_pState->proList.ProFilePath().c_str());
    }
    CSimMouse8948& Mouse() { return static_cast<CSimMouse8948&>(*m_backend.Find("mouse")); }
};

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

} // namespace
