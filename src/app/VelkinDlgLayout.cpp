// The main window's layout: background and shape, panels by family, the device list, the
// family switch and the tab bar, and the texts drawn on the background.
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <future>

#include "app/VelkinDlg.h"
#include "config/Log.h"
#include "config/TextCatalogue.h"
#include "panels/KeyboardPanels.h"
#include "panels/MousePanels.h"
#include "panels/NotifyDlg.h"
#include "panels/PadPanels.h"
#include "panels/PanelHost.h"
#include "widgets/PngBtn.h"
#include "widgets/SkinImage.h"
#include "widgets/TreeCtrlEx.h"
#include "widgets/UiFont.h"

namespace {
QFont ShellFont() {
    const QFont* p = GetUiFont();
    return p ? *p : QGuiApplication::font();
}
constexpr uint32_t kLineColour = 0x969696;
constexpr uint32_t kDevListFrame = 0x167079;

} // namespace

bool CVelkinDlg::BuildLayout() {
    m_imgBkg = LoadSkinFile("main_nr.png");
    if (m_imgBkg.isNull())
        return false;
    setFixedSize(m_imgBkg.size());
    // Built on another core while the buttons and panels are made.
    std::future<QRegion> futShape = StartWindowShape();
    // Centred on the screen; an offset that would fall outside becomes 10.
    if (QScreen* pScreen = QGuiApplication::primaryScreen()) {
        const QRect rcScreen = pScreen->availableGeometry();
        int nLeft = rcScreen.x() + (rcScreen.width() - width()) / 2;
        int nTop = rcScreen.y() + (rcScreen.height() - height()) / 2;
        if (nLeft < rcScreen.x())
            nLeft = 10;
        if (nTop < rcScreen.y())
            nTop = 10;
        move(nLeft, nTop);
    }
    m_geo = ComputeMainGeometry(gVar);
    CreateButtons();
    CreatePanels();
    CreateDevList();
    FinishWindowShape(std::move(futShape));
    return true;
}

std::future<QRegion> CVelkinDlg::StartWindowShape() {
    if (gVar.clrMask == 0) {
        clearMask();
        return {};
    }
    // A pass over every pixel of the background: the copy of the image is shared, not copied.
    return std::async(std::launch::async, [img = m_imgBkg, clrMask = gVar.clrMask] {
        return ShapeFromImage(img, clrMask);
    });
}

void CVelkinDlg::FinishWindowShape(std::future<QRegion> futShape) {
    if (futShape.valid())
        setMask(futShape.get());
}

void CVelkinDlg::CreatePanels() {
    m_pPanels = std::make_unique<CPanelHost>(m_state, this);
    // The keyboard and pad have no places of their own in the configuration: their pictures
    // take the mouse picture's place and their light panels the tab bar's.
    m_pPanels->Create(
        {QPoint(gVar.ptMsMarkDlg.x, gVar.ptMsMarkDlg.y), m_geo.rcKeyPanel, m_geo.ptTab});
}

template <typename T> T* CVelkinDlg::PanelAt(EPanelSlot eSlot) const {
    return m_pPanels ? m_pPanels->As<T>(eSlot) : nullptr;
}

CKeyMarkDlg* CVelkinDlg::MousePicture() const {
    return PanelAt<CKeyMarkDlg>(EPanelSlot::MsPicture);
}
CKeyMsDlg* CVelkinDlg::KeyPanel() const {
    return PanelAt<CKeyMsDlg>(EPanelSlot::MsKeys);
}
CDpiDlg* CVelkinDlg::DpiPanel() const {
    return PanelAt<CDpiDlg>(EPanelSlot::MsDpi);
}
CRateDlg* CVelkinDlg::RatePanel() const {
    return PanelAt<CRateDlg>(EPanelSlot::MsRate);
}
CKBColorDlg* CVelkinDlg::KeyboardPicture() const {
    return PanelAt<CKBColorDlg>(EPanelSlot::KbPicture);
}
CLedKbDlg_816Std* CVelkinDlg::KeyboardLight() const {
    return PanelAt<CLedKbDlg_816Std>(EPanelSlot::KbLight);
}
CPadMarkDlg* CVelkinDlg::PadPicture() const {
    return PanelAt<CPadMarkDlg>(EPanelSlot::PadPicture);
}
CLedPadDlg_Std* CVelkinDlg::PadLight() const {
    return PanelAt<CLedPadDlg_Std>(EPanelSlot::PadLight);
}

