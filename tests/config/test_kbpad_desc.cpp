// The keyboard and pad descriptions loaded from cfg.ini fragments.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config/GlobalVar.h"
#include "config/IniFile.h"
#include "config/KbPadDescLoader.h"
#include "platform/MessageBox.h"

namespace {

using Boxes = std::vector<std::pair<std::string, std::string>>;

class KbPadDescTest : public ::testing::Test {
protected:
    void SetUp() override { SetMessageBoxSink(&m_sink); }
    void TearDown() override { SetMessageBoxSink(nullptr); }

    CGlobalVar& LoadKb(const std::string& strIni) {
        Prepare(strIni);
        LoadKbSection(m_ini, *m_pVar);
        return *m_pVar;
    }
    CGlobalVar& LoadPad(const std::string& strIni) {
        Prepare(strIni);
        LoadPadSection(m_ini, *m_pVar);
        return *m_pVar;
    }
    Boxes Messages() const {
        Boxes v;
        for (const auto& e : m_sink.m_vEntries) {
            v.emplace_back(e.strTitle, e.strText);
        }
        return v;
    }

    CCollectingMessageSink m_sink;
    CIniFile m_ini;
    std::unique_ptr<CGlobalVar> m_pVar;

private:
    void Prepare(const std::string& strIni) {
        m_pVar = std::make_unique<CGlobalVar>();
        m_pVar->KbFw = 20;
        m_ini.LoadFromBytes(strIni.data(), strIni.size());
        m_sink.m_vEntries.clear();
    }
};

uint32_t Rgb(int r, int g, int b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) |
           (static_cast<uint32_t>(b) << 16);
}

} // namespace

TEST_F(KbPadDescTest, SectionDefaults) {
    CGlobalVar& var = LoadKb("[KB]\n");
    const KbDesc& kb = var.Dev.Kb;
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(kb.ShowEffect, 0xFFFF);
    EXPECT_EQ(kb.SpeedNum, 4);
    EXPECT_EQ(kb.BriNum, 4);
    EXPECT_EQ(kb.FrameKey, 1);
    EXPECT_EQ((std::vector<int>(kb.NeonSpeed, kb.NeonSpeed + 5)),
              (std::vector<int>{50, 40, 30, 20, 15}));
    EXPECT_EQ(kb.rcKB, (RECT{280, 180, 954, 365}));
    EXPECT_EQ(kb.nUnRectPtNum, 0);
    EXPECT_EQ(kb.LedModeSelectOffset, 4);
    EXPECT_EQ(kb.EffectBase, 1);
    EXPECT_EQ(kb.EffectOffset, 18);
    EXPECT_EQ(kb.EffectNum, 13);
    EXPECT_EQ((std::vector<int>(kb.RGBIndex, kb.RGBIndex + 3)), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(kb.GaoshouIndex, 13);
    EXPECT_EQ(kb.NoColorKey, -1);
    EXPECT_EQ(kb.StartGp, 32);
    EXPECT_EQ(kb.GaoshouAddr, 172);
    EXPECT_EQ(kb.GaoshouGroupNum, 5);
    EXPECT_EQ(kb.CustomGp[0], 0);
    EXPECT_EQ(kb.CustomGp[1], 4);
    EXPECT_EQ(kb.clrGaoshou, Rgb(255, 255, 255));
    EXPECT_EQ(kb.SyncKB, 1);
    EXPECT_EQ(kb.MaxEftKeyIndex, 0); // no KBKEY entries
}

TEST_F(KbPadDescTest, BuiltInEffectsAndLightParameters) {
    CGlobalVar& var = LoadKb("[KB]\n");
    const KbDesc& kb = var.Dev.Kb;
    const std::vector<int> vCodes = {5, 7, 17, 12, 1, 3, 2, 19, 15, 13, 20, 16, 18};
    for (int i = 0; i < KB_EFFECT_NUM; ++i) {
        EXPECT_EQ(kb.Effects[i].nCode, i < 13 ? vCodes[i] : 0) << i;
    }
    EXPECT_EQ(kb.Effects[4].f1, 0);
    EXPECT_EQ(kb.Effects[4].f5, 1);
    EXPECT_EQ(kb.Effects[11].f3, 0);
    EXPECT_EQ(kb.Effects[11].f2, 1);
    EXPECT_EQ(kb.Effects[12].Colors[3], Rgb(255, 255, 0));
    EXPECT_EQ(kb.Effects[12].Colors[6], Rgb(255, 255, 255));
    EXPECT_EQ(kb.Effects[13].Colors[0], 0u);

    ASSERT_EQ(kb.nLEDParamNum, 14);
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(kb.LEDParam[i][0], (i == 5 || i == 7 || i == 12) ? 0 : 7) << i;
        EXPECT_EQ(kb.LEDParam[i][1], 0x23) << i;
    }
    EXPECT_EQ(kb.LEDParam[14][1], 0);
}

