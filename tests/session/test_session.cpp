// The session's operations and their rules on the demo installation: first-start loading,
// new, delete, rename and find, the gun-key check, reset, the modes and the device state,
// and what listeners hear. The program's window and velkinctl both call these.
#include <cstring>

#include "config/KeyLookup.h"
#include "session/SessionFixture.h"

namespace {

TEST_F(SessionTest, FirstStartMakesTheDefaultProfilesWithTheirKeyPresets) {
    CLogCapture log;
    S().LoadProfiles();
    ASSERT_EQ(Names(), std::vector<std::string>(
                           {"Profile 1", "Profile 2", "Profile 3", "Profile 4", "Profile 5"}));
    EXPECT_EQ(S().DefaultsMade(), 5);
    EXPECT_EQ(S().Current(), S().proList.List().Head());
    // Positions 0..3 take presets 1..4 as key set 0 of every mode; position 4 has none.
    for (int nPos = 0; nPos < 4; ++nPos) {
        const Profile& p = *S().proList.List().At(size_t(nPos));
        const MsModeTables* pPreset = GetResetPreset(m_var.Dev.Keys, nPos);
        ASSERT_NE(pPreset, nullptr);
        for (int m = 0; m < MS_MODE_NUM; ++m)
            EXPECT_EQ(
                std::memcmp(p.Ms.Mode[m].Keys[0], (*pPreset)[m], sizeof(KeyAssign) * MS_KEY_MAX), 0)
                << nPos << " " << m;
    }
    EXPECT_TRUE(log.Has("ResetKey2: nIndex=4"));
    // Nothing is saved by loading: the program saves at its first operation or exit.
    EXPECT_FALSE(FileLookup::Exists(S().proList.ProFilePath()));
}

TEST_F(SessionTest, NewProfileRefusesTheLimitACancelAndNamesInAnyLetterCase) {
    S().LoadProfiles();
    struct {
        const char* pszName; // "" cancels
        bool bAdded;
        const char* pszTold; // the last thing the user was told, or null
    } cases[] = {
        {"", false, nullptr},
        {"profile 1", false, "tc_msg20"},
        {"PROFILE 2", false, "tc_msg20"},
        {"Ärger", true, nullptr},
        {"äRGER", false, "tc_msg20"}, // case outside A to Z
        {"Profile 3 and more text", true, nullptr},
        {"PROFILE 3 AND MORE other", false, "tc_msg20"}, // the same once cut to 19
    };
    for (const auto& c : cases) {
        m_ui.vTold.clear();
        m_heard.v.clear();
        m_ui.dqNames = {c.pszName};
        const size_t nBefore = S().proList.Count();
        Profile* p = S().NewProfile(m_ui);
        EXPECT_EQ(p != nullptr, c.bAdded) << c.pszName;
        EXPECT_EQ(S().proList.Count(), nBefore + (c.bAdded ? 1 : 0)) << c.pszName;
        if (c.pszTold) {
            EXPECT_EQ(m_ui.vTold.back(), Txt(c.pszTold)) << c.pszName;
        }
        if (c.bAdded) {
            EXPECT_EQ(S().Current(), p);
            EXPECT_EQ(m_heard.Count(ESessionChange::CurrentProfile), 1);
            EXPECT_EQ(S().proList.ReadCurrentId(), p->dwId); // saved
        } else {
            EXPECT_TRUE(m_heard.v.empty()) << c.pszName;
        }
    }
    // Twelve at most: the limit is told before any name is asked for.
    while (S().proList.Count() < 12) {
        m_ui.dqNames = {"P" + std::to_string(S().proList.Count())};
        ASSERT_NE(S().NewProfile(m_ui), nullptr);
    }
    m_ui.vTold.clear();
    m_ui.dqNames = {"Thirteen"};
    EXPECT_EQ(S().NewProfile(m_ui), nullptr);
    EXPECT_EQ(m_ui.vTold,
              std::vector<std::string>({"The number of profile has reached it's maximum"}));
}

TEST_F(SessionTest, DeleteAsksKeepsTheLastAndMovesTheCurrentOnlyWhenItWent) {
    S().LoadProfiles();
    Profile* pThird = S().proList.List().At(2);
    ASSERT_TRUE(S().Select(pThird->dwId));
    const uint32_t dwFirst = S().proList.List().Head()->dwId;
    const uint32_t dwSecond = S().proList.List().At(1)->dwId;

    m_ui.dqYes = {false};
    EXPECT_FALSE(S().DeleteProfile(dwSecond, m_ui));
    EXPECT_EQ(S().proList.Count(), 5u);
    EXPECT_EQ(m_ui.vTold.back(), Txt("tc_msg6"));

    m_ui.dqYes = {true};
    EXPECT_TRUE(S().DeleteProfile(dwSecond, m_ui)); // not the current one
    EXPECT_EQ(S().Current(), pThird);
    m_ui.dqYes = {true};
    EXPECT_TRUE(S().DeleteProfile(pThird->dwId, m_ui)); // the current one
    EXPECT_EQ(S().Current()->dwId, dwFirst);
    EXPECT_EQ(S().proList.ReadCurrentId(), dwFirst);

    while (S().proList.Count() > 1) {
        m_ui.dqYes = {true};
        ASSERT_TRUE(S().DeleteProfile(S().proList.List().At(1)->dwId, m_ui));
    }
    m_ui.vTold.clear();
    m_ui.dqYes = {true};
    EXPECT_FALSE(S().DeleteProfile(dwFirst, m_ui));
    EXPECT_EQ(m_ui.vTold, std::vector<std::string>({Txt("tc_msg8")})); // not even asked
    EXPECT_EQ(S().proList.Count(), 1u);
}

TEST_F(SessionTest, ProfilesAreFoundByIdOrByNameAndRenamedAsStored) {
    S().LoadProfiles();
    const Profile* p2 = S().proList.List().At(1);
    char szHex[16];
    std::snprintf(szHex, sizeof szHex, "0x%08X", p2->dwId);
    struct {
        std::string strArg;
        const Profile* pWant;
    } cases[] = {
        {szHex, p2},          {std::to_string(p2->dwId), p2},
        {"profile 2", p2},    {"PROFILE 2", p2},
        {"Profile", nullptr}, {"0", nullptr},
        {"0x1", nullptr},     {"", nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(S().FindProfile(c.strArg), c.pWant) << c.strArg;

    m_heard.v.clear();
    m_ui.dqNames = {"A name much longer than nineteen"};
    ASSERT_TRUE(S().RenameProfile(p2->dwId, m_ui));
    EXPECT_EQ(Name(p2), "A name much longer ");
    EXPECT_EQ(m_heard.Count(ESessionChange::ProfileName), 0); // not the current profile
    m_ui.dqNames = {""};
    EXPECT_FALSE(S().RenameProfile(S().Current()->dwId, m_ui)); // cancelled
    m_ui.dqNames = {"Mine"};
    ASSERT_TRUE(S().RenameProfile(S().Current()->dwId, m_ui));
    EXPECT_EQ(m_heard.Count(ESessionChange::ProfileName), 1);
}

TEST_F(SessionTest, GunKeysOfModeOneNeedTheSwitchKeyWhateverFamilyIsWritten) {
    S().LoadProfiles();
    AddModels(true);
    ASSERT_TRUE(S().GunFw());
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
        MsMode& mode = S().Current()->Ms.Mode[1];
        mode.byGunOpt = c.byGunOpt;
        mode.nKeySet = 2;
        mode.Keys[2][0].Main.dwFun = c.dwFun0;
        mode.Keys[2][5].Main.dwFun = c.dwFun1;
        for (int nFamily : {FAMILY_MOUSE, FAMILY_PAD}) {
            m_ui.vTold.clear();
            const EApplyRefusal e = S().CheckApply(nFamily, m_ui);
            EXPECT_EQ(e == EApplyRefusal::GunKeys, c.bRefused) << std::hex << c.dwFun0;
            EXPECT_EQ(m_ui.vTold, c.bRefused ? std::vector<std::string>({Txt("tc_chiji7")})
                                             : std::vector<std::string>());
        }
    }
}

TEST_F(SessionTest, ApplyNeedsTheDeviceUnlessGoWithNoDev) {
    S().LoadProfiles();
    AddModels(false);
    for (int nGo : {0, 1}) {
        m_var.GoWithNoDev = nGo;
        m_ui.vTold.clear();
        EXPECT_EQ(S().CheckApply(FAMILY_PAD, m_ui),
                  nGo ? EApplyRefusal::None : EApplyRefusal::NotConnected);
        EXPECT_EQ(m_ui.vTold.size(), nGo ? 0u : 1u);
    }
}

TEST_F(SessionTest, ResetAsksThenRestoresTheFamilysDefaultsAndLevels) {
    S().LoadProfiles();
    AddModels(false); // nothing connected, ApplyNow 0: the reset is not written
    Profile& p = *S().Current();
    p.Pad.nPadLedEffect = 7;
    p.Ms.Mode[0].nRate = 0x77;
    SetWideField(p.szSound, PROFILE_SOUND_LEN, "/elsewhere.wav");
    bool bDone = true;

    m_ui.dqYes = {false};
    EXPECT_FALSE(S().ResetFamily(FAMILY_PAD, m_ui, bDone));
    EXPECT_FALSE(bDone);
    EXPECT_EQ(p.Pad.nPadLedEffect, 7);

    m_ui.dqYes = {true};
    EXPECT_FALSE(S().ResetFamily(FAMILY_PAD, m_ui, bDone));
    EXPECT_TRUE(bDone);
    EXPECT_NE(p.Pad.nPadLedEffect, 7);
    EXPECT_EQ(p.Ms.Mode[0].nRate, 0x77); // other families' regions stay
    EXPECT_EQ(GetWideField(p.szSound, PROFILE_SOUND_LEN), S().DefaultSoundPath());
    EXPECT_EQ(S().Dev(FAMILY_PAD)->Reset(), 1);

    for (int m = 0; m < MS_MODE_NUM; ++m)
        S().SetDpiLevel(m, 3);
    m_ui.dqYes = {true};
    m_var.ApplyNow = 1; // written even without the mouse
    EXPECT_TRUE(S().ResetFamily(FAMILY_MOUSE, m_ui, bDone));
    EXPECT_NE(p.Ms.Mode[0].nRate, 0x77);
    const int nDef = std::max(m_var.Dev.Ms.pSensorCfg()->DEFLEVEL, 0);
    for (int m = 0; m < MS_MODE_NUM; ++m)
        EXPECT_EQ(S().DpiLevel(m), nDef);
}

TEST_F(SessionTest, ModesFollowTheDeviceAndListenersHearEachChangeOnce) {
    S().LoadProfiles();
    AddModels(false);
    Profile& p = *S().Current();
    ASSERT_EQ(p.Ms.nMode, 0);
    m_heard.v.clear();

    S().SetDevMode(2);
    S().SetDevMode(2); // no change, nothing heard
    EXPECT_EQ(m_heard.Count(ESessionChange::DeviceState), 1);
    S().SyncMode();
    EXPECT_EQ(p.Ms.nMode, 1);
    ASSERT_EQ(m_heard.Count(ESessionChange::Mode), 1);
    S().SyncMode(); // already there
    EXPECT_EQ(m_heard.Count(ESessionChange::Mode), 1);

    S().SetDpiLevel(1, 4);
    S().SetDpiLevel(1, 4);
    S().SetDpiLevel(7, 1); // no such mode
    EXPECT_EQ(S().DpiLevel(1), 4);
    EXPECT_EQ(S().DpiLevel(7), -1);
    EXPECT_EQ(m_heard.Count(ESessionChange::DeviceState), 2);

    // The key-set switch goes to mode 1 first (it is there) and then shows the key set.
    m_heard.v.clear();
    S().SwitchKeySet(2);
    ASSERT_EQ(m_heard.v.size(), 1u);
    EXPECT_EQ(m_heard.v[0].eWhat, ESessionChange::KeySet);
    EXPECT_EQ(m_heard.v[0].nValue, 2);
    S().SwitchMode(0, false);
    S().SwitchKeySet(1);
    EXPECT_EQ(p.Ms.nMode, 1);
}

} // namespace
