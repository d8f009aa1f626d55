// The main window through its own start-up on the demo installation with simulated
// devices: the family combinations and what stops start-up, the layout rules of the options,
// the tab bar, the tray start, the device list and the closing order.
#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>

#include "MainWindowFixture.h"
#include "app/dialogs/DrvcfgDlg.h"
#include "app/profiles/ProfileOps.h"
#include "device/sim/SimMouse8948.h"
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
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_TAB0 + 2));
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
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_TAB0 + 2));
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
        if (c.bVisible) {
            ASSERT_TRUE(ClickButton(CVelkinDlg::ID_TAB0 + c.nTab));
            EXPECT_EQ(m_pDlg->OpenTab(), c.nTab);
        } else {
            // No click can reach a hidden header; the mode refresh asks for tabs too, and a
            // hidden one is not opened for it either.
            m_pDlg->OpenTab(c.nTab);
            EXPECT_EQ(m_pDlg->OpenTab(), -1);
        }
        m_pDlg.reset();
        m_pSim.reset();
    }
}

TEST_F(CMainWindowTest, TrayStartStaysHiddenUntilShown) {
    SetTrayAvailableOverride(true);
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
}

// The close button hides the window only where a tray icon can show it again; everywhere
// else it ends the program, as does a tray start on a desktop without a notification area,
// which starts shown instead of hidden.
TEST_F(CMainWindowTest, CloseButtonHidesOnlyWhenATrayIconCanShowTheWindowAgain) {
    struct Case {
        const char* pszTray;
        bool bTrayAvailable;
        bool bStartsShown, bClosedEnds;
    } kCases[] = {
        {"1", true, false, false}, {"3", true, true, false}, {"1", false, true, true},
        {"3", false, true, true},  {"2", true, true, true},  {"2", false, true, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string("TrayIcon=") + c.pszTray +
                     (c.bTrayAvailable ? " with" : " without") + " a notification area");
        ResetCfg();
        SetKey("OPT", "TrayIcon", c.pszTray);
        SetTrayAvailableOverride(c.bTrayAvailable);
        Load();
        ASSERT_TRUE(Start());
        EXPECT_EQ(m_pDlg->TrayIcon() != nullptr, c.bTrayAvailable && std::string(c.pszTray) != "2");
        EXPECT_EQ(m_pDlg->isVisible(), c.bStartsShown);
        if (!c.bTrayAvailable && std::string(c.pszTray) == "1") {
            EXPECT_NE(Log().find("No tray icon to open the window from"), std::string::npos);
        }
        if (!m_pDlg->isVisible()) {
            // The user opens it from the tray icon.
            PostWndMessage(m_pDlg.get(), WM_TRAY_NOTIFY, 0, TRAY_DBLCLK);
            Pump();
            ASSERT_TRUE(m_pDlg->isVisible());
        }
        const std::string strPro = m_pDlg->State().proList.ProFilePath();
        std::filesystem::remove(strPro);
        ASSERT_TRUE(ClickButton(CVelkinDlg::ID_CLOSE));
        Pump();
        EXPECT_EQ(m_pDlg->IsEnded(), c.bClosedEnds);
        EXPECT_FALSE(m_pDlg->isVisible());
        EXPECT_EQ(std::filesystem::exists(strPro), c.bClosedEnds) << "the exit saves the store";
        if (!c.bClosedEnds) {
            // Hidden, it comes back from the tray icon.
            PostWndMessage(m_pDlg.get(), WM_TRAY_NOTIFY, 0, TRAY_DBLCLK);
            Pump();
            EXPECT_TRUE(m_pDlg->isVisible());
        }
        m_pDlg.reset();
        m_pSim.reset();
    }
}