TEST_F(KbPadDescTest, Checks) {
    struct Row {
        const char* pszKb;
        Boxes vMessages;
    };
    const Row rows[] = {
        {"EffectNum=17\n", {}},
        {"EffectNum=20\n", {{"Warning", "Invalid nEffectNum"}}},
        {"EffectNum=0x112\n", {{"Warning", "Invalid nEffectNum"}}}, // low byte 18
        {"EffectNum=0x211\n", {}},                                  // low byte 17
        {"EffectOffset=60\n", {}},
        {"EffectOffset=61\n", {{"Warning", "Invalid nEffectOffset"}}},
        {"ColorIndex=6\n", {}},
        {"ColorIndex=7\n", {{"Warning", "Invalid gVar.nColorIndex"}}},
        {"RGBIndex=0,1,1\n", {{"Warning", "R G B Index Error"}}},
        {"RGBIndex=0,2,1\n", {}},
        {"RGBIndex=1\n", {{"Warning", "R G B Index Error"}}}, // 1,1,0 with the defaults
        {"LEDParam=7,23,7,23,7,23,7,23,7,23,0,23,7,23,0,23,7,23,7,23,7,23,7,23\n",
         {{"Warning", "Invalid LEDParam"}}},
        {"LEDParam=zz\n", {}},
        {"UnRectKey=40,10,10,50,10,50,30,10,30\n", {{"Error", "EnterPt[0]!=EnterPt[Last] "}}},
        {"rcKB=1,2,3\n", {{"Error", "Wrong rect num"}}},
    };
    for (const Row& r : rows) {
        LoadKb(std::string("[KB]\n") + r.pszKb);
        EXPECT_EQ(Messages(), r.vMessages) << r.pszKb;
    }
}

TEST_F(KbPadDescTest, LightParameterPairs) {
    CGlobalVar& var =
        LoadKb("[KB]\nLEDParam=7,23,7,23,7,23,7,23,7,23,0,23,7,23,0,23,7,23,7,23,7,23,81,5,9\n");
    const KbDesc& kb = var.Dev.Kb;
    EXPECT_EQ(kb.nLEDParamNum, 12); // the odd byte makes no pair
    EXPECT_EQ(kb.LEDParam[11][0], 0x81);
    EXPECT_EQ(kb.LEDParam[11][1], 0x05);
    EXPECT_EQ(kb.LEDParam[12][0], 0);
}

TEST_F(KbPadDescTest, LedOptSharesByteFive) {
    CGlobalVar& var = LoadKb("[KB]\nLedOpt1=9,1,0,1,0,200,100,50\nLedOpt2=4,1\n"
                             "LedOpt15=21,0,0,0,0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,"
                             "19,20,21,99,99\nLedOpt16=300,0,0,0,0,0\n");
    const KbEffectCfg* e = var.Dev.Kb.Effects;
    EXPECT_EQ(e[0].nCode, 9);
    EXPECT_EQ((std::vector<int>{e[0].f1, e[0].f2, e[0].f3, e[0].f4, e[0].f5}),
              (std::vector<int>{1, 0, 1, 0, 200}));
    EXPECT_EQ(e[0].Colors[0], Rgb(200, 100, 50));
    for (int c = 1; c < KB_EFFECT_COLORS; ++c) {
        EXPECT_EQ(e[0].Colors[c], 0u) << c;
    }
    // Five numbers or fewer: the rest of the buffer is zero, the colours stay.
    EXPECT_EQ(e[1].nCode, 4);
    EXPECT_EQ(e[1].f1, 1);
    EXPECT_EQ(e[1].f5, 0);
    EXPECT_EQ(e[1].Colors[0], Rgb(255, 0, 0));
    // At most 26 numbers: seven colours from bytes 5 to 25.
    EXPECT_EQ(e[14].nCode, 21);
    EXPECT_EQ(e[14].f5, 1);
    EXPECT_EQ(e[14].Colors[0], Rgb(1, 2, 3));
    EXPECT_EQ(e[14].Colors[6], Rgb(19, 20, 21));
    // Numbers are bytes.
    EXPECT_EQ(e[15].nCode, 300 & 0xFF);
    EXPECT_EQ(e[15].Colors[0], 0u);
}

