// The configuration steps of start-up against small installations.
#include <gtest/gtest.h>

#include "config/GlobalVar.h"
#include "config/Log.h"
#include "config/Startup.h"
#include "config/TextCatalogue.h"
#include "platform/FileLookup.h"
#include "platform/MessageBox.h"
#include "support/TestDirs.h"

namespace {
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { SetMessageBoxSink(&m_sink); }
    void TearDown() override {
        SetMessageBoxSink(nullptr);
        LogReset();
    }
    bool Load(const std::string& strCfg, const std::string& strLang = "") {
        if (!strCfg.empty())
            m_prog.Write("cfg.ini", strCfg);
        if (!strLang.empty())
            m_data.Write("Demo/lang.ini", strLang);
        return LoadConfiguration(StartupDirs{m_prog.Path(), m_data.Path(), m_desk.Path()}, m_var,
                                 m_limits);
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> v;
        for (const auto& e : m_sink.m_vEntries)
            v.push_back(e.strTitle + ": " + e.strText);
        return v;
    }
    CTempDir m_prog, m_data, m_desk;
    CCollectingMessageSink m_sink;
    CGlobalVar m_var;
    CMacroLimits m_limits;
};

const char* kText = "<?xml version=\"1.0\"?><root><config><tc_title>From texts</tc_title>"
                    "<tc_version>Version</tc_version><tc_mutex>M1</tc_mutex></config></root>";
} // namespace

TEST_F(StartupTest, NoCfgIniGivesEveryDefault) {
    m_var.MsFw = 99; // the record starts cleared whatever it held
    m_prog.Write("text.xml", kText);
    ASSERT_TRUE(Load(""));
    EXPECT_EQ(m_var.MsFw, 0);
    EXPECT_EQ(m_var.KbFw, 0);
    EXPECT_EQ(m_var.PadFw, 0);
    EXPECT_EQ(m_var.TrayIcon, 2);
    EXPECT_EQ(m_var.ProfileNum, 3);
    EXPECT_EQ(m_var.FontSize, 14);
    EXPECT_EQ(m_var.ShowDevList, 1);
    EXPECT_EQ(m_var.HideDrvOpt, 1);
    EXPECT_EQ(m_var.ptMinBtn, (POINT{960, 12}));
    EXPECT_EQ(m_var.Btn_txt_clr_dn, 67u + 156u * 256 + 200u * 65536);
    EXPECT_EQ(m_var.rcMacroList, (RECT{40, 46, 230, 356}));
    EXPECT_EQ(m_var.rcKeyList, (RECT{250, 46, 440, 356}));
    EXPECT_EQ(m_var.pszTitle, "From texts");
    EXPECT_EQ(m_var.szVersionText, "");
    EXPECT_EQ(GetSkinDir(m_var), m_prog.Path() + "skins/");
    // No appdir and no MacProtocol are reported, in reading order.
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Error: APPDATA=NULL",
                                                 "Error: Macro Protocol is unknown"}));
    EXPECT_EQ(m_var.szUserDataDir, m_data.Path());
    // No mouse, no keyboard.
    EXPECT_EQ(m_limits.nMaxMacros, 0);
    EXPECT_EQ(m_limits.nMaxLoop, 65535);
    EXPECT_EQ(m_limits.nMaxUnits, 128);
}

TEST_F(StartupTest, NoProgramDirectoryEndsAtOnce) {
    EXPECT_FALSE(LoadConfiguration(StartupDirs{"", m_data.Path(), m_desk.Path()}, m_var, m_limits));
}

TEST_F(StartupTest, TitleOverridesTextAndVersionText) {
    m_prog.Write("text.xml", kText);
    ASSERT_TRUE(Load("[OPT]\nappdir=Demo\nMacProtocol=1\nTitle=My Mouse\nVer=2.1\n"));
    EXPECT_EQ(m_var.pszTitle, "My Mouse");
    EXPECT_EQ(m_var.szVersionText, "Version 2.1");
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(m_var.szUserDataDir, m_data.Path() + "Demo/");
    EXPECT_TRUE(FileLookup::IsDirectory(m_data.Path() + "Demo"));
}

