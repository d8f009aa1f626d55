// Exported profiles (.bkm): macro collection, round trips, refusals, the "no" answer.
#include <gtest/gtest.h>

#include <memory>

#include "StorageTestUtil.h"
#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "platform/FileLookup.h"
#include "storage/MacroFile.h"
#include "storage/MacroFolders.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileId.h"
#include "storage/WideField.h"
#include "support/FakeClock.h"
#include "support/TestDirs.h"

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    ProfileFileTest() {
        m_var.szProgramDir = m_prog.Path();
        m_var.szUserDataDir = m_data.Path();
        m_var.MsFw = 0x10;
        m_var.MacroHasMsKey = 0x7F;
        for (int m = 0; m < 3; ++m)
            for (int k = 0; k < 21; ++k)
                m_var.Dev.Keys.MsDefKey[m][k].Main.dwFun = MakeFun(1, 0x100 + m * 32 + k);
        m_pProfile = NewProfile(0x777, "Exported");
        g_Text.LoadFromBytes(kTexts, std::strlen(kTexts));
    }
    ~ProfileFileTest() override { g_Text.Clear(); }
    static std::unique_ptr<Profile> NewProfile(uint32_t dwId, const std::string& strName) {
        auto p = std::make_unique<Profile>();
        std::memset(p.get(), 0, sizeof(Profile));
        p->dwMagic = PROFILE_MAGIC;
        p->dwId = dwId;
        SetWideField(p->szName, PROFILE_NAME_LEN, strName);
        return p;
    }
    static StMacro Macro(uint32_t dwId, const std::string& strName) {
        StMacro m;
        std::memset(&m, 0, sizeof(m));
        m.dwMagic = MACRO_MAGIC;
        m.dwId = dwId;
        m.dwDirty = MACRO_DIRTY_BITS;
        m.wLoopCount = 1;
        SetMacroName(m, strName);
        m.Events[0] = {0x41, 0, 1, 10};
        return m;
    }
    static void Bind(KeyAssign& ka, uint32_t nClass, uint32_t dwId) {
        ka.Main.dwFun = MakeFun(nClass, 0);
        ka.Main.dwMacroId = dwId;
    }
    std::vector<StMacro> Slots(const std::vector<uint8_t>& v) {
        std::vector<StMacro> vOut;
        for (int i = 0; i < BKM_MACRO_SLOTS; ++i) {
            const uint8_t* p = v.data() + 56256 + i * 1480;
            if (ReadU32(p) == 0)
                continue;
            StMacro m;
            EXPECT_TRUE(DecodeMacroBytes(p, 1480, EMacroForm::Enciphered, m));
            vOut.push_back(m);
        }
        return vOut;
    }
    std::string Export(const std::string& strName) {
        CProList store(m_var);
        store.SetCurrent(store.AddCopy(*m_pProfile));
        std::string strPath = m_prog.Path() + strName;
        EXPECT_TRUE(ExportProfile(store, m_var, m_macros, m_bullets, strPath, m_ui));
        return strPath;
    }

    static constexpr const char* kTexts =
        "<?xml version=\"1.0\"?><root><config><tc_msg20>Name in use</tc_msg20>"
        "<tc_macro_msg8>Exists:</tc_macro_msg8><tc_macro_msg35>replace?</tc_macro_msg35>"
        "</config></root>";
    CFakeClock m_clock;
    CTempDir m_prog, m_data;
    CGlobalVar m_var;
    CMacroStore m_macros{MACRO_STORE_MAX}, m_bullets;
    CScriptedUi m_ui;
    std::unique_ptr<Profile> m_pProfile;
};