TEST_F(KbPadDescTest, NonRectangularKey) {
    struct Row {
        const char* pszValue;
        int32_t nKey;
        std::vector<POINT> vPoints;
    };
    const Row rows[] = {
        {"40,10,10,50,10,50,30,10,30", 40, {{10, 10}, {50, 10}, {50, 30}, {10, 30}}},
        {"40,10,10,50,10,50,30,10,30,10,10",
         40,
         {{10, 10}, {50, 10}, {50, 30}, {10, 30}, {10, 10}}},
        {"40,10,10,50,10,50,30,10", 0, {}},                             // fewer than 9 numbers
        {"41,1,1,2,2,1,1,0,5,9,9", 41, {{1, 1}, {2, 2}, {1, 1}}},       // x 0 ends the points
        {"42,1,1,2,2,3,3,1,1,7", 42, {{1, 1}, {2, 2}, {3, 3}, {1, 1}}}, // odd number dropped
    };
    for (const Row& r : rows) {
        CGlobalVar& var = LoadKb(std::string("[KB]\nUnRectKey=") + r.pszValue + "\n");
        const KbDesc& kb = var.Dev.Kb;
        EXPECT_EQ(kb.nUnRectKey, r.nKey) << r.pszValue;
        EXPECT_EQ(std::vector<POINT>(kb.UnRectPt, kb.UnRectPt + kb.nUnRectPtNum), r.vPoints)
            << r.pszValue;
    }

    std::string strMany = "43";
    for (int i = 1; i <= 30; ++i) {
        strMany += "," + std::to_string(i) + "," + std::to_string(i);
    }
    CGlobalVar& var = LoadKb("[KB]\nUnRectKey=" + strMany + "\n");
    EXPECT_EQ(var.Dev.Kb.nUnRectPtNum, KB_UNRECT_PT_MAX);
    EXPECT_EQ(var.Dev.Kb.UnRectPt[23], (POINT{24, 24}));
}

TEST_F(KbPadDescTest, KeyboardRectangle) {
    EXPECT_EQ(LoadKb("[KB]\nrcKB=10,20,100,50\n").Dev.Kb.rcKB, (RECT{10, 20, 110, 70}));
    EXPECT_EQ(LoadKb("[KB]\nrcKB=1,2,3\n").Dev.Kb.rcKB, (RECT{280, 180, 954, 365}));
    EXPECT_EQ(LoadKb("[KB]\nrcKB=\n").Dev.Kb.rcKB, (RECT{280, 180, 954, 365}));
}

TEST_F(KbPadDescTest, ColourGroups) {
    CGlobalVar& var = LoadKb("[KB]\nGaoshouGroupNum=12\nGaoshouKey1=29,2a\nGaoshouKey2=1\n"
                             "GaoshouKey3=3\nGaoshouKey4=4\nGaoshouKey5=5\nGaoshouKey6=6\n"
                             "GaoshouKey7=7\nGaoshouKey8=8\nGaoshouKey9=9\nGaoshouKey10=a\n"
                             "GaoshouKey11=b\n");
    const KbDesc& kb = var.Dev.Kb;
    EXPECT_EQ(kb.GaoshouGroupNum, 10);
    EXPECT_EQ(kb.nGaoshouGroupRead, 10);
    EXPECT_EQ(kb.CustomGp[1], 11); // counted before the cap
    EXPECT_EQ(kb.nGaoshouKeyNum[0], 2);
    EXPECT_EQ(kb.GaoshouKey[0][1], 0x2A);
    EXPECT_EQ(kb.GaoshouKey[9][0], 0x0A);

    CGlobalVar& var2 = LoadKb("[KB]\nGaoshouGroupNum=4\nCustomGp=1\nGaoshouKey1=1\n"
                              "GaoshouKey3=3\n");
    EXPECT_EQ(var2.Dev.Kb.nGaoshouGroupRead, 1); // stops at the first missing group
    EXPECT_EQ(var2.Dev.Kb.nGaoshouKeyNum[2], 0);
    EXPECT_EQ(var2.Dev.Kb.CustomGp[0], 1);
    EXPECT_EQ(var2.Dev.Kb.CustomGp[1], 3);
}

