// Hexadecimal numbers inside lists and key entries are bare digits: an item written with 0x
// ends the list there (as other installations read the same files), while single integer
// keys keep taking 0x. Every such item is noted for velkinctl check.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config/DescCheck.h"
#include "config/GlobalVar.h"
#include "config/Log.h"
#include "config/Startup.h"
#include "platform/MessageBox.h"
#include "support/TestDirs.h"

namespace {

using Values = std::vector<uint32_t>;

class HexPrefixTest : public ::testing::Test {
protected:
    void SetUp() override { SetMessageBoxSink(&m_sink); }
    void TearDown() override {
        SetMessageBoxSink(nullptr);
        LogReset();
    }
    // Loads an installation of a mouse, an 816-family keyboard with gesture keys and a pad.
    // strCfg continues section KB (a section is read from its first occurrence only).
    const CGlobalVar& Load(const std::string& strCfg, const std::string& strProCfg) {
        CTempDir prog, data, desk;
        prog.Write("cfg.ini", "[OPT]\nappdir=T\nMacProtocol=1\nMsFw=0x10\nKbFw=20\nPadFw=40\n"
                              "[KB]\nShowGest=1\n" +
                                  strCfg);
        prog.Write("ProCfg.ini", strProCfg);
        m_sink.m_vEntries.clear();
        EXPECT_TRUE(
            LoadConfiguration(StartupDirs{prog.Path(), data.Path(), desk.Path()}, m_var, m_limits));
        return m_var;
    }
    std::vector<std::string> Notes() const {
        std::vector<std::string> v;
        for (const CIniHexPrefixNote& n : m_var.vHexPrefixNotes)
            v.push_back(n.strFile + " [" + n.strSection + "] " + n.strKey + ": " + n.strItem);
        return v;
    }
    bool HasBox(const std::string& strText) const {
        for (const auto& e : m_sink.m_vEntries)
            if (e.strText == strText)
                return true;
        return false;
    }

    CCollectingMessageSink m_sink;
    CGlobalVar m_var;
    CMacroLimits m_limits;
};

template <typename T, size_t N> Values ValuesOf(const T (&a)[N]) {
    Values v;
    for (const T& x : a)
        v.push_back(static_cast<uint32_t>(x));
    return v;
}

} // namespace

