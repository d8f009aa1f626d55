// The profile controls and the mode, apply and reset buttons of the main window, worked as
// the user works them: clicks on the buttons and on the entries of the menus they open,
// names typed into the skinned boxes, the simulated devices plugged and unplugged.
#include <algorithm>

#include "MainWindowFixture.h"
#include "app/profiles/AnswerChooser.h"
#include "app/profiles/FileChooser.h"
#include "app/profiles/ProfileOps.h"
#include "device/hid/CurLevels.h"
#include "device/sim/SimMouse8948.h"
#include "device/sim/SimSmallDevices.h"
#include "platform/FileLookup.h"
#include "storage/ProfileStore.h"
#include "storage/WideField.h"
#include "support/QtPump.h"
#include "widgets/menuex/MenuEx.h"
#include "widgets/menuex/MenuExWnd.h"

namespace {

constexpr const char* kMaxProfiles = "The number of profile has reached it's maximum";

class CWindowProfilesTest : public CMainWindowTest {
protected:
    void TearDown() override {
        DestroyMenuEx();
        CMainWindowTest::TearDown();
    }
    // The window over a store of these profiles (the first current); the store file is
    // then removed, so Saved tells whether an operation saved it.
    void StartWith(const std::vector<std::string>& vNames) {
        SetKey("OPT", "TrayIcon", "2");
        Load();
        {
            CProList list(gVar);
            Profile pro{};
            for (const std::string& s : vNames) {
                list.CreateDefault(pro, s);
                list.SetCurrent(list.AddCopy(pro));
            }
            list.SetCurrent(list.List().Head());
            ASSERT_TRUE(list.Save());
            ASSERT_TRUE(list.WriteCurrentId());
        }
        ASSERT_TRUE(Start());
        ASSERT_EQ(Names(), vNames);
        m_pDlg->ProfileOps()->SetFileChooser(&m_chooser);
        std::filesystem::remove(m_pDlg->State().proList.ProFilePath());
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> v;
        for (const Profile& p : m_pDlg->State().proList.List())
            v.push_back(GetWideField(p.szName, PROFILE_NAME_LEN));
        return v;
    }
    Profile& Cur() { return *m_pDlg->State().Current(); }
    std::string Selector() const { return m_pDlg->Selector()->Caption(); }
    bool Saved() const { return FileLookup::Exists(m_pDlg->State().proList.ProFilePath()); }
    uint32_t StoredId() const { return m_pDlg->State().proList.ReadCurrentId(); }
    std::vector<std::string> Expected(std::initializer_list<const char*> ids) const {
        std::vector<std::string> v;
        for (const char* psz : ids)
            v.push_back(Txt(psz));
        return v;
    }
    // The ids of the open menu's entries, in order.
    std::vector<uint32_t> MenuIds() const {
        std::vector<uint32_t> v;
        if (CMenuExWnd* pMenu = MenuExCurrent())
            for (int i = 0; i < pMenu->ItemCount(); ++i)
                v.push_back(pMenu->ItemId(i));
        return v;
    }
    // Clicks the button that opens a menu, then the menu's entry with this id.
    bool ChooseFromMenu(int nButton, uint32_t dwItem) {
        if (!ClickButton(nButton))
            return false;
        CMenuExWnd* pMenu = MenuExCurrent();
        if (!pMenu) {
            ADD_FAILURE() << "no menu opened";
            return false;
        }
        for (int i = 0; i < pMenu->ItemCount(); ++i) {
            if (pMenu->ItemId(i) != dwItem)
                continue;
            QTest::mouseClick(pMenu, Qt::LeftButton, Qt::NoModifier, pMenu->ItemRect(i).center());
            Pump(); // the pick is posted to the window
            return true;
        }
        ADD_FAILURE() << "no entry " << dwItem << " in the menu";
        DestroyMenuEx();
        return false;
    }
    bool SelectProfileByMenu(const std::string& strName) {
        const Profile* p = nullptr;
        for (const Profile& pro : m_pDlg->State().proList.List())
            if (GetWideField(pro.szName, PROFILE_NAME_LEN) == strName)
                p = &pro;
        return p && ChooseFromMenu(CVelkinDlg::ID_PROFILE_SEL, p->dwId);
    }
    std::shared_ptr<CSimDevice> Sim(const char* pszName) { return m_pSim->Backend().Find(pszName); }
    CSimMouse8948& Mouse() { return dynamic_cast<CSimMouse8948&>(*Sim("mouse")); }
    void Unplug(const char* pszName, int nFamily) {
        ASSERT_EQ(m_pSim->Execute(std::string("unplug ") + pszName), "ok");
        ASSERT_TRUE(PumpUntil([&] { return !m_pDlg->State().Connected(nFamily); }, 5000));
    }
    // Every box was up while the picture was busy, and the picture is idle again.
    void ExpectBusyOnlyDuringBoxes() {
        for (size_t i = 0; i < m_vBusyAtBox.size(); ++i)
            EXPECT_TRUE(m_vBusyAtBox[i]) << "box " << i << ": " << m_vSkinned[i];
        EXPECT_FALSE(PictureBusy()) << "the busy flag ends with the operation";
    }

