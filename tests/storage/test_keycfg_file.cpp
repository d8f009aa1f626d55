// Key configuration files (.kyg) and keycfg.kyg at start-up.
#include <gtest/gtest.h>

#include <memory>

#include "StorageTestUtil.h"
#include "config/Log.h"
#include "config/Startup.h"
#include "platform/FileLookup.h"
#include "platform/MessageBox.h"
#include "storage/KeyCfgFile.h"
#include "storage/MacroFile.h"
#include "storage/MacroFolders.h"
#include "storage/ProfileFile.h"
#include "storage/WideField.h"
#include "support/FakeClock.h"
#include "support/TestDirs.h"

namespace {

class KeyCfgTest : public ::testing::Test {
protected:
    KeyCfgTest() {
        m_var.szProgramDir = m_prog.Path();
        m_var.szUserDataDir = m_data.Path();
        m_var.MsFw = 0x10;
        m_var.Dev.Ms.nSensorCfgIndex = 0; // a sensor description, so default keys are built
        m_pProfile = std::make_unique<Profile>();
        std::memset(m_pProfile.get(), 0, sizeof(Profile));
        m_pProfile->dwMagic = PROFILE_MAGIC;
        m_pProfile->dwId = 1;
        for (int m = 0; m < 3; ++m)
            for (int s = 0; s < 5; ++s)
                for (int k = 0; k < 21; ++k)
                    m_pProfile->Ms.Mode[m].Keys[s][k].Main.dwFun = MakeFun(1, s * 100 + k);
    }
    static StMacro Macro(uint32_t dwId, const std::string& strName) {
        StMacro m;
        std::memset(&m, 0, sizeof(m));
        m.dwMagic = MACRO_MAGIC;
        m.dwId = dwId;
        m.wLoopCount = 1;
        SetMacroName(m, strName);
        return m;
    }
    void Bind(int nMode, int nKey, uint32_t nClass, uint32_t dwId) {
        KeyFun& kf = m_pProfile->Ms.Mode[nMode].Keys[0][nKey].Main;
        kf.dwFun = MakeFun(nClass, 0);
        kf.dwMacroId = dwId;
    }
    const KeyAssign* KeyBlock(const std::vector<uint8_t>& v) {
        return reinterpret_cast<const KeyAssign*>(v.data() + 22204);
    }
    StMacro Slot(const std::vector<uint8_t>& v, int i) {
        StMacro m;
        std::memset(&m, 0, sizeof(m));
        DecodeMacroBytes(v.data() + 4 + i * 1480, 1480, EMacroForm::Enciphered, m);
        return m;
    }

