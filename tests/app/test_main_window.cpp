// The main window through its own start-up on the demo installation with simulated
// devices: the family combinations and what stops start-up, the layout rules of the options,
// the tab bar, the tray start, the device list and the closing order.
#include <QFile>
#include <QKeyEvent>

#include "MainWindowFixture.h"
#include "app/profiles/ProfileOps.h"
#include "panels/KeyboardPanels.h"
#include "panels/MousePanels.h"
#include "panels/PadPanels.h"
#include "storage/MacroStore.h"
#include "widgets/PngBtn.h"
#include "widgets/TreeCtrlEx.h"
#include "widgets/WndMessage.h"

namespace {
std::vector<std::string> RowTexts(CTreeCtrlEx* p) {
    std::vector<std::string> v;
    for (HTREEITEM h = p->GetChildItem(TVI_ROOT); h; h = p->GetNextSiblingItem(h))
        v.push_back(p->GetItemText(h));
    return v;
}
HTREEITEM RowOf(CTreeCtrlEx* p, int nFamily) {
    for (HTREEITEM h = p->GetChildItem(TVI_ROOT); h; h = p->GetNextSiblingItem(h))
        if (p->RecordOf(h)->dwValue == static_cast<uint32_t>(nFamily))
            return h;
    return nullptr;
}
} // namespace

TEST_F(CMainWindowTest, FamilyCombinations) {
    struct Case {
        const char *pszMs, *pszKb, *pszPad;
        std::vector<std::string> vRows;
        bool bMouse, bKb, bPad;
    } kCases[] = {
        {"0x10", "20", "40", {"Mouse", "Keyboard", "Mouse pad"}, true, true, true},
        {"0x10", "0", "0", {"Mouse"}, true, false, false},
        {"0", "20", "0", {"Keyboard"}, false, true, false},
        {"0", "0", "40", {"Mouse pad"}, false, false, true},
        {"0", "20", "40", {"Keyboard", "Mouse pad"}, false, true, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.pszMs) + "/" + c.pszKb + "/" + c.pszPad);
        ResetCfg();
        SetKey("OPT", "MsFw", c.pszMs);
        SetKey("OPT", "KbFw", c.pszKb);
        SetKey("OPT", "PadFw", c.pszPad);
        SetKey("OPT", "TrayIcon", "2");
        Load();
        ASSERT_TRUE(Start());
        EXPECT_TRUE(m_pDlg->isVisible());
        EXPECT_EQ(RowTexts(m_pDlg->DevList()), c.vRows);
        EXPECT_EQ(m_pDlg->MousePicture() != nullptr, c.bMouse);
        EXPECT_EQ(m_pDlg->KeyboardPicture() != nullptr, c.bKb);
        EXPECT_EQ(m_pDlg->PadPicture() != nullptr, c.bPad);
        EXPECT_EQ(m_pDlg->NotifyPopup() != nullptr, c.bMouse) << "the pop-up only with a mouse";
        // The first row's family is the one shown.
        const int nFirst = c.bMouse ? FAMILY_MOUSE : c.bKb ? FAMILY_KEYBOARD : FAMILY_PAD;
        EXPECT_EQ(m_pDlg->SelectedFamily(), nFirst);
        EXPECT_EQ(m_pDlg->State().Apply(nFirst) != nullptr, true);
        EXPECT_EQ(m_pDlg->Button(CVelkinDlg::ID_BULLET) != nullptr, c.bMouse);
        EXPECT_TRUE(Boxes().empty()) << Boxes().front();
        EXPECT_TRUE(m_vSkinned.empty());
        ASSERT_NE(m_pDlg->State().Current(), nullptr) << "the store is loaded when shown";
        m_pDlg.reset();
        m_pSim.reset();
    }
}