    CAnswerChooser m_chooser;
};

TEST_F(CWindowProfilesTest, NewProfileIsAddedSelectedAndSaved) {
    StartWith({"Alpha", "Beta"});
    m_dqAnswers = {{true, "Gamma"}};
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_NEW_PRO));
    EXPECT_EQ(Names(), std::vector<std::string>({"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(m_pDlg->State().Current(), m_pDlg->State().proList.List().At(2));
    EXPECT_EQ(Selector(), "Gamma");
    EXPECT_EQ(m_vSkinned, Expected({"tc_msg3"}));
    EXPECT_TRUE(Saved());
    EXPECT_EQ(StoredId(), Cur().dwId);
    ExpectBusyOnlyDuringBoxes();
}

// Names that are taken, compared without regard to case and as stored (cut to 19
// characters), and a cancelled box add nothing and save nothing.
TEST_F(CWindowProfilesTest, NewProfileRefusals) {
    StartWith({"Alpha", "Beta"});
    struct Case {
        const char* pszName;
        std::deque<CBoxAnswer> answers;
        std::vector<std::string> vBoxes;
        size_t nProfiles;
    } kCases[] = {
        {"taken in other letters", {{true, "bETA"}}, Expected({"tc_msg3", "tc_msg20"}), 2},
        {"cancelled", {{false, "Delta"}}, Expected({"tc_msg3"}), 2},
        {"nothing typed", {{true, ""}}, Expected({"tc_msg3"}), 2},
        {"nineteen characters", {{true, "Nineteen-characters"}}, Expected({"tc_msg3"}), 3},
        {"the same once cut",
         {{true, "NINETEEN-CHARACTERS-and-more"}},
         Expected({"tc_msg3", "tc_msg20"}),
         3},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.pszName);
        m_vSkinned.clear();
        m_vBusyAtBox.clear();
        m_dqAnswers = c.answers;
        const bool bAdds = c.nProfiles > Names().size();
        ASSERT_TRUE(ClickButton(CVelkinDlg::ID_NEW_PRO));
        EXPECT_EQ(Names().size(), c.nProfiles);
        EXPECT_EQ(m_vSkinned, c.vBoxes);
        EXPECT_EQ(Saved(), bAdds);
        ExpectBusyOnlyDuringBoxes();
        std::filesystem::remove(m_pDlg->State().proList.ProFilePath());
    }
}

TEST_F(CWindowProfilesTest, TwelveProfilesAreTheLimit) {
    StartWith({"Alpha", "Beta"});
    for (int i = 3; i <= 12; ++i) {
        m_dqAnswers = {{true, "P" + std::to_string(i)}};
        ASSERT_TRUE(ClickButton(CVelkinDlg::ID_NEW_PRO));
    }
    ASSERT_EQ(Names().size(), 12u);
    m_vSkinned.clear();
    m_vBusyAtBox.clear();
    m_dqAnswers = {{true, "P13"}};
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_NEW_PRO));
    EXPECT_EQ(Names().size(), 12u);
    EXPECT_EQ(m_vSkinned, std::vector<std::string>({kMaxProfiles}));
    EXPECT_EQ(m_vBusyAtBox, std::vector<bool>({false})) << "refused before the work starts";
    EXPECT_FALSE(PictureBusy());
}

