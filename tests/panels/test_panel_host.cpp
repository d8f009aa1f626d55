// The panel host: which panels it makes for which families, where it puts them, which ones
// a reload and a store reach and in which order, what it passes on from the session, and
// that panels deleted elsewhere are not deleted twice.
#include <gtest/gtest.h>

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/Startup.h"
#include "device/hid/HidLib.h"
#include "device/models/ModelFactory.h"
#include "device/sim/SimBackend.h"
#include "panels/KeyboardPanels.h"
#include "panels/MousePanels.h"
#include "panels/PadPanels.h"
#include "panels/PanelHost.h"
#include "platform/MessageBox.h"
#include "session/Session.h"
#include "support/DemoInstallation.h"
#include "support/TestDirs.h"

namespace {

class PanelHostTest : public ::testing::Test {
protected:
    PanelHostTest() : m_lib(&m_backend) {
        SetMessageBoxSink(&m_boxes);
        EXPECT_TRUE(LoadDemoInstallation(m_var, m_limits, m_data));
    }
    ~PanelHostTest() override {
        m_pHost.reset();
        m_pSession.reset();
        SetMessageBoxSink(nullptr);
    }
    // A session with the models of the families the installation keeps (others switched
    // off in its configuration), one profile, and the host's panels.
    void Build(bool bMouse, bool bKeyboard, bool bPad) {
        if (!bMouse)
            m_var.MsFw = 0;
        if (!bKeyboard)
            m_var.KbFw = 0;
        if (!bPad)
            m_var.PadFw = 0;
        m_pSession = std::make_unique<CSession>(m_var, m_macros, m_bullets);
        CDevModels models = CreateDevModels(m_var, &m_lib, &m_macros);
        m_pSession->pMs = std::move(models.pMs);
        m_pSession->pKb = std::move(models.pKb);
        m_pSession->pPad = std::move(models.pPad);
        Profile pro{};
        m_pSession->proList.CreateDefault(pro, "Test");
        m_pSession->proList.SetCurrent(m_pSession->proList.AddCopy(pro));
        m_pHost = std::make_unique<CPanelHost>(*m_pSession, &m_wnd);
        m_pHost->Create(m_places);
    }
    std::vector<std::string> Made() const {
        std::vector<std::string> v;
        for (const CPanelSlotInfo& row : PanelTable())
            if (CPanelBase* p = m_pHost->Panel(row.eSlot))
                v.push_back(p->Name());
        return v;
    }