TEST_F(CMainWindowTest, StartUpStops) {
    struct Case {
        const char* pszName;
        const char *pszKey, *pszValue;
        std::string strSim;
        bool bRemoveBackground;
        std::vector<std::string> vBoxes, vSkinned;
    } kCases[] = {
        {"keyboard code 21", "KbFw", "21", "", false, {"Error|No Keyboard Assigned"}, {}},
        {"pad code 41", "PadFw", "41", "", false, {"Error|No Mouse Pad Assigned"}, {}},
        {"no device without Suwnd", "Suwnd", "0", R"({"devices": []})", false, {}, {"tc_msg13"}},
        {"no background", "Suwnd", "1", "", true, {"Error|Load skins failed."}, {}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.pszName);
        ResetCfg();
        SetKey("OPT", c.pszKey, c.pszValue);
        if (c.bRemoveBackground)
            std::filesystem::rename(m_prog.Path() + "dark/main_nr.png",
                                    m_prog.Path() + "dark/main_nr.moved");
        Load(c.strSim);
        m_sink.m_vEntries.clear();
        m_vSkinned.clear();
        EXPECT_FALSE(Start());
        EXPECT_TRUE(m_pDlg->IsEnded());
        EXPECT_FALSE(m_pDlg->isVisible());
        EXPECT_EQ(Boxes(), c.vBoxes);
        std::vector<std::string> vExpected;
        for (const std::string& s : c.vSkinned)
            vExpected.push_back(Txt(s.c_str()));
        EXPECT_EQ(m_vSkinned, vExpected);
        EXPECT_EQ(m_pDlg->DoModal(), 0) << "an ended window does not run";
        if (c.bRemoveBackground)
            std::filesystem::rename(m_prog.Path() + "dark/main_nr.moved",
                                    m_prog.Path() + "dark/main_nr.png");
        m_pDlg.reset();
        m_pSim.reset();
    }
}

TEST_F(CMainWindowTest, NoDeviceWithSuwndOpensWithStatusNotFound) {
    SetKey("OPT", "Suwnd", "1");
    Load(R"({"devices": []})");
    ASSERT_TRUE(Start());
    CPngBtn* pStatus = m_pDlg->Button(CVelkinDlg::ID_DEV_STATUS);
    ASSERT_NE(pStatus, nullptr);
    EXPECT_EQ(pStatus->Caption(), Txt("tc_msg13"));
    EXPECT_TRUE(pStatus->IsTicked());
}

TEST_F(CMainWindowTest, HideDrvOptHidesOptionsAndProfileControls) {
    struct Case {
        const char* pszValue;
        bool bOptions, bProfiles;
    } kCases[] = {{"0", true, true}, {"1", false, true}, {"2", true, false}, {"3", false, false}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.pszValue);
        ResetCfg();
        SetKey("OPT", "HideDrvOpt", c.pszValue);
        // Odd values read no skin list: the skin is then the "skins" folder.
        Load();
        ASSERT_TRUE(Start());
        EXPECT_EQ(m_pDlg->Button(CVelkinDlg::ID_OPTIONS) != nullptr, c.bOptions);
        for (int nId : {CVelkinDlg::ID_PROFILE_SEL, CVelkinDlg::ID_NEW_PRO, CVelkinDlg::ID_DEL_PRO,
                        CVelkinDlg::ID_PRO_MENU})
            EXPECT_EQ(m_pDlg->Button(nId) != nullptr, c.bProfiles) << nId;
        const std::vector<std::string> vTexts = m_pDlg->DrawnTexts();
        EXPECT_EQ(std::count(vTexts.begin(), vTexts.end(), "tc_protitle"), c.bProfiles ? 1 : 0);
        m_pDlg.reset();
        m_pSim.reset();
    }
}

TEST_F(CMainWindowTest, TabBarWithoutLiftOff) {
    SetKey("MS", "ShowLOD", "0");
    Load();
    ASSERT_TRUE(Start());
    const QPoint ptOrigin(gVar.ptDpiDlg.x, gVar.ptDpiDlg.y);
    EXPECT_EQ(m_pDlg->Button(CVelkinDlg::ID_TAB0 + 4), nullptr) << "four tabs only";
    EXPECT_EQ(m_pDlg->OpenTab(), 0) << "the mouse layout opens tab 0";
    CPanelBase* pSys = m_pDlg->TabPanel(2);
    ASSERT_NE(pSys, nullptr);
    m_pDlg->OpenTab(2);
    EXPECT_EQ(m_pDlg->OpenTab(), 2);
    EXPECT_FALSE(m_pDlg->TabPanel(0)->isVisible()) << "the tab that was open closes";
    EXPECT_TRUE(pSys->isVisible());
    EXPECT_EQ(pSys->pos(), ptOrigin + QPoint(0, 2 * 30 + 25));
    EXPECT_EQ(m_pDlg->Button(CVelkinDlg::ID_TAB0 + 2)->pos(), ptOrigin + QPoint(0, 60));
    EXPECT_EQ(m_pDlg->Button(CVelkinDlg::ID_TAB0 + 3)->pos(),
              ptOrigin + QPoint(0, 3 * 30 + pSys->height()))
        << "tab 3 moves below the pointer panel";
    EXPECT_EQ(m_pDlg->Button(CVelkinDlg::ID_TAB0 + 3)->size(), QSize(245, 25));
    // Opening the open tab closes it and the headers close up again.
    m_pDlg->OpenTab(2);
    EXPECT_EQ(m_pDlg->OpenTab(), -1);
    EXPECT_FALSE(pSys->isVisible());
    EXPECT_EQ(m_pDlg->Button(CVelkinDlg::ID_TAB0 + 3)->pos(), ptOrigin + QPoint(0, 90));
}