TEST_F(CWindowProfilesTest, DeleteAsksRemovesTheCurrentAndSelectsTheFirst) {
    StartWith({"Alpha", "Beta"});
    ASSERT_TRUE(SelectProfileByMenu("Beta"));
    EXPECT_EQ(Selector(), "Beta");
    m_dqAnswers = {{false, ""}};
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_DEL_PRO)); // declined
    EXPECT_EQ(Names().size(), 2u);
    EXPECT_FALSE(Saved());
    m_dqAnswers = {{true, ""}};
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_DEL_PRO));
    EXPECT_EQ(Names(), std::vector<std::string>({"Alpha"}));
    EXPECT_EQ(Selector(), "Alpha");
    EXPECT_EQ(m_vSkinned, Expected({"tc_msg6", "tc_msg6"}));
    EXPECT_TRUE(Saved());
    EXPECT_EQ(StoredId(), Cur().dwId);

    // The last profile stays.
    m_dqAnswers = {{true, ""}};
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_DEL_PRO));
    EXPECT_EQ(Names(), std::vector<std::string>({"Alpha"}));
    EXPECT_EQ(m_vSkinned.back(), Txt("tc_msg8"));
    ExpectBusyOnlyDuringBoxes();
}

TEST_F(CWindowProfilesTest, RenameCutsTheNameAndDoesNotSave) {
    StartWith({"Alpha", "Beta"});
    m_dqAnswers = {{false, "Cancelled name"}};
    ASSERT_TRUE(ChooseFromMenu(CVelkinDlg::ID_PRO_MENU, PROMENU_RENAME));
    EXPECT_EQ(Names()[0], "Alpha");
    // (The box takes no blanks: Space is one of the keys it swallows.)
    m_dqAnswers = {{true, "A_rather_long_new_profile_name"}};
    ASSERT_TRUE(ChooseFromMenu(CVelkinDlg::ID_PRO_MENU, PROMENU_RENAME));
    EXPECT_EQ(Names()[0], "A_rather_long_new_p");
    EXPECT_EQ(Selector(), "A_rather_long_new_p");
    EXPECT_EQ(m_vSkinned, Expected({"tc_msg3", "tc_msg3"}));
    EXPECT_FALSE(Saved());
    ExpectBusyOnlyDuringBoxes();
}

TEST_F(CWindowProfilesTest, MenusOpenAtTheirButtonsWithTheirEntries) {
    StartWith({"Alpha", "Beta"});
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_PROFILE_SEL));
    CMenuExWnd* pMenu = MenuExCurrent();
    ASSERT_NE(pMenu, nullptr);
    ASSERT_EQ(pMenu->ItemCount(), 2);
    EXPECT_EQ(pMenu->ItemText(1), "Beta");
    EXPECT_EQ(pMenu->ItemId(1), m_pDlg->State().proList.List().At(1)->dwId);
    EXPECT_EQ(pMenu->width(), PROFILE_LIST_MENU_WIDTH);
    DestroyMenuEx();

    ASSERT_GE(gVar.MsFw & 0xFF, 16);
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_PRO_MENU));
    EXPECT_EQ(MenuIds(), std::vector<uint32_t>({3, 4, 5, 6, 7}));
    pMenu = MenuExCurrent();
    ASSERT_NE(pMenu, nullptr);
    EXPECT_EQ(pMenu->width(), PROFILE_MENU_WIDTH);
    const CPngBtn* pButton = m_pDlg->Button(CVelkinDlg::ID_PRO_MENU);
    EXPECT_LE(
        std::abs(pMenu->mapToGlobal(QPoint(0, 0)).x() - pButton->mapToGlobal(QPoint(0, 0)).x()),
        pButton->width())
        << "the menu opens at its button";
    DestroyMenuEx();
    EXPECT_FALSE(PictureBusy());
}

TEST_F(CWindowProfilesTest, ExportAndImportAProfileThroughTheMenu) {
    StartWith({"Alpha", "Beta"});
    CTempDir dirOut;
    m_chooser.strAnswer = dirOut.Path() + "Saved.bkm";
    ASSERT_TRUE(ChooseFromMenu(CVelkinDlg::ID_PRO_MENU, PROMENU_EXPORT_PROFILE));
    ASSERT_FALSE(m_chooser.vProposed.empty());
    EXPECT_EQ(m_chooser.vProposed.back(), "Alpha.bkm");
    ASSERT_TRUE(FileLookup::Exists(m_chooser.strAnswer));

    ASSERT_TRUE(ChooseFromMenu(CVelkinDlg::ID_PRO_MENU, PROMENU_IMPORT_PROFILE));
    EXPECT_EQ(Names(), std::vector<std::string>({"Alpha", "Beta", "Saved"}));
    EXPECT_EQ(Selector(), "Saved");
    EXPECT_TRUE(Saved());
    // Its name is taken now: a second import is refused with the box.
    ASSERT_TRUE(ChooseFromMenu(CVelkinDlg::ID_PRO_MENU, PROMENU_IMPORT_PROFILE));
    EXPECT_EQ(Names().size(), 3u);
    ASSERT_FALSE(m_vSkinned.empty());
    EXPECT_EQ(m_vSkinned.back(), Txt("tc_msg20"));
    ExpectBusyOnlyDuringBoxes();
}