void CVelkinDlg::CreateDevList() {
    m_pDevList = new CTreeCtrlEx(this, kDevListId);
    m_pDevList->SetRowHeight(26);
    m_pDevList->m_nIconW = 20;
    m_pDevList->m_nIconH = 20;
    m_pDevList->m_clrText = gVar.LstBox_txt_clr_nr;
    m_pDevList->m_clrSelText = gVar.LstBox_txt_clr_dn;
    auto argb = [](uint32_t clrRef, uint32_t nAlpha) {
        return (nAlpha << 24) | ((clrRef & 0xFF) << 16) | (clrRef & 0xFF00) |
               ((clrRef >> 16) & 0xFF);
    };
    m_pDevList->m_clrBkg = argb(gVar.LstBox_bkg_clr, 200);
    m_pDevList->m_clrSelFill = argb(gVar.LstBox_item_clr, 0);
    m_pDevList->m_clrFrame = kDevListFrame;
    m_pDevList->m_bEmptyClicks = false;
    // Three families take more than the 55 pixels of the list; the wheel still scrolls.
    m_pDevList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QFont font = ShellFont();
    m_pDevList->Create(m_geo.rcDevList, &m_imgBkg, m_geo.rcDevList, "", "", &font);
    struct Row {
        CHidDev* pDev;
        int nFamily;
        const char* pszText;
        const char* pszIcon;
    };
    const Row aRows[] = {{m_state.pMs.get(), FAMILY_MOUSE, "tc_msg24", "ms.png"},
                         {m_state.pKb.get(), FAMILY_KEYBOARD, "tc_msg25", "kb.png"},
                         {m_state.pPad.get(), FAMILY_PAD, "tc_msg1", "pad.png"}};
    bool bFirst = true;
    for (const Row& r : aRows) {
        if (!r.pDev)
            continue;
        QImage img = LoadSkinFile(r.pszIcon);
        const QImage* pImg = img.isNull() ? nullptr : new QImage(img);
        m_pDevList->AddChild(false, TVI_ROOT, bFirst, pImg, pImg != nullptr, Txt(r.pszText),
                             static_cast<uint32_t>(r.nFamily));
        if (bFirst)
            m_nFamily = r.nFamily;
        bFirst = false;
    }
    m_pDevList->setVisible(gVar.ShowDevList != 0);
    SwitchFamily(m_nFamily);
}

CPanelBase* CVelkinDlg::TabPanel(int nTab) const {
    return m_pPanels ? m_pPanels->TabPanel(nTab) : nullptr;
}

CPanelBase* CVelkinDlg::PictureOf(int nFamily) const {
    return m_pPanels ? m_pPanels->Picture(nFamily) : nullptr;
}

bool CVelkinDlg::TabVisible(int nTab) const {
    if (!m_state.pMs || nTab < 0 || nTab >= kTabCount || !Button(ID_TAB0 + nTab))
        return false;
    const MouseDesc& ms = gVar.Dev.Ms;
    switch (nTab) {
    case 1:
        return ms.ShowLED[0] != 0 && ms.ShowLED[1] == 0;
    case 3:
        return ms.ShowUsbRate != 0 && ms.AlwaysHideUsbRate == 0 && m_bRateTabShown;
    case 4:
        return ms.ShowLOD != 0;
    default:
        return true;
    }
}

void CVelkinDlg::OpenTab(int nTab) {
    LayoutTabs(nTab == m_nOpenTab ? -1 : nTab);
}