    CTempDir m_data;
    CCollectingMessageSink m_boxes;
    CGlobalVar m_var;
    CMacroLimits m_limits;
    CSimBackend m_backend;
    CHidLib m_lib;
    CMacroStore m_macros, m_bullets;
    QWidget m_wnd;
    const CPanelPlaces m_places{QPoint(30, 40), QRect(300, 100, 240, 290), QPoint(600, 50)};
    std::unique_ptr<CSession> m_pSession;
    std::unique_ptr<CPanelHost> m_pHost;
};

TEST_F(PanelHostTest, MakesThePanelsOfTheConfiguredFamiliesOnly) {
    struct {
        bool bMs, bKb, bPad;
        std::vector<std::string> vMade;
    } cases[] = {
        {true,
         false,
         false,
         {"CKeyMarkDlg", "CDpiDlg", "CSysDlg", "CLedMsDlg_8948Std", "CRateDlg", "CKeyMsDlg",
          "CLODDlg"}},
        {false, true, false, {"CKBColorDlg", "CLedKbDlg_816Std"}},
        {false, false, true, {"CPadMarkDlg", "CLedPadDlg_Std"}},
    };
    for (const auto& c : cases) {
        m_pHost.reset();
        m_var = CGlobalVar();
        ASSERT_TRUE(LoadDemoInstallation(m_var, m_limits, m_data));
        Build(c.bMs, c.bKb, c.bPad);
        EXPECT_EQ(Made(), c.vMade);
        m_pHost->Destroy();
    }
}

TEST_F(PanelHostTest, PlacesThePanelsAndShowsOnlyThePictures) {
    Build(true, true, true);
    CPanelBase* pKeys = m_pHost->Panel(EPanelSlot::MsKeys);
    EXPECT_EQ(pKeys->geometry(), m_places.rcKeys);
    for (EPanelSlot e : {EPanelSlot::MsPicture, EPanelSlot::KbPicture, EPanelSlot::PadPicture}) {
        EXPECT_EQ(m_pHost->Panel(e)->pos(), m_places.ptPicture);
        EXPECT_FALSE(m_pHost->Panel(e)->isHidden());
    }
    for (EPanelSlot e : {EPanelSlot::KbLight, EPanelSlot::PadLight})
        EXPECT_EQ(m_pHost->Panel(e)->pos(), m_places.ptTab);
    for (EPanelSlot e :
         {EPanelSlot::MsKeys, EPanelSlot::MsDpi, EPanelSlot::MsLight, EPanelSlot::MsSys,
          EPanelSlot::MsRate, EPanelSlot::MsLod, EPanelSlot::KbLight, EPanelSlot::PadLight})
        EXPECT_TRUE(m_pHost->Panel(e)->isHidden()) << m_pHost->Panel(e)->Name();
    // The tabs open the panels of their table rows.
    const char* aTabs[] = {"CDpiDlg", "CLedMsDlg_8948Std", "CSysDlg", "CRateDlg", "CLODDlg"};
    for (int i = 0; i < 5; ++i)
        EXPECT_STREQ(m_pHost->TabPanel(i)->Name(), aTabs[i]);
    EXPECT_EQ(m_pHost->TabPanel(5), nullptr);
    EXPECT_EQ(m_pHost->Picture(FAMILY_PAD), m_pHost->Panel(EPanelSlot::PadPicture));
}

TEST_F(PanelHostTest, ReloadAndStoreReachTheirGroups) {
    Build(true, true, true);
    struct {
        const char* pszWhat;
        std::function<void()> fn;
        std::vector<std::string> vReloaded, vStored;
    } cases[] = {
        {"reload all",
         [&] { m_pHost->Reload(RELOAD_ALL); },
         {"CDpiDlg", "CSysDlg", "CLedMsDlg_8948Std", "CRateDlg", "CKeyMsDlg", "CLODDlg",
          "CLedKbDlg_816Std", "CLedPadDlg_Std"},
         {}},
        {"reload keyboard", [&] { m_pHost->Reload(RELOAD_KEYBOARD); }, {"CLedKbDlg_816Std"}, {}},
        {"reload pad", [&] { m_pHost->Reload(RELOAD_PAD); }, {"CLedPadDlg_Std"}, {}},
        {"store mouse",
         [&] { m_pHost->Store(FAMILY_MOUSE); },
         {},
         {"CDpiDlg", "CSysDlg", "CLedMsDlg_8948Std", "CRateDlg", "CLODDlg"}},
        {"store pad", [&] { m_pHost->Store(FAMILY_PAD); }, {}, {"CLedPadDlg_Std"}},
    };
    for (const auto& c : cases) {
        std::vector<std::pair<int, int>> vBefore;
        for (const CPanelSlotInfo& row : PanelTable()) {
            CPanelBase* p = m_pHost->Panel(row.eSlot);
            vBefore.push_back({p->ReloadCount(), p->StoreCount()});
        }
        c.fn();
        std::vector<std::string> vReloaded, vStored;
        size_t i = 0;
        for (const CPanelSlotInfo& row : PanelTable()) {
            CPanelBase* p = m_pHost->Panel(row.eSlot);
            if (p->ReloadCount() != vBefore[i].first)
                vReloaded.push_back(p->Name());
            if (p->StoreCount() != vBefore[i].second)
                vStored.push_back(p->Name());
            ++i;
        }
        EXPECT_EQ(vReloaded, c.vReloaded) << c.pszWhat;
        EXPECT_EQ(vStored, c.vStored) << c.pszWhat;
    }
}

TEST_F(PanelHostTest, PanelsHearTheSessionAndSurviveBeingDeletedElsewhere) {
    Build(true, false, true);
    CPanelBase* pDpi = m_pHost->Panel(EPanelSlot::MsDpi);
    m_pSession->SetDpiLevel(0, 3); // a device-state change
    m_pSession->SwitchMode(2, false);
    EXPECT_EQ(pDpi->HeardCount(), 2);
    EXPECT_EQ(pDpi->Session(), m_pSession.get());

    delete m_pHost->Panel(EPanelSlot::PadLight); // as the window's own closing may
    EXPECT_EQ(m_pHost->Panel(EPanelSlot::PadLight), nullptr);
    m_pHost->Reload(RELOAD_ALL);
    m_pHost->Destroy();
    EXPECT_EQ(m_pHost->Panel(EPanelSlot::MsDpi), nullptr);
    EXPECT_TRUE(m_wnd.findChildren<CPanelBase*>().isEmpty());
    m_pSession->SwitchMode(0, false); // nothing left to hear it
}

} // namespace