TEST_F(CMainWindowTest, TabVisibilityRules) {
    struct Case {
        const char *pszKey, *pszValue;
        int nTab;
        bool bVisible;
    } kCases[] = {
        {"ShowLED", "255", 1, true},          {"ShowLED", "0", 1, false},
        {"ShowLED", "0x101", 1, false},       {"ShowUsbRate", "0", 3, false},
        {"AlwaysHideUsbRate", "1", 3, false}, {"ShowUsbRate", "1", 3, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.pszKey) + "=" + c.pszValue);
        ResetCfg();
        SetKey("MS", c.pszKey, c.pszValue);
        Load();
        ASSERT_TRUE(Start());
        EXPECT_EQ(m_pDlg->TabVisible(c.nTab), c.bVisible);
        EXPECT_EQ(m_pDlg->Button(CVelkinDlg::ID_TAB0 + c.nTab)->isVisible(), c.bVisible);
        m_pDlg->OpenTab(c.nTab);
        EXPECT_EQ(m_pDlg->OpenTab(), c.bVisible ? c.nTab : -1);
        m_pDlg.reset();
        m_pSim.reset();
    }
}

TEST_F(CMainWindowTest, TrayStartStaysHiddenUntilShown) {
    SetKey("OPT", "TrayIcon", "1");
    Load();
    ASSERT_TRUE(Start());
    EXPECT_FALSE(m_pDlg->WindowShown());
    EXPECT_FALSE(m_pDlg->isVisible());
    m_pDlg->show(); // every attempt before the user opens it is ignored
    EXPECT_FALSE(m_pDlg->isVisible());
    EXPECT_EQ(m_pDlg->State().Current(), nullptr) << "profiles load when first shown";

    PostWndMessage(m_pDlg.get(), WM_TRAY_NOTIFY, 0, TRAY_RBUTTONUP - 1);
    Pump();
    EXPECT_FALSE(m_pDlg->isVisible()) << "other tray messages do not show it";
    PostWndMessage(m_pDlg.get(), WM_TRAY_NOTIFY, 0, TRAY_DBLCLK);
    Pump();
    EXPECT_TRUE(m_pDlg->WindowShown());
    EXPECT_TRUE(m_pDlg->isVisible());
    EXPECT_NE(m_pDlg->State().Current(), nullptr);
    EXPECT_NE(Log().find("OnConfig hWnd="), std::string::npos);
    // Closing hides it while a tray icon is configured.
    m_pDlg->OnCommand(CVelkinDlg::ID_CLOSE);
    EXPECT_FALSE(m_pDlg->isVisible());
    EXPECT_FALSE(m_pDlg->IsEnded());
}