void CVelkinDlg::LayoutTabs(int nOpen) {
    if (nOpen >= 0 && !TabVisible(nOpen))
        nOpen = -1;
    if (m_nOpenTab >= 0 && TabPanel(m_nOpenTab))
        TabPanel(m_nOpenTab)->hide();
    m_nOpenTab = nOpen;
    std::vector<bool> vVisible(kTabCount);
    for (int i = 0; i < kTabCount; ++i)
        vVisible[static_cast<size_t>(i)] = TabVisible(i);
    CPanelBase* pPanel = TabPanel(nOpen);
    const CTabLayout lay =
        ComputeTabLayout(m_geo.ptTab, vVisible, nOpen, pPanel ? pPanel->size() : QSize());
    const bool bMouse = m_nFamily == FAMILY_MOUSE;
    for (int i = 0; i < kTabCount; ++i) {
        CPngBtn* pHeader = Button(ID_TAB0 + i);
        if (!pHeader)
            continue;
        pHeader->setGeometry(lay.vHeaders[static_cast<size_t>(i)]);
        pHeader->setVisible(bMouse && vVisible[static_cast<size_t>(i)]);
        pHeader->SetTicked(i == nOpen);
    }
    if (pPanel) {
        pPanel->move(lay.rcPanel.topLeft());
        pPanel->setVisible(bMouse);
        pPanel->raise();
    }
}

void CVelkinDlg::SwitchFamily(int nFamily) {
    m_nFamily = nFamily;
    const bool bMs = nFamily == FAMILY_MOUSE, bKb = nFamily == FAMILY_KEYBOARD,
               bPad = nFamily == FAMILY_PAD;
    for (QWidget* p : {static_cast<QWidget*>(MousePicture()), static_cast<QWidget*>(KeyPanel())})
        if (p)
            p->setVisible(bMs);
    for (QWidget* p :
         {static_cast<QWidget*>(KeyboardPicture()), static_cast<QWidget*>(KeyboardLight())})
        if (p)
            p->setVisible(bKb);
    for (QWidget* p : {static_cast<QWidget*>(PadPicture()), static_cast<QWidget*>(PadLight())})
        if (p)
            p->setVisible(bPad);
    if (bMs) {
        LayoutTabs(m_nOpenTab >= 0 ? m_nOpenTab : 0);
    } else {
        for (int i = 0; i < kTabCount; ++i) {
            if (CPngBtn* p = Button(ID_TAB0 + i))
                p->hide();
            if (CPanelBase* p = TabPanel(i))
                p->hide();
        }
    }
    UpdateModeButtons();
    PlaceMacroButtons(nFamily);
    update();
}

void CVelkinDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, m_imgBkg);
    p.setFont(ShellFont());
    p.setPen(ColorFromRef(gVar.Txt_clr));
    if (m_pSelector && m_pSelector->isVisible()) {
        const QRect& rc = m_geo.rcProfileSel;
        p.drawText(QRect(rc.x(), rc.y() - 25, rc.width(), 20), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromStdString(Txt("tc_protitle")));
    }
    p.drawText(m_geo.rcVersion, Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(gVar.szVersionText));
    if (m_pDevList && m_pDevList->isVisible()) {
        const QRect& rc = m_geo.rcDevList;
        p.drawText(QRect(rc.x(), rc.y() - 25, rc.width(), 20), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromStdString(Txt("tc_msg22")));
    }
    // The line between the mode buttons and the view buttons.
    if (m_nFamily == FAMILY_MOUSE && m_state.pMs) {
        const int nY = m_geo.rcKeyPanel.y() - 1;
        p.setPen(ColorFromRef(kLineColour));
        p.drawLine(m_geo.rcKeyPanel.x(), nY, Right(m_geo.rcKeyPanel) - 1, nY);
    }
    p.end();
    if (!m_bPainted) {
        m_bPainted = true;
        if (m_bQuitAfterFirstPaint) {
            // The start-up benchmark reads when the first paint ended (wall clock, so the
            // time of the process start it took before can be subtracted).
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                std::chrono::system_clock::now().time_since_epoch());
            std::printf("first-paint-ns %lld\n", static_cast<long long>(ns.count()));
            std::fflush(stdout);
            QMetaObject::invokeMethod(
                this, [this] { EndDialog(0); }, Qt::QueuedConnection);
        }
    }
}