TEST_F(CWindowProfilesTest, ImportIsRefusedWhenTheStoreFileIsFull) {
    std::vector<std::string> vNames;
    for (int i = 1; i <= 12; ++i)
        vNames.push_back("P" + std::to_string(i));
    StartWith(vNames);
    m_chooser.strAnswer = "/nonexistent.bkm";
    ASSERT_TRUE(ChooseFromMenu(CVelkinDlg::ID_PRO_MENU, PROMENU_IMPORT_PROFILE));
    EXPECT_TRUE(m_chooser.vProposed.empty()) << "refused before the file dialog";
    EXPECT_EQ(m_vSkinned, std::vector<std::string>({kMaxProfiles}));
    EXPECT_EQ(Names().size(), 12u);
}

TEST_F(CWindowProfilesTest, ModeButtonWhileDisconnectedSwitchesAndLogsTheError) {
    StartWith({"Alpha"});
    Unplug("mouse", FAMILY_MOUSE);
    const int nFirst = Cur().Ms.nMode;
    const int nOther = nFirst == 1 ? 2 : 1;
    auto errors = [&] {
        const std::string strLog = Log();
        size_t n = 0;
        for (size_t nAt = strLog.find("SetMode err=0x"); nAt != std::string::npos;
             nAt = strLog.find("SetMode err=0x", nAt + 1))
            ++n;
        return n;
    };
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_MODE0 + nOther));
    EXPECT_EQ(Cur().Ms.nMode, nOther) << "the window switches without the mouse";
    EXPECT_TRUE(m_pDlg->Button(CVelkinDlg::ID_MODE0 + nOther)->IsTicked());
    EXPECT_EQ(errors(), 1u);
    // The same mode again does nothing more.
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_MODE0 + nOther));
    EXPECT_EQ(errors(), 1u);
    // Buttons that only show the mode switch nothing.
    gVar.Dev.Ms.ShowOnlyModeString = 1;
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_MODE0 + nFirst));
    EXPECT_EQ(Cur().Ms.nMode, nOther);
    EXPECT_TRUE(m_pDlg->Button(CVelkinDlg::ID_MODE0 + nOther)->IsTicked());
    EXPECT_FALSE(m_pDlg->Button(CVelkinDlg::ID_MODE0 + nFirst)->IsTicked());
    EXPECT_TRUE(m_vSkinned.empty());
}

TEST_F(CWindowProfilesTest, GunKeysNeedTheSwitchKeyBeforeApply) {
    StartWith({"Alpha"});
    ASSERT_TRUE(ClickDeviceRow(FAMILY_PAD));
    CApplyThread* pPad = m_pDlg->State().Apply(FAMILY_PAD);
    struct {
        uint8_t byGunOpt;
        uint32_t dwFun0, dwFun1;
        bool bRefused;
    } kCases[] = {
        {1, 0x080000C0, 0x01000001, true},
        {1, 0x080000C0, 0x080000C2, false},
        {0, 0x080000C0, 0x01000001, false},
        {1, 0x01000001, 0x01000002, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.dwFun0 << " " << c.dwFun1);
        m_vSkinned.clear();
        m_vBusyAtBox.clear();
        MsMode& mode = Cur().Ms.Mode[1];
        mode.byGunOpt = c.byGunOpt;
        mode.nKeySet = 2;
        mode.Keys[2][0].Main.dwFun = c.dwFun0;
        mode.Keys[2][5].Main.dwFun = c.dwFun1;
        const int nHandled = pPad->Handled();
        CProgressWatch watch;
        ASSERT_TRUE(ClickButton(CVelkinDlg::ID_APPLY));
        EXPECT_EQ(m_vSkinned, c.bRefused ? Expected({"tc_chiji7"}) : std::vector<std::string>{});
        EXPECT_EQ(watch.m_nWindows, c.bRefused ? 0 : 1);
        EXPECT_TRUE(pPad->WaitHandled(nHandled + (c.bRefused ? 0 : 1), 5000));
        EXPECT_EQ(pPad->Handled(), nHandled + (c.bRefused ? 0 : 1));
        EXPECT_FALSE(PictureBusy());
    }
}

