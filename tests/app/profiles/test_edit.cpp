// New, delete and rename, and the two profile menus.
#include "ProfilesFixture.h"
#include "widgets/menuex/MenuEx.h"

namespace {

class CEditTest : public CProfilesTest {
protected:
    void SetUp() override {
        WriteStore({"Alpha", "Beta"}, true);
        Build();
        m_pOps->LoadProfiles();
        ASSERT_EQ(Names(), std::vector<std::string>({"Alpha", "Beta"}));
        std::remove(m_pState->proList.ProFilePath().c_str());
    }
};

TEST_F(CEditTest, NewProfileIsAddedSelectedAndSaved) {
    m_view.dqInput = {"Gamma"};
    m_pOps->OnNewProfile();
    EXPECT_EQ(Names(), std::vector<std::string>({"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(m_pState->Current(), m_pState->proList.List().At(2));
    EXPECT_EQ(m_view.strSelector, "Gamma");
    EXPECT_EQ(m_view.vMessages, std::vector<std::string>({Txt("tc_msg3")}));
    EXPECT_TRUE(Saved());
    EXPECT_EQ(m_pState->proList.ReadCurrentId(), Cur().dwId);
    EXPECT_TRUE(BusyBalanced());
    EXPECT_TRUE(m_view.vBusyAtBox.empty());
}

TEST_F(CEditTest, NewProfileRefusals) {
    struct {
        const char* pszName; // "" cancels
        std::string strMessage;
    } cases[] = {
        {"bETA", Txt("tc_msg20")},
        {"", ""}, // cancelled
    };
    for (const auto& c : cases) {
        m_view.vMessages.clear();
        m_view.vBusy.clear();
        m_view.dqInput = {c.pszName};
        m_pOps->OnNewProfile();
        EXPECT_EQ(Names().size(), 2u) << c.pszName;
        EXPECT_EQ(m_view.vMessages.back(), c.strMessage.empty() ? Txt("tc_msg3") : c.strMessage);
        EXPECT_TRUE(BusyBalanced()) << c.pszName;
        EXPECT_FALSE(Saved());
    }
}

TEST_F(CEditTest, NamesAreComparedAsStored) {
    m_view.dqInput = {"Nineteen characters", "NINETEEN CHARACTERS and more"};
    m_pOps->OnNewProfile();
    m_pOps->OnNewProfile();
    EXPECT_EQ(Names().size(), 3u);
    EXPECT_EQ(m_view.vMessages.back(), Txt("tc_msg20"));
}

TEST_F(CEditTest, TwelveProfilesAreTheLimit) {
    for (int i = 3; i <= 12; ++i) {
        m_view.dqInput = {"P" + std::to_string(i)};
        m_pOps->OnNewProfile();
    }
    ASSERT_EQ(Names().size(), 12u);
    m_view.vMessages.clear();
    m_view.vBusy.clear();
    m_view.dqInput = {"P13"};
    m_pOps->OnNewProfile();
    EXPECT_EQ(Names().size(), 12u);
    EXPECT_EQ(m_view.vMessages,
              std::vector<std::string>({"The number of profile has reached it's maximum"}));
    EXPECT_TRUE(m_view.vBusy.empty());
    EXPECT_EQ(m_view.dqInput.size(), 1u); // no box was shown
}

TEST_F(CEditTest, DeleteAsksRemovesTheCurrentAndSelectsTheFirst) {
    m_pOps->SelectProfile(m_pState->proList.List().At(1)->dwId);
    m_view.dqConfirm = {false, true};
    m_pOps->OnDeleteProfile(); // declined
    EXPECT_EQ(Names().size(), 2u);
    EXPECT_FALSE(Saved());
    m_pOps->OnDeleteProfile();
    EXPECT_EQ(Names(), std::vector<std::string>({"Alpha"}));
    EXPECT_EQ(m_view.strSelector, "Alpha");
    EXPECT_EQ(m_view.vMessages.back(), Txt("tc_msg6"));
    EXPECT_TRUE(Saved());
    EXPECT_EQ(m_pState->proList.ReadCurrentId(), Cur().dwId);

    // The last profile stays.
    m_pOps->OnDeleteProfile();
    EXPECT_EQ(Names(), std::vector<std::string>({"Alpha"}));
    EXPECT_EQ(m_view.vMessages.back(), Txt("tc_msg8"));
    EXPECT_TRUE(BusyBalanced());
}

TEST_F(CEditTest, RenameCutsTheNameAndDoesNotSave) {
    m_view.dqInput = {"", "A rather long new profile name"};
    m_pOps->OnMenu(PROMENU_RENAME, PROFILE_MENU_ACTIONS); // cancelled
    EXPECT_EQ(Names()[0], "Alpha");
    m_pOps->OnMenu(PROMENU_RENAME, PROFILE_MENU_ACTIONS);
    EXPECT_EQ(Names()[0], "A rather long new p");
    EXPECT_EQ(m_view.strSelector, "A rather long new p");
    EXPECT_FALSE(Saved());
    EXPECT_TRUE(BusyBalanced());
}

TEST_F(CEditTest, MenuEntries) {
    const std::vector<MenuEntry> vList = m_pOps->ProfileListEntries();
    ASSERT_EQ(vList.size(), 2u);
    EXPECT_EQ(vList[1].dwItemId, m_pState->proList.List().At(1)->dwId);
    EXPECT_EQ(MenuEntryText(vList[1]), "Beta");
    EXPECT_EQ(vList[0].nParent, kMenuTopLevel);

    auto Ids = [&] {
        std::vector<uint32_t> v;
        for (const MenuEntry& e : m_pOps->ProfileMenuEntries())
            v.push_back(e.dwItemId);
        return v;
    };
    ASSERT_GE(m_var.MsFw & 0xFF, 16);
    EXPECT_EQ(Ids(), std::vector<uint32_t>({3, 4, 5, 6, 7}));
    m_var.MsFw = 0x0F; // no key configuration files for older mice
    EXPECT_EQ(Ids(), std::vector<uint32_t>({3, 4, 7}));

    // The menus open through the skinned-menu library at the button.
    m_pOps->OnMenuButton();
    EXPECT_NE(MenuExCurrent(), nullptr);
    DestroyMenuEx();
}

TEST_F(CEditTest, ProfileListMenuShowsAtMostFiftyEntries) {
    Profile pro{};
    m_pState->proList.CreateDefault(pro, "x");
    for (int i = 0; i < 60; ++i) {
        pro.dwId = 1000 + i;
        m_pState->proList.AddCopy(pro);
    }
    const std::vector<MenuEntry> v = m_pOps->ProfileListEntries();
    ASSERT_EQ(v.size(), 50u);
    EXPECT_EQ(v[49].dwItemId, 1047u);
}

TEST_F(CEditTest, ExportAndImportAProfileThroughTheMenu) {
    CTempDir dirOut;
    m_chooser.strAnswer = dirOut.Path() + "Saved.bkm";
    m_pOps->OnMenu(PROMENU_EXPORT_PROFILE, PROFILE_MENU_ACTIONS);
    EXPECT_EQ(m_chooser.vProposed.back(), "Alpha.bkm");
    ASSERT_TRUE(FileLookup::Exists(m_chooser.strAnswer));

    m_pOps->OnMenu(PROMENU_IMPORT_PROFILE, PROFILE_MENU_ACTIONS);
    EXPECT_EQ(Names(), std::vector<std::string>({"Alpha", "Beta", "Saved"}));
    EXPECT_EQ(m_view.strSelector, "Saved");
    EXPECT_TRUE(Saved());
    // Its name is taken now: a second import is refused with the box.
    m_pOps->OnMenu(PROMENU_IMPORT_PROFILE, PROFILE_MENU_ACTIONS);
    EXPECT_EQ(Names().size(), 3u);
    EXPECT_EQ(m_view.vMessages.back(), Txt("tc_msg20"));
    EXPECT_TRUE(BusyBalanced());
}

TEST_F(CEditTest, ImportIsRefusedWhenTheStoreFileIsFull) {
    Profile pro{};
    m_pState->proList.CreateDefault(pro, "x");
    for (int i = 0; i < 10; ++i) {
        pro.dwId = 1000 + i;
        m_pState->proList.AddCopy(pro);
    }
    m_chooser.strAnswer = "/nonexistent.bkm";
    m_pOps->ImportProfile();
    EXPECT_TRUE(m_chooser.vProposed.empty());
    EXPECT_EQ(m_view.vMessages.back(), "The number of profile has reached it's maximum");
}

} // namespace