TEST_F(KbPadDescTest, ListsAndLowBytes) {
    CGlobalVar& var = LoadKb("[KB]\nVID=0x1258A\nPID=0x0001\nNeonSpeed=9\nDirect2=1,2,3,4\n"
                             "EftKeyEx=a,b\nPSD=1,2,3,4,5,6,7\nDefLed=1,ff\nKbLayout=0x102\n"
                             "ColorfulEffect=1,2,3,4,5\nNoColorKey=77\nSyncKB=0\n"
                             "USBString=Gaming Keyboard\n");
    const KbDesc& kb = var.Dev.Kb;
    EXPECT_EQ(kb.VID, 0x258A);
    EXPECT_EQ(kb.PID, 1);
    EXPECT_EQ((std::vector<int>(kb.NeonSpeed, kb.NeonSpeed + 5)),
              (std::vector<int>{9, 40, 30, 20, 15}));
    EXPECT_EQ((std::vector<int>(kb.Direct[1], kb.Direct[1] + 3)), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(kb.Direct[0][0], 0);
    EXPECT_EQ(kb.EftKeyEx[1], 0x0B);
    EXPECT_EQ((std::vector<int>(kb.PSD, kb.PSD + 6)), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(kb.DefLed[1], 0xFF);
    EXPECT_EQ(kb.KbLayout, 2);
    EXPECT_EQ(kb.ColorfulEffect[3], 4);
    EXPECT_EQ(kb.NoColorKey, 77);
    EXPECT_EQ(kb.SyncKB, 0);
    EXPECT_EQ(kb.USBString, "Gaming Keyboard");
}

TEST_F(KbPadDescTest, MaxEftKeyIndexDefaultsToTheKeyCount) {
    const std::string strKeys = "[KBKEY]\nK1=0,0,10,10,2,1b,0,1,1\nK2=10,0,20,10,2,70,0,2,2\n"
                                "K3=20,0,30,10,2,71,0,3,3\n";
    EXPECT_EQ(LoadKb("[KB]\n" + strKeys).Dev.Kb.MaxEftKeyIndex, 3);
    EXPECT_EQ(LoadKb("[KB]\nMaxEftKeyIndex=80\n" + strKeys).Dev.Kb.MaxEftKeyIndex, 80);
}

TEST_F(KbPadDescTest, PadSection) {
    CGlobalVar& var = LoadPad("[PAD]\n");
    const PadDesc& pad = var.Dev.Pad;
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(pad.ptPadDlg, (POINT{360, 100}));
    EXPECT_EQ(pad.ptEft1, (POINT{23, 47}));
    EXPECT_EQ(pad.ptEft2, (POINT{484, 372}));
    EXPECT_EQ(pad.EftGridW, 16);
    EXPECT_EQ(pad.PSD[0], 0);

    CGlobalVar& var2 = LoadPad("[PAD]\nVID=0x258a\nPID=0x2001\nShowEffect=1\nLedMask=0x30\n"
                               "PSD=12,34,56\nptPadDlg=1,2\nLedParam=2,100,5\nptEft1=5\n"
                               "ptEft2=7,8\nEftGridW=20\n");
    const PadDesc& p2 = var2.Dev.Pad;
    EXPECT_EQ(p2.VID, 0x258A);
    EXPECT_EQ(p2.PID, 0x2001);
    EXPECT_EQ(p2.ShowEffect, 1);
    EXPECT_EQ(p2.LedMask, 0x30);
    EXPECT_EQ((std::vector<int>(p2.PSD, p2.PSD + 2)), (std::vector<int>{0x12, 0x34}));
    EXPECT_EQ(p2.ptPadDlg, (POINT{1, 2}));
    EXPECT_EQ(p2.LedParam[1], 0x100);
    EXPECT_EQ(p2.ptEft1, (POINT{23, 47}));
    EXPECT_EQ(p2.ptEft2, (POINT{7, 8}));
    EXPECT_EQ(p2.EftGridW, 20);
    EXPECT_EQ(Messages(), (Boxes{{"Error", "Wrong POINT num"}}));
}
