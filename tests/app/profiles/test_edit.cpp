// The entries of the two profile menus. New, delete, rename, export and import are worked
// through the window's buttons and menus in tests/app/test_main_window_profiles.cpp.
#include "ProfilesFixture.h"

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

} // namespace