// One click on a button runs its command once: one question, one profile made or
// deleted, one apply, one options dialog.
TEST_F(CMainWindowTest, EachButtonClickRunsItsCommandOnce) {
    SetKey("OPT", "TrayIcon", "2");
    Load();
    ASSERT_TRUE(Start());
    ASSERT_NE(m_pDlg->State().Current(), nullptr);
    const CProList& list = m_pDlg->State().proList;
    CApplyThread* pMs = m_pDlg->State().Apply(FAMILY_MOUSE);
    ASSERT_NE(pMs, nullptr);

    // The options dialog is closed with its close button each time it opens.
    int nOptions = 0;
    QTimer optionsWatch;
    QObject::connect(&optionsWatch, &QTimer::timeout, [&] {
        for (QWidget* p : QApplication::topLevelWidgets()) {
            auto* pDlg = qobject_cast<CDrvcfgDlg*>(p);
            if (!pDlg || !pDlg->isVisible() || pDlg->property("counted").toBool())
                continue;
            pDlg->setProperty("counted", true);
            ++nOptions;
            if (CPngBtn* pClose = pDlg->CloseButton())
                QTest::mouseClick(pClose, Qt::LeftButton, Qt::NoModifier, pClose->rect().center());
            else
                pDlg->reject();
        }
    });
    optionsWatch.start(10);

    struct Case {
        const char* pszName;
        int nId;
        std::deque<CBoxAnswer> answers;
        std::vector<const char*> vBoxes; // text ids of the boxes, in order
        int nProfileChange, nApplies, nOptions;
    } kCases[] = {
        {"delete profile", CVelkinDlg::ID_DEL_PRO, {{true, ""}}, {"tc_msg6"}, -1, 0, 0},
        {"new profile", CVelkinDlg::ID_NEW_PRO, {{true, "Gamma"}}, {"tc_msg3"}, 1, 0, 0},
        {"reset declined", CVelkinDlg::ID_RESET, {{false, ""}}, {"tc_msg7"}, 0, 0, 0},
        {"reset", CVelkinDlg::ID_RESET, {{true, ""}}, {"tc_msg7"}, 0, 1, 0},
        {"apply", CVelkinDlg::ID_APPLY, {}, {}, 0, 1, 0},
        {"options", CVelkinDlg::ID_OPTIONS, {}, {}, 0, 0, 1},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.pszName);
        m_vSkinned.clear();
        m_dqAnswers = c.answers;
        const size_t nProfiles = list.Count();
        const int nHandled = pMs->Handled();
        const int nOptionsBefore = nOptions;
        CProgressWatch watch;
        ASSERT_TRUE(ClickButton(c.nId));
        // Whatever the click started has ended when the click returns; a second run would
        // start from a posted message.
        Pump();
        std::vector<std::string> vExpected;
        for (const char* psz : c.vBoxes)
            vExpected.push_back(Txt(psz));
        EXPECT_EQ(m_vSkinned, vExpected);
        EXPECT_TRUE(m_dqAnswers.empty()) << "a scripted answer was not needed";
        EXPECT_EQ(static_cast<int>(list.Count()) - static_cast<int>(nProfiles), c.nProfileChange);
        EXPECT_EQ(watch.m_nWindows, c.nApplies) << "progress windows";
        EXPECT_TRUE(pMs->WaitHandled(nHandled + c.nApplies, 5000));
        EXPECT_EQ(pMs->Handled() - nHandled, c.nApplies) << "applies the mouse worker ran";
        EXPECT_EQ(nOptions - nOptionsBefore, c.nOptions) << "options dialogs";
        EXPECT_FALSE(watch.m_bForced);
    }
}

// Mode button i selects mode i: the profile's mode, the mouse's and the pressed button.
TEST_F(CMainWindowTest, ModeButtonsSelectTheirOwnMode) {
    SetKey("OPT", "TrayIcon", "2");
    Load();
    ASSERT_TRUE(Start());
    auto pMouse = std::dynamic_pointer_cast<CSimMouse8948>(m_pSim->Backend().Find("mouse"));
    ASSERT_NE(pMouse, nullptr);
    const SensorCfg* pCfg = gVar.Dev.Ms.pSensorCfg();
    ASSERT_TRUE(pCfg && pCfg->MDNUM == 3) << "the demo mouse has three modes";
    const Profile* pCur = m_pDlg->State().Current();
    ASSERT_NE(pCur, nullptr);
    for (int nButton : {2, 3, 1, 3}) {
        SCOPED_TRACE("mode button " + std::to_string(nButton));
        ASSERT_TRUE(ClickButton(CVelkinDlg::ID_MODE0 + nButton - 1));
        Pump();
        EXPECT_EQ(pCur->Ms.nMode, nButton - 1);
        EXPECT_EQ(pMouse->State().nMode, nButton) << "the mouse is switched too";
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(m_pDlg->Button(CVelkinDlg::ID_MODE0 + i)->IsTicked(), i == nButton - 1)
                << "button " << i + 1;
    }
    EXPECT_TRUE(Log().find("SetMode err=") == std::string::npos);
}

TEST_F(CMainWindowTest, DeviceListSwitchesFamilies) {
    Load();
    ASSERT_TRUE(Start());
    CTreeCtrlEx* pList = m_pDlg->DevList();
    auto click = [&](int nFamily) { ASSERT_TRUE(ClickDeviceRow(nFamily)); };
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_TAB0 + 2));
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
    // A click the list reports without a row (the demo's rows fill the whole list, so no
    // click of ours lands beside them) and another control's id change nothing.
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