TEST_F(StartupTest, RectKeyListFollowsMacroList) {
    ASSERT_TRUE(Load("[OPT]\nappdir=Demo\nMacProtocol=2\nrcMacroList=10,20,110,220\n"));
    EXPECT_EQ(m_var.rcKeyList, (RECT{130, 20, 320, 220}));
    EXPECT_EQ(m_var.Macro_Opt_X, 370);
    ASSERT_TRUE(Load("[OPT]\nappdir=Demo\nMacProtocol=2\nrcMacroList=10,20\nrcKeyList=1,2,3,"
                     "4\nMacro_Opt_X=5\n"));
    EXPECT_EQ(m_var.rcMacroList, (RECT{40, 46, 230, 356})); // malformed: the default stays
    EXPECT_EQ(m_var.rcKeyList, (RECT{1, 2, 3, 4}));
    EXPECT_EQ(m_var.Macro_Opt_X, 5);
}

TEST_F(StartupTest, SkinAndLanguageLists) {
    struct Case {
        const char* pszName;
        std::string strOpt;
        std::string strLang;
        size_t nSkins, nLangs;
        std::vector<std::string> vMessages;
    } cases[] = {
        {"hidden by default", "Skins1=Dark,dark\nLang1=English,en\n", "", 0, 0, {}},
        {"even HideDrvOpt reads both",
         "HideDrvOpt=2\nSkins1=Dark,dark\nSkins2=Light,light\nLang1=English,en\n",
         "[OPT]\nSkinsIndex=1\n",
         2,
         1,
         {}},
        {"first skin without comma",
         "HideDrvOpt=0\nSkins1=Black\nLang1=English,en\n",
         "",
         0,
         0,
         {"Error: Skins1 is invalidate"}},
        {"nothing after the comma",
         "HideDrvOpt=0\nSkins1=Dark,dark\nSkins2=Light,\nLang1=English,en\n",
         "",
         1,
         0,
         {"Error: Skins2 is invalidate"}},
        {"bad language entry",
         "HideDrvOpt=0\nSkins1=Dark,dark\nLang1=English\n",
         "",
         1,
         0,
         {"Error: Lang1 is invalidate"}},
        {"a gap ends the list", "HideDrvOpt=2\nSkins1=A,a\nSkins3=C,c\n", "", 1, 0, {}},
        {"indexes out of range",
         "HideDrvOpt=4\nSkins1=Dark,dark\nLang1=English,en\n",
         "[OPT]\nSkinsIndex=3\nLangIndex=-1\n",
         1,
         1,
         {"Error: SkinsIndex is invalidate", "Error: LangIndex is invalidate"}},
    };
    for (const Case& c : cases) {
        m_sink.m_vEntries.clear();
        ASSERT_TRUE(Load("[OPT]\nappdir=Demo\nMacProtocol=1\n" + c.strOpt,
                         c.strLang.empty() ? "[OPT]\n" : c.strLang));
        EXPECT_EQ(m_var.Skins.size(), c.nSkins) << c.pszName;
        EXPECT_EQ(m_var.Langs.size(), c.nLangs) << c.pszName;
        EXPECT_EQ(Texts(), c.vMessages) << c.pszName;
    }
    // An index out of range uses the first skin instead of reading beyond the list.
    EXPECT_EQ(m_var.nSkinsIndex, 3);
    EXPECT_EQ(GetSkinDir(m_var), m_prog.Path() + "dark/");
    m_prog.Write("DARK/main_nr.png", "");
    EXPECT_EQ(GetSkinDir(m_var), m_prog.Path() + "DARK/"); // spelt as on disk
}

TEST_F(StartupTest, ElevenSkinsAndLongNames) {
    std::string strOpt = "[OPT]\nappdir=Demo\nMacProtocol=1\nHideDrvOpt=2\n";
    for (int n = 1; n <= 11; ++n)
        strOpt += "Skins" + std::to_string(n) + "=" +
                  (n == 1 ? std::string(40, 'N') : "S" + std::to_string(n)) + ",f" +
                  std::to_string(n) + "\n";
    ASSERT_TRUE(Load(strOpt));
    ASSERT_EQ(m_var.Skins.size(), 10u);
    EXPECT_EQ(m_var.Skins[0].szName, std::string(29, 'N'));
    EXPECT_EQ(m_var.Skins[9].szFolder, "f10");
}