// Each macro once, mouse keys (mode, key set, key) before keyboard keys, classes 5 and 12
// from their stores, keyboard keys only class 5, unknown ids skipped.
TEST_F(ProfileFileTest, CollectionOrderAndClasses) {
    m_macros.Add(Macro(1, "m1"));
    m_macros.Add(Macro(2, "m2"));
    m_macros.Add(Macro(3, "kb"));
    m_bullets.Add(Macro(4, "b4"));
    m_bullets.Add(Macro(3, "bullet with the id of a macro"));
    Bind(m_pProfile->Kb.KbKeys[0], 5, 3);
    Bind(m_pProfile->Kb.KbKeys[1], 12, 4); // keyboard bullet: not collected
    Bind(m_pProfile->Ms.Mode[2].Keys[4][20], 5, 2);
    Bind(m_pProfile->Ms.Mode[0].Keys[1][0], 12, 4);
    Bind(m_pProfile->Ms.Mode[0].Keys[0][5], 5, 1);
    Bind(m_pProfile->Ms.Mode[1].Keys[0][0], 5, 1);  // same macro again
    Bind(m_pProfile->Ms.Mode[1].Keys[0][1], 5, 99); // not in the store
    auto v = BuildProfileFile(*m_pProfile, true, m_macros, m_bullets);
    ASSERT_EQ(v.size(), 85856u);
    EXPECT_EQ(std::vector<uint8_t>(v.begin(), v.begin() + 56256), BytesOf(*m_pProfile));
    auto vSlots = Slots(v);
    ASSERT_EQ(vSlots.size(), 4u);
    uint32_t kIds[] = {1, 4, 2, 3};
    uint8_t kClass[] = {5, 12, 5, 5};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(vSlots[i].dwId, kIds[i]);
        EXPECT_EQ(vSlots[i].byBufferId, kClass[i]);
        EXPECT_EQ(vSlots[i].dwDirty, 0u);
    }
    // Without the mouse family only the keyboard's macros.
    auto vKb = Slots(BuildProfileFile(*m_pProfile, false, m_macros, m_bullets));
    ASSERT_EQ(vKb.size(), 1u);
    EXPECT_EQ(vKb[0].dwId, 3u);
}

TEST_F(ProfileFileTest, AtMostTwentyMacros) {
    for (uint32_t i = 0; i < 25; ++i) {
        m_macros.Add(Macro(100 + i, "m" + std::to_string(i)));
        Bind(m_pProfile->Ms.Mode[i / 21].Keys[0][i % 21], 5, 100 + i);
    }
    auto vSlots = Slots(BuildProfileFile(*m_pProfile, true, m_macros, m_bullets));
    ASSERT_EQ(vSlots.size(), 20u);
    EXPECT_EQ(vSlots[19].dwId, 119u);
}

// Export, then import on a clean installation: the macros land in Mac/<title>/ and
// BMac/<title>/, keys are renumbered to the new ids, the profile gets a new id and the
// file title as its name and becomes current.
TEST_F(ProfileFileTest, RoundTrip) {
    m_macros.Add(Macro(1, "Combo"));
    m_bullets.Add(Macro(2, "Spray"));
    Bind(m_pProfile->Ms.Mode[0].Keys[0][3], 5, 1);
    Bind(m_pProfile->Ms.Mode[2].Keys[4][7], 12, 2);
    Bind(m_pProfile->Kb.KbKeys[10], 5, 1);
    std::string strPath = Export("My Setup.bkm");

    CMacroStore macros, bullets;
    CProList store(m_var);
    store.SetCurrent(store.AddCopy(*NewProfile(5, "Other")));
    m_clock.SetLocal({2026, 1, 1, 3, 4, 5, 6});
    Profile* p = ImportProfile(store, m_var, macros, bullets, strPath, m_ui);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(m_ui.m_vMessages.empty());
    EXPECT_TRUE(m_ui.m_vQuestions.empty());
    uint32_t dwNewMacro = (3u << 20) | (4u << 14) | (5u << 8) | 6u;
    // Each copy its own id: the clock stands still here, so the second is the first + 1.
    EXPECT_EQ(p->Ms.Mode[0].Keys[0][3].Main.dwMacroId, dwNewMacro);
    EXPECT_EQ(p->Ms.Mode[2].Keys[4][7].Main.dwMacroId, dwNewMacro + 1);
    EXPECT_EQ(p->Kb.KbKeys[10].Main.dwMacroId, 1u); // keyboard keys keep their ids
    EXPECT_EQ(p->dwId, ProfileIdFromTime({2026, 1, 1, 3, 4, 5, 6}));
    EXPECT_EQ(GetWideField(p->szName, PROFILE_NAME_LEN), "My Setup");
    EXPECT_EQ(store.Current(), p);
    EXPECT_EQ(store.Count(), 2u);

    MacroFolderPaths paths = GetMacroFolders(m_var);
    StMacro out;
    ASSERT_EQ(
        ReadMacroFile(paths.strMac + "/My Setup/Combo.mcf", EMacroForm::Enciphered, 0x7F, out),
        EMacroRead::Ok);
    EXPECT_EQ(out.dwId, dwNewMacro);
    EXPECT_EQ(out.byBufferId, 0);
    EXPECT_EQ(out.dwDirty, 0u);
    EXPECT_TRUE(FileLookup::Exists(paths.strBMac + "/My Setup/Spray.mcb"));
    ASSERT_EQ(macros.Count(), 1u);
    ASSERT_EQ(bullets.Count(), 1u);
    EXPECT_EQ(MacroName(*bullets.List().At(0)), "Spray");

    // Saved as the program does: pro.dct and curid.dct.
    CProList reloaded(m_var);
    EXPECT_EQ(reloaded.Load(), 2);
    EXPECT_EQ(reloaded.ReadCurrentId(), p->dwId);

    // The same file again: its title is now a profile name (in any letter case).
    EXPECT_EQ(ImportProfile(store, m_var, macros, bullets, m_prog.Path() + "MY SETUP.bkm", m_ui),
              nullptr);
    EXPECT_EQ(m_ui.m_vMessages, std::vector<std::string>{"Name in use"});
    EXPECT_EQ(store.Count(), 2u);
}