TEST_F(CMainWindowTest, DeviceListSwitchesFamilies) {
    Load();
    ASSERT_TRUE(Start());
    CTreeCtrlEx* pList = m_pDlg->DevList();
    auto click = [&](int nFamily) {
        PostWndMessage(m_pDlg.get(), WM_TREE_LBUTTONDOWN, CVelkinDlg::kDevListId,
                       reinterpret_cast<intptr_t>(RowOf(pList, nFamily)));
        Pump();
    };
    m_pDlg->OpenTab(2);
    click(FAMILY_KEYBOARD);
    EXPECT_EQ(m_pDlg->SelectedFamily(), FAMILY_KEYBOARD);
    EXPECT_TRUE(m_pDlg->KeyboardPicture()->isVisible());
    EXPECT_TRUE(m_pDlg->KeyboardLight()->isVisible());
    EXPECT_FALSE(m_pDlg->MousePicture()->isVisible());
    EXPECT_FALSE(m_pDlg->KeyPanel()->isVisible());
    EXPECT_FALSE(m_pDlg->Button(CVelkinDlg::ID_TAB0)->isVisible());
    EXPECT_FALSE(m_pDlg->TabPanel(2)->isVisible());
    EXPECT_FALSE(m_pDlg->Button(CVelkinDlg::ID_MODE0)->isVisible());

    click(FAMILY_PAD);
    EXPECT_TRUE(m_pDlg->PadPicture()->isVisible());
    EXPECT_TRUE(m_pDlg->PadLight()->isVisible());
    EXPECT_FALSE(m_pDlg->KeyboardPicture()->isVisible());

    click(FAMILY_MOUSE);
    EXPECT_TRUE(m_pDlg->MousePicture()->isVisible());
    EXPECT_FALSE(m_pDlg->PadPicture()->isVisible());
    EXPECT_EQ(m_pDlg->OpenTab(), 2) << "the tab that was open stays open";
    EXPECT_TRUE(m_pDlg->TabPanel(2)->isVisible());
    // A click beside the rows (no item) and another control's id change nothing.
    PostWndMessage(m_pDlg.get(), WM_TREE_LBUTTONDOWN, CVelkinDlg::kDevListId, 0);
    PostWndMessage(m_pDlg.get(), WM_TREE_LBUTTONDOWN, 77,
                   reinterpret_cast<intptr_t>(RowOf(pList, FAMILY_PAD)));
    Pump();
    EXPECT_EQ(m_pDlg->SelectedFamily(), FAMILY_MOUSE);
}

TEST_F(CMainWindowTest, KeyboardPictureMessages) {
    Load();
    ASSERT_TRUE(Start());
    CKBColorDlg* pPic = m_pDlg->KeyboardPicture();
    pPic->SetKeyMark(5, true);
    PostWndMessage(m_pDlg.get(), WM_KB_PICTURE_MODE, 1, 0);
    Pump();
    EXPECT_EQ(pPic->PictureMode(), CKBColorDlg::PICTURE_COLOURS);
    EXPECT_EQ(pPic->KeyMarkCount(), 0);
    // In colour mode a clicked key goes to the light panel, as do rectangle selections.
    PostWndMessage(m_pDlg.get(), WM_KB_KEY_CLICKED, 12, 0);
    PostWndMessage(m_pDlg.get(), WM_KB_KEYS_SELECTED, 3, 4);
    Pump();
    ASSERT_EQ(m_pDlg->KeyboardLight()->PictureMessages().size(), 2u);
    EXPECT_EQ(m_pDlg->KeyboardLight()->PictureMessages()[0].wParam, 12u);
    EXPECT_EQ(m_pDlg->KeyboardLight()->PictureMessages()[1].lParam, 4);
    PostWndMessage(m_pDlg.get(), WM_KB_PICTURE_MODE, 0, 0);
    Pump();
    EXPECT_EQ(pPic->PictureMode(), CKBColorDlg::PICTURE_KEYS);
    // Busy follows the picture of the family shown.
    PostWndMessage(m_pDlg.get(), WM_PICTURE_BUSY, 1, 0);
    Pump();
    EXPECT_TRUE(m_pDlg->MousePicture()->IsBusy());
    EXPECT_FALSE(pPic->IsBusy());
    PostWndMessage(m_pDlg.get(), WM_PICTURE_BUSY, 0, 0);
    Pump();
    EXPECT_FALSE(m_pDlg->MousePicture()->IsBusy());
}

