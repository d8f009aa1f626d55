// The apply snapshot: which macros it copies, and that it shares nothing with the stores
// and the profile it was taken from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "device/hid/CurLevels.h"
#include "device/models/ApplySnapshot.h"

namespace {

StMacro Macro(uint32_t dwId, char16_t chName) {
    StMacro m{};
    m.dwMagic = MACRO_MAGIC;
    m.dwId = dwId;
    m.szName[0] = chName;
    m.Events[0] = {65, 0, 1, 10};
    return m;
}

std::vector<uint32_t> Ids(const CMacroStore& store) {
    std::vector<uint32_t> v;
    for (const StMacro& m : store.List())
        v.push_back(m.dwId);
    return v;
}

class ApplySnapshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (uint32_t dwId : {0x10u, 0x11u, 0x12u})
            m_macros.Add(Macro(dwId, u'M'));
        for (uint32_t dwId : {0x10u, 0x20u})
            m_bullets.Add(Macro(dwId, u'B'));
        m_pPro = std::make_unique<Profile>();
        m_pPro->dwId = 7;
    }
    static void Bind(KeyFun& kf, uint32_t nClass, uint32_t dwId) {
        kf.dwFun = MakeFun(nClass, 0);
        kf.dwMacroId = dwId;
    }
    CMacroStore m_macros, m_bullets;
    std::unique_ptr<Profile> m_pPro;
};

TEST_F(ApplySnapshotTest, CopiesTheMacrosTheKeysUse) {
    struct {
        const char* pszName;
        std::function<void(Profile&)> fnBind;
        std::vector<uint32_t> vMacros, vBullets;
    } kCases[] = {
        {"nothing bound", [](Profile&) {}, {}, {}},
        {"keyboard key", [](Profile& p) { Bind(p.Kb.KbKeys[0].Main, 5, 0x11); }, {0x11}, {}},
        {"last keyboard record, Fn function",
         [](Profile& p) { Bind(p.Kb.KbKeys[KB_PROFILE_KEYS - 1].Fn, 5, 0x12); },
         {0x12},
         {}},
        {"gesture",
         [](Profile& p) { Bind(p.Kb.Gest[KB_GEST_KEYS - 1].Main, 5, 0x10); },
         {0x10},
         {}},
        {"mouse key of the last set of the last mode",
         [](Profile& p) { Bind(p.Ms.Mode[2].Keys[4][20].Main, 5, 0x11); },
         {0x11},
         {}},
        // The same id is a bullet macro on a bullet key: only the bullet store is asked.
        {"bullet key",
         [](Profile& p) { Bind(p.Ms.Mode[1].Keys[0][3].Main, 12, 0x10); },
         {},
         {0x10}},
        {"one macro on two keys, a bullet beside it",
         [](Profile& p) {
             Bind(p.Ms.Mode[0].Keys[0][0].Main, 5, 0x12);
             Bind(p.Ms.Mode[1].Keys[0][0].Main, 5, 0x12);
             Bind(p.Ms.Mode[1].Keys[0][1].Main, 12, 0x20);
             Bind(p.Kb.KbKeys[3].Main, 5, 0x10);
         },
         {0x10, 0x12}, // keyboard keys are looked at before mouse keys
         {0x20}},
        // Ids missing from the store stay missing; other classes carry no macro.
        {"missing ids and other classes",
         [](Profile& p) {
             Bind(p.Ms.Mode[0].Keys[0][0].Main, 5, 0x99);
             Bind(p.Ms.Mode[0].Keys[0][1].Main, 12, 0x11);
             Bind(p.Ms.Mode[0].Keys[0][2].Main, 8, 0x12);
         },
         {},
         {}},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszName);
        auto pPro = std::make_unique<Profile>(*m_pPro);
        c.fnBind(*pPro);
        auto pSnap = MakeApplySnapshot(*pPro, m_macros, m_bullets);
        ASSERT_TRUE(pSnap);
        EXPECT_EQ(Ids(pSnap->Macros()), c.vMacros);
        EXPECT_EQ(Ids(pSnap->Bullets()), c.vBullets);
        EXPECT_EQ(std::memcmp(&pSnap->Pro(), pPro.get(), sizeof(Profile)), 0);
        EXPECT_TRUE(pSnap->Pointer().empty());
    }
}

TEST_F(ApplySnapshotTest, SharesNothingWithWhatItWasTakenFrom) {
    const int nLevels[3] = {g_nCurDpiLevel[0], g_nCurDpiLevel[1], g_nCurDpiLevel[2]};
    g_nCurDpiLevel[0] = 4;
    g_nCurDpiLevel[1] = -1;
    g_nCurDpiLevel[2] = 2;
    Bind(m_pPro->Ms.Mode[0].Keys[0][0].Main, 5, 0x11);
    Bind(m_pPro->Ms.Mode[0].Keys[0][1].Main, 12, 0x20);
    // A store may hold an id twice; the encoders take the first, and so does the copy.
    StMacro dup = Macro(0x11, u'X');
    m_macros.Add(dup);
    m_macros.Find(0x11)->byBufferId = 3;
    auto pSnap = MakeApplySnapshot(*m_pPro, m_macros, m_bullets);
    ASSERT_TRUE(pSnap);
    ASSERT_EQ(pSnap->Macros().Count(), 1u);
    const StMacro* pCopy = pSnap->Macros().Find(0x11);
    ASSERT_NE(pCopy, nullptr);
    EXPECT_NE(pCopy, m_macros.Find(0x11));
    EXPECT_EQ(std::memcmp(pCopy, m_macros.Find(0x11), sizeof(StMacro)), 0);

    // The window thread edits, renames and deletes after the snapshot was taken.
    m_macros.Find(0x11)->szName[0] = u'Z';
    m_macros.Find(0x11)->Events[0].dwDelay = 999;
    ASSERT_TRUE(m_macros.Remove(0x11));
    ASSERT_TRUE(m_bullets.Remove(0x20));
    m_pPro->Ms.Mode[0].Keys[0][0].Main.dwMacroId = 0x12;
    const StMacro kept = *pSnap->Macros().Find(0x11); // a copy: the record is packed
    EXPECT_EQ(char16_t(kept.szName[0]), u'M');
    EXPECT_EQ(uint32_t(kept.Events[0].dwDelay), 10u);
    EXPECT_EQ(kept.byBufferId, 3);
    EXPECT_NE(pSnap->Bullets().Find(0x20), nullptr);
    const KeyFun kf = pSnap->Pro().Ms.Mode[0].Keys[0][0].Main;
    EXPECT_EQ(uint32_t(kf.dwMacroId), 0x11u);

    // The mouse reports other levels later.
    g_nCurDpiLevel[0] = 0;
    EXPECT_EQ(pSnap->CurDpiLevel(0), 4);
    EXPECT_EQ(pSnap->CurDpiLevel(1), -1);
    EXPECT_EQ(pSnap->CurDpiLevel(2), 2);
    for (int m = 0; m < 3; ++m)
        g_nCurDpiLevel[m] = nLevels[m];

    // Numbers written into the snapshot stay there.
    pSnap->Stores().Macros.Find(0x11)->byBufferId = 9;
    EXPECT_EQ(m_macros.Find(0x11)->byBufferId, 0); // the duplicate, now the first
}

} // namespace