// Answered "no": the existing file stays as it was, and the keys that used the macro go
// back to the default key table's entry.
TEST_F(ProfileFileTest, NoAnswerKeepsExistingFile) {
    m_macros.Add(Macro(1, "Combo"));
    Bind(m_pProfile->Ms.Mode[1].Keys[2][4], 5, 1);
    Bind(m_pProfile->Ms.Mode[1].Keys[3][4], 5, 77); // another macro, not in the file
    std::string strPath = Export("Shared.bkm");
    MacroFolderPaths paths = GetMacroFolders(m_var);
    std::string strExisting = paths.strMac + "/Shared/Combo.mcf";
    m_data.Write("Mac/Shared/Combo.mcf", "the user's own file");

    for (bool bAnswer : {false, true}) {
        SCOPED_TRACE(bAnswer);
        CProList store(m_var);
        CMacroStore macros, bullets;
        m_ui = CScriptedUi();
        m_ui.m_bAnswer = bAnswer;
        Profile* p = ImportProfile(store, m_var, macros, bullets, strPath, m_ui);
        ASSERT_NE(p, nullptr);
        ASSERT_EQ(m_ui.m_vQuestions.size(), 1u);
        EXPECT_EQ(m_ui.m_vQuestions[0], "Exists:  Combo,  replace?");
        const KeyAssign& ka = p->Ms.Mode[1].Keys[2][4];
        if (!bAnswer) {
            EXPECT_EQ(m_data.Read("Mac/Shared/Combo.mcf"), "the user's own file");
            EXPECT_EQ(BytesOf(ka), BytesOf(m_var.Dev.Keys.MsDefKey[1][4]));
            EXPECT_EQ(macros.Count(), 0u);
        } else {
            StMacro out;
            EXPECT_EQ(ReadMacroFile(strExisting, EMacroForm::Enciphered, 0x7F, out),
                      EMacroRead::Ok);
            EXPECT_EQ(ka.Main.dwMacroId, out.dwId);
            EXPECT_EQ(macros.Count(), 1u);
        }
        EXPECT_EQ(p->Ms.Mode[1].Keys[3][4].Main.dwMacroId, 77u);
    }
}

