// velkinctl keyname, funname and the key tables in `velkinctl config`.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

#include "support/RunVelkinctl.h"
#include "support/TestDirs.h"

namespace {

class KeyCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_prog.Write("text.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><root><config>"
                                 "<tc_fire>Rapid fire</tc_fire><tc_menu>Right button</tc_menu>"
                                 "<tc_mac_def>Macro</tc_mac_def><tc_PL>Play</tc_PL>"
                                 "</config></root>");
    }
    CRunResult Run(const std::string& strArgs) {
        return RunVelkinctl("--program-dir " + m_prog.Path() + " --data-dir " + m_data.Path() +
                            " --desktop-dir " + m_desk.Path() + " " + strArgs);
    }
    CTempDir m_prog, m_data, m_desk;
};

TEST_F(KeyCommandsTest, KeyNameFollowsTheConfiguredLayout) {
    m_prog.Write("cfg.ini", "[OPT]\nappdir=App\nKbType=1\n");
    struct {
        const char* pszArgs;
        int nStatus;
        const char* pszOut;
    } aCases[] = {
        {"keyname 89", 0, "Z\n"},   {"keyname 0x59", 0, "Z\n"}, {"keyname 179", 0, "Play\n"},
        {"keyname 108", 0, "\\\n"}, {"keyname 256", 2, ""},     {"keyname x", 2, ""},
        {"keyname -- -1", 2, ""},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.pszArgs);
        CRunResult r = Run(c.pszArgs);
        EXPECT_EQ(r.nStatus, c.nStatus);
        EXPECT_EQ(r.strOut, c.pszOut);
    }
}

TEST_F(KeyCommandsTest, FunNameShowsThePanelName) {
    m_prog.Write("cfg.ini", "[OPT]\nappdir=App\n");
    struct {
        const char* pszArgs;
        int nStatus;
        const char* pszOut;
    } aCases[] = {
        {"funname 0x080000A4 0xF10305", 0, "Rapid fire - Right button\n"},
        {"funname 0x03000022", 0, "Play\n"},
        {"funname 0x020000A1 --mod 3 --vk 0x41", 0, "Ctrl + Shift + A\n"},
        {"funname 0x020000A0 --vk 250", 0, "Fn\n"},
        {"funname 0x05000000 7", 0, "\n"}, // no macro stores: no macro exists
        {"funname 0x100000000", 2, ""},
        {"funname 0x020000A1 --vk 300", 2, ""},
    };
    for (const auto& c : aCases) {
        SCOPED_TRACE(c.pszArgs);
        CRunResult r = Run(c.pszArgs);
        EXPECT_EQ(r.nStatus, c.nStatus);
        EXPECT_EQ(r.strOut, c.pszOut);
    }
}

TEST_F(KeyCommandsTest, ConfigShowsTheKeyTables) {
    m_prog.Write("cfg.ini", "[OPT]\nappdir=App\nKbFw=20\n"
                            "[KBKEY]\nK1=1,2,3,4,2,A0,0,7,8\nK2=5,6,7,8,9,1,20,9,10\n"
                            "[FN]\nK2=8,a8\n");
    m_prog.Write("ProCfg.ini", "[PRO1]\nK1_1=8,ad,1234,3\n");
    CRunResult r = Run("config");
    ASSERT_EQ(r.nStatus, 0);
    auto j = nlohmann::json::parse(r.strOut);
    const auto& k = j["Keys"];
    EXPECT_EQ(k["nKbKeyNum"], 2);
    ASSERT_EQ(k["g_defKEY"].size(), 2u);
    const auto& m0 = k["g_defKEY"][0]["Main"];
    EXPECT_EQ(m0["dwFun"], "0x020000A0");
    EXPECT_EQ(m0["rcKey"], nlohmann::json({1, 2, 3, 4}));
    EXPECT_EQ(m0["byMod"], 2);
    EXPECT_EQ(m0["byModVk"], 16);
    EXPECT_EQ(m0["nMatrixInx"], 7);
    EXPECT_EQ(m0["nLink"], -1);
    EXPECT_EQ(k["g_defKEY"][0]["Fn"]["nLink"], 8);
    EXPECT_EQ(k["g_defKEY"][1]["Main"]["dwParam"], "0x00000020");
    EXPECT_EQ(k["g_defKEY"][1]["Main"]["nLink"], 0);
    EXPECT_EQ(k["g_defKEY"][1]["Fn"]["dwFun"], "0x080000A8");
    EXPECT_EQ(k["MsDefKey"].size(), 3u);
    EXPECT_EQ(k["MsDefKey"][2].size(), 21u);
    EXPECT_EQ(k["Gest"].size(), 10u);
    ASSERT_EQ(k["ProPreset"].size(), 4u);
    EXPECT_EQ(k["ProPreset"][0][2][0]["Main"]["dwFun"], "0x080000AD");
    EXPECT_EQ(k["nCustomKeyParam"], "0x00001234");
}

} // namespace