TEST_F(StartupTest, TextsComeFromTheLanguageFolder) {
    m_prog.Write("text.xml", kText);
    m_prog.Write("Text/de/text.xml", "<r><config><tc_title>Deutsch</tc_title></config></r>");
    ASSERT_TRUE(Load(
        "[OPT]\nappdir=Demo\nMacProtocol=1\nHideDrvOpt=2\nLang1=English,en\nLang2=Deutsch,de\n",
        "[OPT]\nLangIndex=1\n"));
    EXPECT_EQ(m_var.pszTitle, "Deutsch");
    EXPECT_EQ(Txt("tc_hz"), "Hz");
    EXPECT_EQ(MutexName(), "MUTEX_QV_COMBO8948"); // tc_mutex missing in this catalogue
}

TEST_F(StartupTest, MacroLimitsFollowTheDevices) {
    struct Case {
        const char* pszOpt;
        CMacroLimits expected;
    } cases[] = {
        {"MsFw=1\nKbFw=20\n", {1, 128, 64, 255, 25627, 32}},
        {"MsFw=1\n", {1, 506, 20, 255, 4095, 168}},
        {"KbFw=20\n", {1, 128, 32, 65535, 65280, 60}},
        {"", {1, 128, 0, 65535, 0, 0}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Load(std::string("[OPT]\nappdir=Demo\nMacProtocol=1\n") + c.pszOpt));
        EXPECT_EQ(m_limits.nMaxUnits, c.expected.nMaxUnits) << c.pszOpt;
        EXPECT_EQ(m_limits.nMaxMacros, c.expected.nMaxMacros) << c.pszOpt;
        EXPECT_EQ(m_limits.nMaxLoop, c.expected.nMaxLoop) << c.pszOpt;
        EXPECT_EQ(m_limits.nMaxDelay, c.expected.nMaxDelay) << c.pszOpt;
        EXPECT_EQ(m_limits.nMaxEvents, c.expected.nMaxEvents) << c.pszOpt;
        EXPECT_EQ(m_limits.nMinDelay, 1);
    }
}

TEST_F(StartupTest, LaunchLinesReachTheLog) {
    ASSERT_TRUE(Load("[OPT]\nDebug=2\nappdir=Demo\nMacProtocol=1\nTitle=T\nVer=9\n"));
    std::string strLog = m_desk.Read("Log.txt");
    EXPECT_NE(strLog.find("   " + std::string(50, '-')), std::string::npos);
    EXPECT_NE(strLog.find("H, Ver=9, Title=T"), std::string::npos);
    EXPECT_NE(strLog.find("   Launch "), std::string::npos);
}

TEST_F(StartupTest, ShippedLangIniIsTheUsersFirstChoice) {
    m_prog.Write("text.xml", kText);
    m_prog.Write("Text/de/text.xml", "<r><config><tc_title>Deutsch</tc_title></config></r>");
    m_prog.Write("LANG.INI", "[OPT]\nLangIndex=1\nPlaySound=1\n");
    const std::string strCfg =
        "[OPT]\nappdir=Demo\nMacProtocol=1\nHideDrvOpt=2\nLang1=English,en\nLang2=Deutsch,de\n";
    ASSERT_TRUE(Load(strCfg));
    EXPECT_EQ(m_var.pszTitle, "Deutsch");
    EXPECT_EQ(m_var.nPlaySound, 1);
    // The user's own choice is never replaced by the shipped one.
    m_data.Write("Demo/lang.ini", "[OPT]\nLangIndex=0\n");
    ASSERT_TRUE(Load(strCfg));
    EXPECT_EQ(m_var.nLangIndex, 0);
    EXPECT_EQ(m_var.nPlaySound, 0);
}

TEST_F(StartupTest, UserDataFolderIsCreatedWithItsParent) {
    const std::string strFresh = m_data.Path() + "fresh/share/";
    m_prog.Write("cfg.ini", "[OPT]\nappdir=Demo\nMacProtocol=1\n");
    ASSERT_TRUE(LoadConfiguration(StartupDirs{m_prog.Path(), strFresh, m_desk.Path()}, m_var, m_limits));
    EXPECT_EQ(m_var.szUserDataDir, strFresh + "Demo/");
    EXPECT_TRUE(FileLookup::IsDirectory(strFresh + "Demo"));
}