std::vector<std::string> CVelkinDlg::DrawnTexts() const {
    std::vector<std::string> v;
    if (m_pSelector && !m_pSelector->isHidden())
        v.push_back("tc_protitle");
    v.push_back("version");
    if (m_pDevList && !m_pDevList->isHidden())
        v.push_back("tc_msg22");
    return v;
}

void CVelkinDlg::RetextAll() {
    const int nFamily = m_nFamily;
    if (m_pDevList) {
        const char* aText[4] = {"", "tc_msg24", "tc_msg25", "tc_msg1"};
        m_pDevList->Walk(
            TVI_ROOT,
            [this, &aText](HTREEITEM h, CTreeItemRecord* pRec, const std::string&, void*) {
                if (pRec && pRec->dwValue >= 1 && pRec->dwValue <= 3)
                    m_pDevList->SetItem(h, std::string(Txt(aText[pRec->dwValue])), std::nullopt);
                return 0;
            },
            nullptr, false);
    }
    struct Caption {
        int nId;
        const char* pszText;
    };
    for (const Caption& c : {Caption{ID_RESET, "tc_restore"}, Caption{ID_APPLY, "tc_apply"},
                             Caption{ID_MACRO, "tc_macro"}, Caption{ID_BULLET, "tc_bullet4"},
                             Caption{ID_TAB0, "tc_ms2"}, Caption{ID_TAB0 + 1, "tc_ms3"},
                             Caption{ID_TAB0 + 2, "tc_ms4"}, Caption{ID_TAB0 + 3, "tc_ms5"},
                             Caption{ID_TAB0 + 4, "tc_adv_str9"}})
        if (CPngBtn* p = Button(c.nId))
            p->SetCaption(Txt(c.pszText));
    for (int i = 0; i < 2; ++i)
        if (CPngBtn* p = Button(ID_VIEW0 + i))
            p->SetCaption(Txt("tc_adv_str2") + (i == 0 ? " 1" : " 2"));
    SetDevStatus(Txt(m_state.Connected(FAMILY_MOUSE) ? "tc_msg14" : "tc_msg13"),
                 !m_state.Connected(FAMILY_MOUSE));
    UpdateModeButtons();
    if (m_pPanels)
        m_pPanels->Retext();
    if (m_pTrayMenu) {
        const auto vActions = m_pTrayMenu->actions();
        if (vActions.size() == 3) {
            vActions[0]->setText(QString::fromStdString(Txt("tc_config")));
            vActions[2]->setText(QString::fromStdString(Txt("tc_exit")));
        }
    }
    SwitchFamily(nFamily);
}

void CVelkinDlg::ReloadSkin() {
    QImage img = LoadSkinFile("main_nr.png");
    if (img.isNull()) {
        LogPrint("ReloadSkin: main_nr.png missing, the old skin stays");
        return;
    }
    // Controls are made anew from the new images; the open tab and family stay.
    const int nOpen = m_nOpenTab, nFamily = m_nFamily;
    const std::string strSel = m_pSelector ? m_pSelector->Caption() : std::string();
    for (auto& p : m_aButtons)
        delete p.data();
    m_pSelector = nullptr;
    m_imgBkg = img;
    setFixedSize(m_imgBkg.size());
    FinishWindowShape(StartWindowShape());
    CreateButtons();
    if (m_pSelector)
        m_pSelector->SetCaption(strSel);
    if (m_pDevList)
        m_pDevList->Create(m_geo.rcDevList, &m_imgBkg, m_geo.rcDevList, "", "", nullptr);
    if (m_pPanels)
        m_pPanels->ReloadSkin();
    m_nOpenTab = -1;
    m_nFamily = nFamily;
    SwitchFamily(nFamily);
    if (nFamily == FAMILY_MOUSE)
        LayoutTabs(nOpen);
    update();
}
