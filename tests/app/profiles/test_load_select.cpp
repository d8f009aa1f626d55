// Loading the store once with its defaults and key presets, selecting a profile, the
// profile sound.
#include <cstring>

#include "ProfilesFixture.h"
#include "platform/FileLookup.h"

namespace {

bool SameKeys(const KeyAssign* a, const KeyAssign* b) {
    return std::memcmp(a, b, sizeof(KeyAssign) * MS_KEY_MAX) == 0;
}

TEST_F(CProfilesTest, EmptyStoreMakesProfileNumDefaultsWithPresetsByPosition) {
    ASSERT_EQ(m_var.ProfileNum, 5);
    Build();
    m_pOps->LoadProfiles();
    ASSERT_EQ(m_pState->proList.Count(), 5u);
    const std::string strBase = Txt("tc_proname");
    ASSERT_FALSE(strBase.empty());
    EXPECT_EQ(Names()[0], strBase + "1");
    EXPECT_EQ(Names()[4], strBase + "5");
    EXPECT_EQ(m_pState->Current(), m_pState->proList.List().Head());

    const KeyTables& keys = m_var.Dev.Keys;
    for (int i = 0; i < 4; ++i)
        for (int m = 0; m < MS_MODE_NUM; ++m)
            EXPECT_TRUE(SameKeys(m_pState->proList.List().At(i)->Ms.Mode[m].Keys[0],
                                 keys.ProPreset[i][m]))
                << "profile " << i << " mode " << m;
    // The presets differ from the defaults, so the fifth shows it kept its own keys.
    EXPECT_FALSE(SameKeys(keys.ProPreset[3][0], keys.MsDefKey[0]));
    EXPECT_TRUE(SameKeys(m_pState->proList.List().At(4)->Ms.Mode[0].Keys[0], keys.MsDefKey[0]));
    EXPECT_EQ(Log().With("ResetKey2:"), std::vector<std::string>({"ResetKey2: nIndex=4"}));
}

TEST_F(CProfilesTest, DefaultsNameTheSoundOnlyWhenTheFileExists) {
    for (bool bFile : {false, true}) {
        CTempDir dirProgram;
        if (bFile)
            dirProgram.Write("DrvSound.wav", "RIFF");
        auto pVar = std::make_unique<CGlobalVar>(m_var);
        pVar->szProgramDir = dirProgram.Path();
        CSession state(*pVar, m_macros, m_bullets);
        CFakeProfileView view;
        CProfileOps ops(state, view);
        ops.LoadProfiles();
        ASSERT_EQ(state.proList.Count(), 5u);
        EXPECT_EQ(GetWideField(state.Current()->szSound, PROFILE_SOUND_LEN),
                  bFile ? dirProgram.Path() + "DrvSound.wav" : "")
            << bFile;
    }
}

TEST_F(CProfilesTest, StoreWithoutCurrentIdKeepsLoadedProfilesAndAppendsDefaults) {
    WriteStore({"Mine A", "Mine B"}, false);
    Build();
    m_pOps->LoadProfiles();
    const std::vector<std::string> v = Names();
    ASSERT_EQ(v.size(), 7u);
    EXPECT_EQ(v[0], "Mine A");
    EXPECT_EQ(v[1], "Mine B");
    EXPECT_EQ(v[2], Txt("tc_proname") + "1");
    EXPECT_EQ(Names()[0], GetWideField(Cur().szName, PROFILE_NAME_LEN));
    // Positions 2..4 get presets 2 and 3, then 4 and more only log.
    EXPECT_TRUE(Log().Has("ResetKey2: nIndex=4"));
    EXPECT_TRUE(Log().Has("ResetKey2: nIndex=6"));
}

TEST_F(CProfilesTest, StoredIdSelectsItsProfileAndNoDefaultsAreMade) {
    CProList list(m_var);
    Profile a{}, b{};
    list.CreateDefault(a, "First");
    list.CreateDefault(b, "Second");
    list.AddCopy(a);
    list.SetCurrent(list.AddCopy(b));
    ASSERT_TRUE(list.Save());
    ASSERT_TRUE(list.WriteCurrentId());
    Build();
    m_pOps->LoadProfiles();
    EXPECT_EQ(Names(), std::vector<std::string>({"First", "Second"}));
    EXPECT_EQ(GetWideField(Cur().szName, PROFILE_NAME_LEN), "Second");
}

TEST_F(CProfilesTest, SelectingShowsTheProfileAndRefreshesTheWindow) {
    WriteStore({"One", "Two"}, true);
    Build();
    m_pOps->LoadProfiles();
    const uint32_t dwTwo = m_pState->proList.List().At(1)->dwId;
    m_view.nFamily = FAMILY_PAD;
    ASSERT_TRUE(m_pOps->SelectProfile(dwTwo));
    EXPECT_EQ(m_pState->Current(), m_pState->proList.List().At(1));
    EXPECT_EQ(m_view.strSelector, "Two");
    EXPECT_EQ(m_view.dwSelectorId, dwTwo);
    EXPECT_EQ(Log().With("Init UI Layout for 0x").size(), 1u);
    EXPECT_EQ(m_view.vModeButtons.back(), 0);
    EXPECT_TRUE(m_view.Called("reload0"));
    EXPECT_EQ(m_view.vCalls.back(), "family3");
    EXPECT_FALSE(m_pOps->SelectProfile(12345)); // unknown id: nothing changes
    EXPECT_EQ(m_pState->Current(), m_pState->proList.List().At(1));

    // The list menu hands the id back; picking the current profile again does nothing.
    const size_t nCalls = m_view.vCalls.size();
    m_pOps->OnMenu(dwTwo, PROFILE_MENU_LIST);
    EXPECT_EQ(m_view.vCalls.size(), nCalls);
    m_pOps->OnMenu(m_pState->proList.List().At(0)->dwId, PROFILE_MENU_LIST);
    EXPECT_EQ(m_view.strSelector, "One");
}

TEST_F(CProfilesTest, ShowPlaysTheProfileSoundOrTellsItIsMissing) {
    CTempDir dirSound;
    const std::string strWav = dirSound.Write("s.wav", "RIFF");
    struct {
        int nPlaySound;
        std::string strSound;
        size_t nPlayed, nMessages;
    } cases[] = {
        {1, strWav, 1, 0},
        {1, dirSound.Path() + "gone.wav", 0, 1},
        {0, strWav, 0, 0},
        {1, "", 0, 0},
    };
    Build();
    m_pOps->LoadProfiles(); // nothing is saved, so each round's Load(false) empties the list
    for (const auto& c : cases) {
        m_view.sound.vPlayed.clear();
        m_view.vMessages.clear();
        m_var.nPlaySound = c.nPlaySound;
        m_pState->proList.Load(false);
        Profile pro{};
        m_pState->proList.CreateDefault(pro, "S");
        SetWideField(pro.szSound, PROFILE_SOUND_LEN, c.strSound);
        m_pState->proList.SetCurrent(m_pState->proList.AddCopy(pro));
        m_pOps->OnShow();
        EXPECT_EQ(m_view.sound.vPlayed.size(), c.nPlayed) << c.strSound;
        ASSERT_EQ(m_view.vMessages.size(), c.nMessages) << c.strSound;
        if (c.nMessages) {
            EXPECT_EQ(m_view.vMessages[0], "Open file failed, " + c.strSound);
        }
    }
    // Options closed with OK while the sound is off stops it; the close button stops a named
    // sound while it is on.
    m_var.nPlaySound = 0;
    m_pOps->OnOptionsClosed(true);
    EXPECT_EQ(m_view.sound.nStops, 1);
    m_var.nPlaySound = 1;
    SetWideField(Cur().szSound, PROFILE_SOUND_LEN, strWav);
    m_pOps->OnOptionsClosed(true);
    EXPECT_EQ(m_view.sound.vPlayed.back(), strWav);
    m_pOps->OnCloseButton();
    EXPECT_EQ(m_view.sound.nStops, 2);
}

} // namespace