TEST_F(ProfileFileTest, RefusedFiles) {
    std::string strGood = Export("good.bkm");
    auto vGood = *FileLookup::ReadAll(strGood);
    auto vShort = vGood;
    vShort.pop_back();
    auto vBadMagic = vGood;
    vBadMagic[4] ^= 1;
    auto vIdZero = vGood;
    std::memset(vIdZero.data() + 8, 0, 4);
    struct {
        const char* pszFile;
        std::vector<uint8_t> vData;
        const char* pszMessage;
    } kCases[] = {
        {"short.bkm", vShort, "Check profile failed."},
        {"long.bkm", std::vector<uint8_t>(85857, 0), "Check profile failed."},
        {"magic.bkm", vBadMagic, "This is not a valid profile"},
        {"idzero.bkm", vIdZero, "This is not a valid profile"},
        {"missing.bkm", {}, "Open profile failed"},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszFile);
        std::string strPath = m_prog.Path() + c.pszFile;
        if (!c.vData.empty())
            FileLookup::WriteAtomic(strPath, c.vData.data(), c.vData.size());
        CProList store(m_var);
        CMacroStore macros, bullets;
        m_ui = CScriptedUi();
        EXPECT_EQ(ImportProfile(store, m_var, macros, bullets, strPath, m_ui), nullptr);
        EXPECT_EQ(m_ui.m_vMessages, std::vector<std::string>{c.pszMessage});
        EXPECT_EQ(store.Count(), 0u);
        EXPECT_FALSE(FileLookup::Exists(store.ProFilePath()));
    }
}

// Twelve profiles fill pro.dct; a thirteenth would be lost at the next start.
TEST_F(ProfileFileTest, TwelveProfilesRefuseImport) {
    std::string strPath = Export("extra.bkm");
    CProList store(m_var);
    for (uint32_t i = 1; i <= 12; ++i)
        store.AddCopy(*NewProfile(i, "p" + std::to_string(i)));
    CMacroStore macros, bullets;
    EXPECT_EQ(ImportProfile(store, m_var, macros, bullets, strPath, m_ui), nullptr);
    EXPECT_EQ(m_ui.m_vMessages,
              std::vector<std::string>{"The number of profile has reached it's maximum"});
    EXPECT_EQ(store.Count(), 12u);
}

// Slots that do not decode are skipped; names from the file cannot leave the macro folder.
TEST_F(ProfileFileTest, HostileNamesAndBadSlots) {
    m_macros.Add(Macro(1, "../../escape"));
    m_macros.Add(Macro(2, "sub\\dir"));
    Bind(m_pProfile->Ms.Mode[0].Keys[0][0], 5, 1);
    Bind(m_pProfile->Ms.Mode[0].Keys[0][1], 5, 2);
    auto v = BuildProfileFile(*m_pProfile, true, m_macros, m_bullets);
    std::memset(v.data() + 56256 + 2 * 1480, 0x5A, 1480); // a junk third slot
    std::string strPath = m_prog.Path() + "..bkm";
    FileLookup::WriteAtomic(strPath, v.data(), v.size());
    CProList store(m_var);
    CMacroStore macros, bullets;
    ASSERT_NE(ImportProfile(store, m_var, macros, bullets, strPath, m_ui), nullptr);
    EXPECT_EQ(macros.Count(), 2u);
    MacroFolderPaths paths = GetMacroFolders(m_var);
    // File title "." becomes "_".
    EXPECT_TRUE(FileLookup::Exists(paths.strMac + "/_/___.._escape.mcf"));
    EXPECT_TRUE(FileLookup::Exists(paths.strMac + "/_/sub_dir.mcf"));
    EXPECT_FALSE(FileLookup::Exists(m_data.Path() + "escape.mcf"));
}

TEST_F(ProfileFileTest, ExportFailureIsReported) {
    CProList store(m_var);
    EXPECT_FALSE(ExportProfile(store, m_var, m_macros, m_bullets, m_prog.Path() + "x.bkm", m_ui));
    EXPECT_TRUE(m_ui.m_vMessages.empty()); // no current profile: nothing happens
    store.SetCurrent(store.AddCopy(*m_pProfile));
    m_prog.Write("file", "x");
    EXPECT_FALSE(
        ExportProfile(store, m_var, m_macros, m_bullets, m_prog.Path() + "file/x.bkm", m_ui));
    EXPECT_EQ(m_ui.m_vMessages, std::vector<std::string>{"Create profile failed."});
}

} // namespace