// Counts the key events that reach a control past the window's key filter.
class CKeySeen : public QObject {
public:
    int m_nKeys = 0;

protected:
    bool eventFilter(QObject*, QEvent* pEvent) override {
        if (pEvent->type() == QEvent::KeyPress || pEvent->type() == QEvent::KeyRelease)
            ++m_nKeys;
        return false;
    }
};

TEST_F(CMainWindowTest, KeyFilter) {
    Load();
    ASSERT_TRUE(Start());
    CPngBtn* pApply = m_pDlg->Button(CVelkinDlg::ID_APPLY);
    ASSERT_NE(pApply, nullptr);
    CKeySeen seen;
    pApply->installEventFilter(&seen);
    const int nHandled = m_pDlg->State().Apply(FAMILY_MOUSE)->Handled();
    // Enter, Esc, Space and F1 never reach a control: they cannot press a button or close
    // the window.
    for (Qt::Key nKey :
         {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space, Qt::Key_F1}) {
        QTest::keyClick(pApply, nKey);
        EXPECT_EQ(seen.m_nKeys, 0) << nKey;
    }
    Pump();
    EXPECT_FALSE(m_pDlg->IsEnded());
    EXPECT_TRUE(m_pDlg->isVisible());
    EXPECT_EQ(m_pDlg->State().Apply(FAMILY_MOUSE)->Handled(), nHandled);
    EXPECT_TRUE(m_vSkinned.empty());
    QTest::keyClick(pApply, Qt::Key_A);
    EXPECT_EQ(seen.m_nKeys, 2) << "other keys pass";
    // Capturing on the keyboard picture: presses go to it, releases are dropped.
    CKBColorDlg* pPic = m_pDlg->KeyboardPicture();
    pPic->SetCapturing(true);
    QTest::keyClick(pApply, Qt::Key_A);
    QTest::keyClick(pApply, Qt::Key_Escape);
    EXPECT_EQ(pPic->CapturedKeys(), (std::vector<int>{0x41, 0x1B}));
    pPic->SetCapturing(false);
    EXPECT_EQ(seen.m_nKeys, 2) << "the capture takes presses and releases";
    // Reacting: the preview takes the presses.
    pPic->SetReacting(true);
    QTest::keyPress(pApply, Qt::Key_B);
    EXPECT_EQ(pPic->PreviewKeys(), (std::vector<int>{0x42}));
    EXPECT_EQ(seen.m_nKeys, 2);
    QTest::keyRelease(pApply, Qt::Key_B);
}

TEST_F(CMainWindowTest, ExitSavesTheStoreAndCloseLogsTheOrder) {
    SetTrayAvailableOverride(true);
    SetKey("OPT", "TrayIcon", "3");
    Load();
    ASSERT_TRUE(Start());
    ASSERT_NE(m_pDlg->State().Current(), nullptr);
    const std::string strPro = m_pDlg->State().proList.ProFilePath();
    QFile::remove(QString::fromStdString(strPro));
    CApplyThread* pMs = m_pDlg->State().pApplyMs.get();
    ASSERT_TRUE(pMs && pMs->Running());
    // An open skinned box is closed by the exit command of the tray menu.
    QAction* pExit = nullptr;
    ASSERT_NE(m_pDlg->TrayMenu(), nullptr);
    for (QAction* pAction : m_pDlg->TrayMenu()->actions())
        if (pAction->text().toStdString() == Txt("tc_exit"))
            pExit = pAction;
    ASSERT_NE(pExit, nullptr);
    m_boxTimer.stop(); // the box stays open until the exit closes it
    bool bBoxClosed = false;
    QTimer::singleShot(0, [&] {
        CMsgDlg box(m_pDlg.get(), CMsgDlg::MODE_INFO, "open");
        QTimer::singleShot(0, [pExit] { pExit->trigger(); });
        box.Run();
        bBoxClosed = true;
    });
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

TEST_F(CMainWindowTest, SkinAndTextsAgain) {
    Load();
    ASSERT_TRUE(Start());
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_TAB0 + 2));
    gVar.nSkinsIndex = 1; // the light skin
    m_pDlg->ReloadSkin();
    EXPECT_FALSE(m_pDlg->Background().isNull());
    EXPECT_NE(m_pDlg->Button(CVelkinDlg::ID_APPLY), nullptr);
    EXPECT_EQ(m_pDlg->OpenTab(), 2);
    m_pDlg->RetextAll();
    EXPECT_EQ(m_pDlg->Button(CVelkinDlg::ID_APPLY)->Caption(), Txt("tc_apply"));
    EXPECT_EQ(RowTexts(m_pDlg->DevList()).front(), Txt("tc_msg24"));
}