TEST_F(HexPrefixTest, ListsAndEntriesStopAtAPrefixedHexadecimalItem) {
    struct Case {
        const char* pszWhat;
        const char* pszCfg;
        const char* pszProCfg;
        std::function<Values(const CGlobalVar&)> fnValues;
        Values vExpected;
        std::vector<std::string> vNotes;
        const char* pszBox; // a message box loading must show, or nullptr
    };
    const Case aCases[] = {
        {"number list: the items before it are taken",
         "[MS]\nShowUsbRateForPUBG=125, 0x250,500\n",
         "",
         [](const CGlobalVar& v) {
             Values r = ValuesOf(v.Dev.Ms.ShowUsbRateForPUBG);
             r.push_back(static_cast<uint32_t>(v.Dev.Ms.nShowUsbRateForPUBGNum));
             return r;
         },
         {0x125, 0, 0, 0, 1},
         {"cfg.ini [MS] ShowUsbRateForPUBG: 0x250"},
         nullptr},
        {"number list starting with one: nothing taken",
         "[PAD]\nLedParam=0x3,4\n",
         "",
         [](const CGlobalVar& v) {
             return Values{uint32_t(v.Dev.Pad.LedParam[0]), uint32_t(v.Dev.Pad.LedParam[1])};
         },
         {0, 0},
         {"cfg.ini [PAD] LedParam: 0x3"},
         nullptr},
        {"byte list, capital X",
         "PSD=16,08,0X20,00\n",
         "",
         [](const CGlobalVar& v) { return ValuesOf(v.Dev.Kb.PSD); },
         {0x16, 0x08, 0, 0, 0, 0},
         {"cfg.ini [KB] PSD: 0X20"},
         nullptr},
        {"every prefixed item is noted",
         "[MS]\nLedParam=0x1,0x2,3\n",
         "",
         [](const CGlobalVar& v) { return Values{uint32_t(v.Dev.Ms.LedParam[0])}; },
         {0},
         {"cfg.ini [MS] LedParam: 0x1", "cfg.ini [MS] LedParam: 0x2"},
         nullptr},
        {"decimal list: stopped as before, nothing noted",
         "NeonSpeed=9,0x10,7\n",
         "",
         [](const CGlobalVar& v) { return ValuesOf(v.Dev.Kb.NeonSpeed); },
         {9, 40, 30, 20, 15},
         {},
         nullptr},
        {"single integers take 0x",
         "[MS]\nScrollKey=0x0706\nLOD=0x40203\n",
         "",
         [](const CGlobalVar& v) {
             return Values{uint32_t(v.Dev.Ms.ScrollKey), uint32_t(v.Dev.Ms.LOD)};
         },
         {0x0706, 0x40203},
         {},
         nullptr},
        {"mouse button entry: too few numbers, not taken",
         "",
         "[PRO1]\nK1_1=1,0x11,0,1\nK2_1=1,12,0,2\n",
         [](const CGlobalVar& v) {
             const auto& aKeys = v.Dev.Keys.ProPreset[0][0];
             return Values{aKeys[0].Main.dwFun, aKeys[1].Main.dwFun};
         },
         {0, 0x01000012},
         {"ProCfg.ini [PRO1] K1_1: 0x11"},
         nullptr},
        {"keyboard key: its hexadecimal code",
         "[KBKEY]\nK1=0,0,10,10,2,0x41,0,3,0\n",
         "",
         [](const CGlobalVar& v) {
             const KeyFun& k = v.Dev.Keys.g_defKEY[0].Main;
             return Values{k.dwFun, k.byVk, uint32_t(k.nMatrixInx)};
         },
         {0x020000A0, 0, 0},
         {"cfg.ini [KBKEY] K1: 0x41"},
         "Data parse error!"},
        {"keyboard key: a decimal number is no hexadecimal item",
         "[KBKEY]\nK1=0,0,10,10,2,41,0,0x3,0\n",
         "",
         [](const CGlobalVar& v) {
             const KeyFun& k = v.Dev.Keys.g_defKEY[0].Main;
             return Values{k.byVk, uint32_t(k.nMatrixInx)};
         },
         {0x41, 0},
         {},
         "Data parse error!"},
        {"Fn entry",
         "[KBKEY]\nK1=0,0,10,10,2,41,0,0,0\n[FN]\nK1=3,0x34\n",
         "",
         [](const CGlobalVar& v) { return Values{v.Dev.Keys.g_defKEY[0].Fn.dwFun}; },
         {0x03000000},
         {"cfg.ini [FN] K1: 0x34"},
         "Data parse error!"},
        {"gesture entry",
         "[GEST]\nK1=0x3,22,0,132\n",
         "",
         [](const CGlobalVar& v) {
             const KeyFun& k = v.Dev.Keys.Gest[0].Main;
             return Values{k.dwFun, uint32_t(k.nMatrixInx)};
         },
         {0, 0},
         {"cfg.ini [GEST] K1: 0x3"},
         "Data parse error!"},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.pszWhat);
        const CGlobalVar& var = Load(c.pszCfg, c.pszProCfg);
        EXPECT_EQ(c.fnValues(var), c.vExpected);
        EXPECT_EQ(Notes(), c.vNotes);
        if (c.pszBox) {
            EXPECT_TRUE(HasBox(c.pszBox));
        }
    }
}

TEST_F(HexPrefixTest, CheckNamesFileSectionKeyAndItem) {
    Load("[MS]\nKeySwVk=0xA0,0xA1\n", "[PRO2]\nK3_2=8,0xa4,0,3\n");
    std::vector<std::string> vProblems = CheckDescriptions(m_var);
    const std::string strTail =
        " has a 0x prefix; this value takes bare hexadecimal digits (%s), so reading stops "
        "before it";
    auto Line = [&](const std::string& strHead, const std::string& strDigits) {
        std::string s = strHead + strTail;
        return s.replace(s.find("%s"), 2, strDigits);
    };
    ASSERT_GE(vProblems.size(), 3u);
    // The file's own notes come first, in reading order; the presets follow.
    EXPECT_EQ(vProblems[0], Line("cfg.ini [MS] KeySwVk: item 0xA0", "A0"));
    EXPECT_EQ(vProblems[1], Line("cfg.ini [MS] KeySwVk: item 0xA1", "A1"));
    EXPECT_EQ(vProblems[2], Line("ProCfg.ini [PRO2] K3_2: item 0xa4", "a4"));
    // The companion keyboard that KeySwVk would have named is not there either.
    EXPECT_EQ(m_var.Dev.Ms.KeySwVk[0], 0);
}

TEST_F(HexPrefixTest, BareDigitsGiveNoNote) {
    Load("PSD=16,08,20,00,00,00\n[MS]\nShowUsbRateForPUBG=125,250,500\nLedParam=1,ff\n"
         "[KBKEY]\nK1=282,182,309,209,2,1B,0,0,0\n[FN]\nK1=3,34\n",
         "[PRO1]\nK1_1=8,c0,3021,4\n");
    EXPECT_EQ(m_var.Dev.Ms.nShowUsbRateForPUBGNum, 3);
    EXPECT_EQ(m_var.Dev.Ms.ShowUsbRateForPUBG[2], 0x500);
    EXPECT_EQ(m_var.Dev.Kb.PSD[2], 0x20);
    EXPECT_EQ(m_var.Dev.Keys.ProPreset[0][0][0].Main.dwFun, 0x080000C0u);
    EXPECT_TRUE(m_var.vHexPrefixNotes.empty());
}