    CFakeClock m_clock;
    CTempDir m_prog, m_data;
    CGlobalVar m_var;
    CMacroStore m_macros{MACRO_STORE_MAX}, m_bullets;
    CScriptedUi m_ui;
    std::unique_ptr<Profile> m_pProfile;
};

// Key set 0 of each mode; every key that names a known macro gets its own copy under a new
// id, even when two keys share the macro.
TEST_F(KeyCfgTest, ExportCopiesMacrosPerKey) {
    m_macros.Add(Macro(7, "Shared"));
    m_bullets.Add(Macro(8, "Recoil"));
    Bind(0, 2, 5, 7);
    Bind(1, 0, 12, 8);
    Bind(2, 20, 5, 7);
    Bind(2, 19, 5, 99); // unknown: keeps its id
    auto v = BuildKeyCfgFile(*m_pProfile, m_macros, m_bullets);
    ASSERT_EQ(v.size(), 27748u);
    EXPECT_EQ(ReadU32(v.data()), 0x8948EE01u);
    const KeyAssign* pKeys = KeyBlock(v);
    EXPECT_EQ(pKeys[0 * 21 + 5].Main.dwFun, MakeFun(1, 5)); // key set 0 only
    EXPECT_EQ(pKeys[2 * 21 + 19].Main.dwMacroId, 99u);
    StMacro s0 = Slot(v, 0), s1 = Slot(v, 1), s2 = Slot(v, 2);
    EXPECT_EQ(MacroName(s0), "Shared");
    EXPECT_EQ(s0.byBufferId, 5);
    EXPECT_EQ(MacroName(s1), "Recoil");
    EXPECT_EQ(s1.byBufferId, 12);
    EXPECT_EQ(MacroName(s2), "Shared");
    EXPECT_EQ(pKeys[0 * 21 + 2].Main.dwMacroId, s0.dwId);
    EXPECT_EQ(pKeys[1 * 21 + 0].Main.dwMacroId, s1.dwId);
    EXPECT_EQ(pKeys[2 * 21 + 20].Main.dwMacroId, s2.dwId);
    EXPECT_EQ(ReadU32(v.data() + 4 + 3 * 1480), 0u);
    // A new id per copy, no two alike even on a clock that stands still; the profile itself
    // is not changed.
    EXPECT_NE(s0.dwId, s1.dwId);
    EXPECT_NE(s1.dwId, s2.dwId);
    EXPECT_NE(s0.dwId, s2.dwId);
    EXPECT_EQ(m_pProfile->Ms.Mode[0].Keys[0][2].Main.dwMacroId, 7u);
}

TEST_F(KeyCfgTest, AtMostFifteenMacros) {
    for (int k = 0; k < 18; ++k) {
        m_macros.Add(Macro(100 + k, "m" + std::to_string(k)));
        Bind(k / 21, k % 21, 5, 100 + k);
    }
    auto v = BuildKeyCfgFile(*m_pProfile, m_macros, m_bullets);
    EXPECT_EQ(MacroName(Slot(v, 14)), "m14");
    const KeyAssign* pKeys = KeyBlock(v);
    EXPECT_EQ(pKeys[15].Main.dwMacroId, 115u); // beyond the 15th: old id
    EXPECT_EQ(pKeys[17].Main.dwMacroId, 117u);
}

// Import: presets in OrgMac, the file as keycfg.kyg, its keys as the default table and the
// current profile's mouse region rebuilt from them, the store saved.
TEST_F(KeyCfgTest, ImportRoundTrip) {
    m_macros.Add(Macro(7, "Shared"));
    m_bullets.Add(Macro(8, "Recoil"));
    Bind(0, 2, 5, 7);
    Bind(1, 0, 12, 8);
    Bind(2, 20, 5, 7);
    CProList src(m_var);
    src.SetCurrent(src.AddCopy(*m_pProfile));
    std::string strPath = m_prog.Path() + "keys.kyg";
    ASSERT_TRUE(ExportKeyCfg(src, m_macros, m_bullets, strPath, m_ui));
    auto vFile = *FileLookup::ReadAll(strPath);

    CProList store(m_var);
    auto pOther = std::make_unique<Profile>();
    std::memset(pOther.get(), 0, sizeof(Profile));
    pOther->dwMagic = PROFILE_MAGIC;
    pOther->dwId = 2;
    store.SetCurrent(store.AddCopy(*pOther));
    CMacroStore macros, bullets;
    ASSERT_TRUE(ImportKeyCfg(store, m_var, macros, bullets, strPath, m_ui));
    EXPECT_TRUE(m_ui.m_vMessages.empty());
    // Two slots of one name: both in the store, one file on disk.
    EXPECT_EQ(macros.Count(), 2u);
    EXPECT_EQ(bullets.Count(), 1u);
    MacroFolderPaths paths = GetMacroFolders(m_var);
    StMacro out;
    ASSERT_EQ(ReadMacroFile(paths.strOrgMac + "/Shared.mcf", EMacroForm::Enciphered, 0x7F, out),
              EMacroRead::Ok);
    EXPECT_EQ(out.dwId, Slot(vFile, 2).dwId); // the second replaced the first
    EXPECT_EQ(out.byBufferId, 0);
    EXPECT_TRUE(FileLookup::Exists(paths.strOrgMac + "/Recoil.mcb"));
    EXPECT_EQ(FileLookup::ReadAll(m_data.Path() + "keycfg.kyg"), vFile);

    const KeyAssign* pKeys = KeyBlock(vFile);
    EXPECT_EQ(m_var.Dev.Keys.MsDefKey[1][0].Main.dwMacroId, pKeys[21].Main.dwMacroId);
    EXPECT_EQ(m_var.Dev.Keys.MsDefKey[0][3].Main.dwFun, MakeFun(1, 3));
    const Profile* pCur = store.Current();
    for (int s = 0; s < 5; ++s)
        EXPECT_EQ(pCur->Ms.Mode[1].Keys[s][0].Main.dwMacroId, pKeys[21].Main.dwMacroId);
    CProList reloaded(m_var);
    ASSERT_EQ(reloaded.Load(), 1);
    EXPECT_EQ(reloaded.List().At(0)->Ms.Mode[2].Keys[3][20].Main.dwMacroId,
              pKeys[2 * 21 + 20].Main.dwMacroId);
}

TEST_F(KeyCfgTest, ImportRefusals) {
    CProList store(m_var);
    store.SetCurrent(store.AddCopy(*m_pProfile));
    std::vector<uint8_t> vBadMagic(27748, 0);
    std::vector<uint8_t> vShort(27747, 0);
    vShort[0] = 0x01, vShort[1] = 0xEE, vShort[2] = 0x48, vShort[3] = 0x89;
    struct {
        const char* pszFile;
        std::vector<uint8_t> vData;
        const char* pszMessage;
    } kCases[] = {
        {"missing.kyg", {}, "Open keycfg failed"},
        {"short.kyg", vShort, "Read keycfg failed."},
        {"magic.kyg", vBadMagic, "This is not a valid keycfg"},
    };
    for (auto& c : kCases) {
        SCOPED_TRACE(c.pszFile);
        std::string strPath = m_prog.Path() + c.pszFile;
        if (!c.vData.empty())
            FileLookup::WriteAtomic(strPath, c.vData.data(), c.vData.size());
        m_ui = CScriptedUi();
        CMacroStore macros, bullets;
        EXPECT_FALSE(ImportKeyCfg(store, m_var, macros, bullets, strPath, m_ui));
        EXPECT_EQ(m_ui.m_vMessages, std::vector<std::string>{c.pszMessage});
        EXPECT_FALSE(FileLookup::Exists(m_data.Path() + "keycfg.kyg"));
        EXPECT_FALSE(FileLookup::Exists(store.ProFilePath()));
    }
}

// Slots of another class, slots that are no macro and hostile names.
TEST_F(KeyCfgTest, ImportSkipsOtherSlotsAndKeepsNamesInside) {
    std::vector<uint8_t> v(27748, 0);
    v[0] = 0x01, v[1] = 0xEE, v[2] = 0x48, v[3] = 0x89;
    StMacro a = Macro(1, "../outside");
    a.byBufferId = 5;
    StMacro b = Macro(2, "other class");
    b.byBufferId = 2;
    EncodeMacroBytes(a, v.data() + 4);
    EncodeMacroBytes(b, v.data() + 4 + 1480);
    std::memset(v.data() + 4 + 2 * 1480, 0x77, 1480);
    std::string strPath = m_prog.Path() + "k.kyg";
    FileLookup::WriteAtomic(strPath, v.data(), v.size());
    CProList store(m_var);
    store.SetCurrent(store.AddCopy(*m_pProfile));
    CMacroStore macros, bullets;
    ASSERT_TRUE(ImportKeyCfg(store, m_var, macros, bullets, strPath, m_ui));
    EXPECT_EQ(macros.Count(), 1u);
    EXPECT_TRUE(FileLookup::Exists(m_data.Path() + "OrgMac/___outside.mcf"));
    EXPECT_FALSE(FileLookup::Exists(m_data.Path() + "outside.mcf"));
}

// Start-up: a valid keycfg.kyg in the user data folder gives the default mouse keys; a file
// of another size or magic is ignored.
TEST(KeyCfgStartup, ReadOnlyExactValidFiles) {
    CTempDir data;
    KeyAssign keys[3][21];
    EXPECT_FALSE(ReadStartupKeycfg(data.Path(), keys));
    std::vector<uint8_t> v(27748, 0);
    v[0] = 0x01, v[1] = 0xEE, v[2] = 0x48, v[3] = 0x89;
    KeyAssign ka{};
    ka.Main.dwFun = MakeFun(1, 0x42);
    std::memcpy(v.data() + 22204 + (21 + 4) * 88, &ka, 88);
    FileLookup::WriteAtomic(data.Path() + "keycfg.kyg", v.data(), v.size());
    ASSERT_TRUE(ReadStartupKeycfg(data.Path(), keys));
    EXPECT_EQ(keys[1][4].Main.dwFun, MakeFun(1, 0x42));
    v.push_back(0);
    FileLookup::WriteAtomic(data.Path() + "keycfg.kyg", v.data(), v.size());
    EXPECT_FALSE(ReadStartupKeycfg(data.Path(), keys));
    v.pop_back();
    v[0] = 0;
    FileLookup::WriteAtomic(data.Path() + "keycfg.kyg", v.data(), v.size());
    EXPECT_FALSE(ReadStartupKeycfg(data.Path(), keys));
}

// The demo installation started with a keycfg.kyg takes its mouse keys from it.
TEST(KeyCfgStartup, DemoStartupUsesKeycfg) {
    CTempDir data;
    CCollectingMessageSink sink;
    SetMessageBoxSink(&sink);
    std::vector<uint8_t> v(27748, 0);
    v[0] = 0x01, v[1] = 0xEE, v[2] = 0x48, v[3] = 0x89;
    KeyAssign ka{};
    ka.Main.dwFun = MakeFun(1, 0x42);
    std::memcpy(v.data() + 22204 + (2 * 21 + 1) * 88, &ka, 88);
    data.Write("VelkinDemo/keycfg.kyg", std::string(v.begin(), v.end()));
    CGlobalVar var;
    CMacroLimits limits;
    ASSERT_TRUE(LoadConfiguration(
        StartupDirs{std::string(VELKIN_SOURCE_DIR) + "/install/demo/", data.Path(), data.Path()},
        var, limits));
    EXPECT_EQ(var.Dev.Keys.MsDefKey[2][1].Main.dwFun, MakeFun(1, 0x42));
    // K1_1=1,11,0,0 of the description is replaced by the file's empty key.
    EXPECT_EQ(var.Dev.Keys.MsDefKey[0][0].Main.dwFun, 0u);
    SetMessageBoxSink(nullptr);
    LogReset();
}

} // namespace