TEST_F(CWindowProfilesTest, ApplyOfTheMouseReadsTheModeBack) {
    StartWith({"Alpha"});
    ASSERT_NE(gVar.Dev.Ms.SyncModeAfterApply, 0);
    CApplyThread* pMs = m_pDlg->State().Apply(FAMILY_MOUSE);
    const int nHandled = pMs->Handled();
    ASSERT_NE(Cur().Ms.nMode, 2);
    // The apply ends by setting the profile's mode; as its progress window closes the user
    // switches the mouse to its third mode with the mouse's own button, before the window
    // reads the mode back.
    CProgressWatch watch;
    watch.m_fnEnded = [&] {
        ASSERT_TRUE(pMs->WaitHandled(nHandled + 1, 10000));
        auto st = Mouse().State();
        st.nMode = 3;
        Mouse().SetState(st);
    };
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_APPLY));
    EXPECT_EQ(watch.m_nWindows, 1);
    EXPECT_EQ(pMs->LastResult(), 1);
    EXPECT_EQ(Cur().Ms.nMode, 2);
    EXPECT_TRUE(m_pDlg->Button(CVelkinDlg::ID_MODE0 + 2)->IsTicked());
    EXPECT_NE(Log().find("SwitchMode to 2"), std::string::npos);
    EXPECT_TRUE(Saved());
}

TEST_F(CWindowProfilesTest, ResetWhileDisconnectedResetsInMemoryOnly) {
    SetKey("OPT", "ApplyNow", "0");
    StartWith({"Alpha"});
    Unplug("mouse", FAMILY_MOUSE);
    Profile& p = Cur();
    p.Ms.Mode[0].nRate = 0x999;
    p.Ms.nMode = 2;
    m_dqAnswers = {{true, ""}};
    CProgressWatch watch;
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_RESET));
    EXPECT_EQ(m_vSkinned, Expected({"tc_msg7"}));
    EXPECT_NE(Cur().Ms.Mode[0].nRate, 0x999);
    EXPECT_EQ(Cur().Ms.nMode, 0);
    EXPECT_TRUE(m_pDlg->Button(CVelkinDlg::ID_MODE0)->IsTicked());
    EXPECT_EQ(GetWideField(Cur().szSound, PROFILE_SOUND_LEN), gVar.szProgramDir + "DrvSound.wav");
    EXPECT_EQ(m_pDlg->State().pMs->Reset(), 1) << "marked reset for the next apply";
    EXPECT_EQ(watch.m_nWindows, 0);
    EXPECT_FALSE(Saved());
    const SensorCfg* pCfg = gVar.Dev.Ms.pSensorCfg();
    const int nLevel = pCfg ? std::max(pCfg->DEFLEVEL, 0) : 0;
    EXPECT_EQ(g_nCurDpiLevel[2], nLevel);
    ExpectBusyOnlyDuringBoxes();
}

TEST_F(CWindowProfilesTest, ResetOfTheConnectedPadAppliesAndSaves) {
    StartWith({"Alpha"});
    ASSERT_TRUE(ClickDeviceRow(FAMILY_PAD));
    CApplyThread* pPad = m_pDlg->State().Apply(FAMILY_PAD);
    const int nHandled = pPad->Handled();
    const int nDefault = Cur().Pad.nPadLedEffect;
    Cur().Pad.nPadLedEffect = nDefault == 7 ? 6 : 7;
    m_dqAnswers = {{true, ""}};
    CProgressWatch watch;
    ASSERT_TRUE(ClickButton(CVelkinDlg::ID_RESET));
    EXPECT_EQ(m_vSkinned, Expected({"tc_msg7"}));
    EXPECT_EQ(watch.m_nWindows, 1);
    EXPECT_EQ(watch.m_nLastPos, 100);
    EXPECT_FALSE(watch.m_bForced);
    EXPECT_EQ(Cur().Pad.nPadLedEffect, nDefault);
    EXPECT_EQ(m_pDlg->SelectedFamily(), FAMILY_PAD) << "the pad's layout stays";
    EXPECT_TRUE(m_pDlg->PadLight()->isVisible());
    EXPECT_TRUE(Saved());
    ASSERT_TRUE(pPad->WaitHandled(nHandled + 1, 5000));
    EXPECT_EQ(pPad->LastResult(), 1);
    EXPECT_EQ(m_pDlg->State().pPad->Reset(), 0) << "the apply cleared the reset mark";
    auto pSimPad = std::dynamic_pointer_cast<CSimPad>(Sim("pad"));
    ASSERT_NE(pSimPad, nullptr);
    EXPECT_EQ(pSimPad->General()[2], nDefault + 1) << "the default effect was written";
    ExpectBusyOnlyDuringBoxes();
}

} // namespace