TEST_F(CMainWindowTest, KeyFilter) {
    Load();
    ASSERT_TRUE(Start());
    CPngBtn* pApply = m_pDlg->Button(CVelkinDlg::ID_APPLY);
    ASSERT_NE(pApply, nullptr);
    auto send = [](QWidget* p, QEvent::Type t, int nKey) {
        QKeyEvent ev(t, nKey, Qt::NoModifier);
        return QApplication::sendEvent(p, &ev) && ev.isAccepted();
    };
    for (int nKey : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space, Qt::Key_F1}) {
        QKeyEvent ev(QEvent::KeyPress, nKey, Qt::NoModifier);
        EXPECT_TRUE(m_pDlg->eventFilter(pApply, &ev)) << nKey;
    }
    QKeyEvent evA(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_FALSE(m_pDlg->eventFilter(pApply, &evA));
    // Capturing on the keyboard picture: presses go to it, releases are dropped.
    CKBColorDlg* pPic = m_pDlg->KeyboardPicture();
    pPic->SetCapturing(true);
    send(pApply, QEvent::KeyPress, Qt::Key_A);
    send(pApply, QEvent::KeyRelease, Qt::Key_A);
    send(pApply, QEvent::KeyPress, Qt::Key_Escape);
    EXPECT_EQ(pPic->CapturedKeys(), (std::vector<int>{0x41, 0x1B}));
    pPic->SetCapturing(false);
    pPic->SetReacting(true);
    send(pApply, QEvent::KeyPress, Qt::Key_B);
    EXPECT_EQ(pPic->PreviewKeys(), (std::vector<int>{0x42}));
}

TEST_F(CMainWindowTest, ExitSavesTheStoreAndCloseLogsTheOrder) {
    SetKey("OPT", "TrayIcon", "2");
    Load();
    ASSERT_TRUE(Start());
    ASSERT_NE(m_pDlg->State().Current(), nullptr);
    const std::string strPro = m_pDlg->State().proList.ProFilePath();
    QFile::remove(QString::fromStdString(strPro));
    CApplyThread* pMs = m_pDlg->State().pApplyMs.get();
    ASSERT_TRUE(pMs && pMs->Running());
    // An open skinned box is closed by the exit command.
    bool bBoxClosed = false;
    QTimer::singleShot(0, [&] {
        CMsgDlg box(m_pDlg.get(), CMsgDlg::MODE_INFO, "open");
        QTimer::singleShot(0, [this] { m_pDlg->OnCommand(CMD_EXIT); });
        box.Run();
        bBoxClosed = true;
    });
    // The close button without a tray icon exits too.
    const int nEnd = m_pDlg->DoModal();
    EXPECT_EQ(nEnd, 1);
    EXPECT_TRUE(bBoxClosed);
    EXPECT_TRUE(m_pDlg->IsEnded());
    EXPECT_TRUE(std::filesystem::exists(strPro)) << "the store is saved at exit";
    m_pDlg.reset();
    const std::string strLog = Log();
    const size_t nStart = strLog.find("DestroyWindow START");
    const size_t nThreadExit = strLog.find("thread exit", nStart);
    const size_t nEndLine = strLog.find("DestroyWindow END");
    ASSERT_NE(nStart, std::string::npos);
    ASSERT_NE(nEndLine, std::string::npos);
    EXPECT_LT(nThreadExit, nEndLine) << "the apply threads end before destruction ends";
    EXPECT_EQ(MacroStore.Count(), 0u);
}

TEST_F(CMainWindowTest, CloseButtonWithoutTrayExits) {
    SetKey("OPT", "TrayIcon", "2");
    Load();
    ASSERT_TRUE(Start());
    m_pDlg->OnCommand(CVelkinDlg::ID_CLOSE);
    EXPECT_TRUE(m_pDlg->IsEnded());
    EXPECT_TRUE(std::filesystem::exists(m_pDlg->State().proList.ProFilePath()));
}

TEST_F(CMainWindowTest, SkinAndTextsAgain) {
    Load();
    ASSERT_TRUE(Start());
    m_pDlg->OpenTab(2);
    gVar.nSkinsIndex = 1; // the light skin
    m_pDlg->ReloadSkin();
    EXPECT_FALSE(m_pDlg->Background().isNull());
    EXPECT_NE(m_pDlg->Button(CVelkinDlg::ID_APPLY), nullptr);
    EXPECT_EQ(m_pDlg->OpenTab(), 2);
    m_pDlg->RetextAll();
    EXPECT_EQ(m_pDlg->Button(CVelkinDlg::ID_APPLY)->Caption(), Txt("tc_apply"));
    EXPECT_EQ(RowTexts(m_pDlg->DevList()).front(), Txt("tc_msg24"));
}
