// The mouse's own notifications (message 2027) as the window handles them.
#include "app/presence/PresenceFixture.h"
#include "config/TextCatalogue.h"
#include "device/hid/CurLevels.h"
#include "device/sim/SimMouse8948.h"

namespace {

uintptr_t Word(int nMode, int nByte1, int nByte2 = 0, int nRate = 0) {
    return uintptr_t(nMode) | uintptr_t(nByte1) << 8 | uintptr_t(nByte2) << 16 |
           uintptr_t(nRate) << 24;
}

class MouseNotifyTest : public CPresenceTest {
protected:
    void SetUp() override {
        Build();
        Cur().Ms.nMode = 0;
        for (auto& mode : Cur().Ms.Mode)
            for (int i = 0; i < MS_DPI_LEVELS; ++i) {
                mode.Dpi[i].nX = 100 * (i + 1);
                mode.Dpi[i].nY = 100 * (i + 1) + 50;
                mode.Dpi[i].bOff = 0;
            }
        g_nCurDpiLevel[0] = g_nCurDpiLevel[1] = g_nCurDpiLevel[2] = 0;
    }
};

TEST_F(MouseNotifyTest, DecodesModeLevelTextsAndRate) {
    struct {
        const char* pszName;
        uintptr_t w;
        std::vector<int> vOff; // level indices switched off in every mode
        int nShowXY, nPopByte1, nMsFw;
        int nLevel; // -1: nothing happens
        const char *pszLevel, *pszValue, *pszValue2;
        std::string strMode;
        int nModeAfter, nRate;
    } const cases[] = {
        {"zero low nibble", Word(2, 0x10), {}, 1, 0, 0x10, -1, "", "", "", "", 0, 0},
        {"no level byte", Word(2, 0, 0, 2), {}, 1, 0, 0x10, -1, "", "", "", "", 0, 0},
        {"mode 0 dropped", Word(0, 1), {}, 1, 0, 0x10, -1, "", "", "", "", 0, 0},
        {"mode 4 dropped", Word(4, 1), {}, 1, 0, 0x10, -1, "", "", "", "", 0, 0},
        {"ordinal past the levels", Word(1, 7), {}, 1, 0, 0x10, -1, "", "", "", "", 0, 0},
        {"levels 1 and 3 off",
         Word(1, 2),
         {0, 2},
         1,
         0,
         0x10,
         3,
         "DPI-4",
         "X 400",
         "Y 450",
         "",
         0,
         0},
        {"high nibble ignored", Word(1, 0x32), {}, 0, 0, 0x10, 1, "DPI-2", "200", "", "", 0, 0},
        {"mode switch and rate",
         Word(3, 1, 0x55, 4),
         {},
         1,
         0,
         0x10,
         0,
         "DPI-1",
         "X 100",
         "Y 150",
         "",
         2,
         4},
        {"PopByte1 mode 1",
         Word(1, 1),
         {},
         0,
         1,
         0x10,
         0,
         "DPI-1",
         "100",
         "",
         Txt("tc_chiji17"),
         0,
         0},
        {"PopByte1 mode 2",
         Word(2, 1),
         {},
         0,
         1,
         0x10,
         0,
         "DPI-1",
         "100",
         "",
         Txt("tc_chiji19"),
         1,
         0},
        {"PopByte1 mode 3", Word(3, 1), {}, 0, 1, 0x10, 0, "DPI-1", "100", "", "", 2, 0},
        {"PopByte1 old firmware",
         Word(2, 1),
         {},
         0,
         1,
         0x0F,
         0,
         "DPI-1",
         "100",
         "",
         Txt("tc_ms7") + " 2",
         1,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        Cur().Ms.nMode = 0;
        for (auto& mode : Cur().Ms.Mode)
            for (int i = 0; i < MS_DPI_LEVELS; ++i)
                mode.Dpi[i].bOff = 0;
        for (auto& mode : Cur().Ms.Mode)
            for (int i : c.vOff)
                mode.Dpi[i].bOff = 1;
        m_var.Dev.Ms.ShowXY = c.nShowXY;
        m_var.Dev.Ms.PopByte1 = c.nPopByte1;
        m_var.MsFw = c.nMsFw;
        m_view = CFakePresenceView();
        g_nCurDpiLevel[0] = g_nCurDpiLevel[1] = g_nCurDpiLevel[2] = 9;

        m_pPresence->HandleWndMessage(2027, c.w, 0);
        EXPECT_EQ(Cur().Ms.nMode, c.nModeAfter);
        if (c.nLevel < 0) {
            EXPECT_TRUE(m_view.vSelected.empty());
            EXPECT_TRUE(m_view.vNotify.empty());
            EXPECT_EQ(m_view.nRefreshMode, 0);
            EXPECT_EQ(g_nCurDpiLevel[0] + g_nCurDpiLevel[1] + g_nCurDpiLevel[2], 27);
            continue;
        }
        const int nMode = int(c.w & 0xFF);
        EXPECT_EQ(g_nCurDpiLevel[nMode - 1], c.nLevel);
        EXPECT_EQ(m_view.vSelected, std::vector<int>{c.nLevel});
        ASSERT_EQ(m_view.vNotify.size(), 1u);
        EXPECT_EQ(m_view.vNotify[0].strLevel, c.pszLevel);
        EXPECT_EQ(m_view.vNotify[0].strValue, c.pszValue);
        EXPECT_EQ(m_view.vNotify[0].strValue2, c.pszValue2);
        EXPECT_EQ(m_view.vNotify[0].strMode, c.strMode);
        EXPECT_EQ(m_view.nRefreshMode, c.nModeAfter != 0 ? 1 : 0);
        EXPECT_EQ(m_view.vRate, c.nRate ? std::vector<int>{c.nRate} : std::vector<int>{});
    }
}

TEST_F(MouseNotifyTest, ModeSwitchIsNotWrittenToTheDevice) {
    auto pMouse = Dev("mouse");
    pMouse->ClearTrace();
    m_pPresence->OnMouseNotify(Word(2, 1));
    EXPECT_EQ(Cur().Ms.nMode, 1);
    EXPECT_TRUE(Log().Has("SwitchMode to 1"));
    EXPECT_TRUE(pMouse->Trace().empty());
}

TEST_F(MouseNotifyTest, NoPopupWithoutPopOrWithoutThePopupWindow) {
    for (int nCase = 0; nCase < 2; ++nCase) {
        m_view = CFakePresenceView();
        m_var.Dev.Ms.Pop = nCase == 0 ? 0 : 1;
        m_view.bPopup = nCase == 0;
        m_pPresence->OnMouseNotify(Word(1, 1));
        EXPECT_TRUE(m_view.vNotify.empty());
        EXPECT_EQ(m_view.vSelected, std::vector<int>{0});
    }
}

TEST_F(MouseNotifyTest, DroppedWhileDisconnectedOrWithoutProfile) {
    m_pState->pMs->Drv()->ClearHandle();
    m_pPresence->OnMouseNotify(Word(2, 1));
    EXPECT_TRUE(Log().Has("589"));
    EXPECT_EQ(Cur().Ms.nMode, 0);
    m_pState->proList.SetCurrent(nullptr);
    m_pPresence->OnMouseNotify(Word(2, 1));
    EXPECT_FALSE(Log().With("pFile=0x0, pSensorCfg=0x").empty());
    EXPECT_TRUE(m_view.vSelected.empty());
    EXPECT_TRUE(Log().Has("OnDeviceBehavior  Buffer= 2 1 0 0, nPopByte1=0"));
}

TEST_F(MouseNotifyTest, ListenerReportsReachTheWindowThroughTheTarget) {
    // The mouse's own buttons, end to end: ServiceThread posts 2027 to presence.
    m_pState->pMs->Drv()->Init(m_pPresence->Target());
    auto pMouse = std::dynamic_pointer_cast<CSimMouse8948>(Dev("mouse"));
    ASSERT_TRUE(pMouse);
    // The listener idles until it polls the notification collection.
    ASSERT_TRUE(WaitFor([&] { return Log().Has("ServiceThread Start"); }));
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    pMouse->PressModeButton(3);
    EXPECT_TRUE(WaitFor([&] { return Cur().Ms.nMode == 2; }));
    m_pPresence->OnMonitorNotify(0x0201);
    EXPECT_TRUE(Log().Has("OnMonitorNotify  nMajor=1, nMinor=2"));
}

} // namespace
